#pragma once
// The third stage of the translator: every name of the statement found in the schema (tables in
// their databases, columns in their tables, functions), the kind of value of each expression,
// and what SQL Server itself refuses about names, totals and the shape of the lists.
#include "db/embedded/arbol.h"

namespace db::incrustado {

void Resolver(Instruccion& sentencia);

}  // namespace db::incrustado
