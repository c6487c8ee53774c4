#include "ui/ventana.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "instalacion.h"
#include "ui/botones.h"
#include "ui/filtros.h"

namespace {

constexpr char NombrePiel[] = "Msn2008.skn";
constexpr char MarcaActivador[] = "activarAlMostrar";

// The design's password mark, "*", whatever the platform's is. A style of the box's own,
// under the skin: a mark in a box's style sheet does not survive the sheet of a parent window.
class EstiloContrasena : public QProxyStyle {
  public:
    int styleHint(StyleHint pista, const QStyleOption* opcion, const QWidget* control,
                  QStyleHintReturn* devuelto) const override {
        if (pista == QStyle::SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(pista, opcion, control, devuelto);
    }
};

class ActivadorVentana : public QObject {
  public:
    explicit ActivadorVentana(QWidget* ventana) : QObject(ventana) {}

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        auto* ventana = static_cast<QWidget*>(objeto);
        // The window is placed by its whole size, frame included, as soon as the window
        // manager has put the frame around it (before, only the client size is known).
        if (porColocar_ && (evento->type() == QEvent::Move || evento->type() == QEvent::Resize) &&
            ventana->isVisible() && ventana->frameGeometry().size() != ventana->size()) {
            porColocar_ = false;
            QTimer::singleShot(0, ventana, [v = QPointer<QWidget>(ventana)] {
                if (v) AjustarAPantalla(v);
            });
        }
        if (evento->type() == QEvent::Show) {
            if (!mostrada_) {
                mostrada_ = true;
                porColocar_ = true;
                // Without a frame (no window manager) there is nothing more to wait for.
                QTimer::singleShot(1000, this, [this] { porColocar_ = false; });
            }
            Activar(ventana);
            // Again once the window is really on screen: a request made before it was mapped
            // can be lost.
            QTimer::singleShot(0, ventana, [v = QPointer<QWidget>(ventana)] {
                if (v && v->isVisible() && !v->isActiveWindow()) Activar(v);
            });
        }
        return false;
    }

  private:
    bool mostrada_ = false;
    bool porColocar_ = false;

    static void Activar(QWidget* ventana) {
        ventana->raise();
        ventana->activateWindow();
    }
};

bool HayInterfazGrafica() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

double EscalaDiseno(const QFont& letra) {
    // The design's font (8-point MS Sans Serif at 96 dpi) is 13 pixels high and its captions
    // average about 5 pixels a character; measured on the windows' own kind of text.
    static const QString muestra = QStringLiteral(
        "Apellido Paterno Teléfono Celular Contraseña "
        "Relaciones del Fecha Recepción Verificador");
    constexpr double AltoDiseno = 13.0, AnchoDiseno = 5.0;
    const QFontMetricsF medida(letra);
    const double ancho = medida.horizontalAdvance(muestra) / muestra.size() / AnchoDiseno;
    const double alto = medida.height() / AltoDiseno;
    return std::max({1.0, ancho, alto});
}

double EscalaDiseno() {
    // Measured once per font: the windows ask for every control they place.
    static QString clave;
    static double escala = 1.0;
    const QFont letra = QApplication::font();
    if (letra.key() != clave) {
        clave = letra.key();
        escala = EscalaDiseno(letra);
    }
    return escala;
}

int Pixeles(int twips) { return qRound(twips * EscalaDiseno() / TwipsPorPixel); }

QRect RectTwips(int izquierda, int arriba, int ancho, int alto) {
    return QRect(Pixeles(izquierda), Pixeles(arriba), Pixeles(ancho), Pixeles(alto));
}

int PixelesDiseno(int pixeles) { return qRound(pixeles * EscalaDiseno()); }

int AltoRenglon(const QFontMetrics& medida) {
    // Some fonts draw an accent over a capital above their own ascent.
    const QRect arriba = medida.tightBoundingRect(QStringLiteral("ÁÉÍÓÚÑÜ"));
    const QRect abajo = medida.tightBoundingRect(QStringLiteral("gjpqyÇ"));
    const int sale = qMax(qMax(0, -arriba.top() - medida.ascent()),
                          qMax(0, abajo.bottom() + 1 - medida.descent()));
    // The text is centred in its row: what sticks out on one side is given on both.
    return medida.height() + 2 * (3 + sale);
}

void PrepararVentana(QWidget* ventana, int anchoTwips, int altoTwips) {
    EncuadrarVentana(ventana, QSize(Pixeles(anchoTwips), Pixeles(altoTwips)));
    AplicarPiel(ventana);
    MarcarContrasenas(ventana);
    ActivarAlMostrar(ventana);
    PrepararBotones(ventana);
    PrepararListas(ventana);
    MenuContextualConTeclado();
    RetenerTecladoParaVentana(ventana);
}

void MarcarContrasenas(QWidget* ventana) {
    for (QLineEdit* caja : ventana->findChildren<QLineEdit*>()) {
        if (caja->echoMode() != QLineEdit::Password &&
            caja->echoMode() != QLineEdit::PasswordEchoOnEdit)
            continue;
        if (caja->property("marcaContrasena").toBool()) continue;
        caja->setProperty("marcaContrasena", true);
        auto* estilo = new EstiloContrasena;
        estilo->setParent(caja);
        caja->setStyle(estilo);
    }
}

QString RutaPiel(const QString& carpeta) {
    if (!carpeta.isEmpty()) return QDir(carpeta).filePath(QLatin1String(NombrePiel));
    const QDir programa(QCoreApplication::applicationDirPath());
    const QString junto = programa.filePath(QLatin1String(NombrePiel));
    // Installed, the executable is in /usr/bin and the skin in /usr/share/solicitudes.
    const QString instalada = QDir::cleanPath(programa.filePath(
        QStringLiteral(SOLICITUDES_CARPETA_DATOS "/") + QLatin1String(NombrePiel)));
    return QFile::exists(junto) || !QFile::exists(instalada) ? junto : instalada;
}

bool AplicarPiel(QWidget* ventana, const QString& carpeta) {
    QFile archivo(RutaPiel(carpeta));
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    ventana->setStyleSheet(QString::fromUtf8(archivo.readAll()));
    return true;
}

void ActivarAlMostrar(QWidget* ventana) {
    if (ventana->property(MarcaActivador).toBool()) return;
    ventana->setProperty(MarcaActivador, true);
    ventana->installEventFilter(new ActivadorVentana(ventana));
}

CursorEspera::CursorEspera() {
    if (HayInterfazGrafica()) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CursorEspera::~CursorEspera() {
    if (HayInterfazGrafica()) QGuiApplication::restoreOverrideCursor();
}

void NombrarVentana(QWidget* ventana, const char* nombre, const QString& titulo,
                    BordeVentana borde) {
    ventana->setObjectName(QLatin1String(nombre));
    ventana->setWindowTitle(titulo);
    const Qt::WindowFlags barra =
        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    switch (borde) {
        case BordeVentana::Fijo:
            ventana->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | barra);
            break;
        case BordeVentana::Redimensionable:
            ventana->setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | barra);
            break;
        case BordeVentana::Maximizable:
            ventana->setWindowFlags(Qt::Dialog | Qt::WindowMaximizeButtonHint | barra);
            break;
    }
}
