#pragma once

#include <QWidget>

class QPainter;

namespace lw {

// The sunken frame every status panel is drawn in.
void DrawPanelFrame(QPainter& painter, const QWidget* widget, const QRect& rect);

// The main window's two status panels: panel 0 shows the current hint,
// panel 1 the sample's font name, or hosts a progress bar while loading.
class TStatusPanels : public QWidget {
    Q_OBJECT
public:
    explicit TStatusPanels(QWidget* parent = nullptr);

    void SetPanelText(int panel, const QString& text);
    QString PanelText(int panel) const;
    QRect PanelRect(int panel) const;
    int PanelWidth(int panel) const;
    // A widget kept exactly over panel 1 (the load progress), or none.
    void SetPanel1Widget(QWidget* widget);

    // Panel 0 takes eleven fifteenths of the width, rounded half to even.
    static int Panel0Width(int totalWidth);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlacePanel1Widget();

    QString Texts[2];
    QWidget* Panel1Widget = nullptr;
};

} // namespace lw
