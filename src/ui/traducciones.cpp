#include "ui/traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstalarTraduccionesQt() {
    auto* qt = new QTranslator(QCoreApplication::instance());
    // The clerks' language, whatever the machine's locale says.
    const QLocale espanol(QLocale::Spanish, QLocale::Mexico);
    if (!qt->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}
