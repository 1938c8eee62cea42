#include "platform/linux/fontconfig_system.h"
#include "platform/linux/freetype_rasterizer.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/program_run.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <malloc.h>
#include <sys/resource.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace lw {

namespace fs = std::filesystem;

namespace {

class TLinuxSpecialFolders : public ISpecialFolders {
public:
    std::optional<std::string> Path(int csidl) const override {
        QString path;
        switch (csidl) {
        case CSIDL_DESKTOP:
        case CSIDL_DESKTOPDIRECTORY:
            path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
            break;
        case CSIDL_PERSONAL:
            path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            break;
        case CSIDL_FONTS: {
            const std::string data = DataHome();
            if (data.empty()) {
                return std::nullopt;
            }
            return data + "/fonts";
        }
        default:
            return std::nullopt;
        }
        if (path.isEmpty()) {
            return std::nullopt;
        }
        return QFile::encodeName(path).toStdString();
    }
};

class TLinuxShell : public IShell {
public:
    bool OpenUrl(const std::string& url) override {
        return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(url)});
    }
    std::optional<std::string> RunProgram(const std::vector<std::string>& argv) override {
        return lw::RunProgram(argv);
    }
};

class TLinuxSystemErrors : public ISystemErrors {
public:
    std::string LastErrorText() const override { return ErrorText(errno); }
    std::string ErrorText(int code) const override { return std::strerror(code); }
};

} // namespace

std::unique_ptr<ISpecialFolders> MakeLinuxSpecialFolders() {
    return std::make_unique<TLinuxSpecialFolders>();
}
std::unique_ptr<IShell> MakeLinuxShell() {
    return std::make_unique<TLinuxShell>();
}
std::unique_ptr<ISystemErrors> MakeLinuxSystemErrors() {
    return std::make_unique<TLinuxSystemErrors>();
}

std::string DataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? std::string(home) + "/.local/share" : std::string();
}

std::string ProgramDataFolder() {
    const std::string data = DataHome();
    return data.empty() ? data : data + "/Kestrova/Letterwell";
}

std::string ProgramFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) {
        return std::string();
    }
    return fs::path(std::string(buf, static_cast<size_t>(n))).parent_path().string();
}

std::string ProgramDataFileIn(const std::string& programFolder, const std::string& name) {
    if (programFolder.empty()) {
        return std::string();
    }
    const fs::path beside = fs::path(programFolder) / name;
    const fs::path installed =
        (fs::path(programFolder) / ".." / "share" / "letterwell" / name).lexically_normal();
    std::error_code ec;
    if (!fs::is_regular_file(beside, ec) && fs::is_regular_file(installed, ec)) {
        return installed.string();
    }
    return beside.string();
}

std::string ProgramDataFile(const std::string& name) {
    return ProgramDataFileIn(ProgramFolder(), name);
}

std::string PortableProgramFolderOf(const std::string& programFolder) {
    constexpr const char* kShippedFile = "lw_esp.lwb";
    const std::string beside = programFolder + "/" + kShippedFile;
    return ProgramDataFileIn(programFolder, kShippedFile) == beside ? programFolder : std::string();
}

std::string PortableProgramFolder() {
    return PortableProgramFolderOf(ProgramFolder());
}

TFolderBundleSource::TFolderBundleSource(std::string folder) : Folder(std::move(folder)) {}

std::optional<std::vector<uint8_t>>
TFolderBundleSource::ReadBundle(const std::string& fileName) const {
    // A bare file name only: the bundle never comes from anywhere else.
    if (Folder.empty() || fileName.find('/') != std::string::npos) {
        return std::nullopt;
    }
    std::ifstream in(ProgramDataFileIn(Folder, fileName), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

TLinuxPlatform::TLinuxPlatform(IPrompts& prompts, std::string registryPath,
                               std::string bundleFolder)
    : TextService(MakeLinuxTextService()),
      Hive(std::make_unique<TFileRegistryHive>(std::move(registryPath))),
      Folders(MakeLinuxSpecialFolders()), ShellService(MakeLinuxShell()),
      Errors(MakeLinuxSystemErrors()),
      Bundles(std::make_unique<TFolderBundleSource>(std::move(bundleFolder))),
      Fonts(std::make_unique<TFontconfigSystem>(
          TFontconfigSystem::DefaultUserFontFolder().value_or(std::string()))),
      Locale(MakeLinuxSystemLocale()), Files(MakeLinuxFileShell()),
      Raster(std::make_unique<TFreeTypeRasterizer>()), Locks(MakeLinuxFileLocks()),
      Previous(Platform()) {
    TPlatformServices& services = Platform();
    services.Text = TextService.get();
    services.Registry = Hive.get();
    services.Folders = Folders.get();
    services.Shell = ShellService.get();
    services.Errors = Errors.get();
    services.Bundles = Bundles.get();
    services.Prompts = &prompts;
    services.Fonts = Fonts.get();
    services.Locale = Locale.get();
    services.Files = Files.get();
    services.Raster = Raster.get();
    services.Locks = Locks.get();
}

TLinuxPlatform::~TLinuxPlatform() {
    Platform() = Previous;
}

void LowerThisThreadsPriority() {
    // On Linux a nice value belongs to the calling thread alone.
    constexpr int kBehindTheForeground = 5;
    ::setpriority(PRIO_PROCESS, 0, kBehindTheForeground);
}

void ReturnFreedMemory() {
    // glibc keeps freed blocks in each thread's arena; images drawn on one
    // thread and freed on another leave tens of megabytes there.
    ::malloc_trim(0);
}

} // namespace lw
