#pragma once

#include <string>

class QPrinter;
class QWidget;

namespace lw {

// The program's current printer for the whole run: the system's default
// printer when there is one, otherwise a PDF printer. Paper, orientation and
// the printer chosen in its set-up dialog stay for later jobs.
QPrinter& CurrentPrinter();
bool PrintsToPdf(QPrinter& printer);

// Readies the printer for a job named title: a PDF printer gets a new file
// in the documents folder named from the title. Gives where the job goes:
// the printer's name or the file's path.
std::string PrepareDestination(QPrinter& printer, const std::string& title);

// The file a PDF print of `title` goes to: the documents folder (made when
// missing, else the home folder), the title made safe as a file name, never
// an existing file.
std::string PdfPathFor(const std::string& title);

// The platform's printer set-up dialog for the current printer.
void ConfigurePrinter(QWidget* parent);

} // namespace lw
