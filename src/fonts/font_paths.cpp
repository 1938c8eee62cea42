#include "fonts/font_paths.h"

#include "fonts/font_manager.h"

namespace lw {

namespace {
constexpr char kSeparator = '/';
}

bool HasFolderPart(const std::string& path) {
    return path.find(kSeparator) != std::string::npos;
}

std::string InFontsFolder(const std::string& path) {
    if (HasFolderPart(path) || !FontManager) {
        return path;
    }
    return FontManager->FontsFolder + kSeparator + path;
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.rfind(kSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
    const size_t slash = path.rfind(kSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace lw
