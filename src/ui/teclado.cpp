#include "ui/teclado.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

bool HayInterfazGrafica() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

int pulsosEnCurso = 0;

// The keyboard held for one window while it opens. It lives from PrepararVentana until the
// window is on screen with the keyboard (or is hidden, or never shows).
class Retencion : public QObject {
  public:
    enum class Decision { NoEsMia, Pasa, Tomada };

    explicit Retencion(QWidget* ventana);
    ~Retencion() override;

    // What becomes of an input event for a control of `destino` (a top-level window).
    Decision decidir(QWidget* destino, QEvent* evento);
    QWidget* ventana() const { return ventana_; }

    static std::vector<Retencion*>& Todas() {
        static std::vector<Retencion*> todas;
        return todas;
    }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void entregar();
    void reproducir();
    void terminar();

    QPointer<QWidget> ventana_;
    // The windows in front when this one started to open: the clerk was typing at them.
    std::vector<QPointer<QWidget>> debajo_;
    std::vector<std::unique_ptr<QKeyEvent>> teclas_;
    QTimer revision_;
    bool mostrada_ = false;
    bool porReproducir_ = false;
    bool reproduciendo_ = false;
    bool terminada_ = false;
};

Retencion::Retencion(QWidget* ventana) : QObject(ventana), ventana_(ventana) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != ventana && w->isVisible()) debajo_.emplace_back(w);
    Todas().push_back(this);
    ventana->installEventFilter(this);
    // A window made and never shown lets go as soon as the program waits for the user again.
    revision_.setInterval(50);
    connect(&revision_, &QTimer::timeout, this, [this] {
        if (mostrada_)
            revision_.stop();
        else if (pulsosEnCurso == 0)
            terminar();
    });
    revision_.start();
}

Retencion::~Retencion() {
    auto& todas = Todas();
    todas.erase(std::remove(todas.begin(), todas.end(), this), todas.end());
}

Retencion::Decision Retencion::decidir(QWidget* destino, QEvent* evento) {
    const bool tecla = evento->type() == QEvent::KeyPress || evento->type() == QEvent::KeyRelease ||
                       evento->type() == QEvent::ShortcutOverride;
    if (destino == ventana_) {
        // Once on screen, the keys typed before it go first.
        if (!tecla || !porReproducir_ || reproduciendo_) return Decision::Pasa;
    } else if (std::find(debajo_.begin(), debajo_.end(), destino) == debajo_.end()) {
        return Decision::NoEsMia;
    }
    if (evento->type() == QEvent::ShortcutOverride) {
        // An access key of the window underneath is not pressed meanwhile.
        evento->accept();
    } else if (tecla) {
        teclas_.emplace_back(static_cast<QKeyEvent*>(evento)->clone());
    }
    return Decision::Tomada;
}

bool Retencion::eventFilter(QObject*, QEvent* evento) {
    switch (evento->type()) {
        case QEvent::Show:
            mostrada_ = true;
            // Without a window manager that activates it, the keys are given after a while.
            QTimer::singleShot(2000, this, [this] { entregar(); });
            break;
        case QEvent::WindowActivate:
            // The focus moves into the window right after this event.
            entregar();
            break;
        case QEvent::Hide:
            if (mostrada_ && !reproduciendo_) terminar();
            break;
        default:
            break;
    }
    return false;
}

void Retencion::entregar() {
    if (terminada_) return;
    if (teclas_.empty()) {
        terminar();
        return;
    }
    if (porReproducir_) return;
    porReproducir_ = true;
    QTimer::singleShot(0, this, [this] { reproducir(); });
}

void Retencion::reproducir() {
    QPointer<Retencion> yo(this);
    reproduciendo_ = true;
    EntregarTeclas(ventana_, std::move(teclas_));
    if (!yo) return;
    reproduciendo_ = false;
    terminar();
}

void Retencion::terminar() {
    if (terminada_) return;
    terminada_ = true;
    revision_.stop();
    // Keys for a window that did not come are dropped, never typed into another one.
    teclas_.clear();
    porReproducir_ = false;
    auto& todas = Todas();
    todas.erase(std::remove(todas.begin(), todas.end(), this), todas.end());
    if (ventana_) ventana_->removeEventFilter(this);
    deleteLater();
}

bool EsCajaDeTexto(QObject* objeto) {
    if (qobject_cast<QLineEdit*>(objeto) || qobject_cast<QAbstractSpinBox*>(objeto) ||
        qobject_cast<QTextEdit*>(objeto) || qobject_cast<QPlainTextEdit*>(objeto))
        return true;
    auto* lista = qobject_cast<QComboBox*>(objeto);
    return lista && lista->isEditable();
}

// One filter on the application for what the keyboard does in every window: the keys held
// for a window that opens, and Shift+F10 in text boxes.
class FiltroTeclado : public QObject {
  public:
    using QObject::QObject;
    static FiltroTeclado* Instalar() {
        static QPointer<FiltroTeclado> filtro;
        if (!filtro && QCoreApplication::instance()) {
            filtro = new FiltroTeclado(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(filtro);
        }
        return filtro;
    }
    bool menuConTeclado = false;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        switch (evento->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                break;
            default:
                return false;
        }
        if (!objeto->isWidgetType()) return false;
        auto* control = static_cast<QWidget*>(objeto);
        const auto& retenciones = Retencion::Todas();
        // The window that opened last decides first.
        for (auto r = retenciones.rbegin(); r != retenciones.rend(); ++r) {
            const Retencion::Decision d = (*r)->decidir(control->window(), evento);
            if (d == Retencion::Decision::Tomada) return true;
            if (d == Retencion::Decision::Pasa) break;
        }
        if (menuConTeclado && evento->type() == QEvent::KeyPress && EsCajaDeTexto(objeto)) {
            const auto* tecla = static_cast<QKeyEvent*>(evento);
            if (tecla->key() == Qt::Key_F10 && tecla->modifiers() == Qt::ShiftModifier) {
                const QRect cursor = control->inputMethodQuery(Qt::ImCursorRectangle).toRect();
                const QPoint donde = cursor.isValid() ? cursor.center() : control->rect().center();
                QContextMenuEvent menu(QContextMenuEvent::Keyboard, donde,
                                       control->mapToGlobal(donde));
                QCoreApplication::sendEvent(control, &menu);
                return true;
            }
        }
        return false;
    }
};

}  // namespace

void RetenerTecladoParaVentana(QWidget* ventana) {
    if (!ventana || !HayInterfazGrafica() || !FiltroTeclado::Instalar()) return;
    new Retencion(ventana);
}

bool TecladoRetenido() { return !Retencion::Todas().empty(); }

QWidget* VentanaAbriendo() {
    const auto& todas = Retencion::Todas();
    return todas.empty() ? nullptr : todas.back()->ventana();
}

void EntregarTeclas(QPointer<QWidget> ventana, std::vector<std::unique_ptr<QKeyEvent>> teclas) {
    // Each key to the control that has the keyboard when it comes: a Tab moves on, an access
    // key presses its button, as if typed now.
    for (size_t i = 0; ventana && ventana->isVisible() && i < teclas.size(); ++i) {
        QWidget* destino = QApplication::focusWidget();
        if (!destino || destino->window() != ventana)
            destino = ventana->focusWidget() ? ventana->focusWidget() : ventana.data();
        QCoreApplication::sendEvent(destino, teclas[i].get());
    }
}

void PulsarEventos() {
    ++pulsosEnCurso;
    QCoreApplication::processEvents(TecladoRetenido() ? QEventLoop::AllEvents
                                                      : QEventLoop::ExcludeUserInputEvents);
    --pulsosEnCurso;
}

void MenuContextualConTeclado() {
    if (!HayInterfazGrafica()) return;
    if (FiltroTeclado* filtro = FiltroTeclado::Instalar()) filtro->menuConTeclado = true;
}
