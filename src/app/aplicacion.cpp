#include "app/aplicacion.h"

#include <exception>

#include "db/error_bd.h"
#include "ui/servicios.h"

Aplicacion::Aplicacion(int& argc, char** argv) : QApplication(argc, argv) {}

bool Aplicacion::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const db::ErrorBD& e) {
        MensajeErrorBD(e);
    } catch (const std::exception& e) {
        MensajeError(QStringLiteral("Ocurrió un error inesperado; la operación no se completó. "
                                    "Avise a soporte con este detalle.\nDetalle: ") +
                         QString::fromLocal8Bit(e.what()),
                     QStringLiteral("Error"));
    }
    return true;
}
