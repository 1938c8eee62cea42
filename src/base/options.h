#pragma once

#include "base/color.h"

#include <cstdint>
#include <string>

namespace lw {

struct TPrintOptions {
    double TopMargin = 0;
    double BottomMargin = 0;
    double RightMargin = 0;
    double LeftMargin = 0;
    uint8_t Range = 0;   // not stored
    std::string JobText; // not stored
    bool UseCentimeters = false;
    double UnitFactor = 0; // not stored: follows UseCentimeters
};

// Every persisted option. Zero-filled until the settings are first read.
struct TOptions {
    bool DeleteReadOnly = false;
    bool MoveToTrash = false;
    bool CopyBeforeDelete = false;
    int32_t FontSize = 0;
    int32_t ListFontSize = 0;
    int32_t ListColumns = 0;
    TColor FontColor = 0;
    TColor BackgroundColor = 0;
    TColor ListNormalColor = 0;
    TColor ListSelectedColor = 0;
    TColor ListBackgroundColor = 0;
    std::string DefaultCopyFolder;
    std::string LastFileOpFolder;
    std::string SampleText;
    std::string ListSampleText;
    int32_t ListWidth = 0;
    int32_t ListHeight = 0;
    int32_t ListLeft = 0;
    int32_t ListTop = 0;
    bool ShowListWindow = false;
    bool ListMaximized = false;
    TPrintOptions Print;
};

extern TOptions Options;

// Value names under the program's key. Their spelling is what existing
// settings files hold, so it never changes.
namespace reg {
inline constexpr const char* Language = "Language";
inline constexpr const char* FontSize = "Font Size";
inline constexpr const char* FontColor = "Font color";
inline constexpr const char* BackgroundColor = "Background color";
inline constexpr const char* DeleteReadOnly = "Delete read-only files";
inline constexpr const char* SampleText = "Sample text";
inline constexpr const char* MoveToTrash = "Move deleted files to trash";
inline constexpr const char* CopyBeforeDelete = "Copy files before deletion";
inline constexpr const char* DefaultCopyFolder = "Default copy folder";
inline constexpr const char* ShowListWindow = "Show font list window";
inline constexpr const char* ListFontSize = "Font list - Font Size";
inline constexpr const char* ListColumns = "Font list - Number of columns";
inline constexpr const char* ListNormalColor = "Font list - Normal color";
inline constexpr const char* ListBackgroundColor = "Font list - Background color";
inline constexpr const char* ListSelectedColor = "Font list - Selected color";
inline constexpr const char* ListSampleText = "Font list sample text";
inline constexpr const char* LastFileOpFolder = "Last file operarion folder";
inline constexpr const char* ListWidth = "Font list width";
inline constexpr const char* ListHeight = "Font list height";
inline constexpr const char* ListLeft = "Font list left";
inline constexpr const char* ListTop = "Font list top";
inline constexpr const char* ListMaximized = "Font list maximized";
inline constexpr const char* PrintTopMargin = "Print top margin";
inline constexpr const char* PrintBottomMargin = "Print bottom margin";
inline constexpr const char* PrintLeftMargin = "Print left margin";
inline constexpr const char* PrintRightMargin = "Print right margin";
inline constexpr const char* UseCentimeters = "Use centimeters";
inline constexpr const char* WindowWidth = "Window width";
inline constexpr const char* WindowHeight = "Window height";
inline constexpr const char* WindowTop = "Window top";
inline constexpr const char* WindowLeft = "Window left";
inline constexpr const char* Maximized = "Maximized";
inline constexpr const char* NotInstalledPath = "Not installed tab path";
} // namespace reg

} // namespace lw
