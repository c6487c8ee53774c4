// The session's transaction: BEGIN, COMMIT and ROLLBACK as statements and as the driver's
// transaction-manager requests, over the engine's own transaction, and what errors do to it.
#include <QString>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "sesion_tds.h"

using namespace tds;

SesionTds::Fin SesionTds::empezar(Respuesta& r) {
    rowcount_ = 0;
    if (trancount_++ == 0) r.b += CambioTransaccion(kEnvEmpezar, ++descriptor_);
    return Fin::Bien;
}

bool SesionTds::asegurarTransaccion(Respuesta& r) {
    if (trancount_ == 0 || motorEnTransaccion_) return true;
    try {
        motor_->iniciarTransaccion();
    } catch (const std::exception& e) {
        fallo(errorDe(e, QString(), QString()), r);
        return false;
    }
    motorEnTransaccion_ = true;
    return true;
}

SesionTds::Fin SesionTds::confirmar(Respuesta& r, bool siHay) {
    rowcount_ = 0;
    if (trancount_ == 0) {
        if (siHay) return Fin::Bien;
        fallo(ErrorConNumero(3902, 16,
                             QStringLiteral("The COMMIT TRANSACTION request has no corresponding "
                                            "BEGIN TRANSACTION.")),
              r);
        return Fin::Error;
    }
    if (--trancount_ > 0) return Fin::Bien;
    if (motorEnTransaccion_) {
        try {
            motor_->confirmarTransaccion();
        } catch (const std::exception& e) {
            trancount_ = 1;
            return fallo(errorDe(e, QString(), QString()), r) ? Fin::Error : Fin::Alto;
        }
    }
    motorEnTransaccion_ = false;
    r.b += CambioTransaccion(kEnvConfirmar, descriptor_);
    return Fin::Bien;
}

SesionTds::Fin SesionTds::deshacer(Respuesta& r, bool siHay) {
    rowcount_ = 0;
    if (trancount_ == 0) {
        if (siHay) return Fin::Bien;
        fallo(ErrorConNumero(3903, 16,
                             QStringLiteral("The ROLLBACK TRANSACTION request has no "
                                            "corresponding BEGIN TRANSACTION.")),
              r);
        return Fin::Error;
    }
    trancount_ = 0;
    if (motorEnTransaccion_) {
        try {
            motor_->deshacerTransaccion();
        } catch (const std::exception&) {
            // SQLite has already given up the transaction it could not undo.
        }
    }
    motorEnTransaccion_ = false;
    r.b += CambioTransaccion(kEnvDeshacer, descriptor_);
    return Fin::Bien;
}

void SesionTds::transaccion(const PeticionTds& p, Respuesta& r) {
    // The driver's own requests: committing or rolling back nothing is no error for them.
    const Fin fin = p.texto.startsWith(QLatin1String("BEGIN"))      ? empezar(r)
                    : p.texto.startsWith(QLatin1String("COMMIT"))   ? confirmar(r, true)
                    : p.texto.startsWith(QLatin1String("ROLLBACK")) ? deshacer(r, true)
                                                                    : Fin::Bien;
    if (fin == Fin::Bien && p.texto.endsWith(QLatin1String("+BEGIN"))) empezar(r);
    r.hecho(fin == Fin::Bien ? 0 : kHechoError, 0);
}

bool SesionTds::fallo(const ErrorServidor& e, Respuesta& r, const QString& procedimiento) {
    r.error(e, procedimiento);
    if (e.deshaceTransaccion && trancount_ > 0) {
        trancount_ = 0;
        if (motorEnTransaccion_) {
            try {
                motor_->deshacerTransaccion();
            } catch (const std::exception&) {
            }
        }
        motorEnTransaccion_ = false;
        r.b += CambioTransaccion(kEnvDeshacer, descriptor_);
    }
    return !e.terminaLote;
}

ErrorServidor SesionTds::errorDe(const std::exception& e, const QString& sentencia,
                                 const QString& procedimiento) {
    const auto* bd = dynamic_cast<const db::ErrorBD*>(&e);
    if (!bd) return ErrorConNumero(50000, 16, QString::fromLocal8Bit(e.what()));
    Contexto c{sentencia, procedimiento, motor_->manejador(), spid_,
               servidor_.truncadoAntiguo_.load()};
    return ErrorDe(*bd, c);
}
