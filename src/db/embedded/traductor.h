#pragma once
// Turns one statement written for SQL Server into the SQLite statement that does the same, or
// refuses it: a form the translator does not know is an error, never something else run in
// its place. The stages: lexico (tokens), sintaxis (the tree, arbol.h), nombres (the schema's
// names and the server's rules on them), escritura (the SQLite text).
#include <QString>

#include "db/embedded/traduccion.h"

namespace db::incrustado {

// Throws db::ErrorBD, in Spanish, for anything it does not translate.
Traduccion Traducir(const QString& sql);

}  // namespace db::incrustado
