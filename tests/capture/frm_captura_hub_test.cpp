// The capture window as a hub: its lists, its grid, its buttons and the question on closing.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "base_prueba.h"
#include "capture/frm_captura.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/rejilla.h"
#include "ui/ventana.h"
#include "ventana_prueba.h"

class FrmCapturaHubTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

    std::unique_ptr<FrmCaptura> Abrir() { return AbrirVentana<FrmCaptura>(); }

    static QStringList Textos(QComboBox* c) {
        QStringList r;
        for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
        return r;
    }
    static QList<int> Datos(QComboBox* c) {
        QList<int> r;
        for (int i = 0; i < c->count(); ++i) r << c->itemData(i).toInt();
        return r;
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', '  Matriz centro  ', 'CHI'), ('15', 'aldama', 'CHI'), ('3', 'Delicias ', 'CHI'),"
            "('9', 'Juárez', 'JRZ');"
            "INSERT INTO norv.Promociones (Promocion, Nombre_promocion, Tipo_venta) VALUES "
            "(4, 'sin intereses ', 4), (2, '  Abono chico', 4), (7, 'Contado', 1);"
            "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, "
            "es_verificador) VALUES "
            "('    101', 'perez  ', 'juan', 1, 1, 0), ('     22', 'ABREGO', 'ZOE', 15, 1, 0),"
            "('     23', 'ABREGO', 'ANA', 3, 1, 0), ('     40', 'VERIFICA', 'SOLO', 1, 0, 1),"
            "('     50', 'AAA', 'OTRO CENTRO', 9, 1, 0);"));
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void ventanaControlesYOrdenDeTabulacion() {
        auto f = Abrir();
        QCOMPARE(
            f->windowTitle(),
            QStringLiteral("Captura de Solicitudes para Verificación Versión 2.2 26 Sep. 2012"));
        QCOMPARE(QApplication::focusWidget(), f->TxtPaterno);
        QCOMPARE(f->LblFecha->text(), QStringLiteral("Fecha:"));
        const QList<QWidget*> orden = {
            f->TxtPaterno,     f->TxtMaterno,    f->TxtNombre,   f->TxtTelefono, f->TxtPaternoAval,
            f->TxtMaternoAval, f->TxtNombreAval, f->CmbSucursal, f->Combo1,      f->CmbPromociones,
            f->TxtDocumento,   f->TxtImporte,    f->CmdGuardar};
        for (int i = 1; i < orden.size(); ++i) {
            // A telephone of the wrong length keeps the keyboard in its box.
            if (orden[i - 1] == f->TxtTelefono) QTest::keyClicks(f->TxtTelefono, "6141234567890");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), orden[i]);
        }
        QCOMPARE(f->TxtPaterno->maxLength(), 30);
        QCOMPARE(f->TxtTelefono->maxLength(), 13);
        QCOMPARE(f->TxtPaternoAval->maxLength(), 20);
        QCOMPARE(f->TxtNombreAval->maxLength(), 50);
        QCOMPARE(f->TxtDocumento->maxLength(), 20);
        QCOMPARE(f->TxtImporte->maxLength(), 10);
        QCOMPARE(f->Frame2->title(), QStringLiteral("Solicitudes Ingresadas:"));
        QCOMPARE(f->CmdGuardar->text(), QStringLiteral("&Guardar"));
        QCOMPARE(f->CmdAsignacion->text(), QStringLiteral("&Relaciones"));
        QCOMPARE(f->CmdRecepcion->text(), QStringLiteral("R&ecepción"));
        QCOMPARE(f->CmdRechazadas->text(), QStringLiteral("Rechazos"));
        QCOMPARE(f->CmdReastrear->text(), QStringLiteral("&Rastrear"));
        QVERIFY(!f->CmdReastrear->isEnabled());
        QVERIFY(!f->Command1->isVisible());
        QVERIFY(!f->CmbSucursal->isEditable());
        QVERIFY(f->Combo1->isEditable());
        QVERIFY(!f->CmbPromociones->isEditable());
        QCOMPARE(f->findChild<QLabel*>("label")->text(), QStringLiteral("Teléfono Celular"));
    }

    void laRejillaEmpiezaVaciaConSusSieteColumnas() {
        auto f = Abrir();
        QCOMPARE(f->iSolicitudes->numeroFilas(), 0);
        const QStringList titulos = {"Solicitud",       "Sucursal",     "Cliente",
                                     "Nombre Cliente",  "Importe Sol.", "Vendedor",
                                     "Cliente Anterior"};
        QCOMPARE(f->iSolicitudes->numeroColumnas(), titulos.size());
        const QList<int> anchos = {80, 160, 60, 180, 80, 160, 60};
        // The design's widths grown with the font, never narrower than the title; as they add
        // up to more than the box, each gives back what its title does not need.
        QTRY_VERIFY(f->iSolicitudes->horizontalScrollBar()->maximum() == 0);
        for (int c = 1; c <= titulos.size(); ++c) {
            QCOMPARE(f->iSolicitudes->tituloColumna(c), titulos[c - 1]);
            const int ancho = f->iSolicitudes->anchoColumna(c);
            QVERIFY(ancho <= qMax(PixelesDiseno(anchos[c - 1]), f->iSolicitudes->anchoTitulo(c)));
            QVERIFY(ancho >= f->iSolicitudes->anchoNecesario(c));
        }
        QCOMPARE(f->iSolicitudes->toolTip(),
                 QStringLiteral("Doble Click para Eliminar la Solicitud"));
    }

    void lasTresListasSeLlenanDelCentro() {
        auto f = Abrir();
        // Ordered by the name as stored: the leading blanks of "  Matriz centro" sort first.
        QCOMPARE(Textos(f->CmbSucursal), (QStringList{"MATRIZ CENTRO", "ALDAMA", "DELICIAS"}));
        QCOMPARE(Datos(f->CmbSucursal), (QList<int>{1, 15, 3}));
        QCOMPARE(Textos(f->CmbPromociones), (QStringList{"ABONO CHICO", "SIN INTERESES"}));
        QCOMPARE(Datos(f->CmbPromociones), (QList<int>{2, 4}));
        QCOMPARE(Textos(f->Combo1), (QStringList{"ABREGO ANA", "ABREGO ZOE", "PEREZ JUAN"}));
        QCOMPARE(Datos(f->Combo1), (QList<int>{23, 22, 101}));
        QCOMPARE(f->CmbSucursal->currentIndex(), -1);
        QCOMPARE(f->CmbPromociones->currentIndex(), -1);
        QCOMPARE(f->Combo1->currentIndex(), -1);
        QCOMPARE(base->enviadas,
                 (QStringList{
                     "SELECT Sucursal,nombre_sucursal FROM sucursales where "
                     "centro_distribucion='CHI'  order by nombre_sucursal",
                     "SELECT Promocion, Nombre_promocion FROM NORV.dbo.Promociones WHERE "
                     "Tipo_venta= 4  order by nombre_promocion",
                     "SELECT p.persona,p.apellidos,p.nombres from personal p  JOIN  sucursales s "
                     "on s.sucursal=p.sucursal  WHERE s.centro_distribucion='CHI'  AND   "
                     "p.es_vendedor = 1  ORDER BY 2,3  ",
                     "select Version,cierra,envia_Email from norv.dbo.Programas_Version where "
                     "Programa = 2"}));
    }

    void sinCentroLasListasDeSucursalYVendedorQuedanVacias() {
        Global::CentroDistribucion.clear();
        auto f = Abrir();
        QCOMPARE(f->CmbSucursal->count(), 0);
        QCOMPARE(f->Combo1->count(), 0);
        QCOMPARE(f->CmbPromociones->count(), 2);
    }

    void lasListasSeEligenConLasFlechas() {
        auto f = Abrir();
        f->CmbSucursal->setFocus();
        QTest::keyClick(f->CmbSucursal, Qt::Key_Down);
        QCOMPARE(f->CmbSucursal->currentText(), QStringLiteral("MATRIZ CENTRO"));
        QTest::keyClick(f->CmbSucursal, Qt::Key_Down);
        QCOMPARE(f->CmbSucursal->currentText(), QStringLiteral("ALDAMA"));
    }

    void cerrarSinCambiosNoPreguntaYDesconecta() {
        auto f = Abrir();
        f->close();
        QVERIFY(servicios->preguntas.isEmpty());
        QVERIFY(!f->isVisible());
        QVERIFY(!Global::Conexion.abierta());
    }

    void cerrarTrasTeclearElPaternoPregunta() {
        auto f = Abrir();
        QTest::keyClicks(f->TxtPaterno, QStringLiteral("p"));
        QCOMPARE(f->TxtPaterno->text(), QStringLiteral("P"));
        QVERIFY(Global::CambiosPendientes);

        servicios->respuestas.enqueue(false);
        f->close();
        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].texto,
                 QStringLiteral("Se Dispone a Salir sin Guardar los Cambios, esta seguro?"));
        QCOMPARE(servicios->preguntas[0].titulo, QStringLiteral("Descartar Cambios"));
        QVERIFY(!servicios->preguntas[0].siPorDefecto);
        QVERIFY(f->isVisible());
        QCOMPARE(f->TxtPaterno->text(), QStringLiteral("P"));
        QVERIFY(Global::Conexion.abierta());

        servicios->respuestas.enqueue(true);
        f->close();
        QCOMPARE(servicios->preguntas.size(), 2);
        QVERIFY(!f->isVisible());
        QVERIFY(!Global::CambiosPendientes);
        QVERIFY(!Global::Conexion.abierta());
    }

    void teclearEnOtroCampoNoCuentaComoCambio() {
        auto f = Abrir();
        QTest::keyClicks(f->TxtMaterno, QStringLiteral("LOPEZ"));
        QVERIFY(!Global::CambiosPendientes);
        f->close();
        QVERIFY(servicios->preguntas.isEmpty());
    }

    void escapeNoCierraLaVentana() {
        auto f = Abrir();
        QTest::keyClick(f->TxtPaterno, Qt::Key_Escape);
        QVERIFY(f->isVisible());
    }

    void unErrorAlCargarSeMuestraYLaVentanaQueda() {
        base->sqlite(QStringLiteral("DROP TABLE norv.Promociones"));
        auto f = Abrir();
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.contains(QStringLiteral("Promociones"),
                                                       Qt::CaseInsensitive),
                 qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->isVisible());
        QCOMPARE(f->CmbSucursal->count(), 3);
    }

    void losBotonesAbrenSusVentanas() {
        auto f = Abrir();
        QVERIFY(!f->CmdReastrear->isEnabled());
        f->CmdAsignacion->click();
        f->CmdRecepcion->click();
        f->CmdRechazadas->click();
        QStringList clases;
        for (const DialogoMostrado& d : servicios->dialogos) clases << d.clase;
        QCOMPARE(clases, (QStringList{"FrmRelaciones", "FrmRecepcion", "FrmRechazos"}));
        QVERIFY(f->isVisible());
    }

    void elRastreoSeHabilitaDesdeLosAjustes() {
        Global::Ajustes.rastreoHabilitado = true;
        auto f = Abrir();
        QVERIFY(f->CmdReastrear->isEnabled());
        f->CmdReastrear->click();
        QCOMPARE(servicios->dialogos.size(), 1);
        QCOMPARE(servicios->dialogos[0].clase, QStringLiteral("FrmRastreo"));
    }

    void elBotonOcultoAbreElMapa() {
        auto f = Abrir();
        f->Command1->click();
        QCOMPARE(servicios->direcciones,
                 QStringList{QStringLiteral(
                     "http://maps.google.com/maps?f=q&hl=en&geocode=&q=28.6702%20-106.0802")});
    }
};

QTEST_MAIN(FrmCapturaHubTest)
#include "frm_captura_hub_test.moc"
