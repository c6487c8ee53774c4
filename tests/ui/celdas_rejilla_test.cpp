// What a grid keeps of each cell: the value comes back as it went in, of the same type, and
// shows as it did, whether a window wrote it or the engine's result filled it.
#include <QColor>
#include <QDateTime>
#include <QtTest>

#include "base_prueba.h"
#include "db/recordset.h"
#include "startup/global.h"
#include "ui/modelo_rejilla.h"
#include "ui/valor_celda.h"

class CeldasRejillaTest : public QObject {
    Q_OBJECT

  private slots:
    void valoresEscritos_data();
    void valoresEscritos();
    void llenadaComoLaLeeElPrograma();
    void textosReescritosMuchasVeces();
    void filasQuitadasConTiposMezclados();
};

void CeldasRejillaTest::valoresEscritos_data() {
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("muestra");
    const QDateTime tarde(QDate(2024, 3, 4), QTime(17, 5, 9, 120));
    QTest::newRow("vacía") << QVariant() << QString();
    QTest::newRow("int, como una casilla") << QVariant(1) << QStringLiteral("1");
    QTest::newRow("qint64") << QVariant(qint64(9000000001)) << QStringLiteral("9000000001");
    QTest::newRow("double") << QVariant(1500.25) << QStringLiteral("1500.25");
    QTest::newRow("texto con blancos y acentos")
        << QVariant(QStringLiteral(" NUÑEZ PÉREZ  ")) << QStringLiteral(" NUÑEZ PÉREZ  ");
    QTest::newRow("texto vacío") << QVariant(QStringLiteral("")) << QString();
    QTest::newRow("texto nulo") << QVariant(QString()) << QString();
    QTest::newRow("fecha a medianoche")
        << QVariant(QDateTime(QDate(2024, 3, 4), QTime(0, 0))) << QStringLiteral("04/03/2024");
    QTest::newRow("fecha con hora") << QVariant(tarde) << QStringLiteral("04/03/2024 17:05:09");
    QTest::newRow("fecha en UTC") << QVariant(tarde.toUTC())
                                  << tarde.toUTC().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    QTest::newRow("día") << QVariant(QDate(2024, 12, 31)) << QStringLiteral("31/12/2024");
    QTest::newRow("bit") << QVariant(true) << QStringLiteral("Verdadero");
    QTest::newRow("sin signo") << QVariant(7u) << QStringLiteral("7");
    QTest::newRow("color") << QVariant(QColor(Qt::red)) << QVariant(QColor(Qt::red)).toString();
}

// Written over each kind the column held before, so every change of kind is crossed.
void CeldasRejillaTest::valoresEscritos() {
    QFETCH(QVariant, valor);
    QFETCH(QString, muestra);
    ModeloRejilla m;
    m.agregarColumna(QStringLiteral("A"));
    const QVariantList antes = {QVariant(), QVariant(5), QVariant(QStringLiteral("X")),
                                QVariant(QDateTime(QDate(2020, 1, 1), QTime(8, 0)))};
    for (const QVariant& previo : antes) {
        const int f = m.agregarFila();
        m.ponerValor(f, 1, previo);
        m.ponerValor(f, 1, valor);
    }
    for (int f = 1; f <= m.numeroFilas(); ++f) {
        QCOMPARE(m.valor(f, 1), valor);
        QCOMPARE(m.valor(f, 1).typeId(), valor.typeId());
        QCOMPARE(m.valor(f, 1).isNull(), valor.isNull());
        QCOMPARE(m.valor(f, 1).toString().isNull(), valor.toString().isNull());
        QCOMPARE(m.texto(f, 1), muestra);
    }
}

// The engine's result read straight into the grid gives each cell what the program reads
// through the recordset, and shows it the same.
void CeldasRejillaTest::llenadaComoLaLeeElPrograma() {
    BasePrueba base;
    base.sqlite(QStringLiteral(
        "INSERT INTO clientes (cliente, Nombre_Cliente, RFC, es_Indeseable, domicilio, sucursal, "
        "fecha_alta) VALUES (1, 'ÑANDÚ PÉREZ ANA', 'PEAN800101', 1, '', '1', "
        "'2024-03-04 00:00:00.000'), (2, 'RUIZ  ', NULL, 0, 'CALLE 1', '2', "
        "'2024-03-04 17:05:09.120'), (3, 'RUIZ  ', 'X', 0, NULL, NULL, '2024-13-45 99:00:00.000');"
        "INSERT INTO sucursales (sucursal, tasa_iva) VALUES ('1', 0.16)"));
    const QString sql = QStringLiteral(
        "SELECT c.cliente, c.Nombre_Cliente, c.RFC, c.es_Indeseable, c.domicilio, c.sucursal, "
        "c.fecha_alta, s.tasa_iva, dbo.fecha_corta(c.fecha_alta), NORV.dbo.cliente_incobrable("
        "c.cliente) FROM clientes c LEFT JOIN sucursales s ON s.sucursal = c.sucursal ORDER BY 1");
    db::Recordset leido;
    leido.abrir(sql, Global::Conexion);
    QList<QVariantList> esperadas;
    for (; !leido.eof(); leido.siguiente()) {
        QVariantList fila;
        for (int i = 0; i < leido.numeroCampos(); ++i) fila << leido.campo(i);
        esperadas << fila;
    }
    ModeloRejilla m;
    db::Recordset r;
    r.abrir(sql, Global::Conexion);
    m.llenar(r);
    QCOMPARE(m.numeroFilas(), 3);
    for (int f = 1; f <= 3; ++f) {
        for (int c = 1; c <= m.numeroColumnas(); ++c) {
            const QVariant& e = esperadas[f - 1][c - 1];
            QCOMPARE(m.valor(f, c), e);
            QCOMPARE(m.valor(f, c).typeId(), e.typeId());
            QCOMPARE(m.texto(f, c), TextoDeCelda(e));
        }
    }
}

// A column whose texts are written over and over gives its buffer back now and then; every
// cell keeps its own text, also those that shared one.
void CeldasRejillaTest::textosReescritosMuchasVeces() {
    ModeloRejilla m;
    m.agregarColumna(QStringLiteral("A"));
    constexpr int Filas = 300;
    for (int f = 1; f <= Filas; ++f) m.ponerValor(m.agregarFila(), 1, QStringLiteral("MISMO"));
    for (int vuelta = 0; vuelta < 40; ++vuelta)
        for (int f = 1; f <= Filas; f += 2)
            m.ponerValor(f, 1,
                         QStringLiteral("TEXTO LARGO DE LA VUELTA %1 FILA %2 %3")
                             .arg(vuelta)
                             .arg(f)
                             .arg(QString(f % 7, QLatin1Char('X'))));
    for (int f = 1; f <= Filas; ++f)
        QCOMPARE(m.valor(f, 1).toString(),
                 f % 2 ? QStringLiteral("TEXTO LARGO DE LA VUELTA 39 FILA %1 %2")
                             .arg(f)
                             .arg(QString(f % 7, QLatin1Char('X')))
                       : QStringLiteral("MISMO"));
}

void CeldasRejillaTest::filasQuitadasConTiposMezclados() {
    ModeloRejilla m;
    m.agregarColumna(QStringLiteral("A"));
    const QVariantList valores = {
        QVariant(qint64(1)), QVariant(QStringLiteral("DOS")), QVariant(),
        QVariant(4.5),       QVariant(QColor(Qt::blue)),      QVariant(6)};
    for (const QVariant& v : valores) m.ponerValor(m.agregarFila(), 1, v);
    m.quitarFila(2);
    m.quitarFila(4);  // the colour
    QCOMPARE(m.numeroFilas(), 4);
    QCOMPARE(m.valor(1, 1), valores[0]);
    QVERIFY(m.valor(2, 1).isNull());
    QCOMPARE(m.valor(3, 1), valores[3]);
    QCOMPARE(m.valor(4, 1), valores[5]);
    QCOMPARE(m.valor(4, 1).typeId(), int(QMetaType::Int));
}

QTEST_MAIN(CeldasRejillaTest)
#include "celdas_rejilla_test.moc"
