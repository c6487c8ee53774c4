#pragma once
// The first stage of the translator: a statement's text cut into tokens as SQL Server reads it.
#include <QString>
#include <vector>

namespace db::incrustado {

struct Token {
    enum Tipo { Palabra, Corchete, Cadena, Numero, Simbolo, Fin } tipo;
    // A bracketed name or a string without its quotes and with their doublings undone.
    QString texto;
};

// Words, [bracketed names], numbers, 'strings' (N'...' alike), symbols; comments left out.
// Refuses what SQL Server reads otherwise than SQLite would: "double quotes", @variables,
// #temporary tables, characters of no token.
std::vector<Token> Tokenizar(const QString& sql);

// A word with a part in the forms the engine accepts (SELECT, JOIN, CASE...): never a name
// unless bracketed.
bool EsClave(const QString& palabra);
// A word the server reserves, or T-SQL's or SQLite's that SQLite would read otherwise than the
// server: never a name unless bracketed.
bool EsReservada(const QString& palabra);

}  // namespace db::incrustado
