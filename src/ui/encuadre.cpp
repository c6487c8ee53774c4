#include "ui/encuadre.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

constexpr char NombreDesplazamiento[] = "desplazamiento";
constexpr char NombreSuperficie[] = "superficie";
// The client size the window was designed with, and whether it had to be made smaller.
constexpr char PropiedadDiseno[] = "tamanoDiseno";
constexpr char PropiedadReducida[] = "reducida";
// The least size a sizable window's own layout keeps every control whole in.
constexpr char PropiedadMinimo[] = "tamanoMinimo";

QScreen* PantallaDe(const QWidget* ventana) {
    QScreen* pantalla = ventana->screen();
    return pantalla ? pantalla : QGuiApplication::primaryScreen();
}

QMargins MarcoDe(const QWidget* ventana) {
    const QRect fuera = ventana->frameGeometry(), dentro = ventana->geometry();
    return QMargins(dentro.left() - fuera.left(), dentro.top() - fuera.top(),
                    fuera.right() - dentro.right(), fuera.bottom() - dentro.bottom());
}

// The frame the window manager puts around the window: its own once shown, before that the
// one last seen around a window of the program (the log-in comes first), or else a guess: a
// title bar a little higher than the text and thin borders.
QMargins MarcoEstimado(const QWidget* ventana) {
    static QMargins conocido;
    auto recordar = [](const QWidget* w) {
        const QMargins marco = MarcoDe(w);
        if (!marco.isNull()) conocido = marco;
        return marco;
    };
    if (ventana->isVisible()) return recordar(ventana);
    for (const QWidget* otra : QApplication::topLevelWidgets())
        if (otra != ventana && otra->isVisible() && otra->windowType() != Qt::Popup &&
            otra->windowType() != Qt::ToolTip)
            recordar(otra);
    if (!conocido.isNull()) return conocido;
    const int barra = std::max(ventana->style()->pixelMetric(QStyle::PM_TitleBarHeight),
                               ventana->fontMetrics().height() + 10);
    return QMargins(4, barra + 4, 4, 6);
}

QScrollArea* Desplazamiento(const QWidget* ventana) {
    return ventana->findChild<QScrollArea*>(QLatin1String(NombreDesplazamiento),
                                            Qt::FindDirectChildrenOnly);
}

// Keeps the control with the keyboard in view when its window scrolls: Tab, an access key or
// the program moving the focus into a part of the window that is scrolled away.
class SeguidorFoco : public QObject {
  public:
    using QObject::QObject;
    static void Instalar() {
        static QPointer<SeguidorFoco> seguidor;
        if (seguidor || !QCoreApplication::instance()) return;
        seguidor = new SeguidorFoco(QCoreApplication::instance());
        QObject::connect(qApp, &QApplication::focusChanged, seguidor,
                         [](QWidget*, QWidget* ahora) { MostrarControl(ahora); });
    }
    static void MostrarControl(QWidget* control) {
        if (!control) return;
        QScrollArea* area = Desplazamiento(control->window());
        if (!area || !area->widget() || !area->widget()->isAncestorOf(control)) return;
        const QSize vista = area->viewport()->size();
        QRect lugar(control->mapTo(area->widget(), QPoint(0, 0)), control->size());
        // What is larger than the view (a list) is shown from its top left corner.
        lugar.setSize(lugar.size().boundedTo(vista));
        // Some room around it, for its caption beside or above it, when there is room.
        const int x = std::clamp((vista.width() - lugar.width()) / 2, 0, 50);
        const int y = std::clamp((vista.height() - lugar.height()) / 2, 0, 50);
        area->ensureVisible(lugar.right(), lugar.bottom(), x, y);
        area->ensureVisible(lugar.left(), lugar.top(), x, y);
    }
};

constexpr char NombreAcomodador[] = "acomodador";

// Calls the window's own layout with the size of what its controls stand on.
class Acomodador : public QObject {
  public:
    // Until the window is shown (and its size reaches what its controls stand on) they keep
    // the places of the design.
    Acomodador(QWidget* ventana, std::function<void(const QSize&)> acomodar)
        : QObject(ventana), ventana_(ventana), acomodar_(std::move(acomodar)) {
        setObjectName(QLatin1String(NombreAcomodador));
        seguir();
    }
    // The controls moved to a scrolled surface.
    void seguir() {
        if (superficie_) superficie_->removeEventFilter(this);
        superficie_ = Superficie(ventana_);
        superficie_->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (objeto == superficie_ && evento->type() == QEvent::Resize)
            acomodar_(static_cast<QResizeEvent*>(evento)->size());
        return false;
    }

  private:
    QWidget* ventana_;
    QPointer<QWidget> superficie_;
    std::function<void(const QSize&)> acomodar_;
};

// The controls of a window too large for the screen move onto a surface inside a scroll area
// that fills the window: a surface at least `minimo` and, when the controls keep their places
// (`fijos`), as large as they reach.
QScrollArea* Envolver(QWidget* ventana, QSize minimo, bool fijos) {
    if (QScrollArea* hecha = Desplazamiento(ventana)) return hecha;
    QWidget* foco = ventana->focusWidget();
    // Controls that keep their places may reach a pixel past the design's size, rounded apart.
    if (fijos)
        for (QWidget* hijo : ventana->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!hijo->isWindow() && !hijo->isHidden())
                minimo = minimo.expandedTo(
                    QSize(hijo->geometry().right() + 1, hijo->geometry().bottom() + 1));
    auto* area = new QScrollArea(ventana);
    area->setObjectName(QLatin1String(NombreDesplazamiento));
    area->setFrameShape(QFrame::NoFrame);
    // The area is no stop of its own for Tab; its bars are for the mouse.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    auto* superficie = new QWidget;
    superficie->setObjectName(QLatin1String(NombreSuperficie));
    superficie->setMinimumSize(minimo);
    area->setWidget(superficie);
    // The window's own background (the skin's) shows through.
    superficie->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    // In their order, so they keep stacking as they did; the tab order stays the window's.
    const auto hijos = ventana->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* hijo : hijos) {
        if (hijo == area || hijo->isWindow()) continue;
        const bool oculto = hijo->isHidden();
        const QRect lugar = hijo->geometry();
        hijo->setParent(superficie);
        hijo->setGeometry(lugar);
        if (!oculto) hijo->show();
    }
    auto* capa = new QVBoxLayout(ventana);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addWidget(area);
    if (foco) foco->setFocus();
    // Not a QObject of its own kind: found by its name.
    if (auto* acomodador = dynamic_cast<Acomodador*>(ventana->findChild<QObject*>(
            QLatin1String(NombreAcomodador), Qt::FindDirectChildrenOnly)))
        acomodador->seguir();
    SeguidorFoco::Instalar();
    return area;
}

}  // namespace

// Sizes the window to its design, or, when that does not fit on the free area of its screen
// with its frame, as large as fits: a sizable window that lays its controls out itself down
// to a smaller size (AcomodarAlTamano) just takes the room there is; otherwise the window
// becomes scrollable. Before the window is shown its frame is estimated; once shown it is
// measured and this runs again.
void AjustarAPantalla(QWidget* ventana) {
    const QSize diseno = ventana->property(PropiedadDiseno).toSize();
    QScreen* pantalla = PantallaDe(ventana);
    if (!diseno.isValid() || !pantalla) {
        ColocarVentana(ventana);
        return;
    }
    const bool fijo = ventana->windowFlags() & Qt::MSWindowsFixedSizeDialogHint;
    // What has to be seen whole: the design, or the least its own layout keeps whole.
    QSize minimo = ventana->property(PropiedadMinimo).toSize();
    if (fijo || !minimo.isValid()) minimo = diseno;
    const QSize cabe = pantalla->availableGeometry().size().shrunkBy(MarcoEstimado(ventana));
    QScrollArea* area = Desplazamiento(ventana);
    const bool cabeEntera = minimo.width() <= cabe.width() && minimo.height() <= cabe.height();
    if (!area && (cabeEntera || ventana->isVisible())) {
        // A window on screen is never rebuilt: the estimate before it showed was its frame's.
        if (fijo && !ventana->isVisible())
            ventana->setFixedSize(diseno);
        else if (!fijo && (!ventana->isVisible() || ventana->width() > cabe.width() ||
                           ventana->height() > cabe.height()))
            ventana->resize((ventana->isVisible() ? ventana->size() : diseno).boundedTo(cabe));
        ColocarVentana(ventana);
        return;
    }
    if (!area) area = Envolver(ventana, minimo, minimo == diseno);
    // A scroll bar takes its room from the other side.
    const int barra = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    bool vertical = minimo.height() > cabe.height();
    const bool horizontal = minimo.width() > cabe.width() - (vertical ? barra : 0);
    if (horizontal) vertical = minimo.height() > cabe.height() - barra;
    QSize tamano = diseno;
    if (vertical) tamano.rwidth() = std::max(tamano.width(), minimo.width() + barra);
    if (horizontal) tamano.rheight() = std::max(tamano.height(), minimo.height() + barra);
    ventana->setProperty(PropiedadReducida,
                         tamano.width() > cabe.width() || tamano.height() > cabe.height());
    tamano = tamano.boundedTo(cabe);
    if (fijo)
        ventana->setFixedSize(tamano);
    else if (!ventana->isVisible() || ventana->width() > tamano.width() ||
             ventana->height() > tamano.height())
        ventana->resize(tamano);
    ColocarVentana(ventana);
}

void EncuadrarVentana(QWidget* ventana, const QSize& diseno) {
    ventana->setProperty(PropiedadDiseno, diseno);
    AjustarAPantalla(ventana);
}

void ColocarVentana(QWidget* ventana) {
    QScreen* pantalla = PantallaDe(ventana);
    if (!pantalla) return;
    const QRect libre = pantalla->availableGeometry();
    // Once shown the frame is known; before that it is estimated.
    const QSize tamano = ventana->isVisible() ? ventana->frameGeometry().size()
                                              : ventana->size().grownBy(MarcoEstimado(ventana));
    // A window made smaller than designed, or still larger than the screen, starts at the top
    // left, where its title bar can be reached.
    if (ventana->property(PropiedadReducida).toBool() || tamano.width() > libre.width() ||
        tamano.height() > libre.height()) {
        ventana->move(libre.topLeft());
        return;
    }
    ventana->move(libre.x() + (libre.width() - tamano.width()) / 2,
                  libre.y() + (libre.height() - tamano.height()) / 4);
}

void CaberEnPantalla(QWidget* ventana) {
    QScreen* pantalla = PantallaDe(ventana);
    if (!pantalla) return;
    const QSize cabe = pantalla->availableGeometry().size().shrunkBy(MarcoEstimado(ventana));
    if (ventana->width() > cabe.width() || ventana->height() > cabe.height())
        ventana->resize(ventana->size().boundedTo(cabe));
    ColocarVentana(ventana);
}

QWidget* Superficie(QWidget* ventana) {
    QScrollArea* area = Desplazamiento(ventana);
    return area && area->widget() ? area->widget() : ventana;
}

void AcomodarAlTamano(QWidget* ventana, const QSize& minimo,
                      std::function<void(const QSize&)> acomodar) {
    ventana->setProperty(PropiedadMinimo, minimo);
    new Acomodador(ventana, std::move(acomodar));
}

void AnclarControles(QWidget* ventana, const QSize& diseno, const QSize& minimo,
                     const std::vector<Anclado>& controles) {
    struct Lugar {
        QPointer<QWidget> control;
        int anclas;
        QRect rect;
        QSize padre;
        bool enVentana;
    };
    std::vector<Lugar> lugares;
    for (const Anclado& a : controles) {
        const bool enVentana = a.control->parentWidget() == ventana;
        lugares.push_back({a.control, a.anclas, a.control->geometry(),
                           enVentana ? diseno : a.control->parentWidget()->size(), enVentana});
    }
    // One direction: stretched between both anchors, moved with the far one, or left alone.
    const auto seguir = [](int inicio, int largo, int crece, bool cerca, bool lejos) {
        if (cerca && lejos) return std::pair{inicio, std::max(0, largo + crece)};
        if (lejos) return std::pair{inicio + crece, largo};
        return std::pair{inicio, largo};
    };
    AcomodarAlTamano(ventana, minimo, [lugares, seguir](const QSize& tamano) {
        for (const Lugar& l : lugares) {
            if (!l.control) continue;
            const QSize ahora = l.enVentana ? tamano : l.control->parentWidget()->size();
            const auto [x, ancho] =
                seguir(l.rect.x(), l.rect.width(), ahora.width() - l.padre.width(),
                       l.anclas & AnclaIzquierda, l.anclas & AnclaDerecha);
            const auto [y, alto] =
                seguir(l.rect.y(), l.rect.height(), ahora.height() - l.padre.height(),
                       l.anclas & AnclaArriba, l.anclas & AnclaAbajo);
            l.control->setGeometry(x, y, ancho, alto);
        }
    });
}
