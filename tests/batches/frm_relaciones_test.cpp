// The batch window driven as the credit office uses it: a verifier is chosen, pending
// applications are ticked and saved as a batch (one unit of work), its report fetched from a
// report server on the loopback address; below, the batch list and its reprint.
#include "batches/frm_relaciones.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "base_prueba.h"
#include "batches/frm_reporte.h"
#include "db/embedded/motor_incrustado.h"
#include "demo/demo.h"
#include "servicios_falsos.h"
#include "servidor_http_prueba.h"
#include "startup/global.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/valor_celda.h"
#include "ui/ventana.h"

namespace {

const QColor Verde(0, 255, 0);
const QString Nuevas = QStringLiteral(
    "SELECT relacion, verificador FROM norv.Relaciones_Solicitudes_credito WHERE relacion > 124");

QString Pendientes(const QString& centro) {
    return QStringLiteral(
               "SELECT s.solicitud,su.nombre_sucursal,ERP_OXA.dbo.fecha_corta(s.fecha_recepcion),"
               "erp_oxa.dbo.nombre_cliente(cliente) from NORV.dbo.Solicitudes_cliente_Nuevo s  "
               "JOIN  "
               "sucursales su on s.sucursal= su.sucursal  WHERE su.centro_distribucion='") +
           centro +
           QStringLiteral(
               "'  AND   relacion IS NULL  AND   estado_actual<>'Rechazada'  ORDER BY 1,2,3 ");
}

QString Linea(int relacion, int solicitud) {
    return QStringLiteral(
               "INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( "
               "Relacion,Solicitud,tiene_cita) "
               "VALUES( %1,%2,1 )")
        .arg(relacion)
        .arg(solicitud);
}

QString Asignar(int relacion, int solicitud) {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Relacion =%1 WHERE Solicitud = %2"
               " AND Relacion IS NULL AND estado_actual<>'Rechazada'")
        .arg(relacion)
        .arg(solicitud);
}

QString Encabezado(const QString& clave) {
    return QStringLiteral(
               "INSERT INTO norv.dbo.Relaciones_Solicitudes_credito  (centro_distribucion, "
               "verificador, elaborada_por) VALUES(  'CHI', '") +
           clave + QStringLiteral("', '") + clave + QStringLiteral("') ");
}

QString Dia(int dias, const char* hora) {
    return QDate::currentDate().addDays(-dias).toString(QStringLiteral("yyyy-MM-dd ")) +
           QLatin1String(hora);
}

}  // namespace

class FrmRelacionesTest : public QObject {
    Q_OBJECT

    QTemporaryDir casa;
    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<ServidorHttpPrueba> http;

    std::unique_ptr<FrmRelaciones> Abrir() {
        auto f = std::make_unique<FrmRelaciones>();
        f->show();
        f->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(f.get())); }();
        return f;
    }

    static QPoint Celda(Rejilla* r, int fila, int columna) {
        return r->visualRect(r->model()->index(fila - 1, columna - 1)).center();
    }
    static void Clic(Rejilla* r, int fila, int columna) {
        QTest::mouseClick(r->viewport(), Qt::LeftButton, {}, Celda(r, fila, columna));
    }
    // The events of a real double-click.
    static void DobleClic(QWidget* donde, QPoint punto) {
        QTest::mousePress(donde, Qt::LeftButton, {}, punto);
        QTest::mouseRelease(donde, Qt::LeftButton, {}, punto);
        QTest::mouseDClick(donde, Qt::LeftButton, {}, punto);
        QTest::mouseRelease(donde, Qt::LeftButton, {}, punto);
    }

    static QStringList Textos(QComboBox* c) {
        QStringList r;
        for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
        return r;
    }

    static QStringList Columna(Rejilla* r, int columna) {
        QStringList l;
        for (int f = 1; f <= r->numeroFilas(); ++f) l << r->texto(f, columna);
        return l;
    }

    // Picks a verifier with the keyboard and leaves the list with Tab, as a clerk does.
    static void ElegirVerificador(FrmRelaciones* f, int indice) {
        f->CmbVerificadores->setFocus();
        QTRY_VERIFY(f->CmbVerificadores->hasFocus());
        for (int i = 0; i <= indice; ++i) QTest::keyClick(f->CmbVerificadores, Qt::Key_Down);
        QCOMPARE(f->CmbVerificadores->currentIndex(), indice);
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Tab);
        QVERIFY(!f->CmbVerificadores->hasFocus());
    }

    // The viewer as the user sees it: it fetches the report and closes by itself.
    void EsperarVisor() {
        servicios->alMostrarModal = [](QDialog& d) {
            QVERIFY(qobject_cast<FrmReporte*>(&d));
            QTRY_VERIFY_WITH_TIMEOUT(!d.isVisible(), 15000);
        };
    }

    QString Pdf(int numero) const {
        return QDir(casa.filePath(QStringLiteral("Documents")))
            .filePath(QStringLiteral("Relacion_%1.pdf").arg(numero));
    }

    int Dialogos(const char* clase) const {
        int n = 0;
        for (const DialogoMostrado& d : servicios->dialogos) n += d.clase == QLatin1String(clase);
        return n;
    }

    void Sembrar() {
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', ' Matriz Centro ', 'CHI'), ('3', 'Delicias ', 'CHI'), ('9', 'Juárez', 'JRZ');"
            "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, "
            "es_verificador) VALUES "
            "('     40', 'ramirez cruz  ', 'sofia ', 1, 0, 1), ('     41', 'HERNANDEZ', 'JORGE', "
            "3, 0, 1),"
            "('     42', 'HERNANDEZ', ' ANA', 1, 0, 1), ('    101', 'ABREGO', 'JUAN', 1, 1, 0),"
            "('     50', 'AAA', 'OTRO CENTRO', 9, 0, 1);"
            "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES (1, 'LOPEZ MARTINEZ ROSA  '),"
            "(2, 'NUÑEZ ORTIZ ELENA'), (3, 'RUIZ DIAZ CARLOS'), (4, 'GOMEZ SOTO ANA'), (5, 'SOTO "
            "LUNA LUIS'),"
            "(6, 'DE JUAREZ PEDRO'), (7, 'RECHAZADO DE ANTES');"
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Fecha_recepcion, "
            "Sucursal, "
            "estado_actual, Relacion) VALUES "
            "(9878, 3, '2024-03-06 09:00:00.000', '1', 'Recibida', NULL),"
            "(9876, 1, '2024-03-05 10:15:00.000', '1', 'Recibida', NULL),"
            "(9877, 2, '2024-03-05 12:00:00.000', '3', 'Autorizada', NULL),"
            "(9879, 4, '2024-03-07 16:40:00.000', '3', 'Recibida', NULL),"
            "(9880, 5, '2024-03-08 08:05:00.000', '1', 'Entregada', NULL),"
            "(9881, 6, '2024-03-05 10:00:00.000', '9', 'Recibida', NULL),"
            "(9882, 7, '2024-03-01 10:00:00.000', '1', 'Rechazada', NULL),"
            "(9883, 1, '2024-02-01 10:00:00.000', '1', 'Entregada', 100);"
            "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
            "verificador, "
            "elaborada_por, fecha_entrega) VALUES (124, 'JRZ', '     50', '     50', '2024-01-01 "
            "09:00:00.000');"));
    }

  private slots:
    void initTestCase() {
        qputenv("HOME", casa.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", casa.filePath(QStringLiteral("config")).toUtf8());
    }

    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        http = std::make_unique<ServidorHttpPrueba>();
        http->respuestas = {RespuestaPdf(CuerpoPdf("relacion"))};
        Global::Ajustes.servidorReportes = http->servidor();
        Global::ClavePersona = QString();
        Global::NumeroRelacion = 0;
        Global::TipoReporte = 0;
        QDir(casa.filePath(QStringLiteral("Documents"))).removeRecursively();
    }

    void cleanup() {
        http.reset();
        servicios.reset();
        base.reset();
    }

    void ventanaYControles() {
        Sembrar();
        auto f = Abrir();
        QCOMPARE(f->windowTitle(), QStringLiteral("Relaciones de Verificación"));
        QCOMPARE(f->Frame2->title(), QStringLiteral("Solicitudes Pendientes:"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Impresión de Relaciones:"));
        QCOMPARE(f->SkinLabel1->text(), QStringLiteral("Verificador"));
        QCOMPARE(f->SkinLabel2->text(), QStringLiteral("Fecha Relación"));
        QCOMPARE(f->SkinLabel4->text(), QStringLiteral("Relaciones del"));
        QCOMPARE(f->SkinLabel3->text(), QStringLiteral("Relaciones al"));
        QCOMPARE(f->CmdGuardar->text(), QStringLiteral("&Guardar"));
        QCOMPARE(f->CmdConsultar->text(), QStringLiteral("&Consultar"));
        QCOMPARE(f->iRelaciones->toolTip(), QStringLiteral("Doble Click para Imprimir Relación"));
        QVERIFY(!f->CmdGuardar->isEnabled());
        QVERIFY(!f->CmbVerificadores->isEditable());
        QVERIFY(!(f->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
        const QDate hoy = QDate::currentDate();
        QCOMPARE(f->DtpFecha->fecha(), hoy);
        QVERIFY(f->DtpFecha->isReadOnly());
        QCOMPARE(f->DtpFecha1->fecha(), hoy.addDays(-5));
        QCOMPARE(f->DtpFecha2->fecha(), hoy);
        QCOMPARE(QApplication::focusWidget(), f->CmbVerificadores);
        // The batch list waits for "&Consultar".
        QCOMPARE(f->iRelaciones->numeroFilas(), 0);
        QCOMPARE(f->iRelaciones->numeroColumnas(), 0);
        QVERIFY(f->findChild<QComboBox*>(QStringLiteral("CmbVerificadores")));
        QVERIFY(f->findChild<Rejilla*>(QStringLiteral("ISolicitudes")));
        QVERIFY(f->findChild<Rejilla*>(QStringLiteral("iRelaciones")));
        QVERIFY(f->findChild<SelectorFecha*>(QStringLiteral("DtpFecha1")));
    }

    void losVerificadoresDelCentroPorApellidos() {
        Sembrar();
        auto f = Abrir();
        QCOMPARE(Textos(f->CmbVerificadores),
                 (QStringList{"HERNANDEZ ANA", "HERNANDEZ JORGE", "RAMIREZ CRUZ SOFIA"}));
        QList<int> datos;
        for (int i = 0; i < f->CmbVerificadores->count(); ++i)
            datos << f->CmbVerificadores->itemData(i).toInt();
        QCOMPARE(datos, (QList<int>{42, 41, 40}));
        QCOMPARE(f->CmbVerificadores->currentIndex(), -1);
        QCOMPARE(
            base->enviadas.value(0),
            QStringLiteral(
                "SELECT p.persona,p.apellidos,p.nombres from personal p  JOIN  sucursales s on "
                "s.sucursal=p.sucursal  WHERE s.centro_distribucion='CHI'  AND   "
                "p.es_verificador=1  ORDER BY 2,3  "));
        QCOMPARE(base->enviadas.value(1), Pendientes(QStringLiteral("CHI")));
        QCOMPARE(base->enviadas.size(), 2);
    }

    void elegirVerificadorBuscaSuClaveYHabilitaGuardar() {
        Sembrar();
        auto f = Abrir();
        base->limpiar();
        // Leaving the list with nothing chosen looks nothing up.
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Tab);
        QVERIFY(base->enviadas.isEmpty());
        QVERIFY(!f->CmdGuardar->isEnabled());

        ElegirVerificador(f.get(), 1);
        QCOMPARE(base->enviadas,
                 QStringList{QStringLiteral("SELECT persona FROM personal WHERE Persona=41 ")});
        QCOMPARE(f->clavePersona(), QStringLiteral("     41"));
        QVERIFY(f->CmdGuardar->isEnabled());
    }

    void unVerificadorQueYaNoEstaNoHabilitaGuardar() {
        Sembrar();
        auto f = Abrir();
        base->sqlite(QStringLiteral("DELETE FROM personal WHERE persona = '     42'"));
        ElegirVerificador(f.get(), 0);
        QVERIFY(!f->CmdGuardar->isEnabled());
        QCOMPARE(f->clavePersona(), QStringLiteral("       "));
    }

    void lasPendientesDelCentroSinRelacionNiRechazo() {
        Sembrar();
        auto f = Abrir();
        Rejilla* g = f->ISolicitudes;
        QCOMPARE(g->numeroColumnas(), 5);
        const QStringList titulos = {"Solicitud", "Sucursal", "Fecha Recepcion", "Cliente",
                                     "Agregar"};
        const QList<int> anchos = {70, 150, 90, 200, 50};
        for (int c = 1; c <= 5; ++c) {
            QCOMPARE(g->tituloColumna(c), titulos[c - 1]);
            // The design's width grown with the font, never narrower than the title.
            QCOMPARE(g->anchoColumna(c), qMax(PixelesDiseno(anchos[c - 1]), g->anchoTitulo(c)));
        }
        QCOMPARE(g->tipoColumna(5), TipoCelda::Casilla);
        QCOMPARE(Columna(g, 1), (QStringList{"9876", "9877", "9878", "9879", "9880"}));
        QCOMPARE(Columna(g, 2), (QStringList{"Matriz Centro", "Delicias", "Matriz Centro",
                                             "Delicias", "Matriz Centro"}));
        QCOMPARE(Columna(g, 3), (QStringList{"05/03/2024", "05/03/2024", "06/03/2024", "07/03/2024",
                                             "08/03/2024"}));
        QCOMPARE(Columna(g, 4),
                 (QStringList{"LOPEZ MARTINEZ ROSA", "NUÑEZ ORTIZ ELENA", "RUIZ DIAZ CARLOS",
                              "GOMEZ SOTO ANA", "SOTO LUNA LUIS"}));
        for (int fila = 1; fila <= 5; ++fila) QVERIFY(!CeldaMarcada(g->valor(fila, 5)));
        QCOMPARE(f->contadorFilas(), 5.0);
        const auto fondo = [g](int fila) {
            return g->model()
                ->data(g->model()->index(fila - 1, 0), Qt::BackgroundRole)
                .value<QColor>();
        };
        QCOMPARE(fondo(1), QColor(255, 255, 200));
        QCOMPARE(fondo(2), QColor(255, 255, 255));
        QCOMPARE(fondo(3), QColor(255, 255, 200));
    }

    void sinPendientesQuedanLasCincoColumnas() {
        Global::CentroDistribucion = QStringLiteral("MTY");
        Sembrar();
        auto f = Abrir();
        QCOMPARE(f->ISolicitudes->numeroFilas(), 0);
        QCOMPARE(f->ISolicitudes->numeroColumnas(), 5);
        QCOMPARE(f->ISolicitudes->tituloColumna(5), QStringLiteral("Agregar"));
        QCOMPARE(f->contadorFilas(), 0.0);
        QCOMPARE(f->CmbVerificadores->count(), 0);
    }

    void soloLaCasillaAgregarSeEdita() {
        Sembrar();
        auto f = Abrir();
        Rejilla* g = f->ISolicitudes;
        DobleClic(g->viewport(), Celda(g, 1, 2));
        QVERIFY(!g->editando());
        g->ponerCeldaActual(2, 4);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_F2);
        QVERIFY(!g->editando());
        QTest::keyClick(g, Qt::Key_A);
        QVERIFY(!g->editando());
        DobleClic(g->viewport(), Celda(g, 3, 1));
        QVERIFY(!g->editando());
        QCOMPARE(Columna(g, 1), (QStringList{"9876", "9877", "9878", "9879", "9880"}));
        QCOMPARE(g->texto(2, 4), QStringLiteral("NUÑEZ ORTIZ ELENA"));

        Clic(g, 2, 5);
        QCOMPARE(g->valor(2, 5).toInt(), 1);
        Clic(g, 2, 5);
        QVERIFY(!CeldaMarcada(g->valor(2, 5)));
        g->ponerCeldaActual(4, 5);
        QTest::keyClick(g, Qt::Key_Space);
        QCOMPARE(g->valor(4, 5).toInt(), 1);
    }

    void guardarTresDeCincoEnUnaRelacion() {
        Sembrar();
        auto f = Abrir();
        ElegirVerificador(f.get(), 0);
        Rejilla* g = f->ISolicitudes;
        Clic(g, 1, 5);
        Clic(g, 3, 5);
        Clic(g, 4, 5);
        base->limpiar();

        QList<QList<QColor>> colores;
        int filasAlAvisar = 0;
        bool guardarAlAvisar = false;
        servicios->alMostrarMensaje = [&](const MensajeMostrado& m) {
            if (m.icono != IconoMensaje::Informacion) return;
            filasAlAvisar = g->numeroFilas();
            guardarAlAvisar = f->CmdGuardar->isEnabled();
            for (int fila = 1; fila <= g->numeroFilas(); ++fila) {
                QList<QColor> c;
                for (int col = 1; col <= 5; ++col) c << g->colorFondo(fila, col);
                colores << c;
            }
        };
        QString etiquetaVisor;
        servicios->alMostrarModal = [&](QDialog& d) {
            auto* visor = qobject_cast<FrmReporte*>(&d);
            QVERIFY(visor);
            etiquetaVisor = visor->LblURL->text();
            QTRY_VERIFY_WITH_TIMEOUT(!d.isVisible(), 15000);
        };
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);

        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].texto,
                 QStringLiteral("Se Dispone a Generar una Relación de Verificación, Esta Seguro?"));
        QCOMPARE(servicios->preguntas[0].titulo, QStringLiteral("Alta Verificación"));
        QCOMPARE(
            base->enviadas,
            (QStringList{Encabezado(QStringLiteral("     42")),
                         QStringLiteral("EXEC REGRESA_FOLIO @Nfolio=? OUTPUT"), Linea(125, 9876),
                         Asignar(125, 9876), Linea(125, 9878), Asignar(125, 9878), Linea(125, 9879),
                         Asignar(125, 9879), Pendientes(QStringLiteral("CHI"))}));
        QCOMPARE(Linea(125, 9876),
                 QStringLiteral("INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( "
                                "Relacion,Solicitud,tiene_cita) VALUES( 125,9876,1 )"));
        QCOMPARE(Asignar(125, 9876),
                 QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET "
                                "Relacion =125 WHERE Solicitud = 9876 AND Relacion IS NULL "
                                "AND estado_actual<>'Rechazada'"));

        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT relacion, centro_distribucion, verificador, elaborada_por "
                     "FROM norv.Relaciones_Solicitudes_credito WHERE relacion > 124")),
                 QStringList{QStringLiteral("125|CHI|     42|     42")});
        QCOMPARE(
            base->filas(QStringLiteral("SELECT Relacion, Solicitud, tiene_cita FROM "
                                       "norv.detalles_Relaciones_Solicitudes ORDER BY Solicitud")),
            (QStringList{"125|9876|1", "125|9878|1", "125|9879|1"}));
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT solicitud, Relacion FROM norv.Solicitudes_cliente_Nuevo "
                     "WHERE solicitud BETWEEN 9876 AND 9880 ORDER BY 1")),
                 (QStringList{"9876|125", "9877|NULL", "9878|125", "9879|125", "9880|NULL"}));

        // While the message was up the assigned rows showed green, the others kept their own.
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Relación de Solicitudes Generada 125"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Asignación de Solicitudes"));
        QCOMPARE(filasAlAvisar, 5);
        QVERIFY(guardarAlAvisar);
        QCOMPARE(colores.size(), 5);
        for (int fila : {0, 2, 3})
            for (const QColor& c : colores[fila]) QCOMPARE(c, Verde);
        for (int fila : {1, 4})
            for (const QColor& c : colores[fila]) QVERIFY(!c.isValid());

        QVERIFY(!f->CmdGuardar->isEnabled());
        QCOMPARE(Columna(g, 1), (QStringList{"9877", "9880"}));
        QCOMPARE(f->contadorFilas(), 2.0);
        QCOMPARE(Global::NumeroRelacion, 125.0);
        QCOMPARE(Global::TipoReporte, short(1));

        // Then the viewer fetched the batch's report and opened it.
        QCOMPARE(Dialogos("FrmReporte"), 1);
        QVERIFY(etiquetaVisor.endsWith(QStringLiteral("&nRelacion=125&rs:Format=PDF")));
        QCOMPARE(http->peticiones.size(), 1);
        QCOMPARE(http->peticiones[0].ruta,
                 QByteArray("/reportserver?/Credito/"
                            "relaciones_solicitudes_credito&rs:command=render&nRelacion=125&"
                            "rs:Format=PDF"));
        QCOMPARE(servicios->direcciones, QStringList{Pdf(125)});
    }

    // Enter in the list, the grid and the dates saves nothing; another verifier chosen and
    // Alt+G pressed at once makes the batch his; Enter on a batch of the list prints it.
    void conElTeclado() {
        Sembrar();
        auto f = Abrir();
        ElegirVerificador(f.get(), 0);
        Rejilla* g = f->ISolicitudes;
        g->setFocus();
        g->ponerCeldaActual(2, 5);
        QTest::keyClick(g, Qt::Key_Space);
        base->limpiar();
        for (QWidget* w :
             {static_cast<QWidget*>(f->CmbVerificadores), static_cast<QWidget*>(g),
              static_cast<QWidget*>(f->DtpFecha1), static_cast<QWidget*>(f->DtpFecha2)}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
        }
        QVERIFY(servicios->preguntas.isEmpty() && servicios->dialogos.isEmpty());
        QVERIFY2(base->enviadas.filter(QStringLiteral("INSERT")).isEmpty(),
                 qPrintable(base->enviadas.join(QLatin1Char('\n'))));

        f->CmbVerificadores->setFocus();
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Down);
        EsperarVisor();
        servicios->respuestas.enqueue(true);
        QTest::keyClick(f->CmbVerificadores, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(f->clavePersona(), QStringLiteral("     41"));
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT relacion, verificador FROM norv.Relaciones_Solicitudes_credito "
                     "WHERE relacion > 124")),
                 QStringList{QStringLiteral("125|     41")});
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT Relacion, Solicitud FROM norv.detalles_Relaciones_Solicitudes")),
                 QStringList{QStringLiteral("125|9877")});

        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        f->DtpFecha1->ponerFecha(QDate::currentDate().addDays(-1));
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(f->iRelaciones->numeroFilas(), 1);
        f->iRelaciones->setFocus();
        f->iRelaciones->ponerCeldaActual(1, 2);
        QTest::keyClick(f->iRelaciones, Qt::Key_Return);
        QCOMPARE(Dialogos("FrmReporte"), 2);
        QCOMPARE(Global::NumeroRelacion, 125.0);
    }

    void contestarNoNoEnviaNada() {
        Sembrar();
        auto f = Abrir();
        ElegirVerificador(f.get(), 2);
        Clic(f->ISolicitudes, 1, 5);
        base->limpiar();
        servicios->respuestas.enqueue(false);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(servicios->preguntas.size(), 1);
        QVERIFY(base->enviadas.isEmpty());
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(servicios->dialogos.isEmpty());
        QVERIFY(f->CmdGuardar->isEnabled());
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.Relaciones_Solicitudes_credito"))
                .toInt(),
            1);
        QCOMPARE(f->ISolicitudes->valor(1, 5).toInt(), 1);
    }

    void sinFolioNoQuedaNadaYSePuedeRepetir() {
        Sembrar();
        // The server takes the header but answers no number for it.
        base->sqlite(QStringLiteral(
            "CREATE TRIGGER norv.sin_folio BEFORE INSERT ON Relaciones_Solicitudes_credito "
            "BEGIN SELECT RAISE(IGNORE); END;"));
        auto f = Abrir();
        ElegirVerificador(f.get(), 2);
        Clic(f->ISolicitudes, 2, 5);
        Clic(f->ISolicitudes, 5, 5);
        base->limpiar();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);

        QCOMPARE(base->enviadas,
                 (QStringList{Encabezado(QStringLiteral("     40")),
                              QStringLiteral("EXEC REGRESA_FOLIO @Nfolio=? OUTPUT")}));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Error Grave, sin folio de inserción, repita la operación"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(Global::NumeroRelacion, 0.0);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.Relaciones_Solicitudes_credito"))
                .toInt(),
            1);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes"))
                .toInt(),
            0);
        QCOMPARE(
            base->valor(QStringLiteral(
                            "SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo WHERE Relacion "
                            "IS NOT NULL AND solicitud <> 9883"))
                .toInt(),
            0);
        QVERIFY(f->CmdGuardar->isEnabled());
        QCOMPARE(f->ISolicitudes->numeroFilas(), 5);
        QCOMPARE(f->ISolicitudes->valor(2, 5).toInt(), 1);
        QCOMPARE(f->ISolicitudes->valor(5, 5).toInt(), 1);
        QVERIFY(servicios->dialogos.isEmpty());

        // Once the server gives numbers again, "&Guardar" once more makes the batch.
        base->sqlite(QStringLiteral("DROP TRIGGER norv.sin_folio"));
        servicios->limpiar();
        EsperarVisor();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(servicios->textos(),
                 QStringList{QStringLiteral("Relación de Solicitudes Generada 125")});
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT Relacion, Solicitud FROM norv.detalles_Relaciones_Solicitudes "
                     "ORDER BY Solicitud")),
                 (QStringList{"125|9877", "125|9880"}));
        QCOMPARE(base->filas(
                     QStringLiteral("SELECT verificador FROM norv.Relaciones_Solicitudes_credito "
                                    "WHERE relacion = 125")),
                 QStringList{QStringLiteral("     40")});
        QCOMPARE(Dialogos("FrmReporte"), 1);
    }

    void unaSentenciaFallidaDeshaceTodaLaRelacion() {
        Sembrar();
        base->sqlite(QStringLiteral(
            "CREATE TRIGGER norv.bloqueo BEFORE INSERT ON detalles_Relaciones_Solicitudes "
            "WHEN NEW.Solicitud = 9878 BEGIN SELECT RAISE(ABORT, 'solicitud 9878 bloqueada'); "
            "END;"));
        auto f = Abrir();
        ElegirVerificador(f.get(), 0);
        Rejilla* g = f->ISolicitudes;
        Clic(g, 1, 5);
        Clic(g, 3, 5);
        Clic(g, 4, 5);
        base->limpiar();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);

        // Up to the failing line, in order; then nothing more.
        QCOMPARE(base->enviadas,
                 (QStringList{Encabezado(QStringLiteral("     42")),
                              QStringLiteral("EXEC REGRESA_FOLIO @Nfolio=? OUTPUT"),
                              Linea(125, 9876), Asignar(125, 9876), Linea(125, 9878)}));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY2(servicios->mensajes[0].texto.contains(QStringLiteral("solicitud 9878 bloqueada")),
                 qPrintable(servicios->mensajes[0].texto));
        // No header without its lines, no application attached to a batch that is not there.
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.Relaciones_Solicitudes_credito"))
                .toInt(),
            1);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes"))
                .toInt(),
            0);
        QCOMPARE(base->valor(QStringLiteral(
                     "SELECT Relacion FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = 9876")),
                 QVariant());
        QCOMPARE(Global::NumeroRelacion, 0.0);
        // The window is as the user left it: the same rows, ticked, none painted.
        QVERIFY(f->CmdGuardar->isEnabled());
        QCOMPARE(Columna(g, 1), (QStringList{"9876", "9877", "9878", "9879", "9880"}));
        for (int fila : {1, 3, 4}) QCOMPARE(g->valor(fila, 5).toInt(), 1);
        for (int fila = 1; fila <= 5; ++fila)
            for (int col = 1; col <= 5; ++col) QVERIFY(!g->colorFondo(fila, col).isValid());
        QVERIFY(servicios->dialogos.isEmpty());

        base->sqlite(QStringLiteral("DROP TRIGGER norv.bloqueo"));
        servicios->limpiar();
        EsperarVisor();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(servicios->textos(),
                 QStringList{QStringLiteral("Relación de Solicitudes Generada 125")});
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT solicitud, Relacion FROM norv.Solicitudes_cliente_Nuevo "
                     "WHERE solicitud BETWEEN 9876 AND 9880 ORDER BY 1")),
                 (QStringList{"9876|125", "9877|NULL", "9878|125", "9879|125", "9880|NULL"}));
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes"))
                .toInt(),
            3);
    }

    // One step: "elegir:n", "marcar:fila", "Tab", "Enter", "alt:X", "si" (the next answer);
    // "verificador:texto", "relaciones:relación|verificador/..." (those made), "mensajes:a/b",
    // "clave:texto" (Global's key); "global:clave" (what another window leaves in it).
    void Paso(FrmRelaciones* f, const QString& p) {
        const QString o = p.section(u':', 0, 0), r = p.section(u':', 1);
        QWidget* foco = QApplication::focusWidget();
        if (o == u"elegir") ElegirVerificador(f, r.toInt());
        if (o == u"marcar") Clic(f->ISolicitudes, r.toInt(), 5);
        if (o == u"Tab") QTest::keyClick(foco, Qt::Key_Tab);
        if (o == u"Enter") QTest::keyClick(foco, Qt::Key_Return);
        if (o == u"alt") QTest::keyClick(foco, Qt::Key(r.at(0).unicode()), Qt::AltModifier);
        if (o == u"si") servicios->respuestas.enqueue(true);
        if (o == u"verificador") QTRY_COMPARE(f->CmbVerificadores->currentText(), r);
        if (o == u"relaciones") QCOMPARE(base->filas(Nuevas).join(u'/'), r);
        if (o == u"mensajes") QCOMPARE(servicios->textos().join(u'/'), r);
        if (o == u"clave") QCOMPARE(Global::ClavePersona.texto(), r);
        if (o == u"global") Global::ClavePersona = r;
    }

    // Sequences typed with no pauses: name, then its steps (see Paso). "alAbrir" first: "h" and
    // Tab are typed at the window in front while this one loads its long verifier list, as
    // right after Alt+R.
    void secuenciasDelTeclado_data() {
        QTest::addColumn<QString>("pasos");
        const QString tabla = QStringLiteral(R"(
sin marcas, Tab y Enter | elegir:0;Tab;si;Enter;relaciones:;mensajes:No hay solicitudes marcadas en "Agregar": marque las que se entregan al verificador y guarde de nuevo.
el verificador es de la ventana | global:    101;elegir:1;clave:    101;marcar:2;global:    999;si;alt:G;relaciones:125|     41;mensajes:Relación de Solicitudes Generada 125
Alt+R, h y Tab mientras carga | alAbrir;verificador:HERNANDEZ ANA;marcar:1;si;alt:G;relaciones:125|     42
)");
        for (const QString& fila : tabla.trimmed().split(u'\n'))
            QTest::newRow(qPrintable(fila.section(QStringLiteral(" | "), 0, 0)))
                << fila.section(QStringLiteral(" | "), 1);
    }

    void secuenciasDelTeclado() {
        QFETCH(QString, pasos);
        Sembrar();
        EsperarVisor();
        QStringList lista = pasos.split(u';');
        QLineEdit delante;
        int tecleo = -1;
        if (lista.first() == u"alAbrir") {
            lista.removeFirst();
            base->sqlite(QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                "INSERT INTO personal SELECT printf('%7d', 1000 + i), 'V', i, 1, 0, 1, NULL FROM "
                "n"));
            delante.show();
            QVERIFY(QTest::qWaitForWindowActive(&delante));
            tecleo = Global::Conexion.agregarObservador([](const QString& sql) {
                if (!sql.startsWith(QStringLiteral("SELECT p.persona"))) return;
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_H);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            });
        }
        auto f = Abrir();
        Global::Conexion.quitarObservador(tecleo);
        QCOMPARE(delante.text(), QString());
        for (const QString& p : lista)
            if (Paso(f.get(), p), QTest::currentTestFailed()) break;
    }

    void laListaDeRelacionesPorFechaDeEntrega() {
        Sembrar();
        base->sqlite(
            QStringLiteral(
                "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
                "verificador, "
                "elaborada_por, fecha_entrega, fecha_recepcion_real, estado_actual) VALUES "
                "(131, 'CHI', '     41', '     41', '%1', '%2', 'Recibida'),"
                "(130, 'CHI', '     40', '     40', '%3', NULL, 'Entregada'),"
                "(132, 'CHI', '     40', '     40', '%4', NULL, 'Entregada'),"
                "(133, 'CHI', '     42', '     42', '%5', NULL, 'Entregada'),"
                "(134, 'JRZ', '     50', '     50', '%6', NULL, 'Entregada');")
                .arg(Dia(3, "11:00:00.000"), Dia(1, "17:30:00.000"), Dia(5, "00:00:00.000"),
                     Dia(6, "23:59:00.000"), Dia(0, "23:59:59.000"), Dia(0, "10:00:00.000")));
        auto f = Abrir();
        QCOMPARE(f->Frame1->title(), QStringLiteral("Impresión de Relaciones:"));
        base->limpiar();
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);

        const QString desde = QDate::currentDate().addDays(-5).toString(QStringLiteral("yyyyMMdd"));
        const QString hasta = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        QCOMPARE(base->enviadas,
                 QStringList{QStringLiteral(
                                 " SELECT r.relacion 'Relación',  fecha_entrega 'Entrega',  "
                                 "r.fecha_recepcion_real 'Recepción',  erp_oxa.dbo.nombre_persona "
                                 "(verificador) 'Verificador',  r.estado_actual 'Estado Relación'  "
                                 "FROM norv.dbo.Relaciones_Solicitudes_credito r  WHERE "
                                 "centro_distribucion='CHI'   AND  Fecha_entrega BETWEEN  "
                                 "erp_oxa.dbo.fecha('") +
                             desde + QStringLiteral("','Inicio') and erp_oxa.dbo.fecha('") + hasta +
                             QStringLiteral("','Final')  order by relacion")});
        Rejilla* g = f->iRelaciones;
        QCOMPARE(g->numeroColumnas(), 5);
        const QStringList titulos = {"Relación", "Entrega", "Recepción", "Verificador",
                                     "Estado Relación"};
        for (int c = 1; c <= 5; ++c) QCOMPARE(g->tituloColumna(c), titulos[c - 1]);
        QCOMPARE(Columna(g, 1), (QStringList{"130", "131", "133"}));
        QCOMPARE(Columna(g, 5), (QStringList{"Entregada", "Recibida", "Entregada"}));
        QVERIFY(g->valor(1, 3).isNull());
        QCOMPARE(g->valor(2, 3).toDateTime(),
                 QDateTime(QDate::currentDate().addDays(-1), QTime(17, 30)));
        QCOMPARE(g->valor(2, 2).toDateTime(),
                 QDateTime(QDate::currentDate().addDays(-3), QTime(11, 0)));
        QCOMPARE(g->valor(2, 4), base->valor(QStringLiteral("SELECT nombre_persona('     41')")));
        QVERIFY(!g->texto(2, 4).isEmpty());
        QCOMPARE(f->Frame1->title(), QStringLiteral("Impresión de Relaciones: Localizadas:3"));
        QVERIFY(g->esSoloLectura());
        const auto fondo = [g](int fila) {
            return g->model()
                ->data(g->model()->index(fila - 1, 0), Qt::BackgroundRole)
                .value<QColor>();
        };
        QCOMPARE(fondo(1), QColor(255, 255, 200));
        QCOMPARE(fondo(2), QColor(255, 255, 255));

        // A wider range brings the older batch; the other centre's never comes.
        f->DtpFecha1->ponerFecha(QDate::currentDate().addDays(-30));
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(Columna(g, 1), (QStringList{"130", "131", "132", "133"}));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Impresión de Relaciones: Localizadas:4"));

        // A first date after the last finds nothing.
        f->DtpFecha1->ponerFecha(QDate::currentDate().addDays(1));
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(g->numeroFilas(), 0);
        QCOMPARE(f->Frame1->title(), QStringLiteral("Impresión de Relaciones: Localizadas:0"));
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void dobleClicEnUnaRelacionLaImprime() {
        Sembrar();
        base->sqlite(
            QStringLiteral(
                "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
                "verificador, elaborada_por, fecha_entrega, estado_actual) VALUES "
                "(130, 'CHI', '     40', '     40', '%1', 'Entregada'),"
                "(131, 'CHI', '     41', '     41', '%1', 'Recibida');")
                .arg(Dia(1, "09:00:00.000")));
        auto f = Abrir();
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        Rejilla* g = f->iRelaciones;
        QCOMPARE(g->numeroFilas(), 2);

        // The header row prints nothing.
        const QPoint titulo(g->horizontalHeader()->sectionViewportPosition(0) + 5,
                            g->horizontalHeader()->height() / 2);
        DobleClic(g->horizontalHeader()->viewport(), titulo);
        QVERIFY(servicios->dialogos.isEmpty());

        EsperarVisor();
        Global::TipoReporte = 0;
        DobleClic(g->viewport(), Celda(g, 2, 4));
        QVERIFY(!g->editando());
        QCOMPARE(Dialogos("FrmReporte"), 1);
        QCOMPARE(Global::NumeroRelacion, 131.0);
        QCOMPARE(Global::TipoReporte, short(1));
        QCOMPARE(http->peticiones.size(), 1);
        QVERIFY(http->peticiones[0].ruta.endsWith("&nRelacion=131&rs:Format=PDF"));
        QCOMPARE(servicios->direcciones, QStringList{Pdf(131)});
        // Any column of the row does.
        DobleClic(g->viewport(), Celda(g, 1, 1));
        QCOMPARE(Dialogos("FrmReporte"), 2);
        QVERIFY(http->peticiones[1].ruta.endsWith("&nRelacion=130&rs:Format=PDF"));
    }

    // As a new user tries it on the demo data: a verifier, two applications, the batch, its
    // report; then the list finds it and prints it again.
    void recorridoSobreLaDemostracion() {
        demo::SembrarDemo(base->motorDirecto());
        Global::CentroDistribucion = demo::kCentro;
        auto f = Abrir();
        QCOMPARE(Textos(f->CmbVerificadores),
                 (QStringList{"CASTRO NAVA RAUL", "HERNANDEZ DIAZ JORGE", "RAMIREZ CRUZ SOFIA"}));
        const int pendientes = f->ISolicitudes->numeroFilas();
        QVERIFY2(pendientes > 30, qPrintable(QString::number(pendientes)));
        QCOMPARE(Columna(f->ISolicitudes, 1).mid(0, 2), (QStringList{"1", "2"}));

        f->CmbVerificadores->setFocus();
        QTRY_VERIFY(f->CmbVerificadores->hasFocus());
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Down);
        // Ticking with the mouse leaves the list, which enables "&Guardar".
        Clic(f->ISolicitudes, 1, 5);
        Clic(f->ISolicitudes, 2, 5);
        QVERIFY(f->CmdGuardar->isEnabled());
        QCOMPARE(f->ISolicitudes->valor(1, 5).toInt(), 1);
        QCOMPARE(f->ISolicitudes->valor(2, 5).toInt(), 1);

        // After the demo's batches.
        const int nueva = base->valor(QStringLiteral("SELECT max(relacion) + 1 FROM "
                                                     "norv.Relaciones_Solicitudes_credito"))
                              .toInt();
        const QString numero = QString::number(nueva);
        EsperarVisor();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(servicios->textos(),
                 QStringList{QStringLiteral("Relación de Solicitudes Generada ") + numero});
        QCOMPARE(f->ISolicitudes->numeroFilas(), pendientes - 2);
        QCOMPARE(http->peticiones.size(), 1);
        QVERIFY(http->peticiones[0].ruta.contains(
            ("relaciones_solicitudes_credito&rs:command=render&nRelacion=" + numero + "&")
                .toUtf8()));
        QCOMPARE(servicios->direcciones, QStringList{Pdf(nueva)});
        QVERIFY(QFile::exists(Pdf(nueva)));
        QCOMPARE(
            base->filas(
                QStringLiteral("SELECT verificador FROM norv.Relaciones_Solicitudes_credito WHERE "
                               "relacion = ") +
                numero),
            QStringList{QStringLiteral("    203")});

        // The batches of the last five days: the sample's, four of the office's, the new one.
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(Columna(f->iRelaciones, 1), (QStringList{"1", "11", "12", "13", "14", numero}));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Impresión de Relaciones: Localizadas:6"));
        DobleClic(f->iRelaciones->viewport(), Celda(f->iRelaciones, 6, 2));
        QCOMPARE(http->peticiones.size(), 2);
        QVERIFY(http->peticiones[1].ruta.contains(("&nRelacion=" + numero + "&").toUtf8()));
        QCOMPARE(servicios->direcciones, (QStringList{Pdf(nueva), Pdf(nueva)}));
    }
};

QTEST_MAIN(FrmRelacionesTest)
#include "frm_relaciones_test.moc"
