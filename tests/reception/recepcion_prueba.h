#pragma once
// What the reception tests share: batches handed to two verifiers of the running centre (CHI)
// and to one of another centre (JRZ), and the hands of a user on the reception window.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "base_prueba.h"
#include "reception/frm_recepcion.h"
#include "ui/rejilla.h"

namespace prueba {

// Branches: 1 Matriz, 15 Aldama, 3 Delicias (CHI); 9 Juárez (JRZ).
// Verifiers: 40 VERIFICA UNO (CHI), 41 ABREGO DOS (CHI), 50 LEJOS TRES (JRZ); 101 is a seller.
// Batches:
//   1  CHI, verifier 40, two days ago:   501 (Delicias, never recorded), 502 (Aldama, recorded)
//   2  CHI, verifier 41, today:          503 (Matriz)
//   3  JRZ, verifier 50, yesterday:      504 (Juárez)
//   4  JRZ, verifier 40, three days ago: 505 (Juárez)
//   5  CHI, verifier 40, ten days ago:   506 (Matriz), and an older line of 501
inline void SembrarRelaciones(BasePrueba& base) {
    base.sqlite(QStringLiteral(
        "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
        "('1', 'Matriz', 'CHI'), ('15', 'Aldama', 'CHI'), ('3', 'Delicias', 'CHI'), ('9', "
        "'Juarez', 'JRZ');"
        "INSERT INTO personal (persona, apellidos, nombres, sucursal, es_vendedor, es_verificador) "
        "VALUES "
        "('     40', 'verifica ', ' uno', 1, 0, 1), ('     41', 'ABREGO', 'DOS', 15, 0, 1),"
        "('     50', 'LEJOS', 'TRES', 9, 0, 1), ('    101', 'AAA', 'VENDEDOR', 1, 1, 0);"
        "INSERT INTO clientes (cliente, Nombre_Cliente) VALUES "
        "(1001, 'PEREZ LOPEZ JUAN'), (1002, 'GARCIA RUIZ ANA'), (1003, 'SOTO MEZA LUIS'),"
        "(1004, 'DIAZ PAZ EVA'), (1005, 'MORA LUNA RAUL'), (1006, 'RIOS VEGA SARA');"
        "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Fecha_recepcion, "
        "Sucursal, "
        "Relacion, estado_actual, comentarios) VALUES "
        "(501, 1001, '2024-03-05 00:00:00.000', '3', 1, 'Entregada', NULL),"
        "(502, 1002, '2024-03-06 00:00:00.000', '15', 1, 'Autorizada', 'OK'),"
        "(503, 1003, '2024-03-07 00:00:00.000', '1', 2, 'Entregada', NULL),"
        "(504, 1004, '2024-03-08 00:00:00.000', '9', 3, 'Entregada', NULL),"
        "(505, 1005, '2024-03-09 00:00:00.000', '9', 4, 'Entregada', NULL),"
        "(506, 1006, '2024-03-10 00:00:00.000', '1', 5, 'Entregada', NULL);"
        "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
        "verificador, "
        "elaborada_por, fecha_entrega) VALUES "
        "(1, 'CHI', '     40', '     40', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime', '-2 "
        "days')),"
        "(2, 'CHI', '     41', '     41', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')),"
        "(3, 'JRZ', '     50', '     50', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime', '-1 "
        "days')),"
        "(4, 'JRZ', '     40', '     40', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime', '-3 "
        "days')),"
        "(5, 'CHI', '     40', '     40', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime', '-10 "
        "days'));"
        "INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, Solicitud, tiene_cita) VALUES "
        "(1, 501, 1), (2, 503, 1), (3, 504, 1), (4, 505, 1), (5, 506, 1), (5, 501, 1);"
        "INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, Solicitud, tiene_cita, "
        "fecha_verificacion, estado_Actual, Tipo_Verificacion, Linea_Autorizada, comentarios, "
        "recomienda_verificador) VALUES "
        "(1, 502, 1, '2024-03-08 11:30:00.000', 'Autorizada', 'Aval', 2500.5, 'OK', "
        "'Recomienda');"));
}

class Manos {
  public:
    explicit Manos(FrmRecepcion* f) : f_(f) {}

    bool mostrar() {
        f_->show();
        QApplication::setActiveWindow(f_);
        return QTest::qWaitForWindowActive(f_);
    }

    // Picks the entry with the arrows and leaves the list with Tab, as a clerk does.
    bool elegirVerificador(const QString& texto) {
        QComboBox* lista = f_->CmbVerificadores;
        lista->setFocus();
        if (!lista->hasFocus()) return false;
        QTest::keyClick(lista, Qt::Key_Home);
        for (int i = 0; i <= lista->count() && lista->currentText() != texto; ++i)
            QTest::keyClick(lista, Qt::Key_Down);
        if (lista->currentText() != texto) return false;
        QTest::keyClick(lista, Qt::Key_Tab);
        return !lista->hasFocus();
    }

    void consultar() { QTest::mouseClick(f_->CmdConsultar, Qt::LeftButton); }

    bool buscar(const QString& verificador) {
        if (!elegirVerificador(verificador)) return false;
        consultar();
        return true;
    }

    QRect celda(int fila, int columna) {
        const QModelIndex i = f_->ISolicitudes->model()->index(fila - 1, columna - 1);
        f_->ISolicitudes->scrollTo(i);
        return f_->ISolicitudes->visualRect(i);
    }

    void clic(int fila, int columna) {
        QTest::mouseClick(f_->ISolicitudes->viewport(), Qt::LeftButton, {},
                          celda(fila, columna).center());
    }

    // The events of a real double-click: press, release, double-click, release.
    void dobleClic(int fila, int columna) {
        const QPoint punto = celda(fila, columna).center();
        QWidget* vista = f_->ISolicitudes->viewport();
        QTest::mousePress(vista, Qt::LeftButton, {}, punto);
        QTest::mouseRelease(vista, Qt::LeftButton, {}, punto);
        QTest::mouseDClick(vista, Qt::LeftButton, {}, punto);
        QTest::mouseRelease(vista, Qt::LeftButton, {}, punto);
    }

    QWidget* editorAbierto() const {
        for (QWidget* w : f_->ISolicitudes->viewport()->findChildren<QWidget*>())
            if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) && w->isVisible())
                return w;
        return nullptr;
    }

    // Clicks the cell and presses F2: the editor that opened, if any.
    QWidget* editar(int fila, int columna) {
        clic(fila, columna);
        QTest::keyClick(f_->ISolicitudes, Qt::Key_F2);
        return editorAbierto();
    }

    // Types a text into a free-text cell and ends with Enter.
    bool escribir(int fila, int columna, const QString& texto) {
        auto* linea = qobject_cast<QLineEdit*>(editar(fila, columna));
        if (!linea) return false;
        QTest::keyClick(linea, Qt::Key_A, Qt::ControlModifier);
        if (texto.isEmpty())
            QTest::keyClick(linea, Qt::Key_Delete);
        else
            QTest::keyClicks(linea, texto);
        QTest::keyClick(linea, Qt::Key_Return);
        QCoreApplication::processEvents();
        return !editorAbierto();
    }

    // Picks an entry of a drop-down cell with the arrows and ends with Enter.
    bool elegir(int fila, int columna, const QString& entrada) {
        auto* lista = qobject_cast<QComboBox*>(editar(fila, columna));
        if (!lista) return false;
        QTest::keyClick(lista, Qt::Key_Home);
        for (int i = 0; i <= lista->count() && lista->currentText() != entrada; ++i)
            QTest::keyClick(lista, Qt::Key_Down);
        if (lista->currentText() != entrada) return false;
        QTest::keyClick(lista, Qt::Key_Return);
        QCoreApplication::processEvents();
        return !editorAbierto();
    }

    // Starts an edit and leaves it with Escape, the value untouched.
    bool empezarYCancelar(int fila, int columna) {
        QWidget* editor = editar(fila, columna);
        if (!editor) return false;
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        return !editorAbierto();
    }

    QString texto(int fila, int columna) const { return f_->ISolicitudes->texto(fila, columna); }
    // The grid's rows, the given columns of each joined by '|'.
    QStringList filas(const QList<int>& columnas) const {
        QStringList r;
        for (int fila = 1; fila <= f_->ISolicitudes->numeroFilas(); ++fila) {
            QStringList c;
            for (int col : columnas) c << texto(fila, col);
            r << c.join(QLatin1Char('|'));
        }
        return r;
    }

  private:
    FrmRecepcion* f_;
};

// The statements sent that change something, in order.
inline QStringList Escrituras(const QStringList& enviadas) {
    QStringList r;
    for (const QString& s : enviadas)
        if (s.startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive) ||
            s.startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive) ||
            s.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive))
            r << s;
    return r;
}

}  // namespace prueba
