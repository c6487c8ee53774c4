// The typing rules of the text and numeric boxes, driven with real key events.
#include "ui/filtros.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A small window as the windows of the program are built: boxes in tab order and a default
// button that Enter must never reach.
struct Ventana {
    QDialog dialogo;
    QLineEdit* nombre = new QLineEdit(&dialogo);
    QLineEdit* telefono = new QLineEdit(&dialogo);
    QPlainTextEdit* comentarios = new QPlainTextEdit(&dialogo);
    QLineEdit* libre = new QLineEdit(&dialogo);
    QPushButton* aceptar = new QPushButton(QStringLiteral("&Aceptar"), &dialogo);

    Ventana() {
        auto* capas = new QVBoxLayout(&dialogo);
        for (QWidget* w :
             std::initializer_list<QWidget*>{nombre, telefono, comentarios, libre, aceptar})
            capas->addWidget(w);
        aceptar->setDefault(true);
        InstalarFiltroTexto(nombre);
        InstalarFiltroNumerico(telefono);
        InstalarFiltroTexto(comentarios);
        dialogo.show();
        QApplication::setActiveWindow(&dialogo);
    }
};

void Teclear(QWidget* w, QChar c) {
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c),
                        Qt::NoModifier);
}

}  // namespace

class FiltrosTest : public QObject {
    Q_OBJECT
  private slots:
    void codigosDeTexto();
    void codigosNumericos();
    void enterPasaUnControlAdelante();
    void enterEnTextoLargoNoHaceRenglon();
    void enterDesdeElUltimoCuadro();
    void textoEnMayusculas();
    void acentosYEnie();
    void numericoSoloDigitosYRetroceso();
    void teclasDeVentanaSiguenPasando();
    void pegarEnNumericoDejaDigitos();
    void pegarEnTextoDejaMayusculas();
    void pegarRespetaLargoMaximo();
    void pegarEnTextoLargo();
    void textoPuestoPorElPrograma();
};

void FiltrosTest::codigosDeTexto() {
    QCOMPARE(FiltroTexto('a'), int('A'));
    QCOMPARE(FiltroTexto('Z'), int('Z'));
    QCOMPARE(FiltroTexto(0xF1), 0xD1);  // ñ → Ñ
    QCOMPARE(FiltroTexto(0xE9), 0xC9);  // é → É
    QCOMPARE(FiltroTexto('7'), int('7'));
    QCOMPARE(FiltroTexto(' '), int(' '));
    QCOMPARE(FiltroTexto('.'), int('.'));
    QCOMPARE(FiltroTexto(CodigoRetroceso), CodigoRetroceso);
    QCOMPARE(FiltroTexto(CodigoEnter), 0);
    QCOMPARE(FiltroTexto(0), 0);
}

void FiltrosTest::codigosNumericos() {
    for (int d = '0'; d <= '9'; ++d) QCOMPARE(FiltroNumerico(d), d);
    QCOMPARE(FiltroNumerico(CodigoRetroceso), CodigoRetroceso);
    for (int c : {int('a'), int('Z'), int('.'), int('-'), int(' '), int('+'), 0xF1, CodigoEnter, 9})
        QCOMPARE(FiltroNumerico(c), 0);
}

void FiltrosTest::enterPasaUnControlAdelante() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    QSignalSpy devuelto(v.nombre, &QLineEdit::returnPressed);
    QSignalSpy pulsado(v.aceptar, &QPushButton::clicked);

    v.nombre->setFocus();
    QTest::keyClicks(v.nombre, QStringLiteral("ana"));
    QTest::keyClick(v.nombre, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), v.telefono);
    QCOMPARE(v.nombre->text(), QStringLiteral("ANA"));
    QCOMPARE(devuelto.count(), 0);

    QTest::keyClick(v.telefono, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), v.comentarios);
    QCOMPARE(pulsado.count(), 0);
    QVERIFY(v.dialogo.isVisible());
}

void FiltrosTest::enterEnTextoLargoNoHaceRenglon() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.comentarios->setFocus();
    QTest::keyClicks(v.comentarios, QStringLiteral("sin cita"));
    QTest::keyClick(v.comentarios, Qt::Key_Return);
    QCOMPARE(v.comentarios->toPlainText(), QStringLiteral("SIN CITA"));
    QCOMPARE(QApplication::focusWidget(), v.libre);
}

void FiltrosTest::enterDesdeElUltimoCuadro() {
    // Like Tab: from the last box to the control after it, the button.
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    InstalarFiltroTexto(v.libre);
    v.libre->setFocus();
    QTest::keyClick(v.libre, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), v.aceptar);
}

void FiltrosTest::textoEnMayusculas() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.nombre->setFocus();
    QTest::keyClicks(v.nombre, QStringLiteral("de la o 2"));
    QCOMPARE(v.nombre->text(), QStringLiteral("DE LA O 2"));
    QTest::keyClick(v.nombre, Qt::Key_Backspace);
    QCOMPARE(v.nombre->text(), QStringLiteral("DE LA O "));

    // The unfiltered box keeps what is typed: the rule is the filter's, not the window's.
    v.libre->setFocus();
    QTest::keyClicks(v.libre, QStringLiteral("abc"));
    QCOMPARE(v.libre->text(), QStringLiteral("abc"));
}

void FiltrosTest::acentosYEnie() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.nombre->setFocus();
    for (QChar c : QStringLiteral("núñez é")) Teclear(v.nombre, c);
    QCOMPARE(v.nombre->text(), QStringLiteral("NÚÑEZ É"));

    v.comentarios->setFocus();
    for (QChar c : QStringLiteral("peña")) Teclear(v.comentarios, c);
    QCOMPARE(v.comentarios->toPlainText(), QStringLiteral("PEÑA"));
}

void FiltrosTest::numericoSoloDigitosYRetroceso() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.telefono->setFocus();
    QTest::keyClicks(v.telefono, QStringLiteral("6a1.4-4 x9+"));
    QCOMPARE(v.telefono->text(), QStringLiteral("61449"));
    Teclear(v.telefono, QChar(0xF1));
    QCOMPARE(v.telefono->text(), QStringLiteral("61449"));
    QTest::keyClick(v.telefono, Qt::Key_Backspace);
    QTest::keyClick(v.telefono, Qt::Key_Backspace);
    QCOMPARE(v.telefono->text(), QStringLiteral("614"));
    // Delete is a key, not a character: it still works.
    QTest::keyClick(v.telefono, Qt::Key_Home);
    QTest::keyClick(v.telefono, Qt::Key_Delete);
    QCOMPARE(v.telefono->text(), QStringLiteral("14"));
}

void FiltrosTest::teclasDeVentanaSiguenPasando() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.telefono->setFocus();
    QTest::keyClick(v.telefono, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), v.comentarios);

    // Ctrl+A still selects in a numeric box, so a digit replaces everything.
    v.telefono->setText(QStringLiteral("555"));
    v.telefono->setFocus();
    QTest::keyClick(v.telefono, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(v.telefono, Qt::Key_7);
    QCOMPARE(v.telefono->text(), QStringLiteral("7"));

    QSignalSpy rechazado(&v.dialogo, &QDialog::rejected);
    QTest::keyClick(v.telefono, Qt::Key_Escape);
    QCOMPARE(rechazado.count(), 1);
}

void FiltrosTest::pegarEnNumericoDejaDigitos() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.telefono->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("12a-3 4"));
    QTest::keyClick(v.telefono, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(v.telefono->text(), QStringLiteral("1234"));

    // Pasting from the context menu takes the other road (the validator).
    v.telefono->clear();
    QApplication::clipboard()->setText(QStringLiteral("(614) 410-55.00"));
    v.telefono->paste();
    QCOMPARE(v.telefono->text(), QStringLiteral("6144105500"));

    // Between digits, at the cursor.
    v.telefono->setText(QStringLiteral("19"));
    v.telefono->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("x2-3"));
    v.telefono->paste();
    QCOMPARE(v.telefono->text(), QStringLiteral("1239"));
    QCOMPARE(v.telefono->cursorPosition(), 3);
}

void FiltrosTest::pegarEnTextoDejaMayusculas() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.nombre->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("maría josé"));
    QTest::keyClick(v.nombre, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(v.nombre->text(), QStringLiteral("MARÍA JOSÉ"));

    v.nombre->clear();
    QApplication::clipboard()->setText(QStringLiteral("ibáñez"));
    v.nombre->paste();
    QCOMPARE(v.nombre->text(), QStringLiteral("IBÁÑEZ"));
}

void FiltrosTest::pegarRespetaLargoMaximo() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.telefono->setMaxLength(4);
    v.telefono->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("12a-3 4 5 6"));
    QTest::keyClick(v.telefono, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(v.telefono->text(), QStringLiteral("1234"));

    v.nombre->setMaxLength(5);
    v.nombre->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("gutiérrez"));
    QTest::keyClick(v.nombre, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(v.nombre->text(), QStringLiteral("GUTIÉ"));
    QTest::keyClick(v.nombre, Qt::Key_X);
    QCOMPARE(v.nombre->text(), QStringLiteral("GUTIÉ"));
}

void FiltrosTest::pegarEnTextoLargo() {
    Ventana v;
    QVERIFY(QTest::qWaitForWindowActive(&v.dialogo));
    v.comentarios->setFocus();
    QTest::keyClicks(v.comentarios, QStringLiteral("dice: "));
    QApplication::clipboard()->setText(QStringLiteral("no vive ahí"));
    QTest::keyClick(v.comentarios, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(v.comentarios->toPlainText(), QStringLiteral("DICE: NO VIVE AHÍ"));

    // From the context menu: upper-cased as well, and the cursor stays after the paste.
    QApplication::clipboard()->setText(QStringLiteral(" ok"));
    v.comentarios->paste();
    QCOMPARE(v.comentarios->toPlainText(), QStringLiteral("DICE: NO VIVE AHÍ OK"));
    QTest::keyClicks(v.comentarios, QStringLiteral("!"));
    QCOMPARE(v.comentarios->toPlainText(), QStringLiteral("DICE: NO VIVE AHÍ OK!"));
}

void FiltrosTest::textoPuestoPorElPrograma() {
    Ventana v;
    v.telefono->setText(QStringLiteral("12.50"));
    QCOMPARE(v.telefono->text(), QStringLiteral("1250"));
    v.nombre->setText(QStringLiteral("pérez"));
    QCOMPARE(v.nombre->text(), QStringLiteral("PÉREZ"));
    QLineEdit yaEscrita;
    yaEscrita.setText(QStringLiteral("a1b2"));
    InstalarFiltroNumerico(&yaEscrita);
    QCOMPARE(yaEscrita.text(), QStringLiteral("12"));
}

QTEST_MAIN(FiltrosTest)
#include "filtros_test.moc"
