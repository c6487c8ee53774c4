// How values are written into statements: texts quoted, numbers bare and rounded as the server
// rounds what it stores, dates as yyyymmdd, the guards' text comparison, and the values the
// builders take read from cells; whatever is no number is refused.
#include "db/sql.h"

#include <QDate>
#include <QtTest>
#include <functional>
#include <limits>

#include "db/error_bd.h"

namespace {

// What the helper gives, or "ERROR" when it refuses with a message of its own.
QString Da(const std::function<QString()>& helper) {
    try {
        return helper();
    } catch (const db::ErrorBD& e) {
        return e.mensaje().isEmpty() ? QStringLiteral("ERROR sin mensaje")
                                     : QStringLiteral("ERROR");
    }
}

}  // namespace

class SqlTest : public QObject {
    Q_OBJECT

  private slots:
    void valores_data();
    void valores();
};

void SqlTest::valores_data() {
    using namespace db;
    QTest::addColumn<QString>("obtenido");
    QTest::addColumn<QString>("esperado");
    auto fila = [](const char* caso, const char* esperado, const std::function<QString()>& f) {
        QTest::newRow(caso) << Da(f) << QString::fromUtf8(esperado);
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    auto numero = [](const QVariant& v) { return [v] { return Numero(NumeroDe(v), 4); }; };
    auto entero = [](const QVariant& v) { return [v] { return Entero(EnteroDe(v)); }; };

    fila("texto", "'PEREZ'", [] { return Texto(QStringLiteral("PEREZ")); });
    fila("texto con comillas", "'O''HIGGINS '''''",
         [] { return Texto(QStringLiteral("O'HIGGINS ''")); });
    fila("texto vacío", "''", [] { return Texto(QString()); });
    fila("entero", "4500", [] { return Numero(QStringLiteral("4500"), 4); });
    fila("ceros a la izquierda", "45", [] { return Numero(QStringLiteral(" 0045 "), 4); });
    fila("decimales de más, la mitad hacia arriba", "2500.0001",
         [] { return Numero(QStringLiteral("2500.00005"), 4); });
    fila("debajo de la mitad", "1.2344", [] { return Numero(QStringLiteral("1.23444"), 4); });
    fila("el acarreo sube al entero", "100", [] { return Numero(QStringLiteral("99.99995"), 4); });
    fila("negativo, lejos del cero", "-3", [] { return Numero(QStringLiteral("-2.5"), 0); });
    fila("negativo que redondea a cero", "0", [] { return Numero(QStringLiteral("-0.00001"), 4); });
    fila("sin ceros al final", "5000.5", [] { return Numero(QStringLiteral("5000.5000"), 4); });
    fila("solo fracción", "1", [] { return Numero(QStringLiteral(".5"), 0); });
    fila("todas las cifras", "1.1234567",
         [] { return Numero(QStringLiteral("1.1234567"), TodasLasCifras); });
    fila("más cifras que un double", "12345678901234567890",
         [] { return Numero(QStringLiteral("12345678901234567890"), 0); });
    fila("vacío", "ERROR", [] { return Numero(QString(), 4); });
    fila("letras", "ERROR", [] { return Numero(QStringLiteral("CINCO"), 4); });
    fila("separador de miles", "ERROR", [] { return Numero(QStringLiteral("5,000"), 4); });
    fila("exponente", "ERROR", [] { return Numero(QStringLiteral("1e3"), 4); });
    fila("dos puntos", "ERROR", [] { return Numero(QStringLiteral("1.2.3"), 4); });
    fila("solo signo", "ERROR", [] { return Numero(QStringLiteral("-"), 4); });
    fila("double entero", "7", [] { return Numero(7.0, 0); });
    fila("double, mitad", "3", [] { return Numero(2.5, 0); });
    fila("double sin cola binaria", "0.3", [] { return Numero(0.1 + 0.2, 4); });
    fila("double grande, sin exponente", "100000000000000000000", [] { return Numero(1e20, 4); });
    fila("double pequeño", "0.0001", [] { return Numero(0.00005, 4); });
    fila("menos cero", "0", [] { return Numero(-0.0, 4); });
    fila("no es número", "ERROR", [nan] { return Numero(nan, 4); });
    fila("infinito", "ERROR", [inf] { return Numero(inf, 4); });
    fila("entero de 64 bits", "-9000000000", [] { return Entero(-9000000000LL); });
    fila("fecha", "20240304", [] { return Fecha(QDate(2024, 3, 4)); });
    fila("fecha no válida", "ERROR", [] { return Fecha(QDate()); });
    fila("comparación de texto", "CAST(comentarios AS nvarchar(max)) = 'D''ARCY'",
         [] { return TextoIgual(QStringLiteral("comentarios"), QStringLiteral("D'ARCY")); });
    fila("comparación con NULL", "estado_actual IS NULL",
         [] { return TextoIgual(QStringLiteral("estado_actual"), {}); });
    fila("comparación con vacío", "CAST(tipo AS nvarchar(max)) = ''",
         [] { return TextoIgual(QStringLiteral("tipo"), QString(QLatin1String(""))); });
    fila("celda con número", "2500.5", numero(2500.5));
    fila("celda con entero", "501", numero(qlonglong(501)));
    fila("celda con texto", "12.25", numero(QStringLiteral("12.25")));
    fila("celda vacía", "ERROR", numero(QVariant()));
    fila("celda con texto vacío", "ERROR", numero(QString()));
    fila("celda con letras", "ERROR", numero(QStringLiteral("N/A")));
    fila("celda con bit", "ERROR", numero(true));
    fila("entero de texto redondeado", "-13", entero(QStringLiteral("-12.5")));
    fila("entero de double", "125", entero(125.0));
    fila("entero fuera de 64 bits", "ERROR", entero(QStringLiteral("99999999999999999999")));
}

void SqlTest::valores() {
    QFETCH(QString, obtenido);
    QFETCH(QString, esperado);
    QCOMPARE(obtenido, esperado);
}

QTEST_GUILESS_MAIN(SqlTest)
#include "sql_test.moc"
