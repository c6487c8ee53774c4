#pragma once
// The dashboard's figures, read from the grouped statements of sentencias_tablero and worked
// out here: the states per branch, the days captured and the batches delivered, the pending
// applications by age, the verifiers' medians and 90th percentiles, the rejection rates.
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <vector>

#include "tablero/sentencias_tablero.h"

namespace db {
class Conexion;
}

namespace tablero {

// How long the pending applications have waited without a batch.
struct Tramo {
    int desde, hasta;  // days, both included; hasta < 0: no limit
    const char* titulo;
};
inline constexpr std::array<Tramo, 4> kTramos = {{{0, 2, "0 a 2 días"},
                                                  {3, 5, "3 a 5 días"},
                                                  {6, 10, "6 a 10 días"},
                                                  {11, -1, "Más de 10 días"}}};

// Days → how many applications took that many.
using Histograma = std::map<int, long long>;

// By nearest rank: the fewest days within which half (nine in ten) of the applications were.
struct Percentiles {
    long long cuenta = 0;
    int mediana = 0;
    int p90 = 0;
};
Percentiles CalcularPercentiles(const Histograma& dias);

struct Rechazos {
    QString nombre;
    long long rechazadas = 0;
    long long resueltas = 0;  // authorised or rejected
    double tasa() const { return resueltas ? double(rechazadas) / double(resueltas) : 0.0; }
};

struct Cifras {
    Rango rango;
    // The states in the order the charts show them: the program's own first, then any other
    // the database holds, "Sin estado" for none.
    QStringList estados;
    struct Sucursal {
        QString nombre;
        std::map<QString, long long> porEstado;
        long long total = 0;
    };
    std::vector<Sucursal> sucursales;  // by name
    // One entry per day of the range.
    std::vector<long long> capturadas, relaciones;
    std::array<long long, kTramos.size()> pendientes{};
    struct Verificador {
        QString nombre;
        Percentiles entrega, resultado;
    };
    std::vector<Verificador> verificadores;  // by name
    // Highest rate first; only those with a result.
    std::vector<Rechazos> rechazosSucursal, rechazosVendedor;
};

// The five reads, in order; `paso` is told after each (1 to 5), to show progress.
inline constexpr int kLecturas = 5;
Cifras LeerCifras(db::Conexion& conexion, const Rango& rango,
                  const std::function<void(int paso)>& paso = {});

}  // namespace tablero
