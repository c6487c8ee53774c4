#include "ui/rejilla.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <array>
#include <vector>

#include "db/error_bd.h"
#include "db/recordset.h"
#include "ui/delegado_rejilla.h"
#include "ui/pulso_eventos.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/valor_celda.h"
#include "ui/ventana.h"

namespace {

// Cells measured to fit a width: the first screens in full, then evenly spread rows.
constexpr int FilasAlPrincipio = 200;
constexpr int FilasRepartidas = 800;
constexpr int AnchoMinimo = 30;
constexpr int AnchoMaximo = 600;

// Width of a cell's text as the sum of its characters' advances, each measured once and kept
// for the next fits (the lists are fitted after every search): shaping every cell of a long
// list whole costs more than reading the list. A text with characters that may combine or
// join (beyond the Latin letters) is measured whole.
class AnchoDeTexto {
  public:
    AnchoDeTexto(const QFontMetrics& medida, std::array<int, 0x250>& anchos)
        : medida_(medida), anchos_(anchos) {}
    int operator()(QStringView texto) {
        int total = 0;
        for (QChar c : texto) {
            if (c.unicode() >= anchos_.size()) return medida_.horizontalAdvance(texto.toString());
            int& ancho = anchos_[c.unicode()];
            if (ancho < 0) ancho = medida_.horizontalAdvance(c);
            total += ancho;
        }
        return total;
    }

  private:
    const QFontMetrics& medida_;
    std::array<int, 0x250>& anchos_;
};

// A header that measures each title once: the lists are searched again and again with the
// same columns, and every new result would otherwise have every title laid out anew.
class Encabezado : public QHeaderView {
  public:
    using QHeaderView::QHeaderView;

    // The width of a title's text in the header's font.
    int anchoTitulo(const QString& titulo) const {
        const auto hallado = anchos_.constFind(titulo);
        if (hallado != anchos_.constEnd()) return *hallado;
        return *anchos_.insert(titulo, fontMetrics().horizontalAdvance(titulo));
    }

    // A refill of the same columns (the model reset after every search) leaves the titles as
    // they were painted: they are laid out again but not repainted.
    void doItemsLayout() override {
        if (pintados_.isEmpty() || pintados_ != titulos()) return QHeaderView::doItemsLayout();
        initializeSections();
        updateGeometries();
    }

  protected:
    void paintEvent(QPaintEvent* evento) override {
        pintados_ = titulos();
        QHeaderView::paintEvent(evento);
    }
    QSize sectionSizeFromContents(int seccion) const override {
        const QString titulo =
            model() ? model()->headerData(seccion, orientation()).toString() : QString();
        const auto hallado = medidas_.constFind(titulo);
        if (hallado != medidas_.constEnd()) return *hallado;
        const QSize medida = QHeaderView::sectionSizeFromContents(seccion);
        medidas_.insert(titulo, medida);
        return medida;
    }
    bool event(QEvent* evento) override {
        // The skin reaches the header when it is first polished: what was measured before is
        // in the default look.
        if (evento->type() == QEvent::Polish) {
            medidas_.clear();
            anchos_.clear();
        }
        return QHeaderView::event(evento);
    }
    void changeEvent(QEvent* evento) override {
        if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange) {
            medidas_.clear();
            anchos_.clear();
        }
        QHeaderView::changeEvent(evento);
    }

  private:
    QStringList titulos() const {
        QStringList t;
        for (int i = 0; model() && i < count(); ++i)
            t << model()->headerData(i, orientation()).toString();
        return t;
    }
    QStringList pintados_;
    mutable QHash<QString, QSize> medidas_;
    mutable QHash<QString, int> anchos_;
};

int AnchoTitulo(const QHeaderView* encabezado, const QString& titulo) {
    if (const auto* propio = dynamic_cast<const Encabezado*>(encabezado))
        return propio->anchoTitulo(titulo);
    return encabezado->fontMetrics().horizontalAdvance(titulo);
}

}  // namespace

QColor ColorDeNumero(long numero) {
    return QColor(int(numero & 0xFF), int((numero >> 8) & 0xFF), int((numero >> 16) & 0xFF));
}

Rejilla::Rejilla(QWidget* parent)
    : QTableView(parent),
      modelo_(new ModeloRejilla(this)),
      delegado_(new DelegadoRejilla(modelo_, this)) {
    setHorizontalHeader(new Encabezado(Qt::Horizontal, this));
    setModel(modelo_);
    setItemDelegate(delegado_);
    delegado_->aceptarTexto = [this](const QModelIndex& indice, QString& texto) {
        return aceptarTexto(indice, texto);
    };
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Not the double-click: a window may give it a meaning of its own (the photos program).
    // A click on the current cell edits it too (below), without Qt's wait that would also
    // hold back F2 and typing right after the click.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    edicionDiferida_.setSingleShot(true);
    connect(&edicionDiferida_, &QTimer::timeout, this, [this] {
        if (clicSobreActual_.isValid() && clicSobreActual_ == currentIndex() &&
            state() != EditingState)
            edit(QModelIndex(clicSobreActual_), AllEditTriggers, nullptr);
        clicSobreActual_ = QPersistentModelIndex();
    });
    // Tab leaves the grid for the next control, as in every other control of the windows.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setAlternatingRowColors(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    // The list paints its whole box itself (below): the window and the frames under it are not
    // painted again behind every new result.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Fixed row heights: nothing is measured per row, whatever the number of rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->installEventFilter(this);
    // A press on the titles starts the user's own widths (a drag on a column's edge).
    horizontalHeader()->viewport()->installEventFilter(this);
    ajustarAltoFilas();

    cuadro_.setSingleShot(true);
    cuadro_.setInterval(0);
    connect(&cuadro_, &QTimer::timeout, this, &Rejilla::caberEnCuadro);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (cabiendo_) return;
        if (arrastrandoTitulo_)
            anchosDelUsuario_ = true;
        else
            programarCuadro();
    });
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            [this] { anchosDelUsuario_ = true; });
    auto cambiaron = [this] { ++generacion_; };
    connect(modelo_, &QAbstractItemModel::modelReset, this, cambiaron);
    for (auto senal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                       &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
        connect(modelo_, senal, this, cambiaron);
    connect(modelo_, &QAbstractItemModel::dataChanged, this, cambiaron);
    connect(modelo_, &QAbstractItemModel::layoutChanged, this, cambiaron);
    connect(modelo_, &QAbstractItemModel::columnsInserted, this, &Rejilla::programarCuadro);
    connect(modelo_, &QAbstractItemModel::modelReset, this, [this] {
        // Other columns: the widths are the program's again.
        anchosDelUsuario_ = false;
        programarCuadro();
    });

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid()) emit dobleClic(i.row() + 1, i.column() + 1);
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& actual) { alMoverseCeldaActual(actual); });
}

void Rejilla::ajustarAltoFilas() {
    const int alto = AltoRenglon(fontMetrics());
    verticalHeader()->setMinimumSectionSize(alto);
    verticalHeader()->setDefaultSectionSize(alto);
}

void Rejilla::changeEvent(QEvent* evento) {
    QTableView::changeEvent(evento);
    // The skin or the window may bring another font; the rows follow its height.
    if (evento->type() == QEvent::FontChange) ajustarAltoFilas();
}

void Rejilla::alMoverseCeldaActual(const QModelIndex& actual) {
    if (silencio_ || !actual.isValid()) return;
    emit celdaActualCambiada(actual.row() + 1, actual.column() + 1);
}

void Rejilla::quitarFilas() {
    ++silencio_;
    auto fin = qScopeGuard([this] { --silencio_; });
    modelo_->quitarFilas();
    prefijo_.clear();
}

void Rejilla::quitarFilasYColumnas() {
    ++silencio_;
    auto fin = qScopeGuard([this] { --silencio_; });
    modelo_->quitarFilasYColumnas();
    prefijo_.clear();
}

int Rejilla::agregarColumna(const QString& titulo, int ancho) {
    const int columna = modelo_->agregarColumna(titulo);
    // The design's width grows with the font, and never leaves the title cut.
    ponerAnchoColumna(columna, qMax(PixelesDiseno(ancho), anchoTitulo(columna)));
    return columna;
}

int Rejilla::anchoTitulo(int columna) const {
    if (columna < 1 || columna > numeroColumnas()) return 0;
    return horizontalHeader()->sectionSizeHint(columna - 1);
}

void Rejilla::asegurarTitulos() {
    asegurando_ = false;
    ++generacion_;
    for (int c = 1; c <= numeroColumnas(); ++c)
        if (columnWidth(c - 1) < anchoTitulo(c)) setColumnWidth(c - 1, anchoTitulo(c));
}

bool Rejilla::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == horizontalHeader()->viewport() && (evento->type() == QEvent::MouseButtonPress ||
                                                     evento->type() == QEvent::MouseButtonRelease))
        arrastrandoTitulo_ = evento->type() == QEvent::MouseButtonPress;
    // The skin or another font reaches the header after the windows set their columns: the
    // titles are measured again once it has taken effect.
    if (objeto == horizontalHeader() &&
        (evento->type() == QEvent::Polish || evento->type() == QEvent::StyleChange ||
         evento->type() == QEvent::FontChange)) {
        ++generacion_;  // the titles measure otherwise
        if (!asegurando_) {
            asegurando_ = true;
            QMetaObject::invokeMethod(this, &Rejilla::asegurarTitulos, Qt::QueuedConnection);
        }
    }
    return QTableView::eventFilter(objeto, evento);
}

void Rejilla::ensancharAlContenido(int columna) {
    if (columna < 1 || columna > numeroColumnas() || isColumnHidden(columna - 1)) return;
    // Set only when it grows: a width set and set back would still relay and repaint the list.
    const int necesario = anchoNecesario(columna);
    if (necesario > columnWidth(columna - 1)) setColumnWidth(columna - 1, necesario);
}

int Rejilla::agregarFila() {
    ++silencio_;
    auto fin = qScopeGuard([this] { --silencio_; });
    return modelo_->agregarFila();
}

void Rejilla::quitarFila(int fila) {
    ++silencio_;
    auto fin = qScopeGuard([this] { --silencio_; });
    modelo_->quitarFila(fila);
}

void Rejilla::ponerValor(int fila, int columna, const QVariant& valor) {
    modelo_->ponerValor(fila, columna, valor);
}

void Rejilla::ponerColorFondo(int fila, int columna, const QColor& color) {
    modelo_->ponerColorFondo(fila, columna, color);
}

void Rejilla::llenar(db::Recordset& registros) {
    ++silencio_;
    auto fin = qScopeGuard([this] { --silencio_; });
    prefijo_.clear();
    QStringList antes;
    for (int c = 1; c <= numeroColumnas(); ++c) antes << tituloColumna(c);
    PulsoEventos pulso;
    modelo_->llenar(registros, std::ref(pulso));
    QStringList ahora;
    for (int c = 1; c <= numeroColumnas(); ++c) ahora << tituloColumna(c);
    // The same columns keep their widths; new ones are as wide as their titles until a window
    // fits them.
    if (ahora == antes) return;
    for (int c = 1; c <= numeroColumnas(); ++c)
        setColumnWidth(
            c - 1,
            qBound(60, qMax(AnchoTitulo(horizontalHeader(), tituloColumna(c)) + 16, anchoTitulo(c)),
                   AnchoMaximo));
}

void Rejilla::llenarColumnas(db::Recordset& registros,
                             const std::vector<ModeloRejilla::Destino>& destinos,
                             const std::function<void(const db::ValorCrudo*)>& porFila) {
    ++silencio_;
    auto fin = qScopeGuard([this] { --silencio_; });
    prefijo_.clear();
    PulsoEventos pulso;
    modelo_->llenarColumnas(registros, destinos, porFila, std::ref(pulso));
}

void Rejilla::ponerAnchoColumna(int columna, int ancho) {
    if (columna >= 1 && columna <= numeroColumnas()) setColumnWidth(columna - 1, ancho);
}

void Rejilla::ajustarAncho(int columna) {
    if (columna < 1 || columna > numeroColumnas()) return;
    setColumnWidth(columna - 1, anchoNecesario(columna));
}

int Rejilla::anchoNecesario(int columna) const {
    if (columna < 1 || columna > numeroColumnas()) return 0;
    // Measured again only in another font or after the cells changed.
    // Compared whole: a font's key is a text written out on every call.
    const QFont& letra = font();
    if (letraAnchos_ != letra) {
        letraAnchos_ = letra;
        anchosLetra_.fill(-1);
        necesarios_.clear();
    }
    if (necesarios_.size() < size_t(numeroColumnas())) necesarios_.resize(size_t(numeroColumnas()));
    auto& [medido, ancho] = necesarios_[size_t(columna - 1)];
    if (medido != generacion_) {
        ancho = medirNecesario(columna);
        medido = generacion_;
    }
    return ancho;
}

int Rejilla::medirNecesario(int columna) const {
    int ancho =
        qMax(AnchoTitulo(horizontalHeader(), tituloColumna(columna)) + 16, anchoTitulo(columna));
    if (tipoColumna(columna) == TipoCelda::Casilla) {
        ancho = qMax(ancho, 24);
    } else {
        const QFontMetrics medida = fontMetrics();
        AnchoDeTexto anchoDe(medida, anchosLetra_);
        const int filas = numeroFilas();
        QString apoyo;
        auto medir = [&](int fila) {
            ancho = qMax(ancho, anchoDe(modelo_->textoMostrado(fila, columna, apoyo)) + 12);
        };
        const int principio = qMin(filas, FilasAlPrincipio);
        for (int f = 1; f <= principio; ++f) medir(f);
        if (filas > principio) {
            const int resto = filas - principio;
            const int paso = qMax(1, resto / FilasRepartidas);
            for (int f = principio + paso; f <= filas; f += paso) medir(f);
            medir(filas);
        }
    }
    return qBound(AnchoMinimo, ancho, AnchoMaximo);
}

namespace {

bool ReglasDeCelda(const QWidget* w) {
    static const QLatin1String regla("::item");
    for (; w; w = w->parentWidget())
        if (w->styleSheet().contains(regla)) return true;
    return qApp->styleSheet().contains(regla);
}

}  // namespace

void Rejilla::paintEvent(QPaintEvent* evento) {
    delegado_->pinturaPropia = !ReglasDeCelda(this);
    {
        QPainter pintor(viewport());
        for (const QRect& r : evento->region())
            pintor.fillRect(r, viewport()->palette().brush(viewport()->backgroundRole()));
    }
    QTableView::paintEvent(evento);
}

bool Rejilla::viewportEvent(QEvent* evento) {
    // A box that changes size, or a vertical scroll bar that comes or goes.
    if (evento->type() == QEvent::Resize) programarCuadro();
    return QTableView::viewportEvent(evento);
}

void Rejilla::caberEnCuadro() {
    if (anchosDelUsuario_ || !isVisible()) return;
    const int cuadro = viewport()->width();
    std::vector<int> columnas;
    int total = 0;
    for (int c = 1; c <= numeroColumnas(); ++c) {
        if (isColumnHidden(c - 1)) continue;
        columnas.push_back(c);
        total += columnWidth(c - 1);
    }
    if (total <= cuadro) return;
    std::vector<int> holgura;
    int sobra = 0;
    for (int c : columnas) {
        holgura.push_back(qMax(0, columnWidth(c - 1) - anchoNecesario(c)));
        sobra += holgura.back();
    }
    // A list that must scroll anyway keeps the widths it was given.
    const int exceso = total - cuadro;
    if (sobra < exceso) return;
    // Each column gives in proportion to what it has to spare; the odd pixels come from the
    // ones with most to spare.
    std::vector<int> quita(columnas.size());
    int quitado = 0;
    for (size_t i = 0; i < columnas.size(); ++i) {
        quita[i] = int(qint64(exceso) * holgura[i] / sobra);
        quitado += quita[i];
    }
    while (quitado < exceso) {
        size_t mayor = 0;
        for (size_t i = 1; i < columnas.size(); ++i)
            if (holgura[i] - quita[i] > holgura[mayor] - quita[mayor]) mayor = i;
        ++quita[mayor];
        ++quitado;
    }
    const QScopedValueRollback<bool> cabiendo(cabiendo_, true);
    for (size_t i = 0; i < columnas.size(); ++i)
        if (quita[i] > 0) setColumnWidth(columnas[i] - 1, columnWidth(columnas[i] - 1) - quita[i]);
}

void Rejilla::ponerColumnaVisible(int columna, bool visible) {
    if (columna >= 1 && columna <= numeroColumnas()) setColumnHidden(columna - 1, !visible);
}

void Rejilla::soloLectura(bool si) {
    modelo_->ponerEditable(!si);
    // A list to read picks whole rows; an editable grid shows the cell being worked on.
    setSelectionBehavior(si ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void Rejilla::registrarLista(const QString& nombre, const QStringList& entradas) {
    modelo_->registrarLista(nombre, entradas);
}

void Rejilla::ponerTipoColumna(int columna, TipoCelda tipo, const QString& lista) {
    ++generacion_;
    modelo_->ponerTipoColumna(columna, tipo, lista);
}

void Rejilla::ponerColoresAlternos(const QColor& impares, const QColor& pares) {
    modelo_->ponerColoresAlternos(impares, pares);
}

void Rejilla::ponerBusquedaPorTecleo(bool activa) {
    busquedaActiva_ = activa;
    prefijo_.clear();
}

int Rejilla::filaActual() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int Rejilla::columnaActual() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + 1 : 0;
}

void Rejilla::ponerCeldaActual(int fila, int columna) {
    const QModelIndex i = modelo_->index(fila - 1, columna - 1);
    if (!i.isValid()) return;
    selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect |
               (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                  : QItemSelectionModel::NoUpdate));
    scrollTo(i);
}

void Rejilla::ponerDibujo(bool activo) {
    if (activo) {
        if (apagado_ == 0) return;
        if (--apagado_ > 0) return;
        modelo_->reanudarAvisos();
        viewport()->setUpdatesEnabled(true);
        // The rows laid out now rather than on the next turn of the event loop, which would
        // paint the list a second time.
        executeDelayedItemsLayout();
        --silencio_;
    } else if (apagado_++ == 0) {
        ++silencio_;
        // The cells only: the frame, the titles and the scroll bars do not change while the
        // rows come, and turned on again they would be painted anew with the window under them.
        viewport()->setUpdatesEnabled(false);
        modelo_->suspenderAvisos();
    }
}

bool Rejilla::permitirEdicion(const QModelIndex& indice) {
    bool cancelar = false;
    emit solicitudEdicion(indice.row() + 1, indice.column() + 1, cancelar);
    return !cancelar;
}

bool Rejilla::edit(const QModelIndex& indice, EditTrigger disparador, QEvent* evento) {
    if (!indice.isValid()) return false;
    // Only a call that is about to open an editor asks first: mouse presses and releases
    // also pass through here without meaning an edit.
    const bool abriria = disparador != NoEditTriggers && state() != EditingState &&
                         (disparador == AllEditTriggers || (editTriggers() & disparador)) &&
                         (modelo_->flags(indice) & Qt::ItemIsEditable);
    if (abriria) {
        const QPersistentModelIndex pedido(indice);
        if (!permitirEdicion(indice) || !pedido.isValid()) return false;
        // The handler may have removed the row or made the grid read-only meanwhile.
        if (!(modelo_->flags(pedido) & Qt::ItemIsEditable)) return false;
        return QTableView::edit(pedido, disparador, evento);
    }
    return QTableView::edit(indice, disparador, evento);
}

void Rejilla::alternarCasilla(const QModelIndex& indice) {
    if (!indice.isValid() || tipoColumna(indice.column() + 1) != TipoCelda::Casilla) return;
    const QPersistentModelIndex pedido(indice);
    if (!permitirEdicion(indice) || !pedido.isValid()) return;
    modelo_->alternarCasilla(pedido.row() + 1, pedido.column() + 1);
}

bool Rejilla::terminarEdicion() {
    if (!editando()) return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return true;
    rechazada_ = false;
    emit delegado_->commitData(editor);
    emit delegado_->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !rechazada_;
}

bool Rejilla::aceptarTexto(const QModelIndex& indice, QString& texto) {
    QString rechazo;
    emit revisarEdicion(indice.row() + 1, indice.column() + 1, texto, rechazo);
    if (rechazo.isEmpty()) return true;
    rechazada_ = true;
    // The editor is closing now; the message comes once it has, and then the clerk is back in
    // the cell with what was typed.
    const QPersistentModelIndex celda(indice);
    QTimer::singleShot(0, this, [this, celda, texto, rechazo] {
        if (!celda.isValid()) return;
        const QPointer<Rejilla> yo(this);
        emit edicionRechazada(celda.row() + 1, celda.column() + 1, rechazo);
        if (!yo || !celda.isValid() || esSoloLectura()) return;
        // Tab may have opened the next cell meanwhile.
        if (editando() && currentIndex() != celda) terminarEdicion();
        setFocus();
        ponerCeldaActual(celda.row() + 1, celda.column() + 1);
        if (!editando() && !edit(QModelIndex(celda), AllEditTriggers, nullptr)) return;
        if (auto* linea = qobject_cast<QLineEdit*>(indexWidget(celda))) {
            linea->setText(texto);
            linea->end(false);
        }
    });
    return false;
}

void Rejilla::vaciarCelda(const QModelIndex& indice) {
    const int columna = indice.column() + 1;
    const bool casilla = tipoColumna(columna) == TipoCelda::Casilla;
    if (!casilla && !(modelo_->flags(indice) & Qt::ItemIsEditable)) return;
    if (casilla && !CeldaMarcada(modelo_->valor(indice.row() + 1, columna))) return;
    const QPersistentModelIndex pedido(indice);
    if (!permitirEdicion(indice) || !pedido.isValid()) return;
    if (casilla)
        modelo_->alternarCasilla(pedido.row() + 1, pedido.column() + 1);
    else
        modelo_->setData(pedido, QVariant(), Qt::EditRole);
}

void Rejilla::abrirLista(const QModelIndex& indice, QKeyEvent* evento) {
    if (tipoColumna(indice.column() + 1) != TipoCelda::Lista) return;
    const QPersistentModelIndex pedido(indice);
    if (!edit(indice, EditKeyPressed, evento) || !pedido.isValid()) return;
    if (auto* lista = qobject_cast<QComboBox*>(indexWidget(pedido))) lista->showPopup();
}

namespace {
std::vector<Rejilla::EntradasMenu>& Entradas() {
    static std::vector<Rejilla::EntradasMenu> entradas;
    return entradas;
}
}  // namespace

void Rejilla::AgregarEntradasMenu(EntradasMenu entradas) {
    Entradas().push_back(std::move(entradas));
}

void Rejilla::contextMenuEvent(QContextMenuEvent* evento) {
    QPoint donde = evento->globalPos();
    // From the keyboard the menu opens on the current cell.
    if (evento->reason() != QContextMenuEvent::Mouse) {
        const QRect celda = visualRect(currentIndex());
        donde = viewport()->mapToGlobal(celda.isValid() ? celda.center() : QPoint(8, 8));
    }
    evento->accept();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MenuRejilla"));
    for (const EntradasMenu& entradas : Entradas()) entradas(menu, *this);
    if (!menu.isEmpty()) menu.exec(donde);
}

void Rejilla::keyPressEvent(QKeyEvent* evento) {
    // A key right after a click on the current cell is the clerk's, not the click's.
    edicionDiferida_.stop();
    if (state() != EditingState &&
        ((evento->key() == Qt::Key_F10 && evento->modifiers() == Qt::ShiftModifier) ||
         (evento->key() == Qt::Key_Menu && evento->modifiers() == Qt::NoModifier))) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenuEvent(&menu);
        evento->accept();
        return;
    }
    const bool conModificador =
        evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QModelIndex actual = currentIndex();

    const bool abreLista =
        (evento->key() == Qt::Key_F4 && !conModificador) ||
        (evento->key() == Qt::Key_Down && (evento->modifiers() & Qt::AltModifier));
    if (abreLista) {
        // Never a move to the next row: F4 and Alt+Down are the list's keys.
        if (actual.isValid() && state() != EditingState) abrirLista(actual, evento);
        evento->accept();
        return;
    }
    if (evento->key() == Qt::Key_Delete && !conModificador && actual.isValid() &&
        state() != EditingState) {
        if (modelo_->editable() || tipoColumna(actual.column() + 1) == TipoCelda::Casilla)
            vaciarCelda(actual);
        else
            emit teclaSuprimir(actual.row() + 1, actual.column() + 1);
        evento->accept();
        return;
    }

    if (evento->key() == Qt::Key_Space && !conModificador && actual.isValid() &&
        tipoColumna(actual.column() + 1) == TipoCelda::Casilla) {
        alternarCasilla(actual);
        evento->accept();
        return;
    }
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        // Enter edits the cell (an open editor takes its own Enter as the end of the edit), or
        // acts on the row of a list as its double-click does; it never reaches a button.
        if (actual.isValid() && state() != EditingState) {
            if (enterComoDobleClic_ && !modelo_->editable())
                emit dobleClic(actual.row() + 1, actual.column() + 1);
            else
                edit(actual, EditKeyPressed, evento);
        }
        evento->accept();
        return;
    }
    if (busquedaActiva_ && !conModificador) {
        const QString texto = evento->text();
        if (evento->key() == Qt::Key_Backspace && !prefijo_.isEmpty()) {
            prefijo_.chop(1);
            ultimoTecleo_.start();
            if (!prefijo_.isEmpty()) buscarTecleado(QString());
            evento->accept();
            return;
        }
        if (!texto.isEmpty() && texto.at(0).isPrint()) {
            buscarTecleado(texto);
            evento->accept();
            return;
        }
    }
    QTableView::keyPressEvent(evento);
}

void Rejilla::keyboardSearch(const QString& tecleado) {
    // Qt's own search on typing would move the cell in every grid; here it is a mode.
    if (busquedaActiva_) buscarTecleado(tecleado);
}

void Rejilla::buscarTecleado(const QString& tecleado) {
    if (!ultimoTecleo_.isValid() || ultimoTecleo_.elapsed() >= pausaBusqueda_) prefijo_.clear();
    ultimoTecleo_.start();
    prefijo_ += tecleado;

    int columna = columnaBusqueda_;
    if (columna < 1 || columna > numeroColumnas()) columna = qMax(1, columnaActual());
    if (columna > numeroColumnas()) return;
    for (int fila = 1; fila <= numeroFilas(); ++fila) {
        if (texto(fila, columna).startsWith(prefijo_, Qt::CaseInsensitive)) {
            ponerCeldaActual(fila, columnaActual() > 0 ? columnaActual() : columna);
            return;
        }
    }
}

void Rejilla::mousePressEvent(QMouseEvent* evento) {
    edicionDiferida_.stop();
    const QModelIndex antes = currentIndex();
    QTableView::mousePressEvent(evento);
    const QModelIndex i = indexAt(evento->position().toPoint());
    clicSobreActual_ = evento->button() == Qt::LeftButton &&
                               evento->modifiers() == Qt::NoModifier && i.isValid() && i == antes
                           ? QPersistentModelIndex(i)
                           : QPersistentModelIndex();
    casillaPulsada_ = evento->button() == Qt::LeftButton && i.isValid() &&
                              tipoColumna(i.column() + 1) == TipoCelda::Casilla
                          ? QPersistentModelIndex(i)
                          : QPersistentModelIndex();
}

void Rejilla::mouseReleaseEvent(QMouseEvent* evento) {
    QTableView::mouseReleaseEvent(evento);
    const QModelIndex i = indexAt(evento->position().toPoint());
    const QPersistentModelIndex pulsada = casillaPulsada_;
    casillaPulsada_ = QPersistentModelIndex();
    // A click ticks: pressed and released on the same check-box cell.
    if (evento->button() == Qt::LeftButton && i.isValid() && pulsada == i) alternarCasilla(i);
    // A click on the cell that was already current edits it, unless a double-click follows.
    if (clicSobreActual_.isValid() && clicSobreActual_ == i && !editando() &&
        tipoColumna(i.column() + 1) != TipoCelda::Casilla)
        edicionDiferida_.start(QApplication::doubleClickInterval());
    else
        clicSobreActual_ = QPersistentModelIndex();
}

void Rejilla::mouseDoubleClickEvent(QMouseEvent* evento) {
    edicionDiferida_.stop();
    clicSobreActual_ = QPersistentModelIndex();
    QTableView::mouseDoubleClickEvent(evento);
}

bool CargarLista(Rejilla* lista, const std::function<void()>& cargar) {
    bool detenida = false;
    {
        TrabajoLargo trabajo(lista);
        try {
            cargar();
        } catch (const TrabajoDetenido&) {
            detenida = true;
        } catch (const db::ErrorBD&) {
            // The statement interrupted by the stop fails as any other would.
            if (!trabajo.detenido()) throw;
            detenida = true;
        }
    }
    if (!detenida) return true;
    lista->quitarFilas();
    MensajeInformacion(QStringLiteral("Se detuvo la consulta: la lista quedó vacía."),
                       QStringLiteral("Consulta Detenida"));
    return false;
}
