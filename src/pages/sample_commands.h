#pragma once

#include "base/color.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class QPlainTextEdit;

namespace lw {

class TInstalledPage;
class TNotInstalledPage;

// The commands on the two pages' samples: the Edit menu on the focused
// control, the sample pop-up on the active sample (copy and cut as rich text,
// by menu and by key), the ANSI character set in both samples, and printing
// the active sample.
class TSampleCommands : public QObject {
    Q_OBJECT
public:
    TSampleCommands(TInstalledPage* installed, TNotInstalledPage* notInstalled, QObject* parent);

    // Edit menu commands on the focused control.
    void EditCommand(const char* slot);
    // Sample pop-up commands on the active sample.
    void SampleCommand(const char* slot);
    // The ANSI button went down or up: both samples show the character set
    // or get their text back.
    void SetAnsiSample(bool down);
    // Asks first; the file or printer the sample went to, once printed.
    std::optional<std::string> PrintActiveSample();
    // The installed sample's hint: its selection.
    QString SelectionHint() const;

    // The sample the pop-up and printing work on: the shown page's.
    QPlainTextEdit* ActiveSample = nullptr;
    QString SavedSampleText;
    QString AnsiSampleText;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    TInstalledPage* Installed;
    TNotInstalledPage* NotInstalled;
};

// The characters with codes 33 to 255 of the Western code page, in order.
QString BuildAnsiSampleText();

} // namespace lw
