#pragma once
// The values every window shares for the whole run, and the start-up and connection
// procedures.
#include <QString>

#include "db/conexion.h"
#include "db/recordset.h"
#include "startup/configuracion.h"
#include "startup/texto_fijo.h"

namespace Global {

inline db::Conexion Conexion;
inline QString CadenaConexion;
inline QString CadenaSql;
inline db::Recordset Registros;
inline db::Recordset Registros2;
inline QString SucursalActual;
inline QString CentroDistribucion;
inline QString NombreSucursal;
inline QString ClaveUsuario;
inline bool CambiosPendientes = false;
inline double NumeroCliente = 0;
inline bool ClienteNuevo = false;
inline QString NombreCompleto;
inline TextoFijo<7> ClavePersona;
inline TextoFijo<7> ClaveSucursal;
inline double NumeroRelacion = 0;
inline short TipoReporte = 0;
inline QString ComentarioRechazo;
inline float VersionPrograma = 0;

// Configuration folder of this run and the constants of solicitudes.ini.
inline QString CarpetaConfiguracion;
inline configuracion::Ajustes Ajustes;

// Start-up failures: the message names what is wrong; Main shows it and exits non-zero.
class ErrorArranque : public std::runtime_error {
  public:
    explicit ErrorArranque(const QString& m) : std::runtime_error(m.toStdString()), mensaje(m) {}
    QString mensaje;
};

// Reads the start-up table of CarpetaConfiguracion: fills CadenaConexion and SucursalActual.
void LeerConfiguracion();
// LeerConfiguracion, opens Conexion, reads the running branch's centre and name.
void Conectar();
void Desconectar();

}  // namespace Global
