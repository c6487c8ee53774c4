#include "ui/delegado_rejilla.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include "ui/modelo_rejilla.h"
#include "ui/valor_celda.h"

namespace {

// A drop-down editor that knows whether the entry came from its open list: picking there ends
// the edit, while the arrow keys on the closed box only move between entries.
class EditorLista : public QComboBox {
  public:
    using QComboBox::QComboBox;
    void hidePopup() override {
        // The choice, if any, is announced right after the list closes; a list closed with
        // Escape announces nothing, so the mark does not outlive this turn of the event loop.
        if (view()->isVisible()) {
            desdeLaLista = true;
            QTimer::singleShot(0, this, [this] { desdeLaLista = false; });
        }
        QComboBox::hidePopup();
    }
    bool desdeLaLista = false;
};

}  // namespace

DelegadoRejilla::DelegadoRejilla(ModeloRejilla* modelo, QObject* parent)
    : QStyledItemDelegate(parent), modelo_(modelo) {}

void DelegadoRejilla::paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
                            const QModelIndex& indice) const {
    if (modelo_->tipoColumna(indice.column() + 1) != TipoCelda::Casilla) {
        if (!pintarTexto(pintor, opcion, indice))
            QStyledItemDelegate::paint(pintor, opcion, indice);
        return;
    }
    // Background, selection and focus as any cell; the box itself in the middle of the cell.
    QStyleOptionViewItem celda = opcion;
    initStyleOption(&celda, indice);
    const bool marcada = celda.checkState == Qt::Checked;
    celda.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    celda.text.clear();
    const QWidget* vista = opcion.widget;
    QStyle* estilo = vista ? vista->style() : QApplication::style();
    estilo->drawControl(QStyle::CE_ItemViewItem, &celda, pintor, vista);

    QStyleOptionViewItem casilla = celda;
    const QSize lado(estilo->pixelMetric(QStyle::PM_IndicatorWidth, &opcion, vista),
                     estilo->pixelMetric(QStyle::PM_IndicatorHeight, &opcion, vista));
    casilla.rect = QStyle::alignedRect(opcion.direction, Qt::AlignCenter, lado, opcion.rect);
    casilla.state = (casilla.state & ~QStyle::State_HasFocus) |
                    (marcada ? QStyle::State_On : QStyle::State_Off);
    estilo->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &casilla, pintor, vista);
}

namespace {

// A text the style would lay out otherwise than as one plain line.
bool UnaLineaSimple(const QString& texto) {
    for (QChar c : texto)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0) || c.isSurrogate() ||
            c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return false;
    return true;
}

constexpr qsizetype MaximoPreparados = 4096;

}  // namespace

const QStaticText& DelegadoRejilla::textoPreparado(const QString& texto, const QFont& letra) const {
    if (letra != letraPreparados_ || preparados_.size() >= MaximoPreparados) {
        preparados_.clear();
        letraPreparados_ = letra;
    }
    auto hallado = preparados_.find(texto);
    if (hallado == preparados_.end()) {
        QStaticText preparado(texto);
        preparado.setTextFormat(Qt::PlainText);
        preparado.setPerformanceHint(QStaticText::AggressiveCaching);
        preparado.prepare(QTransform(), letra);
        hallado = preparados_.insert(texto, preparado);
    }
    return *hallado;
}

bool DelegadoRejilla::pintarTexto(QPainter* pintor, const QStyleOptionViewItem& opcion,
                                  const QModelIndex& indice) const {
    if (!pinturaPropia || opcion.state & (QStyle::State_HasFocus | QStyle::State_Editing) ||
        opcion.direction != Qt::LeftToRight)
        return false;
    const int fila = indice.row() + 1, columna = indice.column() + 1;
    const QString texto = modelo_->textoMostrado(fila, columna);
    if (!UnaLineaSimple(texto)) return false;
    const QWidget* vista = opcion.widget;
    const QStyle* estilo = vista ? vista->style() : QApplication::style();
    if (estilo != estiloMargen_) {
        estiloMargen_ = estilo;
        margen_ = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vista) + 1;
    }
    // The colour group as the style takes it.
    const QPalette::ColorGroup grupo = !(opcion.state & QStyle::State_Enabled)  ? QPalette::Disabled
                                       : !(opcion.state & QStyle::State_Active) ? QPalette::Inactive
                                                                                : QPalette::Normal;
    const bool elegida = opcion.state & QStyle::State_Selected;
    if (elegida) {
        pintor->fillRect(opcion.rect, opcion.palette.brush(grupo, QPalette::Highlight));
    } else if (const QColor fondo = modelo_->fondo(fila, columna); fondo.isValid()) {
        pintor->fillRect(opcion.rect, fondo);
    }
    if (texto.isEmpty()) return true;
    const QRect lugar = opcion.rect.adjusted(margen_, 0, -margen_, 0);
    const QFontMetrics& medida = opcion.fontMetrics;
    const QStaticText* preparado = &textoPreparado(texto, opcion.font);
    QStaticText cortado;
    if (preparado->size().width() > lugar.width()) {
        cortado.setText(medida.elidedText(texto, Qt::ElideRight, lugar.width()));
        cortado.setTextFormat(Qt::PlainText);
        cortado.prepare(QTransform(), opcion.font);
        preparado = &cortado;
    }
    const qreal ancho = preparado->size().width();
    const Qt::Alignment alineacion = modelo_->alineacion(fila, columna);
    const qreal x =
        alineacion & Qt::AlignRight ? lugar.left() + lugar.width() - ancho : qreal(lugar.left());
    const int y = lugar.top() + (lugar.height() - medida.height()) / 2;
    // What is wider than its place was cut above: no clip is needed.
    const QPen antes = pintor->pen();
    pintor->setPen(
        opcion.palette.color(grupo, elegida ? QPalette::HighlightedText : QPalette::Text));
    if (pintor->font() != opcion.font) pintor->setFont(opcion.font);
    pintor->drawStaticText(QPointF(x, y), *preparado);
    pintor->setPen(antes);
    return true;
}

bool DelegadoRejilla::textoCortado(const QStyleOptionViewItem& opcion,
                                   const QModelIndex& indice) const {
    QStyleOptionViewItem celda = opcion;
    initStyleOption(&celda, indice);
    if (celda.text.isEmpty()) return false;
    const QWidget* vista = opcion.widget;
    QStyle* estilo = vista ? vista->style() : QApplication::style();
    // The room the style leaves the text, less the margins it draws it within.
    const QRect lugar = estilo->subElementRect(QStyle::SE_ItemViewItemText, &celda, vista);
    const int margen = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vista) + 1;
    return celda.fontMetrics.horizontalAdvance(celda.text) > lugar.width() - 2 * margen;
}

bool DelegadoRejilla::helpEvent(QHelpEvent* evento, QAbstractItemView* vista,
                                const QStyleOptionViewItem& opcion, const QModelIndex& indice) {
    if (evento && evento->type() == QEvent::ToolTip && indice.isValid() &&
        modelo_->tipoColumna(indice.column() + 1) != TipoCelda::Casilla &&
        textoCortado(opcion, indice)) {
        QToolTip::showText(evento->globalPos(), indice.data(Qt::DisplayRole).toString(),
                           vista ? vista->viewport() : nullptr, opcion.rect);
        return true;
    }
    return QStyledItemDelegate::helpEvent(evento, vista, opcion, indice);
}

QWidget* DelegadoRejilla::createEditor(QWidget* padre, const QStyleOptionViewItem&,
                                       const QModelIndex& indice) const {
    const int columna = indice.column() + 1;
    switch (modelo_->tipoColumna(columna)) {
        case TipoCelda::Casilla:
            return nullptr;
        case TipoCelda::Lista: {
            auto* lista = new EditorLista(padre);
            lista->setObjectName(QStringLiteral("editorLista"));
            lista->addItems(modelo_->entradasLista(modelo_->listaColumna(columna)));
            lista->setFrame(false);
            // Picking an entry in the open list is the end of the edit; no extra Enter needed.
            connect(lista, &QComboBox::activated, this, [this, lista] {
                const bool desdeLaLista = lista->desdeLaLista;
                lista->desdeLaLista = false;
                if (!desdeLaLista) return;
                auto* yo = const_cast<DelegadoRejilla*>(this);
                emit yo->commitData(lista);
                emit yo->closeEditor(lista, QAbstractItemDelegate::NoHint);
            });
            return lista;
        }
        case TipoCelda::Texto:
            break;
    }
    // Always a line of text: a cell that came as a number is still typed as text.
    auto* linea = new QLineEdit(padre);
    linea->setObjectName(QStringLiteral("editorTexto"));
    linea->setFrame(false);
    return linea;
}

QString DelegadoRejilla::SinControles(const QString& texto) {
    QString limpio;
    limpio.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        const char16_t u = c.unicode();
        const bool salto = u == '\n' || u == '\r' || u == '\t' || u == 0x0B || u == 0x0C ||
                           u == 0x85 || u == 0x2028 || u == 0x2029;
        if (salto) {
            // A Windows line break is one break.
            if (u == '\r' && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('\n')) ++i;
            limpio += QLatin1Char(' ');
        } else if (c.category() != QChar::Other_Control) {
            limpio += c;
        }
    }
    return limpio;
}

void DelegadoRejilla::setEditorData(QWidget* editor, const QModelIndex& indice) const {
    const QString actual = TextoDeCelda(indice.data(Qt::EditRole));
    if (auto* lista = qobject_cast<QComboBox*>(editor)) {
        // The entry shown is the one Enter keeps and the one the arrows move from: the cell's
        // value, or the first entry when it has none of the list.
        const int i = lista->findText(actual);
        lista->setCurrentIndex(i >= 0 ? i : (lista->count() > 0 ? 0 : -1));
    } else if (auto* linea = qobject_cast<QLineEdit*>(editor)) {
        linea->setText(actual);
        linea->selectAll();
    }
}

void DelegadoRejilla::setModelData(QWidget* editor, QAbstractItemModel* modelo,
                                   const QModelIndex& indice) const {
    const QString antes = TextoDeCelda(indice.data(Qt::EditRole));
    QString despues;
    if (auto* lista = qobject_cast<QComboBox*>(editor)) {
        if (lista->currentIndex() < 0) return;
        despues = lista->currentText();
    } else if (auto* linea = qobject_cast<QLineEdit*>(editor)) {
        despues = SinControles(linea->text());
        // The window may keep the text as its column does, or refuse it.
        if (aceptarTexto && !aceptarTexto(indice, despues)) return;
    } else {
        return;
    }
    // Unchanged text keeps the value as it was, number or date.
    if (despues == antes) return;
    modelo->setData(indice, despues, Qt::EditRole);
}
