#pragma once
// Asks for the reason of a rejection; the caller reads it from Global::ComentarioRechazo once
// the dialog is closed (empty when the user closed it without accepting).
#include <QDialog>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

class FrmComentarios : public QDialog {
    Q_OBJECT
public:
    explicit FrmComentarios(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QPlainTextEdit* TxtComentarios;
    QPushButton* CmdGuardar;

private:
    void CmdGuardar_Click();
};
