#pragma once
// Character-wise additive cipher of the stored passwords and of the branch number.
#include <QByteArray>
#include <QString>

// Mode 0 deciphers, any other mode enciphers. Works on code-page codes 0-255.
QByteArray Cifrar(const QByteArray& codigos, short Modo);
// The same on text, through the Windows-1252 code page.
QString Cifrar(const QString& texto, short Modo);
