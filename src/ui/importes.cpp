#include "ui/importes.h"

#include <QLocale>
#include <cmath>

QString TextoImporte(double importe) {
    // Comma for thousands and point for cents, whatever the desk's locale says.
    static const QLocale formato(QLocale::English, QLocale::UnitedStates);
    const QString cifra = formato.toString(std::fabs(importe), 'f', 2);
    return (importe < 0 && cifra != QLatin1String("0.00") ? QStringLiteral("-$")
                                                          : QStringLiteral("$")) +
           cifra;
}
