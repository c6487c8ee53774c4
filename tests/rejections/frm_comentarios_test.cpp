// The rejection comments dialog typed into as a clerk would: capitals, Enter to the button,
// an empty box refused, the close box.
#include "rejections/frm_comentarios.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "base_prueba.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/ventana.h"
#include "ventana_prueba.h"

class FrmComentariosTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

    std::unique_ptr<FrmComentarios> Abrir() { return AbrirVentana<FrmComentarios>(); }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>();
        servicios = std::make_unique<ServiciosFalsos>();
        // What an earlier rejection left behind.
        Global::ComentarioRechazo = QStringLiteral("COMENTARIO ANTERIOR");
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void abreVacioConElFocoEnLaCajaYSinTocarDatos() {
        auto f = Abrir();
        QCOMPARE(f->windowTitle(), QStringLiteral("Comentarios"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Comentarios Rechazo:"));
        QCOMPARE(f->CmdGuardar->text(), QStringLiteral("&Guardar"));
        QCOMPARE(f->TxtComentarios->objectName(), QStringLiteral("TxtComentarios"));
        QCOMPARE(QApplication::focusWidget(), f->TxtComentarios);
        QVERIFY(f->TxtComentarios->toPlainText().isEmpty());
        QCOMPARE(f->TxtComentarios->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(Global::ComentarioRechazo.isEmpty());
        QCOMPARE(f->size(), QSize(Pixeles(4680), Pixeles(2385)));
        QVERIFY(base->enviadas.isEmpty());
    }

    // A comment is one line no wider than its column: pasted line breaks and tabs become
    // blanks, other control characters go, and what goes past the column's width is not taken,
    // in whole characters; the dialog says how much is left.
    void unaLineaDeHastaQuinientos() {
        auto f = Abrir();
        auto* largo = f->findChild<QLabel*>(QStringLiteral("LblLargo"));
        QVERIFY(largo);
        QCOMPARE(largo->text(), QStringLiteral("Máximo 500 caracteres; quedan 500."));
        QApplication::clipboard()->setText(
            QStringLiteral("no vive ahi\n\vse\x1b mudo\u0085\r\nhace\u2028 un\x01\tmes"));
        f->TxtComentarios->paste();  // as the context menu does
        QCOMPARE(f->TxtComentarios->toPlainText(),
                 QStringLiteral("NO VIVE AHI SE MUDO HACE UN MES"));
        QCOMPARE(f->TxtComentarios->document()->blockCount(), 1);
        QApplication::clipboard()->setText(QString(468, QLatin1Char('x')) +
                                           QStringLiteral("\U0001F600") + QString(99, u'x'));
        QTest::keyClick(f->TxtComentarios, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->TxtComentarios->toPlainText().size(), 499);  // the emoji would end at 501
        QCOMPARE(largo->text(), QStringLiteral("Máximo 500 caracteres; quedan 1."));
        QTest::keyClicks(f->TxtComentarios, QStringLiteral("mas"));
        QCOMPARE(f->TxtComentarios->toPlainText().size(), 500);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QCOMPARE(Global::ComentarioRechazo.size(), 500);
        QVERIFY(Global::ComentarioRechazo.startsWith(
            QStringLiteral("NO VIVE AHI SE MUDO HACE UN MES")));
    }

    void minusculasSeVuelvenMayusculasYEnterLlegaAlBotonYAcepta() {
        auto f = Abrir();
        QTest::keyClicks(f->TxtComentarios, QStringLiteral("  no localizado en domicilio "));
        // A letter outside ASCII, as the keyboard sends it.
        QTest::sendKeyEvent(QTest::Press, f->TxtComentarios, Qt::Key_Ntilde, QStringLiteral("ñ"),
                            {});
        QTest::sendKeyEvent(QTest::Release, f->TxtComentarios, Qt::Key_Ntilde, QStringLiteral("ñ"),
                            {});
        QTest::keyClick(f->TxtComentarios, ' ');
        QCOMPARE(f->TxtComentarios->toPlainText(),
                 QStringLiteral("  NO LOCALIZADO EN DOMICILIO Ñ "));
        QTest::keyClick(f->TxtComentarios, Qt::Key_Return);
        // No line break reaches the box; the focus is on the button.
        QCOMPARE(f->TxtComentarios->toPlainText(),
                 QStringLiteral("  NO LOCALIZADO EN DOMICILIO Ñ "));
        QCOMPARE(QApplication::focusWidget(), f->CmdGuardar);
        QVERIFY(f->isVisible());
        QTest::keyClick(f->CmdGuardar, Qt::Key_Return);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QCOMPARE(Global::ComentarioRechazo, QStringLiteral("NO LOCALIZADO EN DOMICILIO Ñ"));
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(base->enviadas.isEmpty());
    }

    void cajaVaciaNoAceptaNiAvisa() {
        auto f = Abrir();
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QVERIFY(f->isVisible());
        QVERIFY(Global::ComentarioRechazo.isEmpty());
        // Enter on the button is refused the same way.
        f->CmdGuardar->setFocus();
        QTest::keyClick(f->CmdGuardar, Qt::Key_Return);
        QVERIFY(f->isVisible());
        QVERIFY(servicios->mensajes.isEmpty());
        // Typed and then erased: empty again.
        QTest::keyClicks(f->TxtComentarios, QStringLiteral("ab"));
        QTest::keyClick(f->TxtComentarios, Qt::Key_Backspace);
        QTest::keyClick(f->TxtComentarios, Qt::Key_Backspace);
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QVERIFY(f->isVisible());
        QVERIFY(Global::ComentarioRechazo.isEmpty());
    }

    void soloBlancosSeAceptaComoComentarioVacio() {
        auto f = Abrir();
        QTest::keyClicks(f->TxtComentarios, QStringLiteral("    "));
        QTest::mouseClick(f->CmdGuardar, Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QCOMPARE(Global::ComentarioRechazo, QString());
    }

    void cerrarConLaCajaDeCierreDejaElComentarioVacio() {
        auto f = Abrir();
        QTest::keyClicks(f->TxtComentarios, QStringLiteral("ya escrito"));
        f->close();
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Rejected));
        QVERIFY(Global::ComentarioRechazo.isEmpty());
    }
};

QTEST_MAIN(FrmComentariosTest)
#include "frm_comentarios_test.moc"
