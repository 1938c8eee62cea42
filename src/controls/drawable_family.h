#pragma once

#include <QString>

namespace lw {

// Qt draws only the families its font database knows, and the program keeps
// that database to the interface's own fonts (Qt reads every face it is
// given before it draws a letter). An installed family is handed to Qt, all
// its face files, the first time a window draws text in it.
void MakeFamilyDrawable(const QString& family);

} // namespace lw
