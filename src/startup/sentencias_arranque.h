#pragma once
// The start-up's read of the running branch: its distribution centre and name.
#include <QString>

#include "db/columnas.h"

namespace arranque {

// Read by their places; the VAT rate is selected and not kept.
enum class Sucursal { Centro, TasaIva, Nombre };
inline constexpr db::Columnas<Sucursal, 3> kColumnasSucursal = {{
    {Sucursal::Centro, "centro_distribucion", nullptr},
    {Sucursal::TasaIva, "tasa_iva", nullptr},
    {Sucursal::Nombre, "nombre_sucursal", nullptr},
}};
// The branch number goes quoted, as deciphered.
QString SentenciaSucursal(const QString& sucursal);

}  // namespace arranque
