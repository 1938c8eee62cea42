#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lw {

struct TVersion {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    std::string Suffix;
    std::string CreditYears;
};

// The program's version, as the build names it.
TVersion ProgramVersion();
// "major.minor" with the minor number in two digits, and the suffix.
std::string VersionNumber(const TVersion& version);

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
