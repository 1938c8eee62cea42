#pragma once

#include <QWidget>

#include <memory>
#include <string>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lw {

class TDrawablePreview;
class TDriveView;
class TFileList;
class TFontFile;
struct TFileInfoTexts;

// The page for font files that are not installed: a folder tree, the
// folder's font files, the chosen file's names and a sample in its face.
// The file previewed is loaded for this program until another is chosen,
// the page is left, or the file is installed.
class TNotInstalledPage : public QWidget {
    Q_OBJECT
public:
    explicit TNotInstalledPage(QWidget* parent = nullptr);
    ~TNotInstalledPage() override;

    // The tree's folder goes to the list, and becomes the current folder.
    void FolderChosen();
    // The tree read again (keeping its folder), then the folder chosen.
    void mnUpdateFileListClick();
    // The selected file read and previewed; with none, the sample falls back.
    void FileListClick();
    // Lets the previewed file go.
    void ReleasePreviewFont();
    // Reads the selected file again when its font was released.
    void ReadPreviewIfReleased();
    void InstallClick(bool temporarily);
    void mnRemoveTemporaryClick();
    // The commands on the selected file (a ".pfm" takes its ".pfb" along).
    void mnCopyFileClick();
    void mnMoveFileClick();
    void mnRenameFileClick();
    void mnDeleteFileClick();
    // A Details window on the selected file, installed or not.
    void PropertiesClick();
    // The labels that hold no text of their own are filled again (after a
    // change of language).
    void ShowEmptyInfo();
    void ShowFileCount();

    const TFontFile* PreviewFontFile() const { return Preview.get(); }

    QLabel* lblSelectFontsFolder;
    TDriveView* DriveView;
    TFileList* FileList;
    QLabel* lblNumberDir;
    QLabel* lblSampleNotInst;
    QPlainTextEdit* mmSampleNotInst;
    TDrawablePreview* DrawableNotInst;
    QGroupBox* gbFontInfoNotInst;
    QLabel* lblFontNameNotInst;
    QLabel* lblFontFamilyNotInst;
    QLabel* lblFontSubFamilyNotInst;
    QLabel* lblFontTypeNotInst;
    QLabel* lblFontVersionNotInst;
    QLabel* lblInstalled;
    QPushButton* btnInstallFont0;
    QPushButton* btnInstallTemporarily0;
    QPushButton* btnViewFolder0;
    QPushButton* btnViewMix0;

signals:
    // Status panel 1: the sample's font, or why the file shows none.
    void StatusText(const QString& text);

private:
    void BuildLayout();
    // The selected file's path; false (after saying so) when none is.
    bool SelectedPath(std::string& path);
    // Asks where a copy or a move goes; the folder with its separator.
    bool AskDestination(std::string& folder);
    // The folder read again, the selection kept at its place, the file shown.
    void RefreshAfterChange();
    void ShowInfo(const TFileInfoTexts& texts);
    void SetSampleFont(const QString& family, bool bold, bool italic);
    // Reads and loads the file; its record, or the reason it shows nothing.
    std::unique_ptr<TFontFile> PreviewFile(const std::string& path, std::string& error);

    std::unique_ptr<TFontFile> Preview;
};

// The 16 x 16 picture of a font file drawn before each file of the list.
QPixmap FontFilePicture();

} // namespace lw
