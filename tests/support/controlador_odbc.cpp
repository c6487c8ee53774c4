#include "controlador_odbc.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

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

bool RegistrarFreeTds() {
    // One file for the whole run: the driver manager keeps what it read.
    static QTemporaryDir ini;
    static const bool registrado = [] {
        const QString tds = buscarControlador(QStringLiteral("libtdsodbc.so"));
        QFile f(ini.filePath(QStringLiteral("odbcinst.ini")));
        if (tds.isEmpty() || !ini.isValid() || !f.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        f.write(QStringLiteral("[SQL Server]\nDriver=%1\n").arg(tds).toUtf8());
        return true;
    }();
    if (!registrado) return false;
    qputenv("ODBCSYSINI", QFile::encodeName(ini.path()));
    qputenv("ODBCINSTINI", "odbcinst.ini");
    // The connection string says all; nothing from the environment.
    qunsetenv("TDSVER");
    qunsetenv("TDSPORT");
    return true;
}
