#include "startup/configuracion.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace configuracion {

QString Carpeta() {
    const QString env = qEnvironmentVariable("OXA_DIR");
    if (!env.isEmpty()) return env;
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\oxa\\");
#else
    return QDir::homePath() + QStringLiteral("/.oxa/");
#endif
}

QString RutaArranque(const QString& carpeta) {
    const QDir dir(carpeta);
    for (const QString& nombre : dir.entryList(QDir::Files))
        if (nombre.compare(QLatin1String("ARRANQUE.dbf"), Qt::CaseInsensitive) == 0)
            return dir.filePath(nombre);
    return dir.filePath(QStringLiteral("ARRANQUE.dbf"));
}

Ajustes AjustesPredeterminados(const QString& carpeta) {
    Ajustes a;
    a.servidorReportes = QStringLiteral("reportes:88");
    a.correoHost = QStringLiteral("correo");
    a.correoPuerto = 366;
    a.correoRemitente = QStringLiteral("soporte@empresa.com.mx");
    a.correoDestinatarios = {QStringLiteral("sistemas1@empresa.com.mx"),
                             QStringLiteral("sistemas2@empresa.com.mx")};
    a.correoUsuario = QStringLiteral("soporte");
    a.correoContrasena = QStringLiteral("operador1997");
#ifdef Q_OS_WIN
    a.programaFotos = QDir(carpeta).filePath(QStringLiteral("fotos_clientes.exe"));
#else
    a.programaFotos = QDir(carpeta).filePath(QStringLiteral("fotos_clientes"));
#endif
    a.mapaHost = QStringLiteral("maps.google.com");
    a.rastreoHabilitado = false;
    return a;
}

Ajustes LeerAjustes(const QString& carpeta) {
    Ajustes a = AjustesPredeterminados(carpeta);
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("solicitudes.ini"));
    if (!QFileInfo::exists(ruta)) return a;
    QSettings s(ruta, QSettings::IniFormat);
    auto texto = [&s](const char* clave, const QString& omision) {
        const QString v = s.value(QLatin1String(clave)).toString().trimmed();
        return v.isEmpty() ? omision : v;
    };
    a.servidorReportes = texto("reportes/servidor", a.servidorReportes);
    a.correoHost = texto("correo/host", a.correoHost);
    bool ok = false;
    const int puerto = s.value(QStringLiteral("correo/puerto")).toInt(&ok);
    if (ok && puerto > 0 && puerto < 65536) a.correoPuerto = puerto;
    a.correoRemitente = texto("correo/remitente", a.correoRemitente);
    // QSettings splits a value on commas; the list is written with ';' as the mail component did.
    const QVariant dest = s.value(QStringLiteral("correo/destinatarios"));
    if (dest.isValid()) {
        const QString unido = dest.typeId() == QMetaType::QStringList
                                  ? dest.toStringList().join(QLatin1Char(','))
                                  : dest.toString();
        QStringList lista;
        for (QString d : unido.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts))
            if (!(d = d.trimmed()).isEmpty()) lista << d;
        if (!lista.isEmpty()) a.correoDestinatarios = lista;
    }
    a.correoUsuario = texto("correo/usuario", a.correoUsuario);
    a.correoContrasena = texto("correo/contrasena", a.correoContrasena);
    a.programaFotos = texto("fotos/programa", a.programaFotos);
    a.mapaHost = texto("mapa/host", a.mapaHost);
    a.rastreoHabilitado = s.value(QStringLiteral("rastreo/habilitado"), 0).toInt() == 1;
    return a;
}

void EscribirAjustes(const QString& carpeta, const Ajustes& a) {
    QSettings s(QDir(carpeta).filePath(QStringLiteral("solicitudes.ini")), QSettings::IniFormat);
    s.setValue(QStringLiteral("reportes/servidor"), a.servidorReportes);
    s.setValue(QStringLiteral("correo/host"), a.correoHost);
    s.setValue(QStringLiteral("correo/puerto"), a.correoPuerto);
    s.setValue(QStringLiteral("correo/remitente"), a.correoRemitente);
    s.setValue(QStringLiteral("correo/destinatarios"), a.correoDestinatarios.join(QLatin1Char(';')));
    s.setValue(QStringLiteral("correo/usuario"), a.correoUsuario);
    s.setValue(QStringLiteral("correo/contrasena"), a.correoContrasena);
    s.setValue(QStringLiteral("fotos/programa"), a.programaFotos);
    s.setValue(QStringLiteral("mapa/host"), a.mapaHost);
    s.setValue(QStringLiteral("rastreo/habilitado"), a.rastreoHabilitado ? 1 : 0);
    s.sync();
}

}  // namespace configuracion
