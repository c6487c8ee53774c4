#pragma once
// The report server's log-in: asked when the server wants to know who is printing.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class FrmCredenciales : public QDialog {
    Q_OBJECT
  public:
    // `servidor` and `dominio` (the realm the server names, may be empty) are shown to the
    // user; `reintento` says that the data typed before were refused.
    FrmCredenciales(const QString& servidor, const QString& dominio, bool reintento,
                    QWidget* parent = nullptr);

    QLabel* LblMensaje;
    QLineEdit* TxtUsuario;
    QLineEdit* TxtContrasena;
    QPushButton* CmdAceptar;
    QPushButton* CmdCancelar;

    QString usuario() const;
    QString contrasena() const;
};
