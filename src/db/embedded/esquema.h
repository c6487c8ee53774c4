#pragma once
// The tables of the two files, described once: the DDL that creates them, the triggers that
// give SQLite the server's value rules, and what the translator needs to know about columns.
#include <QString>
#include <QStringList>
#include <vector>

namespace db::incrustado {

enum class TipoColumna {
    Texto,     // VARCHAR(n): compared without regard to case or trailing blanks
    Caracter,  // CHAR(n): the same, and stored blank-padded to n
    // Both refuse a longer text, as the server does, unless what is over is blanks.
    Entero,
    Decimal,  // DECIMAL(12,4): amounts and rates
    Real,     // REAL: the published program version
    Fecha,    // DATETIME stored as 'YYYY-MM-DD HH:MM:SS.mmm'
    Bit,
    Identidad  // INTEGER PRIMARY KEY AUTOINCREMENT: the server's identity column
};

struct Columna {
    QString nombre;
    TipoColumna tipo;
    int longitud = 0;  // n of VARCHAR(n)/CHAR(n)
    QString extra;     // DEFAULT ... and the like, as written in the DDL
};

struct Tabla {
    QString base;  // "main" (erp_oxa) or "norv"
    QString nombre;
    std::vector<Columna> columnas;
    QString clave;  // PRIMARY KEY of a non-identity integer column, when any

    bool tieneIdentidad() const;
    const Columna* columna(const QString& nombre) const;  // without regard to case
};

const std::vector<Tabla>& Tablas();

struct Indice {
    QString base;
    QString nombre;
    QString tabla;
    QString columnas;  // as CREATE INDEX lists them
    bool texto;        // orders texts by the engine's comparison, which other programs lack
};

const std::vector<Indice>& Indices();
// In each file: the tables another program wrote into, whose text indexes must be rebuilt.
inline const QString kIndicesPorRehacer = QStringLiteral("indices_por_rehacer");
// Without regard to case; null when the table is not one of ours.
const Tabla* BuscarTabla(const QString& nombre);
// CREATE TABLE / CREATE TRIGGER / CREATE INDEX IF NOT EXISTS, in order, using only SQLite's
// built-ins so that the plain sqlite3 shell can open, read and fill the files.
QStringList SentenciasEsquema();
// The triggers, indexes and their bookkeeping alone: what may be added to existing files, since
// it hides nothing.
QStringList SentenciasComplementos();

inline bool EsTexto(TipoColumna t) { return t == TipoColumna::Texto || t == TipoColumna::Caracter; }

}  // namespace db::incrustado
