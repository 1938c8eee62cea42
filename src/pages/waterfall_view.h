#pragma once

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

namespace lw {

// The sample at a row of point sizes, each line drawn from the face's own
// file, at the design coordinates chosen for a variable face.
class TWaterfallView : public QWidget {
    Q_OBJECT
public:
    explicit TWaterfallView(QWidget* parent = nullptr);

    void SetFace(const std::string& file, int index);
    void SetSizes(const std::vector<int>& points);
    void SetText(const QString& text);
    // One value per axis; empty: the face's default.
    void SetCoordinates(const std::vector<double>& coordinates);
    const std::vector<double>& Coordinates() const { return Design; }
    const std::vector<int>& Sizes() const { return Points; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The lines are drawn again at the next paint.
    void Redraw();
    void DrawLines();

    std::string File;
    int Index = 0;
    std::vector<int> Points;
    QString Text;
    std::vector<double> Design;
    std::vector<QImage> Lines; // one per size; null where the face draws nothing
    bool Stale = true;
};

} // namespace lw
