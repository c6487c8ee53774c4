#pragma once
// Every statement the tracking window sends: the customer's and the guarantor's records, the
// other customers with the application's telephone, and the rejection of an application.
#include <QString>
#include <QVariant>

#include "db/columnas.h"

namespace rastreo {

// The customer's two markers, read by their places.
enum class Cliente { Incobrable, Indeseable };
inline constexpr db::Columnas<Cliente, 2> kColumnasCliente = {{
    {Cliente::Incobrable, "NORV.dbo.cliente_incobrable(%1)", nullptr},
    {Cliente::Indeseable, "es_Indeseable", nullptr},
}};
QString SentenciaCliente(qint64 cliente);

// The guarantor's surnames and names, read by their places.
enum class Aval { Apellidos, Nombres };
inline constexpr db::Columnas<Aval, 2> kColumnasAval = {{
    {Aval::Apellidos, "apellidos_aval", nullptr},
    {Aval::Nombres, "nombre_aval", nullptr},
}};
QString SentenciaAval(qint64 solicitud);

// What the history procedure answers, by position (the procedure is the server's).
enum class Historial { Cliente, AvalDe, Incobrable, EsAval, Incobrable2 };
constexpr int Posicion(Historial h) { return static_cast<int>(h); }

// The other customers whose applications carry this one's telephone, read by their place.
enum class Telefono { Cliente };
inline constexpr db::Columnas<Telefono, 1> kColumnasTelefono = {
    {{Telefono::Cliente, "o.Cliente", nullptr}}};
QString SentenciaTelefono(qint64 solicitud);

// Rejects the application only while it is in no batch and in the state `estado` the
// screening read (NULL included).
QString SentenciaRechazar(qint64 solicitud, const QString& comentario, const QVariant& estado);

}  // namespace rastreo
