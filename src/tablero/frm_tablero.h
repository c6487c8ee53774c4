#pragma once
// The office at a glance for the running branch's distribution centre: between two dates (the
// last 30 days at first), the applications by state per branch, captured per day beside the
// batches delivered, pending by age (each number opens its list), the verifiers' times and
// the rejection rates. Every chart has its table under it, as every list of the program
// ("Copiar", "Exportar a Excel…"), and is saved as a picture; the whole prints to PDF.
#include <QDialog>
#include <array>
#include <optional>

#include "tablero/cifras_tablero.h"

QT_BEGIN_NAMESPACE
class QBarSet;
class QChart;
class QChartView;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTabWidget;
QT_END_NAMESPACE
class Rejilla;
class SelectorFecha;

class FrmTablero : public QDialog {
    Q_OBJECT
  public:
    explicit FrmTablero(QWidget* parent = nullptr);

    SelectorFecha* DtpDel;
    SelectorFecha* DtpAl;
    QPushButton* CmdConsultar;
    QPushButton* CmdImprimir;
    QTabWidget* Paginas;

    // One page per chart: the chart, its table, its picture button.
    struct Pagina {
        QString titulo;
        QChartView* grafica = nullptr;
        Rejilla* tabla = nullptr;
        QPushButton* CmdImagen = nullptr;
        QHBoxLayout* pie = nullptr;  // the row of its buttons
        bool dibujada = false;       // its chart shows the figures read last
    };
    enum { Estados, Captura, Pendientes, Tiempos, RechazoSucursal, RechazoVendedor, NumPaginas };
    std::array<Pagina, NumPaginas> paginas;
    // The pending applications' numbers, one button per age.
    std::array<QPushButton*, tablero::kTramos.size()> CmdTramos{};

    void Consultar();
    // The list of the pending applications of one age.
    void AbrirPendientes(int tramo);
    // The whole dashboard on letter paper; false, and the reason in `error`, when it fails.
    bool EscribirPdf(const QString& ruta, QString* error) const;

    const std::optional<tablero::Cifras>& cifras() const { return cifras_; }

  private:
    Pagina& crearPagina(int k, const QString& titulo, const QString& nombreTabla);
    void mostrar(const tablero::Cifras& c);
    void dibujar(int k);
    void guardarImagen(int k);
    void imprimir();

    std::optional<tablero::Cifras> cifras_;
};
