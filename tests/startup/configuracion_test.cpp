// The configuration folder and the settings file as administrators and installers write them.
#include "startup/configuracion.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

void Escribir(const QString& ruta, const QByteArray& texto) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(texto);
}

}  // namespace

class ConfiguracionTest : public QObject {
    Q_OBJECT
  private slots:
    void laCarpetaVieneDeOxaDir() {
        qputenv("OXA_DIR", "/srv/oxa");
        QCOMPARE(configuracion::Carpeta(), QStringLiteral("/srv/oxa"));
        qunsetenv("OXA_DIR");
        QCOMPARE(configuracion::Carpeta(), QDir::homePath() + QStringLiteral("/.oxa/"));
    }

    void laTablaDeArranqueSeBuscaSinDistinguirMayusculas() {
        QTemporaryDir dir;
        QCOMPARE(configuracion::RutaArranque(dir.path()), dir.filePath("ARRANQUE.dbf"));
        Escribir(dir.filePath("arranque.DBF"), "x");
        QCOMPARE(configuracion::RutaArranque(dir.path()), dir.filePath("arranque.DBF"));
    }

    void sinArchivoQuedanLosValoresPorOmision() {
        QTemporaryDir dir;
        const configuracion::Ajustes a = configuracion::LeerAjustes(dir.path());
        QCOMPARE(a.correoPuerto, 366);
        QCOMPARE(a.correoUsuario, QStringLiteral("soporte"));
        QCOMPARE(a.correoContrasena, QStringLiteral("operador1997"));
        QVERIFY(a.servidorReportes.endsWith(QStringLiteral(":88")));
        QCOMPARE(a.programaFotos, dir.filePath("fotos_clientes"));
        QVERIFY(!a.rastreoHabilitado);
        QCOMPARE(a.correoDestinatarios.size(), 2);
    }

    void unArchivoEscritoAMano() {
        QTemporaryDir dir;
        Escribir(dir.filePath("solicitudes.ini"),
                 "; ajustes de la sucursal\r\n"
                 "[Correo]\r\n"
                 "Host = smtp.empresa.local\r\n"
                 "puerto=2525\r\n"
                 "destinatarios=sistemas@empresa.local; jefe@empresa.local\r\n"
                 "contrasena=\"clave;con;puntos\"\r\n"
                 "# otra sección\r\n"
                 "[rastreo]\r\n"
                 "habilitado=1\r\n"
                 "[reportes]\r\n"
                 "servidor=reportes.empresa.local:8080\r\n"
                 "[fotos]\r\n"
                 "programa=/opt/fotos/fotos_clientes\r\n");
        const configuracion::Ajustes a = configuracion::LeerAjustes(dir.path());
        QCOMPARE(a.correoHost, QStringLiteral("smtp.empresa.local"));
        QCOMPARE(a.correoPuerto, 2525);
        QCOMPARE(a.correoDestinatarios,
                 (QStringList{"sistemas@empresa.local", "jefe@empresa.local"}));
        QCOMPARE(a.correoContrasena, QStringLiteral("clave;con;puntos"));
        QCOMPARE(a.correoUsuario, QStringLiteral("soporte"));
        QVERIFY(a.rastreoHabilitado);
        QCOMPARE(a.servidorReportes, QStringLiteral("reportes.empresa.local:8080"));
        QCOMPARE(a.programaFotos, QStringLiteral("/opt/fotos/fotos_clientes"));
    }

    void valoresInvalidosSeIgnoran() {
        QTemporaryDir dir;
        Escribir(dir.filePath("solicitudes.ini"),
                 "[correo]\npuerto=muchos\n[rastreo]\nhabilitado=si\n");
        const configuracion::Ajustes a = configuracion::LeerAjustes(dir.path());
        QCOMPARE(a.correoPuerto, 366);
        QVERIFY(!a.rastreoHabilitado);
    }

    void loQueSeEscribeSeLeeIgual() {
        QTemporaryDir dir;
        configuracion::Ajustes a = configuracion::AjustesPredeterminados(dir.path());
        a.correoDestinatarios = {QStringLiteral("a@b.c"), QStringLiteral("d@e.f")};
        a.servidorReportes = QStringLiteral("localhost:88");
        a.rastreoHabilitado = true;
        configuracion::EscribirAjustes(dir.path(), a);
        const configuracion::Ajustes b = configuracion::LeerAjustes(dir.path());
        QCOMPARE(b.correoDestinatarios, a.correoDestinatarios);
        QCOMPARE(b.servidorReportes, a.servidorReportes);
        QVERIFY(b.rastreoHabilitado);
    }
};

QTEST_MAIN(ConfiguracionTest)
#include "configuracion_test.moc"
