#pragma once
// What an application is now, read again when a write finds it no longer as a list showed it
// (another station put it in a batch, rejected it or deleted it meanwhile).
#include <QString>

#include "db/columnas.h"

namespace db {

class Conexion;

// The application's batch and state, read by their places.
enum class Actual { Relacion, Estado };
inline constexpr Columnas<Actual, 2> kColumnasActual = {{
    {Actual::Relacion, "Relacion", nullptr},
    {Actual::Estado, "estado_actual", nullptr},
}};
QString SentenciaSolicitudActual(long long solicitud);

struct SolicitudActual {
    bool existe = false;
    long long relacion = 0;  // 0: in no batch
    QString estado;          // estado_actual, trimmed
};

// Reads it through `conexion` (so the statement is logged like any other); throws ErrorBD.
SolicitudActual LeerSolicitudActual(Conexion& conexion, long long solicitud);

// "Solicitud 8: ya está en la relación 4", "…: fue rechazada", "…: ya no existe",
// "…: está en estado Autorizada".
QString DescribirSolicitud(long long solicitud, const SolicitudActual& actual);

}  // namespace db
