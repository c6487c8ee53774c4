#include "tablero/cifras_tablero.h"

#include <algorithm>
#include <cmath>

#include "db/recordset.h"

namespace tablero {

namespace {

const QStringList kEstadosConocidos = {QStringLiteral("Recibida"), QStringLiteral("Entregada"),
                                       QStringLiteral("Autorizada"), QStringLiteral("Rechazada")};
const QString kSinEstado = QStringLiteral("Sin estado");

// The server compares states without regard to case or trailing blanks; so do the figures.
QString NombreEstado(const QVariant& v) {
    if (v.isNull()) return kSinEstado;
    const QString t = v.toString().trimmed();
    for (const QString& e : kEstadosConocidos)
        if (t.compare(e, Qt::CaseInsensitive) == 0) return e;
    return t.isEmpty() ? kSinEstado : t;
}

// Reads every row of `sql`, its columns found through `columnas`.
template <typename Id, std::size_t N, typename F>
void Leer(db::Conexion& conexion, const QString& sql, const db::Columnas<Id, N>& columnas,
          F&& fila) {
    db::Recordset r;
    r.abrir(sql, conexion);
    const db::Lectura<Id, N> c(r, columnas);
    for (; !r.eof(); r.siguiente()) fila(r, c);
}

// A count per day of the range from a read grouped by its day.
std::vector<long long> PorDia(db::Conexion& conexion, const QString& sql, const Rango& rango) {
    std::vector<long long> dias(size_t(std::max<qint64>(0, rango.del.daysTo(rango.al) + 1)), 0);
    Leer(conexion, sql, kColumnasDias, [&](const db::Recordset& r, const auto& c) {
        const QVariant dia = c.campo(r, Dia::Dia);
        const long long k = dia.toLongLong();
        if (!dia.isNull() && k >= 0 && k < qint64(dias.size()))
            dias[size_t(k)] += c.campo(r, Dia::Cuenta).toLongLong();
    });
    return dias;
}

void Ordenar(std::vector<Rechazos>& v) {
    std::erase_if(v, [](const Rechazos& x) { return x.resueltas == 0; });
    std::sort(v.begin(), v.end(), [](const Rechazos& a, const Rechazos& b) {
        if (a.tasa() != b.tasa()) return a.tasa() > b.tasa();
        if (a.rechazadas != b.rechazadas) return a.rechazadas > b.rechazadas;
        return a.nombre < b.nombre;
    });
}

}  // namespace

Percentiles CalcularPercentiles(const Histograma& dias) {
    Percentiles p;
    for (const auto& [d, n] : dias) p.cuenta += n;
    if (p.cuenta == 0) return p;
    // The rank of the nearest-rank method: ceil(q * n), at least 1.
    auto rango = [&](int porCiento) {
        return std::max<long long>(1, (p.cuenta * porCiento + 99) / 100);
    };
    const long long m = rango(50), n90 = rango(90);
    long long acumulado = 0;
    bool conMediana = false;
    for (const auto& [d, n] : dias) {
        acumulado += n;
        if (!conMediana && acumulado >= m) {
            p.mediana = d;
            conMediana = true;
        }
        if (acumulado >= n90) {
            p.p90 = d;
            break;
        }
    }
    return p;
}

Cifras LeerCifras(db::Conexion& conexion, const Rango& rango,
                  const std::function<void(int)>& paso) {
    auto avanzar = [&](int k) {
        if (paso) paso(k);
    };
    Cifras c;
    c.rango = rango;

    // States per branch, and from the same rows the rejections per branch and salesperson.
    std::map<QString, Cifras::Sucursal> sucursales;
    std::map<QString, Rechazos> porSucursal, porVendedor;
    QStringList otros;
    Leer(conexion, SentenciaEstados(rango), kColumnasEstados,
         [&](const db::Recordset& r, const auto& k) {
             const QString sucursal = k.campo(r, Estado::Sucursal).toString();
             const QString estado = NombreEstado(k.campo(r, Estado::Estado));
             const long long n = k.campo(r, Estado::Cuenta).toLongLong();
             Cifras::Sucursal& s = sucursales[sucursal];
             s.nombre = sucursal;
             s.porEstado[estado] += n;
             s.total += n;
             if (!kEstadosConocidos.contains(estado) && !otros.contains(estado)) otros << estado;
             const QString clave = k.campo(r, Estado::Vendedor).toString().trimmed();
             QString vendedor = k.campo(r, Estado::NombreVendedor).toString();
             if (vendedor.isEmpty()) vendedor = clave;
             for (Rechazos* x : {&porSucursal[sucursal], &porVendedor[clave]}) {
                 if (estado == kEstadosConocidos[3]) x->rechazadas += n;
                 if (estado == kEstadosConocidos[2] || estado == kEstadosConocidos[3])
                     x->resueltas += n;
             }
             porSucursal[sucursal].nombre = sucursal;
             porVendedor[clave].nombre = vendedor;
         });
    otros.sort();
    // "Sin estado" goes last.
    if (otros.removeAll(kSinEstado)) otros << kSinEstado;
    c.estados = kEstadosConocidos + otros;
    for (auto& [nombre, s] : sucursales) c.sucursales.push_back(std::move(s));
    for (auto& [k, x] : porSucursal) c.rechazosSucursal.push_back(x);
    for (auto& [k, x] : porVendedor) c.rechazosVendedor.push_back(x);
    Ordenar(c.rechazosSucursal);
    Ordenar(c.rechazosVendedor);
    avanzar(1);

    c.capturadas = PorDia(conexion, SentenciaCapturadas(rango), rango);
    avanzar(2);
    c.relaciones = PorDia(conexion, SentenciaRelaciones(rango), rango);
    avanzar(3);

    Leer(conexion, SentenciaPendientes(rango), kColumnasDias,
         [&](const db::Recordset& r, const auto& k) {
             const long long dias = k.campo(r, Dia::Dia).toLongLong();
             for (size_t t = 0; t < kTramos.size(); ++t)
                 if (dias >= kTramos[t].desde && (kTramos[t].hasta < 0 || dias <= kTramos[t].hasta))
                     c.pendientes[t] += k.campo(r, Dia::Cuenta).toLongLong();
         });
    avanzar(4);

    struct Dias {
        QString nombre;
        Histograma entrega, resultado;
    };
    std::map<QString, Dias> verificadores;
    Leer(conexion, SentenciaTiempos(rango), kColumnasTiempos,
         [&](const db::Recordset& r, const auto& k) {
             const QString clave = k.campo(r, Tiempo::Verificador).toString().trimmed();
             Dias& v = verificadores[clave];
             v.nombre = k.campo(r, Tiempo::Nombre).toString();
             if (v.nombre.isEmpty()) v.nombre = clave;
             const long long n = k.campo(r, Tiempo::Cuenta).toLongLong();
             const QVariant entrega = k.campo(r, Tiempo::Entrega);
             const QVariant resultado = k.campo(r, Tiempo::Resultado);
             if (!entrega.isNull()) v.entrega[entrega.toInt()] += n;
             if (!resultado.isNull()) v.resultado[resultado.toInt()] += n;
         });
    for (const auto& [clave, v] : verificadores)
        c.verificadores.push_back(
            {v.nombre, CalcularPercentiles(v.entrega), CalcularPercentiles(v.resultado)});
    std::sort(c.verificadores.begin(), c.verificadores.end(),
              [](const auto& a, const auto& b) { return a.nombre < b.nombre; });
    avanzar(5);
    return c;
}

}  // namespace tablero
