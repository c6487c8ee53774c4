#pragma once
// Applications of the centre that are in no batch, listed by reception date: a double-click
// rejects a received one with a comment, or puts any other back to "Recibida".
#include <QDialog>
#include <QPair>
#include <QVariant>

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
    void Rechazar(int fila, qint64 solicitud);
    void Reactivar(int fila, qint64 solicitud, const QVariant& estado);
    // Runs the update: Hecha only when it changed the application's row. Otherwise the clerk
    // is told why and, when another station changed it, the list is searched again.
    enum class Escritura { Hecha, Cambiada, Fallida };
    Escritura Escribir(const QString& sql, qint64 solicitud);

    // The comment of a rejection that failed or was cancelled, for the same application's next
    // try.
    QPair<qint64, QString> comentarioPendiente_{0, QString()};
    // Where the search put the application's number and its state; found once per search.
    int columnaSolicitud_ = 1;
    int columnaEstado_ = 5;
};
