// The program's searches and guarded writes on the embedded engine go through indexes, as they
// would on the server, and the server's value rules still hold on that road.
#include <sqlite3.h>

#include <QDir>
#include <QtTest>

#include "base_prueba.h"
#include "batches/sentencias_relaciones.h"
#include "capture/sentencias_captura.h"
#include "db/embedded/motor_incrustado.h"
#include "db/embedded/traductor.h"
#include "db/recordset.h"
#include "login/sentencias_entrada.h"
#include "reception/sentencias_recepcion.h"
#include "rejections/sentencias_rechazos.h"
#include "startup/global.h"
#include "startup/sentencias_arranque.h"
#include "tracking/sentencias_rastreo.h"
#include "ui/lista_personal.h"

using personal::Rol;

namespace {

const QDate kDia(2024, 3, 4);

// SQLite's plan for the statement as the engine translates it, one line per step.
QStringList Plan(sqlite3* db, const QString& sql) {
    const QByteArray u =
        (QStringLiteral("EXPLAIN QUERY PLAN ") + db::incrustado::Traducir(sql).sql).toUtf8();
    sqlite3_stmt* st = nullptr;
    QStringList r;
    if (sqlite3_prepare_v2(db, u.constData(), -1, &st, nullptr) != SQLITE_OK)
        return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db))};
    while (sqlite3_step(st) == SQLITE_ROW)
        r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    return r;
}

QStringList Filas(const QString& sql) {
    db::Recordset r;
    r.abrir(sql, Global::Conexion);
    QStringList filas;
    while (!r.eof()) {
        QStringList f;
        for (int i = 0; i < r.numeroCampos(); ++i) f << r.campo(i).toString();
        filas << f.join(QLatin1Char('|'));
        r.siguiente();
    }
    return filas;
}

}  // namespace

class IndicesTest : public QObject {
    Q_OBJECT

  private slots:
    void planes_data();
    void planes();
    void reglasPorElIndice_data();
    void reglasPorElIndice();
    void otroProgramaEscribe();
};

void IndicesTest::planes_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("indices");
    const QStringList clientes = {QStringLiteral("ix_clientes_nombre")};
    QTest::newRow("cuenta de homónimos")
        << captura::SentenciaHomonimos(QStringLiteral("PEREZ LOPEZ JUAN")) << clientes;
    QTest::newRow("clientes encontrados")
        << captura::SentenciaClientes(QStringLiteral("PEREZ LOPEZ JUAN")) << clientes;
    QTest::newRow("verificaciones del cliente")
        << captura::SentenciaVerificaciones(125)
        << QStringList{"ix_solicitudes_cliente", "ix_sucursales_sucursal", "ix_detalles_solicitud"};
    QTest::newRow("pendientes") << relaciones::SentenciaPendientes(QStringLiteral("CHI"))
                                << QStringList{"ix_sucursales_centro", "ix_solicitudes_sucursal"};
    QTest::newRow("relaciones") << relaciones::SentenciaRelaciones(QStringLiteral("CHI"),
                                                                   kDia.addDays(-5), kDia)
                                << QStringList{"ix_relaciones_centro"};
    QTest::newRow("recepción, todos")
        << recepcion::SentenciaBusqueda(QString(), QStringLiteral("CHI"), kDia.addDays(-6),
                                        kDia.addDays(-1))
        << QStringList{"ix_relaciones_centro", "ix_detalles_relacion"};
    QTest::newRow("recepción, un verificador")
        << recepcion::SentenciaBusqueda(QStringLiteral("    201"), QStringLiteral("CHI"),
                                        kDia.addDays(-6), kDia.addDays(-1))
        << QStringList{"ix_relaciones_entrega", "ix_detalles_relacion"};
    QTest::newRow("rechazos") << rechazos::SentenciaSolicitudes(QStringLiteral("CHI"),
                                                                kDia.addDays(-2), kDia)
                              << QStringList{"ix_sucursales_centro", "ix_solicitudes_sucursal"};
    QTest::newRow("vendedores") << personal::SentenciaLista(QStringLiteral("CHI"), Rol::Vendedor)
                                << QStringList{"ix_sucursales_centro", "ix_personal_sucursal"};
    QTest::newRow("verificadores")
        << personal::SentenciaLista(QStringLiteral("CHI"), Rol::Verificador)
        << QStringList{"ix_sucursales_centro", "ix_personal_sucursal"};
    QTest::newRow("sucursales") << captura::SentenciaSucursales(QStringLiteral("CHI"))
                                << QStringList{"ix_sucursales_centro"};
    QTest::newRow("entrada") << entrada::SentenciaPersona(QStringLiteral("    101"))
                             << QStringList{"ix_personal_persona"};
    QTest::newRow("sucursal de arranque") << arranque::SentenciaSucursal(QStringLiteral("1"))
                                          << QStringList{"ix_sucursales_sucursal"};
    QTest::newRow("rastreo del cliente")
        << rastreo::SentenciaCliente(77) << QStringList{"PRIMARY KEY"};
    QTest::newRow("rastreo del aval") << rastreo::SentenciaAval(77) << QStringList{"PRIMARY KEY"};
    QTest::newRow("rastreo por teléfono")
        << rastreo::SentenciaTelefono(77) << QStringList{"PRIMARY KEY", "ix_solicitudes_telefono"};
    QTest::newRow("quitar líneas")
        << recepcion::SentenciaBorrarLineas(77) << QStringList{"ix_detalles_solicitud"};
    // The guarded writes find their row by its key, and the guard's other rows by theirs.
    const recepcion::LineaLeida leida{
        QStringLiteral("Entregada"), QVariant(), 0.0, QVariant(), QVariant(), false};
    QTest::newRow("guardar línea")
        << recepcion::SentenciaLinea({5, 77, false, QStringLiteral("Autorizada"),
                                      QStringLiteral("Normal"), 100, QStringLiteral("BIEN"),
                                      QStringLiteral("Recomienda")}) +
               recepcion::CondicionSinCambios(leida)
        << QStringList{"ix_detalles_solicitud"};
    QTest::newRow("quitar de la relación")
        << recepcion::SentenciaQuitar(77, 5) << QStringList{"PRIMARY KEY", "ix_detalles_solicitud"};
    QTest::newRow("asignar") << relaciones::SentenciaAsignar(5, 77) << QStringList{"PRIMARY KEY"};
    QTest::newRow("borrar solicitud") << captura::SentenciaBorrar(77) << QStringList{"PRIMARY KEY"};
    QTest::newRow("rechazar") << rechazos::SentenciaRechazar(77, QStringLiteral("NO"))
                              << QStringList{"PRIMARY KEY"};
    QTest::newRow("reactivar") << rechazos::SentenciaReactivar(77, QVariant())
                               << QStringList{"PRIMARY KEY"};
    QTest::newRow("rechazo del rastreo")
        << rastreo::SentenciaRechazar(77, QString(), QStringLiteral("Recibida"))
        << QStringList{"PRIMARY KEY"};
}

void IndicesTest::planes() {
    QFETCH(QString, sql);
    QFETCH(QStringList, indices);
    BasePrueba base;
    const QStringList plan = Plan(base.manejador(), sql);
    const QString texto = plan.join(QStringLiteral("\n"));
    for (const QString& linea : plan)
        QVERIFY2(!linea.startsWith(QLatin1String("SCAN")), qPrintable(texto));
    for (const QString& indice : indices) QVERIFY2(texto.contains(indice), qPrintable(texto));
}

void IndicesTest::reglasPorElIndice_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("filas");
    QTest::newRow("mayúsculas, también acentuadas, y blancos finales")
        << captura::SentenciaHomonimos(QStringLiteral("pérez lópez juan")) << QStringList{"2"};
    QTest::newRow("los acentos cuentan")
        << captura::SentenciaHomonimos(QStringLiteral("PEREZ LOPEZ JUAN")) << QStringList{"1"};
    QTest::newRow("un patrón con comodín sigue siendo LIKE")
        << captura::SentenciaHomonimos(QStringLiteral("P_REZ LÓPEZ JUAN")) << QStringList{"2"};
    QTest::newRow("un patrón que pide sus blancos finales")
        << captura::SentenciaHomonimos(QStringLiteral("PEREZ LOPEZ JUAN ")) << QStringList{"0"};
    QTest::newRow("la ventana de homónimos")
        << QStringLiteral(
               "SELECT cliente FROM clientes WHERE Nombre_Cliente LIKE 'Pérez López "
               "Juan' ORDER BY cliente")
        << QStringList{"1", "2"};
    // '1      ' of the application against '1' of the branch, 'chi' against 'CHI'.
    QTest::newRow("clave CHAR(7) y centro en minúsculas")
        << relaciones::SentenciaPendientes(QStringLiteral("chi"))
        << QStringList{"10|Matriz|04/03/2024|PÉREZ LÓPEZ JUAN"};
    // The branch's text '1' against the staff's number 1.
    QTest::newRow("número contra texto en la unión")
        << personal::SentenciaLista(QStringLiteral("CHI"), Rol::Vendedor)
        << QStringList{"    101|RUIZ|ANA"};
    QTest::newRow("número contra texto en la clave")
        << personal::SentenciaClave(101) << QStringList{"    101"};
    QTest::newRow("la clave con sus blancos finales")
        << QStringLiteral("SELECT nombre_sucursal FROM sucursales WHERE sucursal = '1      '")
        << QStringList{"Matriz"};
}

void IndicesTest::reglasPorElIndice() {
    QFETCH(QString, sql);
    QFETCH(QStringList, filas);
    BasePrueba base;
    base.sqlite(QStringLiteral(
        "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES (1, 'PÉREZ LÓPEZ JUAN'), "
        "(2, 'pérez lópez juan   '), (3, 'PEREZ LOPEZ JUAN'), (4, 'PÉREZ LÓPEZ JUANA');"
        "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
        "('1', 'Matriz', 'CHI'), ('2', 'Norte', 'JRZ');"
        "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor) VALUES "
        "('    101', 'RUIZ', 'ANA', 1, 1), ('    102', 'SOTO', 'LUIS', 2, 1);"
        "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Sucursal) VALUES "
        "(10, 1, '1'), (11, 3, '2');"
        "UPDATE norv.Solicitudes_cliente_Nuevo SET Fecha_recepcion = '2024-03-04 10:00:00.000'"));
    QCOMPARE(Filas(sql), filas);
}

// A row written by a program that lacks the engine's comparison (here SQLite alone) lands out
// of order in a text index; the next opening of the engine puts the index right.
void IndicesTest::otroProgramaEscribe() {
    BasePrueba base;
    base.sqlite(QStringLiteral(
        "INSERT INTO clientes (Nombre_Cliente) VALUES ('NAVA RUIZ ANA'), ('NUÑEZ SOTO LUIS'), "
        "('OCHOA DIAZ EVA'), ('ZAPATA GIL JOSE')"));
    sqlite3* otro = nullptr;
    const QByteArray archivo =
        QDir(base.carpeta()).filePath(QStringLiteral("datos/erp_oxa.sqlite")).toUtf8();
    QCOMPARE(sqlite3_open_v2(archivo.constData(), &otro, SQLITE_OPEN_READWRITE, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(otro, "INSERT INTO clientes (Nombre_Cliente) VALUES ('ÑANDU ROJO ANA')",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(otro);
    QCOMPARE(base.valor(QStringLiteral("SELECT tabla FROM main.indices_por_rehacer")).toString(),
             QStringLiteral("clientes"));

    Global::Conexion.abrir(std::make_unique<db::MotorIncrustado>(
        QDir(base.carpeta()).filePath(QStringLiteral("datos"))));
    QCOMPARE(Filas(captura::SentenciaHomonimos(QStringLiteral("ñandu rojo ana"))),
             QStringList{"1"});
    QCOMPARE(Filas(captura::SentenciaHomonimos(QStringLiteral("NUÑEZ SOTO LUIS"))),
             QStringList{"1"});
    QVERIFY(base.valor(QStringLiteral("SELECT count(*) FROM main.indices_por_rehacer")) == 0);
}

QTEST_GUILESS_MAIN(IndicesTest)
#include "indices_test.moc"
