// The SQL Server behaviour the embedded engine gives the program's statements, checked on
// the rows that come back or change.
#include "db/embedded/motor_incrustado.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "db/embedded/funciones.h"
#include "db/error_bd.h"

using db::ErrorBD;
using db::MotorIncrustado;

namespace {

QList<QVariantList> filas(MotorIncrustado& m, const QString& sql) {
    QList<QVariantList> r;
    auto res = m.consultar(sql);
    while (res->siguiente()) {
        QVariantList f;
        for (int i = 0; i < res->columnas(); ++i) f << res->valor(i);
        r << f;
    }
    return r;
}

QVariant uno(MotorIncrustado& m, const QString& sql) {
    const auto f = filas(m, sql);
    if (f.isEmpty()) return QVariant(QStringLiteral("<sin filas>"));
    return f.first().value(0);
}

// The value as SQLite stores it, read past the engine's conversions.
QString crudo(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        return QStringLiteral("<error %1>").arg(QString::fromUtf8(sqlite3_errmsg(db)));
    QString r = QStringLiteral("<sin filas>");
    if (sqlite3_step(st) == SQLITE_ROW)
        r = QStringLiteral("%1:%2").arg(
            QString::fromUtf8(
                sqlite3_column_type(st, 0) == SQLITE_NULL
                    ? "null"
                    : (sqlite3_column_type(st, 0) == SQLITE_TEXT ? "text" : "numero")),
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    return r;
}

QString mensajeDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorBD& e) {
        return e.mensaje();
    }
    return QString();
}

long long cuenta(MotorIncrustado& m, const QString& tabla) {
    return uno(m, QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabla)).toLongLong();
}

}  // namespace

class MotorIncrustadoTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MotorIncrustado> m_;

    void personal(const QString& persona, const QString& apellidos, const QString& nombres,
                  int sucursal) {
        m_->ejecutar(QStringLiteral("INSERT INTO Personal (persona, apellidos, nombres, sucursal, "
                                    "es_vendedor, contrasena) VALUES ('%1', '%2', '%3', %4, 1, "
                                    "'ABC')")
                         .arg(persona, apellidos, nombres)
                         .arg(sucursal));
    }
    long long solicitud(const QString& extra = QString()) {
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, "
                           "Sucursal, Vendedor, fecha_tienda%1) VALUES (1, '1', '    101', "
                           "'20261130'%2)")
                .arg(extra.isEmpty() ? QString() : QStringLiteral(", comentarios"),
                     extra.isEmpty() ? QString() : QStringLiteral(", '%1'").arg(extra)));
        return uno(*m_,
                   QStringLiteral("SELECT MAX(solicitud) FROM norv.dbo.Solicitudes_cliente_Nuevo"))
            .toLongLong();
    }
    QVariant folio() {
        QList<db::Parametro> p{{QStringLiteral("@Nfolio"), db::TipoParametro::Integer,
                                db::Direccion::Salida, 8, QVariant()}};
        m_->llamar(QStringLiteral("REGRESA_FOLIO"), p);
        return p[0].valor;
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        m_ = std::make_unique<MotorIncrustado>(dir_->filePath(QStringLiteral("datos")));
    }
    void cleanup() {
        m_.reset();
        dir_.reset();
    }

    void creaLosDosArchivosConElEsquema() {
        const QDir datos(dir_->filePath(QStringLiteral("datos")));
        QVERIFY(QFile::exists(datos.filePath(QStringLiteral("erp_oxa.sqlite"))));
        QVERIFY(QFile::exists(datos.filePath(QStringLiteral("norv.sqlite"))));
        // Each table lives in its own file and answers through the server's prefixes.
        for (const char* t :
             {"erp_oxa.dbo.sucursales", "ERP_OXA.dbo.Personal", "dbo.clientes",
              "anticipos_clientes", "norv.dbo.Solicitudes_cliente_Nuevo",
              "NORV.dbo.Relaciones_Solicitudes_Credito", "norv.dbo.Detalles_Relaciones_Solicitudes",
              "norv.dbo.Promociones", "norv.dbo.Programas_Version"})
            QCOMPARE(cuenta(*m_, QLatin1String(t)), 0LL);
        QVERIFY(!mensajeDe([&] {
                     m_->consultar(QStringLiteral("SELECT * FROM Solicitudes_cliente_Nuevo"));
                 }).isEmpty());
        QVERIFY(!mensajeDe([&] {
                     m_->consultar(QStringLiteral("SELECT * FROM norv.dbo.clientes"));
                 }).isEmpty());
    }

    void losArchivosGuardanLosDatosAlReabrir() {
        m_->ejecutar(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal) VALUES ('7', 'Siete')"));
        solicitud();
        m_.reset();
        MotorIncrustado otro(dir_->filePath(QStringLiteral("datos")));
        QCOMPARE(uno(otro, QStringLiteral("SELECT nombre_sucursal FROM sucursales")).toString(),
                 QStringLiteral("Siete"));
        QCOMPARE(cuenta(otro, QStringLiteral("norv.dbo.Solicitudes_cliente_Nuevo")), 1LL);
    }

    void carpetaQueNoSePuedeCrearEsError() {
        const QString archivo = dir_->filePath(QStringLiteral("no_es_carpeta"));
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString ruta = archivo + QStringLiteral("/datos");
        const QString m = mensajeDe([&] { MotorIncrustado x(ruta); });
        QVERIFY2(m.contains(QDir::toNativeSeparators(ruta)), qPrintable(m));
    }

    void archivoDanadoEsErrorConElTextoDeSqlite() {
        const QString carpeta = dir_->filePath(QStringLiteral("danada"));
        { MotorIncrustado crear(carpeta); }
        QFile f(QDir(carpeta).filePath(QStringLiteral("norv.sqlite")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        const QString m = mensajeDe([&] { MotorIncrustado x(carpeta); });
        QVERIFY2(m.contains(QStringLiteral("norv.sqlite")), qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("not a database")), qPrintable(m));
    }

    void textosSinDistinguirMayusculasNiBlancosFinales() {
        m_->ejecutar(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) "
            "VALUES ('1', 'Matriz Centro ', 'chi')"));
        QCOMPARE(
            uno(*m_,
                QStringLiteral(
                    "SELECT SUCURSAL FROM SUCURSALES WHERE NOMBRE_SUCURSAL = 'MATRIZ CENTRO'")),
            QVariant(QStringLiteral("1")));
        QCOMPARE(
            filas(*m_, QStringLiteral(
                           "SELECT sucursal FROM sucursales WHERE centro_distribucion='CHI'  "))
                .size(),
            1);
        QCOMPARE(
            filas(
                *m_,
                QStringLiteral(
                    "SELECT sucursal FROM sucursales WHERE nombre_sucursal = 'matriz centro     '"))
                .size(),
            1);
        // Leading blanks do count.
        QCOMPARE(
            filas(*m_,
                  QStringLiteral(
                      "SELECT sucursal FROM sucursales WHERE nombre_sucursal = ' MATRIZ CENTRO'"))
                .size(),
            0);
        QCOMPARE(
            filas(*m_,
                  QStringLiteral(
                      "SELECT sucursal FROM sucursales WHERE nombre_sucursal <> 'MATRIZ centro'"))
                .size(),
            0);
        // Also a function's result compared with a literal.
        QCOMPARE(filas(*m_, QStringLiteral("SELECT sucursal FROM sucursales WHERE "
                                           "dbo.alltrim(nombre_sucursal) = 'matriz CENTRO'"))
                     .size(),
                 1);
    }

    void letrasAcentuadasSinDistinguirMayusculas() {
        m_->ejecutar(QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('José Núñez')"));
        QCOMPARE(filas(*m_, QStringLiteral(
                                "SELECT cliente FROM clientes WHERE Nombre_Cliente = 'JOSÉ NÚÑEZ'"))
                     .size(),
                 1);
        // Accents still count: a different letter is a different name.
        QCOMPARE(filas(*m_, QStringLiteral(
                                "SELECT cliente FROM clientes WHERE Nombre_Cliente = 'JOSE NUNEZ'"))
                     .size(),
                 0);
        QCOMPARE(uno(*m_, QStringLiteral("SELECT UPPER(Nombre_Cliente) FROM clientes")).toString(),
                 QStringLiteral("JOSÉ NÚÑEZ"));
        QCOMPARE(uno(*m_, QStringLiteral("SELECT lower(Nombre_Cliente) FROM clientes")).toString(),
                 QStringLiteral("josé núñez"));
    }

    void ordenarComoElServidor() {
        for (const char* n :
             {"Bravo", "Ñandú", "ávila", "ALONSO", "Nava", "Zapata", "Óscar", "ocampo"})
            m_->ejecutar(QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('%1')")
                             .arg(QString::fromUtf8(n)));
        QStringList orden;
        for (const auto& f :
             filas(*m_,
                   QStringLiteral("SELECT Nombre_Cliente FROM clientes ORDER BY Nombre_Cliente")))
            orden << f[0].toString();
        QCOMPARE(orden, QStringList({"ALONSO", "ávila", "Bravo", "Nava", "Ñandú", "ocampo", "Óscar",
                                     "Zapata"}));
        // By position, on a function's result, which carries no collation of its own.
        const QStringList esperado = orden;
        orden.clear();
        for (const auto& f : filas(
                 *m_, QStringLiteral(
                          "SELECT cliente, dbo.alltrim(Nombre_Cliente) FROM clientes ORDER BY 2")))
            orden << f[1].toString();
        QCOMPARE(orden, esperado);
        orden.clear();
        for (const auto& f : filas(
                 *m_,
                 QStringLiteral(
                     "SELECT cliente, dbo.alltrim(Nombre_Cliente) FROM clientes ORDER BY 2 DESC")))
            orden.prepend(f[1].toString());
        QCOMPARE(orden, esperado);
    }

    void numeroContraTextoQueGuardaUnNumero() {
        personal(QStringLiteral("    101"), QStringLiteral("GARCIA"), QStringLiteral("ANA"), 1);
        personal(QStringLiteral("   1010"), QStringLiteral("OTRO"), QStringLiteral("X"), 1);
        m_->ejecutar(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal) VALUES ('1', 'Uno')"));
        m_->ejecutar(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal) VALUES ('15', 'Quince')"));
        QCOMPARE(filas(*m_, QStringLiteral("SELECT persona FROM personal WHERE Persona=101 ")),
                 QList<QVariantList>({{QStringLiteral("    101")}}));
        QCOMPARE(filas(*m_, QStringLiteral("SELECT persona FROM personal p WHERE 101 = p.persona"))
                     .size(),
                 1);
        // As text the blanks count, as on the server.
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT persona FROM personal WHERE persona='101'")).size(),
            0);
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT persona FROM personal WHERE Persona IN (100, 101)"))
                .size(),
            1);
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT persona FROM personal WHERE Persona NOT IN (101)"))
                .size(),
            1);
        QCOMPARE(filas(*m_, QStringLiteral(
                                "SELECT persona FROM personal WHERE persona BETWEEN 100 AND 1000"))
                     .size(),
                 1);
        QCOMPARE(filas(*m_, QStringLiteral("SELECT sucursal FROM Sucursales WHERE Sucursal=1 ")),
                 QList<QVariantList>({{QStringLiteral("1")}}));
        QCOMPARE(filas(*m_, QStringLiteral("SELECT sucursal FROM Sucursales WHERE Sucursal>1")),
                 QList<QVariantList>({{QStringLiteral("15")}}));
        // A text column joined with a number column compares numbers too.
        QCOMPARE(filas(*m_, QStringLiteral("SELECT s.nombre_sucursal FROM personal p JOIN "
                                           "sucursales s ON s.sucursal=p.sucursal"))
                     .size(),
                 2);
    }

    void likeConComodinesYClases() {
        for (const char* n :
             {"PEREZ LOPEZ JUAN", "PÉREZ LÓPEZ JUANA", "PAREDES JUAN", "perez juan"})
            m_->ejecutar(QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('%1')")
                             .arg(QString::fromUtf8(n)));
        const auto n = [&](const QString& patron) {
            return filas(*m_, QStringLiteral(
                                  "SELECT cliente FROM clientes WHERE Nombre_Cliente LIKE '%1'")
                                  .arg(patron))
                .size();
        };
        QCOMPARE(n(QStringLiteral("perez lopez juan")), 1);
        QCOMPARE(n(QStringLiteral("P%JUAN")), 3);
        QCOMPARE(n(QStringLiteral("pérez%")), 1);
        QCOMPARE(n(QStringLiteral("P_REZ%")), 3);
        QCOMPARE(n(QStringLiteral("P[AE]%")), 3);
        QCOMPARE(n(QStringLiteral("P[^E]%")), 2);
        QCOMPARE(n(QStringLiteral("[o-q]%JUAN")), 3);
        QCOMPARE(n(QStringLiteral("%JUAN_")), 1);
        QCOMPARE(
            filas(*m_, QStringLiteral(
                           "SELECT cliente FROM clientes WHERE Nombre_Cliente NOT LIKE '%JUAN'"))
                .size(),
            1);

        using db::incrustado::CoincideLike;
        QVERIFY(CoincideLike(u"100[%]", u"100%"));
        QVERIFY(!CoincideLike(u"100[%]", u"1000"));
        QVERIFY(CoincideLike(u"a!%b", u"a%b", QLatin1Char('!')));
        QVERIFY(!CoincideLike(u"a!%b", u"axb", QLatin1Char('!')));
        QVERIFY(CoincideLike(u"%", u""));
        QVERIFY(!CoincideLike(u"_", u""));
        QVERIFY(CoincideLike(u"[]", u"[]"));  // an unclosed class stands for itself
    }

    void likeConLaClaveDeSieteCaracteres() {
        m_->ejecutar(QStringLiteral(
            "INSERT INTO norv.dbo.Relaciones_Solicitudes_credito "
            "(centro_distribucion, verificador, elaborada_por) VALUES ('CHI', '201', '201')"));
        // Stored blank-padded; matched as stored or without the blanks.
        QCOMPARE(
            crudo(m_->manejador(),
                  QStringLiteral("SELECT verificador FROM norv.Relaciones_Solicitudes_credito")),
            QStringLiteral("text:201    "));
        const auto n = [&](const QString& patron) {
            return filas(*m_, QStringLiteral(
                                  "SELECT relacion FROM norv.dbo.Relaciones_Solicitudes_credito r "
                                  "WHERE r.verificador LIKE '%1'")
                                  .arg(patron))
                .size();
        };
        QCOMPARE(n(QStringLiteral("201    ")), 1);
        QCOMPARE(n(QStringLiteral("201")), 1);
        QCOMPARE(n(QStringLiteral("%01")), 1);
        QCOMPARE(n(QStringLiteral("%")), 1);
        QCOMPARE(n(QStringLiteral("    201")), 0);
    }

    void castAChar() {
        personal(QStringLiteral("    101"), QStringLiteral("A"), QStringLiteral("B"), 1);
        m_->ejecutar(
            QStringLiteral("UPDATE personal SET contrasena = '%1' WHERE persona = '    101'")
                .arg(QStringLiteral("ÆÐ¿x")));
        QCOMPARE(uno(*m_, QStringLiteral("SELECT CAST( contrasena AS char( 20)) FROM Personal"))
                     .toString(),
                 QStringLiteral("ÆÐ¿x").leftJustified(20, QLatin1Char(' ')));
        QCOMPARE(
            uno(*m_, QStringLiteral("SELECT CAST(apellidos AS char(3)) FROM Personal")).toString(),
            QStringLiteral("A  "));
        QCOMPARE(
            uno(*m_, QStringLiteral("SELECT CAST(persona AS char(2)) FROM Personal")).toString(),
            QStringLiteral("  "));
        QCOMPARE(uno(*m_, QStringLiteral("SELECT CAST(persona AS int) FROM Personal")).toLongLong(),
                 101LL);
        // The whole text, compared as the server's collation does (how a guard compares a
        // column that may be text or ntext on the server).
        QCOMPARE(uno(*m_, QStringLiteral("SELECT COUNT(*) FROM Personal WHERE "
                                         "CAST(apellidos AS nvarchar(max)) = 'a  '"))
                     .toLongLong(),
                 1LL);
        QCOMPARE(uno(*m_, QStringLiteral("SELECT CAST(persona AS nvarchar(max)) FROM Personal")),
                 QVariant(QStringLiteral("    101")));
        m_->ejecutar(QStringLiteral("UPDATE personal SET contrasena = NULL"));
        QVERIFY(
            uno(*m_, QStringLiteral("SELECT CAST(contrasena AS char(20)) FROM Personal")).isNull());
    }

    void fechasYClavesSeGuardanEnSuForma() {
        const long long s = solicitud();
        sqlite3* db = m_->manejador();
        const QString donde =
            QStringLiteral(" FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = %1").arg(s);
        QCOMPARE(crudo(db, QStringLiteral("SELECT fecha_tienda") + donde),
                 QStringLiteral("text:2026-11-30 00:00:00.000"));
        QCOMPARE(crudo(db, QStringLiteral("SELECT Sucursal") + donde),
                 QStringLiteral("text:1      "));
        QCOMPARE(
            uno(*m_, QStringLiteral("SELECT fecha_tienda FROM norv.dbo.Solicitudes_cliente_Nuevo")),
            QVariant(QDateTime(QDate(2026, 11, 30), QTime(0, 0))));
        m_->ejecutar(
            QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET fecha_tienda = "
                           "'20270102', Sucursal = '15'"));
        QCOMPARE(crudo(db, QStringLiteral("SELECT fecha_tienda") + donde),
                 QStringLiteral("text:2027-01-02 00:00:00.000"));
        QCOMPARE(crudo(db, QStringLiteral("SELECT Sucursal") + donde),
                 QStringLiteral("text:15     "));
        // A date compares as a date against the range the program builds.
        QCOMPARE(
            filas(*m_,
                  QStringLiteral(
                      "SELECT solicitud FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE fecha_tienda "
                      "BETWEEN erp_oxa.dbo.fecha('20270102','Inicio') and "
                      "erp_oxa.dbo.fecha('20270102','Final')"))
                .size(),
            1);
        QCOMPARE(
            filas(*m_,
                  QStringLiteral(
                      "SELECT solicitud FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE fecha_tienda "
                      "BETWEEN erp_oxa.dbo.fecha('20270103','Inicio') and "
                      "erp_oxa.dbo.fecha('20270110','Final')"))
                .size(),
            0);
        // A date written as text is a date for the server, also 'yyyymmdd'.
        const auto n = [&](const QString& condicion) {
            return filas(*m_,
                         QStringLiteral(
                             "SELECT solicitud FROM norv.dbo.Solicitudes_cliente_Nuevo s WHERE ") +
                             condicion)
                .size();
        };
        QCOMPARE(n(QStringLiteral("fecha_tienda = '20270102'")), 1);
        QCOMPARE(n(QStringLiteral("'20270101' < s.fecha_tienda")), 1);
        QCOMPARE(n(QStringLiteral("fecha_tienda > '20270102'")), 0);
        QCOMPARE(n(QStringLiteral("fecha_tienda >= '2027-01-02'")), 1);
        QCOMPARE(n(QStringLiteral("fecha_tienda BETWEEN '20261201' AND '20270102'")), 1);
        QCOMPARE(n(QStringLiteral("fecha_tienda NOT BETWEEN '20261201' AND '20270101'")), 1);
    }

    void getdateEsLaHoraLocal() {
        const QDateTime antes = QDateTime::currentDateTime().addMSecs(-1);
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, "
                           "Fecha_recepcion) VALUES (1, GETDATE())"));
        const QDateTime despues = QDateTime::currentDateTime().addMSecs(1);
        const QString guardada =
            crudo(m_->manejador(),
                  QStringLiteral("SELECT Fecha_recepcion FROM norv.Solicitudes_cliente_Nuevo"));
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^text:\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"))
                     .match(guardada)
                     .hasMatch(),
                 qPrintable(guardada));
        const QDateTime f =
            uno(*m_,
                QStringLiteral("SELECT Fecha_recepcion FROM norv.dbo.Solicitudes_cliente_Nuevo"))
                .toDateTime();
        QVERIFY2(f >= antes && f <= despues, qPrintable(f.toString(Qt::ISODateWithMs)));
    }

    void valoresPorDefectoDelServidor() {
        const long long s = solicitud();
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT estado_actual, Relacion FROM "
                                      "norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud = %1")
                           .arg(s)),
            QList<QVariantList>({{QStringLiteral("Recibida"), QVariant()}}));
        m_->ejecutar(QStringLiteral(
            "INSERT INTO norv.dbo.Relaciones_Solicitudes_credito  (centro_distribucion, "
            "verificador, elaborada_por) VALUES(  'CHI', '    201', '    201') "));
        const auto r = filas(
            *m_,
            QStringLiteral("SELECT relacion, estado_actual, fecha_entrega, fecha_recepcion_real "
                           "FROM norv.dbo.Relaciones_Solicitudes_credito"));
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0][1].toString(), QStringLiteral("Entregada"));
        QCOMPARE(r[0][2].toDateTime().date(), QDate::currentDate());
        QVERIFY(r[0][3].isNull());
        m_->ejecutar(QStringLiteral("INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( "
                                    "Relacion,Solicitud,tiene_cita) VALUES( %1,%2,1 )")
                         .arg(r[0][0].toLongLong())
                         .arg(s));
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT estado_Actual, fecha_verificacion, tiene_cita FROM "
                                      "norv.dbo.detalles_Relaciones_Solicitudes")),
            QList<QVariantList>({{QStringLiteral("Entregada"), QVariant(), QVariant(qint64(1))}}));
    }

    void tiposDeLosValoresLeidos() {
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Programas_Version (Programa, Version, cierra, "
                           "envia_Email) VALUES (2, 3.5, 1, 0)"));
        m_->ejecutar(
            QStringLiteral("INSERT INTO clientes (Nombre_Cliente, es_Indeseable) VALUES ('X', 1)"));
        auto f = filas(*m_, QStringLiteral("select Version,cierra,envia_Email,Programa from "
                                           "norv.dbo.Programas_Version where Programa = 2"))[0];
        QCOMPARE(f[0].typeId(), QMetaType::Double);
        QCOMPARE(f[0].toDouble(), 3.5);
        QCOMPARE(f[1], QVariant(true));
        QCOMPARE(f[2], QVariant(false));
        QCOMPARE(f[1].typeId(), QMetaType::Bool);  // QVariant would also call 1 equal to true
        QCOMPARE(f[2].typeId(), QMetaType::Bool);
        QCOMPARE(f[3].typeId(), QMetaType::LongLong);
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT cliente FROM clientes WHERE es_Indeseable = 'TRUE'"))
                .size(),
            1);
        QCOMPARE(
            filas(*m_, QStringLiteral("SELECT cliente FROM clientes WHERE es_Incobrable = 'false'"))
                .size(),
            1);
        f = filas(*m_, QStringLiteral(
                           "SELECT NORV.dbo.cliente_incobrable(1), es_Indeseable, Nombre_Cliente, "
                           "RFC, COUNT(cliente) FROM clientes WHERE Cliente = 1 "
                           "GROUP BY cliente, es_Indeseable, Nombre_Cliente, RFC"))[0];
        QCOMPARE(f[0], QVariant(false));
        QCOMPARE(f[1], QVariant(true));
        QCOMPARE(f[0].typeId(), QMetaType::Bool);
        QCOMPARE(f[1].typeId(), QMetaType::Bool);
        QCOMPARE(f[2].typeId(), QMetaType::QString);
        QVERIFY(f[3].isNull());
        QCOMPARE(f[4].typeId(), QMetaType::LongLong);
    }

    void nombresDeLasColumnas() {
        auto r = m_->consultar(QStringLiteral(
            "SELECT cliente 'Cliente',nombre_cliente'Nombre Cliente', RFC AS [Clave RFC], "
            "c.domicilio, COUNT(*), dbo.alltrim(RFC) Recortado FROM clientes c "
            "GROUP BY cliente, nombre_cliente, RFC, c.domicilio"));
        QCOMPARE(r->columnas(), 6);
        QCOMPARE(r->nombreColumna(0), QStringLiteral("Cliente"));
        QCOMPARE(r->nombreColumna(1), QStringLiteral("Nombre Cliente"));
        QCOMPARE(r->nombreColumna(2), QStringLiteral("Clave RFC"));
        QCOMPARE(r->nombreColumna(3), QStringLiteral("domicilio"));
        QCOMPARE(r->nombreColumna(4), QString());  // the server gives an unnamed column no name
        QCOMPARE(r->nombreColumna(5), QStringLiteral("Recortado"));
    }

    void funcionesEscalares() {
        personal(QStringLiteral("    101"), QStringLiteral(" GARCIA LOPEZ "),
                 QStringLiteral("ANA  "), 1);
        m_->ejecutar(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal) VALUES ('1', 'Matriz ')"));
        m_->ejecutar(
            QStringLiteral("INSERT INTO clientes (Nombre_Cliente, domicilio, es_Incobrable) VALUES "
                           "('PEREZ JUAN  ', ' Calle 1 ', 1)"));
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, "
                           "Fecha_recepcion) VALUES (1, '20261130')"));
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, "
                           "estado_actual) VALUES (1, 'AUTORIZADA')"));
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, "
                           "estado_actual) VALUES (1, 'Rechazada')"));
        const auto f = filas(
            *m_, QStringLiteral(
                     "SELECT erp_oxa.dbo.nombre_persona('    101'), "
                     "ERP_OXA.dbo.Nombre_Persona(101), erp_oxa.dbo.nombre_persona('999'), "
                     "erp_oxa.dbo.nombre_cliente(1), erp_oxa.dbo.nombre_sucursal('1      '), "
                     "erp_oxa.dbo.nombre_sucursal(1), "
                     "ERP_OXA.dbo.Domicilio_Cliente ( 1), erp_oxa.dbo.fecha('20261130','Inicio'), "
                     "erp_oxa.dbo.fecha('20261130','final'), "
                     "dbo.fecha_Corta(s.Fecha_recepcion), dbo.alltrim('  a b  '), "
                     "NORV.dbo.cliente_credito(1), norv.dbo.cliente_incobrable(1), "
                     "norv.dbo.cliente_credito(2), erp_oxa.dbo.nombre_cliente(2) "
                     "FROM norv.dbo.Solicitudes_cliente_Nuevo s WHERE s.solicitud = 1"))[0];
        QCOMPARE(f[0].toString(), QStringLiteral("GARCIA LOPEZ ANA"));
        QCOMPARE(f[1].toString(), QStringLiteral("GARCIA LOPEZ ANA"));
        QVERIFY(f[2].isNull());
        QCOMPARE(f[3].toString(), QStringLiteral("PEREZ JUAN"));
        QCOMPARE(f[4].toString(), QStringLiteral("Matriz "));
        QCOMPARE(f[5].toString(), QStringLiteral("Matriz "));
        QCOMPARE(f[6].toString(), QStringLiteral("Calle 1"));
        QCOMPARE(f[7], QVariant(QDateTime(QDate(2026, 11, 30), QTime(0, 0))));
        QCOMPARE(f[8], QVariant(QDateTime(QDate(2026, 11, 30), QTime(23, 59, 59, 997))));
        QCOMPARE(f[9].toString(), QStringLiteral("30/11/2026"));
        QCOMPARE(f[10].toString(), QStringLiteral("a b"));
        QCOMPARE(f[11].toLongLong(), 1LL);
        QCOMPARE(f[12], QVariant(true));
        QCOMPARE(f[13].toLongLong(), 0LL);
        QVERIFY(f[14].isNull());
        QVERIFY(mensajeDe([&] {
                    m_->consultar(QStringLiteral("SELECT erp_oxa.dbo.fecha('20261399','Inicio')"));
                }).contains(QStringLiteral("20261399")));
        QVERIFY(!mensajeDe([&] {
                     m_->consultar(QStringLiteral("SELECT erp_oxa.dbo.fecha('20261130','Luego')"));
                 }).isEmpty());
    }

    void losNombresSiguenAlCatalogo() {
        personal(QStringLiteral("    101"), QStringLiteral("GARCIA"), QStringLiteral("ANA"), 1);
        m_->ejecutar(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal) VALUES ('1', 'Matriz')"));
        const QString nombres = QStringLiteral(
            "SELECT erp_oxa.dbo.nombre_persona('101'), erp_oxa.dbo.nombre_sucursal(1)");
        MotorIncrustado otra(dir_->filePath(QStringLiteral("datos")));
        // Each change shows in the next statement: this connection's, another station's, one
        // undone.
        const QList<std::pair<std::function<void()>, QString>> pasos = {
            {[] {}, QStringLiteral("GARCIA ANA/Matriz")},
            {[&] { m_->ejecutar(QStringLiteral("UPDATE personal SET nombres = 'EVA'")); },
             QStringLiteral("GARCIA EVA/Matriz")},
            {[&] {
                 otra.ejecutar(QStringLiteral("UPDATE sucursales SET nombre_sucursal = 'Norte'"));
             },
             QStringLiteral("GARCIA EVA/Norte")},
            {[&] {
                 m_->iniciarTransaccion();
                 m_->ejecutar(QStringLiteral("UPDATE personal SET apellidos = 'RUIZ'"));
             },
             QStringLiteral("RUIZ EVA/Norte")},
            {[&] { m_->deshacerTransaccion(); }, QStringLiteral("GARCIA EVA/Norte")},
        };
        for (const auto& [cambio, esperado] : pasos) {
            cambio();
            const QVariantList f = filas(*m_, nombres).value(0);
            QCOMPARE(f.value(0).toString() + QLatin1Char('/') + f.value(1).toString(), esperado);
        }
    }

    void regresaFolioDaLaUltimaIdentidad() {
        QVERIFY(folio().isNull());  // nothing inserted yet on this connection
        solicitud();
        solicitud();
        const long long s = solicitud();
        QCOMPARE(s, 3LL);
        QCOMPARE(folio(), QVariant(qint64(s)));
        // A batch line has no identity: the number stays the application's.
        m_->ejecutar(QStringLiteral("INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( "
                                    "Relacion,Solicitud,tiene_cita) VALUES( 5,%1,1 )")
                         .arg(s));
        QCOMPARE(folio(), QVariant(qint64(s)));
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Relaciones_Solicitudes_credito "
                           "(centro_distribucion) VALUES ('CHI')"));
        m_->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Relaciones_Solicitudes_credito "
                           "(centro_distribucion) VALUES ('CHI')"));
        QCOMPARE(folio(), QVariant(qint64(2)));
        // An INSERT that adds nothing leaves it.
        m_->ejecutar(
            QStringLiteral("INSERT INTO clientes (Nombre_Cliente) SELECT Nombre_Cliente FROM "
                           "clientes WHERE cliente = 99"));
        QCOMPARE(folio(), QVariant(qint64(2)));
        QList<db::Parametro> p{{QStringLiteral("@cSucursal"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 7, QStringLiteral("1")},
                               {QStringLiteral("@cRFC"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 20, QString()},
                               {QStringLiteral("@cNombreCliente"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 80, QStringLiteral("RUIZ ANA")},
                               {QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                                db::Direccion::Salida, 4, QVariant()}};
        QVERIFY(m_->llamar(QStringLiteral("Guarda_Cliente_norv"), p) == nullptr);
        QVERIFY(p[3].valor.toLongLong() > 0);
        QCOMPARE(folio(), p[3].valor);
        // A second connection has its own.
        MotorIncrustado otro(dir_->filePath(QStringLiteral("datos")));
        QList<db::Parametro> q{{QStringLiteral("@NFOLIO"), db::TipoParametro::Integer,
                                db::Direccion::Salida, 8, QVariant(5)}};
        otro.llamar(QStringLiteral("dbo.regresa_folio"), q);
        QVERIFY(q[0].valor.isNull());
    }

    void deshacerNoDejaFilasEnNingunArchivo() {
        m_->iniciarTransaccion();
        m_->ejecutar(QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('A')"));
        solicitud();
        m_->deshacerTransaccion();
        QCOMPARE(cuenta(*m_, QStringLiteral("clientes")), 0LL);
        QCOMPARE(cuenta(*m_, QStringLiteral("norv.dbo.Solicitudes_cliente_Nuevo")), 0LL);
        m_->deshacerTransaccion();  // nothing open: nothing to do

        m_->iniciarTransaccion();
        m_->ejecutar(QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('A')"));
        solicitud();
        m_->confirmarTransaccion();
        m_.reset();
        MotorIncrustado otro(dir_->filePath(QStringLiteral("datos")));
        QCOMPARE(cuenta(otro, QStringLiteral("clientes")), 1LL);
        QCOMPARE(cuenta(otro, QStringLiteral("norv.dbo.Solicitudes_cliente_Nuevo")), 1LL);
    }

    void formasDesconocidasSonErrorYNoCorrenNada_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("segunda sentencia") << "SELECT 1; DELETE FROM clientes";
        QTest::newRow("segunda tras comentario")
            << "SELECT cliente FROM clientes -- x\n; DELETE FROM clientes";
        QTest::newRow("drop") << "DROP TABLE clientes";
        QTest::newRow("pragma") << "PRAGMA writable_schema = 1";
        QTest::newRow("attach") << "ATTACH DATABASE 'x.sqlite' AS x";
        QTest::newRow("exec") << "EXEC REGRESA_FOLIO";
        QTest::newRow("top")
            << "DELETE FROM clientes WHERE cliente IN (SELECT TOP 1 cliente FROM clientes)";
        QTest::newRow("concatenar con +") << "UPDATE clientes SET RFC = RFC + 'X'";
        QTest::newRow("concatenar columnas") << "UPDATE clientes SET RFC = Nombre_Cliente + RFC";
        QTest::newRow("||") << "UPDATE clientes SET RFC = RFC || 'X'";
        QTest::newRow("variable") << "DELETE FROM clientes WHERE cliente = @@IDENTITY";
        QTest::newRow("comillas dobles") << "DELETE FROM clientes WHERE RFC = \"RFC\"";
        QTest::newRow("alias con =") << "SELECT RFC = Nombre_Cliente FROM clientes";
        QTest::newRow("limit")
            << "DELETE FROM clientes WHERE cliente IN (SELECT cliente FROM clientes LIMIT 1)";
        QTest::newRow("funcion desconocida") << "DELETE FROM clientes WHERE isnull(RFC, '') = ''";
        QTest::newRow("funcion sin dueño")
            << "DELETE FROM clientes WHERE nombre_cliente(cliente) = 'A'";
        QTest::newRow("funcion en otra base")
            << "DELETE FROM clientes WHERE norv.dbo.nombre_cliente(cliente) = 'A'";
        QTest::newRow("select into") << "SELECT * INTO copia FROM clientes";
        QTest::newRow("update from") << "UPDATE clientes SET RFC = 'X' FROM clientes";
        QTest::newRow("glob") << "DELETE FROM clientes WHERE RFC GLOB '*'";
        QTest::newRow("rowid") << "DELETE FROM clientes WHERE rowid > 0";
        QTest::newRow("base desconocida") << "DELETE FROM otra.dbo.clientes";
        QTest::newRow("esquema desconocido") << "DELETE FROM ventas.clientes";
        QTest::newRow("tabla temporal") << "DELETE FROM #clientes";
        QTest::newRow("collate") << "DELETE FROM clientes WHERE RFC = 'x' COLLATE BINARY";
        QTest::newRow("vacia") << "  ;  ";
        QTest::newRow("cadena sin cerrar") << "DELETE FROM clientes WHERE RFC = 'x";
        QTest::newRow("resta de fechas")
            << "DELETE FROM anticipos_clientes WHERE fecha < GETDATE() - 30";
        QTest::newRow("fecha menos dias") << "DELETE FROM anticipos_clientes WHERE fecha - 1 > 0";
        QTest::newRow("fecha que no es fecha")
            << "DELETE FROM anticipos_clientes WHERE fecha = 'ayer'";
        QTest::newRow("cast desconocido")
            << "DELETE FROM clientes WHERE CAST(cliente AS datetime) > 0";
        QTest::newRow("cast a char(max)")
            << "DELETE FROM clientes WHERE CAST(RFC AS char(max)) = 'x'";
    }

    void formasDesconocidasSonErrorYNoCorrenNada() {
        QFETCH(QString, sql);
        m_->ejecutar(
            QStringLiteral("INSERT INTO clientes (Nombre_Cliente, RFC) VALUES ('A', 'R')"));
        const QString m = mensajeDe([&] { m_->ejecutar(sql); });
        QVERIFY2(m.contains(QStringLiteral("no admite")), qPrintable(m));
        QCOMPARE(filas(*m_, QStringLiteral("SELECT Nombre_Cliente, RFC FROM clientes")),
                 QList<QVariantList>({{QStringLiteral("A"), QStringLiteral("R")}}));
    }

    void sumaDeNumerosSiSeAdmite() {
        m_->ejecutar(
            QStringLiteral("INSERT INTO anticipos_clientes (documento, saldo) VALUES (5, 10)"));
        QCOMPARE(
            uno(*m_, QStringLiteral("SELECT documento + 1 FROM anticipos_clientes")).toLongLong(),
            6LL);
        QCOMPARE(
            uno(*m_, QStringLiteral("SELECT saldo FROM anticipos_clientes WHERE documento = +5"))
                .toDouble(),
            10.0);
    }

    void laTraduccionSeGuardaPorTexto() {
        const QString sql = QStringLiteral("SELECT persona FROM personal WHERE Persona=101 ");
        const long long antes = m_->traducciones();
        m_->consultar(sql);
        QCOMPARE(m_->traducciones(), antes + 1);
        for (int i = 0; i < 5; ++i) m_->consultar(sql);
        QCOMPARE(m_->traducciones(), antes + 1);
        m_->consultar(QStringLiteral("SELECT persona FROM personal WHERE Persona=102 "));
        QCOMPARE(m_->traducciones(), antes + 2);
        // A cached statement still sees the data as it is now.
        personal(QStringLiteral("    101"), QStringLiteral("A"), QStringLiteral("B"), 1);
        QCOMPARE(filas(*m_, sql).size(), 1);
    }

    void cursoresAbiertos() {
        for (int i = 1; i <= 3; ++i)
            m_->ejecutar(
                QStringLiteral("INSERT INTO clientes (Nombre_Cliente) VALUES ('C%1')").arg(i));
        const QString sql = QStringLiteral("SELECT cliente FROM clientes ORDER BY cliente");
        // The same text read twice at once: each result goes its own way.
        auto a = m_->consultar(sql);
        QVERIFY(a->siguiente());
        auto b = m_->consultar(sql);
        QVERIFY(b->siguiente());
        QVERIFY(b->siguiente());
        QCOMPARE(a->valor(0).toLongLong(), 1LL);
        QCOMPARE(b->valor(0).toLongLong(), 2LL);
        QVERIFY(a->siguiente());
        QCOMPARE(a->valor(0).toLongLong(), 2LL);
        // Writing and committing while a result is half read.
        m_->iniciarTransaccion();
        m_->ejecutar(QStringLiteral("UPDATE clientes SET RFC = 'X' WHERE cliente = 3"));
        m_->confirmarTransaccion();
        QVERIFY(a->siguiente());
        QCOMPARE(a->valor(0).toLongLong(), 3LL);
        QVERIFY(!a->siguiente());
        QVERIFY(a->valor(0).isNull());
        b.reset();
        // Nothing is left holding the files: another program can write now.
        sqlite3* otra = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(
                                  QDir(m_->carpeta()).filePath(QStringLiteral("erp_oxa.sqlite")))
                                  .constData(),
                              &otra),
                 SQLITE_OK);
        sqlite3_busy_timeout(otra, 0);
        const int rc =
            sqlite3_exec(otra, "UPDATE clientes SET RFC = 'Y'", nullptr, nullptr, nullptr);
        sqlite3_close(otra);
        QCOMPARE(rc, SQLITE_OK);
        QCOMPARE(uno(*m_, QStringLiteral("SELECT RFC FROM clientes WHERE cliente = 3")).toString(),
                 QStringLiteral("Y"));
        // A result kept after its engine is gone reports it instead of reading freed memory.
        auto c = m_->consultar(sql);
        m_.reset();
        QVERIFY(c->siguiente());  // the first row was read when it was opened
        QVERIFY(!mensajeDe([&] { c->siguiente(); }).isEmpty());
        QVERIFY(!c->siguiente());
    }

    void archivoLlenadoConSqlitePlano() {
        // Another program fills the files with the plain library: no functions or collation
        // of ours, only the schema's own triggers and defaults.
        m_.reset();
        const QDir datos(dir_->filePath(QStringLiteral("datos")));
        sqlite3* db = nullptr;
        QCOMPARE(
            sqlite3_open(
                QFile::encodeName(datos.filePath(QStringLiteral("erp_oxa.sqlite"))).constData(),
                &db),
            SQLITE_OK);
        const QString adjuntar = QStringLiteral("ATTACH DATABASE '%1' AS norv;")
                                     .arg(datos.filePath(QStringLiteral("norv.sqlite")));
        char* error = nullptr;
        const QString sql =
            adjuntar + QStringLiteral(
                           "INSERT INTO personal (persona, apellidos, nombres, sucursal, "
                           "es_vendedor) VALUES ('    101', 'GARCIA', 'ANA', 1, 1);"
                           "INSERT INTO sucursales (sucursal, nombre_sucursal, "
                           "centro_distribucion) VALUES ('1', 'Matriz', 'CHI');"
                           "INSERT INTO norv.Solicitudes_cliente_Nuevo (Cliente, Sucursal, "
                           "Vendedor, fecha_tienda) VALUES (1, '1', '    101', '20261130');"
                           "INSERT INTO norv.Relaciones_Solicitudes_credito (centro_distribucion, "
                           "verificador) VALUES ('CHI', '201');"
                           "SELECT * FROM sucursales WHERE nombre_sucursal = 'MATRIZ' ORDER BY "
                           "nombre_sucursal;");
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
        const QString texto = error ? QString::fromUtf8(error) : QString();
        sqlite3_free(error);
        sqlite3_close(db);
        QVERIFY2(rc == SQLITE_OK, qPrintable(texto));

        MotorIncrustado m(datos.path());
        QCOMPARE(filas(m, QStringLiteral("SELECT Sucursal, Vendedor, fecha_tienda, estado_actual "
                                         "FROM norv.dbo.Solicitudes_cliente_Nuevo")),
                 QList<QVariantList>(
                     {{QStringLiteral("1      "), QStringLiteral("    101"),
                       QDateTime(QDate(2026, 11, 30), QTime(0, 0)), QStringLiteral("Recibida")}}));
        QCOMPARE(filas(m, QStringLiteral(
                              "SELECT s.nombre_sucursal FROM norv.dbo.Solicitudes_cliente_Nuevo a "
                              "JOIN sucursales s ON a.Sucursal = s.sucursal "
                              "WHERE a.Vendedor = '    101' AND s.centro_distribucion = 'chi'")),
                 QList<QVariantList>({{QStringLiteral("Matriz")}}));
        const auto r = filas(m, QStringLiteral("SELECT verificador, estado_actual, fecha_entrega "
                                               "FROM norv.dbo.Relaciones_Solicitudes_credito"));
        QCOMPARE(r[0][0].toString(), QStringLiteral("201    "));
        QCOMPARE(r[0][1].toString(), QStringLiteral("Entregada"));
        QCOMPARE(r[0][2].toDateTime().date(), QDate::currentDate());
    }

    void procedimientosDesconocidosOParametrosMal() {
        QList<db::Parametro> p;
        QVERIFY(mensajeDe([&] {
                    m_->llamar(QStringLiteral("Borra_Todo"), p);
                }).contains(QStringLiteral("Borra_Todo")));
        // Cliente_Compra_Facil lives in norv; without the prefix it is not found.
        QVERIFY(
            !mensajeDe([&] { m_->llamar(QStringLiteral("Cliente_Compra_Facil"), p); }).isEmpty());
        QVERIFY(mensajeDe([&] {
                    m_->llamar(QStringLiteral("norv.dbo.Rep_Historial_Norv_Cliente"), p);
                }).contains(QStringLiteral("@cApellidos")));
        QList<db::Parametro> q{{QStringLiteral("@cOtro"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 5, QStringLiteral("x")}};
        QVERIFY(mensajeDe([&] {
                    m_->llamar(QStringLiteral("REGRESA_FOLIO"), q);
                }).contains(QStringLiteral("@cOtro")));
        QList<db::Parametro> r{{QStringLiteral("@CAPELLIDOS"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 60, QStringLiteral("X")},
                               {QStringLiteral("@cnombres"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 60, QStringLiteral("Y")}};
        auto res = m_->llamar(QStringLiteral("[NORV].[dbo].[rep_historial_norv_cliente]"), r);
        QVERIFY(res);
        QVERIFY(res->siguiente());
        QCOMPARE(res->columnas(), 5);
        for (int i = 0; i < 5; ++i) QVERIFY(!res->valor(i).isNull());
        QCOMPARE(res->valor(0).toLongLong(), 0LL);
        QVERIFY(!res->siguiente());
    }
};

QTEST_MAIN(MotorIncrustadoTest)
#include "motor_incrustado_test.moc"
