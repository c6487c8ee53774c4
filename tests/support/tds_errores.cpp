#include "tds_errores.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "db/embedded/esquema.h"
#include "db/error_bd.h"
#include "db/fallas.h"
#include "tds_sentencias.h"

namespace tds {

namespace {

using QRE = QRegularExpression;

ErrorServidor error(qint32 numero, quint8 clase, quint8 estado, const QString& texto) {
    ErrorServidor e = ErrorConNumero(numero, clase, texto);
    e.estado = estado;
    return e;
}

QString capturar(const QString& texto, const char* patron, int grupo = 1) {
    return QRE(QString::fromUtf8(patron)).match(texto).captured(grupo);
}

// Rows of one SQLite statement, first column of each, or the columns of its first row.
QStringList consulta(sqlite3* db, const QString& sql, int columna) {
    QStringList r;
    sqlite3_stmt* st = nullptr;
    if (!db || sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        return r;
    while (sqlite3_step(st) == SQLITE_ROW)
        r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, columna)));
    sqlite3_finalize(st);
    return r;
}

// "main" or "norv": where the table lives; empty when in neither.
QString baseDe(sqlite3* db, const QString& tabla) {
    if (const db::incrustado::Tabla* t = db::incrustado::BuscarTabla(tabla)) return t->base;
    for (const char* b : {"main", "norv"})
        if (!consulta(
                 db, QStringLiteral("PRAGMA %1.table_info(\"%2\")").arg(QLatin1String(b), tabla), 1)
                 .isEmpty())
            return QLatin1String(b);
    return QStringLiteral("main");
}

QString nombreBase(const QString& base) {
    return base == QLatin1String("norv") ? QStringLiteral("norv") : QStringLiteral("erp_oxa");
}

// "UNIQUE constraint failed: T.a, T.b": the primary key, or a unique index.
ErrorServidor duplicado(const QString& texto, const Contexto& c) {
    const QString lista = texto.mid(texto.indexOf(QLatin1Char(':')) + 1).trimmed();
    QStringList columnas;
    QString tabla;
    for (const QString& x : lista.split(QLatin1Char(','))) {
        tabla = x.trimmed().section(QLatin1Char('.'), 0, 0);
        columnas << x.trimmed().section(QLatin1Char('.'), 1);
    }
    const QString base = baseDe(c.db, tabla);
    QStringList valores;
    for (const QString& col : columnas)
        valores << ValorEscrito(c.sentencia, col).value_or(QStringLiteral("?"));
    const QString valor = valores.join(QStringLiteral(", "));
    QStringList claves;
    const QString info = QStringLiteral("PRAGMA %1.table_info(\"%2\")").arg(base, tabla);
    const QStringList nombres = consulta(c.db, info, 1), pk = consulta(c.db, info, 5);
    for (int i = 0; i < nombres.size() && i < pk.size(); ++i)
        if (pk[i] != QLatin1String("0")) claves << nombres[i];
    if (!claves.isEmpty() && claves.size() == columnas.size() &&
        claves.first().compare(columnas.first(), Qt::CaseInsensitive) == 0)
        return error(2627, 14, 1,
                     QStringLiteral("Violation of PRIMARY KEY constraint 'PK_%1'. Cannot insert "
                                    "duplicate key in object 'dbo.%1'. The duplicate key value is "
                                    "(%2).")
                         .arg(tabla, valor));
    QString indice = QStringLiteral("UQ_%1").arg(tabla);
    for (const QString& ix :
         consulta(c.db,
                  QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'index' "
                                 "AND tbl_name = '%2' AND sql LIKE '%%UNIQUE%%'")
                      .arg(base, tabla),
                  0)) {
        const QStringList deIndice =
            consulta(c.db, QStringLiteral("PRAGMA %1.index_info(\"%2\")").arg(base, ix), 2);
        if (QSet<QString>(deIndice.begin(), deIndice.end()) ==
            QSet<QString>(columnas.begin(), columnas.end()))
            indice = ix;
    }
    return error(2601, 14, 1,
                 QStringLiteral("Cannot insert duplicate key row in object 'dbo.%1' with unique "
                                "index '%2'. The duplicate key value is (%3).")
                     .arg(tabla, indice, valor));
}

// SQLite's "near "x": syntax error", and the engine's refusal of a form it does not know.
ErrorServidor sintaxis(const QString& cerca) {
    static const QSet<QString> claves = {
        QStringLiteral("SELECT"),  QStringLiteral("FROM"),   QStringLiteral("WHERE"),
        QStringLiteral("INSERT"),  QStringLiteral("UPDATE"), QStringLiteral("DELETE"),
        QStringLiteral("INTO"),    QStringLiteral("VALUES"), QStringLiteral("SET"),
        QStringLiteral("ORDER"),   QStringLiteral("GROUP"),  QStringLiteral("BY"),
        QStringLiteral("AND"),     QStringLiteral("OR"),     QStringLiteral("NOT"),
        QStringLiteral("NULL"),    QStringLiteral("IS"),     QStringLiteral("IN"),
        QStringLiteral("LIKE"),    QStringLiteral("JOIN"),   QStringLiteral("ON"),
        QStringLiteral("AS"),      QStringLiteral("CASE"),   QStringLiteral("WHEN"),
        QStringLiteral("THEN"),    QStringLiteral("ELSE"),   QStringLiteral("END"),
        QStringLiteral("TABLE"),   QStringLiteral("EXEC"),   QStringLiteral("EXECUTE"),
        QStringLiteral("HAVING"),  QStringLiteral("UNION"),  QStringLiteral("DISTINCT"),
        QStringLiteral("TOP"),     QStringLiteral("CAST"),   QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),   QStringLiteral("INNER"),  QStringLiteral("OUTER"),
        QStringLiteral("BETWEEN"), QStringLiteral("EXISTS"), QStringLiteral("ALL")};
    if (claves.contains(cerca.toUpper()))
        return error(156, 15, 1,
                     QStringLiteral("Incorrect syntax near the keyword '%1'.").arg(cerca));
    return error(102, 15, 1, QStringLiteral("Incorrect syntax near '%1'.").arg(cerca));
}

QString ultimaPalabra(const QString& sentencia) {
    static const QRE re(QStringLiteral(R"((\w+|\S)\s*$)"));
    return re.match(sentencia).captured(1);
}

QString tablaDe(const QString& sentencia) {
    return capturar(
        sentencia,
        R"((?i)^\s*(?:INSERT\s+INTO|INSERT|UPDATE|DELETE\s+FROM|DELETE)\s+(?:[\w\[\]]+\.){0,2}\[?(\w+))");
}

}  // namespace

ErrorServidor ErrorConNumero(qint32 numero, quint8 clase, const QString& texto) {
    ErrorServidor e;
    e.numero = numero;
    e.clase = clase;
    e.texto = texto;
    // The deadlock victim loses its transaction and its batch; name resolution, syntax and
    // type errors stop the batch; the rest end only their statement.
    e.deshaceTransaccion = numero == 1205;
    e.terminaLote = QSet<qint32>{1205, 208, 207, 102, 156, 402, 2812}.contains(numero);
    if (numero == 1205) e.estado = 51;
    return e;
}

ErrorServidor LoginRechazado(const QString& usuario) {
    return error(18456, 14, 1, QStringLiteral("Login failed for user '%1'.").arg(usuario));
}

std::optional<ErrorServidor> ComparacionDeTexto(const QString& sentencia) {
    const std::optional<Comparacion> c = ComparacionDe(sentencia, QStringLiteral("comentarios"));
    if (!c) return std::nullopt;
    return error(402, 16, 1,
                 QStringLiteral("The data types %1 are incompatible in the %2 operator.")
                     .arg(c->tipos, c->operador));
}

ErrorServidor ErrorDe(const db::ErrorBD& e, const Contexto& c) {
    const QString& t = e.textoMotor();
    const QString verbo = Verbo(c.sentencia);
    if (e.tipo() == db::TipoFalla::Ocupada)
        return error(1205, 13, 51,
                     QStringLiteral("Transaction (Process ID %1) was deadlocked on lock resources "
                                    "with another process and has been chosen as the deadlock "
                                    "victim. Rerun the transaction.")
                         .arg(c.spid));
    if (e.tipo() == db::TipoFalla::TextoLargo) {
        if (c.truncadoAntiguo)
            return error(8152, 16, 14, QStringLiteral("String or binary data would be truncated."));
        static const QRE re(QStringLiteral("in table '([^']*)', column '([^']*)'"));
        const QRegularExpressionMatch m = re.match(t);
        const QString columna = m.captured(2);
        const db::incrustado::Tabla* tabla =
            db::incrustado::BuscarTabla(m.captured(1).section(QLatin1Char('.'), -1));
        const db::incrustado::Columna* col = tabla ? tabla->columna(columna) : nullptr;
        QString valor = ValorEscrito(c.sentencia, columna).value_or(QString());
        if (col) valor = valor.left(col->longitud);
        return error(2628, 16, 1,
                     QStringLiteral("String or binary data would be truncated in table '%1', "
                                    "column '%2'. Truncated value: '%3'.")
                         .arg(m.captured(1), columna, valor));
    }
    if (t.startsWith(QLatin1String("UNIQUE constraint failed"))) return duplicado(t, c);
    if (t.startsWith(QLatin1String("NOT NULL constraint failed"))) {
        const QString tabla = capturar(t, R"(:\s*(\w+)\.)"),
                      columna = capturar(t, R"(\.(\w+)\s*$)");
        return error(515, 16, 2,
                     QStringLiteral("Cannot insert the value NULL into column '%1', table "
                                    "'%2.dbo.%3'; column does not allow nulls. %4 fails.")
                         .arg(columna, nombreBase(baseDe(c.db, tabla)), tabla,
                              verbo.isEmpty() ? QStringLiteral("INSERT") : verbo));
    }
    if (t.startsWith(QLatin1String("CHECK constraint failed")) ||
        t.startsWith(QLatin1String("FOREIGN KEY constraint failed"))) {
        const bool ajena = t.startsWith(QLatin1String("FOREIGN"));
        const QString tabla = tablaDe(c.sentencia);
        QString nombre = capturar(t, R"(:\s*(.*)$)");
        if (nombre.isEmpty()) nombre = QStringLiteral("FK_%1").arg(tabla);
        return error(547, 16, 0,
                     QStringLiteral("The %1 statement conflicted with the %2 constraint \"%3\". "
                                    "The conflict occurred in database \"%4\", table \"dbo.%5\".")
                         .arg(verbo.isEmpty() ? QStringLiteral("INSERT") : verbo,
                              ajena ? QStringLiteral("FOREIGN KEY") : QStringLiteral("CHECK"),
                              nombre, nombreBase(baseDe(c.db, tabla)), tabla));
    }
    if (t.startsWith(QLatin1String("no such table:"))) {
        const QString tabla =
            t.section(QLatin1Char(':'), 1).trimmed().section(QLatin1Char('.'), -1);
        return error(
            208, 16, 1,
            QStringLiteral("Invalid object name '%1'.").arg(NombreEscrito(c.sentencia, tabla)));
    }
    if (t.startsWith(QLatin1String("no such column:")))
        return error(
            207, 16, 1,
            QStringLiteral("Invalid column name '%1'.")
                .arg(t.section(QLatin1Char(':'), 1).trimmed().section(QLatin1Char('.'), -1)));
    if (t.contains(QLatin1String("syntax error")))
        return sintaxis(capturar(t, R"(near "([^"]*)\")"));
    if (t.startsWith(QLatin1String("incomplete input")))
        return sintaxis(ultimaPalabra(c.sentencia));
    // What the engine refuses or raises as the server would, with the server's own number.
    bool conNumero = false;
    const int propio = e.codigoNativo().toInt(&conNumero);
    if (conNumero && propio > 0) return error(propio, 16, 1, t);
    const QString& x = e.explicacion();
    if (x.startsWith(QLatin1String("El motor incrustado no admite"))) {
        const QString cerca = capturar(x, "«([^»]*)»");
        return sintaxis(cerca.isEmpty() ? ultimaPalabra(c.sentencia) : cerca);
    }
    if (x.startsWith(QLatin1String("No se encontró el procedimiento almacenado")))
        return error(2812, 16, 62,
                     QStringLiteral("Could not find stored procedure '%1'.").arg(c.procedimiento));
    if (x.contains(QLatin1String("que no se proporcionó")))
        return error(
            201, 16, 4,
            QStringLiteral("Procedure or function '%1' expects parameter '%2', which was "
                           "not supplied.")
                .arg(c.procedimiento.section(QLatin1Char('.'), -1), capturar(x, R"((@\w+), que)")));
    // What the engine words itself (a procedure refusing its input, say) goes as RAISERROR would.
    return error(50000, 16, 1, t.isEmpty() ? x : t);
}

}  // namespace tds
