#pragma once
// The second stage's result: the statement as a small tree of the forms the engine accepts.
// The parser builds it; name resolution fills in what each name stands for and what kind of
// value each expression gives; the writer prints SQLite's text from it.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "db/embedded/traduccion.h"

namespace db::incrustado {

struct Columna;
struct Tabla;
struct Select;
struct Fuente;

// A dotted name as written: db.dbo.tabla, alias.columna, db..tabla (owner left out).
struct Nombre {
    QStringList partes;
    std::vector<bool> corchete;  // per part: written between brackets
    QString escrito() const { return partes.join(QLatin1Char('.')); }
    const QString& ultima() const { return partes.last(); }
};

// What kind of value an expression gives, as far as the statement tells.
enum class Clase { Desconocida, Nulo, Texto, Entero, Decimal, Fecha, Bit, Condicion };

// The scalar functions a statement may call: the schema's and the server's built-ins.
struct FuncionSql {
    const char* nombre;   // in small letters
    const char* destino;  // its name in SQLite
    const char* base;     // "main" or "norv" for the schema's; nullptr for built-ins
    TipoResultado tipo;   // Ninguno: the type of its argument (SUM, MIN, ...)
    int minimo, maximo;   // arguments
    bool total;           // an aggregate
};

struct Expresion {
    enum class Tipo {
        Numero,       // texto: as written
        Cadena,       // texto: the string's value
        Nulo,         // NULL
        Columna,      // nombre
        Funcion,      // nombre, hijos: arguments; todo: COUNT(*); distinto: COUNT(DISTINCT x)
        Cast,         // hijos[0] AS texto (type, small letters) (largo[, escala])
        Caso,         // CASE [base] WHEN hijos[0] THEN hijos[1] ... [ELSE otro] END
        Subconsulta,  // (consulta) giving one value
        Existe,       // EXISTS (consulta)
        Signo,        // texto ("-" or "+") hijos[0]
        Aritmetica,   // hijos[0] texto hijos[1]: + - * / %
        Comparacion,  // hijos[0] texto hijos[1]: = <> != < > <= >= !< !>
        Y,            // hijos[0] AND hijos[1] ...
        O,            // hijos[0] OR hijos[1] ...
        No,           // NOT hijos[0]
        Como,         // hijos[0] [NOT] LIKE hijos[1] [ESCAPE hijos[2]]
        En,           // hijos[0] [NOT] IN (hijos[1] ...) or IN (consulta)
        Entre,        // hijos[0] [NOT] BETWEEN hijos[1] AND hijos[2]
        EsNulo        // hijos[0] IS [NOT] NULL
    };

    explicit Expresion(Tipo t) : tipo(t) {}

    Tipo tipo;
    QString texto;
    Nombre nombre;
    std::vector<std::unique_ptr<Expresion>> hijos;
    std::unique_ptr<Expresion> base, otro;  // CASE
    std::unique_ptr<Select> consulta;
    QString largo;    // CAST: n, "max" or empty
    int escala = -1;  // CAST: s of (p, s)
    bool negada = false;
    bool todo = false;
    bool distinto = false;
    bool entreParentesis = false;

    // Filled in by name resolution.
    Clase clase = Clase::Desconocida;
    const Columna* columna = nullptr;     // Columna: the schema's column
    const Fuente* fuente = nullptr;       // Columna: the table of FROM it belongs to
    const FuncionSql* funcion = nullptr;  // Funcion
    bool exterior = false;                // Columna: of an outer query
    int elemento = -1;                    // ORDER BY: the select list's item it names
};

using Expr = std::unique_ptr<Expresion>;

bool EsCondicion(const Expresion& e);

// A table of FROM (or the one an INSERT, UPDATE or DELETE writes).
struct Fuente {
    enum class Union { Primera, Coma, Interna, Izquierda, Derecha, Completa, Cruzada };
    Nombre nombre;
    QString alias;
    bool aliasCorchete = false;
    Union union_ = Union::Primera;
    Expr on;
    // Filled in by name resolution.
    const Tabla* tabla = nullptr;
    QString base;  // "main" or "norv"
};

struct Elemento {
    Expr expr;      // null for * and tabla.*
    Nombre todoDe;  // tabla.*: the name before the star; empty for *
    QString alias;  // as given, with 'alias', AS alias, alias or [alias]
    bool conAlias = false;
    bool aliasCorchete = false;
    int columnas = 1;  // filled in by name resolution: how many columns * and tabla.* give
};

struct Termino {
    Expr expr;
    QString sentido;  // "ASC", "DESC" or empty
};

struct Select {
    bool distinto = false;
    bool todos = false;  // SELECT ALL
    QString top;         // TOP n
    std::vector<Elemento> elementos;
    std::vector<Fuente> fuentes;
    Expr donde, teniendo;
    std::vector<Expr> grupo;
    std::vector<Termino> orden;
    // Filled in by name resolution: the columns the list gives, * and tabla.* counted out.
    std::vector<Clase> clases;
    std::vector<QString> nombres;
};

struct Instruccion {
    ClaseSentencia clase = ClaseSentencia::Select;
    std::unique_ptr<Select> consulta;                   // SELECT, or the rows of INSERT ... SELECT
    Fuente destino;                                     // INSERT, UPDATE, DELETE
    std::vector<Nombre> columnas;                       // INSERT's column list
    std::vector<std::vector<Expr>> filas;               // INSERT ... VALUES
    std::vector<std::pair<Nombre, Expr>> asignaciones;  // UPDATE ... SET
    Expr donde;                                         // UPDATE, DELETE
    // Filled in by name resolution: the columns written, in order.
    std::vector<const Columna*> escritas;
};

}  // namespace db::incrustado
