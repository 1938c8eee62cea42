#include "platform/services.h"

#include <stdexcept>

namespace lw {

TPlatformServices& Platform() {
    static TPlatformServices services;
    return services;
}

namespace {
template <typename T> T& Required(T* service, const char* name) {
    if (service == nullptr) {
        throw std::logic_error(std::string("platform service not installed: ") + name);
    }
    return *service;
}
} // namespace

ITextService& Text() {
    return Required(Platform().Text, "text");
}
IRegistryHive& RegistryHive() {
    return Required(Platform().Registry, "registry");
}
ISpecialFolders& SpecialFolders() {
    return Required(Platform().Folders, "special folders");
}
IShell& Shell() {
    return Required(Platform().Shell, "shell");
}
ISystemErrors& SystemErrors() {
    return Required(Platform().Errors, "system errors");
}
ILanguageBundleSource& LanguageBundles() {
    return Required(Platform().Bundles, "language bundles");
}
IPrompts& Prompts() {
    return Required(Platform().Prompts, "prompts");
}
IFontSystem& FontSystem() {
    return Required(Platform().Fonts, "font system");
}
ISystemLocale& SystemLocale() {
    return Required(Platform().Locale, "system locale");
}
IFileShell& FileShell() {
    return Required(Platform().Files, "file shell");
}

IFaceRasterizer& FaceRasterizer() {
    return Required(Platform().Raster, "face rasterizer");
}

IFileLocks& FileLocks() {
    return Required(Platform().Locks, "file locks");
}

} // namespace lw
