#pragma once
// The schema's stored procedures, with plausible bodies over the embedded tables.
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "db/motor.h"

struct sqlite3;

namespace db::incrustado {

// Runs `procedimiento` (name and parameter names matched without regard to case, the
// database prefix checked against the procedure's own database); output values are written
// back into `parametros`. `ultimaIdentidad` is the connection's last identity value: read by
// REGRESA_FOLIO, set when a procedure creates a row with an identity.
std::unique_ptr<Resultado> LlamarProcedimiento(sqlite3* db, std::optional<qint64>& ultimaIdentidad,
                                               const QString& procedimiento,
                                               QList<Parametro>& parametros);

// The names of the parameters of `procedimiento` in their order, with their '@' (for a call
// that passes them by position); empty when there is no such procedure.
QStringList NombresDeParametros(const QString& procedimiento);

}  // namespace db::incrustado
