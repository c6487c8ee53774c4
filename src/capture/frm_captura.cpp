#include "capture/frm_captura.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "batches/frm_relaciones.h"
#include "capture/revisar_version.h"
#include "capture/sentencias_captura.h"
#include "db/error_bd.h"
#include "reception/frm_recepcion.h"
#include "rejections/frm_rechazos.h"
#include "startup/global.h"
#include "tablero/frm_tablero.h"
#include "tracking/frm_rastreo.h"
#include "ui/controles.h"
#include "ui/filtros.h"
#include "ui/lista_personal.h"
#include "ui/pulso_eventos.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

// Fills a list from a read of (number, text): text trimmed and upper-cased, number as item data.
void LlenarLista(QComboBox* lista, db::Recordset& r,
                 const db::Columnas<captura::Catalogo, 2>& columnas) {
    using captura::Catalogo;
    const db::Lectura c(r, columnas);
    PulsoEventos pulso;
    while (!r.eof()) {
        lista->addItem(c.campo(r, Catalogo::Nombre).toString().trimmed().toUpper(),
                       c.campo(r, Catalogo::Clave).toInt());
        pulso();
        r.siguiente();
    }
}

}  // namespace

FrmCaptura::FrmCaptura(QWidget* parent) : QDialog(parent) {
    NombrarVentana(
        this, "FrmCaptura",
        QStringLiteral("Captura de Solicitudes para Verificación Versión 2.2 26 Sep. 2012"),
        BordeVentana::Redimensionable);
    CursorEspera espera;

    TxtPaterno = Caja(this, "TxtPaterno", 30, RectTwips(1440, 240, 2415, 285));
    TxtMaterno = Caja(this, "TxtMaterno", 30, RectTwips(1440, 600, 2415, 285));
    TxtNombre = Caja(this, "TxtNombre", 30, RectTwips(1440, 960, 2415, 285));
    TxtTelefono = Caja(this, "TxtTelefono", 13, RectTwips(1440, 1320, 2415, 285));
    TxtPaternoAval = Caja(this, "TxtPaternoAval", 20, RectTwips(1440, 1680, 2415, 285));
    TxtMaternoAval = Caja(this, "TxtMaternoAval", 20, RectTwips(1440, 2040, 2415, 285));
    TxtNombreAval = Caja(this, "TxtNombreAval", 50, RectTwips(1440, 2400, 2415, 285));
    CmbSucursal = Lista(this, "CmbSucursal", false, RectTwips(5880, 240, 3735, 315));
    Combo1 = Lista(this, "Combo1", true, RectTwips(5880, 600, 3735, 315));
    CmbPromociones = Lista(this, "CmbPromociones", false, RectTwips(5880, 960, 3735, 315));
    TxtDocumento = Caja(this, "TxtDocumento", 20, RectTwips(5880, 1305, 1575, 285));
    TxtImporte = Caja(this, "TxtImporte", 10, RectTwips(5880, 1665, 1575, 285));
    CmdGuardar =
        Boton(this, "CmdGuardar", QStringLiteral("&Guardar"), RectTwips(8040, 1680, 1455, 375));

    Etiqueta(this, "SkinLabel1", QStringLiteral("Apellido Paterno"), RectTwips(120, 240, 1320, 285),
             TxtPaterno);
    Etiqueta(this, "SkinLabel2", QStringLiteral("Apellido Materno"), RectTwips(120, 600, 1320, 285),
             TxtMaterno);
    Etiqueta(this, "SkinLabel3", QStringLiteral("Nombre(s)"), RectTwips(120, 960, 1320, 285),
             TxtNombre);
    Etiqueta(this, "label", QStringLiteral("Teléfono Celular"), RectTwips(120, 1320, 1320, 285),
             TxtTelefono);
    Etiqueta(this, "SkinLabel11", QStringLiteral("A.Paterno Aval"), RectTwips(120, 1680, 1320, 285),
             TxtPaternoAval);
    Etiqueta(this, "SkinLabel10", QStringLiteral("A.Materno Aval"), RectTwips(120, 2040, 1320, 285),
             TxtMaternoAval);
    Etiqueta(this, "SkinLabel9", QStringLiteral("Nombre Aval"), RectTwips(120, 2400, 1320, 285),
             TxtNombreAval);
    Etiqueta(this, "SkinLabel4", QStringLiteral("Sucursal"), RectTwips(4080, 240, 1680, 315),
             CmbSucursal);
    Etiqueta(this, "SkinLabel5", QStringLiteral("Vendedor"), RectTwips(4080, 600, 1680, 315),
             Combo1);
    Etiqueta(this, "SkinLabel7", QStringLiteral("Promoción"), RectTwips(4080, 960, 1680, 315),
             CmbPromociones);
    Etiqueta(this, "SkinLabel8", QStringLiteral("Documento Ticket"),
             RectTwips(4080, 1305, 1680, 285), TxtDocumento);
    Etiqueta(this, "SkinLabel6", QStringLiteral("Importe Solicitado"),
             RectTwips(4080, 1665, 1680, 285), TxtImporte);

    LblFecha =
        Etiqueta(this, "LblFecha", QStringLiteral("Fecha:"), RectTwips(7560, 1320, 2055, 255));

    Frame2 = Marco(this, "Frame2", QStringLiteral("Solicitudes Ingresadas:"),
                   RectTwips(120, 2880, 9735, 3735));
    iSolicitudes = Control<Rejilla>(Frame2, "iSolicitudes", RectTwips(120, 240, 9495, 3375));
    iSolicitudes->setToolTip(QStringLiteral("Doble Click para Eliminar la Solicitud"));
    iSolicitudes->soloLectura(true);
    const QList<QPair<QString, int>> columnas = {
        {QStringLiteral("Solicitud"), 80},       {QStringLiteral("Sucursal"), 160},
        {QStringLiteral("Cliente"), 60},         {QStringLiteral("Nombre Cliente"), 180},
        {QStringLiteral("Importe Sol."), 80},    {QStringLiteral("Vendedor"), 160},
        {QStringLiteral("Cliente Anterior"), 60}};
    for (const auto& [titulo, ancho] : columnas) iSolicitudes->agregarColumna(titulo, ancho);
    iSolicitudes->ponerFormatoColumna(5, FormatoCelda::Importe);
    iSolicitudes->ponerNombreLista(QStringLiteral("Ingresadas"));

    CmdAsignacion = Boton(this, "CmdAsignacion", QStringLiteral("&Relaciones"),
                          RectTwips(6600, 6720, 1575, 375));
    CmdRecepcion =
        Boton(this, "CmdRecepcion", QStringLiteral("R&ecepción"), RectTwips(8160, 6720, 1575, 375));
    CmdRechazadas =
        Boton(this, "CmdRechazadas", QStringLiteral("Rechazos"), RectTwips(1800, 6720, 1695, 375));
    CmdReastrear =
        Boton(this, "CmdReastrear", QStringLiteral("&Rastrear"), RectTwips(120, 6720, 1695, 375));
    Command1 = Boton(this, "Command1", QStringLiteral("Command1"), RectTwips(9120, 2160, 375, 375));
    Command1->setVisible(false);
    // In the gap between "Rechazos" and "&Relaciones"; its letter is free in this window.
    CmdTablero =
        Boton(this, "CmdTablero", QStringLiteral("&Tablero"), RectTwips(3600, 6720, 1695, 375));
    // The screening stays off unless the office turned it on in the settings.
    CmdReastrear->setEnabled(Global::Ajustes.rastreoHabilitado);
    connect(CmdAsignacion, &QPushButton::clicked, this, [this] {
        FrmRelaciones ventana(this);
        Servicios().mostrarModal(ventana);
    });
    connect(CmdRecepcion, &QPushButton::clicked, this, [this] {
        FrmRecepcion ventana(this);
        Servicios().mostrarModal(ventana);
    });
    connect(CmdRechazadas, &QPushButton::clicked, this, [this] {
        FrmRechazos ventana(this);
        Servicios().mostrarModal(ventana);
    });
    connect(CmdReastrear, &QPushButton::clicked, this, [this] {
        FrmRastreo ventana(iSolicitudes, this);
        Servicios().mostrarModal(ventana);
    });
    connect(Command1, &QPushButton::clicked, this, &FrmCaptura::Command1_Click);
    connect(CmdTablero, &QPushButton::clicked, this, [this] {
        FrmTablero ventana(this);
        Servicios().mostrarModal(ventana);
    });

    QWidget* orden[] = {TxtPaterno,     TxtMaterno,    TxtNombre,    TxtTelefono,  TxtPaternoAval,
                        TxtMaternoAval, TxtNombreAval, CmbSucursal,  Combo1,       CmbPromociones,
                        TxtDocumento,   TxtImporte,    CmdGuardar,   iSolicitudes, CmdAsignacion,
                        CmdRecepcion,   CmdRechazadas, CmdReastrear, Command1,     CmdTablero};
    for (size_t i = 1; i < std::size(orden); ++i) setTabOrder(orden[i - 1], orden[i]);

    for (QLineEdit* c :
         {TxtPaterno, TxtMaterno, TxtNombre, TxtPaternoAval, TxtMaternoAval, TxtNombreAval})
        InstalarFiltroTexto(c);
    for (QLineEdit* c : {TxtTelefono, TxtDocumento, TxtImporte}) InstalarFiltroNumerico(c);
    TxtPaterno->installEventFilter(this);
    Combo1->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FrmCaptura::CambioDeFoco);
    PrepararVendedores();
    connect(CmdGuardar, &QPushButton::clicked, this, &FrmCaptura::CmdGuardar_Click);
    connect(iSolicitudes, &Rejilla::dobleClic, this, &FrmCaptura::iSolicitudes_DobleClic);
    // Delete on a row asks the same question as the double-click.
    connect(iSolicitudes, &Rejilla::teclaSuprimir, this, &FrmCaptura::iSolicitudes_DobleClic);

    // Down to the upper half whole and a few rows of the grid.
    const QSize minimo(
        std::max(CmbSucursal->geometry().right(), CmdGuardar->geometry().right()) + 1 + 8,
        Frame2->y() + 150 + 8 + 25 + 8);
    AnclarControles(this, QSize(Pixeles(9930), Pixeles(7185)), minimo,
                    {{Frame2, AnclaTodas},
                     {iSolicitudes, AnclaTodas},
                     {CmdReastrear, AnclaIzquierda | AnclaAbajo},
                     {CmdRechazadas, AnclaIzquierda | AnclaAbajo},
                     {CmdTablero, AnclaIzquierda | AnclaAbajo},
                     {CmdAsignacion, AnclaDerecha | AnclaAbajo},
                     {CmdRecepcion, AnclaDerecha | AnclaAbajo}});
    PrepararVentana(this, 9930, 7185);
    CargarListas();
    Global::VersionPrograma = 3.0f;
    continuar_ = RevisarVersion(this);
    TxtPaterno->setFocus();
}

void FrmCaptura::CargarListas() {
    using Global::CadenaSql;
    CursorEspera espera;
    try {
        CadenaSql = captura::SentenciaSucursales(Global::CentroDistribucion);
        Global::Registros.abrir(CadenaSql, Global::Conexion);
        LlenarLista(CmbSucursal, Global::Registros, captura::kColumnasSucursales);
        Global::Registros.cerrar();

        CadenaSql = captura::SentenciaPromociones();
        Global::Registros.abrir(CadenaSql, Global::Conexion);
        LlenarLista(CmbPromociones, Global::Registros, captura::kColumnasPromociones);
        Global::Registros.cerrar();

        LlenarListaPersonal(Combo1, personal::Rol::Vendedor, Global::CentroDistribucion,
                            Global::Conexion, Global::Registros2, Global::CadenaSql);
    } catch (const db::ErrorBD& e) {
        Global::Registros.cerrar();
        Global::Registros2.cerrar();
        MensajeErrorBD(e);
    }
    // No item is pre-selected.
    CmbSucursal->setCurrentIndex(-1);
    CmbPromociones->setCurrentIndex(-1);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
}

QString FrmCaptura::direccionMapa() const {
    return QStringLiteral("http://") + Global::Ajustes.mapaHost +
           QStringLiteral("/maps?f=q&hl=en&geocode=&q=28.6702%20-106.0802");
}

void FrmCaptura::Command1_Click() { Servicios().abrirDireccion(direccionMapa()); }

void FrmCaptura::keyPressEvent(QKeyEvent* evento) {
    // Escape must not close the hub and end the program; the close box does that.
    if (evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void FrmCaptura::done(int resultado) {
    if (continuar_ && Global::CambiosPendientes) {
        if (!Preguntar(QStringLiteral("Se Dispone a Salir sin Guardar los Cambios, esta seguro?"),
                       QStringLiteral("Descartar Cambios"), false))
            return;
        Global::CambiosPendientes = false;
    }
    Global::Desconectar();
    QDialog::done(resultado);
}
