#include "db/embedded/rechazos.h"

namespace db::incrustado {

namespace {

struct ErrorServidor {
    int numero;
    const char* texto;  // SQL Server's own words
    const char* que;    // completes "La sentencia ..."; for errors of the data, the whole sentence
    bool alCorrer;      // raised while the statement runs: the data may be at fault
};

// The errors the engine raises as SQL Server does, by the server's number.
constexpr ErrorServidor kErrores[] = {
    {207, "Invalid column name '%1'.", "nombra una columna que no existe", false},
    {208, "Invalid object name '%1'.", "nombra una tabla que no existe en la base de datos", false},
    {209, "Ambiguous column name '%1'.",
     "nombra una columna que está en más de una de sus tablas sin decir de cuál", false},
    {4104, "The multi-part identifier \"%1\" could not be bound.",
     "nombra una columna con una tabla o un alias que no está en la consulta", false},
    {107,
     "The column prefix '%1' does not match with a table name or alias name used in the query.",
     "nombra una tabla o un alias que no está en la consulta", false},
    {263, "Must specify table to select from.", "pide «*» sin tabla", false},
    {1013,
     "The objects \"%1\" and \"%2\" in the FROM clause have the same exposed names. Use "
     "correlation names to distinguish them.",
     "da el mismo nombre a dos tablas de la consulta", false},
    {128,
     "The name \"%1\" is not permitted in this context. Valid expressions are constants, "
     "constant expressions, and (in some contexts) variables. Column names are not permitted.",
     "nombra una columna donde solo caben valores", false},
    {1033,
     "The ORDER BY clause is invalid in views, inline functions, derived tables, subqueries, and "
     "common table expressions, unless TOP, OFFSET or FOR XML is also specified.",
     "ordena una subconsulta que no tiene TOP", false},
    {108,
     "The ORDER BY position number %1 is out of range of the number of items in the select "
     "list.",
     "ordena por una posición que no está en su lista de columnas", false},
    {408, "A constant expression was encountered in the ORDER BY list, position %1.",
     "ordena por una constante", false},
    {145, "ORDER BY items must appear in the select list if SELECT DISTINCT is specified.",
     "ordena con DISTINCT por algo que no está en su lista de columnas", false},
    {164,
     "Each GROUP BY expression must contain at least one column that is not an outer reference.",
     "agrupa por una constante", false},
    {8120,
     "Column '%1.%2' is invalid in %3 because it is not contained in either an aggregate "
     "function or the GROUP BY clause.",
     "mezcla totales con columnas que no están en su GROUP BY", false},
    {147,
     "An aggregate may not appear in the WHERE clause unless it is in a subquery contained in a "
     "HAVING clause or a select list, and the column being aggregated is an outer reference.",
     "pone un total (COUNT, SUM, ...) en una condición de WHERE u ON", false},
    {157, "An aggregate may not appear in the set list of an UPDATE statement.",
     "asigna un total (COUNT, SUM, ...) en un UPDATE", false},
    {130,
     "Cannot perform an aggregate function on an expression containing an aggregate or a "
     "subquery.",
     "pone un total o una subconsulta dentro de otro total", false},
    {144,
     "Cannot use an aggregate or a subquery in an expression used for the group by list of a "
     "GROUP BY clause.",
     "agrupa por un total o por una subconsulta", false},
    {8117, "Operand data type %1 is invalid for %2 operator.",
     "suma o promedia datos que no son números", false},
    {116,
     "Only one expression can be specified in the select list when the subquery is not "
     "introduced with EXISTS.",
     "pide más de una columna a una subconsulta que da un solo valor", false},
    {544,
     "Cannot insert explicit value for identity column in table '%1' when IDENTITY_INSERT is set "
     "to OFF.",
     "escribe en una columna de identidad, que numera la base de datos", false},
    {8102, "Cannot update identity column '%1'.",
     "cambia una columna de identidad, que numera la base de datos", false},
    {109,
     "There are more columns in the INSERT statement than values specified in the VALUES clause. "
     "The number of values in the VALUES clause must match the number of columns specified in "
     "the INSERT statement.",
     "da menos valores que columnas", false},
    {110,
     "There are fewer columns in the INSERT statement than values specified in the VALUES "
     "clause. The number of values in the VALUES clause must match the number of columns "
     "specified in the INSERT statement.",
     "da más valores que columnas", false},
    {120,
     "The select list for the INSERT statement contains fewer items than the insert list. The "
     "number of SELECT values must match the number of INSERT columns.",
     "da menos valores que columnas", false},
    {121,
     "The select list for the INSERT statement contains more items than the insert list. The "
     "number of SELECT values must match the number of INSERT columns.",
     "da más valores que columnas", false},
    {264,
     "The column name '%1' is specified more than once in the SET clause or column list of an "
     "INSERT. A column cannot be assigned more than one value in the same clause. Modify the "
     "clause to make sure that a column is updated only once. If this statement updates or "
     "inserts columns into a view, column aliasing can conceal the duplication in your code.",
     "asigna dos veces la misma columna", false},
    {174, "The %1 function requires %2 argument(s).",
     "llama a una función con un número equivocado de argumentos", false},
    {313, "An insufficient number of arguments were supplied for the procedure or function %1.",
     "llama a una función con menos argumentos de los que pide", false},
    {8144, "Procedure or function %1 has too many arguments specified.",
     "llama a una función con más argumentos de los que pide", false},
    {4145,
     "An expression of non-boolean type specified in a context where a condition is expected, "
     "near '%1'.",
     "pone un valor donde se espera una condición", false},
    {8134, "Divide by zero error encountered.", "La operación divide entre cero", true},
    {245, "Conversion failed when converting the varchar value '%1' to data type int.",
     "Un texto no se pudo convertir en número", true},
    {8114, "Error converting data type varchar to numeric.",
     "Un texto no se pudo convertir en número", true},
    {512,
     "Subquery returned more than 1 value. This is not permitted when the subquery follows =, "
     "!=, <, <= , >, >= or when the subquery is used as an expression.",
     "Una subconsulta dio más de un valor donde se espera uno solo", true},
};

const ErrorServidor& error(int numero) {
    for (const ErrorServidor& e : kErrores)
        if (e.numero == numero) return e;
    throw ErrorBD(
        QStringLiteral("Error %1 del servidor sin texto en el motor incrustado.").arg(numero));
}

ErrorBD conTexto(const ErrorServidor& e, const QString& texto) {
    const QString explicacion =
        e.alCorrer ? QString::fromUtf8(e.que) +
                         QStringLiteral(
                             "; revise los datos y, si se repite, avise a soporte con "
                             "este detalle.")
                   : QStringLiteral("La sentencia %1; avise a soporte con este detalle.")
                         .arg(QString::fromUtf8(e.que));
    // The server's number goes with it, as the ODBC road hands it over.
    return ErrorBD(TipoFalla::Otra, explicacion, texto, QString::number(e.numero));
}

}  // namespace

void Rechazar(const QString& motivo) {
    throw ErrorBD(
        QStringLiteral("El motor incrustado no admite esta forma de sentencia: %1.").arg(motivo));
}

QString TextoDelServidor(int numero, const QStringList& datos) {
    QString t = QString::fromUtf8(error(numero).texto);
    for (const QString& d : datos) t = t.arg(d);
    return t;
}

ErrorBD ErrorDelServidor(int numero, const QStringList& datos) {
    return conTexto(error(numero), TextoDelServidor(numero, datos));
}

void RechazoDelServidor(int numero, const QStringList& datos) {
    throw ErrorDelServidor(numero, datos);
}

std::optional<ErrorBD> ErrorDelServidorEnTexto(const QString& texto) {
    for (const ErrorServidor& e : kErrores) {
        if (!e.alCorrer) continue;
        const QString t = QString::fromUtf8(e.texto);
        const qsizetype hueco = t.indexOf(QLatin1String("%1"));
        if (hueco < 0 ? texto == t
                      : texto.startsWith(t.left(hueco)) && texto.endsWith(t.mid(hueco + 2)))
            return conTexto(e, texto);
    }
    return std::nullopt;
}

}  // namespace db::incrustado
