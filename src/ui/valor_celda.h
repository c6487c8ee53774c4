#pragma once
// How the grids show, read back and classify the values of their cells, in one place: every
// list, the export and the reception's checks agree on what a cell says.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

// dd/MM/yyyy, and HH:mm:ss after it when the time is not midnight; empty for no date.
QString TextoFecha(const QDate& dia, const QTime& hora);
// What a cell with that value shows: dates as above, booleans "Verdadero"/"Falso".
QString TextoDeCelda(const QVariant& valor);
// As TextoDeCelda, but a real number with every digit it has and no more: what shows is what
// is stored, and written back it reads as the same number (the guards compare it so).
QString TextoExactoDeCelda(const QVariant& valor);
// Whether the value is a number of some kind (not a text that reads as one).
bool EsNumeroDeCelda(const QVariant& valor);
// A check-box cell reads 1 when ticked; anything else is not ticked.
bool CeldaMarcada(const QVariant& valor);
// Short figures written as text (amounts, numbers read back trimmed) are numbers; long runs of
// digits, such as telephones, and codes with leading zeros stay text.
bool PareceNumero(const QString& texto);
// The moment a text shown as TextoFecha shows it stands for; invalid when it is no such text.
// `conHora` tells whether it carried the time.
QDateTime FechaDeTextoCelda(const QString& texto, bool* conHora = nullptr);
