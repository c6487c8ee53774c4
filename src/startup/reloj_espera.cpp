#include "startup/reloj_espera.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace Global {

void MostrarRelojAlEsperar(bool esperando) {
    // Without windows (the demo writer) there is no pointer to change.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (esperando)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

bool AtenderVentanasAlTrabajar() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return false;
}

}  // namespace Global
