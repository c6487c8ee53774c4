// What filling a grid costs next to reading the same rows: a list of 100,000 rows by 14 columns
// (a reception search over a long range) read (a) with SQLite's C API alone, (b) through
// db::Recordset on the embedded engine, (c) through the Recordset into a shown Rejilla.
// Aims: (c)/(a) at most 1.5; the whole run under 250 MB.
//
//   rejilla_bench [filas]
#include <malloc.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "db/conexion.h"
#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "db/recordset.h"
#include "startup/global.h"
#include "ui/rejilla.h"

namespace {

constexpr int Repeticiones = 3;

const char* const Consulta =
    "SELECT relacion, solicitud, nombre_sucursal, fecha_entrega, verificador, "
    "fecha_verificacion, cliente, nombre_cliente, estado_actual, linea_autorizada, "
    "tipo_verificacion, comentarios, guardar, recomienda FROM banco_lineas ORDER BY relacion";

double MegasPico() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024.0;
}

// Memory in use on the heap: freed blocks that the process keeps do not count, unlike RSS.
double MegasEnUso() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

void Exigir(int rc, sqlite3* h, const char* que) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", que, sqlite3_errmsg(h));
        std::exit(1);
    }
}

// Rows shaped like the reception's batch lines: numbers, names, dates, a few empty cells.
void CrearFilas(sqlite3* h, int filas) {
    Exigir(sqlite3_exec(
               h,
               "CREATE TABLE banco_lineas (relacion INTEGER, solicitud INTEGER, "
               "nombre_sucursal VARCHAR(40), fecha_entrega DATETIME, verificador VARCHAR(60), "
               "fecha_verificacion DATETIME, cliente INTEGER, nombre_cliente VARCHAR(80), "
               "estado_actual VARCHAR(20), linea_autorizada MONEY, tipo_verificacion VARCHAR(20), "
               "comentarios VARCHAR(200), guardar CHAR(2), recomienda VARCHAR(20))",
               nullptr, nullptr, nullptr),
           h, "crear");
    Exigir(sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr), h, "begin");
    sqlite3_stmt* st = nullptr;
    Exigir(sqlite3_prepare_v2(h, "INSERT INTO banco_lineas VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                              -1, &st, nullptr),
           h, "preparar");
    const char* const sucursales[] = {"CHIHUAHUA CENTRO", "CUAUHTEMOC",     "DELICIAS",
                                      "PARRAL",           "JUAREZ TRIUNFO", "NUEVO CASAS GRANDES"};
    const char* const estados[] = {"Entregada", "Autorizada", "Rechazada", "Pendiente"};
    for (int i = 0; i < filas; ++i) {
        const QByteArray sucursal = sucursales[i % 6];
        const QByteArray verificador =
            QByteArray("VERIFICADOR NUMERO ") + QByteArray::number(i % 37);
        const QByteArray cliente = QByteArray("APELLIDO") + QByteArray::number(i % 977) +
                                   " SEGUNDO" + QByteArray::number(i % 211) + " NOMBRE DEL CLIENTE";
        const QByteArray entrega = QStringLiteral("2024-%1-%2 00:00:00.000")
                                       .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                       .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                       .toLatin1();
        const QByteArray verificada = QStringLiteral("2024-%1-%2 %3:15:00.000")
                                          .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                          .arg(1 + (i + 3) % 28, 2, 10, QLatin1Char('0'))
                                          .arg(8 + i % 10, 2, 10, QLatin1Char('0'))
                                          .toLatin1();
        const QByteArray comentario =
            QByteArray("DOMICILIO CONFIRMADO CON VECINOS, TRABAJA EN ") + sucursal;
        sqlite3_bind_int64(st, 1, 1 + i / 25);
        sqlite3_bind_int64(st, 2, 100000 + i);
        sqlite3_bind_text(st, 3, sucursal.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, entrega.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 5, verificador.constData(), -1, SQLITE_TRANSIENT);
        if (i % 2)
            sqlite3_bind_text(st, 6, verificada.constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(st, 6);
        sqlite3_bind_int64(st, 7, 5000 + i % 9000);
        sqlite3_bind_text(st, 8, cliente.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 9, estados[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 10, (i % 4 == 1) ? 1500.0 + (i % 20) * 250.0 : 0.0);
        sqlite3_bind_text(st, 11, i % 3 ? "Domicilio" : "Telefono", -1, SQLITE_STATIC);
        if (i % 5)
            sqlite3_bind_text(st, 12, comentario.constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(st, 12);
        sqlite3_bind_null(st, 13);
        sqlite3_bind_text(st, 14, i % 2 ? "Recomendable" : "Dudoso", -1, SQLITE_STATIC);
        Exigir(sqlite3_step(st), h, "insertar");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exigir(sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr), h, "commit");
}

// (a) The floor: stepping the statement and touching every column's value.
long long LeerConSqlite(sqlite3* h) {
    sqlite3_stmt* st = nullptr;
    Exigir(sqlite3_prepare_v2(h, Consulta, -1, &st, nullptr), h, "preparar consulta");
    long long suma = 0;
    const int columnas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < columnas; ++c) {
            switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    suma += sqlite3_column_int64(st, c);
                    break;
                case SQLITE_FLOAT:
                    suma += static_cast<long long>(sqlite3_column_double(st, c));
                    break;
                case SQLITE_TEXT:
                    suma += sqlite3_column_bytes(st, c) + sqlite3_column_text(st, c)[0];
                    break;
                default:
                    break;
            }
        }
    }
    sqlite3_finalize(st);
    return suma;
}

// (b) The program's read pattern, every field of every record.
long long LeerConRecordset(db::Conexion& conexion) {
    db::Recordset registros;
    registros.abrir(QString::fromLatin1(Consulta), conexion);
    long long filas = 0, nulos = 0;
    const int campos = registros.numeroCampos();
    while (!registros.eof()) {
        for (int i = 0; i < campos; ++i) nulos += registros.campo(i).isNull();
        ++filas;
        registros.siguiente();
    }
    registros.cerrar();
    return filas * 100 + nulos;
}

// (c) Into the grid of a shown window, painted once. The window empties its grid first, as
// the windows do, then reads and fills.
struct Partes {
    double consulta = 1e300, llenado = 1e300, anchos = 1e300, dibujo = 1e300;
};

long long LlenarRejilla(db::Conexion& conexion, QDialog& ventana, Rejilla& rejilla,
                        Partes& partes) {
    QElapsedTimer reloj;
    reloj.start();
    rejilla.quitarFilasYColumnas();
    db::Recordset registros;
    registros.abrir(QString::fromLatin1(Consulta), conexion);
    partes.consulta = std::min(partes.consulta, reloj.nsecsElapsed() / 1e6);
    reloj.restart();
    rejilla.llenar(registros);
    partes.llenado = std::min(partes.llenado, reloj.nsecsElapsed() / 1e6);
    registros.cerrar();
    reloj.restart();
    for (int c = 1; c <= 5; ++c) rejilla.ajustarAncho(c);
    rejilla.ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
    partes.anchos = std::min(partes.anchos, reloj.nsecsElapsed() / 1e6);
    reloj.restart();
    if (!ventana.isVisible()) ventana.show();
    rejilla.viewport()->repaint();
    QCoreApplication::processEvents();
    partes.dibujo = std::min(partes.dibujo, reloj.nsecsElapsed() / 1e6);
    return rejilla.numeroFilas();
}

double Mejor(const std::function<long long()>& trabajo, long long& control) {
    double mejor = 1e300;
    for (int i = 0; i < Repeticiones; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        control = trabajo();
        mejor = std::min(mejor, reloj.nsecsElapsed() / 1e6);
    }
    return mejor;
}

}  // namespace

int main(int argc, char** argv) {
    Global::PrepararProceso();  // as the program runs
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int filas = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;

    QTemporaryDir carpeta;
    db::Conexion conexion;
    try {
        conexion.abrir(
            QStringLiteral("Driver={SQL Server};Server=sqlite:%1;Database=erp_oxa;Uid=;Pwd=;")
                .arg(carpeta.path()));
    } catch (const db::ErrorBD& e) {
        std::fprintf(stderr, "No se abrió el motor incrustado: %s\n", qPrintable(e.mensaje()));
        return 1;
    }
    auto* motor = dynamic_cast<db::MotorIncrustado*>(conexion.motor());
    if (!motor || !motor->manejador()) {
        std::fprintf(stderr, "La conexión no es del motor incrustado.\n");
        return 1;
    }
    sqlite3* h = motor->manejador();
    CrearFilas(h, filas);
    std::printf("%d filas x 14 columnas; mejor de %d vueltas\n", filas, Repeticiones);
    std::printf("memoria tras crear los datos: %.1f MB en uso (pico %.1f MB)\n", MegasEnUso(),
                MegasPico());

    long long control = 0;
    LeerConSqlite(h);  // pages into the cache, so every road reads from memory
    const double a = Mejor([&] { return LeerConSqlite(h); }, control);
    std::printf("(a) SQLite C API            %9.1f ms                 pico %.1f MB\n", a,
                MegasPico());

    double b = 0;
    try {
        b = Mejor([&] { return LeerConRecordset(conexion); }, control);
    } catch (const db::ErrorBD& e) {
        std::fprintf(stderr, "El Recordset falló: %s\n", qPrintable(e.mensaje()));
        return 1;
    }
    std::printf("(b) db::Recordset           %9.1f ms   b/a = %5.2f   pico %.1f MB\n", b, b / a,
                MegasPico());

    {
        const double antes = MegasEnUso();
        db::Recordset abierto;
        abierto.abrir(QString::fromLatin1(Consulta), conexion);
        std::printf("    un resultado abierto ocupa %.1f MB en el motor\n", MegasEnUso() - antes);
    }

    QDialog ventana;
    auto* rejilla = new Rejilla(&ventana);
    auto* capas = new QVBoxLayout(&ventana);
    capas->addWidget(rejilla);
    ventana.resize(900, 500);
    const double antesRejilla = MegasEnUso();
    Partes partes;
    const double c =
        Mejor([&] { return LlenarRejilla(conexion, ventana, *rejilla, partes); }, control);
    const double conRejilla = MegasEnUso();
    std::printf("(c) Recordset -> Rejilla    %9.1f ms   c/a = %5.2f   pico %.1f MB\n", c, c / a,
                MegasPico());
    std::printf(
        "    consulta en el motor %.1f ms; llenado %.1f ms, anchos de 5 columnas %.1f ms, "
        "mostrar y pintar %.1f ms\n",
        partes.consulta, partes.llenado, partes.anchos, partes.dibujo);
    const double propio = partes.llenado + partes.anchos + partes.dibujo;
    std::printf("    lo que pone la rejilla sobre la lectura: %.1f ms = %.2f de (a)\n", propio,
                propio / a);
    std::printf("    la rejilla llena retiene %.1f MB (%lld filas)\n", conRejilla - antesRejilla,
                control);

    // The windows' own loops: a row appended and its cells written one by one.
    QElapsedTimer reloj;
    const int porFila = std::min(filas, 20000);
    rejilla->quitarFilasYColumnas();
    for (int col = 1; col <= 14; ++col) rejilla->agregarColumna(QStringLiteral("C%1").arg(col), 80);
    reloj.start();
    for (int f = 1; f <= porFila; ++f) {
        rejilla->agregarFila();
        for (int col = 1; col <= 14; ++col) rejilla->ponerValor(f, col, f * 14 + col);
    }
    QCoreApplication::processEvents();
    std::printf("fila por fila, dibujo encendido:  %d filas en %.1f ms\n", porFila,
                reloj.nsecsElapsed() / 1e6);
    rejilla->quitarFilas();
    reloj.start();
    rejilla->ponerDibujo(false);
    for (int f = 1; f <= porFila; ++f) {
        rejilla->agregarFila();
        for (int col = 1; col <= 14; ++col) rejilla->ponerValor(f, col, f * 14 + col);
    }
    rejilla->ponerDibujo(true);
    QCoreApplication::processEvents();
    std::printf("fila por fila, dibujo apagado:    %d filas en %.1f ms\n", porFila,
                reloj.nsecsElapsed() / 1e6);

    const double pico = MegasPico();
    std::printf("pico de memoria del proceso: %.1f MB\n", pico);
    std::printf("metas: c/a <= 1.5 %s; pico <= 250 MB %s\n",
                c / a <= 1.5 ? "cumplida" : "NO cumplida",
                pico <= 250 ? "cumplida" : "NO cumplida");
    return 0;
}
