#include "fonts/font_paths.h"

#include "fonts/font_file.h"
#include "fonts/font_manager.h"

#include <filesystem>

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

std::string JoinFontFiles(const TFontFiles& files) {
    return files.Outline.empty() ? files.File : files.File + "|" + files.Outline;
}

std::string TFontFile::GetFileName(bool fullPath) const {
    return JoinFontFiles(GetFiles(fullPath));
}

bool IsInFolderTree(const std::string& path, const std::string& folder) {
    namespace fs = std::filesystem;
    if (path.empty() || folder.empty()) {
        return false;
    }
    std::error_code ec;
    const fs::path file = fs::absolute(path, ec);
    const std::string parent = fs::weakly_canonical(file.parent_path(), ec).string();
    std::string root = fs::weakly_canonical(fs::absolute(folder, ec), ec).string();
    if (ec || root.empty()) {
        return false;
    }
    while (root.size() > 1 && root.back() == kSeparator) {
        root.pop_back();
    }
    if (root == "/") {
        return true;
    }
    return parent == root ||
           (parent.size() > root.size() && parent.compare(0, root.size(), root) == 0 &&
            parent[root.size()] == kSeparator);
}

} // namespace lw
