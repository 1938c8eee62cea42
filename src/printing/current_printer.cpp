#include "printing/current_printer.h"

#include "base/helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace lw {

namespace {

// The documents folder, made when missing as the desktop makes it; the home
// folder when there is none to be had.
QString PdfFolder() {
    const std::string documents = GetPersonalFolderPath();
    if (documents != "<Error>" && QDir().mkpath(QFile::decodeName(documents.c_str()))) {
        return QFile::decodeName(documents.c_str());
    }
    return QDir::homePath() + QLatin1Char('/');
}

} // namespace

QPrinter& CurrentPrinter() {
    // Made on first use and kept for the run, so set-up choices last; never
    // destroyed, as printing's own objects may outlive the application.
    static QPrinter* const printer = [] {
        auto* made = new QPrinter(QPrinter::HighResolution);
        if (QPrinterInfo::defaultPrinter().isNull()) {
            made->setOutputFormat(QPrinter::PdfFormat);
        }
        made->setFullPage(false);
        return made;
    }();
    return *printer;
}

bool PrintsToPdf(QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat;
}

std::string PrepareDestination(QPrinter& printer, const std::string& title) {
    printer.setDocName(QString::fromStdString(title));
    if (!PrintsToPdf(printer)) {
        return printer.printerName().toStdString();
    }
    const std::string path = PdfPathFor(title);
    printer.setOutputFileName(QFile::decodeName(path.c_str()));
    return path;
}

std::string PdfPathFor(const std::string& title) {
    QString base = QString::fromStdString(title).trimmed();
    for (QChar& c : base) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32) {
            c = QLatin1Char('_');
        }
    }
    if (base.isEmpty()) {
        base = QStringLiteral("Letterwell");
    }
    const QString folder = PdfFolder();
    QString path = folder + base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder + base + QStringLiteral(" (%1).pdf").arg(n);
    }
    return QFile::encodeName(path).toStdString();
}

void ConfigurePrinter(QWidget* parent) {
    QPrinter& printer = CurrentPrinter();
    // A PDF printer has no system set-up of its own: paper and orientation.
    if (PrintsToPdf(printer)) {
        QPageSetupDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("dlgConfigure"));
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgConfigure"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.exec();
}

} // namespace lw
