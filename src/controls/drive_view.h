#pragma once

#include <QTreeWidget>

#include <string>
#include <vector>

namespace lw {

// A tree of the places folders hang from and their folders, read from the
// file system one level ahead of what is shown. Roots: the desktop and the
// documents folder (with ShowShellFolders on), then the file-system root
// and the volumes mounted for the user. Folder names are bytes here: each
// node keeps its name as the file system spells it and shows it readably.
class TDriveView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TDriveView(QWidget* parent = nullptr);

    bool ShowShellFolders() const { return ShellFolders; }
    void SetShowShellFolders(bool show);
    // Whether Rebuild gives the tree the keyboard focus.
    bool FocusOnUpdate = true;

    // The selected node's folder with a trailing separator; empty when no
    // node is selected.
    std::string Path() const;
    // Selects the node of that folder, opening the folders on the way. A
    // name matches exactly, or else ignoring case (names here are
    // case-sensitive, a path typed elsewhere may not be); a part that
    // matches nothing is passed over, so a folder that no longer exists
    // selects the deepest one that does. "." is the current folder.
    void SetPath(const std::string& path);
    // Builds the tree anew (folders made since show up) keeping the selection.
    void Rebuild();

    const std::vector<std::string>& RootPaths() const { return Roots; }
    std::string NodePath(const QTreeWidgetItem* node) const;

signals:
    // A key was released in the tree (the folder may have changed).
    void KeyReleased(int key);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void BuildRoots();
    void AddRoot(const std::string& path, const QString& text);
    void FillNode(QTreeWidgetItem* node);
    void NodeExpanding(QTreeWidgetItem* node);
    QTreeWidgetItem* ChildNamed(QTreeWidgetItem* node, const std::string& name) const;

    bool ShellFolders = false;
    std::vector<std::string> Roots;
};

} // namespace lw
