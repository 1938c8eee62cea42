#pragma once

#include "printing/print_layout.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;

namespace lw {

// The printer's sizes and the job's text measured on it.
TPrinterMetrics MeasurePrinter(QPrinter& printer);
TPrintTextMetrics MeasurePrintText(QPrinter& printer, int fontSize);
// The layout a job on this printer would have.
TPrintLayout PrinterLayout(QPrinter& printer, const TPrintOptions& print,
                           const TPrintSource& source);

enum class TPrintResult { Done, Cancelled, Failed };

// What the job tells and asks while it runs: after each font it steps the
// progress, shows the sheets started against the sheets to print, and asks
// whether to stop.
struct TPrintJobHooks {
    std::function<void()> Step;
    std::function<void(int sheets, int toPrint)> Status;
    std::function<bool()> Cancelled;
};

// Prints the selected fonts of source on printer, each a heading with its
// name and a line in its own face. Nothing is printed when the margins leave
// no room for a row; a cancelled job is aborted, and a PDF it had begun is
// removed. error holds the failure's text.
TPrintResult PrintFontListOn(QPrinter& printer, const TPrintOptions& print,
                             const TPrintSource& source, const TPrintJobHooks& hooks,
                             std::string& error);

// The small window a font list job runs in: status, progress and Cancel.
// The job runs once, when the window first becomes active; the window then
// hides and ends its modal run at the next idle moment.
class TfPrinting : public QDialog {
    Q_OBJECT
public:
    TfPrinting(const TPrintOptions& print, TPrintSource source, QWidget* parent = nullptr);

    TPrintResult Result() const { return Outcome; }

    QLabel* lblStatus;
    QProgressBar* ProgressBar;
    QPushButton* btnCancel;

protected:
    bool event(QEvent* e) override;
    void reject() override;

private:
    void RunJob();

    TPrintOptions Print;
    TPrintSource Source;
    bool Started = false;
    bool Cancel = false;
    TPrintResult Outcome = TPrintResult::Done;
};

// The print command of the font sheets: the print settings dialog, then on
// OK the job with sampleText as the line printed in each font.
void PrintFontList(const TPrintSource& source, const std::string& sampleText);

} // namespace lw
