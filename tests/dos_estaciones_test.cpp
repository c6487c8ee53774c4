// Two stations on one database: this program's windows on one connection, the other station a
// second connection on the same files (through the same stand-in on the ODBC road). Whatever the
// order, no application ends in two batches, nothing stale is written, and every success message
// means a row changed. Also a failure at each statement of the multi-statement writes: nothing
// half-written, the typed input kept, a Spanish message.
#include <sqlite3.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "batches/frm_relaciones.h"
#include "capture/frm_captura.h"
#include "db/embedded/motor_incrustado.h"
#include "db/fallas.h"
#include "reception/recepcion_prueba.h"
#include "rejections/frm_rechazos.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/valor_celda.h"
#include "ventana_prueba.h"

using prueba::Escrituras;
using prueba::Manos;

namespace {

// Two applications of the centre in no batch, received now: 601 "Recibida", 602 "Rechazada".
void SembrarSueltas(BasePrueba& base) {
    base.sqlite(QStringLiteral(
        "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES (1601, 'NAVA ROJO PIA'), "
        "(1602, 'LARA SOL TEO');"
        "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Sucursal, estado_actual) "
        "VALUES (601, 1601, '1', 'Recibida'), (602, 1602, '15', 'Rechazada');"));
}

std::function<void(QDialog&)> Comentar(const QString& texto, QString* habia = nullptr) {
    return [texto, habia](QDialog& d) {
        auto* caja = d.findChild<QPlainTextEdit*>(QStringLiteral("TxtComentarios"));
        QVERIFY(caja);
        if (habia) *habia = caja->toPlainText();
        if (caja->toPlainText().isEmpty()) QTest::keyClicks(caja, texto);
        QTest::keyClick(caja, Qt::Key_Return);
        QTest::keyClick(d.focusWidget(), Qt::Key_Return);
    };
}

// Throws an I/O failure, worded as the engine's, at the n-th write the program sends.
struct Falla {
    int en = 0, vistas = 0;
    void operator()(const QString& s) {
        const bool escritura =
            s.startsWith(QLatin1String("INSERT")) || s.startsWith(QLatin1String("UPDATE")) ||
            s.startsWith(QLatin1String("DELETE")) || s.startsWith(QLatin1String("EXEC"));
        if (escritura && ++vistas == en)
            throw db::FallaSqlite(SQLITE_IOERR, 0, QStringLiteral("disk I/O error"),
                                  QStringLiteral("datos"));
    }
};

}  // namespace

class DosEstacionesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<db::Motor> otra;  // the other station, on the same road

    // A batch made by the other station for `solicitud`, through the same conditioned write.
    long long otraArma(int solicitud, bool confirmar = true) {
        otra->iniciarTransaccion();
        otra->ejecutar(
            QStringLiteral("INSERT INTO norv.dbo.Relaciones_Solicitudes_credito  "
                           "(centro_distribucion, verificador, elaborada_por) VALUES( "
                           " 'CHI', '     41', '     41') "));
        QList<db::Parametro> p{
            {QStringLiteral("@Nfolio"), db::TipoParametro::Integer, db::Direccion::Salida, 8, {}}};
        otra->llamar(QStringLiteral("REGRESA_FOLIO"), p);
        const long long relacion = p[0].valor.toLongLong();
        otra->ejecutar(QStringLiteral("INSERT INTO norv.dbo.detalles_Relaciones_Solicitudes( "
                                      "Relacion,Solicitud,tiene_cita) VALUES( %1,%2,1 )")
                           .arg(relacion)
                           .arg(solicitud));
        const long long cambiadas = otra->ejecutar(
            QStringLiteral(
                "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Relacion =%1 WHERE Solicitud = %2"
                " AND Relacion IS NULL AND estado_actual<>'Rechazada'")
                .arg(relacion)
                .arg(solicitud));
        if (cambiadas != 1) {
            otra->deshacerTransaccion();
            return 0;
        }
        if (confirmar) otra->confirmarTransaccion();
        return relacion;
    }

    std::unique_ptr<FrmRelaciones> abrirRelacionesConMarca() {
        auto f = AbrirVentana<FrmRelaciones>();
        f->CmbVerificadores->setFocus();
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Down);
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Tab);
        [&] { QVERIFY(f->CmdGuardar->isEnabled()); }();
        f->ISolicitudes->setFocus();
        f->ISolicitudes->ponerCeldaActual(1, 5);
        QTest::keyClick(f->ISolicitudes, Qt::Key_Space);
        return f;
    }

    int lineasDe(int solicitud) {
        return base
            ->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes "
                                   "WHERE Solicitud = %1")
                        .arg(solicitud))
            .toInt();
    }

    QStringList todo() {
        return base->filas(QStringLiteral("SELECT * FROM norv.Solicitudes_cliente_Nuevo")) +
               base->filas(QStringLiteral("SELECT * FROM norv.detalles_Relaciones_Solicitudes")) +
               base->filas(QStringLiteral("SELECT * FROM norv.Relaciones_Solicitudes_credito"));
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        prueba::SembrarRelaciones(*base);
        SembrarSueltas(*base);
        base->limiteEspera(300);
        otra = base->otraEstacion();
        Global::ClavePersona = QString();
        Global::CambiosPendientes = false;
    }
    void cleanup() {
        otra.reset();
        servicios.reset();
        base.reset();
    }

    void laOtraEstacionArmaPrimero() {
        auto f = abrirRelacionesConMarca();
        QCOMPARE(f->ISolicitudes->texto(1, 1), QStringLiteral("601"));
        const long long suya = otraArma(601);
        QVERIFY(suya > 0);
        const QStringList antes = todo();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);

        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.contains(
                     QStringLiteral("Solicitud 601: ya está en la relación %1").arg(suya)),
                 qPrintable(servicios->mensajes[0].texto));
        QVERIFY(servicios->dialogos.isEmpty());  // no report of a batch that is not there
        QCOMPARE(todo(), antes);
        QCOMPARE(lineasDe(601), 1);
        QCOMPARE(f->ISolicitudes->numeroFilas(), 0);  // the pending list was loaded again
        QCOMPARE(Global::NumeroRelacion, 0.0);
    }

    void estaEstacionArmaPrimero() {
        auto f = abrirRelacionesConMarca();
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(servicios->textos().first(), QStringLiteral("Relación de Solicitudes Generada 6"));
        QCOMPARE(otraArma(601), 0);
        QCOMPARE(lineasDe(601), 1);
        QCOMPARE(
            base
                ->valor(QStringLiteral(
                    "SELECT Relacion FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = 601"))
                .toInt(),
            6);
    }

    // Both at once: the other station's save holds the database; this one waits, gives up
    // with a Spanish message and writes nothing, then finds the application taken.
    void lasDosAlMismoTiempo() {
        auto f = abrirRelacionesConMarca();
        const long long suya = otraArma(601, false);
        QVERIFY(suya > 0);
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(servicios->mensajes.size(), 1);
        QVERIFY2(servicios->mensajes[0].texto.startsWith(
                     QStringLiteral("La base de datos está ocupada por otra estación; intente de "
                                    "nuevo en unos segundos.")),
                 qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->CmdGuardar->isEnabled());
        QVERIFY(CeldaMarcada(f->ISolicitudes->valor(1, 5)));
        otra->confirmarTransaccion();

        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QVERIFY(servicios->mensajes[1].texto.contains(
            QStringLiteral("ya está en la relación %1").arg(suya)));
        QCOMPARE(lineasDe(601), 1);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.Relaciones_Solicitudes_credito"))
                .toInt(),
            6);
    }

    void rechazosDeUnaListaVieja() {
        auto f = AbrirVentana<FrmRechazos>();
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        QCOMPARE(f->iSolicitudes->numeroFilas(), 2);
        // 601 went into batch 1 from the other station; 602 was deleted there.
        otra->ejecutar(QStringLiteral(
            "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Relacion =1 WHERE Solicitud = 601"));
        otra->ejecutar(
            QStringLiteral("DELETE FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud=602 "));

        servicios->respuestas.enqueue(true);
        f->iSolicitudes->setFocus();
        f->iSolicitudes->ponerCeldaActual(2, 1);
        QTest::keyClick(f->iSolicitudes, Qt::Key_Return);  // 602: a reactivation
        QVERIFY(servicios->dialogos.isEmpty());
        // The failed reactivation searched again: 602 is gone and 601 with it.
        QCOMPARE(f->iSolicitudes->numeroFilas(), 0);
        QCOMPARE(servicios->mensajes.size(), 1);
        QVERIFY2(
            servicios->mensajes[0].texto.startsWith(QStringLiteral("Solicitud 602: ya no existe.")),
            qPrintable(servicios->mensajes[0].texto));
        QCOMPARE(
            base->filas(QStringLiteral("SELECT Relacion, estado_actual, comentarios FROM "
                                       "norv.Solicitudes_cliente_Nuevo WHERE solicitud = 601")),
            QStringList{QStringLiteral("1|Recibida|NULL")});
    }

    void rechazarLoQueOtraEstacionMetioEnUnaRelacion() {
        auto f = AbrirVentana<FrmRechazos>();
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        otra->ejecutar(QStringLiteral(
            "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Relacion =1 WHERE Solicitud = 601"));
        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Comentar(QStringLiteral("no contesta")));
        f->iSolicitudes->setFocus();
        f->iSolicitudes->ponerCeldaActual(1, 1);
        QTest::keyClick(f->iSolicitudes, Qt::Key_Return);
        QCOMPARE(servicios->textos().size(), 1);
        QVERIFY(servicios->textos()[0].startsWith(
            QStringLiteral("Solicitud 601: ya está en la relación 1.")));
        QCOMPARE(
            base->filas(QStringLiteral(
                "SELECT estado_actual FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = 601")),
            QStringList{QStringLiteral("Recibida")});
        QCOMPARE(f->iSolicitudes->numeroFilas(), 1);  // searched again: only 602 is left
    }

    // A rejection that fails keeps the comment typed, for the next try.
    void unRechazoFallidoGuardaElComentario() {
        auto f = AbrirVentana<FrmRechazos>();
        QTest::mouseClick(f->CmdConsultar, Qt::LeftButton);
        otra->iniciarTransaccion();
        otra->ejecutar(QStringLiteral(
            "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET comentarios='X' WHERE solicitud=506 "));
        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Comentar(QStringLiteral("no contesta")));
        f->iSolicitudes->setFocus();
        f->iSolicitudes->ponerCeldaActual(1, 1);
        QTest::keyClick(f->iSolicitudes, Qt::Key_Return);
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY(servicios->mensajes[0].texto.contains(QStringLiteral("ocupada por otra estación")));
        QCOMPARE(f->iSolicitudes->numeroFilas(), 2);
        otra->deshacerTransaccion();

        QString habia;
        servicios->respuestas.enqueue(true);
        servicios->accionesModales.append(Comentar(QStringLiteral("otra cosa"), &habia));
        QTest::keyClick(f->iSolicitudes, Qt::Key_Return);
        QCOMPARE(habia, QStringLiteral("NO CONTESTA"));
        QCOMPARE(servicios->textos().last(), QStringLiteral("Solicitud Rechazada Correctamente!"));
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT estado_actual, comentarios FROM norv.Solicitudes_cliente_Nuevo "
                     "WHERE solicitud = 601")),
                 QStringList{QStringLiteral("Rechazada|NO CONTESTA")});
    }

    void borrarUnaSolicitudQueYaEstaEnUnaRelacion() {
        auto f = AbrirVentana<FrmCaptura>();
        // As the save leaves it: application 601 in the grid of those entered.
        f->iSolicitudes->ponerValor(f->iSolicitudes->agregarFila(), 1, 601);
        const long long suya = otraArma(601);
        f->iSolicitudes->setFocus();
        f->iSolicitudes->ponerCeldaActual(1, 1);
        servicios->respuestas.enqueue(true);
        QTest::keyClick(f->iSolicitudes, Qt::Key_Delete);
        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(
            servicios->textos(),
            QStringList{
                QStringLiteral("La Solicitud 601 ya está en la Relación %1; no se puede eliminar.")
                    .arg(suya)});
        QCOMPARE(f->iSolicitudes->numeroFilas(), 1);
        QCOMPARE(
            base
                ->valor(QStringLiteral(
                    "SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = 601"))
                .toInt(),
            1);

        // Deleted meanwhile by the other station: the row goes, without a success message.
        otra->ejecutar(
            QStringLiteral("DELETE FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud=601 "));
        servicios->limpiar();
        servicios->respuestas.enqueue(true);
        QTest::keyClick(f->iSolicitudes, Qt::Key_Delete);
        QCOMPARE(servicios->textos(),
                 QStringList{QStringLiteral(
                     "La Solicitud 601 ya había sido eliminada desde otra estación.")});
        QCOMPARE(f->iSolicitudes->numeroFilas(), 0);
        Global::CambiosPendientes = false;
    }

    // Lines removed or changed from the other station between the search and the save are
    // reported by number and not written; the rest is saved.
    void recepcionConLineasCambiadasEnOtraEstacion() {
        FrmRecepcion f;
        Manos manos(&f);
        QVERIFY(manos.mostrar());
        QVERIFY(manos.buscar(QStringLiteral("VERIFICA UNO")));
        QCOMPARE(manos.filas({2}), (QStringList{"502", "501", "505"}));
        for (int fila = 1; fila <= 3; ++fila)
            QVERIFY(manos.escribir(fila, 12, QStringLiteral("REVISADO")));
        otra->ejecutar(QStringLiteral(
            "UPDATE NORV.dbo.Solicitudes_cliente_Nuevo SET relacion = null WHERE solicitud=501 "));
        otra->ejecutar(QStringLiteral(
            "DELETE FROM NORV.dbo.Detalles_Relaciones_Solicitudes WHERE solicitud = 501 "));
        otra->ejecutar(QStringLiteral(
            "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET estado_Actual='Autorizada', "
            "comentarios='DE LA OTRA' WHERE relacion=4 and solicitud = 505 "));
        servicios->respuestas.enqueue(true);
        QTest::mouseClick(f.CmdGuardar, Qt::LeftButton);

        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.startsWith(QStringLiteral(
                     "Se guardaron 1 de 3 líneas. No se guardaron las solicitudes 501, 505:")),
                 qPrintable(servicios->mensajes[0].texto));
        QCOMPARE(
            base->filas(QStringLiteral(
                "SELECT Solicitud, estado_Actual, comentarios FROM "
                "norv.detalles_Relaciones_Solicitudes WHERE Solicitud IN (502, 505) ORDER BY 1")),
            (QStringList{"502|Autorizada|REVISADO", "505|Autorizada|DE LA OTRA"}));
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT estado_actual, comentarios FROM norv.Solicitudes_cliente_Nuevo "
                     "WHERE solicitud IN (501, 505) ORDER BY solicitud")),
                 (QStringList{"Entregada|NULL", "Entregada|NULL"}));
        QCOMPARE(manos.filas({2, 12}), (QStringList{"501|REVISADO", "505|REVISADO"}));
        QVERIFY(f.cambiosPendientes());
        servicios->respuestas.enqueue(true);
    }

    // A failure at each statement of a multi-statement write leaves the database as it was.
    void unaFallaEnCadaSentenciaNoDejaNadaAMedias_data() {
        QTest::addColumn<QString>("escritura");
        QTest::addColumn<int>("en");
        for (int en = 1; en <= 4; ++en)
            QTest::newRow(qPrintable(QStringLiteral("relación %1").arg(en))) << "relacion" << en;
        for (int en = 1; en <= 4; ++en)
            QTest::newRow(qPrintable(QStringLiteral("recepción %1").arg(en))) << "recepcion" << en;
        for (int en = 1; en <= 2; ++en)
            QTest::newRow(qPrintable(QStringLiteral("remover %1").arg(en))) << "remover" << en;
    }

    void unaFallaEnCadaSentenciaNoDejaNadaAMedias() {
        QFETCH(QString, escritura);
        QFETCH(int, en);
        Falla falla{en};
        const QStringList antes = todo();
        int observador = 0;
        auto armar = [&] { observador = Global::Conexion.agregarObservador(std::ref(falla)); };
        if (escritura == QLatin1String("relacion")) {
            auto f = abrirRelacionesConMarca();
            armar();
            servicios->respuestas.enqueue(true);
            QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
            QVERIFY(CeldaMarcada(f->ISolicitudes->valor(1, 5)));
            QVERIFY(f->CmdGuardar->isEnabled());
        } else {
            FrmRecepcion f;
            Manos manos(&f);
            QVERIFY(manos.mostrar());
            QVERIFY(manos.buscar(QStringLiteral("VERIFICA UNO")));
            QVERIFY(manos.escribir(1, 12, QStringLiteral("UNO")));
            QVERIFY(manos.escribir(2, 12, QStringLiteral("DOS")));
            armar();
            servicios->respuestas.enqueue(true);
            if (escritura == QLatin1String("recepcion")) {
                QTest::mouseClick(f.CmdGuardar, Qt::LeftButton);
                QCOMPARE(manos.filas({12, 13}), (QStringList{"UNO|SI", "DOS|SI", "|"}));
            } else {
                manos.clic(2, 8);
                QTest::mouseClick(f.CmdCambiar, Qt::LeftButton);
                QCOMPARE(f.ISolicitudes->numeroFilas(), 3);
            }
            QVERIFY(f.cambiosPendientes());
            servicios->respuestas.enqueue(true);
        }
        Global::Conexion.quitarObservador(observador);
        QCOMPARE(falla.vistas, en);
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.startsWith(
                     QStringLiteral("Falló la lectura o escritura de la base de datos")),
                 qPrintable(servicios->mensajes[0].texto));
        QCOMPARE(todo(), antes);
    }
};

QTEST_MAIN(DosEstacionesTest)
#include "dos_estaciones_test.moc"
