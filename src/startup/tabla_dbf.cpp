#include "startup/tabla_dbf.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

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

}  // namespace

bool LeerPrimerRenglon(const QString& ruta, QHash<QString, QString>& campos) {
    const QString nombre = QFileInfo(ruta).fileName();
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw ErrorDbf(QStringLiteral("No se puede abrir la tabla %1: %2").arg(ruta, f.errorString()));
    const QByteArray b = f.readAll();
    const QString danado =
        QStringLiteral("La tabla %1 está dañada o incompleta (%2).").arg(nombre, QStringLiteral("%1"));
    if (b.size() < 33) throw ErrorDbf(danado.arg(QStringLiteral("encabezado incompleto")));

    const quint32 renglones = leer32(b, 4);
    const int largoEncabezado = leer16(b, 8);
    const int largoRenglon = leer16(b, 10);
    if (largoEncabezado < 33 || largoEncabezado > b.size() || largoRenglon < 1)
        throw ErrorDbf(danado.arg(QStringLiteral("encabezado inválido")));

    struct Campo {
        QString nombre;
        char tipo;
        int desplazamiento;
        int longitud;
    };
    QList<Campo> lista;
    int desplazamiento = 1;  // byte 0 of a row is the deletion mark
    for (int i = 32; i + 32 <= largoEncabezado && b[i] != '\x0D'; i += 32) {
        const QByteArray n = b.mid(i, 11);
        const int fin = n.indexOf('\0');
        Campo c{QString::fromLatin1(fin < 0 ? n : n.left(fin)).trimmed().toUpper(), b[i + 11],
                desplazamiento, static_cast<unsigned char>(b[i + 16])};
        // Character fields may be wider than 255: dBase keeps the high byte in "decimals".
        if (c.tipo == 'C') c.longitud += static_cast<unsigned char>(b[i + 17]) << 8;
        desplazamiento += c.longitud;
        lista.append(c);
    }
    if (lista.isEmpty()) throw ErrorDbf(danado.arg(QStringLiteral("sin campos")));
    if (desplazamiento > largoRenglon)
        throw ErrorDbf(danado.arg(QStringLiteral("los campos no caben en el renglón")));
    if (static_cast<qint64>(largoEncabezado) + static_cast<qint64>(renglones) * largoRenglon >
        b.size())
        throw ErrorDbf(danado.arg(QStringLiteral("faltan renglones al final del archivo")));

    for (quint32 r = 0; r < renglones; ++r) {
        const qint64 ini = largoEncabezado + static_cast<qint64>(r) * largoRenglon;
        if (b[ini] == '*') continue;  // deleted rows are not seen by the driver either
        campos.clear();
        for (const Campo& c : lista)
            if (c.tipo == 'C' || c.tipo == 'V')
                campos.insert(c.nombre, recortar(b.mid(ini + c.desplazamiento, c.longitud)));
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
        throw ErrorDbf(QStringLiteral("No se puede escribir la tabla %1: %2").arg(ruta, f.errorString()));
}

}  // namespace dbf
