#include "batches/frm_relaciones.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "batches/frm_reporte.h"
#include "batches/sentencias_relaciones.h"
#include "db/columnas.h"
#include "db/comando.h"
#include "db/error_bd.h"
#include "db/solicitud_actual.h"
#include "db/sql.h"
#include "db/transaccion.h"
#include "startup/global.h"
#include "ui/controles.h"
#include "ui/lista_personal.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/valor_celda.h"
#include "ui/ventana.h"

namespace {

constexpr int ColumnaAgregar = 5;
const QColor ColorAsignada(0, 255, 0);
const QColor ColorImpares(255, 255, 200);
const QColor ColorPares(255, 255, 255);

}  // namespace

FrmRelaciones::FrmRelaciones(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmRelaciones", QStringLiteral("Relaciones de Verificación"));
    CursorEspera espera;

    Frame2 = Marco(this, "Frame2", QStringLiteral("Solicitudes Pendientes:"),
                   RectTwips(120, 0, 9015, 4815));
    // The labels reach a little further than in the design, towards their control, so the
    // desktop's font, wider than the one the window was drawn with, does not cut them.
    SkinLabel1 = Etiqueta(Frame2, "SkinLabel1", QStringLiteral("Verificador"),
                          RectTwips(60, 270, 1005, 255));
    CmbVerificadores = Lista(Frame2, "CmbVerificadores", false, RectTwips(1080, 240, 3375, 315));
    SkinLabel1->setBuddy(CmbVerificadores);
    SkinLabel2 = Etiqueta(Frame2, "SkinLabel2", QStringLiteral("Fecha Relación"),
                          RectTwips(5640, 300, 1725, 255));
    SkinLabel2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The date pickers as wide as the first of the list, so a whole date shows in each.
    DtpFecha = Control<SelectorFecha>(Frame2, "DtpFecha", RectTwips(7440, 240, 1455, 375));
    // The batch's date is the server's; this one only shows the day.
    DtpFecha->setReadOnly(true);
    DtpFecha->setFocusPolicy(Qt::NoFocus);
    DtpFecha->setButtonSymbols(QAbstractSpinBox::NoButtons);
    DtpFecha->setCalendarPopup(false);
    ISolicitudes = Control<Rejilla>(Frame2, "ISolicitudes", RectTwips(120, 720, 8775, 3495));
    CmdGuardar =
        Boton(Frame2, "CmdGuardar", QStringLiteral("&Guardar"), RectTwips(7560, 4320, 1335, 375));
    CmdGuardar->setEnabled(false);

    Frame1 = Marco(this, "Frame1", QStringLiteral("Impresión de Relaciones:"),
                   RectTwips(120, 4800, 9015, 3375));
    SkinLabel4 = Etiqueta(Frame1, "SkinLabel4", QStringLiteral("Relaciones del"),
                          RectTwips(600, 300, 1725, 255));
    SkinLabel4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DtpFecha1 = Control<SelectorFecha>(Frame1, "DtpFecha1", RectTwips(2400, 240, 1455, 375));
    SkinLabel4->setBuddy(DtpFecha1);
    SkinLabel3 = Etiqueta(Frame1, "SkinLabel3", QStringLiteral("Relaciones al"),
                          RectTwips(3900, 300, 1185, 255));
    SkinLabel3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DtpFecha2 = Control<SelectorFecha>(Frame1, "DtpFecha2", RectTwips(5160, 240, 1455, 375));
    SkinLabel3->setBuddy(DtpFecha2);
    CmdConsultar = Boton(Frame1, "CmdConsultar", QStringLiteral("&Consultar"),
                         RectTwips(7680, 240, 1215, 375));
    iRelaciones = Control<Rejilla>(Frame1, "iRelaciones", RectTwips(120, 720, 8775, 2415));
    iRelaciones->setToolTip(QStringLiteral("Doble Click para Imprimir Relación"));
    iRelaciones->ponerNombreLista(QStringLiteral("Relaciones"));
    ISolicitudes->ponerNombreLista(QStringLiteral("Pendientes"));
    iRelaciones->soloLectura(true);
    iRelaciones->ponerEnterComoDobleClic(true);

    QWidget* orden[] = {CmbVerificadores, ISolicitudes, CmdGuardar, DtpFecha1,
                        DtpFecha2,        CmdConsultar, iRelaciones};
    for (size_t i = 1; i < std::size(orden); ++i) setTabOrder(orden[i - 1], orden[i]);

    CmbVerificadores->installEventFilter(this);
    connect(CmdGuardar, &QPushButton::clicked, this, &FrmRelaciones::CmdGuardar_Click);
    connect(CmdConsultar, &QPushButton::clicked, this, &FrmRelaciones::ConsultarRelaciones);
    connect(ISolicitudes, &Rejilla::solicitudEdicion, this,
            [](int fila, int columna, bool& cancelar) {
                // Only the "Agregar" tick is the user's to change.
                if (fila > 0 && columna >= 1 && columna < ColumnaAgregar) cancelar = true;
            });
    connect(iRelaciones, &Rejilla::dobleClic, this,
            [this](int fila, int) { iRelaciones_DblClick(fila); });

    PrepararPendientes();
    const QDate hoy = QDate::currentDate();
    DtpFecha->ponerFecha(hoy);
    DtpFecha1->ponerFecha(hoy.addDays(-5));
    DtpFecha2->ponerFecha(hoy);
    PrepararVentana(this, 9195, 8175);
    CargarVerificadores();
    CargarPendientes();
    CmbVerificadores->setFocus();
}

void FrmRelaciones::PrepararPendientes() {
    ISolicitudes->quitarFilasYColumnas();
    ISolicitudes->agregarColumna(QStringLiteral("Solicitud"), 70);
    ISolicitudes->agregarColumna(QStringLiteral("Sucursal"), 150);
    ISolicitudes->agregarColumna(QStringLiteral("Fecha Recepcion"), 90);
    ISolicitudes->agregarColumna(QStringLiteral("Cliente"), 200);
    ISolicitudes->agregarColumna(QStringLiteral("Agregar"), 50);
    ISolicitudes->ponerColoresAlternos(ColorImpares, ColorPares);
    ISolicitudes->ponerTipoColumna(ColumnaAgregar, TipoCelda::Casilla);
    // Editable so that the tick is the user's; the edit request refuses every other column.
    ISolicitudes->soloLectura(false);
}

void FrmRelaciones::CargarVerificadores() {
    CursorEspera espera;
    try {
        LlenarListaPersonal(CmbVerificadores, personal::Rol::Verificador,
                            Global::CentroDistribucion, Global::Conexion, Global::Registros2,
                            Global::CadenaSql);
    } catch (const db::ErrorBD& e) {
        Global::Registros2.cerrar();
        MensajeErrorBD(e);
    }
    CmbVerificadores->setCurrentIndex(-1);
}

void FrmRelaciones::CargarPendientes() {
    CursorEspera espera;
    db::Recordset& r = Global::Registros2;
    Global::CadenaSql = relaciones::SentenciaPendientes(Global::CentroDistribucion);
    bool abierta = false;
    try {
        // The rows straight from the result into the window's columns, in one change of the
        // list; branch and customer without the blanks around them.
        CargarLista(ISolicitudes, [&] {
            r.abrir(Global::CadenaSql, Global::Conexion);
            abierta = true;
            using relaciones::Pendiente;
            const db::Lectura c(r, relaciones::kColumnasPendientes);
            std::vector<ModeloRejilla::Destino> destinos(size_t(r.numeroCampos()));
            destinos[size_t(c[Pendiente::Solicitud])] = {1, nullptr};
            destinos[size_t(c[Pendiente::Sucursal])] = {2, &TextoDeCelda};
            destinos[size_t(c[Pendiente::Fecha])] = {3, nullptr};
            destinos[size_t(c[Pendiente::Cliente])] = {4, &TextoDeCelda};
            ISolicitudes->llenarColumnas(r, destinos);
        });
        ContadorFilas = ISolicitudes->numeroFilas();
        r.cerrar();
        for (int c = 1; c < ColumnaAgregar; ++c) ISolicitudes->ensancharAlContenido(c);
    } catch (const db::ErrorBD& e) {
        r.cerrar();
        // A search that could not start leaves no list; one that failed halfway, what it read.
        if (!abierta) ISolicitudes->quitarFilas();
        ContadorFilas = ISolicitudes->numeroFilas();
        MensajeErrorBD(e);
    }
}

bool FrmRelaciones::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == CmbVerificadores && evento->type() == QEvent::FocusOut) {
        // Leaving the list for another control of the window; its own drop-down or another
        // application taking the keyboard is not leaving it.
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason)
            CmbVerificadores_LostFocus();
    }
    return QDialog::eventFilter(objeto, evento);
}

void FrmRelaciones::CmbVerificadores_LostFocus() {
    const int indice = CmbVerificadores->currentIndex();
    if (indice < 0) return;
    CursorEspera espera;
    db::Recordset& r = Global::Registros;
    // The list keeps the key only as a number; this reads it back exactly as stored.
    Global::CadenaSql = personal::SentenciaClave(CmbVerificadores->itemData(indice).toInt());
    try {
        r.abrir(Global::CadenaSql, Global::Conexion);
        if (!(r.bof() && r.eof())) {
            ClavePersona = db::Lectura(r, personal::kColumnasClave)
                               .campo(r, personal::Clave::Persona)
                               .toString();
            CmdGuardar->setEnabled(true);
        }
        r.cerrar();
    } catch (const db::ErrorBD& e) {
        r.cerrar();
        MensajeErrorBD(e);
    }
}

void FrmRelaciones::CmdGuardar_Click() {
    // A batch with no application helps nobody, and its report would be an empty sheet.
    bool marcada = false;
    for (int fila = 1; fila <= ISolicitudes->numeroFilas() && !marcada; ++fila)
        marcada = CeldaMarcada(ISolicitudes->valor(fila, ColumnaAgregar));
    if (!marcada) {
        MensajeInformacion(QStringLiteral("No hay solicitudes marcadas en \"Agregar\": marque las "
                                          "que se entregan al verificador y guarde de nuevo."),
                           QStringLiteral("Alta Verificación"));
        return;
    }
    if (!Preguntar(
            QStringLiteral("Se Dispone a Generar una Relación de Verificación, Esta Seguro?"),
            QStringLiteral("Alta Verificación"), true))
        return;
    if (!GuardarRelacion()) return;
    MensajeInformacion(
        QStringLiteral("Relación de Solicitudes Generada ") +
            QString::number(static_cast<qlonglong>(std::llround(Global::NumeroRelacion))),
        QStringLiteral("Asignación de Solicitudes"));
    CmdGuardar->setEnabled(false);
    CargarPendientes();
    Global::TipoReporte = 1;
    AbrirReporte();
}

bool FrmRelaciones::GuardarRelacion() {
    QList<int> pintadas;
    auto despintar = [&] {
        for (int fila : pintadas)
            for (int c = 1; c <= ISolicitudes->numeroColumnas(); ++c)
                ISolicitudes->ponerColorFondo(fila, c, QColor());
    };
    try {
        CursorEspera espera;
        // The header, its number and every line land together or not at all: a batch without
        // its lines, or applications attached to a batch that is not there, help nobody.
        db::Transaccion transaccion(Global::Conexion);
        Global::Conexion.ejecutar(
            relaciones::SentenciaAlta(Global::CentroDistribucion, ClavePersona));

        db::Comando comando(Global::Conexion, QStringLiteral("REGRESA_FOLIO"));
        comando.agregarParametro(QStringLiteral("@Nfolio"), db::TipoParametro::Integer,
                                 db::Direccion::Salida, 8);
        comando.ejecutar();
        const QVariant folio = comando.parametro(QStringLiteral("@nfolio"));
        if (folio.isNull() || folio.toDouble() == 0) {
            transaccion.deshacer(QStringLiteral("REGRESA_FOLIO no dio número de relación"));
            Global::NumeroRelacion = 0;
            MensajeError(QStringLiteral("Error Grave, sin folio de inserción, repita la operación"),
                         QStringLiteral("Error"));
            return false;
        }
        Global::NumeroRelacion = folio.toDouble();
        const qint64 numero = db::EnteroDe(folio);

        QList<long long> tomadas;
        for (int fila = 1; fila <= ISolicitudes->numeroFilas(); ++fila) {
            if (!CeldaMarcada(ISolicitudes->valor(fila, ColumnaAgregar))) continue;
            const qint64 solicitud = db::EnteroDe(ISolicitudes->valor(fila, 1));
            Global::Conexion.ejecutar(relaciones::SentenciaLinea(numero, solicitud));
            // Still pending as the list showed it, tested by the write itself: of two stations
            // saving the same application, only one changes its row.
            const long long cambiadas =
                Global::Conexion.ejecutar(relaciones::SentenciaAsignar(numero, solicitud));
            if (cambiadas != 1) {
                tomadas << solicitud;
                continue;
            }
            pintadas << fila;
            for (int c = 1; c <= ISolicitudes->numeroColumnas(); ++c)
                ISolicitudes->ponerColorFondo(fila, c, ColorAsignada);
        }
        if (!tomadas.isEmpty()) {
            QStringList numeros;
            for (long long t : tomadas) numeros << QString::number(t);
            transaccion.deshacer(QStringLiteral("otra estación cambió las solicitudes ") +
                                 numeros.join(QStringLiteral(", ")));
            Global::NumeroRelacion = 0;
            despintar();
            AvisarTomadas(tomadas);
            return false;
        }
        const QString buscar = relaciones::SentenciaExisteRelacion(numero);
        transaccion.confirmar([&] { return Global::Conexion.consultar(buscar)->siguiente(); });
        return true;
    } catch (const db::ErrorBD& e) {
        // Whatever failed, nothing of the batch stays and the user may press "&Guardar" again.
        Global::NumeroRelacion = 0;
        despintar();
        MensajeErrorBD(e);
        return false;
    }
}

void FrmRelaciones::AvisarTomadas(const QList<long long>& tomadas) {
    QStringList lineas;
    try {
        for (long long solicitud : tomadas)
            lineas << QStringLiteral("- ") +
                          db::DescribirSolicitud(
                              solicitud, db::LeerSolicitudActual(Global::Conexion, solicitud));
    } catch (const db::ErrorBD&) {
        for (long long solicitud : tomadas)
            lineas << QStringLiteral("- Solicitud %1").arg(solicitud);
    }
    MensajeError(QStringLiteral("No se generó la relación: otra estación cambió estas solicitudes "
                                "después de que se cargó la lista.\n") +
                     lineas.join(QLatin1Char('\n')) +
                     QStringLiteral("\nLa lista de pendientes se cargó de nuevo; marque otra vez "
                                    "las solicitudes y guarde."),
                 QStringLiteral("Relación no Generada"));
    CargarPendientes();
}

void FrmRelaciones::ConsultarRelaciones() {
    CursorEspera espera;
    db::Recordset& r = Global::Registros2;
    Global::CadenaSql = relaciones::SentenciaRelaciones(Global::CentroDistribucion,
                                                        DtpFecha1->fecha(), DtpFecha2->fecha());
    try {
        CargarLista(iRelaciones, [&] {
            r.abrir(Global::CadenaSql, Global::Conexion);
            iRelaciones->soloLectura(true);
            iRelaciones->llenar(r);
        });
        columnaRelacion_ = iRelaciones->buscarColumna(
            db::Alias(relaciones::kColumnasRelaciones, relaciones::Lista::Relacion));
        for (int c = 1; c <= 5; ++c) iRelaciones->ajustarAncho(c);
        iRelaciones->ponerColoresAlternos(ColorImpares, ColorPares);
        Frame1->setTitle(QStringLiteral("Impresión de Relaciones: Localizadas:") +
                         QString::number(iRelaciones->numeroFilas()));
        r.cerrar();
    } catch (const db::ErrorBD& e) {
        r.cerrar();
        MensajeErrorBD(e);
    }
}

void FrmRelaciones::iRelaciones_DblClick(int fila) {
    if (fila < 1) return;
    bool ok = false;
    const double numero = iRelaciones->valor(fila, columnaRelacion_).toDouble(&ok);
    if (!ok) return;
    Global::NumeroRelacion = numero;
    Global::TipoReporte = 1;
    AbrirReporte();
}

void FrmRelaciones::AbrirReporte() {
    FrmReporte reporte(this);
    Servicios().mostrarModal(reporte);
}
