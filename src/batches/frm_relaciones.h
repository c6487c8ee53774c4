#pragma once
// Verification batches. Above, the pending applications of the distribution centre: a verifier
// is chosen, applications are ticked, and "&Guardar" hands them over as a new numbered batch
// whose report is then printed. Below, the batches delivered between two dates, any of which a
// double-click prints again.
#include <QDialog>

#include "startup/texto_fijo.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class Rejilla;
class SelectorFecha;

class FrmRelaciones : public QDialog {
    Q_OBJECT
  public:
    explicit FrmRelaciones(QWidget* parent = nullptr);

    QGroupBox* Frame2;
    QLabel* SkinLabel1;
    QComboBox* CmbVerificadores;
    QLabel* SkinLabel2;
    SelectorFecha* DtpFecha;
    Rejilla* ISolicitudes;
    QPushButton* CmdGuardar;

    QGroupBox* Frame1;
    QLabel* SkinLabel4;
    SelectorFecha* DtpFecha1;
    QLabel* SkinLabel3;
    SelectorFecha* DtpFecha2;
    QPushButton* CmdConsultar;
    Rejilla* iRelaciones;

    // Rows written into ISolicitudes by the last load of the pending list.
    double contadorFilas() const { return ContadorFilas; }
    // The key of the verifier chosen here, as personal stores it: the batch is his.
    QString clavePersona() const { return ClavePersona; }
    // Loads the pending list again (the window's load and a saved batch do it).
    void CargarPendientes();

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void PrepararPendientes();
    void CargarVerificadores();
    void ConsultarRelaciones();

    void CmbVerificadores_LostFocus();
    void CmdGuardar_Click();
    void iRelaciones_DblClick(int fila);
    // Header, number and lines in one unit of work; false (everything undone, the user told)
    // when the batch could not be created whole.
    bool GuardarRelacion();
    void AbrirReporte();
    // Tells which applications another station took meanwhile, and where they are now; the
    // pending list is then loaded again.
    void AvisarTomadas(const QList<long long>& tomadas);

    double ContadorFilas = 0;
    // Where the batch list put its column "Relación"; found once per search.
    int columnaRelacion_ = 1;
    // The window's own: the capture window keeps its salesperson in Global's.
    TextoFijo<7> ClavePersona;
};
