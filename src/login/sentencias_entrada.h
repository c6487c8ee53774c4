#pragma once
// The log-in's look-up of a staff member: the name and the enciphered password.
#include <QString>

#include "db/columnas.h"

namespace entrada {

// Read by their places; %1 is the staff key, quoted.
enum class Persona { Nombre, Contrasena };
inline constexpr db::Columnas<Persona, 2> kColumnasPersona = {{
    {Persona::Nombre, "erp_oxa.dbo.nombre_persona(%1)", nullptr},
    {Persona::Contrasena, "CAST( contrasena AS char( 20))", nullptr},
}};
// `clave` is the 7-character key, blanks included.
QString SentenciaPersona(const QString& clave);

}  // namespace entrada
