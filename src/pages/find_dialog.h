#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lw {

// A non-modal find box: the text, a whole-word option, and "find next",
// which always searches downward.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);
    void Localize();

    QLineEdit* edFindText;
    QCheckBox* cbWholeWord;
    QPushButton* btnFindNext;
    QPushButton* btnClose;

signals:
    void FindNext(const QString& text, bool wholeWord);
};

} // namespace lw
