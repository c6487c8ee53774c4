#include "capture/frm_clientes_encontrados.h"

#include <QGroupBox>
#include <QPushButton>

#include "capture/sentencias_captura.h"
#include "db/error_bd.h"
#include "startup/global.h"
#include "ui/controles.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

const QColor ColorImpares(255, 255, 200);
const QColor ColorPares(255, 255, 255);

// The lists of this window are for reading: whole rows are picked, nothing is edited.
void PrepararLista(Rejilla* rejilla) { rejilla->soloLectura(true); }

}  // namespace

FrmClientes_Encontrados::FrmClientes_Encontrados(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmClientes_Encontrados", QStringLiteral("Clientes Localizados"),
                   BordeVentana::Maximizable);
    CursorEspera espera;

    Frame1 = Marco(this, "Frame1", QStringLiteral("Posibles Homonimos del Cliente:"),
                   RectTwips(120, 120, 10560, 2880));
    iClientes = Control<Rejilla>(Frame1, "iClientes", RectTwips(120, 300, 10320, 2460));
    iClientes->setToolTip(
        QStringLiteral("Doble Click o Enter para Registrar la Solicitud a este Cliente"));
    PrepararLista(iClientes);
    iClientes->ponerNombreLista(QStringLiteral("Homónimos"));

    Frame2 = Marco(this, "Frame2", QStringLiteral("Solicitudes de Verificación del Cliente:"),
                   RectTwips(120, 3120, 10560, 3360));
    iVerificaciones = Control<Rejilla>(Frame2, "iVerificaciones", RectTwips(120, 300, 10320, 2940));
    PrepararLista(iVerificaciones);
    iVerificaciones->ponerNombreLista(QStringLiteral("Verificaciones"));

    CmdRegistrar = Boton(this, "CmdRegistrar", QStringLiteral("&Registrar de Nuevo"),
                         RectTwips(8280, 6600, 2400, 375));

    setTabOrder(iClientes, iVerificaciones);
    setTabOrder(iVerificaciones, CmdRegistrar);

    connect(iClientes, &Rejilla::celdaActualCambiada, this,
            &FrmClientes_Encontrados::iClientes_CeldaActualCambiada);
    connect(iClientes, &Rejilla::dobleClic, this, &FrmClientes_Encontrados::iClientes_DobleClic);
    connect(CmdRegistrar, &QPushButton::clicked, this,
            &FrmClientes_Encontrados::CmdRegistrar_Click);
    // Enter on a customer's row picks him as a double-click does.
    iClientes->ponerEnterComoDobleClic(true);

    // Down to the customers' list whole in height and a few rows of the applications.
    const int margen = 8;
    const QSize minimo(
        std::max(320, CmdRegistrar->width() + 2 * margen),
        Frame2->y() + iVerificaciones->y() + 100 + 3 * margen + CmdRegistrar->height());
    AnclarControles(this, QSize(Pixeles(10800), Pixeles(7200)), minimo,
                    {{Frame1, AnclaIzquierda | AnclaArriba | AnclaDerecha},
                     {iClientes, AnclaIzquierda | AnclaArriba | AnclaDerecha},
                     {Frame2, AnclaTodas},
                     {iVerificaciones, AnclaTodas},
                     {CmdRegistrar, AnclaDerecha | AnclaAbajo}});
    PrepararVentana(this, 10800, 7200);
    CargarClientes();
    iClientes->setFocus();
}

void FrmClientes_Encontrados::CargarClientes() {
    using Global::CadenaSql;
    CursorEspera espera;
    cargando_ = true;
    iClientes->quitarFilas();
    try {
        CadenaSql = captura::SentenciaClientes(Global::NombreCompleto);
        Global::Registros2.abrir(CadenaSql, Global::Conexion);
        iClientes->quitarFilasYColumnas();
        iClientes->llenar(Global::Registros2);
        Global::Registros2.cerrar();
        columnaCliente_ = iClientes->buscarColumna(
            db::Alias(captura::kColumnasClientes, captura::Clientes::Cliente));
    } catch (const db::ErrorBD& e) {
        Global::Registros2.cerrar();
        cargando_ = false;
        // The clerk can still register the customer anew.
        MensajeErrorBD(e);
        return;
    }
    for (int c = 1; c <= 5; ++c) iClientes->ajustarAncho(c);
    iClientes->ponerBusquedaPorTecleo(true);
    iClientes->ponerColumnaBusqueda(
        iClientes->buscarColumna(db::Alias(captura::kColumnasClientes, captura::Clientes::Nombre)));
    iClientes->ponerColoresAlternos(ColorImpares, ColorPares);

    Frame1->setTitle(QStringLiteral("Clientes Localizados:") +
                     QString::number(iClientes->numeroFilas()));

    if (iClientes->numeroFilas() == 1) {
        // The only customer is already the one being looked at: Enter picks him at once.
        iClientes->ponerCeldaActual(1, 1);
        cargando_ = false;
        CargarVerificaciones(ClienteDeFila(1));
    } else {
        // No row is current until the clerk moves to one; otherwise the grid would take the
        // first row as current on getting the keyboard, and show its applications unasked.
        iClientes->setCurrentIndex(QModelIndex());
        cargando_ = false;
    }
}

void FrmClientes_Encontrados::CargarVerificaciones(double cliente) {
    using Global::CadenaSql;
    CursorEspera espera;
    iVerificaciones->quitarFilas();
    try {
        CadenaSql = captura::SentenciaVerificaciones(cliente);
        Global::Registros2.abrir(CadenaSql, Global::Conexion);
        iVerificaciones->quitarFilasYColumnas();
        iVerificaciones->llenar(Global::Registros2);
        Global::Registros2.cerrar();
    } catch (const db::ErrorBD& e) {
        Global::Registros2.cerrar();
        MensajeErrorBD(e);
        return;
    }
    for (int c = 1; c <= 9; ++c) iVerificaciones->ajustarAncho(c);
    iVerificaciones->ponerColoresAlternos(ColorImpares, ColorPares);
}

void FrmClientes_Encontrados::iClientes_CeldaActualCambiada(int fila, int) {
    if (cargando_ || fila < 1) return;
    CargarVerificaciones(ClienteDeFila(fila));
}

void FrmClientes_Encontrados::iClientes_DobleClic(int fila, int) {
    if (fila < 1 || fila > iClientes->numeroFilas()) return;
    Global::ClienteNuevo = false;
    Global::NumeroCliente = ClienteDeFila(fila);
    accept();
}

double FrmClientes_Encontrados::ClienteDeFila(int fila) const {
    return iClientes->valor(fila, columnaCliente_).toDouble();
}

void FrmClientes_Encontrados::CmdRegistrar_Click() {
    Global::ClienteNuevo = true;
    accept();
}
