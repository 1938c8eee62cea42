#pragma once

#include "categories/category_store.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace lw {

// Asks into which category the selected fonts go.
class TfAdd : public QDialog {
    Q_OBJECT
public:
    TfAdd(const std::vector<std::string>& categories, QWidget* parent = nullptr);

    QLabel* lblCategories;
    QListWidget* lstCategories;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The chosen entry's text (perhaps the new-category entry), or nothing when
// the user cancels.
std::optional<std::string> ChooseCategory(const std::vector<std::string>& categories);

// Asks for two operands and an operation; the caller reads the choice.
class TfMixCategories : public QDialog {
    Q_OBJECT
public:
    // automatic: the automatic categories to offer after the user's; none
    // while they are being gathered.
    TfMixCategories(const std::vector<std::string>& categories, QWidget* parent = nullptr,
                    const TAutoCategories* automatic = nullptr);

    // The two operands as chosen; position 0 stands for all installed fonts.
    TCategoryOperand Operand(int which) const;
    // The chosen entry's text, "<SVE>" for all installed fonts.
    std::string OperandText(int which) const;
    TCombineOp Operation() const;
    // "A [+] B", "A [-] B" or "A [*] B".
    std::string ResultLabel() const;

    QLabel* lblCategory1;
    QListWidget* lstCategory1;
    QPushButton* btnPlus;
    QPushButton* btnMinus;
    QPushButton* btnAnd;
    QLabel* lblCategory2;
    QListWidget* lstCategory2;
    QPushButton* btnViewMix;
    QPushButton* btnCancel;

private:
    const QListWidget* List(int which) const;
};

// Lists the categories a font was found in.
class TfResults : public QDialog {
    Q_OBJECT
public:
    TfResults(const std::string& font, const std::vector<std::string>& categories,
              QWidget* parent = nullptr);

    QLabel* lblText;
    QListWidget* lstCategories;
    QPushButton* btnOK;
};

void ShowFindResults(const std::string& font, const std::vector<std::string>& categories);

} // namespace lw
