#pragma once
// The second stage of the translator: the tokens of one statement parsed into the tree of the
// forms the engine accepts. Anything else, and what SQL Server would not parse, is refused.
#include <vector>

#include "db/embedded/arbol.h"
#include "db/embedded/lexico.h"

namespace db::incrustado {

Instruccion Analizar(std::vector<Token> tokens);

}  // namespace db::incrustado
