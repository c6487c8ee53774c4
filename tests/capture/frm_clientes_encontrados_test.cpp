// The possible-homonyms window driven with clicks and keys against the embedded engine.
#include "capture/frm_clientes_encontrados.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "base_prueba.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

const QString SqlClientes = QStringLiteral(
    "SELECT cliente 'Cliente',RFC 'RFC',nombre_cliente'Nombre Cliente',"
    "NORV.dbo.cliente_credito(cliente) 'Créditos',ERP_OXA.dbo.Domicilio_Cliente ( "
    "cliente)'Domicilio' "
    "FROM clientes WHERE Nombre_Cliente LIKE '%1'");

QString SqlVerificaciones(const QString& cliente) {
    return QStringLiteral(
               "SELECT  s.solicitud, dbo.fecha_corta(s.fecha_recepcion) 'F.Recibido', "
               "su.nombre_sucursal, ERP_OXA.dbo.Nombre_Persona( r.verificador)  AS Verificador, "
               "r.relacion, dbo.fecha_corta(r.fecha_entrega) 'F.Verificacion', "
               "dbo.fecha_Corta(r.fecha_recepcion_real) 'F.Respuesta', "
               "d.estado_actual 'Estado Solicitud', d.comentarios "
               "FROM    norv.dbo.Solicitudes_cliente_Nuevo s "
               "JOIN    ERP_OXA.dbo.Sucursales su         ON s.sucursal  = su.sucursal "
               "Left JOIN    norv.dbo.Detalles_Relaciones_Solicitudes d ON s.solicitud = "
               "d.solicitud  "
               "Left JOIN    norv.dbo.Relaciones_Solicitudes_Credito r  ON d.relacion  = "
               "r.relacion "
               "Where s.cliente = %1 ")
        .arg(cliente);
}

QRect Celda(Rejilla* r, int fila, int columna) {
    return r->visualRect(r->model()->index(fila - 1, columna - 1));
}

void Clic(Rejilla* r, int fila, int columna = 1) {
    QTest::mouseClick(r->viewport(), Qt::LeftButton, {}, Celda(r, fila, columna).center());
}

// The events of a real double-click: press, release, double-click, release.
void DobleClic(Rejilla* r, int fila, int columna = 3) {
    const QPoint punto = Celda(r, fila, columna).center();
    QTest::mousePress(r->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseRelease(r->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(r->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseRelease(r->viewport(), Qt::LeftButton, {}, punto);
}

// What the user reads on each row, cells joined by '|'.
QStringList Filas(Rejilla* r) {
    QStringList filas;
    for (int f = 1; f <= r->numeroFilas(); ++f) {
        QStringList celdas;
        for (int c = 1; c <= r->numeroColumnas(); ++c) celdas << r->texto(f, c);
        filas << celdas.join(QLatin1Char('|'));
    }
    return filas;
}

QStringList Ordenadas(QStringList l) {
    l.sort();
    return l;
}

// The background the grid paints on a row, or an invalid colour when it paints none.
QColor Fondo(Rejilla* r, int fila) {
    return r->model()->data(r->model()->index(fila - 1, 0), Qt::BackgroundRole).value<QColor>();
}

const QColor Crema(255, 255, 200);
const QColor Blanco(255, 255, 255);

QStringList Titulos(Rejilla* r) {
    QStringList t;
    for (int c = 1; c <= r->numeroColumnas(); ++c) t << r->tituloColumna(c);
    return t;
}

const QStringList TitulosVerificaciones = {"solicitud",   "F.Recibido",       "nombre_sucursal",
                                           "Verificador", "relacion",         "F.Verificacion",
                                           "F.Respuesta", "Estado Solicitud", "comentarios"};

// Customer 501's applications, sorted: 1001 went through batches 8 and 7, 1002 was never batched.
const QStringList VerificacionesDe501 = {
    "1001|05/03/2024|MATRIZ|MORA LUZ|8|10/03/2024||Rechazada|NO VIVE AHI",
    "1001|05/03/2024|MATRIZ|VERIFICA SOLO|7|06/03/2024|09/03/2024|Autorizada|TODO BIEN",
    "1002|07/03/2024|ALDAMA||||||"};

}  // namespace

class FrmClientesEncontradosTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

    // Loads for the name and shows the window with the keyboard in it.
    std::unique_ptr<FrmClientes_Encontrados> Abrir(const QString& nombre) {
        Global::NombreCompleto = nombre;
        auto f = std::make_unique<FrmClientes_Encontrados>();
        f->show();
        f->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(f.get())); }();
        return f;
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>();
        servicios = std::make_unique<ServiciosFalsos>();
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', 'MATRIZ', 'CHI'), ('15', 'ALDAMA', 'CHI');"
            "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, "
            "es_verificador) "
            "VALUES ('     40', 'VERIFICA', 'SOLO', 1, 0, 1), ('     41', 'MORA', 'LUZ', 1, 0, 1);"
            "INSERT INTO clientes (cliente, Nombre_Cliente, RFC, domicilio) VALUES "
            "(501, 'PEREZ LOPEZ JUAN', 'PELJ800101', 'ALAMOS 12'),"
            "(502, 'PEREZ LOPEZ JUAN', 'PELJ900202', 'PINOS 3'),"
            "(503, 'GARCIA RUIZ ANA', 'GARA700303', 'CEDROS 45'),"
            "(504, 'O''HIGGINS BERNARDO', 'OIBE600404', 'SAUCES 1'),"
            "(505, 'PEREZ LOPEZ JUANA', 'PELJ850505', 'OLMOS 8'),"
            "(506, 'ARANDA LOPEZ LUIS', 'ARLL750606', 'ROBLES 9');"
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Fecha_recepcion, "
            "Importe_Solicitud, Sucursal, Promocion, Vendedor, estado_actual) VALUES "
            "(1001, 501, '2024-03-05 10:00:00.000', 5000, '1      ', 4, '    101', 'Autorizada'),"
            "(1002, 501, '2024-03-07 11:30:00.000', 3000, '15     ', 4, '    101', 'Recibida'),"
            "(1003, 503, '2024-03-08 09:00:00.000', 2000, '15     ', 4, '    101', 'Entregada'),"
            "(1004, 504, '2024-03-09 09:00:00.000', 1500, '1      ', 4, '    101', 'Recibida');"
            "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
            "verificador, fecha_entrega, fecha_recepcion_real, estado_actual) VALUES "
            "(7, 'CHI', '     40', '2024-03-06 08:00:00.000', '2024-03-09 17:00:00.000', "
            "'Recibida'),"
            "(8, 'CHI', '     41', '2024-03-10 08:00:00.000', NULL, 'Entregada');"
            "INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, Solicitud, estado_Actual, "
            "comentarios) VALUES (7, 1001, 'Autorizada', 'TODO BIEN'), (8, 1001, 'Rechazada', "
            "'NO VIVE AHI'), (8, 1003, 'Entregada', NULL);"));
        Global::ClienteNuevo = true;
        Global::NumeroCliente = 0;
        base->limpiar();
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void ventanaControlesYOrdenDeTabulacion() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        QCOMPARE(f->objectName(), QStringLiteral("FrmClientes_Encontrados"));
        QCOMPARE(f->windowTitle(), QStringLiteral("Clientes Localizados"));
        QCOMPARE(f->Frame2->title(), QStringLiteral("Solicitudes de Verificación del Cliente:"));
        QCOMPARE(f->CmdRegistrar->text(), QStringLiteral("&Registrar de Nuevo"));
        QCOMPARE(f->iClientes->parentWidget(), f->Frame1);
        QCOMPARE(f->iVerificaciones->parentWidget(), f->Frame2);
        // As designed, or as much of it as a small screen holds, frame included.
        const QSize diseno(Pixeles(10800), Pixeles(7200));
        const QSize libre =
            f->screen()->availableGeometry().size() - (f->frameGeometry().size() - f->size());
        QVERIFY(f->width() <= libre.width() && f->height() <= libre.height());
        QVERIFY(f->width() == diseno.width() || f->width() >= libre.width() - 16);
        QCOMPARE(f->height(), qMin(diseno.height(), libre.height()));
        QVERIFY(f->iClientes->esSoloLectura());
        QVERIFY(f->iVerificaciones->esSoloLectura());

        QCOMPARE(QApplication::focusWidget(), f->iClientes);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->iVerificaciones);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->CmdRegistrar);
    }

    void dosHomonimosSeListanSinVerificaciones() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Clientes Localizados:2"));
        QCOMPARE(Titulos(f->iClientes),
                 (QStringList{"Cliente", "RFC", "Nombre Cliente", "Créditos", "Domicilio"}));
        // Only equal names: no wildcard is added, so PEREZ LOPEZ JUANA stays out.
        QCOMPARE(Ordenadas(Filas(f->iClientes)),
                 (QStringList{"501|PELJ800101|PEREZ LOPEZ JUAN|1|ALAMOS 12",
                              "502|PELJ900202|PEREZ LOPEZ JUAN|0|PINOS 3"}));
        // Getting the keyboard does not pick a row; nothing is loaded until the clerk moves.
        QCOMPARE(f->iClientes->filaActual(), 0);
        QCOMPARE(f->iVerificaciones->numeroFilas(), 0);
        QCOMPARE(base->enviadas, QStringList{SqlClientes.arg(QStringLiteral("PEREZ LOPEZ JUAN"))});
        QCOMPARE(Global::CadenaSql, SqlClientes.arg(QStringLiteral("PEREZ LOPEZ JUAN")));
        QVERIFY(!Global::Registros2.abierto());

        // Columns fitted to what they hold.
        const QFontMetrics medida = f->iClientes->fontMetrics();
        QVERIFY(f->iClientes->anchoColumna(5) >=
                medida.horizontalAdvance(QStringLiteral("ALAMOS 12")));
        QVERIFY(f->iClientes->anchoColumna(3) >=
                medida.horizontalAdvance(QStringLiteral("PEREZ LOPEZ JUAN")));
        QVERIFY(f->iClientes->busquedaPorTecleo());
        QCOMPARE(f->iClientes->columnaBusqueda(), 3);
        QCOMPARE(Fondo(f->iClientes, 1), Crema);
        QCOMPARE(Fondo(f->iClientes, 2), Blanco);
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void moverLaCeldaCargaLasVerificacionesDeEseCliente() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        const int fila501 = f->iClientes->valor(1, 1).toInt() == 501 ? 1 : 2;
        const int fila502 = 3 - fila501;

        Clic(f->iClientes, fila501);
        QCOMPARE(Titulos(f->iVerificaciones), TitulosVerificaciones);
        QCOMPARE(Ordenadas(Filas(f->iVerificaciones)), VerificacionesDe501);
        QCOMPARE(Fondo(f->iVerificaciones, 1), Crema);
        QCOMPARE(Fondo(f->iVerificaciones, 2), Blanco);
        QCOMPARE(Fondo(f->iVerificaciones, 3), Crema);
        QVERIFY(f->iVerificaciones->anchoColumna(9) >=
                f->iVerificaciones->fontMetrics().horizontalAdvance(QStringLiteral("NO VIVE AHI")));
        QCOMPARE(base->enviadas.size(), 2);
        QCOMPARE(base->enviadas[1], SqlVerificaciones(QStringLiteral("501")));
        QVERIFY(!Global::Registros2.abierto());
        QVERIFY(f->isVisible());

        // A customer without applications leaves the list empty, not the previous one's rows.
        QTest::keyClick(f->iClientes, fila502 > fila501 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(f->iClientes->filaActual(), fila502);
        QCOMPARE(f->iVerificaciones->numeroFilas(), 0);
        QCOMPARE(base->enviadas.size(), 3);
        QCOMPARE(base->enviadas[2], SqlVerificaciones(QStringLiteral("502")));

        // And back with the arrow keys.
        QTest::keyClick(f->iClientes, fila502 > fila501 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(Ordenadas(Filas(f->iVerificaciones)), VerificacionesDe501);
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(f->isVisible());
    }

    void unSoloClienteMuestraSusVerificacionesDeInmediato() {
        auto f = Abrir(QStringLiteral("GARCIA RUIZ ANA"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Clientes Localizados:1"));
        QCOMPARE(Filas(f->iClientes), QStringList{"503|GARA700303|GARCIA RUIZ ANA|0|CEDROS 45"});
        QCOMPARE(Titulos(f->iVerificaciones), TitulosVerificaciones);
        QCOMPARE(Filas(f->iVerificaciones),
                 QStringList{"1003|08/03/2024|ALDAMA|MORA LUZ|8|10/03/2024||Entregada|"});
        QCOMPARE(base->enviadas, (QStringList{SqlClientes.arg(QStringLiteral("GARCIA RUIZ ANA")),
                                              SqlVerificaciones(QStringLiteral("503"))}));

        // The only customer is the current row: Enter takes him.
        Global::ClienteNuevo = true;
        QTest::keyClick(f->iClientes, Qt::Key_Return);
        QVERIFY(!Global::ClienteNuevo);
        QCOMPARE(Global::NumeroCliente, 503.0);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
    }

    void dobleClicEnElSegundoClienteLoElige() {
        Global::NombreCompleto = QStringLiteral("PEREZ LOPEZ JUAN");
        FrmClientes_Encontrados f;
        int segundo = 0;
        servicios->alMostrarModal = [&](QDialog&) {
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            // The current cell on the first row first: the double-click still takes its own row.
            Clic(f.iClientes, 1);
            QCOMPARE(f.iClientes->filaActual(), 1);
            segundo = f.iClientes->valor(2, 1).toInt();
            DobleClic(f.iClientes, 2);
        };
        QCOMPARE(Servicios().mostrarModal(f), int(QDialog::Accepted));
        QVERIFY(segundo == 501 || segundo == 502);
        QVERIFY(!Global::ClienteNuevo);
        QCOMPARE(Global::NumeroCliente, double(segundo));
        QVERIFY(!f.isVisible());
        QCOMPARE(servicios->dialogos.size(), 1);
        QCOMPARE(servicios->dialogos[0].clase, QStringLiteral("FrmClientes_Encontrados"));
        // Nothing is written: only the two reads of the list and the verifications of the clicks.
        for (const QString& s : base->enviadas)
            QVERIFY2(s.startsWith(QStringLiteral("SELECT ")), qPrintable(s));
    }

    void elTecladoBastaParaElegir() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        // Enter with no row chosen yet does nothing.
        QTest::keyClick(f->iClientes, Qt::Key_Return);
        QVERIFY(f->isVisible());
        QVERIFY(Global::ClienteNuevo);

        QTest::keyClick(f->iClientes, Qt::Key_Down);
        QCOMPARE(f->iClientes->filaActual(), 1);
        QVERIFY(base->enviadas.last().endsWith(
            QStringLiteral("Where s.cliente = %1 ").arg(f->iClientes->valor(1, 1).toInt())));
        QTest::keyClick(f->iClientes, Qt::Key_Down);
        QCOMPARE(f->iClientes->filaActual(), 2);
        const double segundo = f->iClientes->valor(2, 1).toDouble();
        QTest::keyClick(f->iClientes, Qt::Key_Enter);
        QVERIFY(!Global::ClienteNuevo);
        QCOMPARE(Global::NumeroCliente, segundo);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
    }

    void teclearBuscaEnNombreCliente() {
        // Wildcards typed into the name do match several names.
        auto f = Abrir(QStringLiteral("%LOPEZ%"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Clientes Localizados:4"));
        QCOMPARE(base->enviadas, QStringList{SqlClientes.arg(QStringLiteral("%LOPEZ%"))});
        int filaAranda = 0, filaJuana = 0;
        for (int r = 1; r <= 4; ++r) {
            if (f->iClientes->valor(r, 1).toInt() == 506) filaAranda = r;
            if (f->iClientes->valor(r, 1).toInt() == 505) filaJuana = r;
        }
        QVERIFY(filaAranda > 0 && filaJuana > 0);

        // The pause that starts a new search is set so that no test depends on the clock.
        f->iClientes->ponerPausaBusqueda(60000);
        QTest::keyClicks(f->iClientes, QStringLiteral("ar"));
        QCOMPARE(f->iClientes->filaActual(), filaAranda);
        QCOMPARE(base->enviadas.last(), SqlVerificaciones(QStringLiteral("506")));
        QCOMPARE(f->iVerificaciones->numeroFilas(), 0);

        f->iClientes->ponerPausaBusqueda(0);
        QTest::keyClick(f->iClientes, Qt::Key_P);
        f->iClientes->ponerPausaBusqueda(60000);
        QTest::keyClicks(f->iClientes, QStringLiteral("EREZ LOPEZ JUANA"));
        QCOMPARE(f->iClientes->filaActual(), filaJuana);
        QTest::keyClick(f->iClientes, Qt::Key_Return);
        QCOMPARE(Global::NumeroCliente, 505.0);
        QVERIFY(!Global::ClienteNuevo);
    }

    void registrarDeNuevo() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        Global::ClienteNuevo = false;
        Global::NumeroCliente = 77;
        Clic(f->iClientes, 1);
        QTest::mouseClick(f->CmdRegistrar, Qt::LeftButton);
        QVERIFY(Global::ClienteNuevo);
        QCOMPARE(Global::NumeroCliente, 77.0);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
    }

    void registrarDeNuevoConElTeclado() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        Global::ClienteNuevo = false;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->CmdRegistrar);
        QTest::keyClick(f->CmdRegistrar, Qt::Key_Return);
        QVERIFY(Global::ClienteNuevo);
        QVERIFY(!f->isVisible());
    }

    void cerrarLaVentanaDejaLosValoresComoEstaban() {
        {
            auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
            Global::ClienteNuevo = true;
            Global::NumeroCliente = 12;
            Clic(f->iClientes, 2);
            f->close();
            QVERIFY(!f->isVisible());
            QCOMPARE(f->result(), int(QDialog::Rejected));
            QVERIFY(Global::ClienteNuevo);
            QCOMPARE(Global::NumeroCliente, 12.0);
        }
        // Escape closes it the same way, from the list or from the button: nobody is chosen.
        for (const char* control : {"iClientes", "CmdRegistrar"}) {
            auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
            Global::ClienteNuevo = false;
            Global::NumeroCliente = 34;
            f->findChild<QWidget*>(control)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!f->isVisible() && !Global::ClienteNuevo);
            QCOMPARE(f->result(), int(QDialog::Rejected));
            QCOMPARE(Global::NumeroCliente, 34.0);
        }
    }

    void unNombreConComilla() {
        auto f = Abrir(QStringLiteral("O'HIGGINS BERNARDO"));
        QVERIFY(servicios->mensajes.isEmpty());
        QCOMPARE(f->Frame1->title(), QStringLiteral("Clientes Localizados:1"));
        QCOMPARE(Filas(f->iClientes), QStringList{"504|OIBE600404|O'HIGGINS BERNARDO|0|SAUCES 1"});
        QCOMPARE(Filas(f->iVerificaciones), QStringList{"1004|09/03/2024|MATRIZ||||||"});
        QCOMPARE(base->enviadas.first(), SqlClientes.arg(QStringLiteral("O''HIGGINS BERNARDO")));
    }

    void ningunClienteDejaAmbasListasVacias() {
        auto f = Abrir(QStringLiteral("NADIE NADIE"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Clientes Localizados:0"));
        QCOMPARE(f->iClientes->numeroFilas(), 0);
        QCOMPARE(f->iVerificaciones->numeroFilas(), 0);
        QCOMPARE(base->enviadas.size(), 1);
        QTest::keyClick(f->iClientes, Qt::Key_Return);
        QVERIFY(f->isVisible());
        f->CmdRegistrar->click();
        QVERIFY(Global::ClienteNuevo);
        QVERIFY(!f->isVisible());
    }

    void unErrorDeBaseDeDatosSeMuestraYLaVentanaQueda() {
        base->sqlite(QStringLiteral("DROP TABLE main.clientes"));
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY2(
            servicios->mensajes[0].texto.contains(QStringLiteral("clientes"), Qt::CaseInsensitive),
            qPrintable(servicios->mensajes[0].texto));
        QVERIFY(!Global::Registros2.abierto());
        QVERIFY(f->isVisible());
        QCOMPARE(f->iClientes->numeroFilas(), 0);
        // No count to give when the list could not be read.
        QCOMPARE(f->Frame1->title(), QStringLiteral("Posibles Homonimos del Cliente:"));
        Global::ClienteNuevo = false;
        f->CmdRegistrar->click();
        QVERIFY(Global::ClienteNuevo);
        QVERIFY(!f->isVisible());
    }

    void unErrorAlLeerVerificacionesNoCierraLaVentana() {
        auto f = Abrir(QStringLiteral("PEREZ LOPEZ JUAN"));
        const int fila501 = f->iClientes->valor(1, 1).toInt() == 501 ? 1 : 2;
        Clic(f->iClientes, fila501);
        QCOMPARE(f->iVerificaciones->numeroFilas(), 3);

        base->sqlite(QStringLiteral("DROP TABLE norv.detalles_Relaciones_Solicitudes"));
        Clic(f->iClientes, 3 - fila501);
        Clic(f->iClientes, fila501);
        QCOMPARE(servicios->mensajes.size(), 2);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY2(servicios->mensajes[0].texto.contains(
                     QStringLiteral("Detalles_Relaciones_Solicitudes"), Qt::CaseInsensitive),
                 qPrintable(servicios->mensajes[0].texto));
        // No rows of another customer are left on view.
        QCOMPARE(f->iVerificaciones->numeroFilas(), 0);
        QVERIFY(!Global::Registros2.abierto());
        QVERIFY(f->isVisible());

        // The customer can still be picked.
        DobleClic(f->iClientes, fila501);
        QVERIFY(!Global::ClienteNuevo);
        QCOMPARE(Global::NumeroCliente, 501.0);
        QVERIFY(!f->isVisible());
    }
};

QTEST_MAIN(FrmClientesEncontradosTest)
#include "frm_clientes_encontrados_test.moc"
