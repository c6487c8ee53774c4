#include "db/embedded/apoyo.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "db/embedded/rechazos.h"
#include "db/error_bd.h"
#include "db/fallas.h"

namespace db::incrustado {

QString TextoFecha(const QDateTime& fecha) {
    return fecha.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

namespace {

// Digits at [desde, desde + n) as a number; -1 when any is no digit.
int digitos(QStringView t, int desde, int n) {
    int v = 0;
    for (int i = desde; i < desde + n; ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

}  // namespace

QDateTime LeerFecha(const QString& texto) {
    // The stored form, read directly: most dates that pass through here are in it.
    if (texto.size() == 23 && texto[4] == QLatin1Char('-') && texto[7] == QLatin1Char('-') &&
        texto[10] == QLatin1Char(' ') && texto[13] == QLatin1Char(':') &&
        texto[16] == QLatin1Char(':') && texto[19] == QLatin1Char('.')) {
        const QDate d(digitos(texto, 0, 4), digitos(texto, 5, 2), digitos(texto, 8, 2));
        const QTime h(digitos(texto, 11, 2), digitos(texto, 14, 2), digitos(texto, 17, 2),
                      digitos(texto, 20, 3));
        if (d.isValid() && h.isValid()) return QDateTime(d, h);
    }
    // 'yyyymmdd', as the statements write days.
    if (texto.size() == 8) {
        const QDate d(digitos(texto, 0, 4), digitos(texto, 4, 2), digitos(texto, 6, 2));
        if (d.isValid()) return QDateTime(d, QTime(0, 0));
    }
    const QString t = texto.trimmed();
    static const char* const kFormas[] = {"yyyy-MM-dd HH:mm:ss.zzz",
                                          "yyyy-MM-dd HH:mm:ss",
                                          "yyyy-MM-dd HH:mm",
                                          "yyyy-MM-ddTHH:mm:ss.zzz",
                                          "yyyy-MM-ddTHH:mm:ss",
                                          "yyyy-MM-dd",
                                          "yyyyMMdd",
                                          "yyyy/MM/dd",
                                          "yyyy/MM/dd HH:mm:ss"};
    for (const char* forma : kFormas) {
        const QDateTime f = QDateTime::fromString(t, QLatin1String(forma));
        if (f.isValid()) return f;
    }
    return {};
}

QString MensajeSqlite(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

db::ErrorBD UltimaFalla(sqlite3* db, const QString& ruta, const QString& contexto) {
    // What the server raises while a statement runs, raised by the engine's functions.
    if (auto e = ErrorDelServidorEnTexto(MensajeSqlite(db))) return *e;
    QString donde = ruta;
    if (donde.isEmpty()) {
        const char* archivo = sqlite3_db_filename(db, "main");
        if (archivo && *archivo) donde = QFileInfo(QFile::decodeName(archivo)).absolutePath();
    }
    return db::FallaSqlite(sqlite3_extended_errcode(db), sqlite3_system_errno(db),
                           MensajeSqlite(db), donde, contexto);
}

void Enlazar(sqlite3_stmt* st, int i, const QVariant& v) {
    if (v.isNull() || !v.isValid()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
        case QMetaType::Bool:
            sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            sqlite3_bind_int64(st, i, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(st, i, v.toDouble());
            break;
        case QMetaType::QDateTime:
            sqlite3_bind_text16(st, i, TextoFecha(v.toDateTime()).utf16(), -1, SQLITE_TRANSIENT);
            break;
        case QMetaType::QDate:
            sqlite3_bind_text16(st, i, TextoFecha(v.toDate().startOfDay()).utf16(), -1,
                                SQLITE_TRANSIENT);
            break;
        default: {
            const QString s = v.toString();
            sqlite3_bind_text16(st, i, s.utf16(), static_cast<int>(s.size() * 2), SQLITE_TRANSIENT);
        }
    }
}

QString TextoSqlite(sqlite3_value* v) {
    // The files hold UTF-8: one conversion, straight into the QString.
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (!p) return {};
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

QVariant ValorSqlite(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qint64>(sqlite3_value_int64(v)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_value_double(v));
        case SQLITE_TEXT:
            return QVariant(TextoSqlite(v));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_value_blob(v)),
                                       sqlite3_value_bytes(v)));
        default:
            return {};
    }
}

Sentencia::Sentencia(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray u = sql.toUtf8();
    if (sqlite3_prepare_v2(db, u.constData(), static_cast<int>(u.size()), &st_, nullptr) !=
        SQLITE_OK)
        throw UltimaFalla(db);
}

Sentencia::~Sentencia() { sqlite3_finalize(st_); }

Sentencia& Sentencia::enlazar(int indice, const QVariant& valor) {
    Enlazar(st_, indice, valor);
    return *this;
}

bool Sentencia::paso() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const ErrorBD e = UltimaFalla(db_);
    sqlite3_reset(st_);
    throw e;
}

void Sentencia::ejecutar() {
    while (paso()) {
    }
    reiniciar();
}

void Sentencia::reiniciar() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

QVariant Sentencia::valor(int c) const { return ValorSqlite(sqlite3_column_value(st_, c)); }

bool Sentencia::nulo(int c) const { return sqlite3_column_type(st_, c) == SQLITE_NULL; }

qint64 Sentencia::entero(int c) const { return sqlite3_column_int64(st_, c); }

QString Sentencia::texto(int c) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
    if (!p) return {};
    return QString::fromUtf8(p, sqlite3_column_bytes(st_, c));
}

}  // namespace db::incrustado
