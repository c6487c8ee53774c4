#pragma once
// Long work on the interface's thread: a list load, the tracking run, a wait for another
// station's lock. Once it has taken a moment it shows in its window how far it has got (rows
// read, a bar when the total is known) with "Detener"; Escape stops it too. Meanwhile the keys
// typed are held and given to the window afterwards, in order, and other clicks are dropped,
// so that nothing the clerk does starts a statement inside another.
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class QWidget;
class PanelTrabajo;

namespace db {
class Conexion;
}

// Thrown from a row loop (PulsoEventos) when the clerk stopped the work.
struct TrabajoDetenido {};

class TrabajoLargo {
  public:
    // `total`: how many steps the work has, 0 when unknown. The progress shows in `ventana`,
    // or, while that one is not on screen yet, in the window in front of it.
    explicit TrabajoLargo(QWidget* ventana, int total = 0);
    ~TrabajoLargo();
    TrabajoLargo(const TrabajoLargo&) = delete;
    TrabajoLargo& operator=(const TrabajoLargo&) = delete;

    // Lets the window events run (the clerk's input held); `hechas` the steps done so far
    // (negative: unchanged). True once the clerk has stopped the work. Never throws.
    bool atender(int hechas = -1);
    bool detenido() const { return detenido_; }
    void detener();
    // What the work is doing now, shown at once ("Esperando…"); empty: its progress again.
    void decir(const QString& texto);

    // The innermost work under way; null when none.
    static TrabajoLargo* Actual();
    // How long a work runs before its progress shows.
    static inline int UmbralMs = 300;

  private:
    friend class FiltroTrabajo;
    QWidget* donde() const;
    void mostrar();
    void actualizar();
    void retener(const QKeyEvent& tecla) { teclas_.emplace_back(tecla.clone()); }
    bool esDelPanel(QObject* objeto) const;

    QPointer<QWidget> ventana_;
    QPointer<PanelTrabajo> panel_;
    QElapsedTimer reloj_;
    std::vector<std::unique_ptr<QKeyEvent>> teclas_;
    QString aviso_;
    int total_ = 0;
    int hechas_ = 0;
    bool detenido_ = false;
};

// The program's windows during long statements and lock waits on `conexion`: they repaint,
// show what they wait for, and can be stopped as a long work.
void AtenderTrabajosLargos(db::Conexion& conexion);
