#pragma once

#include "platform/font_system.h"
#include "platform/services.h"

#include <algorithm>
#include <map>

namespace lw::test {

// Installed fonts exactly as a test describes them, faces, flags and font
// lists included. Installs itself as the platform's font system while it lives.
class TFakeFontSystem : public IFontSystem {
public:
    std::vector<std::string> FaceFamilies;
    std::map<std::string, std::vector<TFaceInfo>, TKeyLess> Faces;
    TFontList Fonts;
    TFontList Type1;
    std::optional<std::string> Folder = std::string("/fonts");
    bool FailEnumeration = false;
    bool KeysUnreadable = false;
    bool KeysReadOnly = false;
    // Files (as given) the system refuses to load or let go.
    std::vector<std::string> RefusedLoads;
    std::vector<std::string> RefusedUnloads;
    // What the catalogue asked of the system, in order.
    std::vector<std::string> Loaded;
    std::vector<std::string> Unloaded;
    std::vector<std::string> TemporaryLoaded;
    std::vector<std::string> TemporaryUnloaded;
    int Changes = 0;

    TFakeFontSystem() : Previous(Platform().Fonts) { Platform().Fonts = this; }
    ~TFakeFontSystem() override { Platform().Fonts = Previous; }
    TFakeFontSystem(const TFakeFontSystem&) = delete;
    TFakeFontSystem& operator=(const TFakeFontSystem&) = delete;

    // Adds a face and its family name, as the system lists one per face.
    void AddFace(const std::string& family, TFaceInfo face) {
        FaceFamilies.push_back(family);
        Faces[family].push_back(std::move(face));
    }

    std::vector<std::string> EnumFamilyFaces() override {
        if (FailEnumeration) {
            throw EFontSystemError("enumeration failed");
        }
        return FaceFamilies;
    }
    const std::vector<TFaceInfo>& EnumFaces(const std::string& family) override {
        static const std::vector<TFaceInfo> none;
        auto it = Faces.find(family);
        return it == Faces.end() ? none : it->second;
    }
    std::optional<std::string> FontsFolder() override { return Folder; }
    const TFontList* FontKey(TFontKey key) override {
        if (KeysUnreadable) {
            return nullptr;
        }
        return key == TFontKey::Fonts ? &Fonts : &Type1;
    }
    // The folders fontconfig is said to serve fonts from.
    std::vector<std::string> ServedFolders;
    std::vector<std::string> FontFolders() override { return ServedFolders; }
    // Files the system serves: every file its font lists name.
    bool ServesFileNamed(const std::string& fileName) override {
        for (const TFontList* values : {&Fonts, &Type1}) {
            for (const auto& [name, value] : *values) {
                for (const std::string& file : value.Type == TRegDataType::String
                                                   ? std::vector<std::string>{value.Text}
                                                   : value.Lines) {
                    if (FileName(file) == fileName) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Files are recorded as the user reads them: "metrics|outline" for Type 1.
    static std::string Text(const TFontFiles& files) {
        return files.Outline.empty() ? files.File : files.File + "|" + files.Outline;
    }
    bool Refused(const TFontFiles& files) const {
        return std::ranges::count(RefusedLoads, files.File) > 0 ||
               std::ranges::count(RefusedLoads, FileName(files.File)) > 0;
    }
    static std::string FileName(const std::string& path) {
        return path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    }
    int FacesServed(const TFontFiles& files) override { return Refused(files) ? 0 : 1; }
    std::vector<TFaceNames> FacesOfFile(const std::string&) override { return {}; }
    int AddFontResource(const TFontFiles& files) override {
        if (Refused(files)) {
            return 0;
        }
        Loaded.push_back(Text(files));
        return 1;
    }
    bool RemoveFontResource(const TFontFiles& files) override {
        if (std::ranges::count(RefusedUnloads, Text(files)) > 0) {
            return false;
        }
        Unloaded.push_back(Text(files));
        return true;
    }
    int AddTemporaryFont(const TFontFiles& files) override {
        TemporaryLoaded.push_back(Text(files));
        return AddFontResource(files);
    }
    bool RemoveTemporaryFont(const TFontFiles& files) override {
        TemporaryUnloaded.push_back(Text(files));
        return RemoveFontResource(files);
    }
    bool FontKeyWritable(TFontKey) override { return !KeysReadOnly && !KeysUnreadable; }
    bool WriteFontValue(TFontKey key, const std::string& name, const TRegValue& value) override {
        (key == TFontKey::Fonts ? Fonts : Type1)[name] = value;
        return true;
    }
    bool DeleteFontValue(TFontKey key, const std::string& name) override {
        return (key == TFontKey::Fonts ? Fonts : Type1).erase(name) > 0;
    }
    void FontsChanged() override { ++Changes; }
    void SetProcessFontObserver(IProcessFontObserver*) override {}
    int LastErrorCode() const override { return 0; }
    std::string LastErrorText() const override { return "refused by the test"; }

private:
    IFontSystem* Previous;
};

inline TFaceInfo TrueTypeFace(const std::string& fullName, const std::string& style,
                              uint32_t flags) {
    return TFaceInfo{fullName, style, TRUETYPE_FONTTYPE, flags};
}

} // namespace lw::test
