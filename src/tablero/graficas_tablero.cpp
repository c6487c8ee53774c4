#include "tablero/graficas_tablero.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QXYSeries>
#include <cmath>

namespace tablero {

namespace {

// Colours and patterns apart, so that a set is told from the next one in grey as well.
struct Relleno {
    QColor color;
    Qt::BrushStyle patron;
};
const Relleno kRellenos[] = {
    {QColor(70, 130, 180), Qt::SolidPattern},     {QColor(255, 165, 0), Qt::BDiagPattern},
    {QColor(60, 179, 113), Qt::CrossPattern},     {QColor(205, 92, 92), Qt::Dense4Pattern},
    {QColor(147, 112, 219), Qt::FDiagPattern},    {QColor(128, 128, 128), Qt::HorPattern},
    {QColor(210, 180, 140), Qt::DiagCrossPattern}};

QBarSet* Serie(const QString& titulo, int k) {
    auto* s = new QBarSet(titulo);
    const Relleno& r = kRellenos[k % std::size(kRellenos)];
    QBrush brocha(r.color, r.patron);
    s->setBrush(brocha);
    s->setPen(QPen(r.color.darker(170), 1));
    s->setLabelColor(Qt::black);
    return s;
}

QString Numero(double v) {
    return std::floor(v) == v ? QString::number(qint64(v)) : QString::number(v, 'f', 1);
}

// The number of the bar under the mouse, with its category and its set.
void DecirAlPasar(QBarSet* s, const QStringList& categorias, const QString& unidad = {}) {
    QObject::connect(s, &QBarSet::hovered, s, [s, categorias, unidad](bool encima, int i) {
        if (!encima) return QToolTip::hideText();
        QToolTip::showText(QCursor::pos(),
                           QStringLiteral("%1 — %2: %3%4")
                               .arg(categorias.value(i), s->label(), Numero(s->at(i)), unidad));
    });
}

QChart* Grafica(const QString& titulo) {
    auto* g = new QChart;
    g->setTitle(titulo);
    g->setAnimationOptions(QChart::NoAnimation);
    g->legend()->setAlignment(Qt::AlignBottom);
    return g;
}

// From 0 past `maximo` in five steps of 1, 2 or 5 times a power of ten. Always five, so
// that an axis updated in place keeps its ticks and only their numbers change.
void Redondear(QValueAxis* eje, double maximo) {
    constexpr int kPasos = 5;
    const double pasoMinimo = std::max(1.0, maximo / kPasos);
    const double potencia = std::pow(10.0, std::floor(std::log10(pasoMinimo)));
    double paso = 10 * potencia;
    for (double m : {1.0, 2.0, 5.0})
        if (m * potencia >= pasoMinimo) {
            paso = m * potencia;
            break;
        }
    eje->setRange(0, paso * kPasos);
    eje->setTickCount(kPasos + 1);
}

// Bars over categories, with a value axis from 0.
QChart* Barras(QChart* g, QAbstractBarSeries* serie, const QStringList& categorias,
               const QString& unidad, bool horizontal = false) {
    // A stacked segment is often too thin for its number, and sixty of them take longer to lay
    // out than the figures to read: the stacks are told apart by their patterns, their numbers
    // are in the table below and under the mouse.
    serie->setLabelsVisible(!qobject_cast<QStackedBarSeries*>(serie));
    serie->setLabelsPosition(horizontal ? QAbstractBarSeries::LabelsOutsideEnd
                                        : QAbstractBarSeries::LabelsCenter);
    g->addSeries(serie);
    auto* ejeCategorias = new QBarCategoryAxis;
    ejeCategorias->append(categorias);
    auto* ejeValores = new QValueAxis;
    ejeValores->setMin(0);
    ejeValores->setLabelFormat(QStringLiteral("%.0f"));
    ejeValores->setTitleText(unidad);
    g->addAxis(ejeCategorias, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    g->addAxis(ejeValores, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    serie->attachAxis(ejeCategorias);
    serie->attachAxis(ejeValores);
    // Room above the highest bar for its number.
    double maximo = 0;
    for (QBarSet* s : serie->barSets())
        for (int i = 0; i < s->count(); ++i) maximo = std::max(maximo, s->at(i));
    if (qobject_cast<QStackedBarSeries*>(serie)) {
        maximo = 0;
        for (int i = 0; i < int(categorias.size()); ++i) {
            double suma = 0;
            for (QBarSet* s : serie->barSets()) suma += s->at(i);
            maximo = std::max(maximo, suma);
        }
    }
    Redondear(ejeValores, maximo * 1.15);
    for (QBarSet* s : serie->barSets()) DecirAlPasar(s, categorias);
    return g;
}

QDateTime Momento(const QDate& d) { return QDateTime(d, QTime(12, 0)); }

// Whether the values of `b` can go into `a`: the same series, sets, points, axes and categories.
bool MismaForma(const QChart* a, const QChart* b) {
    const auto sa = a->series(), sb = b->series();
    if (sa.size() != sb.size() || a->axes().size() != b->axes().size()) return false;
    for (qsizetype i = 0; i < sa.size(); ++i) {
        if (sa[i]->type() != sb[i]->type()) return false;
        if (auto* x = qobject_cast<QAbstractBarSeries*>(sa[i])) {
            const auto ya = x->barSets(), yb = static_cast<QAbstractBarSeries*>(sb[i])->barSets();
            if (ya.size() != yb.size()) return false;
            for (qsizetype k = 0; k < ya.size(); ++k)
                if (ya[k]->label() != yb[k]->label() || ya[k]->count() != yb[k]->count())
                    return false;
        } else if (auto* x = qobject_cast<QXYSeries*>(sa[i])) {
            if (x->count() != static_cast<QXYSeries*>(sb[i])->count()) return false;
        } else {
            return false;
        }
    }
    for (qsizetype i = 0; i < a->axes().size(); ++i) {
        QAbstractAxis* x = a->axes()[i];
        QAbstractAxis* y = b->axes()[i];
        if (x->type() != y->type() || x->alignment() != y->alignment()) return false;
        if (auto* c = qobject_cast<QBarCategoryAxis*>(x))
            if (c->categories() != static_cast<QBarCategoryAxis*>(y)->categories()) return false;
    }
    return a->title() == b->title();
}

}  // namespace

bool CopiarValores(QChart* vista, const QChart* nueva) {
    if (!vista || !MismaForma(vista, nueva)) return false;
    const auto sa = vista->series(), sb = nueva->series();
    for (qsizetype i = 0; i < sa.size(); ++i) {
        if (auto* x = qobject_cast<QAbstractBarSeries*>(sa[i])) {
            const auto ya = x->barSets(), yb = static_cast<QAbstractBarSeries*>(sb[i])->barSets();
            for (qsizetype k = 0; k < ya.size(); ++k)
                for (int v = 0; v < ya[k]->count(); ++v)
                    if (ya[k]->at(v) != yb[k]->at(v)) ya[k]->replace(v, yb[k]->at(v));
        } else {
            static_cast<QXYSeries*>(sa[i])->replace(static_cast<QXYSeries*>(sb[i])->points());
        }
    }
    for (qsizetype i = 0; i < vista->axes().size(); ++i) {
        if (auto* v = qobject_cast<QValueAxis*>(vista->axes()[i])) {
            const auto* n = static_cast<const QValueAxis*>(nueva->axes()[i]);
            // Its ticks as the new chart's round numbers put them.
            v->setRange(n->min(), n->max());
            v->setTickCount(n->tickCount());
            v->setMinorTickCount(n->minorTickCount());
        } else if (auto* d = qobject_cast<QDateTimeAxis*>(vista->axes()[i])) {
            const auto* n = static_cast<const QDateTimeAxis*>(nueva->axes()[i]);
            d->setRange(n->min(), n->max());
            d->setFormat(n->format());
            d->setTickCount(n->tickCount());
        }
    }
    return true;
}

double PorCiento(const Rechazos& r) { return std::round(r.tasa() * 1000.0) / 10.0; }

QChart* GraficaEstados(const Cifras& c) {
    auto* serie = new QStackedBarSeries;
    QStringList sucursales;
    for (const auto& s : c.sucursales) sucursales << s.nombre;
    for (int k = 0; k < int(c.estados.size()); ++k) {
        QBarSet* set = Serie(c.estados[k], k);
        for (const auto& s : c.sucursales) {
            const auto e = s.porEstado.find(c.estados[k]);
            *set << double(e == s.porEstado.end() ? 0 : e->second);
        }
        serie->append(set);
    }
    return Barras(Grafica(QStringLiteral("Solicitudes por estado en cada sucursal")), serie,
                  sucursales, QStringLiteral("Solicitudes"));
}

QChart* GraficaCaptura(const Cifras& c) {
    QChart* g = Grafica(QStringLiteral("Solicitudes capturadas y relaciones entregadas por día"));
    auto* capturadas = new QLineSeries;
    capturadas->setName(QStringLiteral("Capturadas"));
    capturadas->setPen(QPen(kRellenos[0].color, 3, Qt::SolidLine));
    auto* relaciones = new QLineSeries;
    relaciones->setName(QStringLiteral("Relaciones"));
    relaciones->setPen(QPen(kRellenos[1].color.darker(130), 2, Qt::DashLine));
    double maximo = 1;
    for (size_t d = 0; d < c.capturadas.size(); ++d) {
        const qreal x = qreal(Momento(c.rango.del.addDays(qint64(d))).toMSecsSinceEpoch());
        capturadas->append(x, qreal(c.capturadas[d]));
        relaciones->append(x, qreal(c.relaciones[d]));
        maximo = std::max({maximo, double(c.capturadas[d]), double(c.relaciones[d])});
    }
    const bool pocos = c.capturadas.size() <= 62;
    for (QLineSeries* s : {capturadas, relaciones}) {
        s->setPointsVisible(pocos);
        g->addSeries(s);
        QObject::connect(s, &QLineSeries::hovered, s, [s](const QPointF& p, bool encima) {
            if (!encima) return QToolTip::hideText();
            const QDateTime dia = QDateTime::fromMSecsSinceEpoch(qint64(p.x()));
            // The day nearest the mouse, with its number.
            const QDate d = dia.addSecs(12 * 3600).date();
            const QDateTime m = Momento(d);
            qreal y = 0;
            for (const QPointF& q : s->points())
                if (qint64(q.x()) == m.toMSecsSinceEpoch()) y = q.y();
            QToolTip::showText(QCursor::pos(), QStringLiteral("%1 — %2: %3")
                                                   .arg(d.toString(QStringLiteral("dd/MM/yyyy")),
                                                        s->name(), Numero(y)));
        });
    }
    auto* dias = new QDateTimeAxis;
    dias->setFormat(pocos ? QStringLiteral("dd/MM") : QStringLiteral("MMM yy"));
    dias->setRange(Momento(c.rango.del).addSecs(-12 * 3600),
                   Momento(c.rango.al).addSecs(12 * 3600));
    dias->setTickCount(std::min<int>(int(c.capturadas.size()) + 1, 11));
    auto* valores = new QValueAxis;
    Redondear(valores, maximo * 1.1);
    valores->setLabelFormat(QStringLiteral("%.0f"));
    g->addAxis(dias, Qt::AlignBottom);
    g->addAxis(valores, Qt::AlignLeft);
    for (QLineSeries* s : {capturadas, relaciones}) {
        s->attachAxis(dias);
        s->attachAxis(valores);
    }
    return g;
}

QChart* GraficaPendientes(const Cifras& c, QBarSet** barras) {
    auto* serie = new QBarSeries;
    QBarSet* set = Serie(QStringLiteral("Pendientes"), 0);
    QStringList tramos;
    for (size_t t = 0; t < kTramos.size(); ++t) {
        tramos << QString::fromUtf8(kTramos[t].titulo);
        *set << double(c.pendientes[t]);
    }
    serie->append(set);
    *barras = set;
    QChart* g = Barras(Grafica(QStringLiteral("Solicitudes pendientes por días sin relación")),
                       serie, tramos, QStringLiteral("Solicitudes"));
    g->legend()->hide();
    return g;
}

QChart* GraficaTiempos(const Cifras& c) {
    auto* serie = new QBarSeries;
    QStringList verificadores;
    for (const auto& v : c.verificadores) verificadores << v.nombre;
    const QString titulos[] = {
        QStringLiteral("Mediana captura a entrega"), QStringLiteral("P90 captura a entrega"),
        QStringLiteral("Mediana entrega a resultado"), QStringLiteral("P90 entrega a resultado")};
    for (int k = 0; k < 4; ++k) {
        QBarSet* set = Serie(titulos[k], k);
        for (const auto& v : c.verificadores) {
            const Percentiles& p = k < 2 ? v.entrega : v.resultado;
            *set << double(k % 2 == 0 ? p.mediana : p.p90);
        }
        serie->append(set);
    }
    serie->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    return Barras(Grafica(QStringLiteral("Días por verificador: mediana y percentil 90")), serie,
                  verificadores, QStringLiteral("Días"));
}

QChart* GraficaRechazos(const std::vector<Rechazos>& r, const QString& titulo, int cuantos) {
    auto* serie = new QHorizontalBarSeries;
    QBarSet* set = Serie(QStringLiteral("Rechazo (%)"), 3);
    QStringList nombres;
    const int n = std::min<int>(cuantos, int(r.size()));
    // The axis runs upwards: the highest last, so that it is on top.
    for (int i = n - 1; i >= 0; --i) {
        nombres << QStringLiteral("%1 (%2 de %3)")
                       .arg(r[size_t(i)].nombre)
                       .arg(r[size_t(i)].rechazadas)
                       .arg(r[size_t(i)].resueltas);
        *set << PorCiento(r[size_t(i)]);
    }
    serie->append(set);
    serie->setLabelsFormat(QStringLiteral("@value %"));
    QChart* g = Barras(Grafica(titulo), serie, nombres, QStringLiteral("Rechazo (%)"), true);
    g->legend()->hide();
    return g;
}

}  // namespace tablero
