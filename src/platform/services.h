#pragma once

#include "platform/face_raster.h"
#include "platform/file_lock.h"
#include "platform/file_shell.h"
#include "platform/font_system.h"
#include "platform/prompts.h"
#include "platform/registry_port.h"
#include "platform/system_ports.h"
#include "platform/text_service.h"

namespace lw {

// The platform a process runs on: set once at start by the program (the Linux
// adapters) or by a test fixture (fakes and temporary folders). The pointers
// are borrowed; whoever installs them keeps them alive.
struct TPlatformServices {
    ITextService* Text = nullptr;
    IRegistryHive* Registry = nullptr;
    ISpecialFolders* Folders = nullptr;
    IShell* Shell = nullptr;
    ISystemErrors* Errors = nullptr;
    ILanguageBundleSource* Bundles = nullptr;
    IPrompts* Prompts = nullptr;
    IFontSystem* Fonts = nullptr;
    ISystemLocale* Locale = nullptr;
    IFileShell* Files = nullptr;
    IFaceRasterizer* Raster = nullptr;
    IFileLocks* Locks = nullptr;
};

TPlatformServices& Platform();

// Each accessor throws std::logic_error when its service was never installed,
// which is a wiring fault, never a user's error.
ITextService& Text();
IRegistryHive& RegistryHive();
ISpecialFolders& SpecialFolders();
IShell& Shell();
ISystemErrors& SystemErrors();
ILanguageBundleSource& LanguageBundles();
IPrompts& Prompts();
IFontSystem& FontSystem();
ISystemLocale& SystemLocale();
IFileShell& FileShell();
IFaceRasterizer& FaceRasterizer();
IFileLocks& FileLocks();

// The hourglass cursor for as long as the guard lives.
class THourglass {
public:
    THourglass() { Prompts().BeginBusy(); }
    ~THourglass() { Prompts().EndBusy(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

} // namespace lw
