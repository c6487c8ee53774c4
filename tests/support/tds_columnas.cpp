#include "tds_columnas.h"

#include <QDateTime>
#include <limits>

#include "db/embedded/esquema.h"

namespace tds {

namespace {

using db::incrustado::TipoColumna;

// The schema's columns of that name, in whatever table.
std::vector<const db::incrustado::Columna*> delEsquema(const QString& nombre) {
    std::vector<const db::incrustado::Columna*> r;
    for (const db::incrustado::Tabla& t : db::incrustado::Tablas())
        if (const db::incrustado::Columna* c = t.columna(nombre)) r.push_back(c);
    return r;
}

ColumnaTds texto(const QString& nombre, int largo, bool fijo, const OpcionesTipos& o) {
    largo = std::max(largo, 1);
    if (o.nvarchar) return {nombre, fijo ? kNChar : kNVarChar, std::min(largo, 4000)};
    return {nombre, fijo ? kChar : kVarChar, std::min(largo, 8000)};
}

ColumnaTds deEsquema(const QString& nombre, const db::incrustado::Columna& c,
                     const OpcionesTipos& o) {
    switch (c.tipo) {
        case TipoColumna::Texto:
        case TipoColumna::Caracter:
            return texto(nombre, c.longitud, c.tipo == TipoColumna::Caracter, o);
        case TipoColumna::Entero:
        case TipoColumna::Identidad:
            return {nombre, kIntN, 4};
        case TipoColumna::Decimal:
            return {nombre, kMoneyN, 8};
        case TipoColumna::Real:
            return {nombre, kFltN, 8};
        case TipoColumna::Fecha:
            return {nombre, kFechaHoraN, 8};
        case TipoColumna::Bit:
            return {nombre, kBitN, 1};
    }
    return {nombre, kIntN, 4};
}

ColumnaTds columna(const QString& nombre, const std::vector<QVariantList>& filas, int i,
                   const OpcionesTipos& o) {
    bool bits = true, enteros = true, numeros = true, fechas = true, alguno = false;
    bool grande = false;
    int largo = 0;
    for (const QVariantList& f : filas) {
        const QVariant& v = f.at(i);
        if (v.isNull()) continue;
        alguno = true;
        const int t = v.typeId();
        bits = bits && t == QMetaType::Bool;
        enteros = enteros && t == QMetaType::LongLong;
        numeros = numeros && (t == QMetaType::LongLong || t == QMetaType::Double);
        fechas = fechas && t == QMetaType::QDateTime;
        if (t == QMetaType::LongLong) {
            const qint64 n = v.toLongLong();
            grande = grande || n < std::numeric_limits<qint32>::min() ||
                     n > std::numeric_limits<qint32>::max();
        }
        largo = std::max(largo, int(v.toString().size()));
    }
    const auto esquema = delEsquema(nombre);
    if (o.comentariosTexto &&
        nombre.compare(QLatin1String("comentarios"), Qt::CaseInsensitive) == 0)
        return {nombre, kTexto, 0};
    if (!alguno)
        return esquema.empty() ? ColumnaTds{nombre, kIntN, 4} : deEsquema(nombre, *esquema[0], o);
    auto hay = [&](auto&& cumple) {
        for (const db::incrustado::Columna* c : esquema)
            if (cumple(*c)) return c;
        return static_cast<const db::incrustado::Columna*>(nullptr);
    };
    if (bits) return {nombre, kBitN, 1};
    if (enteros) return {nombre, kIntN, grande ? 8 : 4};
    if (numeros) {
        const bool decimal = hay([](const auto& c) { return c.tipo == TipoColumna::Decimal; });
        return {nombre, decimal ? kMoneyN : kFltN, 8};
    }
    if (fechas) return {nombre, kFechaHoraN, 8};
    const auto* t = hay([](const auto& c) { return db::incrustado::EsTexto(c.tipo); });
    const bool fijo = t && t->tipo == TipoColumna::Caracter && largo <= t->longitud;
    return texto(nombre, std::max(largo, t ? t->longitud : 0), fijo, o);
}

bool esTexto(quint8 t) {
    return t == kNVarChar || t == kNChar || t == kVarChar || t == kChar || t == kNTexto ||
           t == kTexto;
}

bool esFecha(quint8 t) {
    return t == kFechaHoraN || t == kFechaHora2N || t == kFechaN || t == kFechaHora || t == 0x3A;
}

}  // namespace

QList<ColumnaTds> TiposDeResultado(const QStringList& nombres,
                                   const std::vector<QVariantList>& filas,
                                   const OpcionesTipos& opciones) {
    QList<ColumnaTds> r;
    for (int i = 0; i < nombres.size(); ++i) r << columna(nombres[i], filas, i, opciones);
    return r;
}

db::Parametro ParametroDe(const ParametroTds& p, const QString& nombre) {
    db::Parametro r;
    r.nombre = p.nombre.isEmpty() ? nombre : p.nombre;
    r.direccion = p.salida() ? db::Direccion::Salida : db::Direccion::Entrada;
    r.valor = p.valor;
    if (esTexto(p.tipo)) {
        r.tipo = db::TipoParametro::Char;
        r.tamano = p.largo > 0 ? p.largo : int(p.valor.toString().size());
    } else if (esFecha(p.tipo)) {
        r.tipo = db::TipoParametro::DBTimeStamp;
        r.tamano = 8;
    } else {
        r.tipo = db::TipoParametro::Integer;
        r.tamano = p.largo;
    }
    return r;
}

ColumnaTds TipoDeSalida(const ParametroTds& p) {
    if (esTexto(p.tipo)) return {p.nombre, kNVarChar, std::clamp(p.largo, 1, 4000)};
    if (esFecha(p.tipo)) return {p.nombre, kFechaHoraN, 8};
    if (p.tipo == kBitN || p.tipo == kBit) return {p.nombre, kBitN, 1};
    if (p.tipo == kFltN || p.tipo == 0x3E) return {p.nombre, kFltN, 8};
    return {p.nombre, kIntN, p.largo == 8 ? 8 : 4};
}

}  // namespace tds
