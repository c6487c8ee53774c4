#include "db/embedded/traductor.h"

#include "db/embedded/escritura.h"
#include "db/embedded/lexico.h"
#include "db/embedded/nombres.h"
#include "db/embedded/sintaxis.h"

namespace db::incrustado {

// By stages: tokens, the tree of the accepted forms, its names found in the schema, and the
// SQLite text written from it. Each stage refuses what it cannot take.
Traduccion Traducir(const QString& sql) {
    Instruccion s = Analizar(Tokenizar(sql));
    Resolver(s);
    return Escribir(s);
}

}  // namespace db::incrustado
