#pragma once

#include <filesystem>
#include <string>

namespace lw::test {

// The family the temporary home's fontconfig configuration refuses to serve.
inline constexpr const char* kRejectedFamily = "LwRejected";

// A throw-away home for one test process: HOME, the XDG folders and the
// fontconfig configuration all point inside it, so nothing a test does can
// reach the real user's settings, fonts, trash or documents.
class TTestHome {
public:
    TTestHome();
    ~TTestHome();
    TTestHome(const TTestHome&) = delete;
    TTestHome& operator=(const TTestHome&) = delete;

    const std::filesystem::path& Root() const { return RootPath; }
    std::filesystem::path Home() const { return RootPath / "home"; }
    std::filesystem::path ConfigHome() const { return Home() / ".config"; }
    std::filesystem::path DataHome() const { return Home() / ".local" / "share"; }
    std::filesystem::path FlatpakUserDir() const { return DataHome() / "flatpak"; }
    std::filesystem::path Documents() const { return Home() / "Documents"; }
    // Fonts the fixture fontconfig configuration serves, besides DejaVu.
    std::filesystem::path FixtureFonts() const { return RootPath / "fixture-fonts"; }
    std::filesystem::path SettingsFile() const {
        return ConfigHome() / "Kestrova" / "Letterwell.reg";
    }

private:
    std::filesystem::path RootPath;
};

// The process-wide home the test main sets up before anything else runs.
TTestHome& TestHome();

} // namespace lw::test
