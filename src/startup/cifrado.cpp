#include "startup/cifrado.h"

#include "startup/ansi.h"

namespace {

const QByteArray kLlave = "362TK58M362hB4Rn362TKLWE362TMPOS";

// Ceiling as -floor(-a/b), the form the stored values were computed with.
int techo(int a, int b) { return a / b + (a % b != 0 ? 1 : 0); }

}  // namespace

QByteArray Cifrar(const QByteArray& codigos, short Modo) {
    // An empty text has no repetition count; callers treat the empty result as "no value".
    const int lt = codigos.size();
    if (lt == 0) return {};
    int lk = kLlave.size();
    int n = techo(lk, lt);
    QByteArray llave = kLlave;
    if (lt > lk) {
        n = techo(lt, lk);
        llave = kLlave.repeated(n);
        lk = llave.size();
    }
    QByteArray trabajo = codigos.repeated(n);
    for (int paso = 0; paso < 17; ++paso) {
        QByteArray r(lk, '\0');
        for (int j = 0; j < lk; ++j) {
            const int t = static_cast<unsigned char>(trabajo[j]);
            const int k = static_cast<unsigned char>(llave[j]);
            int v;
            if (Modo == 0) {
                v = t - k;
                if (v < 0) v += 255;
            } else {
                v = t + k;
                if (v > 255) v -= 255;
            }
            r[j] = static_cast<char>(v);
        }
        trabajo = r;
    }
    return trabajo.left(lt);
}

QString Cifrar(const QString& texto, short Modo) {
    return ansi::aTexto(Cifrar(ansi::aCodigos(texto), Modo));
}
