#include "controlador_odbc.h"

#include <QDir>
#include <QFile>
#include <QStringList>

QString buscarControlador(const QString& archivo) {
    QStringList carpetas = {QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc"),
                            QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc"),
                            QStringLiteral("/usr/lib/odbc"), QStringLiteral("/usr/lib64"),
                            QStringLiteral("/usr/local/lib")};
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& d : lib.entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs))
        carpetas << lib.filePath(d + QStringLiteral("/odbc"));
    for (const QString& c : carpetas)
        if (QFile::exists(c + QLatin1Char('/') + archivo)) return c + QLatin1Char('/') + archivo;
    return {};
}
