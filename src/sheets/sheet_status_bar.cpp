#include "sheets/sheet_status_bar.h"

#include "base/strings.h"
#include "controls/status_panels.h"

#include <QPainter>

namespace lw {

namespace {
constexpr int kPanel0Width = 85;
constexpr int kPanel1Width = 150;
constexpr int kCategory = 11011;
constexpr int kCounts = 11012;
} // namespace

TSheetStatusBar::TSheetStatusBar(QWidget* parent) : QWidget(parent) {
    QFont barFont = font();
    barFont.setPointSize(10);
    setFont(barFont);
    setMinimumHeight(fontMetrics().height() + 6);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString TSheetStatusBar::PanelText(int panel) const {
    return panel >= 0 && panel < 3 ? Texts[panel] : QString();
}

void TSheetStatusBar::SetPanelText(int panel, const QString& text) {
    if (panel >= 0 && panel < 3) {
        Texts[panel] = text;
        update();
    }
}

void TSheetStatusBar::SetCounts(int selected, int total) {
    Selected = selected;
    Total = total;
    update(PanelRect(2));
}

QRect TSheetStatusBar::PanelRect(int panel) const {
    switch (panel) {
    case 0:
        return QRect(0, 0, kPanel0Width, height());
    case 1:
        return QRect(kPanel0Width, 0, kPanel1Width, height());
    default:
        return QRect(kPanel0Width + kPanel1Width, 0, width() - kPanel0Width - kPanel1Width,
                     height());
    }
}

QString TSheetStatusBar::Panel2Line() const {
    QString line;
    for (const auto& [text, bold] : Pieces()) {
        line += text;
    }
    return line;
}

TSheetStatusBar::TPieces TSheetStatusBar::Pieces() const {
    if (Panel2Pieces) {
        return Panel2Pieces();
    }
    if (Texts[2].isEmpty()) {
        return {};
    }
    return {{QString::fromStdString(LoadStr(kCategory)), false},
            {Texts[2], true},
            {QString::fromStdString(FmtLoadStr(kCounts, Selected, Total)), false}};
}

void TSheetStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int panel = 0; panel < 3; ++panel) {
        const QRect rect = PanelRect(panel);
        DrawPanelFrame(painter, this, rect);
        painter.save();
        painter.setClipRect(rect);
        if (panel < 2) {
            painter.drawText(rect.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             Texts[panel]);
        } else {
            // Each piece starts where the previous one ended.
            int x = rect.left() + 5;
            for (const auto& [text, bold] : Pieces()) {
                QFont f = font();
                f.setBold(bold);
                painter.setFont(f);
                painter.drawText(QRect(x, rect.top(), rect.right() - x, rect.height()),
                                 Qt::AlignVCenter | Qt::AlignLeft, text);
                x += QFontMetrics(f).horizontalAdvance(text);
            }
        }
        painter.restore();
    }
}

} // namespace lw
