#include "db/valor_crudo.h"

namespace db {

void CrudoDeVariante(const QVariant& v, ValorCrudo& r) {
    r.utf8 = nullptr;
    r.bytes = 0;
    r.variante = QVariant();
    if (!v.isValid() || v.isNull()) {
        r.tipo = ValorCrudo::Tipo::Nulo;
        return;
    }
    switch (v.typeId()) {
        case QMetaType::LongLong:
            r.tipo = ValorCrudo::Tipo::Entero;
            r.entero = v.toLongLong();
            return;
        case QMetaType::Double:
            r.tipo = ValorCrudo::Tipo::Real;
            r.real = v.toDouble();
            return;
        case QMetaType::Bool:
            r.tipo = ValorCrudo::Tipo::Bit;
            r.entero = v.toBool() ? 1 : 0;
            return;
        case QMetaType::QString:
            r.tipo = ValorCrudo::Tipo::Texto;
            r.variante = v;
            return;
        case QMetaType::QDateTime: {
            const QDateTime f = v.toDateTime();
            if (f.isValid() && f.timeSpec() == Qt::LocalTime) {
                r.tipo = ValorCrudo::Tipo::Fecha;
                r.entero = FechaCruda(f.date(), f.time());
                return;
            }
            break;
        }
        default:
            break;
    }
    r.tipo = ValorCrudo::Tipo::Otro;
    r.variante = v;
}

namespace {

int digitos(const char* p, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char c = p[i];
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace

bool LeerFechaCruda(const char* p, qsizetype bytes, qint64& fecha) {
    if (bytes != 23 || p[4] != '-' || p[7] != '-' || p[10] != ' ' || p[13] != ':' || p[16] != ':' ||
        p[19] != '.')
        return false;
    const QDate dia(digitos(p, 4), digitos(p + 5, 2), digitos(p + 8, 2));
    const QTime hora(digitos(p + 11, 2), digitos(p + 14, 2), digitos(p + 17, 2),
                     digitos(p + 20, 3));
    if (!dia.isValid() || !hora.isValid()) return false;
    fecha = FechaCruda(dia, hora);
    return true;
}

}  // namespace db
