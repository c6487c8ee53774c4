#include "tracking/frm_rastreo.h"

#include <QGroupBox>
#include <cmath>
#include <optional>

#include "db/comando.h"
#include "db/error_bd.h"
#include "db/solicitud_actual.h"
#include "db/sql.h"
#include "startup/global.h"
#include "tracking/sentencias_rastreo.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/ventana.h"

namespace {

// The colours the capture grid is painted with, as the windows were designed (0xBBGGRR).
constexpr long Rojo = 255;
constexpr long Amarillo = 65535;

struct Columna {
    const char* titulo;
    int ancho;
};

void Armar(Rejilla* rejilla, std::initializer_list<Columna> columnas) {
    rejilla->quitarFilas();
    rejilla->soloLectura(true);
    for (const Columna& c : columnas) rejilla->agregarColumna(QString::fromUtf8(c.titulo), c.ancho);
}

// The whole number a cell of the capture grid holds; none when it holds no number.
std::optional<qint64> EnteroDeCelda(const QVariant& celda) {
    try {
        return db::EnteroDe(celda);
    } catch (const db::ErrorBD&) {
        return std::nullopt;
    }
}

QString SiNo(bool si) { return si ? QStringLiteral("Si") : QStringLiteral("No"); }

}  // namespace

FrmRastreo::FrmRastreo(Rejilla* capturaGrid, QWidget* parent)
    : QDialog(parent), captura_(capturaGrid) {
    NombrarVentana(this, "FrmRastreo", QStringLiteral("Rastreo de Clientes"));

    // Three frames of the same width, one above the other, each holding its list.
    auto marco = [this](const char* nombre, const QString& titulo, int arriba,
                        const char* nombreRejilla, Rejilla*& rejilla) {
        auto* f = new QGroupBox(titulo, this);
        f->setObjectName(QLatin1String(nombre));
        f->setGeometry(RectTwips(120, arriba, 8670, 2415));
        rejilla = new Rejilla(f);
        rejilla->setObjectName(QLatin1String(nombreRejilla));
        rejilla->setGeometry(RectTwips(120, 240, 8430, 2055));
        return f;
    };
    Frame1 = marco("Frame1", QStringLiteral("Rastreo por Nombre Cliente(Incobrable / Indeseable):"),
                   60, "iClientes", iClientes);
    Frame2 = marco("Frame2", QStringLiteral("Rastreo del Aval:"), 2550, "IAvales", IAvales);
    Frame3 = marco("Frame3",
                   QStringLiteral("Rastreo por Teléfono(Clientes con Mismo Número Teléfonico):"),
                   5040, "ITelefonos", ITelefonos);
    setTabOrder(iClientes, IAvales);
    setTabOrder(IAvales, ITelefonos);

    PrepararVentana(this, 8910, 7545);
    RegistrosClientes = 0;
    RegistrosAvales = 0;
    ArmarRejillas();
    // The whole screening runs before the window is shown.
    Rastrear();
    iClientes->setFocus();
}

void FrmRastreo::ArmarRejillas() {
    Armar(iClientes, {{"Solicitud", 80},
                      {"Sucursal", 160},
                      {"Cliente", 60},
                      {"Nombre Cliente", 180},
                      {"Importe Sol.", 80},
                      {"Vendedor", 160}});
    Armar(ITelefonos, {{"Solicitud", 80},
                       {"Sucursal", 160},
                       {"Cliente", 60},
                       {"Nombre Cliente", 180},
                       {"Cliente mismo Telefono", 80}});
    Armar(IAvales, {{"Solicitud", 80},
                    {"Sucursal", 160},
                    {"Cliente", 60},
                    {"Nombre Cliente", 180},
                    {"Aval de", 180},
                    {"Es Cliente Credito", 80},
                    {"Numero Cliente", 80},
                    {"Es Aval", 50},
                    {"Es Incobrable", 50}});
    iClientes->ponerFormatoColumna(5, FormatoCelda::Importe);
    iClientes->ponerNombreLista(QStringLiteral("Incobrables e Indeseables"));
    IAvales->ponerNombreLista(QStringLiteral("Avales"));
    ITelefonos->ponerNombreLista(QStringLiteral("Mismo Teléfono"));
}

void FrmRastreo::Rastrear() {
    if (!captura_) return;
    const int filas = captura_->numeroFilas();
    // Shows how far it has got and may be stopped between two applications: what was rejected
    // and painted stays so.
    TrabajoLargo trabajo(this, filas);
    int revisadas = 0;
    try {
        CursorEspera espera;
        for (int r = 1; r <= filas; ++r) {
            // Lets the capture window repaint the rows already screened.
            if (trabajo.atender(revisadas)) break;
            // Its grid may have lost rows meanwhile, or gone.
            if (!captura_ || r > captura_->numeroFilas()) break;
            RenglonActual = r;
            const auto solicitud = EnteroDeCelda(captura_->valor(r, 1));
            const auto cliente = EnteroDeCelda(captura_->valor(r, 3));
            // A row without an application number has nothing on the server to screen.
            // A rejection another station's change refused ends this row's screening.
            if (solicitud) {
                ClienteActual = static_cast<double>(cliente.value_or(0));
                visto_.reset();
                if ((!cliente || RevisarCliente(*solicitud, *cliente)) && RevisarAval(*solicitud))
                    RevisarTelefono(*solicitud);
            }
            ++revisadas;
        }
        trabajo.atender(revisadas);
    } catch (const db::ErrorBD& e) {
        // The screening stops at this row; what was rejected and painted stays so.
        Global::Registros2.cerrar();
        if (!trabajo.detenido()) MensajeErrorBD(e);
    }
    if (trabajo.detenido() && revisadas < filas)
        MensajeInformacion(
            QStringLiteral("Se detuvo el rastreo: se revisaron %1 de %2 solicitudes.")
                .arg(revisadas)
                .arg(filas),
            QStringLiteral("Rastreo de Clientes"));
    for (Rejilla* g : {iClientes, IAvales, ITelefonos})
        for (int c = 1; c <= g->numeroColumnas(); ++c) g->ensancharAlContenido(c);
}

bool FrmRastreo::RevisarCliente(qint64 solicitud, qint64 cliente) {
    using rastreo::Cliente;
    db::Recordset& registros = Global::Registros2;
    Global::CadenaSql = rastreo::SentenciaCliente(cliente);
    registros.abrir(Global::CadenaSql, Global::Conexion);
    bool malo = false;
    if (!registros.eof()) {
        const db::Lectura c(registros, rastreo::kColumnasCliente);
        malo = c.campo(registros, Cliente::Indeseable).toBool() ||
               c.campo(registros, Cliente::Incobrable).toBool();
    }
    registros.cerrar();
    if (!malo) return true;
    if (!RechazarSolicitud(solicitud)) return false;
    const int r = static_cast<int>(RenglonActual);
    PintarRenglon(QStringLiteral("Rojo"), r);
    RegistrosClientes += 1;
    const int nueva = iClientes->agregarFila();
    for (int c = 1; c <= 6; ++c) iClientes->ponerValor(nueva, c, captura_->valor(r, c));
    return true;
}

bool FrmRastreo::RevisarAval(qint64 solicitud) {
    using rastreo::Aval;
    db::Recordset& registros = Global::Registros2;
    Global::CadenaSql = rastreo::SentenciaAval(solicitud);
    registros.abrir(Global::CadenaSql, Global::Conexion);
    QString apellidos, nombres;
    if (!registros.eof()) {
        const db::Lectura c(registros, rastreo::kColumnasAval);
        apellidos = c.campo(registros, Aval::Apellidos).toString().trimmed();
        nombres = c.campo(registros, Aval::Nombres).toString().trimmed();
    }
    registros.cerrar();
    // Short surnames match too many people to say anything about this guarantor.
    if (apellidos.size() <= 5) return true;

    bool hallado = false;
    {
        db::Comando comando(Global::Conexion,
                            QStringLiteral("NORV.dbo.Rep_Historial_Norv_Cliente"));
        comando.agregarParametro(QStringLiteral("@cApellidos"), db::TipoParametro::Char,
                                 db::Direccion::Entrada, 60, apellidos);
        comando.agregarParametro(QStringLiteral("@cNombres"), db::TipoParametro::Char,
                                 db::Direccion::Entrada, 60, nombres);
        const std::unique_ptr<db::Resultado> historial = comando.ejecutarConResultado();
        if (historial && historial->siguiente()) {
            using rastreo::Historial;
            auto valor = [&](Historial h) { return historial->valor(rastreo::Posicion(h)); };
            hallado = true;
            ClienteAval = valor(Historial::Cliente).toDouble();
            AvalDe = valor(Historial::AvalDe).toString();
            Incobrable = valor(Historial::Incobrable).toBool();
            EsAval = valor(Historial::EsAval).toBool();
            if (!Incobrable) Incobrable = valor(Historial::Incobrable2).toBool();
        }
    }
    if (!hallado) return true;

    const int r = static_cast<int>(RenglonActual);
    if (Incobrable) {
        if (!RechazarSolicitud(solicitud)) return false;
        PintarRenglon(QStringLiteral("Rojo"), r);
        RegistrosAvales += 1;
        AgregarAval();
    } else if (ClienteAval > 0 || EsAval) {
        PintarRenglon(QStringLiteral("Amarillo"), r);
        RegistrosAvales += 1;
        AgregarAval();
    }
    return true;
}

// Other customers whose applications carry this application's telephone: one row each, and
// the application flagged for attention (never rejected for it).
void FrmRastreo::RevisarTelefono(qint64 solicitud) {
    db::Recordset& registros = Global::Registros2;
    Global::CadenaSql = rastreo::SentenciaTelefono(solicitud);
    registros.abrir(Global::CadenaSql, Global::Conexion);
    const db::Lectura columnas(registros, rastreo::kColumnasTelefono);
    const int r = static_cast<int>(RenglonActual);
    bool hallado = false;
    while (!registros.eof()) {
        hallado = true;
        const int nueva = ITelefonos->agregarFila();
        for (int c = 1; c <= 4; ++c) ITelefonos->ponerValor(nueva, c, captura_->valor(r, c));
        ITelefonos->ponerValor(nueva, 5, columnas.campo(registros, rastreo::Telefono::Cliente));
        registros.siguiente();
    }
    registros.cerrar();
    if (hallado) PintarRenglon(QStringLiteral("Amarillo"), r);
}

bool FrmRastreo::RechazarSolicitud(qint64 solicitud) {
    // The application must still be as the screening found it when it first came to reject it:
    // in no batch and in that state (after its own rejection, "Rechazada").
    const long long numero = solicitud;
    if (!visto_) visto_ = db::LeerSolicitudActual(Global::Conexion, numero);
    const QVariant estado = visto_->estado.isEmpty() ? QVariant() : QVariant(visto_->estado);
    if (Global::Conexion.ejecutar(
            rastreo::SentenciaRechazar(solicitud, Global::ComentarioRechazo, estado)) == 1) {
        visto_->estado = QStringLiteral("Rechazada");
        return true;
    }
    MensajeError(db::DescribirSolicitud(numero, db::LeerSolicitudActual(Global::Conexion, numero)) +
                     QStringLiteral(".\nOtra estación la cambió durante el rastreo; no se "
                                    "rechazó y el rastreo siguió con la siguiente."),
                 QStringLiteral("Rastreo de Clientes"));
    return false;
}

void FrmRastreo::AgregarAval() {
    const int r = static_cast<int>(RenglonActual);
    const int nueva = IAvales->agregarFila();
    for (int c = 1; c <= 4; ++c) IAvales->ponerValor(nueva, c, captura_->valor(r, c));
    IAvales->ponerValor(nueva, 5, AvalDe);
    IAvales->ponerValor(nueva, 6, SiNo(ClienteAval != 0));
    IAvales->ponerValor(nueva, 7, static_cast<qlonglong>(std::llround(ClienteAval)));
    IAvales->ponerValor(nueva, 8, SiNo(EsAval));
    IAvales->ponerValor(nueva, 9, SiNo(Incobrable));
}

void FrmRastreo::PintarRenglon(const QString& color, int fila) {
    if (!captura_) return;
    const QColor rojo = ColorDeNumero(Rojo);
    for (int c = 1; c <= captura_->numeroColumnas(); ++c) {
        if (color == QLatin1String("Rojo"))
            captura_->ponerColorFondo(fila, c, rojo);
        else if (captura_->colorFondo(fila, c) != rojo)
            captura_->ponerColorFondo(fila, c, ColorDeNumero(Amarillo));
    }
}
