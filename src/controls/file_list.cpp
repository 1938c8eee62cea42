#include "controls/file_list.h"

#include "controls/folder_listing.h"
#include "platform/services.h"

#include <QEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace lw {

namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kTextGap = 3;

// Each item: the picture's top-left square of the item's height, then the
// name, on the normal or the selection background.
class TFileItemDelegate : public QStyledItemDelegate {
public:
    explicit TFileItemDelegate(TFileList* list) : QStyledItemDelegate(list), List(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& palette = List->palette();
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        const QPixmap& picture = !List->TransparentPicture ? List->Picture()
                                 : selected                ? List->SelectedPicture()
                                                           : List->NormalPicture();
        int textLeft = option.rect.left();
        if (!picture.isNull()) {
            const int side = option.rect.height();
            painter->drawPixmap(QRect(option.rect.left(), option.rect.top(), side, side), picture,
                                QRect(0, 0, side, side));
            textLeft += side;
        }
        textLeft += kTextGap;
        const QRect textRect(textLeft, option.rect.top(), option.rect.right() - textLeft + 1,
                             option.rect.height());
        painter->save();
        painter->setClipRect(textRect);
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data().toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), List->ItemHeight());
    }

private:
    TFileList* List;
};

} // namespace

QPixmap RecolouredPicture(const QPixmap& picture, const QColor& background) {
    if (picture.isNull()) {
        return picture;
    }
    QImage image = picture.toImage().convertToFormat(QImage::Format_RGB888);
    const QRgb key = image.pixel(image.width() - 1, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == key) {
                image.setPixel(x, y, background.rgb());
            }
        }
    }
    return QPixmap::fromImage(image);
}

TFileList::TFileList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TFileItemDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    resize(175, 200);
}

void TFileList::SetDirectory(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    Folder = FolderWithSeparator(folder);
    Rescan();
}

std::string TFileList::Mask() const {
    return JoinMasks(Masks);
}

void TFileList::SetMask(const std::string& text) {
    if (text.empty()) {
        return;
    }
    Masks = ParseMasks(text);
    Rescan();
}

void TFileList::SetPicture(const QPixmap& picture) {
    Original = picture;
    MakePictureCopies();
    viewport()->update();
}

void TFileList::MakePictureCopies() {
    Normal = RecolouredPicture(Original, palette().color(QPalette::Base));
    Selected = RecolouredPicture(Original, palette().color(QPalette::Highlight));
}

void TFileList::SetItemHeight(int height) {
    RowHeight = std::max(1, height);
    doItemsLayout();
}

std::string TFileList::ItemName(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry == nullptr ? std::string() : entry->data(kNameRole).toByteArray().toStdString();
}

std::string TFileList::FileName() const {
    const int row = currentRow();
    return row < 0 ? std::string() : Folder + ItemName(row);
}

void TFileList::Rescan() {
    THourglass hourglass;
    setUpdatesEnabled(false);
    clear();
    for (const std::string& name : ListFolderFiles(Folder, Masks)) {
        auto* entry = new QListWidgetItem(QFile::decodeName(QByteArray::fromStdString(name)));
        entry->setData(kNameRole, QByteArray::fromStdString(name));
        addItem(entry);
    }
    setUpdatesEnabled(true);
}

void TFileList::keyPressEvent(QKeyEvent* event) {
    emit KeyPressed(event->key());
    QListWidget::keyPressEvent(event);
}

void TFileList::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        MakePictureCopies();
    }
}

} // namespace lw
