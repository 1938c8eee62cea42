#pragma once

#include "base/version.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lw {

// The program's name, icon, version and the maker's words and addresses.
class TfAbout : public QDialog {
    Q_OBJECT
public:
    TfAbout(const TVersion& version, QWidget* parent = nullptr);

    QLabel* imgIcon;
    QLabel* lblName;
    QLabel* lblVersion;
    QLabel* lblAuthor;
    QLabel* lblEmail;
    QLineEdit* edEmail;
    QLabel* lblWWW;
    QLineEdit* edWWW;
    QLabel* lblSendEMail;
    QLabel* lblInfo;
    QLabel* lblResponsibility;
    QPushButton* btnOK;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StackParagraphs();
};

// The version line: string 65001 with the minor number in two digits at
// least ("3.81", "3.05").
std::string VersionText(const TVersion& version);

// Shows the About box modally over owner (a window of its own when
// topLevel is set).
void ShowAbout(QWidget* owner, bool topLevel, const TVersion& version);

} // namespace lw
