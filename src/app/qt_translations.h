#pragma once

#include <QString>

namespace lw {

// The file name of Qt's own translation for one of the program's languages
// ("qtbase_sr", "qtbase_es"); empty for English, which Qt speaks already,
// and for a number that names no language.
QString QtTranslationName(int language);

// Puts Qt's own texts (the standard Yes/No/Cancel buttons, the colour, file
// and page set-up dialogs) into the same language as the program's, dropping
// the previous one. False when the language has a translation but this
// machine does not have it installed: Qt then speaks English.
bool UseQtTranslations(int language);

} // namespace lw
