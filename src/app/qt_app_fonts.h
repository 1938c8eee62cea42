#pragma once

#include "platform/font_system.h"

#include <QTimer>

#include <map>
#include <string>

namespace lw {

// Keeps Qt's application fonts in step with the fonts this process loads,
// so the windows can draw a font the moment it is loaded.
class TQtApplicationFonts : public IProcessFontObserver {
public:
    TQtApplicationFonts();
    ~TQtApplicationFonts() override;
    TQtApplicationFonts(const TQtApplicationFonts&) = delete;
    TQtApplicationFonts& operator=(const TQtApplicationFonts&) = delete;

    void FontFileLoaded(const std::string& path) override;
    void FontFileReleased(const std::string& path) override;
    // Removes from Qt the fonts let go that it still draws.
    void RemoveRetired();
    // How many fonts let go Qt may keep before they are removed together,
    // once the user pauses for IdleFlushMilliseconds (at once past four
    // times as many).
    size_t RetiredLimit = 32;
    int IdleFlushMilliseconds = 1500;

private:
    std::multimap<std::string, int> Ids;
    std::map<std::string, int> Retired;
    QTimer IdleFlush;
};

} // namespace lw
