#include "ui/modelo_rejilla.h"

#include <QDateTime>

#include "db/recordset.h"
#include "ui/importes.h"
#include "ui/valor_celda.h"

ModeloRejilla::ModeloRejilla(QObject* parent) : QAbstractTableModel(parent) {}

int ModeloRejilla::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : filas_; }

int ModeloRejilla::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : numeroColumnas();
}

QVariant ModeloRejilla::data(const QModelIndex& indice, int rol) const {
    const int fila = indice.row() + 1, columna = indice.column() + 1;
    if (!indice.isValid() || !dentro(fila, columna)) return QVariant();
    const Columna& c = columnas_[columna - 1];
    switch (rol) {
        case Qt::DisplayRole:
            return c.tipo == TipoCelda::Casilla ? QVariant() : QVariant(mostrado(c, fila - 1));
        case Qt::EditRole:
            return c.celdas.valor(fila - 1);
        case Qt::CheckStateRole:
            if (c.tipo != TipoCelda::Casilla) return QVariant();
            return c.celdas.marcada(fila - 1) ? Qt::Checked : Qt::Unchecked;
        case Qt::BackgroundRole: {
            const QColor color = fondo(fila, columna);
            return color.isValid() ? QVariant(color) : QVariant();
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alineacion(fila, columna));
        default:
            return QVariant();
    }
}

bool ModeloRejilla::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
    if (!indice.isValid() || rol != Qt::EditRole) return false;
    const int fila = indice.row() + 1, columna = indice.column() + 1;
    if (!dentro(fila, columna)) return false;
    // An editor left empty leaves an empty cell, as one never written.
    const bool vacio = valor.typeId() == QMetaType::QString && valor.toString().isEmpty();
    ponerValor(fila, columna, vacio ? QVariant() : valor);
    return true;
}

QVariant ModeloRejilla::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Vertical) {
        return rol == Qt::DisplayRole ? QVariant(seccion + 1) : QVariant();
    }
    if (seccion < 0 || seccion >= numeroColumnas()) return QVariant();
    if (rol == Qt::DisplayRole) return columnas_[seccion].titulo;
    return QVariant();
}

Qt::ItemFlags ModeloRejilla::flags(const QModelIndex& indice) const {
    if (!indice.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    // A tick is not an editor: the view toggles it itself, after asking.
    if (editable_ && columnas_[indice.column()].tipo != TipoCelda::Casilla) f |= Qt::ItemIsEditable;
    return f;
}

void ModeloRejilla::quitarFilas() {
    if (filas_ == 0) return;
    if (!suspendido_) beginRemoveRows(QModelIndex(), 0, filas_ - 1);
    for (Columna& c : columnas_) c.celdas.vaciar();
    filas_ = 0;
    colores_.clear();
    if (!suspendido_) endRemoveRows();
}

void ModeloRejilla::quitarFilasYColumnas() {
    if (!suspendido_) beginResetModel();
    columnas_.clear();
    filas_ = 0;
    colores_.clear();
    if (!suspendido_) endResetModel();
}

int ModeloRejilla::agregarColumna(const QString& titulo) {
    const int nueva = numeroColumnas();
    if (!suspendido_) beginInsertColumns(QModelIndex(), nueva, nueva);
    Columna c;
    c.titulo = titulo;
    c.celdas.agregarNulos(filas_);
    columnas_.push_back(std::move(c));
    if (!suspendido_) endInsertColumns();
    return nueva + 1;
}

int ModeloRejilla::agregarFila() {
    if (!suspendido_) beginInsertRows(QModelIndex(), filas_, filas_);
    for (Columna& c : columnas_) c.celdas.agregarNulo();
    ++filas_;
    if (!suspendido_) endInsertRows();
    return filas_;
}

void ModeloRejilla::quitarFila(int fila) {
    if (fila < 1 || fila > filas_) return;
    if (!suspendido_) beginRemoveRows(QModelIndex(), fila - 1, fila - 1);
    for (Columna& c : columnas_) c.celdas.quitar(fila - 1);
    --filas_;
    // The colours of the rows below move up with them.
    std::map<std::pair<int, int>, QColor> movidos;
    for (const auto& [celda, color] : colores_) {
        if (celda.first < fila - 1)
            movidos.emplace(celda, color);
        else if (celda.first > fila - 1)
            movidos.emplace(std::pair(celda.first - 1, celda.second), color);
    }
    colores_.swap(movidos);
    if (!suspendido_) endRemoveRows();
}

QVariant ModeloRejilla::valor(int fila, int columna) const {
    return dentro(fila, columna) ? columnas_[columna - 1].celdas.valor(fila - 1) : QVariant();
}

void ModeloRejilla::ponerValor(int fila, int columna, const QVariant& valor) {
    if (!dentro(fila, columna)) return;
    columnas_[columna - 1].celdas.poner(fila - 1, valor);
    static const QList<int> roles = {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole,
                                     Qt::TextAlignmentRole};
    avisarCambio(fila, columna, roles);
}

QColor ModeloRejilla::colorFondo(int fila, int columna) const {
    const auto propio = colores_.find({fila - 1, columna - 1});
    return propio == colores_.end() ? QColor() : propio->second;
}

void ModeloRejilla::ponerColorFondo(int fila, int columna, const QColor& color) {
    if (!dentro(fila, columna)) return;
    if (color.isValid())
        colores_[{fila - 1, columna - 1}] = color;
    else
        colores_.erase({fila - 1, columna - 1});
    static const QList<int> roles = {Qt::BackgroundRole};
    avisarCambio(fila, columna, roles);
}

QColor ModeloRejilla::fondo(int fila, int columna) const {
    if (!colores_.empty()) {
        const auto propio = colores_.find({fila - 1, columna - 1});
        if (propio != colores_.end()) return propio->second;
    }
    return fila % 2 == 1 ? colorImpares_ : colorPares_;
}

Qt::Alignment ModeloRejilla::alineacion(int fila, int columna) const {
    const Columna& c = columnas_[columna - 1];
    const bool derecha = c.celdas.esNumero(fila - 1) || c.formato == FormatoCelda::Importe;
    return Qt::AlignVCenter | (derecha ? Qt::AlignRight : Qt::AlignLeft);
}

QString ModeloRejilla::texto(int fila, int columna) const {
    return dentro(fila, columna) ? columnas_[columna - 1].celdas.texto(fila - 1) : QString();
}

QString ModeloRejilla::textoMostrado(int fila, int columna) const {
    if (!dentro(fila, columna) || columnas_[columna - 1].tipo == TipoCelda::Casilla)
        return QString();
    return mostrado(columnas_[columna - 1], fila - 1);
}

QStringView ModeloRejilla::textoMostrado(int fila, int columna, QString& apoyo) const {
    if (!dentro(fila, columna) || columnas_[columna - 1].tipo == TipoCelda::Casilla) return {};
    const Columna& c = columnas_[columna - 1];
    if (c.formato == FormatoCelda::Importe) return apoyo = mostrado(c, fila - 1);
    return c.celdas.texto(fila - 1, apoyo);
}

QString ModeloRejilla::mostrado(const Columna& c, int fila) const {
    const QString texto = c.celdas.texto(fila);
    if (c.formato != FormatoCelda::Importe) return texto;
    // Anything that is not a number (a clerk's typing refused later) is shown as it is.
    bool esNumero = false;
    const double importe = texto.trimmed().toDouble(&esNumero);
    return esNumero ? TextoImporte(importe) : texto;
}

namespace {

// The value as trimmed text: a text loses its blanks in place, anything else is written out.
void ComoTexto(db::ValorCrudo& v, QString (*texto)(const QVariant&)) {
    using Tipo = db::ValorCrudo::Tipo;
    if (v.tipo == Tipo::Nulo) return;
    if (v.tipo == Tipo::Texto && v.utf8) {
        auto blanco = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
        while (v.bytes > 0 && blanco(*v.utf8)) {
            ++v.utf8;
            --v.bytes;
        }
        while (v.bytes > 0 && blanco(v.utf8[v.bytes - 1])) --v.bytes;
        return;
    }
    if (v.tipo == Tipo::Fecha && (texto == &TextoExactoDeCelda || texto == &TextoDeCelda)) {
        // What either gives a date, written straight from the stored value.
        v.variante = TextoFecha(db::DiaDeFechaCruda(v.entero), db::HoraDeFechaCruda(v.entero));
        v.tipo = Tipo::Texto;
        v.utf8 = nullptr;
        return;
    }
    QVariant valor;
    switch (v.tipo) {
        case Tipo::Entero:
            valor = v.entero;
            break;
        case Tipo::Real:
            valor = v.real;
            break;
        case Tipo::Fecha:
            valor = db::FechaDeCruda(v.entero);
            break;
        case Tipo::Bit:
            valor = v.entero != 0;
            break;
        default:
            valor = v.variante;
            break;
    }
    v.variante = texto(valor).trimmed();
    v.tipo = Tipo::Texto;
    v.utf8 = nullptr;
}

}  // namespace

void ModeloRejilla::leer(db::Recordset& registros, const std::vector<CeldasRejilla*>& celdas,
                         const std::vector<QString (*)(const QVariant&)>& comoTexto,
                         const std::function<void(const db::ValorCrudo*)>& porFila,
                         const std::function<void()>& entreFilas,
                         const std::function<void(int filas)>& ponerEnLugar) {
    // Read aside and put in place at the end: while the rows come, the views keep showing a
    // consistent grid, and window events may run in between.
    const int campos = int(celdas.size());
    int filas = 0;
    try {
        std::vector<db::ValorCrudo> fila(static_cast<size_t>(campos));
        while (!registros.eof()) {
            registros.filaCruda(fila.data());
            for (int i = 0; i < campos; ++i) {
                CeldasRejilla* c = celdas[size_t(i)];
                if (!c) continue;
                if (comoTexto[size_t(i)]) {
                    // Made text for the grid only: `porFila` sees the value as read.
                    db::ValorCrudo v = fila[size_t(i)];
                    ComoTexto(v, comoTexto[size_t(i)]);
                    c->agregar(v);
                } else {
                    c->agregar(fila[size_t(i)]);
                }
            }
            if (porFila) porFila(fila.data());
            ++filas;
            registros.siguiente();
            if (entreFilas) entreFilas();
        }
    } catch (...) {
        // A read that fails halfway leaves the complete rows read so far.
        for (CeldasRejilla* c : celdas)
            while (c && c->filas() > filas) c->quitar(c->filas() - 1);
        ponerEnLugar(filas);
        throw;
    }
    ponerEnLugar(filas);
}

void ModeloRejilla::llenar(db::Recordset& registros, const std::function<void()>& entreFilas) {
    const int campos = registros.numeroCampos();
    std::vector<Columna> nuevas(static_cast<size_t>(campos));
    std::vector<CeldasRejilla*> celdas;
    for (int i = 0; i < campos; ++i) {
        nuevas[size_t(i)].titulo = registros.nombreCampo(i);
        celdas.push_back(&nuevas[size_t(i)].celdas);
    }
    reservar(celdas);
    leer(registros, celdas, std::vector<QString (*)(const QVariant&)>(celdas.size()), {},
         entreFilas, [&](int filas) {
             recordarLlenado(celdas);
             // One reset: with as many columns as before the header keeps its sections.
             if (!suspendido_) beginResetModel();
             columnas_.swap(nuevas);
             filas_ = filas;
             colores_.clear();
             if (!suspendido_) endResetModel();
         });
}

void ModeloRejilla::llenarColumnas(db::Recordset& registros, const std::vector<Destino>& destinos,
                                   const std::function<void(const db::ValorCrudo*)>& porFila,
                                   const std::function<void()>& entreFilas) {
    std::vector<CeldasRejilla> nuevas(columnas_.size());
    std::vector<CeldasRejilla*> celdas(destinos.size());
    std::vector<QString (*)(const QVariant&)> comoTexto(destinos.size());
    for (size_t i = 0; i < destinos.size(); ++i) {
        const int c = destinos[i].columna;
        if (c < 1 || c > numeroColumnas()) continue;
        celdas[i] = &nuevas[size_t(c - 1)];
        comoTexto[i] = destinos[i].comoTexto;
    }
    std::vector<CeldasRejilla*> todas;
    for (CeldasRejilla& c : nuevas) todas.push_back(&c);
    reservar(todas);
    leer(registros, celdas, comoTexto, porFila, entreFilas, [&](int filas) {
        for (CeldasRejilla& c : nuevas)
            if (c.filas() < filas) c.agregarNulos(filas - c.filas());
        recordarLlenado(todas);
        if (!suspendido_) beginResetModel();
        for (size_t c = 0; c < nuevas.size(); ++c) std::swap(columnas_[c].celdas, nuevas[c]);
        filas_ = filas;
        colores_.clear();
        if (!suspendido_) endResetModel();
    });
}

void ModeloRejilla::reservar(const std::vector<CeldasRejilla*>& celdas) const {
    // A list searched again tends to come back as long as the last time.
    for (size_t i = 0; i < celdas.size() && i < llenado_.size(); ++i)
        celdas[i]->reservar(llenado_[i].first, llenado_[i].second);
}

void ModeloRejilla::recordarLlenado(const std::vector<CeldasRejilla*>& celdas) {
    llenado_.clear();
    for (CeldasRejilla* c : celdas) {
        llenado_.emplace_back(c->filas(), c->caracteres());
        c->ajustar();
    }
}

QString ModeloRejilla::tituloColumna(int columna) const {
    return columna >= 1 && columna <= numeroColumnas() ? columnas_[columna - 1].titulo : QString();
}

int ModeloRejilla::buscarColumna(const QString& titulo) const {
    for (int i = 0; i < numeroColumnas(); ++i)
        if (columnas_[i].titulo == titulo) return i + 1;
    for (int i = 0; i < numeroColumnas(); ++i)
        if (columnas_[i].titulo.compare(titulo, Qt::CaseInsensitive) == 0) return i + 1;
    return 0;
}

void ModeloRejilla::ponerEditable(bool editable) {
    if (editable_ == editable) return;
    editable_ = editable;
    if (filas_ > 0 && !columnas_.empty() && !suspendido_)
        emit dataChanged(index(0, 0), index(filas_ - 1, numeroColumnas() - 1));
}

void ModeloRejilla::registrarLista(const QString& nombre, const QStringList& entradas) {
    listas_.insert(nombre, entradas);
}

void ModeloRejilla::ponerTipoColumna(int columna, TipoCelda tipo, const QString& lista) {
    if (columna < 1 || columna > numeroColumnas()) return;
    columnas_[columna - 1].tipo = tipo;
    columnas_[columna - 1].lista = tipo == TipoCelda::Lista ? lista : QString();
    if (filas_ > 0 && !suspendido_)
        emit dataChanged(index(0, columna - 1), index(filas_ - 1, columna - 1));
}

void ModeloRejilla::ponerFormatoColumna(int columna, FormatoCelda formato) {
    if (columna < 1 || columna > numeroColumnas()) return;
    columnas_[columna - 1].formato = formato;
    if (filas_ > 0 && !suspendido_)
        emit dataChanged(index(0, columna - 1), index(filas_ - 1, columna - 1),
                         {Qt::DisplayRole, Qt::TextAlignmentRole});
}

FormatoCelda ModeloRejilla::formatoColumna(int columna) const {
    return columna >= 1 && columna <= numeroColumnas() ? columnas_[columna - 1].formato
                                                       : FormatoCelda::General;
}

TipoCelda ModeloRejilla::tipoColumna(int columna) const {
    return columna >= 1 && columna <= numeroColumnas() ? columnas_[columna - 1].tipo
                                                       : TipoCelda::Texto;
}

QString ModeloRejilla::listaColumna(int columna) const {
    return columna >= 1 && columna <= numeroColumnas() ? columnas_[columna - 1].lista : QString();
}

void ModeloRejilla::ponerColoresAlternos(const QColor& impares, const QColor& pares) {
    colorImpares_ = impares;
    colorPares_ = pares;
    if (filas_ > 0 && !columnas_.empty() && !suspendido_)
        emit dataChanged(index(0, 0), index(filas_ - 1, numeroColumnas() - 1),
                         {Qt::BackgroundRole});
}

void ModeloRejilla::alternarCasilla(int fila, int columna) {
    if (!dentro(fila, columna)) return;
    ponerValor(fila, columna, columnas_[columna - 1].celdas.marcada(fila - 1) ? 0 : 1);
}

void ModeloRejilla::suspenderAvisos() {
    if (suspendido_++ == 0) beginResetModel();
}

void ModeloRejilla::reanudarAvisos() {
    if (suspendido_ == 0) return;
    if (--suspendido_ == 0) endResetModel();
}

void ModeloRejilla::avisarCambio(int fila, int columna, const QList<int>& roles) {
    if (suspendido_) return;
    const QModelIndex i = index(fila - 1, columna - 1);
    emit dataChanged(i, i, roles);
}
