// Start-up from a configuration folder: the start-up table, the connection string, the running
// branch, and every way a configuration can be wrong.
#include "app/arranque.h"

#include <sqlite3.h>

#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "db/embedded/motor_incrustado.h"
#include "servicios_falsos.h"
#include "startup/ansi.h"
#include "startup/cifrado.h"
#include "startup/global.h"
#include "startup/tabla_dbf.h"

namespace {

// A Visual FoxPro start-up table as another program writes it: version 0x30, the 263-byte
// backlink, fields in another order and of other kinds beside the four read, values padded.
QByteArray ArranqueFox(const QByteArray& servidor, const QByteArray& usuario,
                       const QByteArray& contrasena, const QByteArray& token) {
    struct Campo {
        QByteArray nombre;
        char tipo;
        int largo;
        QByteArray valor;
    };
    const QList<Campo> campos = {{"TOKEN", 'C', 10, token},           {"FECHA", 'D', 8, "20121001"},
                                 {"SERVER_SQL", 'C', 50, servidor},   {"USUARIO", 'C', 20, usuario},
                                 {"CONTRASENA", 'C', 25, contrasena}, {"NOTAS", 'M', 4, ""}};
    const int largoEncabezado = 32 + 32 * campos.size() + 1 + 263;
    int largoRenglon = 1;
    for (const Campo& c : campos) largoRenglon += c.largo;
    QByteArray b(largoEncabezado, '\0');
    b[0] = 0x30;
    b[4] = 1;
    b[8] = char(largoEncabezado & 0xFF);
    b[9] = char(largoEncabezado >> 8);
    b[10] = char(largoRenglon);
    b[29] = 0x03;
    int pos = 32, desp = 1;
    QByteArray renglon(largoRenglon, ' ');
    for (const Campo& c : campos) {
        for (int k = 0; k < c.nombre.size(); ++k) b[pos + k] = c.nombre[k];
        b[pos + 11] = c.tipo;
        b[pos + 12] = char(desp);
        b[pos + 16] = char(c.largo);
        for (int k = 0; k < c.valor.size(); ++k) renglon[desp + k] = c.valor[k];
        desp += c.largo;
        pos += 32;
    }
    b[pos] = 0x0D;
    return b + renglon + QByteArray(1, '\x1A');
}

void Escribir(const QString& ruta, const QByteArray& contenido) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
}

QByteArray Cifrado(const char* claro) { return Cifrar(QByteArray(claro), 1); }

void EjecutarSqlite(const QString& archivo, const char* sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(archivo.toUtf8().constData(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const QString mensaje = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(mensaje));
}

}  // namespace

class ArranqueTest : public QObject {
    Q_OBJECT

    QString errorDeConectar() {
        try {
            Global::Conectar();
        } catch (const Global::ErrorArranque& e) {
            return e.mensaje;
        }
        return QString();
    }

    // Runs the program's start on `carpeta`, which must fail: exit code 1, one critical message
    // and no window. Returns the message.
    QString arranqueFallido(const QString& carpeta) {
        ServiciosFalsos servicios;
        qputenv("OXA_DIR", carpeta.toUtf8());
        const int codigo = Global::Iniciar();
        qunsetenv("OXA_DIR");
        [&] {
            QCOMPARE(codigo, 1);
            QCOMPARE(servicios.mensajes.size(), 1);
            QCOMPARE(servicios.mensajes[0].icono, IconoMensaje::Critico);
            QVERIFY(servicios.dialogos.isEmpty());
        }();
        return servicios.mensajes.value(0).texto;
    }

  private slots:
    void init() {
        Global::Desconectar();
        Global::CadenaConexion.clear();
        Global::SucursalActual.clear();
        Global::CentroDistribucion.clear();
        Global::NombreSucursal.clear();
    }

    void unaConfiguracionDeOtroProgramaArrancaYLeeLaSucursal() {
        QTemporaryDir dir;
        Global::CarpetaConfiguracion = dir.path();
        // The engine makes the empty schema; another program adds the branches with sqlite3.
        { db::MotorIncrustado crear(dir.filePath("datos")); }
        EjecutarSqlite(dir.filePath("datos/erp_oxa.sqlite"),
                       "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion, "
                       "tasa_iva) VALUES ('7', 'Sucursal Norte  ', 'CUU', 16),"
                       "('8', 'Otra', 'JRZ', 16);");
        Escribir(dir.filePath("arranque.DBF"),
                 ArranqueFox("sqlite:datos   ", "  sa", Cifrado("SECRETO"), Cifrado("7")));

        QStringList enviadas;
        const int id = Global::Conexion.agregarObservador([&](const QString& s) { enviadas << s; });
        Global::Conectar();
        Global::Conexion.quitarObservador(id);

        QCOMPARE(Global::CadenaConexion,
                 QStringLiteral("Driver={SQL Server};Server=sqlite:datos;Database=erp_oxa;Uid=sa;"
                                "Pwd=SECRETO;"));
        QCOMPARE(Global::SucursalActual, QStringLiteral("7"));
        QVERIFY(Global::Conexion.abierta());
        QCOMPARE(enviadas,
                 QStringList{QStringLiteral(
                     "SELECT centro_distribucion,tasa_iva,nombre_sucursal FROM sucursales "
                     "where sucursal='7'")});
        QCOMPARE(Global::CentroDistribucion, QStringLiteral("CUU"));
        QCOMPARE(Global::NombreSucursal, QStringLiteral("Sucursal Norte  "));
        Global::Desconectar();
        QVERIFY(!Global::Conexion.abierta());
    }

    void unaSucursalQueNoExisteConectaSinCentroNiNombre() {
        QTemporaryDir dir;
        Global::CarpetaConfiguracion = dir.path();
        Escribir(dir.filePath("ARRANQUE.dbf"),
                 ArranqueFox("sqlite:" + dir.filePath("otra").toUtf8(), "sa", Cifrado("X"),
                             Cifrado("99")));
        Global::Conectar();
        QVERIFY(Global::Conexion.abierta());
        QVERIFY(QFile::exists(dir.filePath("otra/norv.sqlite")));
        QCOMPARE(Global::SucursalActual, QStringLiteral("99"));
        QVERIFY(Global::CentroDistribucion.isEmpty());
        QVERIFY(Global::NombreSucursal.isEmpty());
    }

    void unaSucursalConComillaNoRompeLaSentencia() {
        QTemporaryDir dir;
        Global::CarpetaConfiguracion = dir.path();
        Escribir(dir.filePath("ARRANQUE.DBF"),
                 ArranqueFox("sqlite:datos", "sa", Cifrado("X"), Cifrado("1' OR '1")));
        QStringList enviadas;
        const int id = Global::Conexion.agregarObservador([&](const QString& s) { enviadas << s; });
        Global::Conectar();
        Global::Conexion.quitarObservador(id);
        QCOMPARE(enviadas.value(0),
                 QStringLiteral("SELECT centro_distribucion,tasa_iva,nombre_sucursal FROM "
                                "sucursales where sucursal='1'' OR ''1'"));
    }

    void configuracionesDefectuosasDicenQueFalla_data() {
        QTest::addColumn<QByteArray>("tabla");  // empty: no table at all
        QTest::addColumn<QString>("esperado");
        const QByteArray buena = ArranqueFox("sqlite:datos", "sa", Cifrado("X"), Cifrado("1"));
        QTest::newRow("sin tabla")
            << QByteArray() << QStringLiteral("No se encuentra la tabla de arranque");
        QByteArray sinRenglon = buena.left(buena.size() - 1 - 118);  // header only
        sinRenglon[4] = 0;
        QTest::newRow("sin renglón") << sinRenglon << QStringLiteral("no tiene ningún renglón");
        QTest::newRow("contraseña en blanco")
            << ArranqueFox("sqlite:datos", "sa", "   ", Cifrado("1"))
            << QStringLiteral("campo cifrado contrasena");
        QTest::newRow("sucursal en blanco") << ArranqueFox("sqlite:datos", "sa", Cifrado("X"), "")
                                            << QStringLiteral("campo cifrado token");
        QTest::newRow("tabla truncada")
            << buena.left(buena.size() - 30) << QStringLiteral("dañada o incompleta");
    }
    void configuracionesDefectuosasDicenQueFalla() {
        QFETCH(QByteArray, tabla);
        QFETCH(QString, esperado);
        QTemporaryDir dir;
        Global::CarpetaConfiguracion = dir.path();
        if (!tabla.isEmpty()) Escribir(dir.filePath("ARRANQUE.DBF"), tabla);
        const QString mensaje = errorDeConectar();
        QVERIFY2(mensaje.contains(esperado), qPrintable(mensaje));
        QVERIFY(!Global::Conexion.abierta());
    }

    void sinCarpetaDeConfiguracion() {
        Global::CarpetaConfiguracion = QStringLiteral("/no/existe/oxa");
        const QString mensaje = errorDeConectar();
        QVERIFY2(mensaje.contains(
                     QStringLiteral("No existe la carpeta de configuración /no/existe/oxa")),
                 qPrintable(mensaje));
    }

    void unaCarpetaSqliteQueNoSePuedeEscribir() {
        QTemporaryDir dir;
        Global::CarpetaConfiguracion = dir.path();
        // A plain file where the data folder should be: nothing can be created inside it.
        Escribir(dir.filePath("datos"), "no soy una carpeta");
        Escribir(dir.filePath("ARRANQUE.DBF"),
                 ArranqueFox("sqlite:datos", "sa", Cifrado("X"), Cifrado("1")));
        const QString mensaje = errorDeConectar();
        QVERIFY2(mensaje.startsWith(QStringLiteral("No se pudo conectar a la base de datos")),
                 qPrintable(mensaje));
        QVERIFY2(mensaje.contains(dir.filePath("datos")), qPrintable(mensaje));
        QVERIFY(!Global::Conexion.abierta());
    }

    void iniciarMuestraElErrorYTerminaConUno() {
        QTemporaryDir dir;
        QVERIFY(arranqueFallido(dir.path()).contains(QStringLiteral("ARRANQUE.dbf")));
    }

    void unaBaseVaciaDetieneElArranqueSinRecrearla() {
        QTemporaryDir dir;
        Escribir(dir.filePath("ARRANQUE.DBF"),
                 ArranqueFox("sqlite:datos", "sa", Cifrado("X"), Cifrado("1")));
        { db::MotorIncrustado crear(dir.filePath("datos")); }
        Escribir(dir.filePath("datos/norv.sqlite"), QByteArray());
        QCOMPARE(arranqueFallido(dir.path()),
                 QStringLiteral("No se pudo conectar a la base de datos:\nEl archivo «%1» de la "
                                "base de datos está vacío (0 bytes): sus datos se perdieron. "
                                "Restáurelo del respaldo o avise a soporte; el programa no lo "
                                "vuelve a crear.")
                     .arg(QDir::toNativeSeparators(dir.filePath("datos/norv.sqlite"))));
        QCOMPARE(QFileInfo(dir.filePath("datos/norv.sqlite")).size(), 0);
    }

    void elRelojSeVeMientrasOtraEstacionTieneLaBase() {
        QTemporaryDir dir;
        Global::CarpetaConfiguracion = dir.path();
        Escribir(dir.filePath("ARRANQUE.DBF"),
                 ArranqueFox("sqlite:datos", "sa", Cifrado("X"), Cifrado("1")));
        Global::Conectar();
        sqlite3* otra = nullptr;
        QCOMPARE(sqlite3_open(dir.filePath("datos/erp_oxa.sqlite").toUtf8().constData(), &otra),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(otra, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        // What start-up installed, watched: the pointer while waiting, and after; the other
        // station lets go once this one waits.
        const db::AvisoEspera reloj = Global::Conexion.avisoEspera();
        QVERIFY(reloj);
        QList<bool> conReloj;
        Global::Conexion.alEsperarBloqueo([&](bool esperando) {
            reloj(esperando);
            const QCursor* c = QGuiApplication::overrideCursor();
            conReloj << (c && c->shape() == Qt::WaitCursor);
            if (esperando) sqlite3_exec(otra, "COMMIT", nullptr, nullptr, nullptr);
        });
        Global::Conexion.ejecutar(QStringLiteral("INSERT INTO sucursales (sucursal) VALUES ('5')"));
        sqlite3_close(otra);
        QCOMPARE(conReloj, (QList<bool>{true, false}));
        Global::Desconectar();
    }

    void iniciarLlegaAlLoginYRegistraLasSentencias() {
        QTemporaryDir dir;
        Escribir(dir.filePath("ARRANQUE.DBF"),
                 ArranqueFox("sqlite:datos", "sa", Cifrado("X"), Cifrado("1")));
        ServiciosFalsos servicios;
        qputenv("OXA_DIR", dir.path().toUtf8());
        const QString bitacora = dir.filePath("sentencias.log");
        QCOMPARE(Global::Iniciar(bitacora), 0);
        qunsetenv("OXA_DIR");
        QVERIFY(servicios.mensajes.isEmpty());
        QCOMPARE(servicios.dialogos.size(), 1);
        QCOMPARE(servicios.dialogos[0].clase, QStringLiteral("FrmLogin"));
        QFile f(bitacora);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(
            QString::fromUtf8(f.readAll()),
            QStringLiteral("SELECT centro_distribucion,tasa_iva,nombre_sucursal FROM sucursales "
                           "where sucursal='1'\n"));
    }

    void laDemostracionDelProgramaArrancaConSuAcceso() {
        const QString programa = qEnvironmentVariable("SOLICITUDES_PROGRAMA");
        if (programa.isEmpty()) QSKIP("SOLICITUDES_PROGRAMA no está definido");
        QTemporaryDir dir;
        QProcess p;
        p.start(programa, {QStringLiteral("--crear-demo"), dir.filePath("demo")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QString salida = QString::fromLocal8Bit(p.readAllStandardOutput());
        QVERIFY2(salida.contains(QStringLiteral("Usuario: 101")), qPrintable(salida));
        QVERIFY2(salida.contains(QStringLiteral("Contraseña: DEMO")), qPrintable(salida));

        Global::CarpetaConfiguracion = dir.filePath("demo");
        Global::Conectar();
        QCOMPARE(Global::SucursalActual, QStringLiteral("1"));
        QVERIFY(!Global::CentroDistribucion.isEmpty());
        QVERIFY(!Global::NombreSucursal.isEmpty());
        // The demo user's password is stored enciphered and reads back as DEMO.
        db::Recordset r;
        r.abrir(QStringLiteral("SELECT CAST( contrasena AS char( 20)) FROM Personal WHERE "
                               "persona='    101' "),
                Global::Conexion);
        QVERIFY(!r.eof());
        QCOMPARE(Cifrar(r.campo(0).toString().trimmed(), 0), QStringLiteral("DEMO"));
        QVERIFY(r.campo(0).toString() != QStringLiteral("DEMO"));
        r.cerrar();

        // Writing the demo again starts afresh instead of adding the sample rows twice.
        p.start(programa, {QStringLiteral("--crear-demo"), dir.filePath("demo")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
    }

    void opcionesDesconocidasTerminanConError() {
        const QString programa = qEnvironmentVariable("SOLICITUDES_PROGRAMA");
        if (programa.isEmpty()) QSKIP("SOLICITUDES_PROGRAMA no está definido");
        QProcess p;
        p.start(programa, {QStringLiteral("--no-existe")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).contains(QStringLiteral("Uso:")));
    }
};

QTEST_MAIN(ArranqueTest)
#include "arranque_test.moc"
