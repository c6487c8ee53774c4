// Messages, questions and modal windows: the real boxes the user sees, and the stand-in
// services that the window tests install instead.
#include "ui/servicios.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <tuple>

#include "servicios_falsos.h"
#include "ui/traducciones.h"

namespace {

// Runs `accion` on the message box as soon as the box's own loop turns; a box nobody expects
// is still closed, so a wrong road fails the test instead of hanging it.
struct CazadorDeCajas {
    int cajas = 0;
    std::function<void(QMessageBox*)> accion;

    void armar() {
        QTimer::singleShot(0, qApp, [this] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caja) return;
            ++cajas;
            if (accion)
                accion(caja);
            else
                caja->reject();
        });
    }
};

}  // namespace

class ServiciosTest : public QObject {
    Q_OBJECT
  private slots:
    void falsoRegistraMensajes();
    void falsoContestaDesdeLaCola();
    void falsoMuestraModalSinEsperar();
    void falsoRegistraDireccionesYProgramas();
    void falsoSeRetiraAlTerminar();
    void escritorioMensajeDeError();
    void escritorioMensajeDeInformacion();
    void escritorioPreguntaSiPorDefecto();
    void escritorioPreguntaNoPorDefecto();
    void escritorioCajaTanAnchaComoSuTitulo();
    void escritorioModal();
    void escritorioProgramaInexistente();
    void dialogoGuardarEnEspanolDeMexico();
};

void ServiciosTest::falsoRegistraMensajes() {
    ServiciosFalsos falsos;
    QCOMPARE(&Servicios(), static_cast<ServiciosVentana*>(&falsos));
    CazadorDeCajas cazador;
    cazador.armar();
    MensajeError(QStringLiteral("No se encontró la tabla de arranque"),
                 QStringLiteral("Error al iniciar"));
    MensajeInformacion(QStringLiteral("Solicitud Eliminada!"), QStringLiteral("Eliminar"));
    QCoreApplication::processEvents();
    QCOMPARE(cazador.cajas, 0);

    QCOMPARE(falsos.mensajes.size(), 2);
    QCOMPARE(falsos.mensajes[0].icono, IconoMensaje::Critico);
    QCOMPARE(falsos.mensajes[0].texto, QStringLiteral("No se encontró la tabla de arranque"));
    QCOMPARE(falsos.mensajes[0].titulo, QStringLiteral("Error al iniciar"));
    QCOMPARE(falsos.mensajes[1].icono, IconoMensaje::Informacion);
    QCOMPARE(falsos.mensajes[1].titulo, QStringLiteral("Eliminar"));
    QCOMPARE(falsos.textos(), (QStringList{QStringLiteral("No se encontró la tabla de arranque"),
                                           QStringLiteral("Solicitud Eliminada!")}));
    falsos.limpiar();
    QVERIFY(falsos.mensajes.isEmpty());
}

void ServiciosTest::falsoContestaDesdeLaCola() {
    ServiciosFalsos falsos;
    QCOMPARE(&Servicios(), static_cast<ServiciosVentana*>(&falsos));
    falsos.respuestas << true << false;
    CazadorDeCajas cazador;
    cazador.armar();
    QVERIFY(Preguntar(QStringLiteral("¿Eliminar?"), QStringLiteral("Eliminar Solicitud")));
    QVERIFY(!Preguntar(QStringLiteral("¿Salir?"), QStringLiteral("Descartar Cambios"), false));
    QVERIFY(!Preguntar(QStringLiteral("¿Otra?"), QStringLiteral("Otra")));
    QCoreApplication::processEvents();
    QCOMPARE(cazador.cajas, 0);

    QCOMPARE(falsos.preguntas.size(), 3);
    QCOMPARE(falsos.preguntas[0].texto, QStringLiteral("¿Eliminar?"));
    QCOMPARE(falsos.preguntas[0].titulo, QStringLiteral("Eliminar Solicitud"));
    QVERIFY(falsos.preguntas[0].siPorDefecto);
    QVERIFY(falsos.preguntas[0].respuesta);
    QVERIFY(!falsos.preguntas[1].siPorDefecto);
    QVERIFY(!falsos.preguntas[1].respuesta);
    QCOMPARE(falsos.preguntasSinRespuesta, 1);
    QVERIFY(falsos.mensajes.isEmpty());
}

void ServiciosTest::falsoMuestraModalSinEsperar() {
    ServiciosFalsos falsos;
    QCOMPARE(&Servicios(), static_cast<ServiciosVentana*>(&falsos));
    QDialog comentarios;
    comentarios.setObjectName(QStringLiteral("FrmComentarios"));
    comentarios.setWindowTitle(QStringLiteral("Comentarios"));
    bool seVeia = false;
    falsos.accionesModales.append([&](QDialog& d) {
        seVeia = d.isVisible();
        d.accept();
    });
    QCOMPARE(Servicios().mostrarModal(comentarios), int(QDialog::Accepted));
    QVERIFY(seVeia);
    QVERIFY(!comentarios.isVisible());

    // No action left: the window is closed as the user would with the close box.
    QCOMPARE(Servicios().mostrarModal(comentarios), int(QDialog::Rejected));
    QVERIFY(!comentarios.isVisible());

    int vecesGeneral = 0;
    falsos.alMostrarModal = [&](QDialog& d) {
        ++vecesGeneral;
        d.done(QDialog::Accepted);
    };
    QCOMPARE(Servicios().mostrarModal(comentarios), int(QDialog::Accepted));
    QCOMPARE(vecesGeneral, 1);

    QCOMPARE(falsos.dialogos.size(), 3);
    QCOMPARE(falsos.dialogos[0].clase, QStringLiteral("QDialog"));
    QCOMPARE(falsos.dialogos[0].nombre, QStringLiteral("FrmComentarios"));
    QCOMPARE(falsos.dialogos[0].titulo, QStringLiteral("Comentarios"));
    QCOMPARE(falsos.dialogos[0].resultado, int(QDialog::Accepted));
    QCOMPARE(falsos.dialogos[1].resultado, int(QDialog::Rejected));
}

void ServiciosTest::falsoRegistraDireccionesYProgramas() {
    ServiciosFalsos falsos;
    QCOMPARE(&Servicios(), static_cast<ServiciosVentana*>(&falsos));
    QVERIFY(Servicios().abrirDireccion(QStringLiteral("http://mapas/maps?q=28.67")));
    QVERIFY(Servicios().iniciarPrograma(QStringLiteral("/home/oxa/fotos_clientes"),
                                        {QStringLiteral("4711")}));
    falsos.resultadoIniciar = false;
    QVERIFY(!Servicios().iniciarPrograma(QStringLiteral("otro"), {}));
    QCOMPARE(falsos.direcciones, QStringList{QStringLiteral("http://mapas/maps?q=28.67")});
    QCOMPARE(falsos.programas.size(), 2);
    QCOMPARE(falsos.programas[0].programa, QStringLiteral("/home/oxa/fotos_clientes"));
    QCOMPARE(falsos.programas[0].argumentos, QStringList{QStringLiteral("4711")});
}

void ServiciosTest::falsoSeRetiraAlTerminar() {
    QVERIFY(dynamic_cast<ServiciosEscritorio*>(&Servicios()));
    {
        ServiciosFalsos externos;
        {
            ServiciosFalsos internos;
            QCOMPARE(&Servicios(), static_cast<ServiciosVentana*>(&internos));
            MensajeError(QStringLiteral("a"), QStringLiteral("b"));
            QCOMPARE(internos.mensajes.size(), 1);
        }
        QCOMPARE(&Servicios(), static_cast<ServiciosVentana*>(&externos));
        QVERIFY(externos.mensajes.isEmpty());
    }
    QVERIFY(dynamic_cast<ServiciosEscritorio*>(&Servicios()));
}

void ServiciosTest::escritorioMensajeDeError() {
    CazadorDeCajas cazador;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    QString texto, titulo;
    QStringList botones;
    cazador.accion = [&](QMessageBox* caja) {
        icono = caja->icon();
        texto = caja->text();
        titulo = caja->windowTitle();
        for (QAbstractButton* b : caja->buttons()) botones.append(b->text());
        QTest::keyClick(caja, Qt::Key_Return);
    };
    cazador.armar();
    MensajeError(QStringLiteral("La Contraseña proporcionada No coincide con el Usuario!"),
                 QStringLiteral("Contraseña Incorrecta"));
    QCOMPARE(cazador.cajas, 1);
    QCOMPARE(icono, QMessageBox::Critical);
    QCOMPARE(texto, QStringLiteral("La Contraseña proporcionada No coincide con el Usuario!"));
    QCOMPARE(titulo, QStringLiteral("Contraseña Incorrecta"));
    QCOMPARE(botones, QStringList{QStringLiteral("Aceptar")});
}

void ServiciosTest::escritorioMensajeDeInformacion() {
    CazadorDeCajas cazador;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    QString titulo;
    cazador.accion = [&](QMessageBox* caja) {
        icono = caja->icon();
        titulo = caja->windowTitle();
        caja->buttons().first()->click();
    };
    cazador.armar();
    MensajeInformacion(QStringLiteral("Relación de Solicitudes Generada 12"),
                       QStringLiteral("Relaciones"));
    QCOMPARE(cazador.cajas, 1);
    QCOMPARE(icono, QMessageBox::Information);
    QCOMPARE(titulo, QStringLiteral("Relaciones"));
}

void ServiciosTest::escritorioPreguntaSiPorDefecto() {
    CazadorDeCajas cazador;
    QString porDefecto;
    QStringList botones;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    cazador.accion = [&](QMessageBox* caja) {
        icono = caja->icon();
        if (QPushButton* b = caja->defaultButton()) porDefecto = b->text().remove(QLatin1Char('&'));
        for (QAbstractButton* b : caja->buttons())
            botones.append(b->text().remove(QLatin1Char('&')));
        QTest::keyClick(caja, Qt::Key_Return);
    };
    cazador.armar();
    QVERIFY(Preguntar(QStringLiteral("Se dispone a Eliminar la Solicitud?"),
                      QStringLiteral("Eliminar"), true));
    QCOMPARE(icono, QMessageBox::Question);
    QCOMPARE(porDefecto, QStringLiteral("Sí"));
    botones.sort();
    QCOMPARE(botones, (QStringList{QStringLiteral("No"), QStringLiteral("Sí")}));

    // Escape is No.
    cazador.accion = [](QMessageBox* caja) { QTest::keyClick(caja, Qt::Key_Escape); };
    cazador.armar();
    QVERIFY(!Preguntar(QStringLiteral("¿Otra vez?"), QStringLiteral("Eliminar"), true));
    QCOMPARE(cazador.cajas, 2);
}

void ServiciosTest::escritorioPreguntaNoPorDefecto() {
    CazadorDeCajas cazador;
    cazador.accion = [](QMessageBox* caja) { QTest::keyClick(caja, Qt::Key_Return); };
    cazador.armar();
    QVERIFY(!Preguntar(QStringLiteral("Se Dispone a Salir sin Guardar los Cambios, esta seguro?"),
                       QStringLiteral("Descartar Cambios"), false));

    // Only a press of Sí answers yes.
    cazador.accion = [](QMessageBox* caja) { caja->button(QMessageBox::Yes)->click(); };
    cazador.armar();
    QVERIFY(Preguntar(QStringLiteral("¿Salir?"), QStringLiteral("Descartar Cambios"), false));
    QCOMPARE(cazador.cajas, 2);
}

void ServiciosTest::escritorioCajaTanAnchaComoSuTitulo() {
    CazadorDeCajas cazador;
    QList<int> anchos, necesarios;
    cazador.accion = [&](QMessageBox* caja) {
        anchos << caja->width();
        necesarios << AnchoParaTitulo(caja->windowTitle(), *caja);
        caja->reject();
    };
    // A short text under a long title: the box would otherwise be as narrow as the text.
    cazador.armar();
    MensajeError(QStringLiteral("Sin datos"), QStringLiteral("Error de Base de Datos"));
    cazador.armar();
    Preguntar(QStringLiteral("¿Sí?"), QStringLiteral("Descartar los Cambios de la Recepción"));
    QCOMPARE(cazador.cajas, 2);
    QFont negrita = QApplication::font();
    negrita.setBold(true);
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(anchos[i] >= necesarios[i],
                 qPrintable(QStringLiteral("%1 < %2").arg(anchos[i]).arg(necesarios[i])));
        // Room for the frame's buttons besides the title itself.
        QVERIFY(necesarios[i] >
                QFontMetrics(negrita).horizontalAdvance(QStringLiteral("Error de Base de Datos")) +
                    60);
    }
}

void ServiciosTest::escritorioModal() {
    QDialog dialogo;
    bool eraModal = false;
    QTimer::singleShot(0, &dialogo, [&] {
        eraModal = QApplication::activeModalWidget() == &dialogo;
        dialogo.accept();
    });
    QCOMPARE(Servicios().mostrarModal(dialogo), int(QDialog::Accepted));
    QVERIFY(eraModal);
}

void ServiciosTest::escritorioProgramaInexistente() {
    QVERIFY(!Servicios().iniciarPrograma(QStringLiteral("/no/existe/fotos_clientes"),
                                         {QStringLiteral("1")}));
}

// The save dialog as a clerk reads it: captions without a stray "&" (each access key goes to
// its box), column titles whole, "archivo" and "carpeta", the short name it suggests.
void ServiciosTest::dialogoGuardarEnEspanolDeMexico() {
    QVERIFY(InstalarTraduccionesQt());
    const std::unique_ptr<QFileDialog> d = DialogoGuardar(
        QStringLiteral("Exportar a Excel"), QStringLiteral("Pendientes 2026-12-09.xlsx"),
        QStringLiteral("Libro de Excel (*.xlsx)"));
    // Whatever view Qt remembers from the last time.
    d->setViewMode(QFileDialog::Detail);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
             QStringLiteral("Pendientes 2026-12-09.xlsx"));
    for (const auto& [etiqueta, texto, caja] :
         {std::tuple("lookInLabel", "Guardar &en:", "lookInCombo"),
          std::tuple("fileNameLabel", "&Nombre:", "fileNameEdit"),
          std::tuple("fileTypeLabel", "&Tipo:", "fileTypeCombo")}) {
        auto* l = d->findChild<QLabel*>(QLatin1String(etiqueta));
        QCOMPARE(l->text(), QString::fromUtf8(texto));
        QCOMPARE(l->buddy(), d->findChild<QWidget*>(QLatin1String(caja)));
    }
    QHeaderView* titulos = d->findChild<QTreeView*>(QStringLiteral("treeView"))->header();
    const QStringList esperados = {"Nombre", "Tamaño", "Tipo", "Modificado"};
    for (int c = 0; c < titulos->count(); ++c) {
        QCOMPARE(titulos->model()->headerData(c, Qt::Horizontal).toString(), esperados.value(c));
        QVERIFY(titulos->sectionSize(c) >= titulos->sectionSizeHint(c));
    }
    // What Qt's Spanish leaves in English or says as in Spain, and one of its own texts.
    for (const auto& [contexto, original, mexicano] :
         {std::tuple("QAbstractFileIconProvider", "Folder", "Carpeta"),
          std::tuple("QFileDialog", "All Files (*)", "Todos los archivos (*)"),
          std::tuple("QFileDialog", "%1 already exists.\nDo you want to replace it?",
                     "El archivo %1 ya existe.\n¿Desea reemplazarlo?"),
          std::tuple("QIODevice", "Too many open files",
                     "Demasiados archivos abiertos simultáneamente")})
        QCOMPARE(QCoreApplication::translate(contexto, original), QString::fromUtf8(mexicano));
}

QTEST_MAIN(ServiciosTest)
#include "servicios_test.moc"
