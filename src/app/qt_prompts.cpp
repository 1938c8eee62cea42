#include "app/qt_prompts.h"

#include "controls/qt_colors.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace lw {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QWidget* DialogParent() {
    return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    case TMsgIcon::Information:
        return QMessageBox::Information;
    case TMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(TMsgButtons buttons) {
    switch (buttons) {
    case TMsgButtons::Ok:
        return QMessageBox::Ok;
    case TMsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case TMsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case TMsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

TMsgResult TQtPrompts::MessageBox(const std::string& text, const std::string& caption,
                                  TMsgIcon icon, TMsgButtons buttons) {
    QMessageBox box(IconOf(icon), Q(caption), Q(text), ButtonsOf(buttons), DialogParent());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TMsgResult::Yes;
    case QMessageBox::No:
        return TMsgResult::No;
    case QMessageBox::Ok:
        return TMsgResult::Ok;
    default:
        return buttons == TMsgButtons::YesNo ? TMsgResult::No : TMsgResult::Cancel;
    }
}

std::optional<std::string> TQtPrompts::InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(DialogParent(), Q(caption), Q(prompt),
                                               QLineEdit::Normal, Q(initial), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text.toStdString();
}

std::optional<TColor> TQtPrompts::PickColor(TColor initial) {
    const QColor color = QColorDialog::getColor(ResolveColor(initial), DialogParent());
    if (!color.isValid()) {
        return std::nullopt;
    }
    return ToTColor(color);
}

std::optional<std::string> TQtPrompts::PickFolder(const std::string& title,
                                                  const std::string& startFolder) {
    // Paths go through Qt's file-name encoding, never as UTF-8 text: a name
    // here is bytes.
    const QString folder = QFileDialog::getExistingDirectory(
        DialogParent(), Q(title), QFile::decodeName(startFolder.c_str()));
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(folder).toStdString();
}

std::optional<std::vector<std::string>> TQtPrompts::OpenFiles(const std::string& title,
                                                              const std::string& filter,
                                                              const std::string& folder,
                                                              bool multiSelect) {
    QStringList files;
    if (multiSelect) {
        files = QFileDialog::getOpenFileNames(
            DialogParent(), Q(title), QFile::decodeName(folder.c_str()), Q(QtFileFilter(filter)));
    } else {
        const QString file = QFileDialog::getOpenFileName(
            DialogParent(), Q(title), QFile::decodeName(folder.c_str()), Q(QtFileFilter(filter)));
        if (!file.isEmpty()) {
            files << file;
        }
    }
    if (files.isEmpty()) {
        return std::nullopt;
    }
    std::vector<std::string> out;
    for (const QString& f : files) {
        out.push_back(QFile::encodeName(f).toStdString());
    }
    return out;
}

void TQtPrompts::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TQtPrompts::EndBusy() {
    QApplication::restoreOverrideCursor();
}

std::string QtFileFilter(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;")).toStdString();
}

} // namespace lw
