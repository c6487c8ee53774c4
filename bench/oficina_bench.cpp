// The program on an office's database: every figure a ratio measured in this same run, so
// that runs on different machines compare. It ends with one line per figure:
//   RESULTADO <nombre> <valor> <meta> <cumple|no cumple>
//
//   oficina_bench [carpeta de las bases]   (por omisión datos_bench junto al ejecutable)
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

#include "app/arranque.h"
#include "base_oficina.h"
#include "batches/frm_relaciones.h"
#include "capture/frm_captura.h"
#include "capture/frm_clientes_encontrados.h"
#include "db/embedded/traductor.h"
#include "db/recordset.h"
#include "db/transaccion.h"
#include "escritorio.h"
#include "medir.h"
#include "reception/frm_recepcion.h"
#include "rejections/frm_rechazos.h"
#include "startup/global.h"
#include "startup/reloj_espera.h"
#include "tracking/frm_rastreo.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"

namespace {

using medir::Figura;
using medir::Mejor;

sqlite3* Manejador() {
    return static_cast<db::MotorIncrustado*>(Global::Conexion.motor())->manejador();
}

void Abrir(const oficina::Base& b) {
    Global::Desconectar();
    Global::Conexion.abrir(std::make_unique<db::MotorIncrustado>(b.carpeta));
    AtenderTrabajosLargos(Global::Conexion);  // as the program does
    Global::CentroDistribucion = QString::fromLatin1(oficina::kCentros[0]);
    Global::SucursalActual = QStringLiteral("1");
    Global::NombreSucursal = QStringLiteral("CHI Centro");
    Global::CambiosPendientes = false;
}

// The translations and prepared statements the engine keeps are let go (it keeps 512 at most
// and lets all go on the next), so that the next search is a first one.
void OlvidarTraducciones() {
    for (int i = 0; i <= 512; ++i)
        db::Recordset().abrir(QStringLiteral("SELECT %1 AS n").arg(i), Global::Conexion);
}

// The windows whose lists are measured, open on the database of the moment.
struct Ventanas {
    explicit Ventanas(const QDate& dia) : hoy(dia) {
        recepcion.DtpFecha1->ponerFecha(hoy.addDays(-6));
        recepcion.DtpFecha2->ponerFecha(hoy.addDays(-1));
        recepcion.CmbVerificadores->setCurrentIndex(0);  // "* Todos *"
        QFocusEvent salir(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(recepcion.CmbVerificadores, &salir);
        rechazos.DtpFecha1->ponerFecha(hoy.addDays(-2));
        rechazos.DtpFecha2->ponerFecha(hoy);
        for (QDialog* v : {static_cast<QDialog*>(&relaciones), static_cast<QDialog*>(&recepcion),
                           static_cast<QDialog*>(&rechazos)})
            v->show();
    }
    // The batch list over the last `dias` days, as the user would set its dates before the click.
    void fechasRelaciones(int dias) {
        relaciones.DtpFecha1->ponerFecha(hoy.addDays(1 - dias));
        relaciones.DtpFecha2->ponerFecha(hoy);
    }
    QDate hoy;
    FrmRelaciones relaciones;
    FrmRecepcion recepcion;
    FrmRechazos rechazos;
};

struct Lista {
    const char* nombre;
    bool cifra;  // false: printed for the record only
    // The click, and what the clerk set before it (not timed).
    std::function<void(Ventanas&)> cargar;
    std::function<Rejilla*(Ventanas&)> rejilla;
    std::function<void(Ventanas&)> preparar = [](Ventanas&) {};
};

const std::vector<Lista>& Listas() {
    static const std::vector<Lista> l = {
        {"pendientes", true, [](Ventanas& v) { v.relaciones.CargarPendientes(); },
         [](Ventanas& v) { return v.relaciones.ISolicitudes; }},
        // The window's own range: today and the five days before.
        {"relaciones", true, [](Ventanas& v) { v.relaciones.CmdConsultar->click(); },
         [](Ventanas& v) { return v.relaciones.iRelaciones; },
         [](Ventanas& v) { v.fechasRelaciones(6); }},
        {"recepcion", true, [](Ventanas& v) { v.recepcion.CmdConsultar->click(); },
         [](Ventanas& v) { return v.recepcion.ISolicitudes; }},
        {"rechazos", true, [](Ventanas& v) { v.rechazos.CmdConsultar->click(); },
         [](Ventanas& v) { return v.rechazos.iSolicitudes; }},
        {"relaciones de 60 días", false, [](Ventanas& v) { v.relaciones.CmdConsultar->click(); },
         [](Ventanas& v) { return v.relaciones.iRelaciones; },
         [](Ventanas& v) { v.fechasRelaciones(60); }}};
    return l;
}

struct TiemposLista {
    double ventana = 1e300, fria = 1e300, api = 1e300;
    double carga = 1e300;  // the search alone, without what Qt paints afterwards
    int filas = 0;
};

// Each list as its window loads it, from the click to the grid painted, warm and as a first
// search; and the statement it sent stepped with the C API on a bare connection.
void MedirListas(const oficina::Base& b, std::vector<TiemposLista>& t, int veces) {
    Abrir(b);
    oficina::ConexionDesnuda desnuda(b.carpeta);
    Ventanas v(b.hoy);
    medir::Pintura pintura;
    QString enviada;
    const int observador =
        Global::Conexion.agregarObservador([&](const QString& s) { enviada = s; });
    for (size_t i = 0; i < Listas().size(); ++i) {
        const Lista& l = Listas()[i];
        Rejilla& rejilla = *l.rejilla(v);
        l.preparar(v);
        l.cargar(v);  // translation kept, pages in memory
        pintura.esperar(rejilla.viewport());
        const QString sql = enviada;
        t[i].filas = rejilla.numeroFilas();
        medir::PasoSqlite paso(desnuda.manejador(), db::incrustado::Traducir(sql).sql);
        paso.correr();
        for (int k = 0; k < veces; ++k) {
            t[i].ventana = std::min(t[i].ventana, Mejor(1, [&] {
                                        l.cargar(v);
                                        pintura.esperar(rejilla.viewport());
                                    }));
            t[i].carga = std::min(t[i].carga, Mejor(1, [&] { l.cargar(v); }));
            pintura.esperar(rejilla.viewport());
            t[i].api = std::min(t[i].api, Mejor(1, [&] { paso.correr(); }));
        }
        OlvidarTraducciones();
        t[i].fria = std::min(t[i].fria, Mejor(1, [&] {
                                 l.cargar(v);
                                 pintura.esperar(rejilla.viewport());
                             }));
    }
    Global::Conexion.quitarObservador(observador);
}

const char* const kCatorce =
    "SELECT solicitud, Cliente, Fecha_recepcion, Importe_Solicitud, Sucursal, Promocion, telefono, "
    "Nombre_Aval, apellidos_Aval, Rastreado, Documento, fecha_tienda, Vendedor, estado_actual "
    "FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud <= 100000";

// The program's read pattern over the raw values, texts decoded as the floor decodes them.
long long LeerCapaDatos(QString& buffer) {
    db::Recordset r;
    r.abrir(QString::fromLatin1(kCatorce), Global::Conexion);
    QStringDecoder aUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    std::vector<db::ValorCrudo> fila(static_cast<size_t>(r.numeroCampos()));
    long long suma = 0;
    while (!r.eof()) {
        r.filaCruda(fila.data());
        for (const db::ValorCrudo& v : fila) {
            if (v.tipo == db::ValorCrudo::Tipo::Texto && v.utf8) {
                if (v.bytes > buffer.size()) buffer.resize(v.bytes);
                suma += aUtf16.appendToBuffer(buffer.data(), QByteArrayView(v.utf8, v.bytes)) -
                        buffer.data();
            } else {
                suma += v.entero;
            }
        }
        r.siguiente();
    }
    return suma;
}

long long LeerConVariantes() {
    db::Recordset r;
    r.abrir(QString::fromLatin1(kCatorce), Global::Conexion);
    long long nulos = 0;
    while (!r.eof()) {
        for (int i = 0; i < r.numeroCampos(); ++i) nulos += r.campo(i).isNull();
        r.siguiente();
    }
    return nulos;
}

// Filled as the windows fill theirs from a result, and painted once.
void LlenarRejilla(QDialog& ventana, Rejilla& rejilla) {
    rejilla.quitarFilasYColumnas();
    db::Recordset r;
    r.abrir(QString::fromLatin1(kCatorce), Global::Conexion);
    rejilla.llenar(r);
    r.cerrar();
    for (int c = 1; c <= 5; ++c) rejilla.ajustarAncho(c);
    rejilla.ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
    if (!ventana.isVisible()) ventana.show();
    rejilla.viewport()->repaint();
}

// The capture window's grid with the centre's last `filas` applications, for the tracking.
void LlenarCaptura(Rejilla& captura, int filas) {
    for (const char* t : {"Solicitud", "Sucursal", "Cliente", "Nombre Cliente", "Importe Sol.",
                          "Vendedor", "Cliente Anterior"})
        captura.agregarColumna(QString::fromUtf8(t));
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(Manejador(),
                       "SELECT s.solicitud, su.nombre_sucursal, s.Cliente, c.Nombre_Cliente, "
                       "s.Importe_Solicitud, s.Vendedor FROM norv.Solicitudes_cliente_Nuevo s "
                       "JOIN main.sucursales su ON su.sucursal = s.Sucursal JOIN main.clientes c "
                       "ON c.cliente = s.Cliente WHERE su.centro_distribucion = 'CHI' "
                       "ORDER BY s.solicitud DESC LIMIT ?1",
                       -1, &st, nullptr);
    sqlite3_bind_int(st, 1, filas);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const int f = captura.agregarFila();
        captura.ponerValor(f, 1, qint64(sqlite3_column_int64(st, 0)));
        captura.ponerValor(
            f, 2, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))));
        captura.ponerValor(f, 3, qint64(sqlite3_column_int64(st, 2)));
        captura.ponerValor(
            f, 4, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))));
        captura.ponerValor(f, 5, QString::number(sqlite3_column_double(st, 4)));
        captura.ponerValor(
            f, 6, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 5))));
        captura.ponerValor(f, 7, QStringLiteral("SI"));
    }
    sqlite3_finalize(st);
}

// A key typed at a window 50 ms after the next click on its search: when the search ended and
// when the key reached the control that has the keyboard (milliseconds since the click).
class Tecleo : public QObject {
  public:
    Tecleo(QDialog& ventana, Qt::Key tecla) : tecla_(tecla) {
        auto* boton = ventana.findChild<QPushButton*>(QStringLiteral("CmdConsultar"));
        destino_ = ventana.focusWidget() ? ventana.focusWidget() : &ventana;
        destino_->installEventFilter(this);
        connect(boton, &QPushButton::pressed, this, [this] {
            if (reloj_.isValid()) return;
            reloj_.start();
            QTimer::singleShot(50, this, [this] {
                tecleada = ms();
                QCoreApplication::postEvent(
                    destino_, new QKeyEvent(QEvent::KeyPress, tecla_, Qt::NoModifier));
            });
        });
        // After the window's own handler: the search is over.
        connect(boton, &QPushButton::clicked, this, [this] {
            if (terminada < 0) terminada = ms();
        });
    }
    ~Tecleo() override { destino_->removeEventFilter(this); }
    // Runs the events until the key has come (held keys follow the search); Escape is taken
    // by the search itself, which it ends.
    void esperarEntrega() {
        for (int i = 0; i < 200 && entregada < 0 && tecla_ != Qt::Key_Escape; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (tecla_ == Qt::Key_Escape) entregada = terminada;
    }
    double tecleada = -1, terminada = -1, entregada = -1;

  protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::KeyPress && entregada < 0 && tecleada >= 0 &&
            static_cast<QKeyEvent*>(evento)->key() == tecla_)
            entregada = ms();
        return false;
    }

  private:
    double ms() const { return reloj_.nsecsElapsed() / 1e6; }
    Qt::Key tecla_;
    QWidget* destino_ = nullptr;
    QElapsedTimer reloj_;
};

}  // namespace

int main(int argc, char** argv) {
    escritorio::PrepararProceso();
    QApplication app(argc, argv);
    escritorio::SinCajas servicios;
    InstalarServicios(&servicios);
    const QString datos = escritorio::CarpetaDatos(argc, argv);
    const oficina::Base grande =
        oficina::Preparar(QDir(datos).filePath(QStringLiteral("oficina")), 10);
    const oficina::Base chica =
        oficina::Preparar(QDir(datos).filePath(QStringLiteral("decima")), 1);
    Global::Ajustes = configuracion::AjustesPredeterminados(datos);
    std::vector<Figura> figuras;

    // The homonym count of every save, on 1,000,000 customers and on 100,000, alternated.
    {
        const QStringList nombres = oficina::NombresDeClientes(200);
        auto contar = [&] {
            for (const QString& n : nombres) {
                db::Recordset r;
                r.abrir(QStringLiteral("SELECT COUNT(cliente) FROM clientes WHERE Nombre_Cliente "
                                       "LIKE '") +
                            n + QStringLiteral("'"),
                        Global::Conexion);
            }
        };
        double g = 1e300, c = 1e300;
        for (int vuelta = 0; vuelta < 5; ++vuelta) {
            Abrir(grande);
            contar();
            g = std::min(g, Mejor(3, contar));
            Abrir(chica);
            contar();
            c = std::min(c, Mejor(3, contar));
        }
        std::printf("cuenta de homónimos: %.1f µs en 1 000 000 clientes, %.1f µs en 100 000\n",
                    g * 1e3 / nombres.size(), c * 1e3 / nombres.size());
        figuras.push_back({"homonimos_1M_entre_100k", g / c, 1.5});
    }

    // The windows' lists: against the C API on the same statement, and against the small office.
    {
        std::vector<TiemposLista> g(Listas().size()), c(Listas().size());
        // Short turns in alternation, so that a busy moment of the machine hurts both alike.
        for (int vuelta = 0; vuelta < 6; ++vuelta) {
            MedirListas(grande, g, 3);
            MedirListas(chica, c, 3);
        }
        static const char* const kEntreApi[] = {"pendientes_entre_api_c", "relaciones_entre_api_c",
                                                "recepcion_entre_api_c", "rechazos_entre_api_c"};
        static const char* const kFria[] = {
            "pendientes_primera_entre_api_c", "relaciones_primera_entre_api_c",
            "recepcion_primera_entre_api_c", "rechazos_primera_entre_api_c"};
        static const char* const kEntreChica[] = {
            "pendientes_oficina_entre_decima", "relaciones_oficina_entre_decima",
            "recepcion_oficina_entre_decima", "rechazos_oficina_entre_decima"};
        for (size_t i = 0; i < Listas().size(); ++i) {
            std::printf(
                "lista %s: %d filas (%d en la décima): clic a pintada %.2f ms (la carga %.2f, "
                "lo que Qt pinta después %.2f), la primera %.2f ms; API C %.2f ms (%.2f); en la "
                "décima %.2f ms\n",
                Listas()[i].nombre, g[i].filas, c[i].filas, g[i].ventana, g[i].carga,
                g[i].ventana - g[i].carga, g[i].fria, g[i].api, g[i].ventana / g[i].api,
                c[i].ventana);
            if (!Listas()[i].cifra) continue;
            figuras.push_back({kEntreApi[i], g[i].ventana / g[i].api, 1.5, 0.95});
            figuras.push_back({kFria[i], g[i].fria / g[i].api, 2.5, 0.95});
            figuras.push_back({kEntreChica[i], g[i].ventana / c[i].ventana, 1.5});
        }
    }

    // 100,000 rows x 14 columns: the data layer, the grid, what the grid keeps.
    Abrir(grande);
    {
        oficina::ConexionDesnuda desnuda(grande.carpeta);
        medir::PasoSqlite paso(desnuda.manejador(),
                               db::incrustado::Traducir(QString::fromLatin1(kCatorce)).sql);
        paso.correr();
        QString buffer;
        QDialog ventana;
        auto* rejilla = new Rejilla(&ventana);
        (new QVBoxLayout(&ventana))->addWidget(rejilla);
        ventana.resize(900, 500);
        // One run of each road in turn, the best of each kept.
        double api = 1e300, capa = 1e300, variantes = 1e300, llenado = 1e300;
        for (int vuelta = 0; vuelta < 7; ++vuelta) {
            api = std::min(api, Mejor(1, [&] { paso.correr(); }));
            capa = std::min(capa, Mejor(1, [&] { LeerCapaDatos(buffer); }));
            if (vuelta < 3) variantes = std::min(variantes, Mejor(1, [&] { LeerConVariantes(); }));
            llenado = std::min(llenado, Mejor(1, [&] { LlenarRejilla(ventana, *rejilla); }));
        }
        rejilla->quitarFilasYColumnas();
        const double antes = medir::MegasEnUso();
        LlenarRejilla(ventana, *rejilla);
        const double retenidos = medir::MegasEnUso() - antes;
        std::printf(
            "100 000 x 14: API C %.1f ms, capa de datos %.1f ms (con QVariant %.1f ms), "
            "rejilla llena y pintada %.1f ms, %d filas\n",
            api, capa, variantes, llenado, rejilla->numeroFilas());
        figuras.push_back({"capa_datos_entre_api_c", capa / api, 1.2, 0.95});
        figuras.push_back({"rejilla_entre_api_c", llenado / api, 1.5, 0.95});
        figuras.push_back({"memoria_rejilla_mb", retenidos, 40});

        // The windows' own loops: a row appended and its cells written one by one.
        rejilla->quitarFilasYColumnas();
        for (int col = 1; col <= 14; ++col) rejilla->agregarColumna(QStringLiteral("C%1").arg(col));
        const double unaPorUna = Mejor(1, [&] {
            for (int f = 1; f <= 20000; ++f) {
                rejilla->agregarFila();
                for (int col = 1; col <= 14; ++col)
                    rejilla->ponerValor(f, col,
                                        col % 2 ? QVariant(f * 14 + col)
                                                : QVariant(QStringLiteral("TEXTO %1").arg(f % 50)));
            }
        });
        std::printf("20 000 filas x 14 celdas una por una: %.1f ms\n", unaPorUna);
    }

    // The longest stall of the event loop while each window loads its lists, and while the
    // tracking screens 500 applications of the capture grid.
    {
        medir::Pausas pausas;
        double peor = 0;
        auto medirPausa = [&](const char* que, const std::function<void()>& trabajo) {
            const double ms = pausas.medir(trabajo);
            std::printf("pausa más larga, %s: %.1f ms\n", que, ms);
            peor = std::max(peor, ms);
        };
        medirPausa("captura", [] { FrmCaptura v; });
        std::unique_ptr<Ventanas> v;
        medirPausa("relaciones y pendientes", [&] { v = std::make_unique<Ventanas>(grande.hoy); });
        for (const Lista& l : Listas()) {
            l.preparar(*v);
            medirPausa(l.nombre, [&] { l.cargar(*v); });
        }
        Global::NombreCompleto = oficina::NombresDeClientes(200).first();
        medirPausa("homónimos", [] { FrmClientes_Encontrados h; });
        Rejilla captura;
        LlenarCaptura(captura, 500);
        {
            // The screening's rejections are undone: the office's data stay for the next run.
            db::Transaccion deshecha(Global::Conexion);
            medirPausa("rastreo de 500 solicitudes", [&] { FrmRastreo r(&captura); });
        }
        std::printf("(%d filas rastreadas)\n", captura.numeroFilas());
        // Beyond the windows' own ranges: two whole years of reception, a key typed 50 ms after
        // the click.
        v->recepcion.DtpFecha1->ponerFecha(grande.hoy.addYears(-2));
        Tecleo tecleo(v->recepcion, Qt::Key_Shift);
        QString dosAnos;
        const int observador =
            Global::Conexion.agregarObservador([&](const QString& s) { dosAnos = s; });
        medirPausa("recepción de dos años", [&] { v->recepcion.CmdConsultar->click(); });
        Global::Conexion.quitarObservador(observador);
        tecleo.esperarEntrega();
        {
            // What the load cannot go under: the same statement stepped on a bare connection.
            oficina::ConexionDesnuda desnuda(grande.carpeta);
            medir::PasoSqlite paso(desnuda.manejador(), db::incrustado::Traducir(dosAnos).sql);
            std::printf("(%d líneas de dos años; la misma sentencia con la API C: %.1f ms)\n",
                        v->recepcion.ISolicitudes->numeroFilas(), Mejor(3, [&] { paso.correr(); }));
        }
        std::printf(
            "tecla durante la recepción de dos años: tecleada a los %.1f ms del clic, la carga "
            "terminó a los %.1f ms, entregada a la ventana a los %.1f ms\n",
            tecleo.tecleada, tecleo.terminada, tecleo.entregada);
        figuras.push_back({"pausa_maxima_ms", peor, 100});
        figuras.push_back({"tecla_durante_recepcion_ms", tecleo.entregada - tecleo.tecleada, 150});
        // Escape then stops the same search.
        Tecleo escape(v->recepcion, Qt::Key_Escape);
        v->recepcion.CmdConsultar->click();
        escape.esperarEntrega();
        std::printf(
            "Escape durante la recepción de dos años: la carga se detuvo %.1f ms después "
            "(%d líneas quedaron)\n",
            escape.terminada - escape.tecleada, v->recepcion.ISolicitudes->numeroFilas());
    }
    Global::Desconectar();
    if (servicios.mensajes) std::printf("mensajes mostrados: %d\n", servicios.mensajes);
    medir::Imprimir(figuras);
    return 0;
}
