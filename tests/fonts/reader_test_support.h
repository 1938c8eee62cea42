#pragma once

#include "font_builder.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "platform/services.h"
#include "test_home.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lw::test {

// The system language the readers see, for as long as it lives.
class TScopedSystemLanguage : public ISystemLocale {
public:
    explicit TScopedSystemLanguage(uint16_t langId) : Id(langId), Previous(Platform().Locale) {
        Platform().Locale = this;
    }
    ~TScopedSystemLanguage() override { Platform().Locale = Previous; }
    TScopedSystemLanguage(const TScopedSystemLanguage&) = delete;
    TScopedSystemLanguage& operator=(const TScopedSystemLanguage&) = delete;
    uint16_t DefaultLangID() const override { return Id; }

private:
    uint16_t Id;
    ISystemLocale* Previous;
};

// The readers over bytes in memory, as over a file's.
inline TOpenTypeFontFile ReadOpenType(const TBytes& bytes, uint16_t systemLang = 0x0409) {
    TMemoryByteSource source(bytes);
    return TOpenTypeFontFile(source, systemLang);
}
inline TType1FontFile ReadType1(const TBytes& pfm, const TBytes& pfb) {
    TMemoryByteSource metrics(pfm);
    TMemoryByteSource outline(pfb);
    return TType1FontFile(metrics, outline);
}

// An sfnt file of a 'name' table alone.
inline TBytes NamesOnly(const TNameTableBuilder& names) {
    return TSfntBuilder().AddTable("name", names.Build()).Build();
}

// A folder of its own under the temporary home, removed with the object.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::string& name) : Path(TestHome().Root() / name) {
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string Write(const std::string& name, const TBytes& bytes) const {
        WriteFile(Path / name, bytes);
        return (Path / name).string();
    }
    const std::filesystem::path Path;
};

// A program's output line by line, each without its end.
inline std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(output.substr(start, end - start));
    }
    return lines;
}

// A word the shell takes as it stands, whatever bytes it holds.
inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace lw::test
