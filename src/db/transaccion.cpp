#include "db/transaccion.h"

#include <exception>

#include "db/conexion.h"
#include "db/error_bd.h"

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

void Transaccion::confirmar(const std::function<bool()>& quedoGuardado) {
    try {
        confirmar();
    } catch (const ErrorBD& e) {
        if (e.tipo() != TipoFalla::ConexionPerdida) throw;
        abierta_ = false;
        conexion_.deshacerTransaccion(QStringLiteral("se perdió la conexión al confirmar"));
        bool guardado = false;
        try {
            guardado = quedoGuardado();
        } catch (const ErrorBD&) {
            throw e;
        }
        if (guardado) return;
        throw ErrorBD(TipoFalla::ConexionPerdida,
                      QStringLiteral("Se perdió la conexión con el servidor de base de datos al "
                                     "confirmar lo que se guardaba, y no quedó guardado nada. "
                                     "Vuelva a intentarlo: el programa ya se conectó de nuevo."),
                      e.textoMotor(), e.codigoNativo());
    }
}

void Transaccion::deshacer(const QString& motivo) {
    if (!abierta_) return;
    abierta_ = false;
    conexion_.deshacerTransaccion(motivo);
}

}  // namespace db
