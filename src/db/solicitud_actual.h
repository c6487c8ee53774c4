#pragma once
// What an application is now, read again when a write finds it no longer as a list showed it
// (another station put it in a batch, rejected it or deleted it meanwhile).
#include <QString>

namespace db {

class Conexion;

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
