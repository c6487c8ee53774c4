// Reading 100,000 rows x 14 columns from the embedded engine through the data layer, against
// stepping the same query with the SQLite C API alone; and the cost of sending a statement
// again (cached by its text) against sending a new one.
#include <sqlite3.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "db/conexion.h"
#include "db/embedded/motor_incrustado.h"
#include "db/recordset.h"
#include "startup/global.h"

namespace {

constexpr int kFilas = 100000;
const char* kConsulta =
    "SELECT solicitud, Cliente, Fecha_recepcion, Importe_Solicitud, Sucursal, Promocion, telefono, "
    "Nombre_Aval, apellidos_Aval, Rastreado, Documento, fecha_tienda, Vendedor, estado_actual "
    "FROM norv.dbo.Solicitudes_cliente_Nuevo";
// The same query as SQLite itself reads it (the engine maps norv.dbo. to the attached file).
const char* kConsultaSqlite =
    "SELECT solicitud, Cliente, Fecha_recepcion, Importe_Solicitud, Sucursal, Promocion, telefono, "
    "Nombre_Aval, apellidos_Aval, Rastreado, Documento, fecha_tienda, Vendedor, estado_actual "
    "FROM norv.Solicitudes_cliente_Nuevo";

long MemoriaPicoMb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024;
}

void Sembrar(sqlite3* db) {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO norv.Solicitudes_cliente_Nuevo (Cliente, Fecha_recepcion, "
                       "Importe_Solicitud, Sucursal, Promocion, telefono, Nombre_Aval, apellidos_Aval, "
                       "Rastreado, Documento, fecha_tienda, Vendedor) VALUES (?, "
                       "'2026-12-01 10:00:00.000', ?, '1      ', 4, '6141234567890', 'PEDRO', "
                       "'RUIZ SOTO', 1, ?, '2026-11-30 00:00:00.000', '    101')",
                       -1, &st, nullptr);
    for (int i = 0; i < kFilas; ++i) {
        sqlite3_bind_int(st, 1, i % 5000 + 1);
        sqlite3_bind_int(st, 2, 1000 + i % 90000);
        sqlite3_bind_int(st, 3, 100000 + i);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

double PasoSqlite(sqlite3* db, long long& suma) {
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, kConsultaSqlite, -1, &st, nullptr);
    const int columnas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < columnas; ++c) {
            // Every value read as the program needs it: numbers as numbers, texts as text.
            if (sqlite3_column_type(st, c) == SQLITE_TEXT)
                suma += sqlite3_column_bytes(st, c) > 0 ? 1 : 0;
            else
                suma += sqlite3_column_type(st, c) != SQLITE_NULL ? 1 : 0;
        }
    sqlite3_finalize(st);
    return t.nsecsElapsed() / 1e6;
}

double PasoCapaDatos(db::Conexion& cn, long long& suma) {
    QElapsedTimer t;
    t.start();
    db::Recordset r;
    r.abrir(QString::fromLatin1(kConsulta), cn);
    const int columnas = r.numeroCampos();
    while (!r.eof()) {
        for (int c = 0; c < columnas; ++c) {
            const QVariant v = r.campo(c);
            suma += v.isNull() ? 0 : 1;
        }
        r.siguiente();
    }
    r.cerrar();
    return t.nsecsElapsed() / 1e6;
}

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    Global::PrepararProceso();  // as the program runs
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto motor = std::make_unique<db::MotorIncrustado>(dir.filePath(QStringLiteral("datos")));
    db::MotorIncrustado* m = motor.get();
    Sembrar(m->manejador());
    db::Conexion cn;
    cn.abrir(std::move(motor));

    std::vector<double> sqlite, capa;
    long long a = 0, b = 0;
    for (int i = 0; i < 5; ++i) {
        sqlite.push_back(PasoSqlite(m->manejador(), a));
        capa.push_back(PasoCapaDatos(cn, b));
    }
    const double ms = Mediana(sqlite), mc = Mediana(capa);
    std::printf("lectura de %d renglones x 14 columnas (mediana de 5)\n", kFilas);
    std::printf("  API C de SQLite:   %8.1f ms\n", ms);
    std::printf("  capa de datos:     %8.1f ms   razón %.2f (meta <= 1.3)\n", mc, mc / ms);
    std::printf("  memoria pico:      %8ld MB\n", MemoriaPicoMb());

    // A statement sent again is found by its text: no new translation.
    const QString repetida = QStringLiteral(
        "SELECT centro_distribucion,tasa_iva,nombre_sucursal FROM sucursales where sucursal='1'");
    const long long antes = m->traducciones();
    QElapsedTimer t;
    t.start();
    constexpr int kVeces = 20000;
    for (int i = 0; i < kVeces; ++i) {
        db::Recordset r;
        r.abrir(repetida, cn);
    }
    const double repetir = t.nsecsElapsed() / 1e3 / kVeces;
    const long long traducidas = m->traducciones() - antes;
    t.restart();
    for (int i = 0; i < kVeces; ++i) {
        db::Recordset r;
        r.abrir(repetida + QStringLiteral(" AND tasa_iva > %1").arg(-i - 1), cn);
    }
    const double nueva = t.nsecsElapsed() / 1e3 / kVeces;
    std::printf("sentencia repetida %d veces: %lld traducción(es), %.1f µs cada vez\n", kVeces,
                traducidas, repetir);
    std::printf("sentencia distinta cada vez:  %.1f µs cada vez\n", nueva);
    return (a == b && a > 0) ? 0 : 1;
}
