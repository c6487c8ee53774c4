#include "ui/trabajo_largo.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <exception>

#include "db/conexion.h"
#include "db/error_bd.h"
#include "ui/servicios.h"
#include "ui/teclado.h"

// What a long work shows over its window.
class PanelTrabajo : public QFrame {
  public:
    explicit PanelTrabajo(QWidget* ventana, TrabajoLargo* trabajo) : QFrame(ventana) {
        setObjectName(QStringLiteral("PanelTrabajo"));
        setFrameShape(QFrame::Box);
        setAutoFillBackground(true);
        auto* fila = new QHBoxLayout(this);
        texto = new QLabel(this);
        texto->setObjectName(QStringLiteral("LblTrabajo"));
        barra = new QProgressBar(this);
        barra->setTextVisible(false);
        barra->hide();
        detener = new QPushButton(QStringLiteral("Detener"), this);
        detener->setObjectName(QStringLiteral("CmdDetener"));
        // The keyboard stays where the clerk was typing: the held keys go there afterwards.
        detener->setFocusPolicy(Qt::NoFocus);
        fila->addWidget(texto, 1);
        fila->addWidget(barra);
        fila->addWidget(detener);
        QObject::connect(detener, &QPushButton::clicked, this, [trabajo] { trabajo->detener(); });
    }

    // Centred over the window, as wide as its text needs.
    void colocar() {
        const QWidget* v = parentWidget();
        const int ancho = qMin(v->width() - 16, qMax(sizeHint().width(), v->width() / 2));
        const int alto = sizeHint().height();
        setGeometry((v->width() - ancho) / 2, (v->height() - alto) / 2, ancho, alto);
    }

    QLabel* texto;
    QProgressBar* barra;
    QPushButton* detener;
};

namespace {

std::vector<TrabajoLargo*>& EnCurso() {
    static std::vector<TrabajoLargo*> trabajos;
    return trabajos;
}

bool HayVentanas() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

// While some work runs: Escape stops it, "Detener" is pressed, the other keys are held and the
// other clicks dropped (while a window opens, it holds them itself).
class FiltroTrabajo : public QObject {
  public:
    using QObject::QObject;
    static void Instalar() {
        static QPointer<FiltroTrabajo> filtro;
        if (!filtro && HayVentanas()) {
            filtro = new FiltroTrabajo(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(filtro);
        }
    }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        TrabajoLargo* t = TrabajoLargo::Actual();
        if (!t || !objeto->isWidgetType()) return false;
        switch (evento->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride: {
                const auto* tecla = static_cast<QKeyEvent*>(evento);
                if (tecla->key() == Qt::Key_Escape && tecla->modifiers() == Qt::NoModifier) {
                    if (evento->type() == QEvent::KeyPress) t->detener();
                    evento->accept();
                    return true;
                }
                if (TecladoRetenido()) return false;
                // No access key is pressed meanwhile; the key itself is kept for later.
                if (evento->type() == QEvent::ShortcutOverride)
                    evento->accept();
                else
                    t->retener(*tecla);
                return true;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                return !t->esDelPanel(objeto) && !TecladoRetenido();
            case QEvent::Close:
                // A window closed under its own load would take the grid being filled with it.
                if (!static_cast<QWidget*>(objeto)->isWindow()) return false;
                evento->ignore();
                return true;
            default:
                return false;
        }
    }
};

TrabajoLargo::TrabajoLargo(QWidget* ventana, int total) : ventana_(ventana), total_(total) {
    reloj_.start();
    FiltroTrabajo::Instalar();
    EnCurso().push_back(this);
}

TrabajoLargo::~TrabajoLargo() {
    auto& todos = EnCurso();
    todos.erase(std::remove(todos.begin(), todos.end(), this), todos.end());
    if (panel_) {
        panel_->hide();
        panel_->deleteLater();
    }
    if (teclas_.empty()) return;
    // Given once the work's own handler has returned, as if typed then.
    auto teclas = std::make_shared<std::vector<std::unique_ptr<QKeyEvent>>>(std::move(teclas_));
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [ventana = QPointer<QWidget>(ventana_ ? ventana_->window() : nullptr),
                        teclas] { EntregarTeclas(ventana, std::move(*teclas)); });
}

TrabajoLargo* TrabajoLargo::Actual() { return EnCurso().empty() ? nullptr : EnCurso().back(); }

QWidget* TrabajoLargo::donde() const {
    for (QWidget* w = ventana_; w; w = w->parentWidget())
        if (w->window()->isVisible()) return w->window();
    return QApplication::activeWindow();
}

bool TrabajoLargo::atender(int hechas) {
    if (hechas >= 0) hechas_ = hechas;
    if (!panel_ && (reloj_.elapsed() >= UmbralMs || !aviso_.isEmpty())) mostrar();
    if (panel_) actualizar();
    if (HayVentanas()) {
        // While a window opens, its own hold takes the input; otherwise the filter above.
        if (TecladoRetenido())
            PulsarEventos();
        else
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return detenido_;
}

void TrabajoLargo::detener() {
    detenido_ = true;
    if (panel_) actualizar();
}

void TrabajoLargo::decir(const QString& texto) {
    aviso_ = texto;
    if (!panel_ && !aviso_.isEmpty()) mostrar();
    if (panel_) actualizar();
}

void TrabajoLargo::mostrar() {
    QWidget* v = HayVentanas() ? donde() : nullptr;
    if (!v) return;
    panel_ = new PanelTrabajo(v, this);
    actualizar();
    panel_->show();
    panel_->raise();
}

void TrabajoLargo::actualizar() {
    QString texto = aviso_;
    if (detenido_)
        texto = QStringLiteral("Deteniendo…");
    else if (texto.isEmpty() && total_ > 0)
        texto = QStringLiteral("Revisadas %L1 de %L2…").arg(hechas_).arg(total_);
    else if (texto.isEmpty())
        texto = QStringLiteral("Filas leídas: %L1…").arg(hechas_);
    if (panel_->texto->text() != texto) panel_->texto->setText(texto);
    panel_->barra->setVisible(total_ > 0);
    if (total_ > 0) {
        panel_->barra->setRange(0, total_);
        panel_->barra->setValue(qMin(hechas_, total_));
    }
    panel_->detener->setEnabled(!detenido_);
    panel_->colocar();
}

bool TrabajoLargo::esDelPanel(QObject* objeto) const {
    for (QObject* o = objeto; o; o = o->parent())
        if (o == panel_.data()) return true;
    return false;
}

namespace {

const QString& TextoEspera() {
    static const QString t =
        QStringLiteral("Esperando a que otra estación termine de escribir en la base de datos…");
    return t;
}

// A wait outside any work is a work of its own, shown at once in the window in front.
std::unique_ptr<TrabajoLargo>& EsperaSuelta() {
    static std::unique_ptr<TrabajoLargo> espera;
    return espera;
}

// The window opening whose lists already gave up on a lock: its next lists do not wait again.
QPointer<QWidget> aperturaBloqueada;
bool rendirse = false;

void AvisarEspera(bool esperando) {
    if (!HayVentanas()) return;
    if (esperando) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        rendirse = VentanaAbriendo() && VentanaAbriendo() == aperturaBloqueada;
        TrabajoLargo* t = TrabajoLargo::Actual();
        if (!t) {
            EsperaSuelta() = std::make_unique<TrabajoLargo>(QApplication::activeWindow());
            t = EsperaSuelta().get();
        }
        t->decir(TextoEspera());
        t->atender();
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    // Told on the way out of the statement: one that fails leaves while its error is thrown.
    if (std::uncaught_exceptions() > 0 && VentanaAbriendo()) aperturaBloqueada = VentanaAbriendo();
    rendirse = false;
    if (EsperaSuelta())
        EsperaSuelta().reset();
    else if (TrabajoLargo* t = TrabajoLargo::Actual())
        t->decir(QString());
}

}  // namespace

void AtenderTrabajosLargos(db::Conexion& conexion) {
    conexion.alTrabajar([] {
        if (TrabajoLargo* t = TrabajoLargo::Actual()) return t->atender() || rendirse;
        if (HayVentanas()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return rendirse;
    });
    conexion.alEsperarBloqueo(AvisarEspera);
}
