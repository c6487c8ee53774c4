// A list taken out of the program from the grid's context menu: "Copiar" puts tab-separated
// text on the clipboard; "Exportar a Excel…" writes an .xlsx whose cells, read back from the
// zip, keep the titles, the values with their types and the row colours.
#include "ui/exportar.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QXmlStreamReader>
#include <QtTest>
#include <map>

#include "servicios_falsos.h"
#include "ui/rejilla.h"

namespace {

QByteArray Descomprimir(const QString& libro, const QString& parte) {
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), libro, parte});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

// What a spreadsheet reads from the workbook: per cell its type, value and style.
class LibroLeido {
  public:
    explicit LibroLeido(const QString& ruta) {
        QXmlStreamReader x(Descomprimir(ruta, QStringLiteral("xl/sharedStrings.xml")));
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("t"))
                compartidas_ << x.readElementText();
        leerEstilos(Descomprimir(ruta, QStringLiteral("xl/styles.xml")));
        QXmlStreamReader libro(Descomprimir(ruta, QStringLiteral("xl/workbook.xml")));
        while (!libro.atEnd())
            if (libro.readNext() == QXmlStreamReader::StartElement &&
                libro.name() == QLatin1String("sheet"))
                hojas_ << libro.attributes().value(QLatin1String("name")).toString();
        QXmlStreamReader h(Descomprimir(ruta, QStringLiteral("xl/worksheets/sheet1.xml")));
        QString celda;
        while (!h.atEnd()) {
            h.readNext();
            if (!h.isStartElement()) continue;
            if (h.name() == QLatin1String("c")) {
                celda = h.attributes().value(QLatin1String("r")).toString();
                celdas_[celda] = {h.attributes().value(QLatin1String("t")).toString(), QString(),
                                  h.attributes().value(QLatin1String("s")).toInt()};
            } else if (h.name() == QLatin1String("v")) {
                celdas_[celda].valor = h.readElementText();
            }
        }
    }

    // The sheets' names, as their tabs show them.
    QStringList hojas() const { return hojas_; }
    bool hay(const QString& r) const { return celdas_.count(r) > 0; }
    // "texto" for a shared string, "número" otherwise.
    QString tipo(const QString& r) const {
        return celdas_.at(r).tipo == QLatin1String("s") ? QStringLiteral("texto")
                                                        : QStringLiteral("número");
    }
    QString valor(const QString& r) const {
        const Celda& c = celdas_.at(r);
        return c.tipo == QLatin1String("s") ? compartidas_.value(c.valor.toInt()) : c.valor;
    }
    QString formato(const QString& r) const {
        return formatos_.value(xfs_.value(celdas_.at(r).estilo).formato);
    }
    bool negrita(const QString& r) const {
        return negritas_.value(xfs_.value(celdas_.at(r).estilo).letra);
    }
    QString relleno(const QString& r) const {
        return rellenos_.value(xfs_.value(celdas_.at(r).estilo).relleno);
    }

  private:
    struct Celda {
        QString tipo, valor;
        int estilo = 0;
    };
    struct Xf {
        int formato = 0, letra = 0, relleno = 0;
    };

    void leerEstilos(const QByteArray& xml) {
        QXmlStreamReader x(xml);
        QString seccion;
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement()) continue;
            const auto a = x.attributes();
            const QStringView n = x.name();
            if (n == QLatin1String("fonts") || n == QLatin1String("fills") ||
                n == QLatin1String("cellXfs") || n == QLatin1String("cellStyleXfs"))
                seccion = n.toString();
            else if (n == QLatin1String("numFmt"))
                formatos_[a.value(QLatin1String("numFmtId")).toInt()] =
                    a.value(QLatin1String("formatCode")).toString();
            else if (n == QLatin1String("font") && seccion == QLatin1String("fonts"))
                negritas_ << false;
            else if (n == QLatin1String("b") && seccion == QLatin1String("fonts"))
                negritas_.last() = true;
            else if (n == QLatin1String("fill"))
                rellenos_ << QString();
            else if (n == QLatin1String("fgColor") && seccion == QLatin1String("fills"))
                rellenos_.last() = a.value(QLatin1String("rgb")).toString();
            else if (n == QLatin1String("xf") && seccion == QLatin1String("cellXfs"))
                xfs_ << Xf{a.value(QLatin1String("numFmtId")).toInt(),
                           a.value(QLatin1String("fontId")).toInt(),
                           a.value(QLatin1String("fillId")).toInt()};
        }
    }

    QStringList compartidas_;
    QStringList hojas_;
    std::map<QString, Celda> celdas_;
    QMap<int, QString> formatos_;
    QList<bool> negritas_;
    QStringList rellenos_;
    QList<Xf> xfs_;
};

// Days since the spreadsheet's epoch, as it stores dates.
QString Serie(const QDate& d) { return QString::number(QDate(1899, 12, 30).daysTo(d)); }

}  // namespace

class ExportarTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<QDialog> ventana;
    Rejilla* g = nullptr;
    std::unique_ptr<QTemporaryDir> dir;

    // The entries of the menu that opens next (kept in `entradas`); the one named `accion`
    // is chosen with the keyboard, as the clerk does.
    QStringList entradas;
    void ElegirDelMenu(const QString& accion) {
        auto* reloj = new QTimer(ventana.get());
        reloj->setInterval(10);
        connect(reloj, &QTimer::timeout, reloj, [this, reloj, accion] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            reloj->stop();
            reloj->deleteLater();
            entradas.clear();
            for (QAction* a : menu->actions()) {
                entradas << a->text();
                if (a->objectName() == accion) menu->setActiveAction(a);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        reloj->start();
    }

  private slots:
    void initTestCase() { exportar::AgregarAlMenuDeLasRejillas(); }

    void init() {
        servicios = std::make_unique<ServiciosFalsos>();
        dir = std::make_unique<QTemporaryDir>();
        ventana = std::make_unique<QDialog>();
        ventana->setWindowTitle(QStringLiteral("Relaciones de Verificación"));
        g = new Rejilla(ventana.get());
        (new QVBoxLayout(ventana.get()))->addWidget(g);
        for (const char* t : {"Solicitud", "Cliente", "Recepción", "Fecha Corta", "Importe",
                              "Teléfono", "Oculta", "Agregar"})
            g->agregarColumna(QString::fromUtf8(t), 90);
        g->ponerTipoColumna(8, TipoCelda::Casilla);
        g->ponerFormatoColumna(5, FormatoCelda::Importe);
        g->ponerNombreLista(QStringLiteral("Pendientes"));
        g->ponerColumnaVisible(7, false);
        g->ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
        const QList<QVariantList> filas = {
            {qint64(501), "PEREZ LOPEZ JUAN", QDateTime(QDate(2024, 6, 3), QTime(0, 0)),
             "05/06/2024", 1500.5, "6141234567", "x", 1},
            {qint64(502), "NUÑEZ\tORTIZ ELENA", QDateTime(QDate(2024, 6, 4), QTime(10, 30)),
             QVariant(), 2000.0, "", "y", QVariant()},
            {qint64(503), "GOMEZ SANCHEZ MARIA", QVariant(), "13/06/2024", 0.0, "0614", "z", 0}};
        for (const QVariantList& f : filas) {
            const int fila = g->agregarFila();
            for (int c = 0; c < f.size(); ++c) g->ponerValor(fila, c + 1, f[c]);
        }
        g->ponerColorFondo(2, 1, QColor(0, 255, 0));
        ventana->resize(900, 300);
        ventana->show();
        QVERIFY(QTest::qWaitForWindowExposed(ventana.get()));
    }

    void cleanup() {
        ventana.reset();
        servicios.reset();
    }

    void copiarPoneTextoTabulado() {
        const QString titulos = QStringLiteral(
            "Solicitud\tCliente\tRecepción\tFecha Corta\tImporte\tTeléfono\tAgregar\n");
        const QString uno = QStringLiteral(
            "501\tPEREZ LOPEZ JUAN\t03/06/2024\t05/06/2024\t1500.5\t6141234567\tSí\n");
        const QString dos =
            QStringLiteral("502\tNUÑEZ ORTIZ ELENA\t04/06/2024 10:30:00\t\t2000\t\t\n");
        const QString tres = QStringLiteral("503\tGOMEZ SANCHEZ MARIA\t\t13/06/2024\t0\t0614\t\n");

        // Nothing selected: the whole list, from the keyboard (Shift+F10).
        g->setFocus();
        ElegirDelMenu(QStringLiteral("AccionCopiar"));
        QTest::keyClick(g, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_COMPARE(QApplication::clipboard()->text(), titulos + uno + dos + tres);
        QCOMPARE(entradas,
                 (QStringList{QStringLiteral("Copiar"), QStringLiteral("Exportar a Excel…")}));

        // A row picked with the mouse, then the right button on it: that row only.
        const QRect celda = g->visualRect(g->model()->index(1, 1));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
        ElegirDelMenu(QStringLiteral("AccionCopiar"));
        QContextMenuEvent clic(QContextMenuEvent::Mouse, celda.center(),
                               g->viewport()->mapToGlobal(celda.center()));
        QApplication::sendEvent(g->viewport(), &clic);
        QTRY_COMPARE(QApplication::clipboard()->text(), titulos + dos);
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void exportarEscribeUnLibroDeExcel() {
        // Typed without its suffix: the file gets it.
        servicios->archivoGuardar = dir->filePath(QStringLiteral("pendientes"));
        ElegirDelMenu(QStringLiteral("AccionExportar"));
        QTest::keyClick(g, Qt::Key_Menu);
        const QString ruta = dir->filePath(QStringLiteral("pendientes.xlsx"));
        QTRY_COMPARE(servicios->mensajes.size(), 1);
        // The list and the day, not the window's caption.
        const QStringList dialogo = {
            QStringLiteral("Exportar a Excel"),
            QStringLiteral("Pendientes ") +
                QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                QStringLiteral(".xlsx"),
            QStringLiteral("Libro de Excel (*.xlsx)")};
        QCOMPARE(servicios->dialogosGuardar, QList<QStringList>{dialogo});
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("La lista quedó guardada en:\r\n") + ruta);
        QVERIFY(QFile::exists(ruta));
        QVERIFY(!QFile::exists(ruta + QStringLiteral(".parcial")));

        const LibroLeido libro(ruta);
        QCOMPARE(libro.hojas(), QStringList{QStringLiteral("Pendientes")});
        // Titles in bold, the hidden column left out.
        const QStringList titulos = {"Solicitud", "Cliente",  "Recepción", "Fecha Corta",
                                     "Importe",   "Teléfono", "Agregar"};
        for (int c = 0; c < titulos.size(); ++c) {
            const QString r = QChar('A' + c) + QStringLiteral("1");
            QCOMPARE(libro.valor(r), titulos[c]);
            QVERIFY(libro.negrita(r));
        }
        QVERIFY(!libro.hay(QStringLiteral("H1")));

        struct Esperada {
            const char* celda;
            QString tipo, valor, formato, relleno;
        };
        const QString amarillo = QStringLiteral("FFFFFFC8"), verde = QStringLiteral("FF00FF00");
        const QString fecha = QStringLiteral("dd/mm/yyyy");
        const QString importe = QStringLiteral("$#,##0.00");
        for (const Esperada& e : std::initializer_list<Esperada>{
                 {"A2", "número", "501", {}, amarillo},
                 {"B2", "texto", "PEREZ LOPEZ JUAN", {}, amarillo},
                 {"C2", "número", Serie(QDate(2024, 6, 3)), fecha, amarillo},
                 {"D2", "número", Serie(QDate(2024, 6, 5)), fecha, amarillo},
                 {"E2", "número", "1500.5", importe, amarillo},
                 {"F2", "texto", "6141234567", {}, amarillo},
                 {"G2", "texto", "Sí", {}, amarillo},
                 {"A3", "número", "502", {}, verde},
                 {"B3", "texto", "NUÑEZ\tORTIZ ELENA", {}, {}},
                 {"C3", "número", Serie(QDate(2024, 6, 4)) + ".4375", "dd/mm/yyyy hh:mm:ss", {}},
                 {"E3", "número", "2000", importe, {}},
                 {"F4", "texto", "0614", {}, amarillo},
                 {"E4", "número", "0", importe, amarillo}}) {
            const QString r = QString::fromLatin1(e.celda);
            QVERIFY2(libro.hay(r), e.celda);
            QCOMPARE(libro.tipo(r), e.tipo);
            QCOMPARE(libro.valor(r), e.valor);
            QCOMPARE(libro.formato(r), e.formato);
            QCOMPARE(libro.relleno(r), e.relleno);
            QVERIFY(!libro.negrita(r));
        }
        // Empty cells on white rows are not written at all.
        QVERIFY(!libro.hay(QStringLiteral("D3")));
    }

    void cancelarElDialogoNoEscribeNada() {
        servicios->archivoGuardar.clear();
        ElegirDelMenu(QStringLiteral("AccionExportar"));
        QTest::keyClick(g, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_COMPARE(servicios->dialogosGuardar.size(), 1);
        QVERIFY(servicios->mensajes.isEmpty());
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(ExportarTest)
#include "exportar_test.moc"
