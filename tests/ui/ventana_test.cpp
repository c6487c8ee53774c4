// What every window does when it loads: its size from twips, its place on the screen, the
// skin, the keyboard in its first control, the hourglass; and the date picker.
#include "ui/ventana.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <tuple>

#include "ui/selector_fecha.h"
#include "ui/traducciones.h"

namespace {

QStringList avisosDeEstilo;

void RecogerAvisos(QtMsgType, const QMessageLogContext&, const QString& mensaje) {
    if (mensaje.contains(QLatin1String("style"), Qt::CaseInsensitive) ||
        mensaje.contains(QLatin1String("parse"), Qt::CaseInsensitive))
        avisosDeEstilo.append(mensaje);
}

}  // namespace

class VentanaTest : public QObject {
    Q_OBJECT
  private slots:
    void medidasEnTwips();
    void tamanoDeLaVentana();
    void tamanoFijo();
    void lugarEnLaPantalla();
    void pielDesdeLaCarpetaDelPrograma();
    void sinPielQuedaComoEstaba();
    void pielSeLeeSinErrores();
    void tecladoEnElPrimerControl();
    void cursorDeEspera();
    void selectorDeFecha();
    void tabSaleDelSelectorDeFecha();
    void menuDeUnaCajaConShiftF10();
    void textosDeQtEnEspanol();
};

void VentanaTest::medidasEnTwips() {
    // At the design's own size a twip is a fifteenth of a pixel; a wider or taller font
    // grows the whole layout by the same factor, never shrinks it.
    const double escala = EscalaDiseno();
    QVERIFY(escala >= 1.0);
    QCOMPARE(Pixeles(5625), qRound(375 * escala));
    QCOMPARE(RectTwips(1080, 120, 975, 285), QRect(qRound(72 * escala), qRound(8 * escala),
                                                   qRound(65 * escala), qRound(19 * escala)));
    QFont pequena = QApplication::font();
    pequena.setPixelSize(6);
    QCOMPARE(EscalaDiseno(pequena), 1.0);
    QFont grande = QApplication::font();
    grande.setPixelSize(26);
    QVERIFY(EscalaDiseno(grande) >= 2.0);
    QVERIFY(EscalaDiseno(grande) > EscalaDiseno(QApplication::font()));
}

void VentanaTest::tamanoDeLaVentana() {
    QDialog captura;
    PrepararVentana(&captura, 9930, 7185);
    const QSize diseno(Pixeles(9930), Pixeles(7185));
    const QSize libre = captura.screen()->availableGeometry().size();
    // As designed where it fits; otherwise no larger than the screen.
    if (diseno.width() + 40 <= libre.width() && diseno.height() + 80 <= libre.height())
        QCOMPARE(captura.size(), diseno);
    QVERIFY(captura.width() <= libre.width() && captura.height() <= libre.height());
    // A sizable window can still be resized by the user.
    QVERIFY(captura.maximumWidth() > Pixeles(9930));
}

void VentanaTest::tamanoFijo() {
    QDialog login;
    login.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    PrepararVentana(&login, 5625, 945);
    QCOMPARE(login.size(), QSize(Pixeles(5625), Pixeles(945)));
    QCOMPARE(login.minimumSize(), QSize(Pixeles(5625), Pixeles(945)));
    QCOMPARE(login.maximumSize(), QSize(Pixeles(5625), Pixeles(945)));
}

void VentanaTest::lugarEnLaPantalla() {
    QDialog ventana;
    PrepararVentana(&ventana, 9195, 8175);
    const QRect libre = ventana.screen()->availableGeometry();
    QVERIFY(libre.contains(ventana.pos()));

    // Placed again once shown, with its frame known.
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    ColocarVentana(&ventana);
    const QRect marco = ventana.frameGeometry();
    QCOMPARE(marco.x(), libre.x() + (libre.width() - marco.width()) / 2);
    QCOMPARE(marco.y(), libre.y() + (libre.height() - marco.height()) / 4);
}

void VentanaTest::pielDesdeLaCarpetaDelPrograma() {
    QFile piel(RutaPiel());
    QCOMPARE(QFileInfo(piel).absolutePath(), QCoreApplication::applicationDirPath());
    QVERIFY2(piel.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(piel.fileName()));
    const QString hoja = QString::fromUtf8(piel.readAll());
    QVERIFY(!hoja.isEmpty());

    QDialog ventana;
    PrepararVentana(&ventana, 4680, 2385);
    QCOMPARE(ventana.styleSheet(), hoja);
}

void VentanaTest::sinPielQuedaComoEstaba() {
    QTemporaryDir vacia;
    QDialog ventana;
    auto* caja = new QLineEdit(&ventana);
    const QColor antes = caja->palette().color(QPalette::Base);
    QVERIFY(!AplicarPiel(&ventana, vacia.path()));
    QVERIFY(ventana.styleSheet().isEmpty());
    QCOMPARE(caja->palette().color(QPalette::Base), antes);

    QFile otra(QDir(vacia.path()).filePath(QStringLiteral("Msn2008.skn")));
    QVERIFY(otra.open(QIODevice::WriteOnly));
    otra.write("QDialog { background-color: #123456; }");
    otra.close();
    QVERIFY(AplicarPiel(&ventana, vacia.path()));
    ventana.ensurePolished();
    QCOMPARE(ventana.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
}

void VentanaTest::pielSeLeeSinErrores() {
    // Qt tells of a style sheet it cannot read only through its log.
    avisosDeEstilo.clear();
    const QtMessageHandler anterior = qInstallMessageHandler(RecogerAvisos);
    QDialog ventana;
    auto* capas = new QVBoxLayout(&ventana);
    auto* caja = new QLineEdit(&ventana);
    capas->addWidget(caja);
    capas->addWidget(new SelectorFecha(&ventana));
    capas->addWidget(new QPushButton(QStringLiteral("&Guardar"), &ventana));
    PrepararVentana(&ventana, 4680, 2385);
    ventana.show();
    const bool expuesta = QTest::qWaitForWindowExposed(&ventana);
    ventana.grab();
    qInstallMessageHandler(anterior);
    QVERIFY(expuesta);
    QVERIFY2(avisosDeEstilo.isEmpty(), qPrintable(avisosDeEstilo.join(QLatin1Char('\n'))));
    // The skin is in use: a box does not keep the platform's plain white.
    QVERIFY(!ventana.styleSheet().isEmpty());
    QCOMPARE(ventana.palette().color(QPalette::Window), QColor(0xe4, 0xeb, 0xf3));
}

void VentanaTest::tecladoEnElPrimerControl() {
    QDialog otra;
    otra.show();
    QVERIFY(QTest::qWaitForWindowActive(&otra));

    QDialog ventana;
    auto* capas = new QVBoxLayout(&ventana);
    auto* usuario = new QLineEdit(&ventana);
    auto* contrasena = new QLineEdit(&ventana);
    capas->addWidget(usuario);
    capas->addWidget(contrasena);
    PrepararVentana(&ventana, 5625, 945);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    QCOMPARE(QApplication::focusWidget(), usuario);
}

void VentanaTest::cursorDeEspera() {
    QVERIFY(!QGuiApplication::overrideCursor());
    {
        CursorEspera espera;
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CursorEspera otra;
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(QGuiApplication::overrideCursor());
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

void VentanaTest::selectorDeFecha() {
    SelectorFecha fecha;
    QCOMPARE(fecha.fecha(), QDate::currentDate());
    QVERIFY(fecha.calendarPopup());
    fecha.ponerFecha(QDate(2024, 3, 5));
    QCOMPARE(fecha.fecha(), QDate(2024, 3, 5));
    QCOMPARE(fecha.text(), QStringLiteral("05/03/2024"));

    // Keyboard: the day under the cursor goes up with the arrow key.
    fecha.show();
    QVERIFY(QTest::qWaitForWindowActive(&fecha));
    fecha.setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(&fecha, Qt::Key_Up);
    QCOMPARE(fecha.fecha(), QDate(2024, 3, 6));
    QCOMPARE(fecha.text(), QStringLiteral("06/03/2024"));
    // Right and Left go a whole part at a time; Up then changes the part reached.
    QTest::keyClick(&fecha, Qt::Key_Right);
    QCOMPARE(fecha.currentSection(), QDateTimeEdit::MonthSection);
    QTest::keyClick(&fecha, Qt::Key_Right);
    QTest::keyClick(&fecha, Qt::Key_Up);
    QCOMPARE(fecha.fecha(), QDate(2025, 3, 6));
    QTest::keyClick(&fecha, Qt::Key_Left);
    QTest::keyClick(&fecha, Qt::Key_Up);
    QCOMPARE(fecha.fecha(), QDate(2025, 4, 6));
}

void VentanaTest::tabSaleDelSelectorDeFecha() {
    // From any part of the date, Tab and Shift+Tab go to the neighbouring controls.
    QDialog ventana;
    auto* antes = new QLineEdit(&ventana);
    auto* fecha = new SelectorFecha(&ventana);
    auto* despues = new QPushButton(QStringLiteral("&Consultar"), &ventana);
    auto* capas = new QVBoxLayout(&ventana);
    for (QWidget* w : {static_cast<QWidget*>(antes), static_cast<QWidget*>(fecha),
                       static_cast<QWidget*>(despues)})
        capas->addWidget(w);
    PrepararVentana(&ventana, 4500, 2000);
    bool pulsado = false;
    QObject::connect(despues, &QPushButton::clicked, [&] { pulsado = true; });
    ventana.show();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    for (auto seccion :
         {QDateTimeEdit::DaySection, QDateTimeEdit::MonthSection, QDateTimeEdit::YearSection}) {
        fecha->setFocus();
        fecha->setCurrentSection(seccion);
        QTest::keyClick(fecha, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), despues);
        fecha->setFocus();
        fecha->setCurrentSection(seccion);
        QTest::keyClick(fecha, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), antes);
    }
    // Enter in the date presses no button; Enter on the button does.
    fecha->setFocus();
    QTest::keyClick(fecha, Qt::Key_Return);
    QVERIFY(!pulsado);
    QVERIFY(ventana.isVisible());
    despues->setFocus();
    QTest::keyClick(despues, Qt::Key_Return);
    QVERIFY(pulsado);
    // Into 05/03/2024 from the box before (Tab) or the button after (Shift+Tab): F4 and Alt+Down
    // open the calendar, digits fill day, month and year in turn, slashes or not.
    const std::tuple<bool, const char*, QDate> casos[] = {
        {false, "F4", {2024, 3, 5}},          {true, "AltDown", {2024, 3, 5}},
        {true, "28", {2024, 3, 28}},          {false, "25112026", {2026, 11, 25}},
        {true, "25/11/2026", {2026, 11, 25}}, {false, "5/1/2026", {2026, 1, 5}}};
    for (const auto& [atras, teclas, dia] : casos) {
        fecha->ponerFecha(QDate(2024, 3, 5));
        (atras ? static_cast<QWidget*>(despues) : antes)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), atras ? Qt::Key_Backtab : Qt::Key_Tab,
                        atras ? Qt::ShiftModifier : Qt::NoModifier);
        const bool abre = !QChar(QLatin1Char(teclas[0])).isDigit();
        if (abre)
            QTest::keyClick(fecha, teclas[0] == 'F' ? Qt::Key_F4 : Qt::Key_Down,
                            teclas[0] == 'F' ? Qt::NoModifier : Qt::AltModifier);
        else
            QTest::keyClicks(fecha, QLatin1String(teclas));
        QCOMPARE(fecha->calendarWidget()->isVisible(), abre);
        fecha->calendarWidget()->window()->close();
        QTest::keyClick(fecha, Qt::Key_Tab);
        QCOMPARE(fecha->fecha(), dia);
    }
}

void VentanaTest::menuDeUnaCajaConShiftF10() {
    QLineEdit caja;
    PrepararVentana(&caja, 3000, 300);
    caja.show();
    QVERIFY(QTest::qWaitForWindowActive(&caja));
    QTest::keyClick(&caja, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    QApplication::activePopupWidget()->close();
}

void VentanaTest::textosDeQtEnEspanol() {
    QVERIFY(InstalarTraduccionesQt());
    QLineEdit caja;
    std::unique_ptr<QMenu> menu(caja.createStandardContextMenu());
    QStringList entradas;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            entradas << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    QVERIFY2(
        entradas.contains(QStringLiteral("Deshacer")) && entradas.contains(QStringLiteral("Pegar")),
        qPrintable(entradas.join(QLatin1Char('|'))));
    QDialogButtonBox botones(QDialogButtonBox::Cancel);
    QCOMPARE(botones.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Cancelar"));
}

QTEST_MAIN(VentanaTest)
#include "ventana_test.moc"
