#include "login/frm_login.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "capture/frm_captura.h"
#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "login/sentencias_entrada.h"
#include "startup/cifrado.h"
#include "startup/global.h"
#include "ui/controles.h"
#include "ui/filtros.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

// Blanks only: an enciphered value may begin or end with any other code.
QString RecortarBlancos(const QString& s) {
    int ini = 0, fin = s.size();
    while (ini < fin && s[ini] == QLatin1Char(' ')) ++ini;
    while (fin > ini && s[fin - 1] == QLatin1Char(' ')) --fin;
    return s.mid(ini, fin - ini);
}

}  // namespace

FrmLogin::FrmLogin(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmLogin", QStringLiteral("Entrada al Sistema"));

    auto* SkinLabel1 =
        Etiqueta(this, "SkinLabel1", QStringLiteral("Usuario"), RectTwips(120, 120, 900, 285));
    TxtUsuario = Caja(this, "TxtUsuario", 10, RectTwips(1080, 120, 975, 285));
    SkinLabel1->setBuddy(TxtUsuario);

    TxtNombre = Control<QLineEdit>(this, "TxtNombre", RectTwips(2160, 120, 3375, 285));
    TxtNombre->setEnabled(false);

    auto* SkinLabel2 =
        Etiqueta(this, "SkinLabel2", QStringLiteral("Contraseña"), RectTwips(120, 480, 900, 285));
    TxtConstrasena = Control<QLineEdit>(this, "TxtConstrasena", RectTwips(1080, 480, 2655, 285));
    // Its mark is the one of every password box (PrepararVentana).
    TxtConstrasena->setEchoMode(QLineEdit::Password);
    SkinLabel2->setBuddy(TxtConstrasena);

    CmdEntrar =
        Boton(this, "CmdEntrar", QStringLiteral("&Continuar"), RectTwips(4440, 480, 1095, 375));

    setTabOrder(TxtUsuario, TxtNombre);
    setTabOrder(TxtNombre, TxtConstrasena);
    setTabOrder(TxtConstrasena, CmdEntrar);

    InstalarFiltroNumerico(TxtUsuario);
    InstalarFiltroTexto(TxtConstrasena);
    TxtUsuario->installEventFilter(this);
    connect(CmdEntrar, &QPushButton::clicked, this, &FrmLogin::CmdEntrar_Click);

    PrepararVentana(this, 5625, 945);
    TxtUsuario->setFocus();
}

bool FrmLogin::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == TxtUsuario && evento->type() == QEvent::FocusOut) {
        // Leaving the box for another control looks the user up; switching to another
        // application or opening a menu is not leaving it.
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) BuscarUsuario();
    }
    return QDialog::eventFilter(objeto, evento);
}

void FrmLogin::keyPressEvent(QKeyEvent* evento) {
    // Escape would close the window and end the program; only the close box does that.
    if (evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void FrmLogin::BuscarUsuario() {
    CursorEspera espera;
    const QString texto = TxtUsuario->text();
    if (texto.isEmpty()) return;
    const int largo = texto.trimmed().size();
    Global::ClaveUsuario =
        largo >= 1 && largo <= 6 ? QString(7 - largo, QLatin1Char(' ')) + texto : texto;
    Global::CadenaSql = entrada::SentenciaPersona(Global::ClaveUsuario);
    try {
        db::Recordset& r = Global::Registros;
        r.abrir(Global::CadenaSql, Global::Conexion);
        if (!(r.bof() && r.eof())) {
            using entrada::Persona;
            const db::Lectura columnas(r, entrada::kColumnasPersona);
            TxtNombre->setText(columnas.campo(r, Persona::Nombre).toString());
            ContrasenaGuardada =
                Cifrar(RecortarBlancos(columnas.campo(r, Persona::Contrasena).toString()), 0);
        } else {
            AvisarBasesVacias();
        }
        Global::Registros.cerrar();
    } catch (const db::ErrorBD& e) {
        Global::Registros.cerrar();
        MensajeErrorBD(e);
    }
}

void FrmLogin::AvisarBasesVacias() {
    // An embedded engine pointed at a folder without its databases makes them empty: no user
    // can enter, and a wrong password alone would not say why.
    const auto* motor = dynamic_cast<const db::MotorIncrustado*>(Global::Conexion.motor());
    if (avisoBasesVacias_ || !motor || !motor->creadaVacia()) return;
    avisoBasesVacias_ = true;
    MensajeInformacion(
        QStringLiteral("No había bases de datos en ") + motor->carpeta() +
            QStringLiteral(" y se crearon vacías: todavía no hay usuarios.\r\n"
                           "Revise la carpeta de datos (server_SQL) de la configuración, o cree "
                           "una demostración con: solicitudes --crear-demo CARPETA"),
        QStringLiteral("Entrada al Sistema"));
}

void FrmLogin::CmdEntrar_Click() {
    if (Intentos >= 3) {
        SalirAlCerrar = true;
        reject();
        return;
    }
    if (!ContrasenaGuardada.isEmpty() && ContrasenaGuardada == TxtConstrasena->text()) {
        SalirAlCerrar = false;
        accept();
        return;
    }
    SalirAlCerrar = true;
    MensajeError(QStringLiteral("La Contraseña proporcionada No coincide con el Usuario!"),
                 QStringLiteral("Contraseña Incorrecta"));
    ++Intentos;
}

void FrmLogin::done(int resultado) {
    // Closing the window without a correct password ends the program.
    if (SalirAlCerrar) Global::Desconectar();
    QDialog::done(resultado);
}

void MostrarLogin() {
    bool entro = false;
    {
        FrmLogin login;
        Servicios().mostrarModal(login);
        entro = login.entro();
    }
    if (!entro) return;
    FrmCaptura captura;
    if (captura.puedeContinuar()) Servicios().mostrarModal(captura);
}
