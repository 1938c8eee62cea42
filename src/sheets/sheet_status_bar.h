#pragma once

#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace lw {

// The sheet's three status panels: the size, the type of the family last
// clicked, and the view with its selection count.
class TSheetStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TSheetStatusBar(QWidget* parent = nullptr);

    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);
    // Panel 2's counts: selected items of all items.
    void SetCounts(int selected, int total);
    int SelectedCount() const { return Selected; }
    int TotalCount() const { return Total; }
    QRect PanelRect(int panel) const;
    // Panel 2 as it reads: "Kategorija: ", the view in bold, the counts.
    QString Panel2Line() const;
    // Panel 2's pieces, each drawn after the previous one, bold or not; a
    // window with other things to tell there replaces them.
    using TPieces = std::vector<std::pair<QString, bool>>;
    std::function<TPieces()> Panel2Pieces;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPieces Pieces() const;

    QString Texts[3];
    int Selected = 0;
    int Total = 0;
};

} // namespace lw
