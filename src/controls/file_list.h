#pragma once

#include <QListWidget>
#include <QPixmap>

#include <string>
#include <vector>

namespace lw {

// The files of one folder that match a set of masks, sorted, each drawn with
// a small picture before its name. Names are bytes here: each item keeps its
// name as the file system spells it and shows it readably.
class TFileList : public QListWidget {
    Q_OBJECT
public:
    explicit TFileList(QWidget* parent = nullptr);

    // The folder shown, with a trailing separator; "./" at first.
    const std::string& Directory() const { return Folder; }
    // An empty folder changes nothing; setting one lists it afresh.
    void SetDirectory(const std::string& folder);
    // "*.ttf; *.otf": the masks joined by "; ".
    std::string Mask() const;
    // An empty text changes nothing; setting masks lists the folder afresh.
    void SetMask(const std::string& text);
    const QPixmap& Picture() const { return Original; }
    void SetPicture(const QPixmap& picture);
    // The picture drawn with its key colour (its bottom-right pixel's) as the
    // background of the item, normal or selected.
    bool TransparentPicture = true;
    // Directory and the current item's name; empty without a current item.
    std::string FileName() const;
    // An item's name as the file system spells it.
    std::string ItemName(int row) const;
    int ItemHeight() const { return RowHeight; }
    void SetItemHeight(int height);
    // The picture drawn for normal and for selected items.
    const QPixmap& NormalPicture() const { return Normal; }
    const QPixmap& SelectedPicture() const { return Selected; }
    void Rescan();

signals:
    void KeyPressed(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void MakePictureCopies();

    std::string Folder = "./";
    std::vector<std::string> Masks{"*.*"};
    QPixmap Original;
    QPixmap Normal;
    QPixmap Selected;
    int RowHeight = 17;
};

// The picture with every pixel of its bottom-right pixel's colour replaced.
QPixmap RecolouredPicture(const QPixmap& picture, const QColor& background);

} // namespace lw
