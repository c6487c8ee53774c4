// The office dashboard on the office-sized database (300,000 applications, 30,000 batches):
// consulted for 30 days and for a year, from the click to the page in view painted, in
// milliseconds and against SQLite's C API stepping the very statements it sent on a
// connection of its own; and the slowest of the other pages opened and painted after a
// consult. Ends with one line per figure:
//   RESULTADO <nombre> <valor> <meta> <cumple|no cumple>
//
//   tablero_bench [carpeta de las bases]   (por omisión datos_bench junto al ejecutable)
#include <sqlite3.h>

#include <QApplication>
#include <QChartView>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>
#include <memory>

#include "app/arranque.h"
#include "base_oficina.h"
#include "db/embedded/traductor.h"
#include "escritorio.h"
#include "medir.h"
#include "startup/global.h"
#include "startup/reloj_espera.h"
#include "tablero/frm_tablero.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"

namespace {

struct Tiempos {
    double ventana = 1e300, api = 1e300, pagina = 0;
    double primera = 0;  // the first consult of the range, translations and every chart new
};

// The dashboard consulted over the `dias` up to the office's last day, the other range shown
// before, as a supervisor changes the dates and consults again: from the click to the page in
// view painted. Then every other page opened and painted (each draws its chart when first
// seen), and the statements the consult sent, stepped with the C API on a bare connection.
void Medir(FrmTablero& t, sqlite3* desnuda, const QDate& hoy, int dias, Tiempos& r) {
    t.DtpDel->ponerFecha(hoy.addDays(1 - dias));
    t.DtpAl->ponerFecha(hoy);
    medir::Pintura pintura;
    auto enVista = [&] { return t.paginas[size_t(t.Paginas->currentIndex())].grafica->viewport(); };
    QStringList enviadas;
    const int observador =
        Global::Conexion.agregarObservador([&](const QString& s) { enviadas << s; });
    const double ventana = medir::Mejor(1, [&] {
        t.CmdConsultar->click();
        pintura.esperar(enVista());
    });
    Global::Conexion.quitarObservador(observador);
    if (r.primera == 0) r.primera = ventana;
    r.ventana = std::min(r.ventana, ventana);
    double mayor = 0;
    for (int k = 1; k < FrmTablero::NumPaginas; ++k)
        mayor = std::max(mayor, medir::Mejor(1, [&] {
                             t.Paginas->setCurrentIndex(k);
                             pintura.esperar(enVista());
                         }));
    t.Paginas->setCurrentIndex(0);
    pintura.esperar(enVista());
    r.pagina = std::max(r.pagina, mayor);
    std::vector<std::unique_ptr<medir::PasoSqlite>> pasos;
    for (const QString& s : enviadas)
        pasos.push_back(
            std::make_unique<medir::PasoSqlite>(desnuda, db::incrustado::Traducir(s).sql));
    r.api = std::min(r.api, medir::Mejor(1, [&] {
                         for (auto& p : pasos) p->correr();
                     }));
}

}  // namespace

int main(int argc, char** argv) {
    escritorio::PrepararProceso();
    QApplication app(argc, argv);
    escritorio::SinCajas servicios;
    InstalarServicios(&servicios);
    const QString datos = escritorio::CarpetaDatos(argc, argv);
    const oficina::Base b = oficina::Preparar(QDir(datos).filePath(QStringLiteral("oficina")), 10);
    Global::Conexion.alTrabajar(Global::AtenderVentanasAlTrabajar);  // as Conectar does
    Global::Conexion.abrir(std::make_unique<db::MotorIncrustado>(b.carpeta));
    Global::CentroDistribucion = QString::fromLatin1(oficina::kCentros[0]);

    oficina::ConexionDesnuda desnuda(b.carpeta);
    FrmTablero t;
    t.resize(1000, 700);
    t.show();
    Tiempos mes, ano;
    // Short turns in alternation, so that a busy moment of the machine hurts both alike.
    for (int vuelta = 0; vuelta < 8; ++vuelta) {
        Medir(t, desnuda.manejador(), b.hoy, 30, mes);
        Medir(t, desnuda.manejador(), b.hoy, 365, ano);
    }
    const auto& c = *t.cifras();
    long long capturadas = 0;
    for (long long n : c.capturadas) capturadas += n;
    std::printf(
        "tablero de 30 días: %.1f ms (API C %.1f ms); de un año: %.1f ms (API C %.1f ms), "
        "%lld solicitudes capturadas en el año; abrir otra página: %.1f ms a lo más; la primera "
        "consulta de cada rango, con todo hecho de nuevo: %.1f y %.1f ms\n",
        mes.ventana, mes.api, ano.ventana, ano.api, capturadas, std::max(mes.pagina, ano.pagina),
        mes.primera, ano.primera);
    Global::Desconectar();
    medir::Imprimir({{"tablero_30_dias_ms", mes.ventana, 1000},
                     {"tablero_un_ano_ms", ano.ventana, 3000},
                     {"tablero_30_dias_entre_api_c", mes.ventana / mes.api, 1.5, 0.95},
                     {"tablero_un_ano_entre_api_c", ano.ventana / ano.api, 1.5, 0.95},
                     {"tablero_abrir_pagina_ms", std::max(mes.pagina, ano.pagina), 100}});
    return 0;
}
