#include "startup/tabla_dbf.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "startup/ansi.h"

namespace dbf {
namespace {

int leer16(const QByteArray& b, int i) {
    return static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8);
}

quint32 leer32(const QByteArray& b, int i) {
    return static_cast<quint32>(leer16(b, i)) | (static_cast<quint32>(leer16(b, i + 2)) << 16);
}

void poner16(QByteArray& b, int i, int v) {
    b[i] = static_cast<char>(v & 0xFF);
    b[i + 1] = static_cast<char>((v >> 8) & 0xFF);
}

QString recortar(const QByteArray& bruto) {
    int ini = 0, fin = bruto.size();
    // Only blanks: an enciphered value may hold any other code, NUL included.
    while (ini < fin && bruto[ini] == ' ') ++ini;
    while (fin > ini && bruto[fin - 1] == ' ') --fin;
    return ansi::aTexto(bruto.mid(ini, fin - ini));
}

struct Campo {
    QString nombre;
    char tipo;
    int desplazamiento;
    int longitud;
    int bitLargo = -1;  // Visual FoxPro: the _NullFlags bit that says a V or Q field is not full
    int bitNulo = -1;   // and the one that says the field is NULL
};

bool esVisualFoxPro(char version) { return version == 0x30 || version == 0x31 || version == 0x32; }

bool bitPuesto(const QByteArray& banderas, int bit) {
    return bit >= 0 && bit / 8 < banderas.size() &&
           (static_cast<unsigned char>(banderas[bit / 8]) >> (bit % 8)) & 1;
}

}  // namespace

bool LeerPrimerRenglon(const QString& ruta, QHash<QString, QString>& campos) {
    const QString nombre = QFileInfo(ruta).fileName();
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw ErrorDbf(QStringLiteral("No se puede leer la tabla %1; revise que el archivo exista "
                                      "y que este usuario pueda leerlo.\nDetalle: %2")
                           .arg(QDir::toNativeSeparators(ruta), f.errorString()));
    const QByteArray b = f.readAll();
    const QString danado = QStringLiteral("La tabla %1 está dañada o incompleta (%2).")
                               .arg(nombre, QStringLiteral("%1"));
    if (b.size() < 33) throw ErrorDbf(danado.arg(QStringLiteral("encabezado incompleto")));

    const bool foxPro = esVisualFoxPro(b[0]);
    const quint32 renglones = leer32(b, 4);
    const int largoEncabezado = leer16(b, 8);
    const int largoRenglon = leer16(b, 10);
    if (largoEncabezado < 33 || largoEncabezado > b.size() || largoRenglon < 1)
        throw ErrorDbf(danado.arg(QStringLiteral("encabezado inválido")));

    QList<Campo> lista;
    int siguiente = 1;  // byte 0 of a row is the deletion mark
    int bits = 0;
    int banderasNulo = -1;  // the hidden _NullFlags field, when the table has one
    for (int i = 32; i + 32 <= largoEncabezado && b[i] != '\x0D'; i += 32) {
        const QByteArray n = b.mid(i, 11);
        const int fin = n.indexOf('\0');
        Campo c{QString::fromLatin1(fin < 0 ? n : n.left(fin)).trimmed().toUpper(), b[i + 11],
                siguiente, static_cast<unsigned char>(b[i + 16])};
        // Character fields may be wider than 255: dBase keeps the high byte in "decimals".
        if (c.tipo == 'C') c.longitud += static_cast<unsigned char>(b[i + 17]) << 8;
        // Visual FoxPro writes each field's place in the row; dBase leaves it to the order.
        if (foxPro) {
            const auto lugar = static_cast<qint64>(leer32(b, i + 12));
            if (lugar >= 1 && lugar + c.longitud <= largoRenglon) c.desplazamiento = int(lugar);
        }
        siguiente += c.longitud;
        if (c.tipo == '0') {
            banderasNulo = int(lista.size());
        } else if (foxPro) {
            // One bit per V or Q field (set when the value is shorter than the field, its length
            // then in the field's last byte), followed by one per field that may be NULL.
            if (c.tipo == 'V' || c.tipo == 'Q') c.bitLargo = bits++;
            if (b[i + 18] & 0x02) c.bitNulo = bits++;
        }
        lista.append(c);
    }
    if (lista.isEmpty()) throw ErrorDbf(danado.arg(QStringLiteral("sin campos")));
    for (const Campo& c : lista)
        if (c.desplazamiento + c.longitud > largoRenglon)
            throw ErrorDbf(danado.arg(QStringLiteral("los campos no caben en el renglón")));
    if (static_cast<qint64>(largoEncabezado) + static_cast<qint64>(renglones) * largoRenglon >
        b.size())
        throw ErrorDbf(danado.arg(QStringLiteral("faltan renglones al final del archivo")));

    for (quint32 r = 0; r < renglones; ++r) {
        const qint64 ini = largoEncabezado + static_cast<qint64>(r) * largoRenglon;
        if (b[ini] == '*') continue;  // deleted rows are not seen by the driver either
        QByteArray nulos;
        if (banderasNulo >= 0) {
            const Campo& n = lista[banderasNulo];
            nulos = b.mid(ini + n.desplazamiento, n.longitud);
        }
        campos.clear();
        for (const Campo& c : lista) {
            if (c.tipo != 'C' && c.tipo != 'V' && c.tipo != 'Q') continue;
            QByteArray valor;
            if (!bitPuesto(nulos, c.bitNulo)) {
                valor = b.mid(ini + c.desplazamiento, c.longitud);
                if (bitPuesto(nulos, c.bitLargo) && !valor.isEmpty())
                    valor = valor.left(std::min<int>(static_cast<unsigned char>(valor.back()),
                                                     int(valor.size()) - 1));
            }
            campos.insert(c.nombre, recortar(valor));
        }
        return true;
    }
    return false;
}

void EscribirTabla(const QString& ruta, const QList<CampoTexto>& campos) {
    const int largoEncabezado = 32 + 32 * campos.size() + 1;
    int largoRenglon = 1;
    for (const CampoTexto& c : campos) largoRenglon += c.longitud;

    QByteArray b(largoEncabezado, '\0');
    const QDate hoy = QDate::currentDate();
    b[0] = 0x03;
    b[1] = static_cast<char>(hoy.year() - 1900);
    b[2] = static_cast<char>(hoy.month());
    b[3] = static_cast<char>(hoy.day());
    b[4] = 1;  // one row
    poner16(b, 8, largoEncabezado);
    poner16(b, 10, largoRenglon);
    int i = 32;
    for (const CampoTexto& c : campos) {
        const QByteArray n = c.nombre.toUpper().toLatin1().left(10);
        for (int k = 0; k < n.size(); ++k) b[i + k] = n[k];
        b[i + 11] = 'C';
        b[i + 16] = static_cast<char>(c.longitud & 0xFF);
        b[i + 17] = static_cast<char>(c.longitud >> 8);
        i += 32;
    }
    b[i] = '\x0D';

    QByteArray renglon(largoRenglon, ' ');
    int pos = 1;
    for (const CampoTexto& c : campos) {
        const QByteArray v = ansi::aCodigos(c.valor).left(c.longitud);
        for (int k = 0; k < v.size(); ++k) renglon[pos + k] = v[k];
        pos += c.longitud;
    }
    b.append(renglon);
    b.append('\x1A');

    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(b) != b.size())
        throw ErrorDbf(QStringLiteral("No se puede escribir la tabla %1; revise que la carpeta "
                                      "exista y admita escritura.\nDetalle: %2")
                           .arg(QDir::toNativeSeparators(ruta), f.errorString()));
}

}  // namespace dbf
