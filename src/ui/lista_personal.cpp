#include "ui/lista_personal.h"

#include <QComboBox>
#include <QCoreApplication>

#include "db/conexion.h"
#include "db/recordset.h"
#include "db/sql.h"
#include "ui/pulso_eventos.h"

namespace personal {

QString SentenciaLista(const QString& centro, Rol rol) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasLista, ",") +
           QStringLiteral(" from personal p  ") +
           QStringLiteral("JOIN  sucursales s on s.sucursal=p.sucursal  ") +
           QStringLiteral("WHERE s.centro_distribucion=") + db::Texto(centro) +
           QStringLiteral("  ") +
           (rol == Rol::Vendedor ? QStringLiteral("AND   p.es_vendedor = 1  ")
                                 : QStringLiteral("AND   p.es_verificador=1  ")) +
           QStringLiteral("ORDER BY 2,3  ");
}

QString SentenciaClave(qint64 persona) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasClave, ",") +
           QStringLiteral(" FROM personal WHERE Persona=") + db::Entero(persona) +
           QStringLiteral(" ");
}

}  // namespace personal

void LlenarListaPersonal(QComboBox* lista, personal::Rol rol, const QString& centro,
                         db::Conexion& conexion, db::Recordset& r, QString& cadenaSql) {
    using personal::Lista;
    cadenaSql = personal::SentenciaLista(centro, rol);
    r.abrir(cadenaSql, conexion);
    const db::Lectura columnas(r, personal::kColumnasLista);
    PulsoEventos pulso;
    while (!r.eof()) {
        lista->addItem((columnas.campo(r, Lista::Apellidos).toString().trimmed() +
                        QLatin1Char(' ') + columnas.campo(r, Lista::Nombres).toString().trimmed())
                           .toUpper(),
                       columnas.campo(r, Lista::Persona).toString().trimmed().toInt());
        // The window keeps repainting while a long list loads.
        pulso();
        r.siguiente();
    }
    r.cerrar();
}
