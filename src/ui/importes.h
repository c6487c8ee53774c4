#pragma once
// Amounts as the office writes them, on screen and on paper: "$12,345.50".
#include <QString>

QString TextoImporte(double importe);
