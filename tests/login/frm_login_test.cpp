// The login window driven with the keyboard against the embedded engine.
#include "login/frm_login.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include "base_prueba.h"
#include "db/embedded/motor_incrustado.h"
#include "servicios_falsos.h"
#include "startup/cifrado.h"
#include "startup/global.h"
#include "ventana_prueba.h"

namespace {

void Teclear(QWidget* w, const QString& texto) { QTest::keyClicks(w, texto); }
void Enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }

}  // namespace

class FrmLoginTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;

    void Personal(const QString& persona, const QString& apellidos, const QString& nombres,
                  const QString& contrasena) {
        base->sqlite(
            QStringLiteral("INSERT INTO personal (persona, apellidos, nombres, sucursal, "
                           "es_vendedor, es_verificador, contrasena) VALUES ('%1', '%2', "
                           "'%3', 1, 1, 0, '%4')")
                .arg(persona, apellidos, nombres,
                     Cifrar(contrasena, 1).replace(QLatin1Char('\''), QLatin1String("''"))));
    }

    std::unique_ptr<FrmLogin> Abrir() { return AbrirVentana<FrmLogin>(); }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>();
        servicios = std::make_unique<ServiciosFalsos>();
        base->sqlite(
            QStringLiteral("INSERT INTO sucursales (sucursal, nombre_sucursal, "
                           "centro_distribucion) VALUES ('1', 'MATRIZ', 'CHI')"));
        Personal(QStringLiteral("      5"), QStringLiteral("LOPEZ"), QStringLiteral("ANA"),
                 QStringLiteral("CLAVE5"));
        Personal(QStringLiteral(" 123456"), QStringLiteral("RUIZ"), QStringLiteral("LUIS"),
                 QStringLiteral("SEIS"));
        Personal(QStringLiteral("1234567"), QStringLiteral("SOTO"), QStringLiteral("EVA"),
                 QStringLiteral("SIETE"));
        Global::ClaveUsuario.clear();
    }
    void cleanup() {
        servicios.reset();
        base.reset();
    }

    void ventanaComoSeDiseno() {
        auto f = Abrir();
        QCOMPARE(f->windowTitle(), QStringLiteral("Entrada al Sistema"));
        QCOMPARE(f->CmdEntrar->text(), QStringLiteral("&Continuar"));
        QCOMPARE(f->TxtUsuario->maxLength(), 10);
        QCOMPARE(f->TxtConstrasena->echoMode(), QLineEdit::Password);
        QCOMPARE(f->TxtConstrasena->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                       nullptr, f->TxtConstrasena),
                 int('*'));
        QVERIFY(!f->TxtNombre->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f->TxtUsuario);
        QCOMPARE(f->findChild<QLabel*>("SkinLabel1")->text(), QStringLiteral("Usuario"));
        QCOMPARE(f->findChild<QLabel*>("SkinLabel2")->text(), QStringLiteral("Contraseña"));
    }

    void soloConElTecladoEntraAlSistema() {
        auto f = Abrir();
        Teclear(f->TxtUsuario, QStringLiteral("5"));
        Enter(f->TxtUsuario);
        QCOMPARE(QApplication::focusWidget(), f->TxtConstrasena);
        QCOMPARE(f->TxtNombre->text(), QStringLiteral("LOPEZ ANA"));
        QCOMPARE(Global::ClaveUsuario, QStringLiteral("      5"));
        QCOMPARE(base->enviadas,
                 QStringList{QStringLiteral(
                     "SELECT erp_oxa.dbo.nombre_persona('      5'), CAST( contrasena AS char( 20)) "
                     "FROM Personal WHERE persona='      5' ")});
        Teclear(f->TxtConstrasena, QStringLiteral("clave5"));
        QCOMPARE(f->TxtConstrasena->text(), QStringLiteral("CLAVE5"));
        Enter(f->TxtConstrasena);
        QCOMPARE(QApplication::focusWidget(), f->CmdEntrar);
        Enter(f->CmdEntrar);
        QVERIFY(f->entro());
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QVERIFY(servicios->mensajes.isEmpty());
        // The connection stays open for the capture window.
        QVERIFY(Global::Conexion.abierta());
    }

    void clavesDeUsuarioAlineadasALaDerecha_data() {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("un dígito") << "5"
                                   << "      5"
                                   << "LOPEZ ANA";
        QTest::newRow("seis dígitos") << "123456"
                                      << " 123456"
                                      << "RUIZ LUIS";
        QTest::newRow("siete dígitos") << "1234567"
                                       << "1234567"
                                       << "SOTO EVA";
    }
    void clavesDeUsuarioAlineadasALaDerecha() {
        QFETCH(QString, tecleado);
        QFETCH(QString, clave);
        QFETCH(QString, nombre);
        auto f = Abrir();
        Teclear(f->TxtUsuario, tecleado);
        Enter(f->TxtUsuario);
        QCOMPARE(Global::ClaveUsuario, clave);
        QCOMPARE(f->TxtNombre->text(), nombre);
    }

    void usuarioVacioNoBuscaYUsuarioInexistenteConservaElAnterior() {
        auto f = Abrir();
        Enter(f->TxtUsuario);
        QVERIFY(base->enviadas.isEmpty());
        f->TxtUsuario->setFocus();
        Teclear(f->TxtUsuario, QStringLiteral("5"));
        Enter(f->TxtUsuario);
        QCOMPARE(f->TxtNombre->text(), QStringLiteral("LOPEZ ANA"));
        f->TxtUsuario->setFocus();
        f->TxtUsuario->selectAll();
        Teclear(f->TxtUsuario, QStringLiteral("999"));
        Enter(f->TxtUsuario);
        QCOMPARE(base->enviadas.size(), 2);
        // Not found: the name and the password of the previous look-up stay.
        QCOMPARE(f->TxtNombre->text(), QStringLiteral("LOPEZ ANA"));
        Teclear(f->TxtConstrasena, QStringLiteral("CLAVE5"));
        f->CmdEntrar->click();
        QVERIFY(f->entro());
    }

    void tresContrasenasMalasYUnCuartoIntentoTermina() {
        auto f = Abrir();
        Teclear(f->TxtUsuario, QStringLiteral("5"));
        Enter(f->TxtUsuario);
        for (int i = 1; i <= 3; ++i) {
            f->TxtConstrasena->setFocus();
            f->TxtConstrasena->selectAll();
            Teclear(f->TxtConstrasena, QStringLiteral("MALA%1").arg(i));
            Enter(f->TxtConstrasena);
            Enter(f->CmdEntrar);
            QCOMPARE(servicios->mensajes.size(), i);
            QVERIFY(f->isVisible());
            QCOMPARE(f->TxtConstrasena->text(), QStringLiteral("MALA%1").arg(i));
        }
        for (const MensajeMostrado& m : servicios->mensajes) {
            QCOMPARE(m.icono, IconoMensaje::Critico);
            QCOMPARE(m.texto,
                     QStringLiteral("La Contraseña proporcionada No coincide con el Usuario!"));
            QCOMPARE(m.titulo, QStringLiteral("Contraseña Incorrecta"));
        }
        // The fourth press ends the program without looking at the password, even a right one.
        f->TxtConstrasena->setText(QStringLiteral("CLAVE5"));
        f->CmdEntrar->click();
        QCOMPARE(servicios->mensajes.size(), 3);
        QVERIFY(!f->isVisible());
        QVERIFY(!f->entro());
        QVERIFY(!Global::Conexion.abierta());
    }

    void sinUsuarioBuscadoTodaContrasenaSeRechaza() {
        auto f = Abrir();
        f->CmdEntrar->click();
        QCOMPARE(servicios->mensajes.size(), 1);
        Teclear(f->TxtConstrasena, QStringLiteral("X"));
        f->CmdEntrar->click();
        QCOMPARE(servicios->mensajes.size(), 2);
        QVERIFY(!f->entro());
    }

    void usuarioSinContrasenaGuardadaSeRechaza() {
        base->sqlite(
            QStringLiteral("INSERT INTO personal (persona, apellidos, nombres, sucursal, "
                           "contrasena) VALUES ('      8', 'SIN', 'CLAVE', 1, NULL)"));
        auto f = Abrir();
        Teclear(f->TxtUsuario, QStringLiteral("8"));
        Enter(f->TxtUsuario);
        QCOMPARE(f->TxtNombre->text(), QStringLiteral("SIN CLAVE"));
        Enter(f->TxtConstrasena);
        Enter(f->CmdEntrar);
        QCOMPARE(servicios->mensajes.size(), 1);
        QVERIFY(!f->entro());
    }

    void cerrarLaVentanaTerminaElPrograma() {
        auto f = Abrir();
        f->close();
        QVERIFY(!f->isVisible());
        QVERIFY(!f->entro());
        QVERIFY(!Global::Conexion.abierta());
    }

    void escapeNoCierra() {
        auto f = Abrir();
        QTest::keyClick(f->TxtUsuario, Qt::Key_Escape);
        QVERIFY(f->isVisible());
        QVERIFY(Global::Conexion.abierta());
    }

    void pegarEnElUsuarioDejaSoloDigitos() {
        auto f = Abrir();
        QApplication::clipboard()->setText(QStringLiteral("5' OR 'x'='x"));
        f->TxtUsuario->paste();
        QCOMPARE(f->TxtUsuario->text(), QStringLiteral("5"));
        Enter(f->TxtUsuario);
        QCOMPARE(f->TxtNombre->text(), QStringLiteral("LOPEZ ANA"));
    }

    void unaComillaEnLaContrasenaNoRompeNada() {
        Personal(QStringLiteral("      9"), QStringLiteral("DE LA O"), QStringLiteral("JOSE"),
                 QStringLiteral("O'NEIL"));
        auto f = Abrir();
        Teclear(f->TxtUsuario, QStringLiteral("9"));
        Enter(f->TxtUsuario);
        Teclear(f->TxtConstrasena, QStringLiteral("o'neil"));
        Enter(f->TxtConstrasena);
        Enter(f->CmdEntrar);
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(f->entro());
    }

    void unErrorDeLaBaseSeMuestraYLaVentanaSigue() {
        auto f = Abrir();
        Teclear(f->TxtUsuario, QStringLiteral("5"));
        base->sqlite(QStringLiteral("DROP TABLE personal"));
        Enter(f->TxtUsuario);
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(
            servicios->mensajes[0].texto.contains(QStringLiteral("personal"), Qt::CaseInsensitive),
            qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->isVisible());
        QCOMPARE(f->TxtUsuario->text(), QStringLiteral("5"));
    }

    void basesRecienCreadasVaciasLoDicenUnaVez() {
        // A configuration whose data folder was mistyped: the engine creates it empty.
        QTemporaryDir otra;
        const QString carpeta = otra.filePath(QStringLiteral("datoz"));
        QDir().mkpath(carpeta);
        Global::Conexion.abrir(std::make_unique<db::MotorIncrustado>(carpeta));
        auto f = Abrir();
        for (const char* usuario : {"5", "7"}) {
            f->TxtUsuario->setFocus();
            f->TxtUsuario->selectAll();
            Teclear(f->TxtUsuario, QString::fromLatin1(usuario));
            Enter(f->TxtUsuario);
        }
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QVERIFY2(servicios->mensajes[0].texto.startsWith(
                     QStringLiteral("No había bases de datos en ") + carpeta +
                     QStringLiteral(" y se crearon vacías")),
                 qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->TxtNombre->text().isEmpty());
    }
};

QTEST_MAIN(FrmLoginTest)
#include "frm_login_test.moc"
