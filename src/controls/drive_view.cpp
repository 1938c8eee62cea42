#include "controls/drive_view.h"

#include "base/helpers.h"
#include "controls/folder_listing.h"
#include "platform/services.h"

#include <QCollator>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QStorageInfo>

#include <algorithm>
#include <filesystem>

namespace lw {

namespace {

constexpr char kSeparator = '/';
// A node's name as the file system spells it (bytes), or a root's path.
constexpr int kNameRole = Qt::UserRole;
// Whether the node's sub-folders have been read.
constexpr int kFilledRole = Qt::UserRole + 1;

QString Shown(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string NodeName(const QTreeWidgetItem* node) {
    return node->data(0, kNameRole).toByteArray().toStdString();
}

// Volumes a user mounts (a stick, a second disk), not the system's own.
std::vector<std::string> UserVolumes() {
    std::vector<std::string> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string root = QFile::encodeName(volume.rootPath()).toStdString();
        const bool user = root.rfind("/media/", 0) == 0 || root.rfind("/mnt/", 0) == 0 ||
                          root.rfind("/run/media/", 0) == 0;
        if (user && volume.isValid() && volume.isReady()) {
            volumes.push_back(FolderWithSeparator(root));
        }
    }
    std::sort(volumes.begin(), volumes.end());
    return volumes;
}

std::string SpecialFolder(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? std::string()
                          : FolderWithSeparator(QFile::encodeName(path).toStdString());
}

// The parts of a path below its root: the names between separators.
std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < path.size()) {
        size_t stop = path.find(kSeparator, start);
        if (stop == std::string::npos) {
            stop = path.size();
        }
        if (stop > start) {
            parts.push_back(path.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return parts;
}

bool StartsWithFolder(const std::string& path, const std::string& folder, bool ignoreCase) {
    if (folder.size() > path.size() + 1) {
        return false;
    }
    // The folder without its separator: a path naming the folder itself counts.
    const std::string bare = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    const std::string head = path.substr(0, bare.size());
    const bool same = ignoreCase ? Text().CompareIgnoreCase(head, bare) == 0 : head == bare;
    return same && (path.size() == bare.size() || path[bare.size()] == kSeparator || bare == "/");
}

} // namespace

TDriveView::TDriveView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    resize(200, 125);
    connect(this, &QTreeWidget::itemExpanded, this, &TDriveView::NodeExpanding);
    BuildRoots();
}

void TDriveView::SetShowShellFolders(bool show) {
    if (show != ShellFolders) {
        ShellFolders = show;
        Rebuild();
    }
}

void TDriveView::AddRoot(const std::string& path, const QString& text) {
    static const QFileIconProvider icons;
    auto* node = new QTreeWidgetItem(this, {text});
    node->setData(0, kNameRole, QByteArray::fromStdString(path));
    node->setIcon(0, icons.icon(QFileInfo(Shown(path))));
    // It shows an expand button before it has been read.
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    Roots.push_back(path);
}

void TDriveView::BuildRoots() {
    clear();
    Roots.clear();
    if (ShellFolders) {
        for (const auto location :
             {QStandardPaths::DesktopLocation, QStandardPaths::DocumentsLocation}) {
            const std::string path = SpecialFolder(location);
            if (!path.empty()) {
                AddRoot(path, QStandardPaths::displayName(location));
            }
        }
    }
    AddRoot("/", QStringLiteral("/"));
    for (const std::string& volume : UserVolumes()) {
        AddRoot(volume, Shown(volume.substr(0, volume.size() - 1))
                            .section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty));
    }
    // The file system's root is where a first look starts.
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (NodePath(topLevelItem(i)) == "/") {
            setCurrentItem(topLevelItem(i));
        }
    }
}

std::string TDriveView::NodePath(const QTreeWidgetItem* node) const {
    if (node == nullptr) {
        return std::string();
    }
    if (node->parent() == nullptr) {
        return NodeName(node);
    }
    return NodePath(node->parent()) + NodeName(node) + kSeparator;
}

std::string TDriveView::Path() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? std::string() : NodePath(selected.front());
}

void TDriveView::FillNode(QTreeWidgetItem* node) {
    if (node->data(0, kFilledRole).toBool()) {
        return;
    }
    node->setData(0, kFilledRole, true);
    std::vector<std::string> names = ListSubfolders(NodePath(node));
    // The locale's order, case-sensitive, as the file system's own names are.
    static QCollator order = [] {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseSensitive);
        return collator;
    }();
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return order.compare(Shown(a), Shown(b)) < 0;
    });
    static const QFileIconProvider icons;
    const QIcon folder = icons.icon(QFileIconProvider::Folder);
    for (const std::string& name : names) {
        auto* child = new QTreeWidgetItem(node, {Shown(name)});
        child->setData(0, kNameRole, QByteArray::fromStdString(name));
        child->setIcon(0, folder);
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    node->setChildIndicatorPolicy(names.empty() ? QTreeWidgetItem::DontShowIndicator
                                                : QTreeWidgetItem::ShowIndicator);
}

void TDriveView::NodeExpanding(QTreeWidgetItem* node) {
    THourglass hourglass;
    setUpdatesEnabled(false);
    FillNode(node);
    // One level ahead: each child shows an expand button only when it has
    // sub-folders.
    for (int i = 0; i < node->childCount(); ++i) {
        FillNode(node->child(i));
    }
    setUpdatesEnabled(true);
}

QTreeWidgetItem* TDriveView::ChildNamed(QTreeWidgetItem* node, const std::string& name) const {
    for (int i = 0; i < node->childCount(); ++i) {
        if (NodeName(node->child(i)) == name) {
            return node->child(i);
        }
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (Text().CompareIgnoreCase(NodeName(node->child(i)), name) == 0) {
            return node->child(i);
        }
    }
    return nullptr;
}

void TDriveView::SetPath(const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::string full = path;
    if (full == ".") {
        std::error_code ec;
        full = std::filesystem::current_path(ec).string();
    }
    // The root the path lies under: the longest that holds it, spelled
    // exactly, or else ignoring case.
    int root = -1;
    for (const bool ignoreCase : {false, true}) {
        for (int i = 0; i < static_cast<int>(Roots.size()); ++i) {
            if (StartsWithFolder(full, Roots[static_cast<size_t>(i)], ignoreCase) &&
                (root < 0 ||
                 Roots[static_cast<size_t>(i)].size() > Roots[static_cast<size_t>(root)].size())) {
                root = i;
            }
        }
        if (root >= 0) {
            break;
        }
    }
    if (root < 0) {
        return;
    }
    QTreeWidgetItem* node = topLevelItem(root);
    const std::string rest =
        full.substr(std::min(full.size(), Roots[static_cast<size_t>(root)].size()));
    for (const std::string& part : PathParts(rest)) {
        node->setExpanded(true); // fills it
        FillNode(node);
        if (QTreeWidgetItem* child = ChildNamed(node, part)) {
            node = child;
        }
    }
    setCurrentItem(node);
    scrollToItem(node);
}

void TDriveView::Rebuild() {
    THourglass hourglass;
    setUpdatesEnabled(false);
    const std::string remembered = Path();
    BuildRoots();
    if (FocusOnUpdate && isVisible() && focusPolicy() != Qt::NoFocus) {
        setFocus();
    }
    setUpdatesEnabled(true);
    SetPath(remembered);
}

void TDriveView::keyReleaseEvent(QKeyEvent* event) {
    QTreeWidget::keyReleaseEvent(event);
    emit KeyReleased(event->key());
}

void TDriveView::mousePressEvent(QMouseEvent* event) {
    // A right click selects the node it lands on, as the pop-up menu acts on it.
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* node = itemAt(event->position().toPoint())) {
            setCurrentItem(node);
        }
    }
    QTreeWidget::mousePressEvent(event);
}

} // namespace lw
