// The rejections window against the embedded engine: the search by reception date, and the
// double-click that rejects with a comment or reactivates.
#include "rejections/frm_rechazos.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

#include "base_prueba.h"
#include "rejections/frm_comentarios.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/pulso_eventos.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/trabajo_largo.h"
#include "ui/ventana.h"
#include "ventana_prueba.h"

namespace {

const QDate Dia(2024, 3, 10);

const QString Pregunta =
    QStringLiteral("Se dispone a Rechazar/Reactivar la Solicitud Seleccionada, Esta Seguro?");

QString Busqueda(const QString& desde, const QString& hasta) {
    return QStringLiteral(
               " SELECT s.solicitud 'Solicitud',dbo.alltrim(su.nombre_sucursal) 'Sucursal',"
               "ERP_OXA.dbo.fecha_corta(s.fecha_recepcion)'Fecha Recepción',"
               "dbo.alltrim(erp_oxa.dbo.nombre_cliente(cliente)) 'Nombre Cliente',"
               "s.estado_actual 'Estado Solicitud' from NORV.dbo.Solicitudes_cliente_Nuevo s  "
               "  JOIN  sucursales su on s.sucursal= su.sucursal  "
               "  WHERE su.centro_distribucion='CHI'  "
               "  AND   relacion IS NULL  "
               "  AND  Fecha_recepcion BETWEEN  erp_oxa.dbo.fecha('%1','Inicio') and "
               "erp_oxa.dbo.fecha('%2','Final')  order by solicitud")
        .arg(desde, hasta);
}

QString Rechazo(const QString& comentario, int solicitud) {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Rechazada',"
               "comentarios='%1'  WHERE solicitud=%2  AND relacion IS NULL AND "
               "CAST(estado_actual AS nvarchar(max)) = 'Recibida'")
        .arg(comentario)
        .arg(solicitud);
}

// `listado`: the state the list showed, which must still hold.
QString Reactivacion(int solicitud, const QString& listado) {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Recibida',"
               "comentarios='SOLICITUD REACTIVADA'  WHERE solicitud=%1  AND relacion IS NULL AND "
               "CAST(estado_actual AS nvarchar(max)) = '%2'")
        .arg(solicitud)
        .arg(listado);
}

// The comment typed as a clerk would, Enter to the button, Enter on it.
std::function<void(QDialog&)> Escribir(const QString& texto) {
    return [texto](QDialog& d) {
        auto* caja = d.findChild<QPlainTextEdit*>(QStringLiteral("TxtComentarios"));
        auto* boton = d.findChild<QPushButton*>(QStringLiteral("CmdGuardar"));
        QVERIFY(caja && boton);
        QTest::keyClicks(caja, texto);
        QTest::keyClick(caja, Qt::Key_Return);
        QCOMPARE(d.focusWidget(), boton);
        QTest::keyClick(boton, Qt::Key_Return);
    };
}

// Counts the paint events of a window's controls.
class Pinturas : public QObject {
  public:
    explicit Pinturas(QWidget* ventana) : ventana_(ventana) { qApp->installEventFilter(this); }
    int cuantas = 0;

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType() &&
            static_cast<QWidget*>(o)->window() == ventana_)
            ++cuantas;
        return false;
    }

  private:
    QWidget* ventana_;
};

}  // namespace

class FrmRechazosTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

    std::unique_ptr<FrmRechazos> Abrir() { return AbrirVentana<FrmRechazos>(); }

    // Searches the one day `Dia`, clicking the button.
    std::unique_ptr<FrmRechazos> Buscar() {
        auto f = Abrir();
        f->DtpFecha1->ponerFecha(Dia);
        f->DtpFecha2->ponerFecha(Dia);
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        return f;
    }

    static void DobleClic(Rejilla* r, int fila, int columna) {
        const QPoint punto = r->visualRect(r->model()->index(fila - 1, columna - 1)).center();
        QTest::mousePress(r->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseRelease(r->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(r->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseRelease(r->viewport(), Qt::LeftButton, {}, punto);
    }

    static QStringList Columna(Rejilla* r, int columna) {
        QStringList l;
        for (int f = 1; f <= r->numeroFilas(); ++f) l << r->texto(f, columna);
        return l;
    }

    // A search long enough to pause for the window events (thirty rows more that day, the
    // progress shown at once); `accion` runs at its first pause, as a clerk acting meanwhile.
    std::unique_ptr<FrmRechazos> BuscarLargo(const std::function<void(FrmRechazos&)>& accion) {
        base->sqlite(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30) "
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Fecha_recepcion, "
            "Sucursal, estado_actual) SELECT 200 + i, 1, '2024-03-10 09:00:00.000', '1', "
            "'Recibida' FROM n"));
        auto f = Abrir();
        f->DtpFecha1->ponerFecha(Dia);
        f->DtpFecha2->ponerFecha(Dia);
        PulsoEventos::IntervaloMs = 0;
        TrabajoLargo::UmbralMs = 0;
        bool dado = false;
        const int observador = Global::Conexion.agregarObservador([&](const QString&) {
            if (!std::exchange(dado, true)) QTimer::singleShot(0, f.get(), [&] { accion(*f); });
        });
        f->CmdConsultar->setFocus();
        QTest::keyClick(f->CmdConsultar, Qt::Key_Return);
        Global::Conexion.quitarObservador(observador);
        PulsoEventos::IntervaloMs = 30;
        TrabajoLargo::UmbralMs = 300;
        return f;
    }

    QString Estado(int solicitud) {
        return base
            ->filas(QStringLiteral("SELECT estado_actual || '|' || coalesce(comentarios, 'NULL') "
                                   "FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = %1")
                        .arg(solicitud))
            .value(0);
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', ' Matriz Centro ', 'CHI'), ('2', 'Aldama', 'CHI'), ('9', 'Juárez', 'JRZ');"
            "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES "
            "(1, 'PEREZ LOPEZ JUAN '), (2, 'RUIZ SOTO ANA'), (3, 'DIAZ MORA LUIS');"
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Fecha_recepcion, "
            "Sucursal, Relacion, estado_actual, comentarios) VALUES "
            // In range, no batch, of the centre: listed whatever the state.
            "(101, 1, '2024-03-10 00:00:00.000', '1', NULL, 'Recibida  ', NULL),"
            "(103, 3, '2024-03-11 18:00:00.000', '2', NULL, 'Rechazada', 'SIN AVAL'),"
            "(107, 2, '2024-03-10 12:00:00.000', '2', NULL, 'RECIBIDA', NULL),"
            // The day before, two days after, another centre, inside a batch: not listed.
            "(102, 2, '2024-03-09 23:59:59.000', '2', NULL, 'Recibida', NULL),"
            "(104, 1, '2024-03-12 00:00:01.000', '1', NULL, 'Recibida', NULL),"
            "(105, 2, '2024-03-10 10:00:00.000', '9', NULL, 'Recibida', NULL),"
            "(106, 3, '2024-03-10 11:00:00.000', '1', 5, 'Recibida', NULL)"));
        Global::ComentarioRechazo.clear();
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void ventanaAlAbrir() {
        auto f = Abrir();
        QCOMPARE(f->windowTitle(), QStringLiteral("Rechazo de Solicitudes sin Relación"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Busqueda Solicitudes:"));
        QCOMPARE(f->SkinLabel1->text(), QStringLiteral("Solicitudes del"));
        QCOMPARE(f->SkinLabel2->text(), QStringLiteral("al"));
        QCOMPARE(f->CmdConsultar->text(), QStringLiteral("&Consultar"));
        QCOMPARE(f->DtpFecha1->fecha(), QDate::currentDate().addDays(-2));
        QCOMPARE(f->DtpFecha2->fecha(), QDate::currentDate());
        QCOMPARE(f->iSolicitudes->numeroFilas(), 0);
        QVERIFY(f->iSolicitudes->toolTip().isEmpty());
        QCOMPARE(f->size(), QSize(Pixeles(9660), Pixeles(4140)));
        QCOMPARE(QApplication::focusWidget(), f->DtpFecha1);
        QVERIFY(base->enviadas.isEmpty());
    }

    void buscaSinRelacionDelCentroEnElRangoHastaElDiaSiguiente() {
        auto f = Buscar();
        QCOMPARE(base->enviadas,
                 QStringList{Busqueda(QStringLiteral("20240310"), QStringLiteral("20240311"))});
        QVERIFY(servicios->mensajes.isEmpty());
        Rejilla* g = f->iSolicitudes;
        QCOMPARE(g->numeroColumnas(), 5);
        QCOMPARE((QStringList{g->tituloColumna(1), g->tituloColumna(2), g->tituloColumna(3),
                              g->tituloColumna(4), g->tituloColumna(5)}),
                 (QStringList{"Solicitud", "Sucursal", "Fecha Recepción", "Nombre Cliente",
                              "Estado Solicitud"}));
        QCOMPARE(Columna(g, 1), (QStringList{"101", "103", "107"}));
        QCOMPARE(Columna(g, 2), (QStringList{"Matriz Centro", "Aldama", "Aldama"}));
        QCOMPARE(Columna(g, 3), (QStringList{"10/03/2024", "11/03/2024", "10/03/2024"}));
        QCOMPARE(Columna(g, 4),
                 (QStringList{"PEREZ LOPEZ JUAN", "DIAZ MORA LUIS", "RUIZ SOTO ANA"}));
        QCOMPARE(Columna(g, 5), (QStringList{"Recibida  ", "Rechazada", "RECIBIDA"}));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Solicitudes Localizadas:3"));
        QVERIFY(g->esSoloLectura());

        // A wider range, typed again: the list and the count are rebuilt.
        base->limpiar();
        f->DtpFecha1->ponerFecha(QDate(2024, 3, 9));
        f->DtpFecha2->ponerFecha(QDate(2024, 3, 11));
        f->CmdConsultar->setFocus();
        QTest::keyClick(f->CmdConsultar, Qt::Key_Return);
        QCOMPARE(base->enviadas,
                 QStringList{Busqueda(QStringLiteral("20240309"), QStringLiteral("20240312"))});
        QCOMPARE(Columna(g, 1), (QStringList{"101", "102", "103", "104", "107"}));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Solicitudes Localizadas:5"));
    }

    void recibidaConBlancosSeRechazaConElComentarioEscrito() {
        auto f = Buscar();
        base->limpiar();
        Global::ComentarioRechazo = QStringLiteral("DE OTRO RECHAZO");
        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Escribir(QStringLiteral("no localizado")));
        DobleClic(f->iSolicitudes, 1, 2);

        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].texto, Pregunta);
        QCOMPARE(servicios->preguntas[0].titulo, QStringLiteral("Rechazar Solicitud"));
        QCOMPARE(servicios->dialogos.size(), 1);
        QCOMPARE(servicios->dialogos[0].clase, QStringLiteral("FrmComentarios"));
        QCOMPARE(servicios->dialogos[0].resultado, int(QDialog::Accepted));
        QCOMPARE(base->enviadas, QStringList{Rechazo(QStringLiteral("NO LOCALIZADO"), 101)});
        QCOMPARE(Estado(101), QStringLiteral("Rechazada|NO LOCALIZADO"));
        QCOMPARE(Columna(f->iSolicitudes, 1), (QStringList{"103", "107"}));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Solicitud Rechazada Correctamente!"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Rechazar Solicitud"));
        // The count is the search's until the next one.
        QCOMPARE(f->Frame1->title(), QStringLiteral("Solicitudes Localizadas:3"));
        // Other applications are untouched.
        QCOMPARE(Estado(107), QStringLiteral("RECIBIDA|NULL"));
    }

    void comentarioConComillaSeGuardaComoSeEscribio() {
        auto f = Buscar();
        base->limpiar();
        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Escribir(QStringLiteral("aval o'brien no existe")));
        DobleClic(f->iSolicitudes, 1, 4);
        QCOMPARE(base->enviadas,
                 QStringList{Rechazo(QStringLiteral("AVAL O''BRIEN NO EXISTE"), 101)});
        QCOMPARE(Estado(101), QStringLiteral("Rechazada|AVAL O'BRIEN NO EXISTE"));
    }

    // Escape or the close box of the comments is no comment: nothing is rejected, and the next
    // try starts from what was typed.
    void cerrarLosComentariosNoRechaza() {
        auto f = Buscar();
        base->limpiar();
        servicios->respuestas << true << true << true;
        servicios->accionesModales << [](QDialog& d) {
            QTest::keyClicks(d.findChild<QPlainTextEdit*>(QStringLiteral("TxtComentarios")),
                             "a medias");
            d.close();
        } << [](QDialog& d) {
            QTest::keyClick(d.focusWidget(), Qt::Key_Escape);
        } << Escribir(QStringLiteral(" y sin aval"));
        for (int intento = 0; intento < 2; ++intento) DobleClic(f->iSolicitudes, 1, 1);
        QVERIFY(base->enviadas.isEmpty());
        QCOMPARE(f->iSolicitudes->numeroFilas(), 3);
        DobleClic(f->iSolicitudes, 1, 1);
        QCOMPARE(Estado(101), QStringLiteral("Rechazada|A MEDIAS Y SIN AVAL"));
    }

    void enMayusculasSeReactivaYLuegoSePuedeRechazar() {
        auto f = Buscar();
        base->limpiar();
        QString quintaAlAvisar;
        servicios->alMostrarMensaje = [&](const MensajeMostrado&) {
            quintaAlAvisar = f->iSolicitudes->texto(3, 5);
        };
        servicios->respuestas.enqueue(true);
        DobleClic(f->iSolicitudes, 3, 3);
        QVERIFY(servicios->dialogos.isEmpty());
        QCOMPARE(base->enviadas, QStringList{Reactivacion(107, QStringLiteral("RECIBIDA"))});
        QCOMPARE(Estado(107), QStringLiteral("Recibida|SOLICITUD REACTIVADA"));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Solicitud Reactivada Correctamente!"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Reactivar Solicitud"));
        // The message comes first, then the row shows the new state.
        QCOMPARE(quintaAlAvisar, QStringLiteral("RECIBIDA"));
        QCOMPARE(f->iSolicitudes->numeroFilas(), 3);
        QCOMPARE(f->iSolicitudes->texto(3, 5), QStringLiteral("Recibida"));

        // Now "Recibida": the same row is rejected.
        servicios->alMostrarMensaje = nullptr;
        base->limpiar();
        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Escribir(QStringLiteral("telefono falso")));
        DobleClic(f->iSolicitudes, 3, 1);
        QCOMPARE(base->enviadas, QStringList{Rechazo(QStringLiteral("TELEFONO FALSO"), 107)});
        QCOMPARE(Estado(107), QStringLiteral("Rechazada|TELEFONO FALSO"));
        QCOMPARE(Columna(f->iSolicitudes, 1), (QStringList{"101", "103"}));
    }

    void rechazadaSeReactiva() {
        auto f = Buscar();
        base->limpiar();
        servicios->respuestas.enqueue(true);
        DobleClic(f->iSolicitudes, 2, 5);
        QCOMPARE(base->enviadas, QStringList{Reactivacion(103, QStringLiteral("Rechazada"))});
        QCOMPARE(Estado(103), QStringLiteral("Recibida|SOLICITUD REACTIVADA"));
        QCOMPARE(f->iSolicitudes->texto(2, 5), QStringLiteral("Recibida"));
    }

    void contestarNoNoEnviaNadaYLaCabeceraNoPregunta() {
        auto f = Buscar();
        base->limpiar();
        servicios->respuestas.enqueue(false);
        DobleClic(f->iSolicitudes, 1, 1);
        QCOMPARE(servicios->preguntas.size(), 1);
        QVERIFY(servicios->dialogos.isEmpty());
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(base->enviadas.isEmpty());
        QCOMPARE(f->iSolicitudes->numeroFilas(), 3);
        QCOMPARE(Estado(101), QStringLiteral("Recibida  |NULL"));

        auto* cabecera = f->iSolicitudes->horizontalHeader();
        QTest::mouseDClick(cabecera->viewport(), Qt::LeftButton, {}, cabecera->rect().center());
        QCOMPARE(servicios->preguntas.size(), 1);
        QVERIFY(base->enviadas.isEmpty());
    }

    void detenerLaCargaLaDejaVaciaYNoEscribe_data() {
        QTest::addColumn<bool>("conBoton");
        QTest::newRow("Escape") << false;
        QTest::newRow("Detener") << true;
    }
    void detenerLaCargaLaDejaVaciaYNoEscribe() {
        QFETCH(bool, conBoton);
        auto f = BuscarLargo([conBoton](FrmRechazos& v) {
            auto* detener = v.findChild<QPushButton*>(QStringLiteral("CmdDetener"));
            QVERIFY(detener && detener->isVisible());
            if (conBoton)
                QTest::mouseClick(detener, Qt::LeftButton);
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QCOMPARE(f->iSolicitudes->numeroFilas(), 0);
        QCOMPARE(base->enviadas,
                 QStringList{Busqueda(QStringLiteral("20240310"), QStringLiteral("20240311"))});
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Se detuvo la consulta: la lista quedó vacía."));
        QVERIFY(f->isVisible());
        QTRY_VERIFY(!f->findChild<QPushButton*>(QStringLiteral("CmdDetener")));
    }

    void lasTeclasDeUnaCargaLleganDespuesEnOrden() {
        // Tab to the list (its first row), Down to the second, Enter on it: the rejection's
        // question. In another order the Enter would press Consultar again.
        servicios->respuestas.enqueue(false);
        auto f = BuscarLargo([](FrmRechazos& v) {
            for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Return})
                QTest::keyClick(v.focusWidget(), k);
        });
        QCOMPARE(f->iSolicitudes->numeroFilas(), 33);
        QVERIFY(servicios->preguntas.isEmpty());
        QTRY_COMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].texto, Pregunta);
        QCOMPARE(QApplication::focusWidget(), f->iSolicitudes);
        QCOMPARE(f->iSolicitudes->filaActual(), 2);
        QCOMPARE(base->enviadas,
                 QStringList{Busqueda(QStringLiteral("20240310"), QStringLiteral("20240311"))});
    }

    void unaEsperaPorOtraEstacionSeVeUnaVezYLaVentanaSePinta() {
        if (base->camino() != BasePrueba::Camino::Incrustado)
            QSKIP("por ODBC espera el servidor, no el programa");
        AtenderTrabajosLargos(Global::Conexion);
        auto comoAntes = qScopeGuard([] {
            Global::Conexion.alTrabajar({});
            Global::Conexion.alEsperarBloqueo({});
        });
        auto f = Buscar();
        // Another station in the middle of a write: the reactivation waits for it.
        auto otra = base->otraEstacion();
        otra->iniciarTransaccion();
        otra->ejecutar(
            QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Vendedor = Vendedor "
                           "WHERE solicitud = 0"));
        // What the window shows and paints while it waits; the other station then finishes.
        QStringList avisos;
        QTest::qWait(0);
        Pinturas pinturas(f.get());
        QTimer::singleShot(150, f.get(), [&] {
            for (QLabel* l : f->findChildren<QLabel*>(QStringLiteral("LblTrabajo")))
                if (l->isVisible()) avisos << l->text();
            QVERIFY(pinturas.cuantas > 0);
            otra->confirmarTransaccion();
        });
        servicios->respuestas.enqueue(true);
        DobleClic(f->iSolicitudes, 2, 1);
        QCOMPARE(avisos, QStringList{QStringLiteral(
                             "Esperando a que otra estación termine de escribir en la base de "
                             "datos…")});
        QCOMPARE(Estado(103), QStringLiteral("Recibida|SOLICITUD REACTIVADA"));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Solicitud Reactivada Correctamente!"));
        QTRY_VERIFY(!f->findChild<QLabel*>(QStringLiteral("LblTrabajo")));
    }

    void unErrorDeLaBaseSeAvisaYLaVentanaSigue() {
        auto f = Buscar();
        base->limpiar();
        base->sqlite(QStringLiteral("ALTER TABLE norv.Solicitudes_cliente_Nuevo RENAME TO Fuera"));

        servicios->respuestas.enqueue(true);
        DobleClic(f->iSolicitudes, 2, 1);
        QCOMPARE(base->enviadas, QStringList{Reactivacion(103, QStringLiteral("Rechazada"))});
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY(!servicios->mensajes[0].texto.isEmpty());
        QCOMPARE(f->iSolicitudes->texto(2, 5), QStringLiteral("Rechazada"));

        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Escribir(QStringLiteral("x")));
        DobleClic(f->iSolicitudes, 1, 1);
        QCOMPARE(servicios->mensajes.size(), 2);
        QCOMPARE(servicios->mensajes[1].icono, IconoMensaje::Critico);
        QCOMPARE(f->iSolicitudes->numeroFilas(), 3);

        // A failed search keeps the list that was there.
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(servicios->mensajes.size(), 3);
        QCOMPARE(servicios->mensajes[2].icono, IconoMensaje::Critico);
        QCOMPARE(Columna(f->iSolicitudes, 1), (QStringList{"101", "103", "107"}));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Solicitudes Localizadas:3"));
        QVERIFY(f->isVisible());

        base->sqlite(QStringLiteral("ALTER TABLE norv.Fuera RENAME TO Solicitudes_cliente_Nuevo"));
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(servicios->mensajes.size(), 3);
        QCOMPARE(Estado(101), QStringLiteral("Recibida  |NULL"));
    }
};

QTEST_MAIN(FrmRechazosTest)
#include "frm_rechazos_test.moc"
