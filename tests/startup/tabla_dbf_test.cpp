#include "startup/tabla_dbf.h"

#include <QTemporaryDir>
#include <QtTest>

#include "startup/ansi.h"

namespace {

struct Campo {
    QByteArray nombre;
    char tipo;
    int longitud;
};

// A Visual FoxPro table put together byte by byte: version 0x30, field descriptors with their
// displacement, the 263-byte backlink after the terminator, and rows of blank-padded values.
QByteArray TablaFox(const QList<Campo>& campos, const QList<QList<QByteArray>>& renglones,
                    const QList<bool>& borrados = {}) {
    const int largoEncabezado = 32 + 32 * campos.size() + 1 + 263;
    int largoRenglon = 1;
    for (const Campo& c : campos) largoRenglon += c.longitud;
    QByteArray b(largoEncabezado, '\0');
    b[0] = 0x30;
    b[1] = 126;
    b[2] = 12;
    b[3] = 1;
    const quint32 n = renglones.size();
    for (int i = 0; i < 4; ++i) b[4 + i] = char((n >> (8 * i)) & 0xFF);
    b[8] = char(largoEncabezado & 0xFF);
    b[9] = char(largoEncabezado >> 8);
    b[10] = char(largoRenglon & 0xFF);
    b[11] = char(largoRenglon >> 8);
    b[28] = 0x03;  // table flags: has a structural index and a memo (ignored by readers)
    b[29] = 0x03;  // code page mark: Windows ANSI
    int pos = 32, desp = 1;
    for (const Campo& c : campos) {
        for (int k = 0; k < c.nombre.size(); ++k) b[pos + k] = c.nombre[k];
        b[pos + 11] = c.tipo;
        for (int i = 0; i < 4; ++i) b[pos + 12 + i] = char((desp >> (8 * i)) & 0xFF);
        b[pos + 16] = char(c.longitud);
        desp += c.longitud;
        pos += 32;
    }
    b[pos] = 0x0D;
    for (int r = 0; r < renglones.size(); ++r) {
        QByteArray renglon(largoRenglon, ' ');
        renglon[0] = (r < borrados.size() && borrados[r]) ? '*' : ' ';
        int p = 1;
        for (int c = 0; c < campos.size(); ++c) {
            const QByteArray v = renglones[r][c];
            for (int k = 0; k < v.size() && k < campos[c].longitud; ++k) renglon[p + k] = v[k];
            p += campos[c].longitud;
        }
        b.append(renglon);
    }
    b.append('\x1A');
    return b;
}

QString Escribir(const QTemporaryDir& dir, const QByteArray& contenido) {
    const QString ruta = dir.filePath(QStringLiteral("ARRANQUE.DBF"));
    QFile f(ruta);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(contenido);
    return ruta;
}

// A Visual FoxPro 9 table of one row: header `version`, field flags at byte 18 of each
// descriptor, each field's place written in the descriptor, and, when `nulos` is given, the
// hidden _NullFlags field last with those bytes. Values are the field's raw bytes.
struct CampoVfp {
    QByteArray nombre;
    char tipo;
    int longitud;
    char banderas;  // 0x02: may be NULL
    QByteArray bytes;
};

QByteArray TablaVfp(char version, QList<CampoVfp> campos, const QByteArray& nulos) {
    if (!nulos.isEmpty()) campos << CampoVfp{"_NullFlags", '0', int(nulos.size()), 0x05, nulos};
    const int largoEncabezado = 32 + 32 * campos.size() + 1 + 263;
    int largoRenglon = 1;
    for (const CampoVfp& c : campos) largoRenglon += c.longitud;
    QByteArray b(largoEncabezado, '\0');
    b[0] = version;
    b[4] = 1;
    b[8] = char(largoEncabezado & 0xFF);
    b[9] = char(largoEncabezado >> 8);
    b[10] = char(largoRenglon);
    b[29] = 0x03;
    QByteArray renglon(largoRenglon, ' ');
    int pos = 32, desp = 1;
    for (const CampoVfp& c : campos) {
        for (int k = 0; k < c.nombre.size(); ++k) b[pos + k] = c.nombre[k];
        b[pos + 11] = c.tipo;
        b[pos + 12] = char(desp);
        b[pos + 16] = char(c.longitud);
        b[pos + 18] = c.banderas;
        for (int k = 0; k < c.bytes.size(); ++k) renglon[desp + k] = c.bytes[k];
        desp += c.longitud;
        pos += 32;
    }
    b[pos] = 0x0D;
    return b + renglon + QByteArray(1, '\x1A');
}

// A Varchar value shorter than its field, as VFP stores it: its length in the field's last byte.
QByteArray Corto(const QByteArray& valor, int longitud) {
    QByteArray r = valor.leftJustified(longitud, ' ');
    r[longitud - 1] = char(valor.size());
    return r;
}

const QList<Campo> kCampos = {{"SERVER_SQL", 'C', 40}, {"USUARIO", 'C', 20}, {"ALTA", 'D', 8},
                              {"CONTRASENA", 'C', 30}, {"TOKEN", 'C', 10},   {"ACTIVO", 'L', 1}};

}  // namespace

class TablaDbfTest : public QObject {
    Q_OBJECT
  private slots:
    void leeUnaTablaVisualFoxPro() {
        QTemporaryDir dir;
        // An enciphered value with codes above 0x7F, as the real table stores it.
        const QByteArray cifrada = QByteArray::fromHex("aadea2e8");
        const QString ruta =
            Escribir(dir, TablaFox(kCampos, {{"  SRVCREDITO\\SQL2008  ", "sa ", "20120926", cifrada,
                                              "\x95\x81", "T"}}));
        QHash<QString, QString> campos;
        QVERIFY(dbf::LeerPrimerRenglon(ruta, campos));
        QCOMPARE(campos.value("SERVER_SQL"), QStringLiteral("SRVCREDITO\\SQL2008"));
        QCOMPARE(campos.value("USUARIO"), QStringLiteral("sa"));
        QCOMPARE(ansi::aCodigos(campos.value("CONTRASENA")), cifrada);
        QCOMPARE(campos.value("TOKEN"), QString(QChar(0x2022)) + QChar(0x0081));
        QVERIFY(!campos.contains("ALTA"));
        QVERIFY(!campos.contains("ACTIVO"));
    }

    void saltaLosRenglonesBorradosYLeeSoloElPrimero() {
        QTemporaryDir dir;
        const QString ruta = Escribir(dir, TablaFox(kCampos,
                                                    {{"BORRADO", "x", "", "a", "b", "F"},
                                                     {"PRIMERO", "y", "", "c", "d", "F"},
                                                     {"SEGUNDO", "z", "", "e", "f", "F"}},
                                                    {true, false, false}));
        QHash<QString, QString> campos;
        QVERIFY(dbf::LeerPrimerRenglon(ruta, campos));
        QCOMPARE(campos.value("SERVER_SQL"), QStringLiteral("PRIMERO"));
    }

    void unaTablaSinRenglonesNoDaRenglon() {
        QTemporaryDir dir;
        const QString ruta = Escribir(dir, TablaFox(kCampos, {}));
        QHash<QString, QString> campos;
        QVERIFY(!dbf::LeerPrimerRenglon(ruta, campos));
    }

    void archivosDanadosSonErroresClaros_data() {
        QTest::addColumn<QByteArray>("contenido");
        const QByteArray buena = TablaFox(kCampos, {{"S", "U", "", "C", "T", "F"}});
        QTest::newRow("vacío") << QByteArray();
        QTest::newRow("solo el principio") << buena.left(20);
        QTest::newRow("sin el renglón") << buena.left(buena.size() - 40);
        QByteArray encabezadoLargo = buena;
        encabezadoLargo[8] = char(0xFF);
        encabezadoLargo[9] = char(0x7F);
        QTest::newRow("encabezado más largo que el archivo") << encabezadoLargo;
        QTest::newRow("texto cualquiera")
            << QByteArray("esto no es una tabla de FoxPro, solo texto");
    }
    void archivosDanadosSonErroresClaros() {
        QFETCH(QByteArray, contenido);
        QTemporaryDir dir;
        const QString ruta = Escribir(dir, contenido);
        QHash<QString, QString> campos;
        try {
            dbf::LeerPrimerRenglon(ruta, campos);
            QFAIL("se esperaba un error");
        } catch (const dbf::ErrorDbf& e) {
            QVERIFY2(e.mensaje().contains(QStringLiteral("ARRANQUE.DBF")), qPrintable(e.mensaje()));
        }
    }

    void leeVarcharVarbinaryYNulosDeVisualFoxPro() {
        const QByteArray cifrada = QByteArray::fromHex("aade20a2");
        struct Caso {
            const char* que;
            QByteArray tabla;
            QHash<QString, QString> esperado;
        } casos[] = {
            {"V(60) no lleno, 0x32",
             TablaVfp(0x32,
                      {{"SERVER_SQL", 'V', 60, 0, Corto("sqlite:datos", 60)},
                       {"USUARIO", 'C', 20, 0, "sa"}},
                      QByteArray(1, '\x01')),
             {{"SERVER_SQL", "sqlite:datos"}, {"USUARIO", "sa"}}},
            {"V lleno, sin marca de largo",
             TablaVfp(0x32, {{"TOKEN", 'V', 5, 0, "ABCDE"}}, QByteArray(1, '\0')),
             {{"TOKEN", "ABCDE"}}},
            // Bits in field order: the V field's length bit, its null bit, then the C's null bit.
            {"V que admite NULL y C nulo",
             TablaVfp(0x32,
                      {{"SERVER_SQL", 'V', 10, 0x02, Corto("srv", 10)},
                       {"USUARIO", 'C', 10, 0x02, "NOSEVE"}},
                      QByteArray(1, '\x05')),
             {{"SERVER_SQL", "srv"}, {"USUARIO", ""}}},
            {"V nulo",
             TablaVfp(0x32, {{"SERVER_SQL", 'V', 10, 0x02, Corto("viejo", 10)}},
                      QByteArray(1, '\x03')),
             {{"SERVER_SQL", ""}}},
            {"Q con códigos cifrados",
             TablaVfp(0x32, {{"CONTRASENA", 'Q', 10, 0, Corto(cifrada, 10)}},
                      QByteArray(1, '\x01')),
             {{"CONTRASENA", ansi::aTexto(cifrada)}}},
            {"0x31 con C que admite NULL",
             TablaVfp(0x31, {{"USUARIO", 'C', 10, 0x02, "sa"}, {"TOKEN", 'C', 10, 0x02, "x"}},
                      QByteArray(1, '\x02')),
             {{"USUARIO", "sa"}, {"TOKEN", ""}}},
            {"0x30 sin _NullFlags",
             TablaVfp(0x30, {{"USUARIO", 'C', 10, 0, "  sa  "}}, {}),
             {{"USUARIO", "sa"}}},
        };
        for (const Caso& c : casos) {
            QTemporaryDir dir;
            QHash<QString, QString> campos;
            QVERIFY2(dbf::LeerPrimerRenglon(Escribir(dir, c.tabla), campos), c.que);
            QVERIFY2(campos == c.esperado,
                     qPrintable(QStringLiteral("%1: %2").arg(
                         QLatin1String(c.que), QStringList(campos.values()).join('|'))));
        }
    }

    void loQueEscribeLoLeeIgual() {
        QTemporaryDir dir;
        const QString ruta = dir.filePath("arranque.dbf");
        const QString cifrada = ansi::aTexto(QByteArray::fromHex("00aa809d20ff"));
        dbf::EscribirTabla(ruta, {{"SERVER_SQL", 60, "sqlite:datos"},
                                  {"USUARIO", 30, "Ñandú"},
                                  {"CONTRASENA", 40, cifrada}});
        QHash<QString, QString> campos;
        QVERIFY(dbf::LeerPrimerRenglon(ruta, campos));
        QCOMPARE(campos.value("SERVER_SQL"), QStringLiteral("sqlite:datos"));
        QCOMPARE(campos.value("USUARIO"), QStringLiteral("Ñandú"));
        // Every code but the blank survives, also NUL, the 1252 gaps and 255.
        QCOMPARE(ansi::aCodigos(campos.value("CONTRASENA")), QByteArray::fromHex("00aa809d20ff"));
    }
};

QTEST_MAIN(TablaDbfTest)
#include "tabla_dbf_test.moc"
