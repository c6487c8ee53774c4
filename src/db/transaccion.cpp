#include "db/transaccion.h"

#include <exception>

#include "db/conexion.h"

namespace db {

Transaccion::Transaccion(Conexion& conexion)
    : conexion_(conexion), excepciones_(std::uncaught_exceptions()) {
    conexion_.iniciarTransaccion();
    abierta_ = true;
}

Transaccion::~Transaccion() {
    if (!abierta_) return;
    if (std::uncaught_exceptions() <= excepciones_)
        deshacer(QStringLiteral("no se confirmó"));
    else if (conexion_.ultimaFalla().isEmpty())
        deshacer(QStringLiteral("falla"));
    else
        deshacer(QStringLiteral("falla: ") + conexion_.ultimaFalla());
}

void Transaccion::confirmar() {
    conexion_.confirmarTransaccion();
    abierta_ = false;
}

void Transaccion::deshacer(const QString& motivo) {
    if (!abierta_) return;
    abierta_ = false;
    conexion_.deshacerTransaccion(motivo);
}

}  // namespace db
