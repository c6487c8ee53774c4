// The translator, one row per form: what each accepted form becomes in SQLite, what the forms
// whose meaning matters give when run, and how each refused form is refused (also what SQL
// Server raises only while the statement runs).
#include "db/embedded/traductor.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "demo/demo.h"

using db::incrustado::ClaseSentencia;
using db::incrustado::TipoResultado;
using db::incrustado::Traducir;

namespace {

// "SELECT T,E,N" (the types of the columns), or the table written and whether it has identity.
QString forma(const db::incrustado::Traduccion& t) {
    if (t.clase != ClaseSentencia::Select)
        return QStringList({QString(), QStringLiteral("INSERT"), QStringLiteral("UPDATE"),
                            QStringLiteral("DELETE")})[int(t.clase)] +
               QLatin1Char(' ') + t.tabla + (t.conIdentidad ? QStringLiteral(" identidad") : "");
    QStringList tipos;
    for (TipoResultado r : t.tipos) tipos << QStringLiteral("NTEFB").at(int(r));
    return QStringLiteral("SELECT ") + tipos.join(QLatin1Char(','));
}

}  // namespace

class TraductorTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<db::MotorIncrustado> m_;

    // Every row, its values joined by '|', rows by ';'.
    QString correr(const QString& sql) {
        auto r = m_->consultar(sql);
        QStringList filas;
        while (r->siguiente()) {
            QStringList f;
            for (int i = 0; i < r->columnas(); ++i) f << r->valor(i).toString();
            filas << f.join(QLatin1Char('|'));
        }
        return filas.join(QLatin1Char(';'));
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        m_ = std::make_unique<db::MotorIncrustado>(dir_.filePath(QStringLiteral("datos")));
        demo::SembrarMuestra(*m_);
    }

    void formas_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("sqlite");
        QTest::addColumn<QString>("clase");
        auto fila = [](const char* sql, const char* sqlite, const char* clase) {
            QTest::newRow(sql) << QString::fromUtf8(sql) << QString::fromUtf8(sqlite)
                               << QString::fromUtf8(clase);
        };
        fila("SELECT cliente 'Número', RFC AS [Clave RFC], domicilio Casa FROM clientes;",
             "SELECT cliente AS \"Número\", RFC AS \"Clave RFC\", domicilio AS \"Casa\" FROM "
             "main.clientes",
             "SELECT N,N,N");
        fila("SELECT dbo.alltrim(RFC), (cliente), c.* FROM dbo.clientes c",
             "SELECT alltrim(RFC) AS \"\", cliente AS \"\", c.* FROM main.clientes AS c",
             "SELECT T,N,N,N,N,N,N,N,N,N");
        fila("SELECT [cliente] FROM [dbo].[clientes] /* a /* b */ c */ WHERE RFC = N'O''Hara' --",
             "SELECT \"cliente\" FROM main.clientes WHERE RFC = 'O''Hara' COLLATE NOCASE",
             "SELECT N");
        fila(
            "SELECT TOP (5) cliente, Nombre_Cliente FROM erp_oxa..clientes ORDER BY 2 DESC, "
            "cliente",
            "SELECT cliente, Nombre_Cliente FROM main.clientes ORDER BY 2 COLLATE NOCASE DESC, 1 "
            "COLLATE NOCASE LIMIT 5",
            "SELECT N,N");
        fila("SELECT DISTINCT dbo.alltrim(RFC) FROM ERP_OXA.dbo.clientes ORDER BY 1",
             "SELECT DISTINCT alltrim(RFC) COLLATE NOCASE AS \"\" FROM main.clientes ORDER BY 1 "
             "COLLATE NOCASE",
             "SELECT T");
        fila(
            "SELECT s.solicitud, su.nombre_sucursal FROM NORV.dbo.Solicitudes_cliente_Nuevo s "
            "JOIN sucursales su ON s.sucursal = su.sucursal LEFT OUTER JOIN "
            "norv.dbo.detalles_Relaciones_Solicitudes d ON d.Solicitud = s.solicitud, personal",
            "SELECT s.solicitud, su.nombre_sucursal FROM norv.Solicitudes_cliente_Nuevo AS s JOIN "
            "main.sucursales AS su ON s.sucursal = su.sucursal LEFT JOIN "
            "norv.detalles_Relaciones_Solicitudes AS d ON d.Solicitud = s.solicitud, "
            "main.personal",
            "SELECT N,N");
        fila(
            "SELECT persona FROM personal p WHERE Persona = 101 OR 7 < p.persona OR persona IN "
            "(1, 2.5) OR persona BETWEEN 1 AND 9",
            "SELECT persona FROM main.personal AS p WHERE a_entero(Persona) = 101 OR 7 < "
            "a_entero(p.persona) OR a_decimal(persona) IN (1, 2.5) OR a_entero(persona) BETWEEN "
            "1 AND 9",
            "SELECT N");
        fila(
            "SELECT cliente FROM clientes WHERE fecha_alta BETWEEN '20261201' AND '2027-01-02' "
            "AND '20270101' > fecha_alta AND es_Indeseable = 'TRUE' AND cliente <> '7' AND "
            "GETDATE() > '19991231'",
            "SELECT cliente FROM main.clientes WHERE fecha_alta BETWEEN '2026-12-01 00:00:00.000' "
            "AND '2027-01-02 00:00:00.000' AND '2027-01-01 00:00:00.000' > fecha_alta AND "
            "es_Indeseable = 1 AND cliente <> 7 AND strftime('%Y-%m-%d %H:%M:%f','now',"
            "'localtime') > '1999-12-31 00:00:00.000'",
            "SELECT N");
        fila(
            "SELECT cliente FROM clientes WHERE Nombre_Cliente LIKE 'PEREZ LOPEZ JUAN' AND "
            "(RFC LIKE 'PE%' OR RFC NOT LIKE 'X' OR RFC LIKE 'A ' OR domicilio LIKE 'a!_' "
            "ESCAPE '!')",
            "SELECT cliente FROM main.clientes WHERE Nombre_Cliente = 'PEREZ LOPEZ JUAN' COLLATE "
            "NOCASE AND (RFC LIKE 'PE%' OR RFC NOT LIKE 'X' OR RFC LIKE 'A ' OR domicilio LIKE "
            "'a!_' ESCAPE '!')",
            "SELECT N");
        fila(
            "SELECT sucursal FROM sucursales WHERE dbo.alltrim(nombre_sucursal) = "
            "dbo.alltrim(centro_distribucion) AND dbo.alltrim(sucursal) IN ('a', 'b') AND NOT "
            "(sucursal = 'x' OR tasa_iva !< 1) AND nombre_sucursal IS NOT NULL",
            "SELECT sucursal FROM main.sucursales WHERE alltrim(nombre_sucursal) = "
            "alltrim(centro_distribucion) COLLATE NOCASE AND alltrim(sucursal) COLLATE NOCASE IN "
            "('a', 'b') AND NOT (sucursal = 'x' COLLATE NOCASE OR tasa_iva >= 1) AND "
            "nombre_sucursal IS NOT NULL",
            "SELECT N");
        fila(
            "SELECT (SELECT RFC FROM clientes WHERE cliente = 1), (SELECT MAX(cliente) FROM "
            "clientes), (SELECT TOP 1 RFC FROM clientes ORDER BY RFC)",
            "SELECT (SELECT * FROM (SELECT RFC FROM main.clientes WHERE cliente = 1) ORDER BY "
            "una_fila(count(*) OVER ())) AS \"\", (SELECT max(cliente) FROM main.clientes) AS "
            "\"\", (SELECT RFC FROM main.clientes ORDER BY 1 COLLATE NOCASE LIMIT 1) AS \"\"",
            "SELECT N,N,N");
        fila(
            "SELECT CASE RFC WHEN 'x' THEN 1 ELSE 0 END, CASE WHEN cliente > 1 THEN 'a' END, "
            "CAST(RFC AS char), CAST(RFC AS varchar(5)), CAST(RFC AS nvarchar(max)), CAST(RFC AS "
            "int), CAST(cliente AS bigint), CAST(cliente AS numeric(10,2)), CAST(RFC AS money) "
            "FROM clientes",
            "SELECT CASE RFC WHEN 'x' THEN 1 ELSE 0 END AS \"\", CASE WHEN cliente > 1 THEN 'a' "
            "END AS \"\", cast_char(RFC, 30) AS \"\", cast_varchar(RFC, 5) AS \"\", (RFC) AS "
            "\"\", a_entero(RFC) AS \"\", CAST(cliente AS INTEGER) AS \"\", round(CAST(cliente "
            "AS REAL), 2) AS \"\", round(a_decimal(RFC), 4) AS \"\" FROM main.clientes",
            "SELECT N,N,T,T,T,E,E,N,N");
        fila(
            "SELECT documento + 1, saldo / 2, documento / documento, documento % 7, -documento, "
            "- -1, +5 FROM anticipos_clientes",
            "SELECT documento + 1 AS \"\", CAST(saldo AS REAL) / 2 AS \"\", documento / "
            "divisor(documento) AS \"\", documento % 7 AS \"\", -documento AS \"\", -(-1) AS "
            "\"\", +5 AS \"\" FROM main.anticipos_clientes",
            "SELECT N,N,N,N,N,N,N");
        fila(
            "SELECT RFC, COUNT(DISTINCT dbo.alltrim(domicilio)), MAX(fecha_alta), AVG(cliente), "
            "GETDATE(), erp_oxa.dbo.fecha('20260101', 'Inicio'), NORV.dbo.cliente_incobrable(1) "
            "FROM clientes GROUP BY RFC, dbo.alltrim(RFC) HAVING COUNT(*) > 1",
            "SELECT RFC, count(DISTINCT alltrim(domicilio) COLLATE NOCASE) AS \"\", "
            "max(fecha_alta) AS \"\", CAST(avg(cliente) AS INTEGER) AS \"\", "
            "strftime('%Y-%m-%d %H:%M:%f','now','localtime') AS \"\", fecha('20260101', "
            "'Inicio') AS \"\", cliente_incobrable(1) AS \"\" FROM main.clientes GROUP BY RFC, "
            "alltrim(RFC) COLLATE NOCASE HAVING count(*) > 1",
            "SELECT N,E,F,E,F,F,B");
        fila(
            "SELECT cliente FROM clientes c WHERE EXISTS (SELECT 1 FROM sucursales WHERE "
            "sucursal = c.sucursal) AND cliente IN (SELECT TOP 2 cliente FROM clientes ORDER BY "
            "cliente DESC)",
            "SELECT cliente FROM main.clientes AS c WHERE EXISTS (SELECT 1 FROM main.sucursales "
            "WHERE sucursal = c.sucursal) AND cliente IN (SELECT cliente FROM main.clientes "
            "ORDER BY 1 COLLATE NOCASE DESC LIMIT 2)",
            "SELECT N");
        fila(
            "INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, Fecha_recepcion, "
            "fecha_tienda, Promocion, Rastreado) VALUES (1, GETDATE(), '20261130', '2', NULL)",
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (Cliente, Fecha_recepcion, fecha_tienda, "
            "Promocion, Rastreado) VALUES (1, strftime('%Y-%m-%d %H:%M:%f','now','localtime'), "
            "'2026-11-30 00:00:00.000', 2, NULL)",
            "INSERT Solicitudes_cliente_Nuevo identidad");
        fila("INSERT sucursales VALUES ('9', 'Nueve', 'CHI', 0.16), ('10', 'Diez', 'JRZ', '0.08')",
             "INSERT INTO main.sucursales (sucursal, nombre_sucursal, centro_distribucion, "
             "tasa_iva) VALUES ('9', 'Nueve', 'CHI', 0.16), ('10', 'Diez', 'JRZ', 0.08)",
             "INSERT sucursales");
        fila(
            "INSERT INTO clientes (Nombre_Cliente) SELECT Nombre_Cliente FROM clientes WHERE "
            "cliente = 99",
            "INSERT INTO main.clientes (Nombre_Cliente) SELECT Nombre_Cliente FROM main.clientes "
            "WHERE cliente = 99",
            "INSERT clientes identidad");
        fila(
            "UPDATE clientes SET es_Incobrable = 'true', es_Indeseable = 5, fecha_alta = "
            "'20240102', clientes.RFC = 'x' WHERE cliente = 1",
            "UPDATE main.clientes SET es_Incobrable = 1, es_Indeseable = 1, fecha_alta = "
            "'2024-01-02 00:00:00.000', RFC = 'x' WHERE cliente = 1",
            "UPDATE clientes");
        fila(
            "SELECT DATEDIFF(day, '20240101', fecha_alta), COUNT(*) FROM clientes GROUP BY "
            "DATEDIFF(day, '20240101', fecha_alta)",
            "SELECT CAST(julianday(date(fecha_alta)) - julianday(date('2024-01-01 00:00:00.000')) "
            "AS "
            "INTEGER) AS \"\", count(*) AS \"\" FROM main.clientes GROUP BY "
            "CAST(julianday(date(fecha_alta)) - julianday(date('2024-01-01 00:00:00.000')) AS "
            "INTEGER)",
            "SELECT E,E");
        fila("DELETE NORV.dbo.Detalles_Relaciones_Solicitudes WHERE solicitud = 4",
             "DELETE FROM norv.detalles_Relaciones_Solicitudes WHERE solicitud = 4",
             "DELETE detalles_Relaciones_Solicitudes");
    }

    void formas() {
        QFETCH(QString, sql);
        QFETCH(QString, sqlite);
        QFETCH(QString, clase);
        const auto t = Traducir(sql);
        QCOMPARE(t.sql, sqlite);
        QCOMPARE(forma(t), clase);
    }

    void resultados_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("filas");
        auto fila = [](const char* sql, const char* filas) {
            QTest::newRow(sql) << QString::fromUtf8(sql) << QString::fromUtf8(filas);
        };
        fila("SELECT COUNT(*) FROM clientes WHERE Nombre_Cliente = 'nuñez ortiz elena   '", "1");
        fila("SELECT COUNT(*) FROM clientes WHERE Nombre_Cliente = 'NUNEZ ORTIZ ELENA'", "0");
        fila("SELECT COUNT(*) FROM clientes WHERE Nombre_Cliente LIKE '[lp]%'", "3");
        fila("SELECT COUNT(*) FROM clientes WHERE Nombre_Cliente LIKE '[^lp]%'", "3");
        fila("SELECT COUNT(*) FROM clientes WHERE Nombre_Cliente LIKE '_U%'", "2");
        fila("SELECT persona FROM personal WHERE Persona = 201", "    201");
        fila("SELECT 7 / 2, -7 / 2, 7 % 3, 7.0 / 2", "3|-3|1|3.5");
        fila(
            "SELECT Importe_Solicitud / 4000 FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE "
            "solicitud = 1",
            "1.25");
        fila("SELECT TOP 2 Nombre_Cliente FROM clientes ORDER BY Nombre_Cliente DESC",
             "RUIZ DIAZ CARLOS;PEREZ LOPEZ JUAN");
        fila("SELECT cliente AS c FROM clientes WHERE GETDATE() > '20000101' ORDER BY c DESC",
             "6;5;4;3;2;1");
        fila("SELECT (SELECT RFC FROM clientes WHERE cliente = 1), AVG(cliente) FROM clientes",
             "PELJ800101AB1|3");
        fila("SELECT CAST(2.5 AS numeric), CAST(1.25 AS decimal(5,1)), CAST(' 12 ' AS int)",
             "3|1.3|12");
        fila(
            "SELECT CASE dbo.alltrim(RFC) WHEN 'pelj800101ab1' THEN 'sí' ELSE 'no' END FROM "
            "clientes WHERE cliente = 1",
            "sí");
        fila("SELECT COUNT(*) FROM sucursales WHERE dbo.alltrim(centro_distribucion) IN ('chi')",
             "4");
        fila("SELECT DISTINCT UPPER(dbo.alltrim(Nombre_Cliente)) FROM clientes WHERE cliente < 3",
             "PEREZ LOPEZ JUAN");
        // Midnights crossed, not whole days gone by.
        fila("SELECT DATEDIFF(dd, '2024-02-28 23:59:00', '20240301'), DATEDIFF(d, GETDATE(), NULL)",
             "2|");
    }

    void resultados() {
        QFETCH(QString, sql);
        QFETCH(QString, filas);
        QCOMPARE(correr(sql), filas);
    }

    void rechazos_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("mensaje");
        auto fila = [](const char* sql, const char* mensaje) {
            QTest::newRow(sql) << QString::fromUtf8(sql) << QString::fromUtf8(mensaje);
        };
        // Forms the engine does not translate.
        fila(" ; ", "no admite esta forma de sentencia: el texto está vacío.");
        fila("SELECT 1; DROP TABLE clientes", "solo se admite una sentencia por texto");
        fila("DROP TABLE clientes", "solo se admiten SELECT, INSERT, UPDATE y DELETE, no «DROP»");
        fila("EXEC REGRESA_FOLIO", "los procedimientos almacenados se llaman con parámetros");
        fila("SELECT \"RFC\" FROM clientes", "comillas dobles");
        fila("SELECT @x", "variables de T-SQL");
        fila("SELECT * FROM #t", "tablas temporales");
        fila("SELECT 'x", "una cadena sin comilla de cierre");
        fila("SELECT 1 /* x", "un comentario /* sin cerrar");
        fila("SELECT 0x1F", "el número «0x»");
        fila("SELECT cliente FROM clientes WHERE RFC GLOB '*'", "la palabra «GLOB»");
        fila("SELECT isnull(RFC, '') FROM clientes", "la palabra «isnull»");
        fila("SELECT LEFT(RFC, 2) FROM clientes", "la función LEFT()");
        fila("SELECT dbo.len(RFC) FROM clientes", "la función «dbo.len» (no está entre las que");
        fila("SELECT nombre_cliente(1)", "la función «nombre_cliente» sin su dueño");
        fila("SELECT norv.dbo.nombre_cliente(1)", "que está en erp_oxa y no en norv");
        fila("SELECT dbo.GETDATE()", "la función del sistema «dbo.GETDATE» con dueño");
        fila("SELECT RFC = Nombre_Cliente FROM clientes", "la forma «alias = expresión»");
        fila("SELECT * INTO copia FROM clientes", "SELECT ... INTO");
        fila("SELECT TOP 5 PERCENT cliente FROM clientes", "TOP … PERCENT");
        fila("SELECT cliente FROM clientes UNION SELECT 1", "UNION");
        fila("SELECT cliente FROM (SELECT cliente FROM clientes) x", "tabla derivada");
        fila("DELETE FROM clientes WHERE cliente IN (SELECT TOP 1 cliente FROM clientes)",
             "TOP sin ORDER BY en una subconsulta");
        fila("UPDATE clientes SET RFC = 'x' FROM clientes", "UPDATE con FROM");
        fila("DELETE FROM ventas.clientes", "el esquema «ventas» (solo existe dbo)");
        fila("DELETE FROM otra.dbo.clientes", "la base de datos «otra»");
        fila("SELECT RFC + 'x' FROM clientes", "(en SQL Server también concatena textos)");
        fila("SELECT GETDATE() - 1", "aritmética con la fecha GETDATE()");
        fila("SELECT saldo % 2 FROM anticipos_clientes", "el operador % con decimales");
        fila("SELECT cliente FROM clientes WHERE fecha_alta = 'ayer'",
             "«ayer» comparado con la fecha fecha_alta");
        fila("SELECT cliente FROM clientes WHERE fecha_alta > 5", "comparada con un número");
        fila("SELECT cliente FROM clientes WHERE fecha_alta LIKE '2026%'", "LIKE con fecha_alta");
        fila("SELECT cliente FROM clientes WHERE es_Indeseable = 'quizá'", "comparado con el bit");
        fila("SELECT cliente FROM clientes WHERE cliente = 'siete'", "comparado con el número");
        fila("UPDATE clientes SET fecha_alta = '20240230'", "asignado a la fecha fecha_alta");
        fila("SELECT CAST(RFC AS char(max)) FROM clientes", "CAST a char(max)");
        fila("SELECT CAST(RFC AS datetime) FROM clientes", "CAST a datetime");
        fila("SELECT DATEDIFF(month, GETDATE(), GETDATE())", "DATEDIFF por «month»");
        fila("SELECT DATEDIFF(day, RFC, GETDATE()) FROM clientes", "DATEDIFF de RFC, que no es");
        // What SQL Server refuses.
        fila("SELECT RFC AS r FROM clientes WHERE r = 'x'", "Detalle: Invalid column name 'r'.");
        fila("SELECT * FROM norv.dbo.clientes",
             "Detalle: Invalid object name 'norv.dbo.clientes'.");
        fila("SELECT sucursal FROM clientes c JOIN sucursales s ON s.sucursal = c.sucursal",
             "Detalle: Ambiguous column name 'sucursal'.");
        fila(
            "SELECT s.Cliente, c.cliente FROM norv.dbo.Solicitudes_cliente_Nuevo s JOIN clientes c "
            "ON c.cliente = s.Cliente ORDER BY cliente",
            "Detalle: Ambiguous column name 'cliente'.");
        fila("SELECT clientes.RFC FROM clientes c", "identifier \"clientes.RFC\" could not be");
        fila("SELECT * FROM clientes, dbo.clientes", "have the same exposed names");
        fila("INSERT INTO clientes (Nombre_Cliente) VALUES (RFC)", "The name \"RFC\" is not");
        fila(
            "SELECT cliente FROM clientes WHERE cliente IN (SELECT cliente FROM clientes ORDER "
            "BY 1)",
            "Detalle: The ORDER BY clause is invalid in views");
        fila("SELECT cliente FROM clientes ORDER BY 2", "ORDER BY position number 2 is out of");
        fila("SELECT cliente FROM clientes ORDER BY 'x'", "A constant expression was encountered");
        fila("SELECT DISTINCT RFC FROM clientes ORDER BY cliente", "must appear in the select");
        fila("SELECT RFC FROM clientes GROUP BY 1", "Each GROUP BY expression must contain");
        fila("SELECT RFC, COUNT(*) FROM clientes", "is invalid in the select list");
        fila("SELECT RFC, COUNT(*) FROM clientes GROUP BY sucursal",
             "Column 'clientes.RFC' is invalid in the select list because");
        fila("SELECT cliente FROM clientes WHERE COUNT(*) > 1",
             "An aggregate may not appear in "
             "the WHERE clause");
        fila("UPDATE clientes SET RFC = COUNT(*)", "may not appear in the set list");
        fila("SELECT MAX(COUNT(*)) FROM clientes", "Cannot perform an aggregate function");
        fila("SELECT COUNT(*) FROM clientes GROUP BY (SELECT 1)", "Cannot use an aggregate or a");
        fila("SELECT SUM(RFC) FROM clientes", "Operand data type varchar is invalid for sum");
        fila("SELECT (SELECT cliente, RFC FROM clientes)", "Only one expression can be");
        fila("INSERT INTO clientes (cliente) VALUES (9)", "Cannot insert explicit value for");
        fila("UPDATE clientes SET cliente = 9", "Cannot update identity column 'cliente'.");
        fila("INSERT INTO clientes (Nombre_Cliente, RFC) VALUES ('x')", "There are more columns");
        fila("INSERT INTO clientes (RFC) VALUES ('x', 'y')", "There are fewer columns");
        fila("INSERT INTO clientes (RFC) SELECT RFC, RFC FROM clientes", "contains more items");
        fila("UPDATE clientes SET RFC = 'x', rfc = 'y'", "The column name 'rfc' is specified");
        fila("SELECT GETDATE(1)", "The getdate function requires 0 argument(s).");
        fila("SELECT dbo.fecha('20240101')", "An insufficient number of arguments");
        fila("SELECT dbo.alltrim('a', 'b')", "dbo.alltrim has too many arguments");
        fila("SELECT cliente FROM clientes WHERE cliente", "non-boolean type specified");
        // What SQL Server raises while the statement runs.
        fila("SELECT 1 / 0",
             "divide entre cero; revise los datos y, si se repite, avise a "
             "soporte con este detalle.\nDetalle: Divide by zero error "
             "encountered.");
        fila("SELECT documento % (documento - documento) FROM anticipos_clientes",
             "Detalle: Divide by zero error encountered.");
        fila("SELECT cliente FROM clientes WHERE RFC = 5",
             "Detalle: Conversion failed when converting the varchar value 'PELJ800101AB1' to "
             "data type int.");
        fila("SELECT CAST(RFC AS numeric) FROM clientes",
             "Detalle: Error converting data type varchar to numeric.");
        fila("SELECT (SELECT RFC FROM clientes)", "Detalle: Subquery returned more than 1 value.");
    }

    void rechazos() {
        QFETCH(QString, sql);
        QFETCH(QString, mensaje);
        QString dado;
        try {
            correr(sql);
        } catch (const db::ErrorBD& e) {
            dado = e.mensaje();
        }
        QVERIFY2(dado.contains(mensaje), qPrintable(dado));
    }
};

QTEST_GUILESS_MAIN(TraductorTest)
#include "traductor_test.moc"
