#include "pages/sample_commands.h"

#include "base/strings.h"
#include "fonts/font_text.h"
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

#include <vector>

namespace lw {

namespace {

constexpr int kNothingSelected = 9;
constexpr int kSelectionHint = 10031;
constexpr int kPrintQuestion = 10001;
constexpr int kConfirmCaption = 20;
constexpr int kSampleOf = 7;

bool PasteHasNothing(const char* slot) {
    return qstrcmp(slot, "paste") == 0 && !QApplication::clipboard()->mimeData()->hasText();
}

} // namespace

QString BuildAnsiSampleText() {
    std::vector<uint8_t> codes;
    for (int code = 33; code <= 255; ++code) {
        codes.push_back(static_cast<uint8_t>(code));
    }
    return QString::fromStdString(Windows1252ToUtf8(codes));
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
