// The batch report the program draws itself when there is no report server: the viewer
// writes Relacion_<n>.pdf from the embedded database and opens it; the PDF read back with
// poppler's pdftotext holds the batch, every application and the totals.
#include "batches/informe_relacion.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "base_prueba.h"
#include "batches/frm_reporte.h"
#include "servicios_falsos.h"
#include "startup/configuracion.h"
#include "startup/global.h"

namespace {

// The text of every page, pages separated by form feeds.
QString TextoPdf(const QString& ruta) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("(pdftotext falló: %1)")
            .arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class InformeRelacionTest : public QObject {
    Q_OBJECT

    QTemporaryDir casa;
    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

    QString archivo(int numero) const {
        return QDir(casa.filePath(QStringLiteral("Documents")))
            .filePath(QStringLiteral("Relacion_%1.pdf").arg(numero));
    }

    // Batch `relacion` of CHI, handed to verifier 40, with `lineas` applications from 500 on;
    // each amount is 1000 plus its number, and the customer of 500 + i is 900 + i.
    void Sembrar(int relacion, int lineas) {
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', 'Matriz Centro', 'CHI'), ('3', 'Plaza Ávalos', 'CHI');"
            "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, "
            "es_verificador) VALUES ('     40', 'HERNANDEZ DIAZ', 'JORGE', 1, 0, 1),"
            "('    101', 'GARCIA LOPEZ', 'ANA', 1, 1, 0);"));
        base->sqlite(
            QStringLiteral("INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, "
                           "centro_distribucion, verificador, elaborada_por, fecha_entrega) VALUES "
                           "(%1, 'CHI', '     40', '     40', '2024-06-03 08:30:00.000')")
                .arg(relacion));
        for (int i = 0; i < lineas; ++i) {
            base->sqlite(
                QStringLiteral(
                    "INSERT INTO clientes (cliente, Nombre_Cliente, domicilio) VALUES "
                    "(%1, 'CLIENTE NÚMERO %1', 'Calle Aldama %2, Col. Centro');"
                    "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, "
                    "Fecha_recepcion, Importe_Solicitud, Sucursal, telefono, Nombre_Aval, "
                    "apellidos_Aval, Vendedor, Relacion, estado_actual) VALUES (%3, %1, "
                    "'2024-06-01 10:15:00.000', %4, '%5', '614555%3', 'ROSA', 'LOPEZ "
                    "MARTINEZ', '    101', %6, 'Entregada');"
                    "INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, Solicitud, "
                    "tiene_cita) VALUES (%6, %3, 1);")
                    .arg(900 + i)
                    .arg(100 + i)
                    .arg(500 + i)
                    .arg(1000 + 500 + i)
                    .arg(i % 2 ? QStringLiteral("3      ") : QStringLiteral("1      "))
                    .arg(relacion));
        }
        base->limpiar();
    }

    // Opens the viewer as the batch window does and lets it work until it closes or tells
    // the user something.
    int Abrir(double numero) {
        Global::NumeroRelacion = numero;
        Global::TipoReporte = 1;
        FrmReporte f;
        servicios->accionesModales = {
            [this](QDialog& d) { QTRY_VERIFY(!d.isVisible() || !servicios->mensajes.isEmpty()); }};
        return Servicios().mostrarModal(f);
    }

  private slots:
    void initTestCase() {
        qputenv("HOME", casa.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", casa.filePath(QStringLiteral("config")).toUtf8());
    }

    void init() {
        QDir(casa.filePath(QStringLiteral("Documents"))).removeRecursively();
        base = std::make_unique<BasePrueba>();
        servicios = std::make_unique<ServiciosFalsos>();
        Global::Ajustes = configuracion::AjustesPredeterminados(casa.path());
        Global::Ajustes.servidorReportes = QStringLiteral("integrado");
    }

    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void sinServidorElProgramaDibujaElReporte_data() {
        QTest::addColumn<QString>("servidor");
        QTest::newRow("integrado") << QStringLiteral("integrado");
        QTest::newRow("vacío") << QString();
        QTest::newRow("con blancos y mayúsculas") << QStringLiteral(" Integrado ");
    }
    void sinServidorElProgramaDibujaElReporte() {
        QFETCH(QString, servidor);
        Global::Ajustes.servidorReportes = servidor;
        Sembrar(125, 3);
        {
            Global::NumeroRelacion = 125;
            FrmReporte f;
            QVERIFY(f.integrado());
            // No address to show: the label says where the report goes.
            QCOMPARE(f.LblURL->text(), archivo(125));
        }
        QCOMPARE(Abrir(125), int(QDialog::Accepted));
        QVERIFY(servicios->mensajes.isEmpty());
        QCOMPARE(servicios->direcciones, QStringList{archivo(125)});
        // Read through the program's connection, so --log-sql shows them.
        QCOMPARE(base->enviadas,
                 (QStringList{informe::SentenciaRelacion(125), informe::SentenciaLineas(125)}));

        QFile pdf(archivo(125));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        pdf.close();
        const QString texto = TextoPdf(archivo(125));
        for (const QString& esperado : {QStringLiteral("Relación de Verificación 125"),
                                        QStringLiteral("CHI"),
                                        QStringLiteral("HERNANDEZ DIAZ JORGE"),
                                        QStringLiteral("03/06/2024"),
                                        QStringLiteral("500"),
                                        QStringLiteral("CLIENTE NÚMERO 900"),
                                        QStringLiteral("501"),
                                        QStringLiteral("CLIENTE NÚMERO 901"),
                                        QStringLiteral("502"),
                                        QStringLiteral("CLIENTE NÚMERO 902"),
                                        QStringLiteral("Calle Aldama 101"),
                                        QStringLiteral("614555501"),
                                        QStringLiteral("ROSA LOPEZ"),
                                        QStringLiteral("Plaza Ávalos"),
                                        QStringLiteral("GARCIA LOPEZ"),
                                        QStringLiteral("$1,501.00"),
                                        QStringLiteral("01/06/2024"),
                                        QStringLiteral("Total de solicitudes: 3"),
                                        QStringLiteral("Importe total: $4,503.00"),
                                        QStringLiteral("Página 1 de 1")})
            QVERIFY2(texto.contains(esperado),
                     qPrintable(esperado + QStringLiteral(" en:\n") + texto));
        QCOMPARE(texto.count(QLatin1Char('\f')), 1);
    }

    void unaRelacionLargaOcupaDosHojas() {
        Sembrar(126, 35);
        QCOMPARE(Abrir(126), int(QDialog::Accepted));
        const QString texto = TextoPdf(archivo(126));
        const QStringList hojas = texto.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(hojas.size(), 2);
        QVERIFY(hojas[0].contains(QStringLiteral("Página 1 de 2")));
        QVERIFY(hojas[1].contains(QStringLiteral("Página 2 de 2")));
        // Each sheet says which batch it belongs to; the totals close the last one.
        QVERIFY(hojas[1].contains(QStringLiteral("Relación de Verificación 126")));
        QVERIFY(!hojas[0].contains(QStringLiteral("Total de solicitudes")));
        QVERIFY(hojas[1].contains(QStringLiteral("Total de solicitudes: 35")));
        // 35 amounts of 1500 + i.
        QVERIFY(hojas[1].contains(QStringLiteral("Importe total: $53,095.00")));
        for (int i = 0; i < 35; ++i)
            QVERIFY2(texto.contains(QStringLiteral("CLIENTE NÚMERO %1").arg(900 + i)),
                     qPrintable(QString::number(900 + i)));
    }

    void sinVisorSeDiceDondeQuedoYSinRelacionSeAvisa() {
        Sembrar(125, 1);
        servicios->resultadoAbrir = false;
        // Behind the message the window says where the report went, not a blank.
        QStringList linea;
        servicios->alMostrarMensaje = [&linea](const MensajeMostrado&) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<FrmReporte*>(w); f && f->LblEspera->isVisible())
                    linea << f->LblEspera->text() << f->LblEspera->toolTip();
        };
        QCOMPARE(Abrir(125), int(QDialog::Accepted));
        QCOMPARE(linea.size(), 2);
        QVERIFY2(linea[0].startsWith(QStringLiteral("Reporte guardado en ")), qPrintable(linea[0]));
        QCOMPARE(linea[1], QStringLiteral("Reporte guardado en ") + archivo(125));
        servicios->alMostrarMensaje = nullptr;
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QVERIFY(servicios->mensajes[0].texto.endsWith(archivo(125)));
        QVERIFY(QFile::exists(archivo(125)));

        // A batch that is not in the database: nothing is written, the window stays.
        servicios->limpiar();
        QCOMPARE(Abrir(77), int(QDialog::Rejected));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY(servicios->mensajes[0].texto.contains(QStringLiteral("77")));
        QVERIFY(!QFile::exists(archivo(77)));
        QVERIFY(servicios->direcciones.isEmpty());
    }
};

QTEST_MAIN(InformeRelacionTest)
#include "informe_relacion_test.moc"
