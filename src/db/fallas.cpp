#include "db/fallas.h"

#include <sqlite3.h>

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <cerrno>
#include <initializer_list>

namespace db {

namespace {

// Where the failing database lives: a file or folder of the embedded engine, or a server.
enum class LugarFalla { Archivo, Servidor };

QString entre(const QString& nombre) {
    return QStringLiteral("«%1»").arg(QDir::toNativeSeparators(nombre));
}

bool contiene(const QString& texto, std::initializer_list<const char*> partes) {
    for (const char* p : partes)
        if (texto.contains(QLatin1String(p), Qt::CaseInsensitive)) return true;
    return false;
}

// "... in table 'norv.dbo.T', column 'c'." as SQL Server 2019 and the embedded engine say it.
bool tablaYColumna(const QString& texto, QString& tabla, QString& columna) {
    static const QRegularExpression re(QStringLiteral("in table '([^']*)', column '([^']*)'"));
    const QRegularExpressionMatch m = re.match(texto);
    if (!m.hasMatch()) return false;
    tabla = m.captured(1);
    columna = m.captured(2);
    return true;
}

QString explicar(TipoFalla tipo, LugarFalla lugar, const QString& nombre, const QString& texto,
                 const QString& contexto, const QString& controlador) {
    const bool archivo = lugar == LugarFalla::Archivo && !nombre.isEmpty();
    const bool servidor = lugar == LugarFalla::Servidor && !nombre.isEmpty();
    switch (tipo) {
        case TipoFalla::Ocupada:
            return QStringLiteral(
                "La base de datos está ocupada por otra estación; intente de nuevo en unos "
                "segundos.");
        case TipoFalla::SoloLectura:
            if (archivo)
                return QStringLiteral(
                           "La base de datos %1 es de solo lectura y no admite cambios; pida a "
                           "soporte que revise los permisos del archivo y de su carpeta.")
                    .arg(entre(nombre));
            return QStringLiteral(
                "La base de datos es de solo lectura y no admite cambios; avise a soporte.");
        case TipoFalla::DiscoLleno:
            if (archivo)
                return QStringLiteral(
                           "El disco de la base de datos %1 está lleno; libere espacio o avise a "
                           "soporte y luego intente de nuevo.")
                    .arg(entre(nombre));
            return QStringLiteral(
                "El disco de la base de datos está lleno; avise a soporte y luego intente de "
                "nuevo.");
        case TipoFalla::EntradaSalida:
            if (archivo)
                return QStringLiteral(
                           "Falló la lectura o escritura de la base de datos %1 en el disco; "
                           "revise el disco o la red e intente de nuevo, y si se repite avise a "
                           "soporte.")
                    .arg(entre(nombre));
            return QStringLiteral(
                "Falló la lectura o escritura de la base de datos en el servidor; avise a "
                "soporte.");
        case TipoFalla::ArchivoDanado:
            if (archivo)
                return QStringLiteral(
                           "Un archivo de la base de datos en %1 falta o está dañado; restáurelo "
                           "del respaldo o avise a soporte.")
                    .arg(entre(nombre));
            return QStringLiteral(
                "Un archivo de la base de datos falta o está dañado; avise a soporte.");
        case TipoFalla::ControladorFaltante:
            return QStringLiteral(
                       "No se pudo cargar el controlador ODBC «%1»; pida a soporte que lo instale "
                       "y lo registre con ese nombre.")
                .arg(controlador.isEmpty() ? QStringLiteral("SQL Server") : controlador);
        case TipoFalla::AccesoRechazado:
            if (servidor)
                return QStringLiteral(
                           "El servidor de base de datos %1 rechazó el acceso; pida a soporte que "
                           "revise el usuario, la contraseña y sus permisos.")
                    .arg(entre(nombre));
            if (archivo)
                return QStringLiteral(
                           "El sistema negó el acceso a %1; pida a soporte que revise los permisos "
                           "del archivo y de su carpeta.")
                    .arg(entre(nombre));
            return QStringLiteral("La base de datos rechazó el acceso; avise a soporte.");
        case TipoFalla::SinRespuesta:
            return QStringLiteral(
                       "El servidor de base de datos %1no contesta; revise la red e intente de "
                       "nuevo en unos minutos, y si se repite avise a soporte.")
                .arg(servidor ? entre(nombre) + QLatin1Char(' ') : QString());
        case TipoFalla::ConexionPerdida:
            return QStringLiteral(
                       "Se perdió la conexión con el servidor de base de datos %1mientras se "
                       "trabajaba; lo que se estaba guardando no se guardó. Revise la red y "
                       "vuelva a intentarlo: el programa se conecta de nuevo solo.")
                .arg(servidor ? entre(nombre) + QLatin1Char(' ') : QString());
        case TipoFalla::Duplicado:
            return QStringLiteral(
                "Ya existe en la base de datos un registro con la misma clave; no se guardó "
                "nada. Consulte de nuevo: tal vez otra estación ya lo registró.");
        case TipoFalla::Restriccion:
            return QStringLiteral(
                "El servidor no aceptó el cambio porque contradice las reglas de sus datos "
                "(un dato obligatorio vacío, o que depende de otro que no existe); no se guardó "
                "nada. Avise a soporte con este detalle.");
        case TipoFalla::TextoLargo: {
            QString tabla, columna;
            if (tablaYColumna(texto, tabla, columna))
                return QStringLiteral(
                           "Los datos de texto exceden el largo de la columna «%1» de la tabla "
                           "%2; acorte el texto e intente de nuevo.")
                    .arg(columna, tabla);
            return QStringLiteral(
                "Los datos de texto exceden el largo de una columna; acorte el texto e intente "
                "de nuevo.");
        }
        case TipoFalla::Otra:
            break;
    }
    if (!contexto.isEmpty())
        return contexto + QStringLiteral("; avise a soporte con este detalle.");
    return QStringLiteral(
        "La base de datos no pudo completar la operación; avise a soporte con este detalle.");
}

QSet<long long> numeros(const QString& texto) {
    QSet<long long> r;
    static const QRegularExpression re(QStringLiteral("-?\\d+"));
    for (const QRegularExpressionMatch& m : re.globalMatch(texto))
        r.insert(m.captured().toLongLong());
    return r;
}

bool alguno(const QSet<long long>& nativos, std::initializer_list<long long> codigos) {
    for (long long c : codigos)
        if (nativos.contains(c)) return true;
    return false;
}

}  // namespace

TipoFalla ClasificarErrorSistema(int errorSistema) {
    switch (errorSistema) {
        case EACCES:
        case EPERM:
            return TipoFalla::AccesoRechazado;
        case EROFS:
            return TipoFalla::SoloLectura;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return TipoFalla::DiscoLleno;
        case EIO:
            return TipoFalla::EntradaSalida;
        case ENOENT:
            return TipoFalla::ArchivoDanado;
        default:
            return TipoFalla::Otra;
    }
}

TipoFalla ClasificarSqlite(int codigoExtendido, int errorSistema, const QString& texto) {
    switch (codigoExtendido & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_PROTOCOL:
            return TipoFalla::Ocupada;
        case SQLITE_READONLY:
            return TipoFalla::SoloLectura;
        case SQLITE_FULL:
            return TipoFalla::DiscoLleno;
        case SQLITE_IOERR: {
            // The system's own reason says more than "disk I/O error" when there is one.
            const TipoFalla t = ClasificarErrorSistema(errorSistema);
            return t == TipoFalla::Otra || t == TipoFalla::ArchivoDanado ? TipoFalla::EntradaSalida
                                                                         : t;
        }
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return TipoFalla::ArchivoDanado;
        case SQLITE_CANTOPEN: {
            const TipoFalla t = ClasificarErrorSistema(errorSistema);
            return t == TipoFalla::Otra ? TipoFalla::ArchivoDanado : t;
        }
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return TipoFalla::AccesoRechazado;
        case SQLITE_CONSTRAINT:
            if (codigoExtendido == SQLITE_CONSTRAINT_TRIGGER && texto.startsWith(kTextoTruncado))
                return TipoFalla::TextoLargo;
            return TipoFalla::Otra;
        default:
            return TipoFalla::Otra;
    }
}

TipoFalla ClasificarOdbc(const QString& nativos, const QString& texto) {
    // SQL Server's and FreeTDS's own numbers are the most precise.
    const QSet<long long> n = numeros(nativos);
    if (alguno(n, {18456, 18452, 18470, 18486, 18487, 18488, 4060, 229, 230, 262, 916, 20014}))
        return TipoFalla::AccesoRechazado;
    if (alguno(n, {8152, 2628})) return TipoFalla::TextoLargo;
    if (alguno(n, {1205, 1222})) return TipoFalla::Ocupada;
    if (alguno(n, {2627, 2601})) return TipoFalla::Duplicado;
    if (alguno(n, {547, 515})) return TipoFalla::Restriccion;
    if (alguno(n, {9002, 1105, 1101})) return TipoFalla::DiscoLleno;
    if (alguno(n, {823, 824, 825})) return TipoFalla::EntradaSalida;
    if (alguno(n, {3906})) return TipoFalla::SoloLectura;
    // FreeTDS: unable to connect, connection failed or timed out, read or write failed, EOF,
    // unknown server or host.
    if (alguno(n, {20009, 20002, 20003, 20004, 20006, 20012, 20013, 20017}))
        return TipoFalla::SinRespuesta;

    // Driver managers and drivers that give no number: their words.
    if (contiene(texto, {"can't open lib", "data source name not found",
                         "no default driver specified", "driver not loaded", "could not be loaded",
                         "SQLAllocHandle on SQL_HANDLE_ENV failed"}))
        return TipoFalla::ControladorFaltante;
    if (contiene(texto, {"login failed", "login incorrect"})) return TipoFalla::AccesoRechazado;
    if (contiene(texto, {"string or binary data would be truncated"})) return TipoFalla::TextoLargo;
    if (contiene(texto, {"deadlock", "lock request time out"})) return TipoFalla::Ocupada;
    if (contiene(texto,
                 {"timeout expired", "timed out", "unable to connect", "communication link failure",
                  "connection refused", "unavailable or does not exist", "server does not exist",
                  "read from the server failed", "write to the server failed", "unexpected eof"}))
        return TipoFalla::SinRespuesta;
    if (contiene(texto, {"could not allocate space", "disk is full", "disk full"}) ||
        (contiene(texto, {"transaction log for database"}) && contiene(texto, {"is full"})))
        return TipoFalla::DiscoLleno;
    if (contiene(texto, {"database is read-only", "read-only database"}))
        return TipoFalla::SoloLectura;
    return TipoFalla::Otra;
}

ErrorBD FallaSqlite(int codigoExtendido, int errorSistema, const QString& texto,
                    const QString& ruta, const QString& contexto) {
    const TipoFalla tipo = ClasificarSqlite(codigoExtendido, errorSistema, texto);
    return ErrorBD(tipo, explicar(tipo, LugarFalla::Archivo, ruta, texto, contexto, QString()),
                   texto);
}

ErrorBD FallaArchivo(int errorSistema, const QString& texto, const QString& ruta,
                     const QString& contexto) {
    const TipoFalla tipo = ClasificarErrorSistema(errorSistema);
    return ErrorBD(tipo, explicar(tipo, LugarFalla::Archivo, ruta, texto, contexto, QString()),
                   texto);
}

ErrorBD FallaOdbc(const QString& nativos, const QString& texto, const QString& servidor,
                  const QString& controlador, const QString& contexto) {
    return FallaOdbc(ClasificarOdbc(nativos, texto), nativos, texto, servidor, controlador,
                     contexto);
}

ErrorBD FallaOdbc(TipoFalla tipo, const QString& nativos, const QString& texto,
                  const QString& servidor, const QString& controlador, const QString& contexto) {
    return ErrorBD(tipo,
                   explicar(tipo, LugarFalla::Servidor, servidor, texto, contexto, controlador),
                   texto, nativos);
}

}  // namespace db
