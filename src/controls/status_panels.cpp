#include "controls/status_panels.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

namespace lw {

void DrawPanelFrame(QPainter& painter, const QWidget* widget, const QRect& rect) {
    QStyleOptionFrame frame;
    frame.initFrom(widget);
    frame.rect = rect.adjusted(0, 0, -1, -1);
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = 1;
    widget->style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, widget);
}

TStatusPanels::TStatusPanels(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(fontMetrics().height() + 4);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

int TStatusPanels::Panel0Width(int totalWidth) {
    return static_cast<int>(std::nearbyint(totalWidth / 15.0 * 11.0));
}

int TStatusPanels::PanelWidth(int panel) const {
    const int first = Panel0Width(width());
    return panel == 0 ? first : width() - first;
}

QRect TStatusPanels::PanelRect(int panel) const {
    const int first = Panel0Width(width());
    return panel == 0 ? QRect(0, 0, first, height()) : QRect(first, 0, width() - first, height());
}

void TStatusPanels::SetPanelText(int panel, const QString& text) {
    if (panel < 0 || panel > 1 || Texts[panel] == text) {
        return;
    }
    Texts[panel] = text;
    update(PanelRect(panel));
}

QString TStatusPanels::PanelText(int panel) const {
    return panel >= 0 && panel <= 1 ? Texts[panel] : QString();
}

void TStatusPanels::SetPanel1Widget(QWidget* widget) {
    Panel1Widget = widget;
    PlacePanel1Widget();
}

void TStatusPanels::PlacePanel1Widget() {
    if (Panel1Widget != nullptr) {
        Panel1Widget->setGeometry(PanelRect(1));
    }
}

void TStatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlacePanel1Widget();
}

void TStatusPanels::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int panel = 0; panel < 2; ++panel) {
        const QRect rect = PanelRect(panel);
        DrawPanelFrame(painter, this, rect);
        if (panel == 1 && Panel1Widget != nullptr) {
            continue;
        }
        painter.save();
        painter.setClipRect(rect);
        const QRect textRect = rect.adjusted(3, 0, -2, 0);
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, Texts[panel]);
        painter.restore();
    }
}

} // namespace lw
