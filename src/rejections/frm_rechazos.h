#pragma once
// Applications of the centre that are in no batch, listed by reception date: a double-click
// rejects a received one with a comment, or puts any other back to "Recibida".
#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class Rejilla;
class SelectorFecha;

class FrmRechazos : public QDialog {
    Q_OBJECT
public:
    explicit FrmRechazos(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLabel* SkinLabel1;
    SelectorFecha* DtpFecha1;
    QLabel* SkinLabel2;
    SelectorFecha* DtpFecha2;
    QPushButton* CmdConsultar;
    Rejilla* iSolicitudes;

    void ConsultarSolicitudes();

private:
    void iSolicitudes_DobleClic(int fila, int columna);
    void Rechazar(int fila, const QString& solicitud);
    void Reactivar(int fila, const QString& solicitud);
};
