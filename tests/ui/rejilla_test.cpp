// The grid as the windows use it: numbered from 1, filled from a result, painted, ticked,
// edited under the window's say, searched by typing; driven with real mouse and key events.
#include "ui/rejilla.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include "db/conexion.h"
#include "db/recordset.h"
#include "ui/ventana.h"

namespace {

using Filas = QList<QVariantList>;

// An engine that answers every query with the same table, so the grid reads a real Recordset.
class ResultadoFijo : public db::Resultado {
  public:
    ResultadoFijo(QStringList nombres, Filas filas)
        : nombres_(std::move(nombres)), filas_(std::move(filas)) {}
    int columnas() const override { return nombres_.size(); }
    QString nombreColumna(int i) const override { return nombres_.at(i); }
    bool siguiente() override { return ++actual_ < filas_.size(); }
    QVariant valor(int i) const override { return filas_.at(actual_).at(i); }

  private:
    QStringList nombres_;
    Filas filas_;
    int actual_ = -1;
};

class MotorFijo : public db::Motor {
  public:
    MotorFijo(QStringList nombres, Filas filas)
        : nombres_(std::move(nombres)), filas_(std::move(filas)) {}
    std::unique_ptr<db::Resultado> consultar(const QString&) override {
        return std::make_unique<ResultadoFijo>(nombres_, filas_);
    }
    long long ejecutar(const QString&) override { return 0; }
    std::unique_ptr<db::Resultado> llamar(const QString&, QList<db::Parametro>&) override {
        return nullptr;
    }
    void iniciarTransaccion() override {}
    void confirmarTransaccion() override {}
    void deshacerTransaccion() override {}

  private:
    QStringList nombres_;
    Filas filas_;
};

// The grid inside a window, shown, as the windows have it.
struct Ventana {
    QDialog dialogo;
    Rejilla* rejilla = new Rejilla(&dialogo);
    QPushButton* boton = new QPushButton(QStringLiteral("&Guardar"), &dialogo);

    Ventana() {
        auto* capas = new QVBoxLayout(&dialogo);
        capas->addWidget(rejilla);
        capas->addWidget(boton);
        boton->setDefault(true);
        dialogo.resize(640, 420);
    }
    bool mostrar() {
        dialogo.show();
        QApplication::setActiveWindow(&dialogo);
        if (!QTest::qWaitForWindowActive(&dialogo)) return false;
        rejilla->setFocus();
        return rejilla->hasFocus();
    }
    QRect celda(int fila, int columna) const {
        return rejilla->visualRect(rejilla->model()->index(fila - 1, columna - 1));
    }
    void clic(int fila, int columna) {
        QTest::mouseClick(rejilla->viewport(), Qt::LeftButton, {}, celda(fila, columna).center());
    }
    // The events of a real double-click: press, release, double-click, release.
    void dobleClic(int fila, int columna) {
        const QPoint punto = celda(fila, columna).center();
        QTest::mousePress(rejilla->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseRelease(rejilla->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(rejilla->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseRelease(rejilla->viewport(), Qt::LeftButton, {}, punto);
    }
    // An editor hands its value over once the key that ends it has been dealt with.
    void terminar(QWidget* editor, Qt::Key tecla = Qt::Key_Return) {
        QTest::keyClick(editor, tecla);
        QCoreApplication::processEvents();
    }
    // The colour painted in the top left corner of a cell, where no text is drawn.
    QColor fondo(int fila, int columna) {
        // No current row and no pointer over the grid, so no highlight covers the colours.
        rejilla->selectionModel()->clear();
        QTest::mouseMove(boton);
        const QImage imagen = rejilla->viewport()->grab().toImage();
        const QRect r = celda(fila, columna);
        return imagen.pixelColor(r.left() + 2, r.top() + 2);
    }
    // What a cell looks like, without the current row's highlight.
    QImage imagen(int fila, int columna) {
        rejilla->selectionModel()->clear();
        QTest::mouseMove(boton);
        return rejilla->viewport()->grab(celda(fila, columna)).toImage();
    }
    QWidget* editorAbierto() const {
        for (QWidget* w : rejilla->viewport()->findChildren<QWidget*>())
            if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) && w->isVisible())
                return w;
        return nullptr;
    }
};

// Columns "Solicitud", "Nombre", "Agregar" and the given names.
void ArmarPendientes(Rejilla* r, const QStringList& nombres) {
    r->agregarColumna(QStringLiteral("Solicitud"), 80);
    r->agregarColumna(QStringLiteral("Nombre"), 180);
    r->agregarColumna(QStringLiteral("Agregar"), 50);
    r->ponerTipoColumna(3, TipoCelda::Casilla);
    for (int i = 0; i < nombres.size(); ++i) {
        const int fila = r->agregarFila();
        r->ponerValor(fila, 1, 1000 + i);
        r->ponerValor(fila, 2, nombres.at(i));
    }
}

const QColor Crema(255, 255, 200);
const QColor Blanco(255, 255, 255);

}  // namespace

class RejillaTest : public QObject {
    Q_OBJECT
  private slots:
    void numeradaDesdeUno();
    void encabezadoNoEsFila();
    void llenarDesdeRegistros();
    void llenarReemplazaLoAnterior();
    void quitarFilaDelMedioSubeLasDeAbajo();
    void quitarFilasConservaColumnas();
    void coloresAlternos();
    void colorPropioSobreAlterno();
    void casillaConClic();
    void casillaConEspacio();
    void casillaRechazada();
    void edicionRechazadaNoAbreEditor();
    void edicionAceptadaGuardaLoEscrito();
    void soloLecturaNoEdita();
    void listaOfreceSusEntradas();
    void teclasDeUnaCeldaEditable_data();
    void teclasDeUnaCeldaEditable();
    void clicEnLaCeldaActualEdita();
    void enterYSuprimirEnUnaLista();
    void dobleClicDesdeUno();
    void celdaActualConClicYFlechas();
    void quitarFilaNoMueveLaCeldaDelUsuario();
    void enterNoLlegaAlBotonDeLaVentana();
    void busquedaPorTecleo();
    void busquedaApagadaNoMueve();
    void ajustarAnchoAlContenido();
    void importesConSuFormato();
    void celdaCortadaDaSuTextoEnLaAyuda_data();
    void celdaCortadaDaSuTextoEnLaAyuda();
    void dibujoApagadoCargaDeUnaVez();
    void colorDeNumero();
};

void RejillaTest::numeradaDesdeUno() {
    Rejilla r;
    QCOMPARE(r.agregarColumna(QStringLiteral("Solicitud"), 80), 1);
    QCOMPARE(r.agregarColumna(QStringLiteral("Nombre Cliente"), 180), 2);
    QCOMPARE(r.numeroColumnas(), 2);
    QCOMPARE(r.agregarFila(), 1);
    QCOMPARE(r.agregarFila(), 2);
    QCOMPARE(r.numeroFilas(), 2);
    QCOMPARE(r.anchoColumna(2), qMax(PixelesDiseno(180), r.anchoTitulo(2)));

    r.ponerValor(1, 1, 15);
    r.ponerValor(2, 2, QStringLiteral("LOPEZ LUNA ANA"));
    QCOMPARE(r.valor(1, 1), QVariant(15));
    QCOMPARE(r.valor(2, 2).toString(), QStringLiteral("LOPEZ LUNA ANA"));
    QVERIFY(r.valor(1, 2).isNull());
    QVERIFY(r.valor(2, 1).isNull());
    // What the user sees is the same cell.
    QCOMPARE(r.model()->index(1, 1).data().toString(), QStringLiteral("LOPEZ LUNA ANA"));
    QCOMPARE(r.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nombre Cliente"));

    QCOMPARE(r.buscarColumna(QStringLiteral("Nombre Cliente")), 2);
    QCOMPARE(r.buscarColumna(QStringLiteral("nombre cliente")), 2);
    QCOMPARE(r.buscarColumna(QStringLiteral("Solicitud")), 1);
    QCOMPARE(r.buscarColumna(QStringLiteral("Cliente")), 0);
}

void RejillaTest::encabezadoNoEsFila() {
    Rejilla r;
    r.agregarColumna(QStringLiteral("Solicitud"));
    r.agregarFila();
    r.ponerValor(1, 1, 7);
    QVERIFY(r.valor(0, 1).isNull());
    QVERIFY(r.valor(-1, 1).isNull());
    QVERIFY(r.valor(2, 1).isNull());
    QVERIFY(r.valor(1, 0).isNull());
    r.ponerValor(0, 1, QStringLiteral("X"));
    r.ponerValor(-3, 1, QStringLiteral("X"));
    r.ponerValor(1, 2, QStringLiteral("X"));
    QCOMPARE(r.numeroFilas(), 1);
    QCOMPARE(r.numeroColumnas(), 1);
    QCOMPARE(r.tituloColumna(1), QStringLiteral("Solicitud"));
    QCOMPARE(r.valor(1, 1), QVariant(7));
    r.quitarFila(0);
    r.quitarFila(5);
    QCOMPARE(r.numeroFilas(), 1);
}

void RejillaTest::llenarDesdeRegistros() {
    const QDateTime medianoche(QDate(2024, 3, 5), QTime(0, 0));
    const QDateTime tarde(QDate(2024, 3, 5), QTime(14, 30, 15));
    db::Conexion conexion;
    conexion.abrir(std::make_unique<MotorFijo>(
        QStringList{QStringLiteral("Cliente"), QStringLiteral("Nombre Cliente"),
                    QStringLiteral("F.Recibido"), QStringLiteral("Créditos")},
        Filas{{qint64(101), QStringLiteral("ANA LOPEZ   "), medianoche, 2.5},
              {qint64(102), QVariant(), tarde, QVariant()},
              {qint64(103), QStringLiteral("JUAN PEREZ"), QVariant(), 0.0}}));
    db::Recordset registros;
    registros.abrir(QStringLiteral("SELECT ..."), conexion);

    Ventana v;
    v.rejilla->llenar(registros);
    QVERIFY(registros.eof());
    QCOMPARE(v.rejilla->numeroColumnas(), 4);
    QCOMPARE(v.rejilla->numeroFilas(), 3);
    QCOMPARE(v.rejilla->tituloColumna(1), QStringLiteral("Cliente"));
    QCOMPARE(v.rejilla->tituloColumna(3), QStringLiteral("F.Recibido"));
    QCOMPARE(v.rejilla->tituloColumna(4), QStringLiteral("Créditos"));
    QCOMPARE(v.rejilla->buscarColumna(QStringLiteral("Nombre Cliente")), 2);

    // Values as they came, untrimmed; nulls stay empty cells.
    QCOMPARE(v.rejilla->valor(1, 1), QVariant(qint64(101)));
    QCOMPARE(v.rejilla->valor(1, 2).toString(), QStringLiteral("ANA LOPEZ   "));
    QCOMPARE(v.rejilla->valor(1, 3).toDateTime(), medianoche);
    QCOMPARE(v.rejilla->valor(3, 4), QVariant(0.0));
    QVERIFY(v.rejilla->valor(2, 2).isNull());
    QVERIFY(v.rejilla->valor(3, 3).isNull());

    QCOMPARE(v.rejilla->texto(1, 3), QStringLiteral("05/03/2024"));
    QCOMPARE(v.rejilla->texto(2, 3), QStringLiteral("05/03/2024 14:30:15"));
    QCOMPARE(v.rejilla->texto(1, 4), QStringLiteral("2.5"));
    QCOMPARE(v.rejilla->model()->index(1, 2).data().toString(),
             QStringLiteral("05/03/2024 14:30:15"));
    QCOMPARE(v.rejilla->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Nombre Cliente"));
}

void RejillaTest::llenarReemplazaLoAnterior() {
    db::Conexion conexion;
    conexion.abrir(
        std::make_unique<MotorFijo>(QStringList{QStringLiteral("Relación")}, Filas{{qint64(9)}}));
    Rejilla r;
    ArmarPendientes(&r, {QStringLiteral("A"), QStringLiteral("B")});
    r.ponerColorFondo(1, 1, Qt::red);
    db::Recordset registros;
    registros.abrir(QStringLiteral("SELECT relacion 'Relación' FROM x"), conexion);
    r.llenar(registros);
    QCOMPARE(r.numeroColumnas(), 1);
    QCOMPARE(r.numeroFilas(), 1);
    QCOMPARE(r.valor(1, 1), QVariant(qint64(9)));
    QVERIFY(!r.colorFondo(1, 1).isValid());
    QCOMPARE(r.tipoColumna(1), TipoCelda::Texto);

    // An empty result leaves the titled columns and no rows.
    db::Conexion vacia;
    vacia.abrir(std::make_unique<MotorFijo>(QStringList{QStringLiteral("A"), QStringLiteral("B")},
                                            Filas{}));
    registros.abrir(QStringLiteral("SELECT"), vacia);
    r.llenar(registros);
    QCOMPARE(r.numeroColumnas(), 2);
    QCOMPARE(r.numeroFilas(), 0);
    QCOMPARE(r.tituloColumna(2), QStringLiteral("B"));
}

void RejillaTest::quitarFilaDelMedioSubeLasDeAbajo() {
    Rejilla r;
    ArmarPendientes(&r, {QStringLiteral("ALFA"), QStringLiteral("BETA"), QStringLiteral("GAMA"),
                         QStringLiteral("DELTA")});
    r.ponerColorFondo(3, 2, Qt::red);
    r.ponerColorFondo(2, 1, Qt::yellow);
    r.quitarFila(2);
    QCOMPARE(r.numeroFilas(), 3);
    QCOMPARE(r.valor(1, 2).toString(), QStringLiteral("ALFA"));
    QCOMPARE(r.valor(2, 2).toString(), QStringLiteral("GAMA"));
    QCOMPARE(r.valor(3, 2).toString(), QStringLiteral("DELTA"));
    QCOMPARE(r.valor(2, 1), QVariant(1002));
    QVERIFY(r.valor(4, 2).isNull());
    // The colours move with their rows; the removed row's colours go with it.
    QCOMPARE(r.colorFondo(2, 2), QColor(Qt::red));
    QVERIFY(!r.colorFondo(3, 2).isValid());
    QVERIFY(!r.colorFondo(2, 1).isValid());
    QCOMPARE(r.model()->rowCount(), 3);
    QCOMPARE(r.model()->index(1, 1).data().toString(), QStringLiteral("GAMA"));

    r.quitarFila(3);
    r.quitarFila(1);
    QCOMPARE(r.numeroFilas(), 1);
    QCOMPARE(r.valor(1, 2).toString(), QStringLiteral("GAMA"));
    QCOMPARE(r.agregarFila(), 2);
}

void RejillaTest::quitarFilasConservaColumnas() {
    Rejilla r;
    ArmarPendientes(&r, {QStringLiteral("A"), QStringLiteral("B")});
    r.quitarFilas();
    QCOMPARE(r.numeroFilas(), 0);
    QCOMPARE(r.numeroColumnas(), 3);
    QCOMPARE(r.tipoColumna(3), TipoCelda::Casilla);
    QCOMPARE(r.agregarFila(), 1);
    QVERIFY(r.valor(1, 2).isNull());
    r.quitarFilasYColumnas();
    QCOMPARE(r.numeroFilas(), 0);
    QCOMPARE(r.numeroColumnas(), 0);
    QCOMPARE(r.model()->columnCount(), 0);
}

void RejillaTest::coloresAlternos() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    v.rejilla->ponerColoresAlternos(Crema, Blanco);
    QVERIFY(v.mostrar());
    for (int columna = 1; columna <= 3; ++columna) {
        QCOMPARE(v.fondo(1, columna), Crema);
        QCOMPARE(v.fondo(2, columna), Blanco);
        QCOMPARE(v.fondo(3, columna), Crema);
    }
    // Adding a row keeps the alternation.
    v.rejilla->agregarFila();
    QCOMPARE(v.fondo(4, 2), Blanco);
    v.rejilla->quitarFila(1);
    QCOMPARE(v.fondo(1, 2), Crema);
    QCOMPARE(v.fondo(2, 2), Blanco);
}

void RejillaTest::colorPropioSobreAlterno() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    v.rejilla->ponerColoresAlternos(Crema, Blanco);
    QVERIFY(v.mostrar());
    const QColor verde(0, 255, 0);
    for (int c = 1; c <= 3; ++c) v.rejilla->ponerColorFondo(2, c, verde);
    v.rejilla->ponerColorFondo(3, 1, QColor(255, 0, 0));
    QCOMPARE(v.fondo(2, 1), verde);
    QCOMPARE(v.fondo(2, 3), verde);
    QCOMPARE(v.fondo(3, 1), QColor(255, 0, 0));
    QCOMPARE(v.fondo(3, 2), Crema);
    QCOMPARE(v.fondo(1, 1), Crema);
    QCOMPARE(v.rejilla->colorFondo(2, 2), verde);
    QVERIFY(!v.rejilla->colorFondo(1, 1).isValid());
}

void RejillaTest::casillaConClic() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QList<QPair<int, int>> pedidos;
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion, [&](int fila, int columna, bool&) {
        pedidos.append({fila, columna});
    });
    QVERIFY(v.mostrar());
    QVERIFY(v.rejilla->valor(2, 3).toInt() != 1);
    const QImage sinMarca = v.imagen(2, 3);
    v.clic(2, 3);
    QCOMPARE(v.rejilla->valor(2, 3).toInt(), 1);
    // The tick is drawn: the cell looks different from an empty box.
    QVERIFY(v.imagen(2, 3) != sinMarca);
    QCOMPARE(v.rejilla->model()->index(1, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(v.rejilla->valor(1, 3).toInt() != 1);
    QVERIFY(v.rejilla->valor(3, 3).toInt() != 1);
    v.clic(2, 3);
    QVERIFY(v.rejilla->valor(2, 3).toInt() != 1);
    QCOMPARE(pedidos, (QList<QPair<int, int>>{{2, 3}, {2, 3}}));
    // A click on another column ticks nothing.
    v.clic(1, 2);
    QVERIFY(v.rejilla->valor(1, 3).toInt() != 1);
    QCOMPARE(pedidos.size(), 2);
}

void RejillaTest::casillaConEspacio() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B")});
    QVERIFY(v.mostrar());
    v.rejilla->ponerCeldaActual(1, 3);
    QTest::keyClick(v.rejilla, Qt::Key_Space);
    QCOMPARE(v.rejilla->valor(1, 3).toInt(), 1);
    QTest::keyClick(v.rejilla, Qt::Key_Down);
    QTest::keyClick(v.rejilla, Qt::Key_Space);
    QCOMPARE(v.rejilla->valor(2, 3).toInt(), 1);
    QTest::keyClick(v.rejilla, Qt::Key_Up);
    QTest::keyClick(v.rejilla, Qt::Key_Space);
    QVERIFY(v.rejilla->valor(1, 3).toInt() != 1);
    QCOMPARE(v.rejilla->valor(2, 3).toInt(), 1);
    // Space on a text cell ticks nothing.
    QTest::keyClick(v.rejilla, Qt::Key_Left);
    QTest::keyClick(v.rejilla, Qt::Key_Space);
    QCOMPARE(v.rejilla->valor(1, 2).toString(), QStringLiteral("A"));
    QVERIFY(v.rejilla->valor(1, 3).toInt() != 1);
}

void RejillaTest::casillaRechazada() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B")});
    v.rejilla->ponerValor(2, 3, 1);
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion,
                     [](int fila, int, bool& cancelar) { cancelar = fila == 2; });
    QVERIFY(v.mostrar());
    v.clic(2, 3);
    QCOMPARE(v.rejilla->valor(2, 3).toInt(), 1);
    v.rejilla->ponerCeldaActual(2, 3);
    QTest::keyClick(v.rejilla, Qt::Key_Space);
    QCOMPARE(v.rejilla->valor(2, 3).toInt(), 1);
    v.clic(1, 3);
    QCOMPARE(v.rejilla->valor(1, 3).toInt(), 1);
}

void RejillaTest::edicionRechazadaNoAbreEditor() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("ALFA"), QStringLiteral("BETA")});
    v.rejilla->soloLectura(false);
    QList<QPair<int, int>> pedidos;
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion,
                     [&](int fila, int columna, bool& cancelar) {
                         pedidos.append({fila, columna});
                         cancelar = columna <= 2;
                     });
    QVERIFY(v.mostrar());

    // The double-click is the window's: it asks nothing and opens nothing.
    v.dobleClic(1, 2);
    QVERIFY(!v.editorAbierto());
    QVERIFY(pedidos.isEmpty());
    QTest::keyClicks(v.rejilla, QStringLiteral("x"));
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    QTest::keyClick(v.rejilla, Qt::Key_Return);
    QTest::keyClick(v.rejilla, Qt::Key_Delete);
    QVERIFY(!v.editorAbierto());
    QCOMPARE(v.rejilla->valor(1, 2).toString(), QStringLiteral("ALFA"));
    QCOMPARE(v.rejilla->texto(1, 2), QStringLiteral("ALFA"));
    QCOMPARE(pedidos, (QList<QPair<int, int>>{{1, 2}, {1, 2}, {1, 2}, {1, 2}}));
}

void RejillaTest::edicionAceptadaGuardaLoEscrito() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("ALFA"), QStringLiteral("BETA")});
    v.rejilla->soloLectura(false);
    QList<QPair<int, int>> pedidos;
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion, [&](int fila, int columna, bool&) {
        pedidos.append({fila, columna});
        // The window marks the row while the edit starts.
        v.rejilla->ponerValor(fila, 1, QStringLiteral("SI"));
    });
    QVERIFY(v.mostrar());

    v.clic(2, 2);
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    QWidget* editor = v.editorAbierto();
    QVERIFY(editor);
    QCOMPARE(pedidos, (QList<QPair<int, int>>{{2, 2}}));
    QCOMPARE(v.rejilla->valor(2, 1).toString(), QStringLiteral("SI"));
    QCOMPARE(v.rejilla->valor(1, 1), QVariant(1000));
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Sin cita"));
    v.terminar(editor);
    QCOMPARE(v.rejilla->valor(2, 2).toString(), QStringLiteral("Sin cita"));
    QCOMPARE(pedidos.size(), 1);

    // Typing on a cell starts the edit with that character.
    v.rejilla->setFocus();
    v.rejilla->ponerCeldaActual(1, 2);
    QTest::keyClicks(v.rejilla, QStringLiteral("Z"));
    editor = v.editorAbierto();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("ONA"));
    v.terminar(editor, Qt::Key_Tab);
    QCOMPARE(v.rejilla->valor(1, 2).toString(), QStringLiteral("ZONA"));
    QCOMPARE(pedidos.last(), qMakePair(1, 2));

    // Emptied, the cell reads empty again.
    v.rejilla->setFocus();
    v.rejilla->ponerCeldaActual(1, 2);
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    editor = v.editorAbierto();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    v.terminar(editor);
    QVERIFY(v.rejilla->valor(1, 2).isNull());
}

void RejillaTest::soloLecturaNoEdita() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("ALFA")});
    int pedidos = 0;
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion, [&](int, int, bool&) { ++pedidos; });
    QSignalSpy dobles(v.rejilla, &Rejilla::dobleClic);
    QVERIFY(v.mostrar());
    QVERIFY(v.rejilla->esSoloLectura());
    v.dobleClic(1, 2);
    QTest::keyClicks(v.rejilla, QStringLiteral("x"));
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    QVERIFY(!v.editorAbierto());
    QCOMPARE(pedidos, 0);
    QCOMPARE(dobles.count(), 1);
    QCOMPARE(v.rejilla->valor(1, 2).toString(), QStringLiteral("ALFA"));
    // The check box of a list still ticks.
    v.clic(1, 3);
    QCOMPARE(v.rejilla->valor(1, 3).toInt(), 1);
    QCOMPARE(pedidos, 1);
}

// One row: "Solicitud" 1000, "Comentarios" (text) "ALFA", "Estado" (list) "Entregada".
void RejillaTest::teclasDeUnaCeldaEditable_data() {
    QTest::addColumn<int>("columna");
    QTest::addColumn<QString>("teclas");  // F2, Enter, ... separated by blanks; 'x' types
    QTest::addColumn<bool>("editorAbierto");
    QTest::addColumn<QString>("valor");  // the cell afterwards; "NULL" for empty
    QTest::addColumn<int>("pedidos");    // edit requests made
    QTest::newRow("F2 abre") << 2 << "F2" << true << "ALFA" << 1;
    QTest::newRow("Enter abre") << 2 << "Enter" << true << "ALFA" << 1;
    QTest::newRow("teclear abre y escribe") << 2 << "x" << true << "ALFA" << 1;
    QTest::newRow("Escape deshace") << 2 << "F2 x Escape" << false << "ALFA" << 1;
    QTest::newRow("Enter confirma") << 2 << "F2 x Enter" << false << "x" << 1;
    QTest::newRow("Suprimir vacía") << 2 << "Delete" << false << "NULL" << 1;
    QTest::newRow("F4 abre la lista") << 3 << "F4" << true << "Entregada" << 1;
    QTest::newRow("Alt+Abajo abre la lista") << 3 << "AltDown" << true << "Entregada" << 1;
    QTest::newRow("Alt+Abajo no baja de renglón en texto")
        << 2 << "AltDown" << false << "ALFA" << 0;
    QTest::newRow("Suprimir vacía la lista") << 3 << "Delete" << false << "NULL" << 1;
    // An empty list cell opens on its first entry, the one Enter would keep.
    QTest::newRow("vacía: F4") << 3 << "Delete F4" << true << "NULL" << 2;
}

void RejillaTest::teclasDeUnaCeldaEditable() {
    QFETCH(int, columna);
    QFETCH(QString, teclas);
    QFETCH(bool, editorAbierto);
    QFETCH(QString, valor);
    QFETCH(int, pedidos);
    Ventana v;
    int hechos = 0;
    bool pulsado = false;
    QObject::connect(v.boton, &QPushButton::clicked, [&] { pulsado = true; });
    v.rejilla->soloLectura(false);
    for (const char* t : {"Solicitud", "Comentarios", "Estado"})
        v.rejilla->agregarColumna(QLatin1String(t));
    v.rejilla->registrarLista(QStringLiteral("Estado"),
                              {QStringLiteral("Entregada"), QStringLiteral("Autorizada")});
    v.rejilla->ponerTipoColumna(3, TipoCelda::Lista, QStringLiteral("Estado"));
    for (int i = 0; i < 2; ++i) {
        v.rejilla->agregarFila();
        v.rejilla->ponerValor(i + 1, 1, 1000 + i);
        v.rejilla->ponerValor(i + 1, 2, QStringLiteral("ALFA"));
        v.rejilla->ponerValor(i + 1, 3, QStringLiteral("Entregada"));
    }
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion, [&](int, int, bool&) { ++hechos; });
    QVERIFY(v.mostrar());
    v.rejilla->ponerCeldaActual(1, columna);
    for (const QString& t : teclas.split(QLatin1Char(' '))) {
        QWidget* destino = v.editorAbierto() ? v.editorAbierto() : static_cast<QWidget*>(v.rejilla);
        if (t == QLatin1String("F2"))
            QTest::keyClick(destino, Qt::Key_F2);
        else if (t == QLatin1String("F4"))
            QTest::keyClick(destino, Qt::Key_F4);
        else if (t == QLatin1String("Enter"))
            QTest::keyClick(destino, Qt::Key_Return);
        else if (t == QLatin1String("Escape"))
            QTest::keyClick(destino, Qt::Key_Escape);
        else if (t == QLatin1String("Delete"))
            QTest::keyClick(destino, Qt::Key_Delete);
        else if (t == QLatin1String("AltDown"))
            QTest::keyClick(destino, Qt::Key_Down, Qt::AltModifier);
        else
            QTest::keyClicks(destino, t);
        QCoreApplication::processEvents();
    }
    QCOMPARE(v.editorAbierto() != nullptr, editorAbierto);
    // F4 and Alt+Down open the list itself, not only its box.
    if (auto* lista = qobject_cast<QComboBox*>(v.editorAbierto());
        lista && teclas != QLatin1String("F2")) {
        QVERIFY(lista->view()->isVisible());
        // What is highlighted is what Enter keeps.
        QCOMPARE(lista->view()->currentIndex().row(), lista->currentIndex());
        QCOMPARE(lista->currentText(), QStringLiteral("Entregada"));
    }
    QCOMPARE(v.rejilla->valor(1, columna).isNull() ? QStringLiteral("NULL")
                                                   : v.rejilla->texto(1, columna),
             valor);
    QCOMPARE(hechos, pedidos);
    QCOMPARE(v.rejilla->filaActual(), 1);
    QVERIFY(!pulsado);  // no key of the grid reaches the window's button
}

void RejillaTest::clicEnLaCeldaActualEdita() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("ALFA"), QStringLiteral("BETA")});
    v.rejilla->soloLectura(false);
    int dobles = 0;
    QObject::connect(v.rejilla, &Rejilla::dobleClic, [&](int, int) { ++dobles; });
    QVERIFY(v.mostrar());
    // The first click makes the cell current; a second one on it edits.
    v.clic(1, 2);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(!v.editorAbierto());
    v.clic(1, 2);
    QTRY_VERIFY(v.editorAbierto());
    v.terminar(v.editorAbierto(), Qt::Key_Escape);
    // A double-click on the current cell is the window's, never an edit.
    v.dobleClic(1, 2);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(!v.editorAbierto());
    QCOMPARE(dobles, 1);
}

void RejillaTest::enterYSuprimirEnUnaLista() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("ALFA"), QStringLiteral("BETA")});
    v.rejilla->ponerTipoColumna(3, TipoCelda::Texto);
    QList<QPair<int, int>> dobles, suprimidas;
    QObject::connect(v.rejilla, &Rejilla::dobleClic, [&](int f, int c) { dobles.append({f, c}); });
    QObject::connect(v.rejilla, &Rejilla::teclaSuprimir, [&](int f, int c) {
        suprimidas.append({f, c});
    });
    QVERIFY(v.mostrar());
    v.rejilla->ponerCeldaActual(2, 1);
    QTest::keyClick(v.rejilla, Qt::Key_Return);
    QVERIFY(dobles.isEmpty());  // only where the window asks for it
    v.rejilla->ponerEnterComoDobleClic(true);
    QTest::keyClick(v.rejilla, Qt::Key_Return);
    QTest::keyClick(v.rejilla, Qt::Key_Delete);
    QCOMPARE(dobles, (QList<QPair<int, int>>{{2, 1}}));
    QCOMPARE(suprimidas, (QList<QPair<int, int>>{{2, 1}}));
    QCOMPARE(v.rejilla->texto(2, 2), QStringLiteral("BETA"));
}

void RejillaTest::listaOfreceSusEntradas() {
    const QStringList estados = {QStringLiteral("Entregada"), QStringLiteral("Autorizada"),
                                 QStringLiteral("Rechazada"), QStringLiteral("Pendiente")};
    Ventana v;
    v.rejilla->soloLectura(false);
    v.rejilla->agregarColumna(QStringLiteral("Solicitud"));
    v.rejilla->agregarColumna(QStringLiteral("Estado Actual"));
    v.rejilla->agregarColumna(QStringLiteral("Tipo Verificación"));
    v.rejilla->registrarLista(QStringLiteral("Estado"), estados);
    v.rejilla->registrarLista(QStringLiteral("Tipos"),
                              {QStringLiteral("Domicilio"), QStringLiteral("Teléfono")});
    v.rejilla->ponerTipoColumna(2, TipoCelda::Lista, QStringLiteral("Estado"));
    v.rejilla->ponerTipoColumna(3, TipoCelda::Lista, QStringLiteral("Tipos"));
    v.rejilla->agregarFila();
    v.rejilla->ponerValor(1, 2, QStringLiteral("Entregada"));
    QVERIFY(v.mostrar());

    v.rejilla->ponerCeldaActual(1, 2);
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    auto* lista = qobject_cast<QComboBox*>(v.editorAbierto());
    QVERIFY(lista);
    QStringList ofrecidas;
    for (int i = 0; i < lista->count(); ++i) ofrecidas.append(lista->itemText(i));
    QCOMPARE(ofrecidas, estados);
    QCOMPARE(lista->currentText(), QStringLiteral("Entregada"));
    QVERIFY(!lista->isEditable());
    // Arrows move between entries without ending the edit; Enter ends it.
    QTest::keyClick(lista, Qt::Key_Down);
    QTest::keyClick(lista, Qt::Key_Down);
    QCOMPARE(v.editorAbierto(), lista);
    v.terminar(lista);
    QCOMPARE(v.rejilla->valor(1, 2).toString(), QStringLiteral("Rechazada"));

    v.rejilla->setFocus();
    v.rejilla->ponerCeldaActual(1, 3);
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    lista = qobject_cast<QComboBox*>(v.editorAbierto());
    QVERIFY(lista);
    QCOMPARE(lista->count(), 2);
    QCOMPARE(lista->itemText(1), QStringLiteral("Teléfono"));
    QCOMPARE(lista->currentIndex(), 0);  // an empty cell shows the first entry
    v.terminar(lista, Qt::Key_Escape);
    QVERIFY(v.rejilla->valor(1, 3).isNull());
}

void RejillaTest::dobleClicDesdeUno() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QSignalSpy dobles(v.rejilla, &Rejilla::dobleClic);
    QVERIFY(v.mostrar());
    v.dobleClic(3, 2);
    QCOMPARE(dobles.count(), 1);
    QCOMPARE(dobles.at(0).at(0).toInt(), 3);
    QCOMPARE(dobles.at(0).at(1).toInt(), 2);
    v.dobleClic(1, 1);
    QCOMPARE(dobles.count(), 2);
    QCOMPARE(dobles.at(1).at(0).toInt(), 1);
    QCOMPARE(dobles.at(1).at(1).toInt(), 1);
    // The header is no row.
    const QPoint titulo = v.rejilla->horizontalHeader()->rect().center();
    QTest::mouseDClick(v.rejilla->horizontalHeader()->viewport(), Qt::LeftButton, {}, titulo);
    QCOMPARE(dobles.count(), 2);
}

void RejillaTest::celdaActualConClicYFlechas() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QSignalSpy movidas(v.rejilla, &Rejilla::celdaActualCambiada);
    QVERIFY(v.mostrar());
    movidas.clear();
    v.clic(2, 2);
    QCOMPARE(movidas.count(), 1);
    QCOMPARE(movidas.last().at(0).toInt(), 2);
    QCOMPARE(movidas.last().at(1).toInt(), 2);
    QTest::keyClick(v.rejilla, Qt::Key_Down);
    QCOMPARE(movidas.last().at(0).toInt(), 3);
    QCOMPARE(movidas.last().at(1).toInt(), 2);
    QTest::keyClick(v.rejilla, Qt::Key_Right);
    QCOMPARE(movidas.last().at(0).toInt(), 3);
    QCOMPARE(movidas.last().at(1).toInt(), 3);
    QTest::keyClick(v.rejilla, Qt::Key_Up);
    QTest::keyClick(v.rejilla, Qt::Key_Up);
    QCOMPARE(movidas.last().at(0).toInt(), 1);
    QCOMPARE(v.rejilla->filaActual(), 1);
    QCOMPARE(v.rejilla->columnaActual(), 3);
    QCOMPARE(movidas.count(), 5);
    // Down from the last row moves nothing and says nothing.
    v.clic(3, 1);
    const int antes = movidas.count();
    QTest::keyClick(v.rejilla, Qt::Key_Down);
    QCOMPARE(movidas.count(), antes);
    QCOMPARE(v.rejilla->filaActual(), 3);
}

void RejillaTest::quitarFilaNoMueveLaCeldaDelUsuario() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QSignalSpy movidas(v.rejilla, &Rejilla::celdaActualCambiada);
    QVERIFY(v.mostrar());
    v.clic(2, 2);
    movidas.clear();
    v.rejilla->quitarFila(2);
    v.rejilla->quitarFilas();
    QCOMPARE(movidas.count(), 0);
}

void RejillaTest::enterNoLlegaAlBotonDeLaVentana() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("A")});
    QSignalSpy pulsado(v.boton, &QPushButton::clicked);
    QSignalSpy aceptado(&v.dialogo, &QDialog::accepted);
    QVERIFY(v.mostrar());
    v.rejilla->ponerCeldaActual(1, 1);
    QTest::keyClick(v.rejilla, Qt::Key_Return);
    QTest::keyClick(v.rejilla, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(pulsado.count(), 0);
    QCOMPARE(aceptado.count(), 0);
    QVERIFY(v.dialogo.isVisible());
}

void RejillaTest::busquedaPorTecleo() {
    Ventana v;
    ArmarPendientes(v.rejilla,
                    {QStringLiteral("ALVAREZ"), QStringLiteral("BENITEZ"), QStringLiteral("BERNAL"),
                     QStringLiteral("CASTRO"), QStringLiteral("ÉVORA")});
    v.rejilla->soloLectura(false);
    int pedidos = 0;
    QObject::connect(v.rejilla, &Rejilla::solicitudEdicion, [&](int, int, bool&) { ++pedidos; });
    v.rejilla->ponerBusquedaPorTecleo(true);
    v.rejilla->ponerColumnaBusqueda(v.rejilla->buscarColumna(QStringLiteral("Nombre")));
    v.rejilla->ponerPausaBusqueda(60 * 60 * 1000);
    QSignalSpy movidas(v.rejilla, &Rejilla::celdaActualCambiada);
    QVERIFY(v.mostrar());
    v.rejilla->ponerCeldaActual(1, 1);

    QTest::keyClicks(v.rejilla, QStringLiteral("be"));
    QCOMPARE(v.rejilla->filaActual(), 2);
    QTest::keyClicks(v.rejilla, QStringLiteral("r"));
    QCOMPARE(v.rejilla->filaActual(), 3);
    QCOMPARE(movidas.last().at(0).toInt(), 3);
    QTest::keyClick(v.rejilla, Qt::Key_Backspace);
    QCOMPARE(v.rejilla->filaActual(), 2);
    // No editor opened and nothing written while searching.
    QVERIFY(!v.editorAbierto());
    QCOMPARE(pedidos, 0);
    QCOMPARE(v.rejilla->valor(2, 2).toString(), QStringLiteral("BENITEZ"));

    // After a pause each key is a new search (a pause of none makes every key one).
    v.rejilla->ponerPausaBusqueda(0);
    QTest::keyClicks(v.rejilla, QStringLiteral("c"));
    QCOMPARE(v.rejilla->filaActual(), 4);
    QTest::keyClicks(v.rejilla, QStringLiteral("a"));
    QCOMPARE(v.rejilla->filaActual(), 1);
    for (QChar c : QStringLiteral("é"))
        QTest::sendKeyEvent(QTest::Click, v.rejilla, Qt::Key_Eacute, QString(c), Qt::NoModifier);
    QCOMPARE(v.rejilla->filaActual(), 5);
    // Nothing begins with it: the current row stays.
    QTest::keyClicks(v.rejilla, QStringLiteral("z"));
    QCOMPARE(v.rejilla->filaActual(), 5);
}

void RejillaTest::busquedaApagadaNoMueve() {
    Ventana v;
    ArmarPendientes(v.rejilla, {QStringLiteral("ALVAREZ"), QStringLiteral("BENITEZ")});
    v.rejilla->ponerColumnaBusqueda(2);
    QVERIFY(v.mostrar());
    v.rejilla->ponerCeldaActual(1, 2);
    QTest::keyClicks(v.rejilla, QStringLiteral("be"));
    QCOMPARE(v.rejilla->filaActual(), 1);
    v.rejilla->ponerBusquedaPorTecleo(true);
    v.rejilla->ponerPausaBusqueda(60 * 60 * 1000);
    QTest::keyClicks(v.rejilla, QStringLiteral("be"));
    QCOMPARE(v.rejilla->filaActual(), 2);
    v.rejilla->ponerBusquedaPorTecleo(false);
    QTest::keyClicks(v.rejilla, QStringLiteral("al"));
    QCOMPARE(v.rejilla->filaActual(), 2);
}

void RejillaTest::ajustarAnchoAlContenido() {
    Ventana v;
    v.rejilla->agregarColumna(QStringLiteral("N"), 20);
    v.rejilla->agregarColumna(QStringLiteral("Domicilio del cliente"), 20);
    const QString largo = QStringLiteral("CALLE INDEPENDENCIA 1234 COL. CENTRO");
    for (int f = 1; f <= 3000; ++f) {
        v.rejilla->agregarFila();
        v.rejilla->ponerValor(f, 1, f == 120 ? largo : QStringLiteral("X"));
        v.rejilla->ponerValor(f, 2, QStringLiteral("Y"));
    }
    QVERIFY(v.mostrar());
    v.rejilla->ajustarAncho(1);
    v.rejilla->ajustarAncho(2);
    const QFontMetrics medida = v.rejilla->fontMetrics();
    QVERIFY(v.rejilla->anchoColumna(1) >= medida.horizontalAdvance(largo));
    QVERIFY(v.rejilla->anchoColumna(1) < medida.horizontalAdvance(largo) + 40);
    // The title counts too.
    const int titulo = v.rejilla->horizontalHeader()->fontMetrics().horizontalAdvance(
        QStringLiteral("Domicilio del cliente"));
    QVERIFY(v.rejilla->anchoColumna(2) >= titulo);
    QVERIFY(v.rejilla->anchoColumna(2) < titulo + 40);
}

void RejillaTest::importesConSuFormato() {
    Ventana v;
    v.rejilla->agregarColumna(QStringLiteral("Linea Crédito"), 90);
    v.rejilla->ponerFormatoColumna(1, FormatoCelda::Importe);
    v.rejilla->soloLectura(false);
    const QList<QPair<QVariant, QString>> casos = {
        {QStringLiteral("12500"), QStringLiteral("$12,500.00")},
        {125000.5, QStringLiteral("$125,000.50")},
        {QStringLiteral("1234.5678"), QStringLiteral("$1,234.57")},
        {QStringLiteral("abc"), QStringLiteral("abc")}};
    for (const auto& [valor, mostrado] : casos) {
        const int f = v.rejilla->agregarFila();
        v.rejilla->ponerValor(f, 1, valor);
        const QModelIndex i = v.rejilla->model()->index(f - 1, 0);
        QCOMPARE(i.data(Qt::DisplayRole).toString(), mostrado);
        QVERIFY(i.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    }
    // The cell keeps its plain number, and its editor opens on it.
    QVERIFY(v.mostrar());
    v.clic(3, 1);
    QTest::keyClick(v.rejilla, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(v.editorAbierto());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("1234.5678"));
}

void RejillaTest::celdaCortadaDaSuTextoEnLaAyuda_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("ayuda");
    const QString largo = QStringLiteral("HERNANDEZ MALDONADO MARIA GUADALUPE");
    QTest::newRow("cortada") << largo << largo;
    // A text shown whole leaves the grid's own tool tip.
    QTest::newRow("entera") << QStringLiteral("ANA") << QStringLiteral("Doble Click para Imprimir");
}

void RejillaTest::celdaCortadaDaSuTextoEnLaAyuda() {
    QFETCH(QString, texto);
    QFETCH(QString, ayuda);
    Ventana v;
    v.rejilla->setToolTip(QStringLiteral("Doble Click para Imprimir"));
    v.rejilla->agregarColumna(QStringLiteral("Aval de"), 60);
    v.rejilla->agregarFila();
    v.rejilla->ponerValor(1, 1, texto);
    QVERIFY(v.mostrar());
    const QPoint punto = v.celda(1, 1).center();
    QHelpEvent pedir(QEvent::ToolTip, punto, v.rejilla->viewport()->mapToGlobal(punto));
    QApplication::sendEvent(v.rejilla->viewport(), &pedir);
    QTRY_COMPARE(QToolTip::text(), ayuda);
    QToolTip::hideText();
}

void RejillaTest::dibujoApagadoCargaDeUnaVez() {
    Ventana v;
    QVERIFY(v.mostrar());
    QSignalSpy insertadas(v.rejilla->model(), &QAbstractItemModel::rowsInserted);
    v.rejilla->ponerDibujo(false);
    v.rejilla->agregarColumna(QStringLiteral("Solicitud"));
    for (int f = 1; f <= 500; ++f) {
        v.rejilla->agregarFila();
        v.rejilla->ponerValor(f, 1, f);
    }
    QCOMPARE(v.rejilla->numeroFilas(), 500);
    QCOMPARE(v.rejilla->valor(500, 1), QVariant(500));
    v.rejilla->ponerDibujo(false);
    v.rejilla->ponerDibujo(true);
    QCOMPARE(v.rejilla->verticalHeader()->count(), 0);
    v.rejilla->ponerDibujo(true);
    QCOMPARE(insertadas.count(), 0);
    QCOMPARE(v.rejilla->verticalHeader()->count(), 500);
    QCOMPARE(v.rejilla->horizontalHeader()->count(), 1);
    // An extra "on" changes nothing, and the grid still reports the user's moves.
    v.rejilla->ponerDibujo(true);
    QSignalSpy movidas(v.rejilla, &Rejilla::celdaActualCambiada);
    v.clic(2, 1);
    QCOMPARE(v.rejilla->filaActual(), 2);
    QCOMPARE(movidas.count(), 1);
}

void RejillaTest::colorDeNumero() {
    QCOMPARE(ColorDeNumero(255), QColor(255, 0, 0));
    QCOMPARE(ColorDeNumero(65535), QColor(255, 255, 0));
    QCOMPARE(ColorDeNumero(65280), QColor(0, 255, 0));
    QCOMPARE(ColorDeNumero(0xC8FFFF), QColor(255, 255, 200));
}

QTEST_MAIN(RejillaTest)
#include "rejilla_test.moc"
