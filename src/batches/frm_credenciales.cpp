#include "batches/frm_credenciales.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/controles.h"
#include "ui/ventana.h"

FrmCredenciales::FrmCredenciales(const QString& servidor, const QString& dominio, bool reintento,
                                 QWidget* parent)
    : QDialog(parent) {
    NombrarVentana(this, "FrmCredenciales", QStringLiteral("Inicio de Sesión"));

    QString texto = reintento ? QStringLiteral("El servidor no aceptó los datos. ") : QString();
    texto += QStringLiteral("Teclee su usuario y contraseña del servidor de reportes ") + servidor;
    if (!dominio.trimmed().isEmpty())
        texto += QStringLiteral(" (") + dominio.trimmed() + QLatin1Char(')');
    LblMensaje = new QLabel(texto, this);
    LblMensaje->setObjectName(QStringLiteral("LblMensaje"));
    LblMensaje->setWordWrap(true);
    LblMensaje->setTextFormat(Qt::PlainText);
    LblMensaje->setGeometry(RectTwips(120, 120, 5055, 615));

    auto* SkinLabel1 = new QLabel(QStringLiteral("&Usuario"), this);
    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    SkinLabel1->setGeometry(RectTwips(120, 840, 1215, 285));
    TxtUsuario = Control<QLineEdit>(this, "TxtUsuario", RectTwips(1440, 840, 3735, 285));
    SkinLabel1->setBuddy(TxtUsuario);

    auto* SkinLabel2 = new QLabel(QStringLiteral("C&ontraseña"), this);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    SkinLabel2->setGeometry(RectTwips(120, 1200, 1215, 285));
    TxtContrasena = new QLineEdit(this);
    TxtContrasena->setObjectName(QStringLiteral("TxtContrasena"));
    // The server's own password: typed as it is, never upper-cased.
    TxtContrasena->setEchoMode(QLineEdit::Password);
    TxtContrasena->setGeometry(RectTwips(1440, 1200, 3735, 285));
    SkinLabel2->setBuddy(TxtContrasena);

    CmdAceptar =
        Boton(this, "CmdAceptar", QStringLiteral("&Aceptar"), RectTwips(2640, 1680, 1215, 375));
    CmdAceptar->setDefault(true);
    CmdCancelar =
        Boton(this, "CmdCancelar", QStringLiteral("&Cancelar"), RectTwips(3960, 1680, 1215, 375));

    setTabOrder(TxtUsuario, TxtContrasena);
    setTabOrder(TxtContrasena, CmdAceptar);
    setTabOrder(CmdAceptar, CmdCancelar);
    connect(CmdAceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    PrepararVentana(this, 5295, 2175);
    TxtUsuario->setFocus();
}

QString FrmCredenciales::usuario() const { return TxtUsuario->text(); }
QString FrmCredenciales::contrasena() const { return TxtContrasena->text(); }
