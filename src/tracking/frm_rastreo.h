#pragma once
// Screens every application of the capture window's grid while the window loads: bad-record
// customers and guarantors reject the application (row painted red), guarantors who already
// are credit customers or guarantors and telephones shared with other customers flag it
// (row painted yellow). The window lists what it found.
#include <QDialog>
#include <QPointer>
#include <optional>

#include "db/solicitud_actual.h"

class QGroupBox;
class Rejilla;

class FrmRastreo : public QDialog {
    Q_OBJECT
  public:
    // `capturaGrid` is the capture window's list of entered applications (columns: 1 number,
    // 2 branch, 3 customer number, 4 customer name, 5 amount, 6 salesperson); its rows are
    // screened here, before the window is shown, and painted.
    explicit FrmRastreo(Rejilla* capturaGrid, QWidget* parent = nullptr);

    QGroupBox* Frame1;
    Rejilla* iClientes;
    QGroupBox* Frame2;
    Rejilla* IAvales;
    QGroupBox* Frame3;
    Rejilla* ITelefonos;

  private:
    void ArmarRejillas();
    void Rastrear();
    // False when a rejection was refused: the row is left as it is.
    bool RevisarCliente(qint64 solicitud, qint64 cliente);
    bool RevisarAval(qint64 solicitud);
    void RevisarTelefono(qint64 solicitud);
    // True when the application's row changed; otherwise the clerk is told where it is now.
    bool RechazarSolicitud(qint64 solicitud);
    void AgregarAval();
    void PintarRenglon(const QString& color, int fila);

    QPointer<Rejilla> captura_;
    // The application being screened as read when it first came to be rejected.
    std::optional<db::SolicitudActual> visto_;

    // The row being screened and what was found for it.
    double RenglonActual = 0;
    double ClienteActual = 0;
    double RegistrosClientes = 0;
    double RegistrosAvales = 0;
    double ClienteAval = 0;
    QString AvalDe;
    bool Incobrable = false;
    bool EsAval = false;
};
