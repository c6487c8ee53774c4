#include "reception/frm_recepcion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

#include "db/error_bd.h"
#include "db/sql.h"
#include "db/transaccion.h"
#include "reception/celdas_recepcion.h"
#include "reception/sentencias_recepcion.h"
#include "startup/global.h"
#include "ui/controles.h"
#include "ui/lista_personal.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/valor_celda.h"
#include "ui/ventana.h"

using namespace recepcion;

namespace {

const QString Todos = QStringLiteral("* Todos *");
const QString Entregada = QStringLiteral("Entregada");

// Where the search's columns go in the grid; all but the first three come trimmed, the dates
// as the text the grid shows. Grid column 13, the row's mark, is not filled from it.
struct EnRejilla {
    Busqueda busqueda;
    int columna;
    bool recortar;
};
constexpr EnRejilla kEnRejilla[] = {
    {Busqueda::Relacion, ColRelacion, false},
    {Busqueda::Solicitud, ColSolicitud, false},
    {Busqueda::Sucursal, ColSucursal, false},
    {Busqueda::Verificador, ColVerificador, true},
    {Busqueda::FechaRecepcion, ColFechaEnvio, true},
    {Busqueda::FechaVerificacion, ColFechaRevision, true},
    {Busqueda::Cliente, ColCliente, true},
    {Busqueda::NombreCliente, ColNombreCliente, true},
    {Busqueda::Estado, ColEstado, true},
    {Busqueda::Linea, ColLineaCredito, true},
    {Busqueda::Tipo, ColTipoVerificacion, true},
    {Busqueda::Comentarios, ColComentarios, true},
    {Busqueda::Recomienda, ColRecomendacion, true},
};

// The fields of a line the save's guard reads (Leidas), kept as read: only these.
constexpr Busqueda kGuardadas[] = {
    Busqueda::Relacion, Busqueda::Solicitud,   Busqueda::Estado,     Busqueda::Tipo,
    Busqueda::Linea,    Busqueda::Comentarios, Busqueda::Recomienda, Busqueda::FechaVerificacion};

}  // namespace

FrmRecepcion::FrmRecepcion(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmRecepcion", QStringLiteral("Recepción de Relaciones de Verificación"),
                   BordeVentana::Redimensionable);
    CursorEspera espera;

    Frame1 = Marco(this, "Frame1", QStringLiteral("Busqueda Relaciones:"),
                   RectTwips(120, 60, 13140, 6780));
    SkinLabel3 = Etiqueta(Frame1, "SkinLabel3", QStringLiteral("Verificador"),
                          RectTwips(240, 330, 1000, 285));
    CmbVerificadores = Lista(Frame1, "CmbVerificadores", false, RectTwips(1260, 300, 3600, 315));
    SkinLabel3->setBuddy(CmbVerificadores);
    SkinLabel1 = Etiqueta(Frame1, "SkinLabel1", QStringLiteral("Relaciones del"),
                          RectTwips(5040, 330, 1380, 285));
    DtpFecha1 = Control<SelectorFecha>(Frame1, "DtpFecha1", RectTwips(6480, 300, 1650, 315));
    SkinLabel1->setBuddy(DtpFecha1);
    SkinLabel2 =
        Etiqueta(Frame1, "SkinLabel2", QStringLiteral("al"), RectTwips(8250, 330, 300, 285));
    DtpFecha2 = Control<SelectorFecha>(Frame1, "DtpFecha2", RectTwips(8580, 300, 1650, 315));
    SkinLabel2->setBuddy(DtpFecha2);
    CmdConsultar = Boton(Frame1, "CmdConsultar", QStringLiteral("&Consultar"),
                         RectTwips(10440, 270, 1455, 375));
    ISolicitudes = Control<Rejilla>(Frame1, "ISolicitudes", RectTwips(120, 780, 12900, 5880));

    ChkBuscador = Control<QCheckBox>(this, "ChkBuscador", RectTwips(240, 7020, 1200, 285),
                                     QStringLiteral("&Buscador"));
    LblNombre =
        Etiqueta(this, "LblNombre", QStringLiteral("Cliente:"), RectTwips(1560, 7020, 6960, 285));
    CmdCambiar = Boton(this, "CmdCambiar", QStringLiteral("&Remover de Relación"),
                       RectTwips(8640, 6960, 2355, 375));
    CmdGuardar =
        Boton(this, "CmdGuardar", QStringLiteral("&Guardar"), RectTwips(11160, 6960, 2100, 375));

    CmdConsultar->setEnabled(false);
    CmdGuardar->setEnabled(false);

    QWidget* orden[] = {CmbVerificadores, DtpFecha1,   DtpFecha2,  CmdConsultar,
                        ISolicitudes,     ChkBuscador, CmdCambiar, CmdGuardar};
    for (size_t i = 1; i < std::size(orden); ++i) setTabOrder(orden[i - 1], orden[i]);

    ArmarRejilla();
    // Down to the search row whole and a few rows of the grid.
    const int margen = 8;
    const QSize minimo(
        std::max(Frame1->x() + CmdConsultar->geometry().right() + 1 + margen,
                 LblNombre->x() + 40 + CmdCambiar->width() + CmdGuardar->width() + 2 * margen) +
            margen,
        Frame1->y() + ISolicitudes->y() + 150 + 3 * margen + CmdGuardar->height());
    AnclarControles(this, QSize(Pixeles(13380), Pixeles(7530)), minimo,
                    {{Frame1, AnclaTodas},
                     {ISolicitudes, AnclaTodas},
                     {ChkBuscador, AnclaIzquierda | AnclaAbajo},
                     {LblNombre, AnclaIzquierda | AnclaDerecha | AnclaAbajo},
                     {CmdCambiar, AnclaDerecha | AnclaAbajo},
                     {CmdGuardar, AnclaDerecha | AnclaAbajo}});
    PrepararVentana(this, 13380, 7530);
    DtpFecha1->ponerFecha(QDate::currentDate().addDays(-6));
    DtpFecha2->ponerFecha(QDate::currentDate().addDays(-1));
    LlenarVerificadores();

    CmbVerificadores->installEventFilter(this);
    connect(CmdConsultar, &QPushButton::clicked, this, &FrmRecepcion::CmdConsultar_Click);
    connect(CmdCambiar, &QPushButton::clicked, this, &FrmRecepcion::CmdCambiar_Click);
    connect(CmdGuardar, &QPushButton::clicked, this, &FrmRecepcion::CmdGuardar_Click);
    connect(ChkBuscador, &QCheckBox::toggled, this, &FrmRecepcion::ChkBuscador_Click);
    connect(ISolicitudes, &Rejilla::celdaActualCambiada, this,
            &FrmRecepcion::ISolicitudes_CeldaActualCambiada);
    connect(ISolicitudes, &Rejilla::solicitudEdicion, this,
            &FrmRecepcion::ISolicitudes_SolicitudEdicion);
    connect(ISolicitudes, &Rejilla::dobleClic, this, &FrmRecepcion::ISolicitudes_DobleClic);
    connect(ISolicitudes, &Rejilla::revisarEdicion, this,
            &FrmRecepcion::ISolicitudes_RevisarEdicion);
    connect(ISolicitudes, &Rejilla::edicionRechazada, this, [](int, int, const QString& rechazo) {
        MensajeError(rechazo, QStringLiteral("Recepcion Relación"));
    });
    CmbVerificadores->setFocus();
}

void FrmRecepcion::ArmarRejilla() {
    Rejilla& g = *ISolicitudes;
    g.quitarFilas();
    g.soloLectura(false);
    // The mark column is narrower than a header allows by default.
    g.horizontalHeader()->setMinimumSectionSize(20);
    const QList<QPair<QString, int>> columnas = {{QStringLiteral("Relación"), 50},
                                                 {QStringLiteral("Solicitud"), 50},
                                                 {QStringLiteral("Sucursal"), 70},
                                                 {QStringLiteral("Verificador"), 80},
                                                 {QStringLiteral("Fecha Envió Tienda"), 70},
                                                 {QStringLiteral("Fecha Revisión"), 70},
                                                 {QStringLiteral("Cliente"), 50},
                                                 {QStringLiteral("Nombre Cliente"), 200},
                                                 {QStringLiteral("Estado Actual"), 80},
                                                 {QStringLiteral("Linea Crédito"), 80},
                                                 {QStringLiteral("Tipo Verificación"), 80},
                                                 {QStringLiteral("Comentarios"), 190},
                                                 {QStringLiteral("Guardar"), 20},
                                                 {QStringLiteral("R.Verificador"), 80}};
    for (const auto& [titulo, ancho] : columnas) g.agregarColumna(titulo, ancho);
    g.ponerFormatoColumna(ColLineaCredito, FormatoCelda::Importe);
    g.ponerNombreLista(QStringLiteral("Recepción"));
    g.ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
    g.registrarLista(QStringLiteral("Estado"), Estados());
    g.registrarLista(QStringLiteral("Tipos"), TiposVerificacion());
    g.registrarLista(QStringLiteral("Verificador"), Recomendaciones());
    g.ponerTipoColumna(ColEstado, TipoCelda::Lista, QStringLiteral("Estado"));
    g.ponerTipoColumna(ColTipoVerificacion, TipoCelda::Lista, QStringLiteral("Tipos"));
    g.ponerTipoColumna(ColRecomendacion, TipoCelda::Lista, QStringLiteral("Verificador"));
}

void FrmRecepcion::LlenarVerificadores() {
    CursorEspera espera;
    CmbVerificadores->addItem(Todos);
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

void FrmRecepcion::ElegirVerificador() {
    const int indice = CmbVerificadores->currentIndex();
    auto habilitar = [this] {
        CmdGuardar->setEnabled(true);
        CmdConsultar->setEnabled(true);
    };
    if (indice > 0) {
        db::Recordset& r = Global::Registros;
        try {
            Global::CadenaSql =
                personal::SentenciaClave(CmbVerificadores->itemData(indice).toInt());
            r.abrir(Global::CadenaSql, Global::Conexion);
            if (!r.eof()) {
                clavePersona_ = db::Lectura(r, personal::kColumnasClave)
                                    .campo(r, personal::Clave::Persona)
                                    .toString();
                habilitar();
            }
            r.cerrar();
        } catch (const db::ErrorBD& e) {
            r.cerrar();
            MensajeErrorBD(e);
        }
    } else if (CmbVerificadores->currentText() == Todos) {
        clavePersona_ = QStringLiteral("%");
        habilitar();
    }
}

QString FrmRecepcion::sentenciaBusqueda() const {
    // "* Todos *" is every verifier of the centre; one verifier, every centre's batches.
    return SentenciaBusqueda(
        CmbVerificadores->currentText() != Todos ? clavePersona_.texto() : QString(),
        Global::CentroDistribucion, DtpFecha1->fecha(), DtpFecha2->fecha());
}

void FrmRecepcion::CmdConsultar_Click() {
    if (!ISolicitudes->terminarEdicion()) return;
    // The search replaces the lines, and with them whatever was typed and not saved.
    if (cambiosPendientes_ &&
        !Preguntar(QStringLiteral("Se Dispone a Salir sin Guardar los Cambios, esta seguro?"),
                   QStringLiteral("Descartar Cambios"), false))
        return;
    CmdConsultar->setText(QStringLiteral("Consultando..."));
    CmdConsultar->repaint();
    Consultar();
    CmdConsultar->setText(QStringLiteral("&Consultar"));
}

void FrmRecepcion::Consultar() {
    CursorEspera espera;
    db::Recordset& r = Global::Registros2;
    Rejilla& g = *ISolicitudes;
    try {
        Global::CadenaSql = sentenciaBusqueda();
        const bool completa = CargarLista(&g, [&] {
            r.abrir(Global::CadenaSql, Global::Conexion);
            // The lines are new: nothing of them is edited yet.
            cambiosPendientes_ = false;
            const db::Lectura columnas(r, kColumnasBusqueda);
            std::vector<ModeloRejilla::Destino> destinos(size_t(r.numeroCampos()));
            for (const auto& [b, columna, recortar] : kEnRejilla)
                destinos[size_t(columnas[b])] = {columna, recortar ? &TextoExactoDeCelda : nullptr};
            // What the save's guard compares, as read (untrimmed), by field of the search.
            leidas_.clear();
            leidasArmadas_ = false;
            leidos_.clear();
            leidos_.resize(std::size(kColumnasBusqueda));
            g.llenarColumnas(r, destinos, [&](const db::ValorCrudo* fila) {
                for (Busqueda b : kGuardadas) leidos_[size_t(b)].agregar(fila[columnas[b]]);
            });
        });
        r.cerrar();
        if (!completa) OlvidarLeidas();
        // Dates, numbers, states and names are read whole; the grid scrolls when wide.
        for (int c = 1; c <= g.numeroColumnas(); ++c)
            if (c != ColGuardar) g.ensancharAlContenido(c);
    } catch (const db::ErrorBD& e) {
        r.cerrar();
        MensajeErrorBD(e);
    }
    // No row of the new lines is current until the clerk moves to one.
    SeguirFilaActual();
}

const QHash<QString, LineaLeida>& FrmRecepcion::Leidas() {
    if (leidasArmadas_) return leidas_;
    leidasArmadas_ = true;
    const int lineas = leidos_.empty() ? 0 : leidos_[size_t(Busqueda::Relacion)].filas();
    leidas_.reserve(lineas);
    for (int i = 0; i < lineas; ++i) {
        auto de = [&](Busqueda b) { return leidos_[size_t(b)].valor(i); };
        leidas_.insert(ClaveLinea(de(Busqueda::Relacion), de(Busqueda::Solicitud)),
                       LineaLeida{de(Busqueda::Estado), de(Busqueda::Tipo), de(Busqueda::Linea),
                                  de(Busqueda::Comentarios), de(Busqueda::Recomienda),
                                  !de(Busqueda::FechaVerificacion).isNull()});
    }
    return leidas_;
}

void FrmRecepcion::OlvidarLeidas() {
    leidos_.clear();
    leidas_.clear();
    leidasArmadas_ = true;
}

void FrmRecepcion::ISolicitudes_CeldaActualCambiada(int fila, int) {
    if (fila <= 0) return;
    MostrarFila(fila);
}

void FrmRecepcion::MostrarFila(int fila) {
    if (fila < 1 || fila > ISolicitudes->numeroFilas()) {
        filaActual_ = 0;
        LblNombre->setText(QStringLiteral("Cliente:"));
        CmdCambiar->setEnabled(false);
        return;
    }
    filaActual_ = fila;
    LblNombre->setText(TextoExactoDeCelda(ISolicitudes->valor(fila, ColNombreCliente)));
    CmdCambiar->setEnabled(TextoExactoDeCelda(ISolicitudes->valor(fila, ColEstado)) == Entregada);
}

void FrmRecepcion::ISolicitudes_SolicitudEdicion(int fila, int columna, bool& cancelar) {
    if (fila < 1) return;
    // The row asked about is the one the buttons act on, and the label names it.
    MostrarFila(fila);
    if (columna >= ColRelacion && columna <= ColNombreCliente) {
        cancelar = true;
        return;
    }
    // Starting the edit is what counts: the row is written again even if nothing changes.
    cambiosPendientes_ = true;
    ISolicitudes->ponerValor(fila, ColGuardar, QStringLiteral("SI"));
    // The mark is the row's, not the clerk's to type over: a row once marked is saved.
    if (columna == ColGuardar) cancelar = true;
}

void FrmRecepcion::ISolicitudes_DobleClic(int fila, int) {
    if (fila < 1) return;
    const QString& programa = Global::Ajustes.programaFotos;
    if (Servicios().iniciarPrograma(
            programa, {TextoExactoDeCelda(ISolicitudes->valor(fila, ColCliente)).trimmed()}))
        return;
    MensajeError((QFileInfo::exists(programa)
                      ? QStringLiteral("No se pudo iniciar el programa de fotos de clientes:\r\n")
                      : QStringLiteral("No se encontró el programa de fotos de clientes:\r\n")) +
                     QDir::toNativeSeparators(programa) +
                     QStringLiteral("\r\nAvise a Sistemas: el programa se indica en "
                                    "solicitudes.ini, sección [fotos], clave programa."),
                 QStringLiteral("Fotos del Cliente"));
}

void FrmRecepcion::ISolicitudes_RevisarEdicion(int fila, int columna, QString& texto,
                                               QString& rechazo) {
    if (columna == ColLineaCredito) {
        // As the column keeps it, so the cell shows what the save writes.
        texto = RedondearLinea(texto);
    } else if (columna == ColComentarios) {
        rechazo = ComentarioDemasiadoLargo(*ISolicitudes, fila, texto);
    }
}

void FrmRecepcion::ChkBuscador_Click() {
    ISolicitudes->ponerBusquedaPorTecleo(ChkBuscador->isChecked());
}

void FrmRecepcion::CmdCambiar_Click() {
    ISolicitudes->terminarEdicion();
    const int fila = filaActual_;
    if (fila < 1 || fila > ISolicitudes->numeroFilas()) return;
    // Only a line still out with the verifier leaves its batch, whatever row the number names.
    if (TextoExactoDeCelda(ISolicitudes->valor(fila, ColEstado)) != Entregada) return;
    if (!Preguntar(QStringLiteral("Se dispone a Remover al Cliente:") +
                       TextoExactoDeCelda(ISolicitudes->valor(fila, ColNombreCliente)).trimmed() +
                       QStringLiteral(" de la Relación?"),
                   QStringLiteral("Remover de Relación")))
        return;
    // Out of the batch and every line of it gone, or neither; and only while the line is
    // still in that batch and "Entregada", which another station may have changed meanwhile.
    try {
        const qint64 solicitud = db::EnteroDe(ISolicitudes->valor(fila, ColSolicitud));
        const qint64 relacion = db::EnteroDe(ISolicitudes->valor(fila, ColRelacion));
        db::Transaccion transaccion(Global::Conexion);
        Global::CadenaSql = SentenciaQuitar(solicitud, relacion);
        if (Global::Conexion.ejecutar(Global::CadenaSql) != 1) {
            transaccion.deshacer(
                QStringLiteral("la solicitud %1 ya no está Entregada en la relación %2")
                    .arg(solicitud)
                    .arg(relacion));
            MensajeError(
                QStringLiteral(
                    "La Solicitud %1 ya no está Entregada en la Relación %2: otra estación "
                    "la cambió después de la consulta. No se removió; consulte de nuevo.")
                    .arg(solicitud)
                    .arg(relacion),
                QStringLiteral("Remover de Relación"));
            return;
        }
        Global::CadenaSql = SentenciaBorrarLineas(solicitud);
        Global::Conexion.ejecutar(Global::CadenaSql);
        transaccion.confirmar();
    } catch (const db::ErrorBD& e) {
        MensajeErrorBD(e);
        return;
    }
    ISolicitudes->quitarFila(fila);
    SeguirFilaActual();
    MensajeInformacion(QStringLiteral("Solicitud Desasignada Correctamente"),
                       QStringLiteral("remover de relación"));
}

void FrmRecepcion::SeguirFilaActual() { MostrarFila(ISolicitudes->filaActual()); }

bool FrmRecepcion::eventFilter(QObject* objeto, QEvent* evento) {
    // The choice counts when the user leaves the list, not while its entries are browsed.
    if (objeto == CmbVerificadores && evento->type() == QEvent::FocusOut) {
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason)
            ElegirVerificador();
    }
    return QDialog::eventFilter(objeto, evento);
}

void FrmRecepcion::done(int resultado) {
    if (!ISolicitudes->terminarEdicion()) return;
    if (cambiosPendientes_) {
        if (!Preguntar(QStringLiteral("Se Dispone a Salir sin Guardar los Cambios, esta seguro?"),
                       QStringLiteral("Descartar Cambios"), false))
            return;
        cambiosPendientes_ = false;
    }
    QDialog::done(resultado);
}
