#include "pages/sample_clipboard.h"

#include "controls/qt_colors.h"
#include "pages/sample_text.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace lw {

void CopySampleAsRtf(QPlainTextEdit* memo, TColor color) {
    // Qt marks line breaks inside a selection with the paragraph separator.
    QString selected = memo->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (selected.isEmpty()) {
        return;
    }
    const std::string text = FirstCharacters(selected.toStdString(), kMaxCopiedCharacters);
    const QFont font = memo->font();
    TSampleFormat format;
    format.FontName = font.family().toStdString();
    format.SizePoints = font.pointSize();
    // A stored system colour is pasted as the colour the sample shows now.
    format.Color = IsSystemColor(color) ? ToTColor(ResolveColor(color, memo->palette())) : color;
    format.Bold = font.bold();
    format.Italic = font.italic();
    format.Underline = font.underline();
    const std::string rtf = BuildSampleRtf(text, format);
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    const QByteArray bytes = QByteArray::fromStdString(rtf);
    data->setData(QStringLiteral("text/rtf"), bytes);
    data->setData(QStringLiteral("application/rtf"), bytes);
    QApplication::clipboard()->setMimeData(data);
}

void CutSampleAsRtf(QPlainTextEdit* memo, TColor color) {
    CopySampleAsRtf(memo, color);
    memo->textCursor().removeSelectedText();
}

} // namespace lw
