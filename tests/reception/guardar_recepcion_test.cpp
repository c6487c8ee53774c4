// Saving the verification results typed in the reception grid: which rows are written, the
// exact statements, the verification date, and a save that lands whole or not at all.
#include <QPushButton>

#include "recepcion_prueba.h"
#include "reception/celdas_recepcion.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/valor_celda.h"

using prueba::Escrituras;
using prueba::Manos;

namespace {

const QString Uno = QStringLiteral("VERIFICA UNO");

}  // namespace

class GuardarRecepcionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<FrmRecepcion> f;
    std::unique_ptr<Manos> manos;

    // The window open on verifier 40's lines: row 1 is 502 (recorded), 2 is 501, 3 is 505.
    bool abrirYBuscar() {
        f = std::make_unique<FrmRecepcion>();
        manos = std::make_unique<Manos>(f.get());
        return manos->mostrar() && manos->buscar(Uno) && f->ISolicitudes->numeroFilas() == 3;
    }

    void guardar(bool respuesta = true) {
        servicios->respuestas.enqueue(respuesta);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
    }

    QStringList linea(int solicitud) {
        return base->filas(
            QStringLiteral(
                "SELECT estado_Actual, Tipo_Verificacion, Linea_Autorizada, comentarios, "
                "recomienda_verificador FROM norv.detalles_Relaciones_Solicitudes "
                "WHERE Relacion IN (1, 4) AND Solicitud = %1")
                .arg(solicitud));
    }
    QStringList solicitud(int numero) {
        return base->filas(
            QStringLiteral("SELECT estado_actual, comentarios FROM norv.Solicitudes_cliente_Nuevo "
                           "WHERE solicitud = %1")
                .arg(numero));
    }
    QVariant fechaVerificacion(int solicitud) {
        return base->valor(
            QStringLiteral("SELECT fecha_verificacion FROM norv.detalles_Relaciones_Solicitudes "
                           "WHERE Relacion IN (1, 4) AND Solicitud = %1")
                .arg(solicitud));
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        prueba::SembrarRelaciones(*base);
    }
    void cleanup() {
        if (f && f->cambiosPendientes()) servicios->respuestas.enqueue(true);
        if (f) f->close();
        manos.reset();
        f.reset();
        servicios.reset();
        base.reset();
    }

    void primerGuardadoSellaLaFechaYElSegundoLaConserva() {
        QVERIFY(abrirYBuscar());
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Autorizada")));
        QVERIFY(manos->escribir(2, 10, QStringLiteral("5000")));
        QVERIFY(manos->elegir(2, 11, QStringLiteral("Normal")));
        QVERIFY(manos->escribir(2, 12, QStringLiteral("BUEN CLIENTE")));
        QVERIFY(manos->elegir(2, 14, QStringLiteral("Recomienda")));
        base->limpiar();
        guardar();

        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].texto,
                 QStringLiteral("Esta Seguro de Guardar la Relación?"));
        QCOMPARE(servicios->preguntas[0].titulo, QStringLiteral("Recepcion Relación"));
        QCOMPARE(Escrituras(base->enviadas),
                 (QStringList{
                     "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET fecha_verificacion = "
                     "GETDATE(),estado_Actual='Autorizada',Tipo_Verificacion='Normal',"
                     "Linea_Autorizada=5000, comentarios='BUEN CLIENTE',"
                     "recomienda_verificador='Recomienda' WHERE relacion=1 and solicitud = 501 "
                     " AND CAST(estado_Actual AS nvarchar(max)) = 'Entregada' AND "
                     "Tipo_Verificacion IS NULL AND Linea_Autorizada=0 "
                     "AND comentarios IS NULL AND recomienda_verificador IS NULL AND "
                     "fecha_verificacion IS NULL",
                     "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual='Autorizada', "
                     "comentarios='BUEN CLIENTE' WHERE solicitud = 501 "}));
        QCOMPARE(linea(501), QStringList{"Autorizada|Normal|5000|BUEN CLIENTE|Recomienda"});
        QCOMPARE(solicitud(501), QStringList{"Autorizada|BUEN CLIENTE"});
        const QDateTime sello = fechaVerificacion(501).toDateTime();
        QCOMPARE(sello.date(), QDate::currentDate());
        // The older line of the same application, in batch 5, is not touched.
        QCOMPARE(base->valor(QStringLiteral(
                     "SELECT fecha_verificacion FROM norv.detalles_Relaciones_Solicitudes "
                     "WHERE Relacion = 5 AND Solicitud = 501")),
                 QVariant());

        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Relaciones Modificadas Correctamente!"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Modificar Relaciones"));
        QCOMPARE(f->ISolicitudes->numeroFilas(), 0);
        QCOMPARE(f->ISolicitudes->numeroColumnas(), 14);
        QVERIFY(!f->cambiosPendientes());

        // As if that save had been on an earlier day: a later save must keep its date.
        base->sqlite(
            QStringLiteral("UPDATE norv.detalles_Relaciones_Solicitudes SET fecha_verificacion = "
                           "'2024-01-02 10:00:00.000' WHERE Relacion = 1 AND Solicitud = 501"));
        manos->consultar();
        QCOMPARE(f->ISolicitudes->texto(2, 6), QStringLiteral("02/01/2024 10:00:00"));
        QCOMPARE(f->ISolicitudes->texto(2, 10), QStringLiteral("5000"));
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Rechazada")));
        QVERIFY(manos->escribir(2, 12, QStringLiteral("CAMBIO DE DOMICILIO")));
        base->limpiar();
        guardar();
        QCOMPARE(
            Escrituras(base->enviadas),
            (QStringList{
                "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET estado_Actual='Rechazada',"
                "Tipo_Verificacion='Normal',Linea_Autorizada=5000, comentarios='CAMBIO DE "
                "DOMICILIO',"
                "recomienda_verificador='Recomienda' WHERE relacion=1 and solicitud = 501 "
                " AND CAST(estado_Actual AS nvarchar(max)) = 'Autorizada' AND "
                "CAST(Tipo_Verificacion AS nvarchar(max)) = 'Normal' AND Linea_Autorizada=5000 "
                "AND CAST(comentarios AS nvarchar(max)) = 'BUEN CLIENTE' AND "
                "CAST(recomienda_verificador AS nvarchar(max)) = 'Recomienda' "
                "AND fecha_verificacion IS NOT NULL",
                "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual='Rechazada', "
                "comentarios='CAMBIO DE DOMICILIO' WHERE solicitud = 501 "}));
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT fecha_verificacion FROM norv.detalles_Relaciones_Solicitudes "
                     "WHERE Relacion = 1 AND Solicitud = 501")),
                 QStringList{"2024-01-02 10:00:00.000"});
        QCOMPARE(linea(501), QStringList{"Rechazada|Normal|5000|CAMBIO DE DOMICILIO|Recomienda"});
        QCOMPARE(solicitud(501), QStringList{"Rechazada|CAMBIO DE DOMICILIO"});

        // Closing after a save asks nothing.
        f->close();
        QCOMPARE(servicios->preguntas.size(), 2);
        QVERIFY(!f->isVisible());
    }

    void soloLasFilasMarcadasEnOrdenYConAmbasFormas() {
        QVERIFY(abrirYBuscar());
        // Row 1 (recorded): an edit started and left unchanged is written again as it is.
        QVERIFY(manos->empezarYCancelar(1, 12));
        // Row 2: a state and a comment with a quote; no type, no recommendation.
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Rechazada")));
        QVERIFY(manos->escribir(2, 12, QStringLiteral("NO VIVE AHI, LO DICE O'HARA")));
        // Row 3 is never touched.
        base->limpiar();
        guardar();

        QCOMPARE(
            Escrituras(base->enviadas),
            (QStringList{
                "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET estado_Actual='Autorizada',"
                "Tipo_Verificacion='Aval',Linea_Autorizada=2500.5, comentarios='OK',"
                "recomienda_verificador='Recomienda' WHERE relacion=1 and solicitud = 502 "
                " AND CAST(estado_Actual AS nvarchar(max)) = 'Autorizada' AND "
                "CAST(Tipo_Verificacion AS nvarchar(max)) = 'Aval' AND Linea_Autorizada=2500.5 "
                "AND CAST(comentarios AS nvarchar(max)) = 'OK' AND CAST(recomienda_verificador AS "
                "nvarchar(max)) = 'Recomienda' AND fecha_verificacion IS NOT NULL",
                "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual='Autorizada', "
                "comentarios='OK' WHERE solicitud = 502 ",
                "UPDATE norv.dbo.detalles_Relaciones_Solicitudes SET fecha_verificacion = "
                "GETDATE(),estado_Actual='Rechazada',Tipo_Verificacion='',Linea_Autorizada=0, "
                "comentarios='NO VIVE AHI, LO DICE O''HARA',recomienda_verificador='' "
                "WHERE relacion=1 and solicitud = 501 "
                " AND CAST(estado_Actual AS nvarchar(max)) = 'Entregada' AND Tipo_Verificacion IS "
                "NULL AND Linea_Autorizada=0 "
                "AND comentarios IS NULL AND recomienda_verificador IS NULL AND fecha_verificacion "
                "IS NULL",
                "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_Actual='Rechazada', "
                "comentarios='NO VIVE AHI, LO DICE O''HARA' WHERE solicitud = 501 "}));
        QCOMPARE(linea(501), QStringList{"Rechazada||0|NO VIVE AHI, LO DICE O'HARA|"});
        QCOMPARE(solicitud(501), QStringList{"Rechazada|NO VIVE AHI, LO DICE O'HARA"});
        QCOMPARE(linea(502), QStringList{"Autorizada|Aval|2500.5|OK|Recomienda"});
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT fecha_verificacion FROM norv.detalles_Relaciones_Solicitudes "
                     "WHERE Relacion = 1 AND Solicitud = 502")),
                 QStringList{"2024-03-08 11:30:00.000"});
        // The untouched line keeps what the server gave it.
        QCOMPARE(linea(505), QStringList{"Entregada|NULL|0|NULL|NULL"});
        QCOMPARE(solicitud(505), QStringList{"Entregada|NULL"});
        QVERIFY(fechaVerificacion(505).isNull());
    }

    void laSolicitudSigueAlEstadoDeLaLineaAunEntregada() {
        QVERIFY(abrirYBuscar());
        // The recorded line goes back to "Entregada" with an empty credit line.
        QVERIFY(manos->elegir(1, 9, QStringLiteral("Entregada")));
        QVERIFY(manos->escribir(1, 10, QString()));
        QVERIFY(f->ISolicitudes->valor(1, 10).isNull());
        guardar();
        QCOMPARE(linea(502), QStringList{"Entregada|Aval|0|OK|Recomienda"});
        QCOMPARE(solicitud(502), QStringList{"Entregada|OK"});
    }

    void sinRespuestaNadaSeEscribe() {
        QVERIFY(abrirYBuscar());
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Autorizada")));
        base->limpiar();
        guardar(false);
        QVERIFY(Escrituras(base->enviadas).isEmpty());
        QVERIFY(f->cambiosPendientes());
        QCOMPARE(f->ISolicitudes->numeroFilas(), 3);
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void unaLineaDeCreditoQueNoEsNumeroNoEscribeNada() {
        QVERIFY(abrirYBuscar());
        QVERIFY(manos->escribir(1, 12, QStringLiteral("REVISADO")));
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Autorizada")));
        QVERIFY(manos->escribir(2, 10, QStringLiteral("5,000")));
        base->limpiar();
        guardar();

        QVERIFY(Escrituras(base->enviadas).isEmpty());
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.contains(QStringLiteral("501")),
                 qPrintable(servicios->mensajes[0].texto));
        QVERIFY(servicios->mensajes[0].texto.contains(QStringLiteral("5,000")));
        QCOMPARE(linea(502), QStringList{"Autorizada|Aval|2500.5|OK|Recomienda"});
        QCOMPARE(linea(501), QStringList{"Entregada|NULL|0|NULL|NULL"});
        // Everything typed stays for the clerk to mend, on the offending cell.
        QVERIFY(f->cambiosPendientes());
        QCOMPARE(manos->filas({2, 10, 12, 13}),
                 (QStringList{"502|2500.5|REVISADO|SI", "501|5,000||SI", "505|0||"}));
        QCOMPARE(f->ISolicitudes->filaActual(), 2);
        QCOMPARE(f->ISolicitudes->columnaActual(), 10);

        // Mended, the same rows save.
        QVERIFY(manos->escribir(2, 10, QStringLiteral("5000.75")));
        guardar();
        QCOMPARE(linea(502), QStringList{"Autorizada|Aval|2500.5|REVISADO|Recomienda"});
        QCOMPARE(linea(501), QStringList{"Autorizada||5000.75||"});
        QVERIFY(!f->cambiosPendientes());
    }

    void unaFallaAMitadDeGuardarNoDejaNadaEscrito() {
        QVERIFY(abrirYBuscar());
        base->sqlite(
            QStringLiteral("CREATE TRIGGER norv.linea_bloqueada BEFORE UPDATE ON "
                           "detalles_Relaciones_Solicitudes WHEN OLD.Solicitud = 501 "
                           "BEGIN SELECT RAISE(ABORT, 'linea bloqueada por auditoria'); END"));
        QVERIFY(manos->escribir(1, 12, QStringLiteral("REVISADO")));
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Autorizada")));
        QVERIFY(manos->escribir(2, 10, QStringLiteral("3000")));
        base->limpiar();
        guardar();

        // Row 1 was sent before row 2 failed, and was undone with it.
        QCOMPARE(Escrituras(base->enviadas).size(), 3);
        QCOMPARE(linea(502), QStringList{"Autorizada|Aval|2500.5|OK|Recomienda"});
        QCOMPARE(solicitud(502), QStringList{"Autorizada|OK"});
        QCOMPARE(linea(501), QStringList{"Entregada|NULL|0|NULL|NULL"});
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY2(
            servicios->mensajes[0].texto.contains(QStringLiteral("linea bloqueada por auditoria")),
            qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->cambiosPendientes());
        QCOMPARE(manos->filas({2, 10, 12, 13}),
                 (QStringList{"502|2500.5|REVISADO|SI", "501|3000||SI", "505|0||"}));

        // Closing still asks, so nothing typed is lost silently.
        servicios->respuestas.enqueue(false);
        f->close();
        QVERIFY(f->isVisible());
        QCOMPARE(servicios->preguntas.last().titulo, QStringLiteral("Descartar Cambios"));

        // Once the server takes it, the same grid saves whole.
        base->sqlite(QStringLiteral("DROP TRIGGER norv.linea_bloqueada"));
        guardar();
        QCOMPARE(linea(502), QStringList{"Autorizada|Aval|2500.5|REVISADO|Recomienda"});
        QCOMPARE(linea(501), QStringList{"Autorizada||3000||"});
        QCOMPARE(solicitud(501), QStringList{"Autorizada|"});
        QVERIFY(!f->cambiosPendientes());
        QCOMPARE(f->ISolicitudes->numeroFilas(), 0);
    }

    void loTecleadoSinTerminarTambienSeGuarda() {
        QVERIFY(abrirYBuscar());
        auto* editor = qobject_cast<QLineEdit*>(manos->editar(3, 12));
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("SIN CITA"));
        // Alt+G while the cell is still being typed in.
        servicios->respuestas.enqueue(true);
        QTest::keyClick(editor, Qt::Key_G, Qt::AltModifier);
        // A mnemonic presses its button the way a click does, once the press has been shown.
        QTRY_COMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(linea(505), QStringList{"Entregada||0|SIN CITA|"});
    }

    void textosDeLasCeldas() {
        using recepcion::EsLineaCredito;

        QCOMPARE(TextoExactoDeCelda(QVariant()), QString());
        QCOMPARE(TextoExactoDeCelda(QVariant(5000.0)), QStringLiteral("5000"));
        QCOMPARE(TextoExactoDeCelda(QVariant(2500.25)), QStringLiteral("2500.25"));
        QCOMPARE(TextoExactoDeCelda(QVariant(qlonglong(501))), QStringLiteral("501"));
        QCOMPARE(TextoExactoDeCelda(QVariant(1e9)), QStringLiteral("1000000000"));
        QVERIFY(EsLineaCredito(QStringLiteral("5000")));
        QVERIFY(EsLineaCredito(QStringLiteral("5000.50")));
        for (const char* malo : {"5,000", "5000.", ".5", "-100", "1e3", "CINCO", "50 00"})
            QVERIFY2(!EsLineaCredito(QString::fromLatin1(malo)), malo);
        // Four decimals, the half away from zero, on the digits as typed.
        QCOMPARE(recepcion::RedondearLinea(QStringLiteral("99.99995")), QStringLiteral("100"));
    }
};

QTEST_MAIN(GuardarRecepcionTest)
#include "guardar_recepcion_test.moc"
