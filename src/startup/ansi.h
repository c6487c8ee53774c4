#pragma once
// The single-byte code page (Windows-1252) of the machines that wrote the stored values.
#include <QByteArray>
#include <QString>

namespace ansi {

// Code 0-255 to its character; the five codes 1252 leaves unassigned map to the C1
// controls of the same number, as Windows does, so every code survives the round trip.
QString aTexto(const QByteArray& codigos);
// Character to its code; a character outside the code page becomes '?'.
QByteArray aCodigos(const QString& texto);
bool representable(const QString& texto);

}  // namespace ansi
