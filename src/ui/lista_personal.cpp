#include "ui/lista_personal.h"

#include <QComboBox>
#include <QCoreApplication>

#include "db/sql.h"
#include "startup/global.h"
#include "ui/pulso_eventos.h"

void LlenarListaPersonal(QComboBox* lista, const QString& condicion) {
    db::Recordset& r = Global::Registros2;
    Global::CadenaSql = QStringLiteral("SELECT p.persona,p.apellidos,p.nombres from personal p  ") +
                        QStringLiteral("JOIN  sucursales s on s.sucursal=p.sucursal  ") +
                        QStringLiteral("WHERE s.centro_distribucion='") +
                        db::EscaparComillas(Global::CentroDistribucion) + QStringLiteral("'  ") +
                        condicion + QStringLiteral("ORDER BY 2,3  ");
    r.abrir(Global::CadenaSql, Global::Conexion);
    PulsoEventos pulso;
    while (!r.eof()) {
        lista->addItem((r.campo(1).toString().trimmed() + QLatin1Char(' ') + r.campo(2).toString().trimmed())
                           .toUpper(),
                       r.campo(0).toString().trimmed().toInt());
        // The window keeps repainting while a long list loads.
        pulso();
        r.siguiente();
    }
    r.cerrar();
}
