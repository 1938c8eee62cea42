#include "app/about_dialog.h"

#include "app/main_window.h"
#include "base/strings.h"
#include "controls/localize.h"
#include "platform/services.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cstdio>

namespace lw {

namespace {

constexpr int kVersionLine = 65001;
constexpr const char* kCreditLine = "Letterwell, (c) %1 Kestrova";
constexpr const char* kEmail = "letterwell@kestrova.example";
constexpr const char* kWebSite = "https://letterwell.kestrova.example";

QLabel* Label(QWidget* parent, const char* name, int tag, const QRect& place) {
    auto* label = MakeTagged<QLabel>(parent, name, tag);
    label->setGeometry(place);
    return label;
}

// A read-only address that opens when clicked.
QLineEdit* Address(QWidget* parent, const char* name, const char* text, const QRect& place) {
    auto* field = MakeTagged<QLineEdit>(parent, name);
    field->setGeometry(place);
    field->setText(QString::fromLatin1(text));
    field->setReadOnly(true);
    field->setFrame(false);
    field->setCursor(Qt::PointingHandCursor);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, QColor(0, 0, 128));
    palette.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
    field->setPalette(palette);
    return field;
}

} // namespace

std::string VersionText(const TVersion& version) {
    return FmtLoadStr(kVersionLine, version.Major, version.Minor, version.Suffix);
}

TfAbout::TfAbout(const TVersion& version, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fAbout"));
    SetTag(this, 65000);
    setFixedSize(360, 300);
    imgIcon = MakeTagged<QLabel>(this, "imgIcon");
    imgIcon->setGeometry(15, 15, 32, 32);
    imgIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    lblName = Label(this, "lblName", 0, QRect(60, 15, 285, 20));
    QFont nameFont = lblName->font();
    nameFont.setBold(true);
    lblName->setFont(nameFont);
    lblVersion = Label(this, "lblVersion", kVersionLine, QRect(60, 35, 285, 16));
    lblAuthor = Label(this, "lblAuthor", 0, QRect(60, 52, 285, 16));
    lblEmail = Label(this, "lblEmail", 0, QRect(15, 78, 60, 16));
    edEmail = Address(this, "edEmail", kEmail, QRect(80, 77, 265, 18));
    lblWWW = Label(this, "lblWWW", 65006, QRect(15, 98, 60, 16));
    edWWW = Address(this, "edWWW", kWebSite, QRect(80, 97, 265, 18));
    lblSendEMail = Label(this, "lblSendEMail", 65002, QRect(15, 125, 330, 32));
    lblInfo = Label(this, "lblInfo", 65003, QRect(15, 160, 330, 56));
    lblResponsibility = Label(this, "lblResponsibility", 65004, QRect(15, 218, 330, 40));
    for (QLabel* paragraph : {lblSendEMail, lblInfo, lblResponsibility}) {
        paragraph->setWordWrap(true);
        paragraph->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    btnOK = MakeTagged<QPushButton>(this, "btnOK", 65005);
    btnOK->setGeometry(140, 265, 80, 26);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    for (QLineEdit* address : {edEmail, edWWW}) {
        address->installEventFilter(this);
    }

    LocalizeForm(this);
    lblVersion->setText(QString::fromStdString(VersionText(version)));
    lblName->setText(QString::fromUtf8(kApplicationTitle));
    lblAuthor->setText(
        QString::fromLatin1(kCreditLine).arg(QString::fromStdString(version.CreditYears)));
    lblEmail->setText(QStringLiteral("E-mail:"));
    StackParagraphs();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

// The paragraphs take the lines their texts wrap to in this language and
// font, so no last word is cut off; the button and the box follow them.
void TfAbout::StackParagraphs() {
    constexpr int kGap = 4;
    int top = lblSendEMail->y();
    for (QLabel* paragraph : {lblSendEMail, lblInfo, lblResponsibility}) {
        const int height = paragraph->heightForWidth(paragraph->width());
        paragraph->setGeometry(paragraph->x(), top, paragraph->width(),
                               std::max(height, paragraph->height()));
        top = paragraph->geometry().bottom() + 1 + kGap;
    }
    btnOK->move(btnOK->x(), top + kGap);
    setFixedSize(width(), std::max(height(), btnOK->geometry().bottom() + 1 + 9));
}

bool TfAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == edEmail) {
            Shell().OpenUrl("mailto:" + edEmail->text().toStdString());
        } else if (watched == edWWW) {
            Shell().OpenUrl(edWWW->text().toStdString());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowAbout(QWidget* owner, bool topLevel, const TVersion& version) {
    TfAbout about(version, topLevel ? nullptr : owner);
    about.exec();
}

} // namespace lw
