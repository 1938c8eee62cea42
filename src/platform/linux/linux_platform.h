#pragma once

#include "platform/services.h"

#include <memory>
#include <string>

namespace lw {

// The registry hive as a text file, replaced atomically on every save. A
// file that does not parse is copied aside before it is first replaced.
class TFileRegistryHive : public IRegistryHive {
public:
    explicit TFileRegistryHive(std::string path);
    TRegKeys Load() override;
    void Save(const TRegKeys& keys) override;
    const std::string& Path() const { return FilePath; }

    // $XDG_CONFIG_HOME/Kestrova/Letterwell.reg, ~/.config when unset.
    static std::string DefaultPath();

private:
    void KeepDamagedCopy();
    std::string FilePath;
};

// Reads bundles from the program's own folder only, or from the installed
// data folder that belongs to it (see ProgramDataFileIn).
class TFolderBundleSource : public ILanguageBundleSource {
public:
    explicit TFolderBundleSource(std::string folder);
    std::optional<std::vector<uint8_t>> ReadBundle(const std::string& fileName) const override;

private:
    std::string Folder;
};

// The folder of the running executable.
std::string ProgramFolder();
// A file the program ships, for a program in programFolder: beside the
// executable when there (the build tree), else in the data folder an install
// puts beside the executables' folder, <prefix>/share/letterwell, so any
// prefix works; the path beside the executable when neither holds it, and
// empty without a program folder.
std::string ProgramDataFileIn(const std::string& programFolder, const std::string& name);
// The same for the running executable.
std::string ProgramDataFile(const std::string& name);
// The program's folder when the program keeps its files there (the build
// tree, a copy unpacked anywhere); empty for an installed program, whose
// folder holds every program's executables and is no place for its data
// (a root run would otherwise write categories into /usr/bin).
std::string PortableProgramFolderOf(const std::string& programFolder);
std::string PortableProgramFolder();
// The user's data folder: $XDG_DATA_HOME, else ~/.local/share; empty when
// neither names an absolute folder.
std::string DataHome();
// The program's own folder inside the user's data folder; empty without one.
std::string ProgramDataFolder();

// All Linux adapters, installed as the process's platform services. The
// prompts come from the caller: widgets for the program, the console or a
// script elsewhere.
class TLinuxPlatform {
public:
    TLinuxPlatform(IPrompts& prompts, std::string registryPath = TFileRegistryHive::DefaultPath(),
                   std::string bundleFolder = ProgramFolder());
    ~TLinuxPlatform();
    TLinuxPlatform(const TLinuxPlatform&) = delete;
    TLinuxPlatform& operator=(const TLinuxPlatform&) = delete;

    TFileRegistryHive& Registry() { return *Hive; }
    IFontSystem& FontSystem() { return *Fonts; }

private:
    std::unique_ptr<ITextService> TextService;
    std::unique_ptr<TFileRegistryHive> Hive;
    std::unique_ptr<ISpecialFolders> Folders;
    std::unique_ptr<IShell> ShellService;
    std::unique_ptr<ISystemErrors> Errors;
    std::unique_ptr<TFolderBundleSource> Bundles;
    std::unique_ptr<IFontSystem> Fonts;
    std::unique_ptr<ISystemLocale> Locale;
    std::unique_ptr<IFileShell> Files;
    std::unique_ptr<IFaceRasterizer> Raster;
    std::unique_ptr<IFileLocks> Locks;
    TPlatformServices Previous;
};

std::unique_ptr<ITextService> MakeLinuxTextService();
std::unique_ptr<ISpecialFolders> MakeLinuxSpecialFolders();
std::unique_ptr<IShell> MakeLinuxShell();
std::unique_ptr<ISystemErrors> MakeLinuxSystemErrors();
// The language of LC_ALL / LC_MESSAGES / LANG as a Windows language id;
// 0x0409 for C, POSIX and anything unknown.
std::unique_ptr<ISystemLocale> MakeLinuxSystemLocale();
// The freedesktop trash of the user (or of the file's own volume).
std::unique_ptr<IFileShell> MakeLinuxFileShell();
// flock(2) on a file: the lock goes with the process that holds it.
std::unique_ptr<IFileLocks> MakeLinuxFileLocks();

} // namespace lw
