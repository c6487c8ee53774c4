#include "batches/informe_relacion.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <array>

#include "db/recordset.h"
#include "db/sql.h"
#include "ui/importes.h"

namespace informe {

namespace {

constexpr int Resolucion = 300;

// One column of the table: title, share of the width left by the columns that take what
// their widest cell needs (share 0: numbers, telephones, dates), and whether it holds a number.
struct Columna {
    const char* titulo;
    double parte;
    bool derecha;
};

constexpr std::array<Columna, 10> Columnas = {{
    {"Solicitud", 0, true},
    {"Cliente", 0, true},
    {"Nombre", 20, false},
    {"Domicilio", 27, false},
    {"Teléfono", 0, false},
    {"Aval", 22, false},
    {"Sucursal", 12, false},
    {"Vendedor", 19, false},
    {"Importe", 0, true},
    {"Recepción", 0, false},
}};

QStringList Celdas(const LineaRelacion& l) {
    return {l.solicitud,
            l.cliente,
            l.nombre,
            l.domicilio,
            l.telefono,
            l.aval,
            l.sucursal,
            l.vendedor,
            TextoImporte(l.importe),
            l.recepcion.isValid() ? l.recepcion.toString(QStringLiteral("dd/MM/yyyy")) : QString()};
}

QString Limpio(const QVariant& v) { return v.isNull() ? QString() : v.toString().simplified(); }

// Measures and draws the pages. Every page repeats the title and the column titles, so a
// loose sheet still says which batch it belongs to.
class Dibujo {
  public:
    Dibujo(QPdfWriter& pdf, QPainter& pintor, const Relacion& r, const QRectF& hoja)
        : pdf_(pdf), p_(pintor), r_(r), hoja_(hoja) {
        letra_ = QFont(QStringLiteral("DejaVu Sans"));
        letra_.setStyleHint(QFont::SansSerif);
        letra_.setPointSizeF(8);
        // No ligatures: "fi" stays two letters that a search of the PDF finds.
        letra_.setStyleStrategy(QFont::PreferNoShaping);
        negrita_ = letra_;
        negrita_.setBold(true);
        titulo_ = negrita_;
        titulo_.setPointSizeF(14);
        const QFontMetricsF m(letra_, p_.device());
        margen_ = m.height() * 0.3;
        renglon_ = m.height();

        // Figures are never wrapped: their columns take what the widest needs, the texts
        // share the rest.
        const QFontMetricsF mn(negrita_, p_.device());
        std::vector<double> justo(Columnas.size(), 0);
        for (std::size_t c = 0; c < Columnas.size(); ++c)
            justo[c] = mn.horizontalAdvance(QString::fromUtf8(Columnas[c].titulo));
        for (const LineaRelacion& l : r_.lineas) {
            const QStringList celdas = Celdas(l);
            for (std::size_t c = 0; c < Columnas.size(); ++c)
                if (Columnas[c].parte == 0)
                    justo[c] = std::max(justo[c], m.horizontalAdvance(celdas[int(c)]));
        }
        double fijo = 0, partes = 0;
        for (std::size_t c = 0; c < Columnas.size(); ++c) {
            if (Columnas[c].parte == 0)
                fijo += justo[c] + 3 * margen_;
            else
                partes += Columnas[c].parte;
        }
        const double resto = std::max(0.0, hoja_.width() - fijo);
        double x = hoja_.left();
        for (std::size_t c = 0; c < Columnas.size(); ++c) {
            const double ancho = Columnas[c].parte == 0 ? justo[c] + 3 * margen_
                                                        : resto * Columnas[c].parte / partes;
            x_.push_back(x);
            anchos_.push_back(ancho);
            x += ancho;
        }
        altoTitulo_ = QFontMetricsF(titulo_, p_.device()).height() + renglon_ * 2.2;
        altoEncabezado_ = alto(Titulos(), negrita_);
        altoPie_ = renglon_ * 2;
        altoTotales_ = renglon_ * 2.5;
        paginar();
    }

    int paginas() const { return paginas_; }

    void dibujar() {
        int linea = 0;
        for (int pagina = 1; pagina <= paginas_; ++pagina) {
            if (pagina > 1) pdf_.newPage();
            double y = encabezado(pagina);
            while (linea < r_.lineas.size() && pagina_[linea] == pagina) {
                const QStringList celdas = Celdas(r_.lineas[linea]);
                const double h = alto(celdas, letra_);
                if (linea % 2 == 1)
                    p_.fillRect(QRectF(hoja_.left(), y, hoja_.width(), h), QColor(238, 238, 238));
                fila(celdas, y, h, letra_);
                y += h;
                ++linea;
            }
            if (pagina == paginas_) totales(y);
        }
    }

  private:
    static QStringList Titulos() {
        QStringList t;
        for (const Columna& c : Columnas) t << QString::fromUtf8(c.titulo);
        return t;
    }

    // Flags for QPainter::drawText: wrapped at blanks, numbers to the right.
    static int banderas(int columna) {
        return int(Qt::TextWordWrap) | int(Qt::AlignTop) |
               int(Columnas[columna].derecha ? Qt::AlignRight : Qt::AlignLeft);
    }

    QRectF interior(int columna, double y, double h) const {
        return QRectF(x_[columna] + margen_, y + margen_, anchos_[columna] - 2 * margen_,
                      h - 2 * margen_);
    }

    double alto(const QStringList& celdas, const QFont& letra) const {
        const QFontMetricsF m(letra, p_.device());
        double mayor = m.height();
        for (int c = 0; c < celdas.size(); ++c) {
            const QRectF caja(0, 0, anchos_[c] - 2 * margen_, 1e6);
            mayor = std::max(mayor, m.boundingRect(caja, banderas(c), celdas[c]).height());
        }
        return mayor + 2 * margen_;
    }

    void fila(const QStringList& celdas, double y, double h, const QFont& letra) {
        p_.setFont(letra);
        p_.setPen(Qt::black);
        for (int c = 0; c < celdas.size(); ++c) {
            const QRectF caja = interior(c, y, h);
            p_.save();
            p_.setClipRect(caja.adjusted(-margen_, -margen_, margen_, margen_));
            p_.drawText(caja, banderas(c), celdas[c]);
            p_.restore();
        }
        p_.setPen(QPen(QColor(120, 120, 120), 0));
        p_.drawLine(QPointF(hoja_.left(), y + h), QPointF(hoja_.right(), y + h));
    }

    // Title, batch data and column titles; returns where the lines start.
    double encabezado(int pagina) {
        double y = hoja_.top();
        p_.setPen(Qt::black);
        p_.setFont(titulo_);
        const QFontMetricsF mt(titulo_, p_.device());
        p_.drawText(QRectF(hoja_.left(), y, hoja_.width(), mt.height()),
                    int(Qt::AlignLeft | Qt::AlignTop),
                    QStringLiteral("Relación de Verificación ") + r_.numero);
        y += mt.height() + renglon_ * 0.4;
        p_.setFont(letra_);
        const QString entrega = r_.entrega.isValid()
                                    ? r_.entrega.toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                                    : QString();
        p_.drawText(QRectF(hoja_.left(), y, hoja_.width(), renglon_),
                    int(Qt::AlignLeft | Qt::AlignTop),
                    QStringLiteral("Centro de distribución: ") + r_.centro +
                        QStringLiteral("     Verificador: ") + r_.verificador +
                        QStringLiteral("     Fecha de entrega: ") + entrega);
        y = hoja_.top() + altoTitulo_;

        p_.fillRect(QRectF(hoja_.left(), y, hoja_.width(), altoEncabezado_), QColor(210, 210, 210));
        fila(Titulos(), y, altoEncabezado_, negrita_);
        p_.setPen(QPen(Qt::black, 0));
        p_.drawLine(QPointF(hoja_.left(), y), QPointF(hoja_.right(), y));

        // The foot of the page.
        p_.setFont(letra_);
        p_.setPen(Qt::black);
        const QRectF pie(hoja_.left(), hoja_.bottom() - renglon_, hoja_.width(), renglon_);
        p_.drawText(pie, int(Qt::AlignLeft | Qt::AlignBottom),
                    QStringLiteral("Impreso el ") +
                        QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
        p_.drawText(pie, int(Qt::AlignRight | Qt::AlignBottom),
                    QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas_));
        return y + altoEncabezado_;
    }

    void totales(double y) {
        p_.setPen(QPen(Qt::black, 0));
        p_.drawLine(QPointF(hoja_.left(), y), QPointF(hoja_.right(), y));
        p_.setFont(negrita_);
        p_.drawText(QRectF(hoja_.left(), y + renglon_ * 0.5, hoja_.width(), renglon_ * 1.5),
                    int(Qt::AlignLeft | Qt::AlignTop),
                    QStringLiteral("Total de solicitudes: %1").arg(r_.lineas.size()) +
                        QStringLiteral("     Importe total: ") + TextoImporte(r_.total()));
    }

    void paginar() {
        const double inicio = hoja_.top() + altoTitulo_ + altoEncabezado_;
        const double fin = hoja_.bottom() - altoPie_;
        int pagina = 1;
        double y = inicio;
        pagina_.clear();
        for (const LineaRelacion& l : r_.lineas) {
            const double h = alto(Celdas(l), letra_);
            if (y + h > fin && y > inicio) {
                ++pagina;
                y = inicio;
            }
            pagina_.push_back(pagina);
            y += h;
        }
        if (y + altoTotales_ > fin && y > inicio) ++pagina;
        paginas_ = pagina;
    }

    QPdfWriter& pdf_;
    QPainter& p_;
    const Relacion& r_;
    QRectF hoja_;
    QFont letra_, negrita_, titulo_;
    double margen_ = 0, renglon_ = 0;
    double altoTitulo_ = 0, altoEncabezado_ = 0, altoPie_ = 0, altoTotales_ = 0;
    std::vector<double> x_, anchos_;
    std::vector<int> pagina_;
    int paginas_ = 1;
};

}  // namespace

double Relacion::total() const {
    double suma = 0;
    for (const LineaRelacion& l : lineas) suma += l.importe;
    return suma;
}

QString SentenciaRelacion(qint64 numero) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasRelacion, ", ") +
           QStringLiteral(" FROM norv.dbo.Relaciones_Solicitudes_credito r WHERE r.relacion = ") +
           db::Entero(numero);
}

QString SentenciaLineas(qint64 numero) {
    return QStringLiteral("SELECT ") + db::ListaSelect(kColumnasLineas, ", ") +
           QStringLiteral(
               " FROM norv.dbo.detalles_Relaciones_Solicitudes d "
               "JOIN norv.dbo.Solicitudes_cliente_Nuevo s ON s.solicitud = d.Solicitud "
               "WHERE d.Relacion = ") +
           db::Entero(numero) + QStringLiteral(" ORDER BY s.solicitud");
}

Relacion LeerRelacion(db::Conexion& conexion, qint64 numero) {
    Relacion r;
    r.numero = db::Entero(numero);
    db::Recordset registros;
    registros.abrir(SentenciaRelacion(numero), conexion);
    if (!registros.eof()) {
        const db::Lectura c(registros, kColumnasRelacion);
        r.existe = true;
        r.centro = Limpio(c.campo(registros, Cabecera::Centro));
        r.verificador = Limpio(c.campo(registros, Cabecera::Verificador));
        r.entrega = c.campo(registros, Cabecera::Entrega).toDateTime();
    }
    registros.cerrar();
    if (!r.existe) return r;

    registros.abrir(SentenciaLineas(numero), conexion);
    const db::Lectura c(registros, kColumnasLineas);
    while (!registros.eof()) {
        auto campo = [&](Renglon k) { return Limpio(c.campo(registros, k)); };
        LineaRelacion l;
        l.solicitud = campo(Renglon::Solicitud);
        l.cliente = campo(Renglon::Cliente);
        l.nombre = campo(Renglon::Nombre);
        l.domicilio = campo(Renglon::Domicilio);
        l.telefono = campo(Renglon::Telefono);
        l.aval = (campo(Renglon::NombreAval) + QLatin1Char(' ') + campo(Renglon::ApellidosAval))
                     .trimmed();
        l.sucursal = campo(Renglon::Sucursal);
        l.vendedor = campo(Renglon::Vendedor);
        l.importe = c.campo(registros, Renglon::Importe).toDouble();
        l.recepcion = c.campo(registros, Renglon::Recepcion).toDateTime();
        r.lineas << l;
        registros.siguiente();
    }
    registros.cerrar();
    return r;
}

QString TextoImporte(double importe) { return ::TextoImporte(importe); }

bool EscribirPdf(const Relacion& relacion, const QString& ruta, QString* error) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        if (error) *error = archivo.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&archivo);
        pdf.setResolution(Resolucion);
        pdf.setTitle(QStringLiteral("Relación de Verificación ") + relacion.numero);
        pdf.setCreator(QStringLiteral("Solicitudes de Crédito"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                      QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        QPainter pintor(&pdf);
        if (!pintor.isActive()) {
            if (error) *error = QStringLiteral("No se pudo preparar el documento PDF.");
            archivo.cancelWriting();
            return false;
        }
        // The painter's origin is the corner of the printable area, inside the margins.
        const QRectF hoja(QPointF(0, 0), pdf.pageLayout().paintRectPixels(Resolucion).size());
        Dibujo(pdf, pintor, relacion, hoja).dibujar();
        pintor.end();
    }
    if (!archivo.commit()) {
        if (error) *error = archivo.errorString();
        return false;
    }
    return true;
}

}  // namespace informe
