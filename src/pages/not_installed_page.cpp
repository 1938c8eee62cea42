#include "pages/not_installed_page.h"

#include "base/helpers.h"
#include "base/options.h"
#include "base/strings.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "controls/folder_listing.h"
#include "controls/localize.h"
#include "fileops/shell_operations.h"
#include "fonts/font_file.h"
#include "fonts/font_file_commands.h"
#include "fonts/font_manager.h"
#include "pages/details_window.h"
#include "pages/drawable_preview.h"
#include "pages/file_info.h"
#include "platform/services.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <filesystem>

namespace lw {

namespace {

constexpr int kNoFontSelected = 13000;
constexpr int kInstallQuestion = 13001;
constexpr int kFilesInFolder = 13005;
constexpr int kDamagedFont = 13014;
constexpr int kRemoveTemporaryQuestion = 10016;
constexpr int kConfirmCaption = 20;
constexpr int kWarningCaption = 21;
constexpr int kErrorCaption = 22;
constexpr int kAlreadyInstalled = 30101;
constexpr int kUnloadRefused = 30103;
constexpr int kListItemHeight = 17;
constexpr int kDestinationTitle = 13011;
constexpr int kRenameCaption = 13016;
constexpr int kRenamePrompt = 13017;
constexpr int kDeleteQuestion = 13010;
const char* const kFontMasks = kFontFileMasks;
const char* const kNoFileFont = "MS Sans Serif";

QLabel* InfoLabel(QWidget* parent, const char* name) {
    auto* label = MakeTagged<QLabel>(parent, name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QPixmap FontFilePicture() {
    // A sheet with a folded corner and a letter, on a key colour the list
    // replaces with its own background.
    const QColor key(0, 128, 128);
    QPixmap picture(16, 16);
    picture.fill(key);
    QPainter painter(&picture);
    const QPolygon sheet(
        {QPoint(2, 0), QPoint(10, 0), QPoint(14, 4), QPoint(14, 15), QPoint(2, 15)});
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawPolygon(sheet);
    painter.drawLine(10, 0, 10, 4);
    painter.drawLine(10, 4, 14, 4);
    painter.setPen(QColor(0, 0, 160));
    QFont letter(QStringLiteral("DejaVu Serif"));
    letter.setPixelSize(10);
    letter.setBold(true);
    painter.setFont(letter);
    painter.drawText(QRect(3, 4, 10, 11), Qt::AlignCenter, QStringLiteral("a"));
    return picture;
}

TNotInstalledPage::TNotInstalledPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tsNotInstalled"));
    SetTag(this, 10135);
    lblSelectFontsFolder = MakeTagged<QLabel>(this, "lblSelectFontsFolder", 13110);
    DriveView = MakeTagged<TDriveView>(this, "DriveView", 13404);
    DriveView->FocusOnUpdate = false;
    DriveView->SetShowShellFolders(true);
    FileList = MakeTagged<TFileList>(this, "FileList", 13403);
    FileList->SetItemHeight(kListItemHeight);
    FileList->SetPicture(FontFilePicture());
    FileList->SetMask(kFontMasks);
    lblNumberDir = MakeTagged<QLabel>(this, "lblNumberDir");
    lblSampleNotInst = MakeTagged<QLabel>(this, "lblSampleNotInst", 10104);
    mmSampleNotInst = MakeTagged<QPlainTextEdit>(this, "mmSampleNotInst");
    mmSampleNotInst->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DrawableNotInst = new TDrawablePreview(this);
    DrawableNotInst->setObjectName(QStringLiteral("DrawableNotInst"));
    connect(mmSampleNotInst, &QPlainTextEdit::textChanged, this,
            [this] { DrawableNotInst->SampleEdited(mmSampleNotInst->toPlainText()); });
    gbFontInfoNotInst = MakeTagged<QGroupBox>(this, "gbFontInfoNotInst", 10101);
    lblFontNameNotInst = InfoLabel(gbFontInfoNotInst, "lblFontNameNotInst");
    lblFontFamilyNotInst = InfoLabel(gbFontInfoNotInst, "lblFontFamilyNotInst");
    lblFontSubFamilyNotInst = InfoLabel(gbFontInfoNotInst, "lblFontSubFamilyNotInst");
    lblFontTypeNotInst = InfoLabel(gbFontInfoNotInst, "lblFontTypeNotInst");
    lblFontVersionNotInst = InfoLabel(gbFontInfoNotInst, "lblFontVersionNotInst");
    lblInstalled = InfoLabel(gbFontInfoNotInst, "lblInstalled");
    btnInstallFont0 = MakeTagged<QPushButton>(this, "btnInstallFont0", 13105);
    btnInstallTemporarily0 = MakeTagged<QPushButton>(this, "btnInstallTemporarily0", 13106);
    btnViewFolder0 = MakeTagged<QPushButton>(this, "btnViewFolder0", 13103);
    btnViewMix0 = MakeTagged<QPushButton>(this, "btnViewMix0", 13111);
    BuildLayout();
    ShowEmptyInfo();

    connect(DriveView, &QTreeWidget::itemClicked, this, [this] { FolderChosen(); });
    connect(DriveView, &TDriveView::KeyReleased, this, [this] { FolderChosen(); });
    connect(FileList, &QListWidget::currentRowChanged, this, [this] { FileListClick(); });
    // A click on the current file changes no row, yet after a file command
    // released its font it is the way to have it read again.
    connect(FileList, &QListWidget::itemClicked, this, [this] { ReadPreviewIfReleased(); });
    connect(FileList, &TFileList::KeyPressed, this, [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            InstallClick(false);
        }
    });
    connect(btnInstallFont0, &QPushButton::clicked, this, [this] { InstallClick(false); });
    connect(btnInstallTemporarily0, &QPushButton::clicked, this, [this] { InstallClick(true); });
}

TNotInstalledPage::~TNotInstalledPage() {
    ReleasePreviewFont();
}

void TNotInstalledPage::BuildLayout() {
    auto* left = new QVBoxLayout;
    left->addWidget(lblSelectFontsFolder);
    left->addWidget(DriveView, 1);
    left->addWidget(FileList, 1);
    left->addWidget(lblNumberDir);

    auto* info = new QVBoxLayout(gbFontInfoNotInst);
    for (QLabel* label : {lblFontNameNotInst, lblFontFamilyNotInst, lblFontSubFamilyNotInst,
                          lblFontTypeNotInst, lblFontVersionNotInst, lblInstalled}) {
        info->addWidget(label);
    }
    info->addStretch(1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {btnInstallFont0, btnInstallTemporarily0, btnViewFolder0, btnViewMix0}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(lblSampleNotInst);
    right->addWidget(mmSampleNotInst, 3);
    right->addWidget(DrawableNotInst);
    right->addWidget(gbFontInfoNotInst, 2);
    right->addLayout(buttons);

    auto* page = new QHBoxLayout(this);
    page->addLayout(left, 2);
    page->addLayout(right, 3);
}

void TNotInstalledPage::ShowInfo(const TFileInfoTexts& texts) {
    lblFontNameNotInst->setText(QString::fromStdString(texts.FullName));
    lblFontFamilyNotInst->setText(QString::fromStdString(texts.Family));
    lblFontSubFamilyNotInst->setText(QString::fromStdString(texts.Style));
    lblFontTypeNotInst->setText(QString::fromStdString(texts.Type));
    lblFontVersionNotInst->setText(QString::fromStdString(texts.Version));
    lblInstalled->setText(QString::fromStdString(texts.Installed));
}

void TNotInstalledPage::ShowEmptyInfo() {
    ShowInfo(EmptyFileInfo());
}

void TNotInstalledPage::SetSampleFont(const QString& family, bool bold, bool italic) {
    QFont font = mmSampleNotInst->font();
    font.setFamilies({family});
    font.setBold(bold);
    font.setItalic(italic);
    // The face's own glyphs or its missing-glyph boxes, never another
    // font's glyphs in their place.
    font.setStyleStrategy(QFont::NoFontMerging);
    mmSampleNotInst->setFont(font);
    mmSampleNotInst->viewport()->update();
}

void TNotInstalledPage::FolderChosen() {
    const std::string folder = DriveView->Path();
    FileList->SetDirectory(folder);
    if (!folder.empty()) {
        // Relative names typed later mean this folder.
        std::error_code ec;
        std::filesystem::current_path(folder, ec);
    }
    ShowFileCount();
}

void TNotInstalledPage::ShowFileCount() {
    lblNumberDir->setText(QString::fromStdString(FmtLoadStr(kFilesInFolder, FileList->count())));
}

void TNotInstalledPage::mnUpdateFileListClick() {
    DriveView->Rebuild();
    FolderChosen();
    FileListClick();
}

std::unique_ptr<TFontFile> TNotInstalledPage::PreviewFile(const std::string& path,
                                                          std::string& error) {
    try {
        std::unique_ptr<TFontFile> font = TFontManager::ReadFontFile(path);
        if (font && font->NotAFont) {
            error = kNotAFontFile;
            return nullptr;
        }
        if (!font || FontSystem().AddFontResource(font->GetFiles(true)) == 0) {
            error = LoadStr(kDamagedFont);
            return nullptr;
        }
        return font;
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
}

void TNotInstalledPage::FileListClick() {
    THourglass hourglass;
    if (Preview && !FontSystem().RemoveFontResource(Preview->GetFiles(true))) {
        Prompts().MessageBox(FmtLoadStr(kUnloadRefused, Preview->FileName, ""),
                             LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
    }
    Preview.reset();
    const std::string path = FileList->FileName();
    std::string error;
    if (path.empty()) {
        DrawableNotInst->ShowFor(std::string(), 0, QString(), 0);
        SetSampleFont(QString::fromLatin1(kNoFileFont), false, false);
        ShowEmptyInfo();
    } else if ((Preview = PreviewFile(path, error))) {
        if (Preview->FaceCount > 1) {
            ShowInfo(FileInfo(*Preview, *FontManager, TFontManager::ReadFontFaces(path)));
        } else {
            ShowInfo(FileInfo(*Preview, *FontManager));
        }
        // An installed face shows in its installed style.
        const TFontStyles style =
            Preview->Installed ? FontManager->GetStyleFlags(Preview->FamilyName, Preview->StyleName)
                               : 0;
        SetSampleFont(QString::fromStdString(Preview->FamilyName), (style & fsBold) != 0,
                      (style & fsItalic) != 0);
        DrawableNotInst->ShowFor(path, static_cast<int>(Preview->FaceIndex),
                                 mmSampleNotInst->toPlainText(),
                                 QFontInfo(mmSampleNotInst->font()).pixelSize());
    } else {
        DrawableNotInst->ShowFor(std::string(), 0, QString(), 0);
        SetSampleFont(QStringLiteral(" "), false, false);
        ShowEmptyInfo();
    }
    emit StatusText(error.empty() ? mmSampleNotInst->font().family()
                                  : QString::fromStdString(PreviewErrorText(error)));
}

void TNotInstalledPage::ReadPreviewIfReleased() {
    if (!Preview && FileList->currentRow() >= 0) {
        FileListClick();
    }
}

void TNotInstalledPage::ReleasePreviewFont() {
    if (Preview) {
        FontSystem().RemoveFontResource(Preview->GetFiles(true));
        Preview.reset();
    }
}

void TNotInstalledPage::InstallClick(bool temporarily) {
    if (FileList->currentRow() < 0) {
        Prompts().MessageBox(LoadStr(kNoFontSelected), LoadStr(kWarningCaption), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    ReadPreviewIfReleased();
    if (!Preview) {
        Prompts().MessageBox(LoadStr(kDamagedFont), LoadStr(kErrorCaption), TMsgIcon::Error,
                             TMsgButtons::Ok);
        return;
    }
    if (Preview->Installed) {
        Prompts().MessageBox(LoadStr(kAlreadyInstalled), LoadStr(kWarningCaption),
                             TMsgIcon::Warning, TMsgButtons::Ok);
        return;
    }
    if (Prompts().MessageBox(FmtLoadStr(kInstallQuestion, Preview->FullName),
                             LoadStr(kConfirmCaption), TMsgIcon::Question,
                             TMsgButtons::YesNo) != TMsgResult::Yes) {
        return;
    }
    FontSystem().RemoveFontResource(Preview->GetFiles(true));
    if (temporarily) {
        FontManager->InstallTemporarily(*Preview, true);
    } else {
        FontManager->InstallFont(*Preview, true);
    }
    Preview.reset();
    FileListClick();
}

void TNotInstalledPage::PropertiesClick() {
    std::string path;
    if (SelectedPath(path)) {
        OpenFileDetails(path, Preview ? Preview->FaceIndex : 0, mmSampleNotInst->toPlainText(),
                        window());
    }
}

bool TNotInstalledPage::SelectedPath(std::string& path) {
    if (FileList->currentRow() < 0) {
        Prompts().MessageBox(LoadStr(kNoFontSelected), LoadStr(kWarningCaption), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return false;
    }
    path = FileList->FileName();
    return true;
}

bool TNotInstalledPage::AskDestination(std::string& folder) {
    std::string chosen = Options.LastFileOpFolder;
    if (!BrowseForFolder(LoadStr(kDestinationTitle), chosen)) {
        return false;
    }
    Options.LastFileOpFolder = chosen;
    folder = FolderWithSeparator(chosen);
    return true;
}

void TNotInstalledPage::RefreshAfterChange() {
    const int remembered = FileList->currentRow();
    FolderChosen();
    const int count = FileList->count();
    {
        const QSignalBlocker quiet(FileList);
        FileList->setCurrentRow(remembered < count - 1 ? remembered : count - 1);
    }
    FileListClick();
}

void TNotInstalledPage::mnCopyFileClick() {
    std::string path;
    std::string folder;
    if (!SelectedPath(path) || !AskDestination(folder)) {
        return;
    }
    ReleasePreviewFont();
    CopyFontFile(path, folder);
}

void TNotInstalledPage::mnMoveFileClick() {
    std::string path;
    std::string folder;
    if (!SelectedPath(path) || !AskDestination(folder)) {
        return;
    }
    ReleasePreviewFont();
    if (MoveFontFile(path, folder)) {
        RefreshAfterChange();
    }
}

void TNotInstalledPage::mnRenameFileClick() {
    std::string path;
    if (!SelectedPath(path)) {
        return;
    }
    const std::optional<std::string> name = Prompts().InputBox(
        LoadStr(kRenameCaption), LoadStr(kRenamePrompt), NameWithoutExtension(path));
    if (!name) {
        return;
    }
    ReleasePreviewFont();
    if (RenameFontFile(path, *name)) {
        RefreshAfterChange();
    }
}

void TNotInstalledPage::mnDeleteFileClick() {
    std::string path;
    if (!SelectedPath(path) ||
        Prompts().MessageBox(FmtLoadStr(kDeleteQuestion, path), LoadStr(kConfirmCaption),
                             TMsgIcon::Question, TMsgButtons::YesNo) != TMsgResult::Yes) {
        return;
    }
    ReleasePreviewFont();
    if (DeleteFontFileCommand(path, Options.DeleteReadOnly, Options.MoveToTrash)) {
        RefreshAfterChange();
    }
}

void TNotInstalledPage::mnRemoveTemporaryClick() {
    if (Prompts().MessageBox(LoadStr(kRemoveTemporaryQuestion), LoadStr(kConfirmCaption),
                             TMsgIcon::Question, TMsgButtons::YesNo) == TMsgResult::Yes) {
        FontManager->RemoveTemporaryFonts();
    }
}

} // namespace lw
