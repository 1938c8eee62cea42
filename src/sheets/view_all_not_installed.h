#pragma once

#include "fileops/shell_operations.h"
#include "platform/font_system.h"
#include "sheets/sample_delegate.h"
#include "sheets/view_all.h"

#include <optional>
#include <string>
#include <vector>

class QEventLoop;
class QProgressBar;

namespace lw {

class TNotInstalledPage;

// A folder's font files as a sheet: one item a file, the family and style
// over a sample drawn from the file; alone, or followed by the installed
// families the installed sheet lists. Shown modally for one look, from the
// not-installed page, and freed after.
class TfViewAllNotInstalled : public TfViewAll {
    Q_OBJECT
public:
    explicit TfViewAllNotInstalled(ISheetHost* mainWindow, TfViewAll* installedSheet);
    ~TfViewAllNotInstalled() override;

    // Loads fileNames (relative to folder), shows the sheet until the user
    // closes it, lets the folder's fonts go and tells every program once
    // when fonts were installed. progress shows the load; the main window's
    // Esc stops it, and then the sheet is never shown. True when files were
    // copied, moved or deleted.
    bool ShowFolderSheet(const std::string& folder, const std::vector<std::string>& fileNames,
                         QProgressBar* progress);
    // The same, the installed sheet's families after the folder's files.
    bool ShowFolderSheetMixed(const std::string& folder, const std::vector<std::string>& fileNames,
                              QProgressBar* progress);

    // The not-installed page's folder on a sheet, with the page's selection
    // kept and its list refreshed when the sheet changed the folder.
    static void ViewFolder(ISheetHost& host, TfViewAll* installedSheet, TNotInstalledPage& page,
                           bool mixed);

    void mnInstallSelectionClick(bool temporarily);
    void mnInstallAllClick();
    void mnSelectNotInstalledClick();
    void mnDeleteFilesClick();
    // Copies, or moves, the selected files to a folder the user picks.
    void mnCopyFilesClick(bool move);
    void ItemClicked() override;
    void PropertiesClick() override;
    void mnPrintClick() override;

    // The rows the folder's files gave, in list order; the rows after them
    // are installed families.
    int FolderRows() const { return static_cast<int>(FileNames.size()); }

    QAction* mnCopyFiles = nullptr;
    QAction* mnMoveFiles = nullptr;
    QAction* mnDeleteFiles = nullptr;
    QAction* mnInstallSelection = nullptr;
    QAction* mnInstallSelectionTemporarily = nullptr;
    QAction* mnInstallAll = nullptr;
    QAction* mnSelectNotInstalled = nullptr;
    QAction* mnSelectNotInstalled0 = nullptr;
    QAction* mnInstallSelection0 = nullptr;
    QAction* mnInstallSelectionTemporarily0 = nullptr;
    QAction* mnCopyFiles0 = nullptr;
    QAction* mnMoveFiles0 = nullptr;
    QAction* mnDeleteFiles0 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AdaptMenus();
    bool Show(const std::string& folder, const std::vector<std::string>& fileNames,
              QProgressBar* progress, bool mixed);
    // False when the user stopped it.
    bool LoadFolder(const std::vector<std::string>& fileNames, QProgressBar* progress);
    void ReleaseFolderFonts();
    void ClearRows();
    // The font of a folder row given to this process (and so to Qt), once.
    void LoadRowFont(int row);
    bool IsFolderRow(int row) const { return row >= 0 && row < FolderRows(); }
    // Selected folder rows, first to last.
    std::vector<int> SelectedFolderRows() const;
    // The row's files as the file commands take them: a Type 1 row's
    // outline after its metrics.
    std::vector<std::string> RowFiles(int row) const;
    void RemoveFolderRow(int row);
    // The file operation on the selected rows' files; false at the first
    // failure, errno saying why.
    bool ApplyToSelectedRows(TFileOp operation, const std::string& destination, bool confirm,
                             bool allowUndo);
    bool CurrentRowIsInstalledFamily() const;
    void ReleasePreviewFont();
    TSampleItem Describe(int row) const;

    TfViewAll* InstalledSheet;
    std::string Folder;
    bool Mixed = false;
    // Esc was pressed in the list: only its release closes the sheet, not
    // that of an Esc that closed a window over it (Details).
    bool EscapePressed = false;
    bool FontsInstalled = false;
    bool FilesChanged = false;
    QEventLoop* Running = nullptr;
    // Parallel to the folder rows.
    std::vector<std::string> FileNames;
    std::vector<std::string> StyleNames;
    // "1" installed, "0" not, "2:" and its rule's file disabled, "<Greska>" unreadable.
    std::vector<std::string> Flags;
    std::vector<std::optional<TFontFiles>> Resources;
    std::vector<bool> Loaded;
    std::vector<int> StyleBits;
    // The face of its file each row shows: a collection gives a row a face.
    std::vector<uint32_t> FaceIndices;
};

} // namespace lw
