#pragma once
// Between the engine's values and SQL Server's types: the type each result column travels as,
// and a call's TDS parameters as the engine's.
#include <QStringList>
#include <QVariant>
#include <vector>

#include "db/motor.h"
#include "tds_peticiones.h"

namespace tds {

struct OpcionesTipos {
    bool nvarchar = false;          // texts as nvarchar instead of varchar (code page 1252)
    bool comentariosTexto = false;  // the comentarios columns as text
};

// By the schema's column of that name where there is one and the values agree with it, else by
// the values: int (bigint when one needs it), bit, money for the schema's decimals, float,
// datetime, and texts as wide as the column or the longest value.
QList<ColumnaTds> TiposDeResultado(const QStringList& nombres,
                                   const std::vector<QVariantList>& filas,
                                   const OpcionesTipos& opciones);

// `nombre` is the procedure's own name for a positional parameter.
db::Parametro ParametroDe(const ParametroTds& p, const QString& nombre);
// The type an output parameter goes back with: the one it came with.
ColumnaTds TipoDeSalida(const ParametroTds& p);

}  // namespace tds
