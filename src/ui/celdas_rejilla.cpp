#include "ui/celdas_rejilla.h"

#include <QStringDecoder>
#include <bit>
#include <cstring>
#include <new>
#include <unordered_map>

#include "ui/valor_celda.h"

namespace {

constexpr qsizetype LargoMaximo = 0xFFFFFF;
// Texts looked up before a column that found (almost) none repeated stops looking.
constexpr int BuscadosParaDecidir = 256;

}  // namespace

// --- the text buffer ---

void CeldasRejilla::Caracteres::cambiarCapacidad(qsizetype capacidad) {
    void* p = std::realloc(datos_.get(), size_t(capacidad) * sizeof(QChar));
    if (!p && capacidad > 0) throw std::bad_alloc();
    datos_.release();
    datos_.reset(static_cast<QChar*>(p));
    capacidad_ = capacidad;
}

QChar* CeldasRejilla::Caracteres::espacio(qsizetype cuantos) {
    if (largo_ + cuantos > capacidad_)
        cambiarCapacidad(std::max(largo_ + cuantos, std::max<qsizetype>(256, capacidad_ * 2)));
    return datos_.get() + largo_;
}

void CeldasRejilla::Caracteres::agregar(QStringView texto) {
    std::memcpy(espacio(texto.size()), texto.data(), size_t(texto.size()) * sizeof(QChar));
    largo_ += texto.size();
}

void CeldasRejilla::Caracteres::ajustar() {
    if (capacidad_ > largo_) cambiarCapacidad(largo_);
}

void CeldasRejilla::Caracteres::vaciar() {
    datos_.reset();
    largo_ = capacidad_ = 0;
}

// --- kinds ---

void CeldasRejilla::separarTipos() { tipos_.assign(datos_.size(), uniforme_); }

void CeldasRejilla::fijarTipo(int fila, Tipo t) {
    if (tipos_.empty()) {
        if (t == uniforme_) return;
        if (datos_.size() == 1) {
            uniforme_ = t;
            return;
        }
        separarTipos();
    }
    tipos_[size_t(fila)] = t;
}

void CeldasRejilla::empujar(Tipo t, qint64 dato) {
    if (datos_.empty() && tipos_.empty()) uniforme_ = t;
    if (tipos_.empty() && t != uniforme_) separarTipos();
    datos_.push_back(dato);
    if (!tipos_.empty()) tipos_.push_back(t);
}

void CeldasRejilla::reservar(int filas, qsizetype caracteres) {
    datos_.reserve(size_t(filas));
    if (caracteres > 0) textos_.espacio(caracteres);
}

// --- writing ---

qint64 CeldasRejilla::guardarTexto(qsizetype inicio) {
    const qsizetype largo = textos_.largo() - inicio;
    if (sinRepetidos_) return Empacar(inicio, largo);
    const QStringView nuevo(textos_.datos() + inicio, largo);
    qint64& reciente = recientes_[qHash(nuevo) % recientes_.size()];
    ++buscados_;
    if (reciente != 0 && Largo(reciente) == largo &&
        std::memcmp(textos_.datos() + Inicio(reciente), nuevo.data(),
                    size_t(largo) * sizeof(QChar)) == 0) {
        ++hallados_;
        textos_.fijarLargo(inicio);
        return reciente;
    }
    if (buscados_ == BuscadosParaDecidir && hallados_ < BuscadosParaDecidir / 16)
        sinRepetidos_ = true;
    reciente = Empacar(inicio, largo);
    return reciente;
}

void CeldasRejilla::agregar(const db::ValorCrudo& v) {
    using T = db::ValorCrudo::Tipo;
    switch (v.tipo) {
        case T::Nulo:
            empujar(Tipo::Nulo, 0);
            return;
        case T::Entero:
            empujar(Tipo::Entero, v.entero);
            return;
        case T::Real:
            empujar(Tipo::Real, std::bit_cast<qint64>(v.real));
            return;
        case T::Fecha:
            empujar(Tipo::Fecha, v.entero);
            return;
        case T::Bit:
            empujar(Tipo::Bit, v.entero != 0);
            return;
        case T::Texto:
            if (!v.utf8) break;
            if (v.bytes == 0) {
                empujar(Tipo::TextoVacio, 0);
                return;
            }
            if (v.bytes <= LargoMaximo) {
                // Decoded in place: a UTF-8 text never has more UTF-16 units than bytes.
                static thread_local QStringDecoder aUtf16(QStringDecoder::Utf8,
                                                          QStringDecoder::Flag::Stateless);
                const qsizetype inicio = textos_.largo();
                QChar* principio = textos_.espacio(v.bytes);
                const QChar* fin =
                    aUtf16.appendToBuffer(principio, QByteArrayView(v.utf8, v.bytes));
                textos_.fijarLargo(inicio + (fin - principio));
                empujar(Tipo::Texto, guardarTexto(inicio));
                return;
            }
            empujar(Tipo::Nulo, 0);
            poner(filas() - 1, QString::fromUtf8(v.utf8, v.bytes));
            return;
        case T::Otro:
            break;
    }
    empujar(Tipo::Nulo, 0);
    poner(filas() - 1, v.variante);
}

void CeldasRejilla::agregarNulos(int cuantas) {
    if (cuantas <= 0) return;
    if (datos_.empty() && tipos_.empty()) uniforme_ = Tipo::Nulo;
    if (tipos_.empty() && uniforme_ != Tipo::Nulo) separarTipos();
    datos_.resize(datos_.size() + size_t(cuantas), 0);
    if (!tipos_.empty()) tipos_.resize(datos_.size(), Tipo::Nulo);
}

void CeldasRejilla::ponerTexto(int fila, QStringView texto) {
    if (texto.isEmpty()) {
        fijarTipo(fila, texto.isNull() ? Tipo::TextoNulo : Tipo::TextoVacio);
        return;
    }
    if (texto.size() > LargoMaximo) {
        fijarTipo(fila, Tipo::Otro);
        datos_[size_t(fila)] = qint64(otros_.size());
        otros_.emplace_back(texto.toString());
        return;
    }
    const qsizetype inicio = textos_.largo();
    textos_.agregar(texto);
    fijarTipo(fila, Tipo::Texto);
    datos_[size_t(fila)] = guardarTexto(inicio);
}

// The cell's old content is given up: its text counts as left over, until the buffer is
// rewritten with what the cells still use.
void CeldasRejilla::dejar(int fila) {
    if (tipo(fila) == Tipo::Texto) sobrante_ += Largo(datos_[size_t(fila)]);
    fijarTipo(fila, Tipo::Nulo);
    datos_[size_t(fila)] = 0;
}

void CeldasRejilla::poner(int fila, const QVariant& v) {
    if (fila < 0 || fila >= filas()) return;
    dejar(fila);
    if (v.isValid() && !v.isNull()) {
        qint64& d = datos_[size_t(fila)];
        switch (v.typeId()) {
            case QMetaType::Int:
                fijarTipo(fila, Tipo::Int);
                d = v.toInt();
                break;
            case QMetaType::LongLong:
                fijarTipo(fila, Tipo::Entero);
                d = v.toLongLong();
                break;
            case QMetaType::Double:
                fijarTipo(fila, Tipo::Real);
                d = std::bit_cast<qint64>(v.toDouble());
                break;
            case QMetaType::Bool:
                fijarTipo(fila, Tipo::Bit);
                d = v.toBool();
                break;
            case QMetaType::QString:
                ponerTexto(fila, *static_cast<const QString*>(v.constData()));
                break;
            default: {
                db::ValorCrudo crudo;
                db::CrudoDeVariante(v, crudo);
                if (crudo.tipo == db::ValorCrudo::Tipo::Fecha) {
                    fijarTipo(fila, Tipo::Fecha);
                    d = crudo.entero;
                } else {
                    fijarTipo(fila, Tipo::Otro);
                    d = qint64(otros_.size());
                    otros_.push_back(v);
                }
            }
        }
    }
    if (sobrante_ > (1 << 16) && sobrante_ > textos_.largo() / 2) compactar();
}

void CeldasRejilla::compactar() {
    Caracteres nuevos;
    // Cells that shared a text keep sharing it.
    std::unordered_map<qint64, qint64> movidos;
    std::vector<QVariant> otros;
    for (int i = 0; i < filas(); ++i) {
        qint64& d = datos_[size_t(i)];
        if (tipo(i) == Tipo::Otro) {
            otros.push_back(std::move(otros_[size_t(d)]));
            d = qint64(otros.size() - 1);
            continue;
        }
        if (tipo(i) != Tipo::Texto) continue;
        const auto [hallado, nuevo] = movidos.try_emplace(d, 0);
        if (nuevo) {
            hallado->second = Empacar(nuevos.largo(), Largo(d));
            nuevos.agregar(vista(d));
        }
        d = hallado->second;
    }
    std::swap(textos_, nuevos);
    otros_.swap(otros);
    recientes_.fill(0);
    sobrante_ = 0;
}

void CeldasRejilla::quitar(int fila) {
    if (fila < 0 || fila >= filas()) return;
    dejar(fila);
    datos_.erase(datos_.begin() + fila);
    if (!tipos_.empty()) tipos_.erase(tipos_.begin() + fila);
}

void CeldasRejilla::vaciar() {
    std::vector<qint64>().swap(datos_);
    std::vector<Tipo>().swap(tipos_);
    std::vector<QVariant>().swap(otros_);
    uniforme_ = Tipo::Nulo;
    textos_.vaciar();
    recientes_.fill(0);
    buscados_ = hallados_ = 0;
    sinRepetidos_ = false;
    sobrante_ = 0;
}

void CeldasRejilla::ajustar() {
    datos_.shrink_to_fit();
    tipos_.shrink_to_fit();
    textos_.ajustar();
}

// --- reading ---

QVariant CeldasRejilla::valor(int fila) const {
    const qint64 d = datos_[size_t(fila)];
    switch (tipo(fila)) {
        case Tipo::Nulo:
            return QVariant();
        case Tipo::Int:
            return QVariant(int(d));
        case Tipo::Entero:
            return QVariant(d);
        case Tipo::Real:
            return QVariant(std::bit_cast<double>(d));
        case Tipo::Texto:
            return QVariant(vista(d).toString());
        case Tipo::TextoVacio:
            return QVariant(QString(QLatin1String("")));
        case Tipo::TextoNulo:
            return QVariant(QString());
        case Tipo::Fecha:
            return QVariant(db::FechaDeCruda(d));
        case Tipo::Bit:
            return QVariant(d != 0);
        case Tipo::Otro:
            return otros_[size_t(d)];
    }
    return QVariant();
}

QString CeldasRejilla::texto(int fila) const {
    const qint64 d = datos_[size_t(fila)];
    switch (tipo(fila)) {
        case Tipo::Nulo:
        case Tipo::TextoVacio:
        case Tipo::TextoNulo:
            return QString();
        case Tipo::Int:
        case Tipo::Entero:
            return QString::number(d);
        case Tipo::Texto:
            return vista(d).toString();
        case Tipo::Fecha:
            return TextoFecha(db::DiaDeFechaCruda(d), db::HoraDeFechaCruda(d));
        default:
            return TextoDeCelda(valor(fila));
    }
}

QStringView CeldasRejilla::texto(int fila, QString& apoyo) const {
    if (tipo(fila) == Tipo::Texto) return vista(datos_[size_t(fila)]);
    return apoyo = texto(fila);
}

bool CeldasRejilla::esNumero(int fila) const {
    switch (tipo(fila)) {
        case Tipo::Int:
        case Tipo::Entero:
        case Tipo::Real:
            return true;
        case Tipo::Otro:
            return EsNumeroDeCelda(otros_[size_t(datos_[size_t(fila)])]);
        default:
            return false;
    }
}

bool CeldasRejilla::marcada(int fila) const {
    const qint64 d = datos_[size_t(fila)];
    switch (tipo(fila)) {
        case Tipo::Nulo:
        case Tipo::TextoVacio:
        case Tipo::TextoNulo:
        case Tipo::Fecha:
            return false;
        case Tipo::Bit:
            return d != 0;
        case Tipo::Int:
        case Tipo::Entero:
            return d == 1;
        case Tipo::Real:
            return std::bit_cast<double>(d) == 1.0;
        case Tipo::Texto:
        case Tipo::Otro:
            break;
    }
    // As a QVariant reads: a text "1" is ticked.
    bool esNumero = false;
    const double n = valor(fila).toDouble(&esNumero);
    return esNumero && n == 1.0;
}
