#pragma once
// Where the program finds its configuration, and the constants that the optional settings
// file solicitudes.ini may override.
#include <QString>
#include <QStringList>

namespace configuracion {

// OXA_DIR when set, else C:\oxa\ on Windows and ~/.oxa/ elsewhere.
QString Carpeta();
// The start-up table in `carpeta`, its name matched without regard to case; the expected
// path (ARRANQUE.dbf) when no file matches.
QString RutaArranque(const QString& carpeta);

struct Ajustes {
    QString servidorReportes;  // host:port
    QString correoHost;
    int correoPuerto = 366;
    QString correoRemitente;
    QStringList correoDestinatarios;
    QString correoUsuario;
    QString correoContrasena;
    QString programaFotos;
    QString mapaHost;
    bool rastreoHabilitado = false;
};

// Reads solicitudes.ini of the configuration folder; every missing key keeps its default.
Ajustes LeerAjustes(const QString& carpeta);
// Writes a settings file holding `a` (used by the demo writer).
void EscribirAjustes(const QString& carpeta, const Ajustes& a);
Ajustes AjustesPredeterminados(const QString& carpeta);

}  // namespace configuracion
