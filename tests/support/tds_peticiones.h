#pragma once
// What the client sends the stand-in, read from a message's bytes: the log-in, SQL batches,
// procedure calls with their parameters, and the transaction manager's requests.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include "tds_paquetes.h"

namespace tds {

struct Login {
    QString usuario, contrasena, base, aplicacion, equipo;
    int tamanoPaquete = 4096;
};
Login LeerLogin(const QByteArray& cuerpo);

struct ParametroTds {
    QString nombre;     // empty for the positional markers of {CALL ...}
    quint8 tipo = 0;    // the TDS type the client chose
    quint8 estado = 0;  // 0x01: output
    int largo = 0;      // maximum in characters for texts, bytes otherwise
    QVariant valor;
    bool salida() const { return estado & 0x01; }
};

struct Llamada {
    QString nombre;  // by name, or "#n" for the system procedure number n
    QList<ParametroTds> parametros;
    QString falla;  // what could not be read, if anything
};
Llamada LeerLlamada(const QByteArray& cuerpo);
QString LeerLote(const QByteArray& cuerpo);

struct PeticionTransaccion {
    quint16 tipo = 0;
    bool empezarOtra = false;  // commit or roll back, then begin the next one
};
PeticionTransaccion LeerTransaccion(const QByteArray& cuerpo);

}  // namespace tds
