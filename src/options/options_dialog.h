#pragma once

#include "base/color.h"
#include "base/options.h"

#include <QDialog>
#include <QFrame>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lw {

// A colour to choose: shows its colour, opens the colour dialog on a click
// (or Space), and keeps a system colour as the reference it is.
class TColorPanel : public QFrame {
    Q_OBJECT
public:
    explicit TColorPanel(QWidget* parent = nullptr);
    TColor Color() const { return Value; }
    void SetColor(TColor color);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();
    TColor Value = 0;
};

// The general settings: deleting fonts, the main sample's colours, size and
// text, the sheets' colours, size, columns and sample. Copies values between
// the settings and its controls; nothing changes until OK.
class TfOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfOptions(QWidget* parent = nullptr);

    void ShowSettings(const TOptions& options);
    void StoreSettings(TOptions& options) const;

    QGroupBox* gbGeneral;
    QCheckBox* cbDeleteReadOnly;
    QCheckBox* cbMoveToTrash;
    QCheckBox* cbCopyBeforeDelete;
    QLineEdit* edDefaultCopyFolder;
    QToolButton* btnGetFolder;
    QLabel* lblFontColor;
    TColorPanel* pnlFontColor;
    QLabel* lblBackgroundColor;
    TColorPanel* pnlBackgroundColor;
    QLabel* lblFontSize;
    QComboBox* cmbFontSize;
    QLabel* lblDefaultSample;
    QPlainTextEdit* mmDefaultSample;
    QGroupBox* gbViewAll;
    QLabel* lblColumns;
    QComboBox* cmbColumns;
    QLabel* lblListFontSize;
    QComboBox* cmbListFontSize;
    QLabel* lblListSample;
    QLineEdit* edListSample;
    QLabel* lblListFontColor;
    TColorPanel* pnlListFontColor;
    QLabel* lblListSelectionColor;
    TColorPanel* pnlListSelectionColor;
    QLabel* lblListBackgroundColor;
    TColorPanel* pnlListBackgroundColor;
    QPushButton* btnRestoreColors;
    QPushButton* btnOK;
    QPushButton* btnCancel;

private:
    void BuildGeneral();
    void BuildViewAll();
    void CopyBeforeDeleteChanged();
    void btnGetFolderClick();
    void btnRestoreColorsClick();
};

// The colour dialog's fifteen custom colours: the system's colours now.
void SetCustomColorsFromSystem();

// Shows the options dialog over owner; true when the user accepted and
// options took the new values.
bool EditOptions(TOptions& options, QWidget* owner);

} // namespace lw
