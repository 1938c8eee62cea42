#pragma once

#include "base/color.h"
#include "fonts/disabled_fonts.h"

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

class TDrawablePreview;

class TSimpleComboBox;

// The catalogue's families as the windows list them.
QStringList CatalogueFamilies();

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
    // The chosen family's type line and styles, in the language in force.
    void ShowFamilyDetails();
    // Refreshes the catalogue and the list, keeping the selected index, and
    // shows the family that stands there now.
    void UpdateList();
    // The same for a catalogue read already.
    void ShowCatalogue();
    QString SelectedFamily() const;
    // The full name of the style chosen in the style list; empty: none is,
    // and the family's commands act on the whole family.
    QString SelectedStyle() const;
    // The count label in the language in force.
    void ShowFamilyCount();
    // Selects a family by index and shows it, as other code does.
    void SelectFamily(int index);

    // Size box: applies its text to both samples (click or Enter).
    void cmbSizeClick();
    // Double click: the next preset size, wrapping from 72 to 8.
    void cmbSizeDblClick();
    // Asks for a size in an input box.
    void mnSizeClick();
    // A style button changed: the installed sample follows it.
    void StyleButtonToggled();
    // Colour dialog; both samples take the chosen colour.
    void ChooseSampleColor();
    // Fonts > Uninstall: the selected family's chosen styles, with the
    // deleting options of the settings.
    void mnDeleteFontClick();
    // Fonts > Disable / Enable: the style chosen, else the selected family,
    // with one write and one font change; the status bar says running
    // programs see it after a restart.
    void DisableClick(bool enable);
    // A Details window on the selected family, its sample face first.
    void PropertiesClick();
    // Finds the next family whose name matches; tells when none does.
    void FindFamilyNext(const QString& text, bool wholeWord);

    // The memo on the other page, which follows this page's size and colour.
    QPlainTextEdit* OtherSample = nullptr;
    // The samples' text colour as stored (it may name a system colour).
    TColor SampleColor = 0;
    // What the colour dialog opens with.
    TColor DialogColor = 0;

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
    TDrawablePreview* Drawable;
    QGroupBox* gbFont;
    QLabel* lblFontType;
    QLabel* lblAvailableStyles;
    QListWidget* lstStyles;

signals:
    // The sample now shows this family.
    void SampleFontChanged(const QString& family);
    // A line for the status bar.
    void StatusText(const QString& text);
    // A style was chosen in the style list (true) or none is any longer.
    void StyleChosen(bool chosen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    // Loads the first file of a family shown though disabled, letting go of
    // the one loaded before; an empty family only lets go.
    void PreviewDisabled(const std::string& family);
    // What fontconfig rules disable, as read at the last LoadFamilies.
    std::vector<TDisabledFace> Disabled;
    std::string DisabledPreview;
    // The style chosen when a click on the style list began: clicking it
    // again lets it go.
    QString StyleBeforeClick;
    void ChooseStyle(const QString& fullName);
    // Alt+Down / Alt+Up in the family list: the next or previous style.
    void StepStyle(int step);
    void SetSamplesColor(TColor color);
};

} // namespace lw
