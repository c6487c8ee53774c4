#include "startup/configuracion.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

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

namespace {

// The settings file as administrators write it: [sections], key=value, comments on lines of
// their own starting with ';' or '#'. A value keeps its ';' (the recipients are separated by
// it), and optional surrounding quotes are dropped. Keys are matched without regard to case.
QHash<QString, QString> LeerIni(const QString& ruta) {
    QHash<QString, QString> valores;
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return valores;
    const QByteArray bruto = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(bruto);
    if (utf8.hasError()) texto = QString::fromLatin1(bruto);
    QString seccion;
    for (QString linea : texto.split(QLatin1Char('\n'))) {
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char(';')) ||
            linea.startsWith(QLatin1Char('#')))
            continue;
        if (linea.startsWith(QLatin1Char('[')) && linea.endsWith(QLatin1Char(']'))) {
            seccion = linea.mid(1, linea.size() - 2).trimmed().toLower();
            continue;
        }
        const int igual = linea.indexOf(QLatin1Char('='));
        if (igual <= 0) continue;
        QString valor = linea.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && valor.startsWith(QLatin1Char('"')) &&
            valor.endsWith(QLatin1Char('"')))
            valor = valor.mid(1, valor.size() - 2);
        valores.insert(seccion + QLatin1Char('/') + linea.left(igual).trimmed().toLower(), valor);
    }
    return valores;
}

}  // namespace

Ajustes LeerAjustes(const QString& carpeta) {
    Ajustes a = AjustesPredeterminados(carpeta);
    const QHash<QString, QString> ini =
        LeerIni(QDir(carpeta).filePath(QStringLiteral("solicitudes.ini")));
    auto texto = [&ini](const char* clave, const QString& omision) {
        const QString v = ini.value(QLatin1String(clave)).trimmed();
        return v.isEmpty() ? omision : v;
    };
    a.servidorReportes = texto("reportes/servidor", a.servidorReportes);
    a.correoHost = texto("correo/host", a.correoHost);
    bool ok = false;
    const int puerto = ini.value(QStringLiteral("correo/puerto")).toInt(&ok);
    if (ok && puerto > 0 && puerto < 65536) a.correoPuerto = puerto;
    a.correoRemitente = texto("correo/remitente", a.correoRemitente);
    QStringList lista;
    for (const QString& d :
         ini.value(QStringLiteral("correo/destinatarios"))
             .split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts))
        if (!d.trimmed().isEmpty()) lista << d.trimmed();
    if (!lista.isEmpty()) a.correoDestinatarios = lista;
    a.correoUsuario = texto("correo/usuario", a.correoUsuario);
    a.correoContrasena = texto("correo/contrasena", a.correoContrasena);
    a.programaFotos = texto("fotos/programa", a.programaFotos);
    a.mapaHost = texto("mapa/host", a.mapaHost);
    a.rastreoHabilitado =
        ini.value(QStringLiteral("rastreo/habilitado")).trimmed() == QLatin1String("1");
    return a;
}

void EscribirAjustes(const QString& carpeta, const Ajustes& a) {
    QFile f(QDir(carpeta).filePath(QStringLiteral("solicitudes.ini")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return;
    const QString texto =
        QStringLiteral(
            "[reportes]\nservidor=%1\n\n"
            "[correo]\nhost=%2\npuerto=%3\nremitente=%4\ndestinatarios=%5\nusuario=%6\n"
            "contrasena=%7\n\n"
            "[fotos]\nprograma=%8\n\n"
            "[mapa]\nhost=%9\n\n")
            .arg(a.servidorReportes, a.correoHost, QString::number(a.correoPuerto),
                 a.correoRemitente, a.correoDestinatarios.join(QLatin1Char(';')), a.correoUsuario,
                 a.correoContrasena, a.programaFotos, a.mapaHost) +
        QStringLiteral("[rastreo]\nhabilitado=%1\n").arg(a.rastreoHabilitado ? 1 : 0);
    f.write(texto.toUtf8());
}

}  // namespace configuracion
