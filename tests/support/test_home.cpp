#include "test_home.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace lw::test {

namespace fs = std::filesystem;

namespace {
void SetEnv(const char* name, const fs::path& value) {
    ::setenv(name, value.c_str(), 1);
}
} // namespace

TTestHome::TTestHome() {
    std::string pattern = (fs::temp_directory_path() / "letterwell-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary home");
    }
    RootPath = pattern;
    for (const fs::path& dir : {Home(), ConfigHome(), DataHome(), Documents(), Home() / "Desktop",
                                Home() / ".cache", FixtureFonts(), RootPath / "runtime"}) {
        fs::create_directories(dir);
    }
    fs::permissions(RootPath / "runtime", fs::perms::owner_all);
    const fs::path fontsConf = RootPath / "fonts.conf";
    std::ofstream conf(fontsConf);
    conf << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
         << "<fontconfig>\n"
         << "  <dir>" << FixtureFonts().string() << "</dir>\n"
         << "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n"
         << "  <dir>" << (DataHome() / "fonts").string()
         << "</dir>\n"
         // Read where the system's 50-user.conf reads a real user's rules.
         << "  <include ignore_missing=\"yes\" prefix=\"xdg\">fontconfig/conf.d</include>\n"
         << "  <include ignore_missing=\"yes\" prefix=\"xdg\">fontconfig/fonts.conf</include>\n"
         << "  <cachedir>" << (Home() / ".cache" / "fontconfig").string()
         << "</cachedir>\n"
         // As distributions refuse some fonts by family (TeX Gyre's Type 1
         // faces on Debian), tests refuse this one.
         << "  <selectfont><rejectfont><pattern><patelt name=\"family\"><string>" << kRejectedFamily
         << "</string></patelt></pattern></rejectfont></selectfont>\n"
         << "</fontconfig>\n";
    conf.close();
    SetEnv("HOME", Home());
    SetEnv("XDG_CONFIG_HOME", ConfigHome());
    SetEnv("XDG_DATA_HOME", DataHome());
    SetEnv("XDG_CACHE_HOME", Home() / ".cache");
    SetEnv("XDG_RUNTIME_DIR", RootPath / "runtime");
    SetEnv("XDG_DATA_DIRS", RootPath / "no-system-data");
    SetEnv("XDG_CONFIG_DIRS", RootPath / "no-system-config");
    SetEnv("FONTCONFIG_FILE", fontsConf);
    ::unsetenv("FONTCONFIG_PATH");
    // Where flatpak is installed, a disable asks whether Flatpak applications
    // may read the folder: this home has already let them, so every test
    // sees the same with or without flatpak. Its system installation is the
    // home's too.
    SetEnv("FLATPAK_USER_DIR", FlatpakUserDir());
    SetEnv("FLATPAK_SYSTEM_DIR", RootPath / "flatpak-system");
    fs::create_directories(FlatpakUserDir() / "overrides");
    std::ofstream(FlatpakUserDir() / "overrides" / "global")
        << "[Context]\nfilesystems=xdg-config/fontconfig:ro;\n";
}

TTestHome::~TTestHome() {
    std::error_code ec;
    fs::remove_all(RootPath, ec);
}

TTestHome& TestHome() {
    static TTestHome home;
    return home;
}

} // namespace lw::test
