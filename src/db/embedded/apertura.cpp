#include "db/embedded/apertura.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <filesystem>
#include <system_error>

#include "db/embedded/apoyo.h"
#include "db/embedded/esquema.h"
#include "db/error_bd.h"
#include "db/fallas.h"

namespace db::incrustado {

namespace {

QString entre(const QString& ruta) {
    return QStringLiteral("«%1»").arg(QDir::toNativeSeparators(ruta));
}

// Restoring is the way out of every one of these: the program must not start on what is left.
const QString kRestaurar =
    QStringLiteral(" Restáurelo del respaldo o avise a soporte; el programa no lo vuelve a crear.");

}  // namespace

bool CarpetaNueva(const QString& carpeta, const QString& archivoErp, const QString& archivoNorv) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(carpeta.toStdU16String()), ec);
    if (ec)
        throw FallaArchivo(ec.value(), QString::fromLocal8Bit(ec.message().c_str()), carpeta,
                           QStringLiteral("No se pudo crear la carpeta %1 de la base de datos")
                               .arg(entre(carpeta)));

    const QFileInfo erp(QDir(carpeta).filePath(archivoErp));
    const QFileInfo norv(QDir(carpeta).filePath(archivoNorv));
    if (!erp.exists() && !norv.exists()) return true;
    if (erp.exists() != norv.exists()) {
        const QFileInfo& falta = erp.exists() ? norv : erp;
        const QFileInfo& esta = erp.exists() ? erp : norv;
        throw ErrorBD(TipoFalla::ArchivoDanado,
                      QStringLiteral("Falta el archivo %1 de la base de datos, aunque %2 está en "
                                     "su carpeta: sus datos no están.")
                              .arg(entre(falta.filePath()), entre(esta.fileName())) +
                          kRestaurar,
                      QString());
    }
    for (const QFileInfo* f : {&erp, &norv})
        if (f->isFile() && f->size() == 0)
            throw ErrorBD(TipoFalla::ArchivoDanado,
                          QStringLiteral("El archivo %1 de la base de datos está vacío (0 bytes): "
                                         "sus datos se perdieron.")
                                  .arg(entre(f->filePath())) +
                              kRestaurar,
                          QString());
    return false;
}

void ProbarArchivo(sqlite3* db, const QString& base, const QString& ruta) {
    const QByteArray sql =
        QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(base).toUtf8();
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const ErrorBD e = UltimaFalla(db, ruta);
        if (e.tipo() != TipoFalla::ArchivoDanado) throw e;
        throw ErrorBD(TipoFalla::ArchivoDanado,
                      QStringLiteral("El archivo %1 no es una base de datos o está dañado.")
                              .arg(entre(ruta)) +
                          kRestaurar,
                      e.textoMotor());
    }
    // SQLite opens a file it may not write read-only, without a word.
    if (sqlite3_db_readonly(db, base.toUtf8().constData()) == 1)
        throw FallaSqlite(SQLITE_READONLY, 0, QString(), ruta);
}

void RevisarTablas(sqlite3* db, const QString& base, const QString& ruta) {
    Sentencia s(db,
                QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table'").arg(base));
    QStringList hay;
    while (s.paso()) hay << s.texto(0);
    QStringList faltan, columnas;
    for (const Tabla& t : Tablas()) {
        if (t.base != base) continue;
        if (!hay.contains(t.nombre, Qt::CaseInsensitive)) {
            faltan << t.nombre;
            continue;
        }
        // A table written by another program may lack a column the statements use: said now,
        // not as "no such column" halfway through a clerk's work.
        Sentencia c(
            db,
            QStringLiteral("SELECT name FROM pragma_table_info('%1', '%2')").arg(t.nombre, base));
        QStringList tiene;
        while (c.paso()) tiene << c.texto(0);
        for (const Columna& col : t.columnas)
            if (!tiene.contains(col.nombre, Qt::CaseInsensitive))
                columnas << t.nombre + QLatin1Char('.') + col.nombre;
    }
    if (!faltan.isEmpty())
        throw ErrorBD(TipoFalla::ArchivoDanado,
                      QStringLiteral("Al archivo %1 de la base de datos le faltan las tablas %2: "
                                     "sus datos no están completos.")
                              .arg(entre(ruta), faltan.join(QStringLiteral(", "))) +
                          kRestaurar,
                      QString());
    if (!columnas.isEmpty())
        throw ErrorBD(TipoFalla::ArchivoDanado,
                      QStringLiteral("Al archivo %1 de la base de datos le faltan las columnas %2: "
                                     "no es de esta versión del programa o está dañado.")
                              .arg(entre(ruta), columnas.join(QStringLiteral(", "))) +
                          kRestaurar,
                      QString());
}

}  // namespace db::incrustado
