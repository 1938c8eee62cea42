#pragma once

#include "platform/font_system.h"

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

private:
    std::multimap<std::string, int> Ids;
};

} // namespace lw
