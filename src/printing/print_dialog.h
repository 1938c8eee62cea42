#pragma once

#include "printing/print_layout.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lw {

class TRadioGroup;

// The print settings: margins and their unit, the range, the orientation,
// the printer's set-up, and the fonts and pages the job will print.
class TfPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfPrint(TPrintSource source, QWidget* parent = nullptr);

    QGroupBox* gbMargins;
    QLabel* lblTop;
    QLineEdit* edTop;
    QLabel* lblBottom;
    QLineEdit* edBottom;
    QLabel* lblLeft;
    QLineEdit* edLeft;
    QLabel* lblRight;
    QLineEdit* edRight;
    QRadioButton* rbCentimeters;
    QRadioButton* rbInches;
    TRadioGroup* rgRange;
    TRadioGroup* rgOrientation;
    QLabel* lblNumberOfPages;
    QLabel* lblNumberOfFonts;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* btnConfigure;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Activate();
    void Estimate();
    void ShowOrientation();
    void OrientationChosen(int item);
    // Stores a box's number in its margin; false, with the user told and the
    // box reset to "0", when it holds none.
    bool StoreMargin(QLineEdit* box);
    double& MarginOf(const QLineEdit* box);
    void btnOKClick();
    void btnConfigureClick();

    TPrintSource Source;
};

} // namespace lw
