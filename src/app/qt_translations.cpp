#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace lw {

QString QtTranslationName(int language) {
    switch (language) {
    case 0:
        // Debian's Qt 6.4 translations hold no Serbian yet; the name is kept
        // so a machine that has it gets it.
        return QStringLiteral("qtbase_sr");
    case 1:
        return QStringLiteral("qtbase_es");
    default:
        return QString();
    }
}

bool UseQtTranslations(int language) {
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QString name = QtTranslationName(language);
    if (name.isEmpty()) {
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

} // namespace lw
