#pragma once
// The last stage of the translator: the SQLite statement printed from the resolved tree, with the
// server's rules on values that SQLite lacks (how texts compare, a number against a text, dates,
// bits, LIKE, CAST, GETDATE(), division), and the types of the result's columns.
#include "db/embedded/arbol.h"

namespace db::incrustado {

Traduccion Escribir(const Instruccion& sentencia);

}  // namespace db::incrustado
