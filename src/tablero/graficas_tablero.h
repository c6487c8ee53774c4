#pragma once
// The dashboard's charts drawn from its figures. Each reads without colour as well: every
// series has a fill pattern or a line style of its own and the single bars carry their numbers; a
// bar or a point held under the mouse tells its number.
#include <QString>

#include "tablero/cifras_tablero.h"

QT_BEGIN_NAMESPACE
class QChart;
class QBarSet;
QT_END_NAMESPACE

namespace tablero {

QChart* GraficaEstados(const Cifras& c);
QChart* GraficaCaptura(const Cifras& c);
// Its one set, so that a click on a bar opens that bar's list.
QChart* GraficaPendientes(const Cifras& c, QBarSet** barras);
QChart* GraficaTiempos(const Cifras& c);
// The `cuantos` highest rates, the highest on top.
QChart* GraficaRechazos(const std::vector<Rechazos>& r, const QString& titulo, int cuantos);

// Puts the values of `nueva` into `vista` when both have the same series, bar sets, points
// and categories: a chart on screen updated so keeps its frame, legend and laid-out texts,
// which cost more to make than the figures to read. False, and nothing changed, otherwise.
bool CopiarValores(QChart* vista, const QChart* nueva);

// A rate as the tables and charts show it: 25.0 (per cent, one decimal).
double PorCiento(const Rechazos& r);

}  // namespace tablero
