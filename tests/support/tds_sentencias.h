#pragma once
// What the stand-in reads in a batch's text: the session statements that the driver and the
// program send around their own (SET, transactions, @@ probes), the program's statement that
// the engine runs, and a few facts about that statement for the server's error messages. Not a
// T-SQL parser: the program sends one statement a batch, optionally followed by
// "SELECT @@ROWCOUNT".
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tds {

struct ParteLote {
    enum Clase {
        Opcion,       // SET ... : `nombres` (upper case) and `valor` (ON, OFF, a number...)
        Empezar,      // BEGIN TRAN[SACTION]
        Confirmar,    // COMMIT [TRAN[SACTION]]
        Deshacer,     // ROLLBACK [TRAN[SACTION]]
        SiConfirmar,  // IF @@TRANCOUNT > 0 COMMIT
        SiDeshacer,   // IF @@TRANCOUNT > 0 ROLLBACK
        Usar,         // USE base
        Variables,    // SELECT @@ROWCOUNT, @@SPID...: `nombres` without the @@, upper case
        Motor,        // anything else: for the engine
    } clase = Motor;
    QString texto;
    QStringList nombres;
    QString valor;
};

std::vector<ParteLote> PartirLote(const QString& lote);

// Whether the statement returns rows (SELECT, WITH): read with consultar(), else ejecutar().
bool DevuelveFilas(const QString& sentencia);
// INSERT, UPDATE or DELETE in upper case; empty for anything else.
QString Verbo(const QString& sentencia);

// The literal the statement writes into `columna` (INSERT ... (cols) VALUES (...), or
// UPDATE ... SET columna = ...), without its quotes; none when it writes none.
std::optional<QString> ValorEscrito(const QString& sentencia, const QString& columna);
// The table name as the statement writes it, with its prefixes, that ends in `tabla`.
QString NombreEscrito(const QString& sentencia, const QString& tabla);

// A comparison (=, <>, !=, IN) of a `columna` with something: the operator's name as SQL
// Server words it ("equal to", "not equal to") and the other side's type, in the order
// written ("text and varchar"). Assignments in UPDATE ... SET do not count.
struct Comparacion {
    QString tipos;
    QString operador;
};
std::optional<Comparacion> ComparacionDe(const QString& sentencia, const QString& columna);

}  // namespace tds
