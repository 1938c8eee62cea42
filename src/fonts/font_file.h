#pragma once

#include "platform/font_system.h"

#include <cstdint>
#include <string>

namespace lw {

// Font type codes; the display name of code N is string 30000 + N.
enum TFontTypeCode : uint8_t {
    ftUnknown = 0,
    ftTrueType = 1,
    ftOpenType = 2,
    ftType1 = 3,
    ftTrueTypeCollection = 4,
    ftBitmap = 5,
};

// What is read from one font file. A reader fills it in its constructor and
// it is read-only afterwards.
class TFontFile {
public:
    virtual ~TFontFile() = default;

    // The files handed to the system to load the font, as paths or as bare
    // names (in the font folder): for Type 1 the metrics and outline files.
    virtual TFontFiles GetFiles(bool fullPath) const = 0;
    // The same as one text for the user to read: a Type 1 font's two files
    // joined by "|". Never split again: a name may hold "|" itself.
    std::string GetFileName(bool fullPath) const;

    std::string FileName;
    std::string RegistryName;
    std::string Copyright;
    std::string FamilyName;
    std::string StyleName;
    std::string UniqueID;
    std::string FullName;
    std::string Version;
    std::string PostScriptName;
    std::string Trademark;
    std::string Manufacturer;
    std::string Designer;
    std::string Description;
    std::string VendorURL;
    std::string DesignerURL;
    std::string LicenseDescription;
    std::string LicenseURL;
    std::string PreferredFamily;
    std::string PreferredStyle;
    std::string SampleText;
    int32_t Selection = 0;
    int32_t UnitsPerEm = 0;
    int32_t LowestRecPPEM = 0;
    bool Installed = false;
    uint8_t FontType = ftUnknown;
    // Which face of the file this record describes, and how many it holds: a
    // collection holds several, every other font file one.
    uint32_t FaceIndex = 0;
    uint32_t FaceCount = 1;
    // The file starts with none of the signatures of a font (sfnt,
    // collection, Type 1 outline): the fields hold whatever the reader made
    // of other bytes, and nothing should treat them as a font's.
    bool NotAFont = false;
};

} // namespace lw
