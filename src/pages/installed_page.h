#pragma once

#include <QWidget>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lw {

class TSimpleComboBox;

// The installed-fonts page: the family list, the sample and its formatting
// controls, and the styles of the selected family with their files.
class TInstalledPage : public QWidget {
    Q_OBJECT
public:
    explicit TInstalledPage(QWidget* parent = nullptr);

    // Fills the list from the catalogue and selects `index` when it exists.
    void LoadFamilies(int index);
    // The change handler of the family list.
    void cmbFontsChange();
    // Refreshes the catalogue and the list, keeping the selected index.
    void UpdateList();
    QString SelectedFamily() const;

    QLabel* lblFonts;
    TSimpleComboBox* cmbFonts;
    QLabel* lblNumber;
    QFrame* pnlFontProperties;
    QComboBox* cmbSize;
    QToolButton* btnBold;
    QToolButton* btnItalic;
    QToolButton* btnUnderline;
    QPushButton* btnColor;
    QToolButton* btnAnsiSample;
    QPushButton* btnViewAll0;
    QLabel* lblSample0;
    QPlainTextEdit* mmSample;
    QGroupBox* gbFont;
    QLabel* lblFontType;
    QLabel* lblAvailableStyles;
    QListWidget* lstStyles;

signals:
    // The sample now shows this family.
    void SampleFontChanged(const QString& family);

private:
    void BuildLayout();
    void ShowFamilyCount();
};

} // namespace lw
