#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace lw {

// Asks which installed styles of a family to remove.
class TfDelete : public QDialog {
    Q_OBJECT
public:
    explicit TfDelete(QWidget* parent = nullptr);

    // Shows the family's styles, all selected. On OK fullNames holds the
    // chosen ones in list order; on Cancel it is left alone.
    int Execute(const std::string& family, std::vector<std::string>& fullNames);

    QLabel* lblStyles;
    QListWidget* lstFullNames;
    QPushButton* btnDelete;
    QPushButton* btnCancel;

private:
    void btnDeleteClick();
    std::vector<std::string>* Chosen = nullptr;
};

} // namespace lw
