#include "startup/cifrado.h"

#include <QtTest>

#include "startup/ansi.h"

class CifradoTest : public QObject {
    Q_OBJECT
  private slots:
    void valoresConocidos_data() {
        QTest::addColumn<QByteArray>("claro");
        QTest::addColumn<QByteArray>("cifradoHex");
        QTest::newRow("una letra") << QByteArray("A") << QByteArray("a7");
        QTest::newRow("DEMO") << QByteArray("DEMO") << QByteArray("aadea2e8");
        QTest::newRow("33 caracteres")
            << QByteArray("abcdefghijklmnopqrstuvwxyz0123456")
            << QByteArray("c7fbb8fd65ee238acf04c05bd3e5e6c5d70cc80e75874412df1485ca548878bd9c");
    }
    void valoresConocidos() {
        QFETCH(QByteArray, claro);
        QFETCH(QByteArray, cifradoHex);
        QCOMPARE(Cifrar(claro, 1).toHex(), cifradoHex);
        QCOMPARE(Cifrar(QByteArray::fromHex(cifradoHex), 0), claro);
    }

    void cualquierModoDistintoDeCeroCifra() {
        QCOMPARE(Cifrar(QByteArray("CLAVE"), -1), Cifrar(QByteArray("CLAVE"), 1));
        QCOMPARE(Cifrar(QByteArray("CLAVE"), 7), Cifrar(QByteArray("CLAVE"), 1));
    }

    void textoVacioDaVacio() {
        QVERIFY(Cifrar(QByteArray(), 0).isEmpty());
        QVERIFY(Cifrar(QString(), 1).isEmpty());
    }

    void conservaLaLongitud() {
        for (int n : {1, 31, 32, 33, 64, 65, 100}) {
            const QByteArray t(n, 'x');
            QCOMPARE(Cifrar(t, 1).size(), n);
            QCOMPARE(Cifrar(Cifrar(t, 1), 0), t);
        }
    }

    void unCaracterDependeSoloDeLaPrimeraLetraDeLaLlave() {
        // With one character the 32 copies are transformed by the 32 key positions, and the
        // first position is always the key's first character: the result is code + 17 * '3'.
        const int k = '3';
        for (int c : {'A', 'Z', '0', 'a'}) {
            int v = c;
            for (int i = 0; i < 17; ++i) {
                v += k;
                if (v > 255) v -= 255;
            }
            QCOMPARE(static_cast<unsigned char>(Cifrar(QByteArray(1, char(c)), 1)[0]), v);
        }
    }

    void elCodigo255SeConfundeConElCero() {
        // The wrap-around constant is 255: a byte 255 enciphered and deciphered comes back 0.
        const QByteArray t("\xff", 1);
        QCOMPARE(Cifrar(Cifrar(t, 1), 0), QByteArray(1, '\0'));
    }

    void viajaComoCaracteresWindows1252() {
        // "DEMO" enciphers to codes aa de a2 e8: ª Þ ¢ è. The text form must use exactly those
        // characters, and codes 0x80-0x9F must map to their 1252 characters, not to Latin-1.
        QCOMPARE(Cifrar(QStringLiteral("DEMO"), 1), QStringLiteral("ªÞ¢è"));
        QCOMPARE(Cifrar(QStringLiteral("ªÞ¢è"), 0), QStringLiteral("DEMO"));
        QCOMPARE(ansi::aTexto(QByteArray("\x80\x9f", 2)), QString(QChar(0x20AC)) + QChar(0x0178));
        QCOMPARE(ansi::aCodigos(QString(QChar(0x20AC))), QByteArray("\x80", 1));
        QByteArray todos;
        for (int i = 0; i < 256; ++i) todos.append(static_cast<char>(i));
        QCOMPARE(ansi::aCodigos(ansi::aTexto(todos)), todos);
        const QString texto = QStringLiteral("Contraseña ÑÁÉ");
        QCOMPARE(Cifrar(Cifrar(texto, 1), 0), texto);
    }
};

QTEST_MAIN(CifradoTest)
#include "cifrado_test.moc"
