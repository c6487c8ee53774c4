#pragma once
// The staff of the running branch's distribution centre, as the salesperson and verifier lists
// of the capture, batch and reception windows show them, and the look-up that turns a chosen
// entry's number back into the key exactly as personal stores it.
#include <QString>

#include "db/columnas.h"

class QComboBox;

namespace personal {

enum class Rol { Vendedor, Verificador };

// The list's select list: the key, surnames and names, read by their places.
enum class Lista { Persona, Apellidos, Nombres };
inline constexpr db::Columnas<Lista, 3> kColumnasLista = {{
    {Lista::Persona, "p.persona", nullptr},
    {Lista::Apellidos, "p.apellidos", nullptr},
    {Lista::Nombres, "p.nombres", nullptr},
}};
// Ordered by surnames, then names: the second and third items.
QString SentenciaLista(const QString& centro, Rol rol);

// The look-up's one item, "persona", read by its place.
enum class Clave { Persona };
inline constexpr db::Columnas<Clave, 1> kColumnasClave = {{{Clave::Persona, "persona", nullptr}}};
QString SentenciaClave(qint64 persona);

}  // namespace personal

namespace db {
class Conexion;
class Recordset;
}  // namespace db

// Adds to `lista` the staff of the distribution centre `centro` with the role given, ordered by
// surnames and names: the text "SURNAMES NAMES" upper-cased, the staff number as item data.
// The statement is left in `cadenaSql` and read through `registros`; throws db::ErrorBD.
void LlenarListaPersonal(QComboBox* lista, personal::Rol rol, const QString& centro,
                         db::Conexion& conexion, db::Recordset& registros, QString& cadenaSql);
