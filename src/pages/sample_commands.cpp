#include "pages/sample_commands.h"

#include "base/strings.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "pages/sample_clipboard.h"
#include "pages/sample_print.h"
#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

namespace lw {

namespace {

constexpr int kNothingSelected = 9;
constexpr int kSelectionHint = 10031;
constexpr int kPrintQuestion = 10001;
constexpr int kConfirmCaption = 20;
constexpr int kSampleOf = 7;

// Bytes 0x80-0x9F of the Western Windows code page; the five it leaves
// undefined map to the same control characters the system gives them.
constexpr char16_t kWestern80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool PasteHasNothing(const char* slot) {
    return qstrcmp(slot, "paste") == 0 && !QApplication::clipboard()->mimeData()->hasText();
}

} // namespace

QString BuildAnsiSampleText() {
    QString text;
    for (int code = 33; code <= 255; ++code) {
        text += (code >= 0x80 && code <= 0x9F) ? QChar(kWestern80To9F[code - 0x80])
                                               : QChar(static_cast<char16_t>(code));
    }
    return text;
}

TSampleCommands::TSampleCommands(TInstalledPage* installed, TNotInstalledPage* notInstalled,
                                 QObject* parent)
    : QObject(parent), ActiveSample(installed->mmSample), AnsiSampleText(BuildAnsiSampleText()),
      Installed(installed), NotInstalled(notInstalled) {
    Installed->mmSample->installEventFilter(this);
    NotInstalled->mmSampleNotInst->installEventFilter(this);
}

void TSampleCommands::EditCommand(const char* slot) {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) {
        return;
    }
    // An editable combo box has the focus but its line edit has the text.
    if (auto* combo = qobject_cast<QComboBox*>(focused); combo != nullptr && combo->lineEdit()) {
        focused = combo->lineEdit();
    }
    const bool isMemo = focused == Installed->mmSample || focused == NotInstalled->mmSampleNotInst;
    if (isMemo && (qstrcmp(slot, "cut") == 0 || qstrcmp(slot, "copy") == 0)) {
        SampleCommand(slot);
        return;
    }
    if (PasteHasNothing(slot)) {
        return;
    }
    QMetaObject::invokeMethod(focused, slot);
}

void TSampleCommands::SampleCommand(const char* slot) {
    QPlainTextEdit* memo = ActiveSample;
    if (PasteHasNothing(slot)) {
        return;
    }
    memo->setFocus();
    const TColor color = Installed->SampleColor;
    if (qstrcmp(slot, "cut") == 0) {
        CutSampleAsRtf(memo, color);
    } else if (qstrcmp(slot, "copy") == 0) {
        CopySampleAsRtf(memo, color);
    } else {
        QMetaObject::invokeMethod(memo, slot);
    }
}

void TSampleCommands::SetAnsiSample(bool down) {
    if (down) {
        SavedSampleText = Installed->mmSample->toPlainText();
    }
    const QString text = down ? AnsiSampleText : SavedSampleText;
    Installed->mmSample->setPlainText(text);
    NotInstalled->mmSampleNotInst->setPlainText(text);
}

std::optional<std::string> TSampleCommands::PrintActiveSample() {
    if (Prompts().MessageBox(LoadStr(kPrintQuestion), LoadStr(kConfirmCaption), TMsgIcon::Question,
                             TMsgButtons::YesNo) != TMsgResult::Yes) {
        return std::nullopt;
    }
    const QFont font = ActiveSample->font();
    const std::string fontName = font.family().toStdString();
    THourglass hourglass;
    return PrintSample(LoadStr(kSampleOf) + fontName, ActiveSample->toPlainText().toStdString(),
                       fontName, Installed->SampleColor, font.pointSize());
}

QString TSampleCommands::SelectionHint() const {
    QString selected = Installed->mmSample->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const std::string shown =
        selected.isEmpty() ? LoadStr(kNothingSelected) : selected.toStdString();
    return QString::fromStdString(FmtLoadStr(kSelectionHint, shown));
}

// The keyboard's copy and cut in a sample copy rich text too.
bool TSampleCommands::eventFilter(QObject* watched, QEvent* e) {
    auto* memo = qobject_cast<QPlainTextEdit*>(watched);
    if (memo != nullptr && e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)) {
            ActiveSample = memo;
            SampleCommand(key->matches(QKeySequence::Copy) ? "copy" : "cut");
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

} // namespace lw
