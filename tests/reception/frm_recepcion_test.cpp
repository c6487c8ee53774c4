// The reception window: its verifier list, the search by verifier and dates, the grid's edit
// rule and drop-down lists, the removal from a batch, the photos program and the closing.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "recepcion_prueba.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/selector_fecha.h"
#include "ui/ventana.h"

using prueba::Escrituras;
using prueba::Manos;

namespace {

const QString Todos = QStringLiteral("* Todos *");
const QString Uno = QStringLiteral("VERIFICA UNO");
const QString Dos = QStringLiteral("ABREGO DOS");
const QString Linea501 = QStringLiteral(
    "SELECT estado_Actual, Linea_Autorizada, comentarios, fecha_verificacion IS NULL FROM "
    "norv.detalles_Relaciones_Solicitudes WHERE Relacion = 1 AND Solicitud = 501");

QString Fecha(int dias) {
    return QDate::currentDate().addDays(dias).toString(QStringLiteral("yyyyMMdd"));
}

QString Busqueda(const QString& filtro, const QString& desde, const QString& hasta) {
    return QStringLiteral(
               " SELECT d.relacion 'Relación',  s.solicitud 'Solicitud Cliente',  "
               "erp_oxa.dbo.nombre_sucursal(s.sucursal),  erp_oxa.dbo.nombre_persona "
               "(r.verificador),  "
               "s.fecha_recepcion 'Fecha Recepción',  d.fecha_verificacion 'Fecha Verificación',  "
               "s.cliente 'cliente',  erp_oxa.dbo.nombre_cliente(s.cliente)'Nombre Cliente',  "
               "d.estado_actual 'Estado Relación',  d.Linea_autorizada 'Linea Autorizada',  "
               "d.tipo_Verificacion 'Tipo Verificación',  d.comentarios 'Comentarios',  "
               "d.recomienda_verificador 'R.Verificador'  FROM "
               "norv.dbo.Relaciones_Solicitudes_credito r "
               "JOIN norv.dbo.detalles_Relaciones_Solicitudes d ON r.relacion   =  d.relacion  "
               "JOIN NORV.dbo.Solicitudes_cliente_Nuevo s       ON d.solicitud  =  s.solicitud ") +
           filtro + QStringLiteral(" AND   r.fecha_entrega BETWEEN  erp_oxa.dbo.fecha('") + desde +
           QStringLiteral("','Inicio') and erp_oxa.dbo.fecha('") + hasta +
           QStringLiteral("','Final') order by 3");
}

}  // namespace

class FrmRecepcionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<FrmRecepcion> f;
    std::unique_ptr<Manos> manos;

    bool abrir() {
        f = std::make_unique<FrmRecepcion>();
        manos = std::make_unique<Manos>(f.get());
        return manos->mostrar();
    }

    // One step, typed or looked at: "buscar" (VERIFICA UNO), "clic:f,c", "alt:X", "suprimir:f,c",
    // "escribir:f,c,texto", "pegar:f,c,texto" ({x9} is 9 x, {control} CR LF, tab, ^A and ESC),
    // "cerrar", "si"/"no" (the next answer); "ver:f,c,texto", "editor:texto", "etiqueta:texto",
    // "linea:..." (line 501 of batch 1), "filas:sql=>...", "mensajes:a/b", "preguntas:a/b",
    // "pendiente:1", "clave:texto", "captura?" (Global's mark); "sql:...", "global:...", "captura".
    void Paso(QString p) {
        static const QRegularExpression codigo(QStringLiteral("\\{(.)(\\d+)\\}"));
        for (auto m = codigo.match(p); m.hasMatch(); m = codigo.match(p))
            p.replace(m.capturedStart(), m.capturedLength(),
                      m.captured(1).repeated(m.captured(2).toInt()));
        p.replace(QStringLiteral("{control}"), QStringLiteral("\r\n\t\x01\x1b"));
        const QString o = p.section(u':', 0, 0), r = p.section(u':', 1), texto = r.section(u',', 2);
        const int fila = r.section(u',', 0, 0).toInt(), col = r.section(u',', 1, 1).toInt();
        QStringList titulos;
        for (const PreguntaHecha& h : servicios->preguntas) titulos << h.titulo;
        auto* editor = qobject_cast<QLineEdit*>(manos->editorAbierto());
        QWidget* foco = QApplication::focusWidget();
        if (o == u"buscar") QVERIFY(manos->buscar(Uno));
        if (o == u"clic" || o == u"suprimir") manos->clic(fila, col);
        if (o == u"suprimir") QTest::keyClick(f->ISolicitudes, Qt::Key_Delete);
        if (o == u"alt") QTest::keyClick(foco, Qt::Key(r.at(0).unicode()), Qt::AltModifier);
        if (o == u"escribir") manos->escribir(fila, col, texto);
        if (o == u"pegar") QApplication::clipboard()->setText(texto);
        if (o == u"pegar") QTest::keySequence(manos->editar(fila, col), QKeySequence::Paste);
        if (o == u"pegar") QTest::keyClick(manos->editorAbierto(), Qt::Key_Return);
        if (o == u"cerrar") f->close();
        if (o == u"si" || o == u"no") servicios->respuestas.enqueue(o == u"si");
        if (o == u"ver") QCOMPARE(manos->texto(fila, col), texto);
        if (o == u"editor") QCOMPARE(editor ? editor->text() : QString(), r);
        if (o == u"etiqueta") QCOMPARE(f->LblNombre->text(), r);
        if (o == u"linea") Paso(QStringLiteral("filas:") + Linea501 + QStringLiteral("=>") + r);
        const QString sql = r.section(QStringLiteral("=>"), 0, 0),
                      y = r.section(QStringLiteral("=>"), 1);
        if (o == u"filas") QCOMPARE(base->filas(sql).join(u'/'), y);
        if (o == u"mensajes") QCOMPARE(servicios->textos().join(u'/'), r);
        if (o == u"preguntas") QCOMPARE(titulos.join(u'/'), r);
        if (o == u"pendiente") QCOMPARE(f->cambiosPendientes(), r == u"1");
        if (o == u"clave") QCOMPARE(Global::ClavePersona.texto(), r);
        if (o == u"captura?") QVERIFY(Global::CambiosPendientes);
        if (o == u"sql") base->sqlite(r);
        if (o == u"global") Global::ClavePersona = r;
        if (o == u"captura") Global::CambiosPendientes = true;
        // A refused text is told, and its cell edited again, once the editor has closed.
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    // Every question answered, whatever is left open when the test ends.
    void cerrarSinPreguntar() {
        if (f && f->cambiosPendientes()) servicios->respuestas.enqueue(true);
        if (f) f->close();
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        prueba::SembrarRelaciones(*base);
        Global::ClavePersona = QString();
        Global::Ajustes.programaFotos = QStringLiteral("/opt/oxa/fotos_clientes");
    }
    void cleanup() {
        cerrarSinPreguntar();
        manos.reset();
        f.reset();
        servicios.reset();
        base.reset();
    }

    void ventanaAlAbrir() {
        QVERIFY(abrir());
        QCOMPARE(f->windowTitle(), QStringLiteral("Recepción de Relaciones de Verificación"));
        QCOMPARE(f->Frame1->title(), QStringLiteral("Busqueda Relaciones:"));
        QCOMPARE(f->findChild<QLabel*>("SkinLabel3")->text(), QStringLiteral("Verificador"));
        QCOMPARE(f->findChild<QLabel*>("SkinLabel1")->text(), QStringLiteral("Relaciones del"));
        QCOMPARE(f->findChild<QLabel*>("SkinLabel2")->text(), QStringLiteral("al"));
        QCOMPARE(f->LblNombre->text(), QStringLiteral("Cliente:"));
        QCOMPARE(f->CmdConsultar->text(), QStringLiteral("&Consultar"));
        QCOMPARE(f->ChkBuscador->text(), QStringLiteral("&Buscador"));
        QCOMPARE(f->CmdCambiar->text(), QStringLiteral("&Remover de Relación"));
        QCOMPARE(f->CmdGuardar->text(), QStringLiteral("&Guardar"));
        QVERIFY(!f->CmdConsultar->isEnabled());
        QVERIFY(!f->CmdGuardar->isEnabled());
        QVERIFY(f->CmdCambiar->isEnabled());
        QVERIFY(!f->ChkBuscador->isChecked());
        QVERIFY(!f->CmbVerificadores->isEditable());
        QCOMPARE(f->CmbVerificadores->currentIndex(), -1);
        QCOMPARE(f->DtpFecha1->fecha(), QDate::currentDate().addDays(-6));
        QCOMPARE(f->DtpFecha2->fecha(), QDate::currentDate().addDays(-1));
        QCOMPARE(f->filaActual(), 0);
        QVERIFY(!f->cambiosPendientes());

        // The keyboard starts in the list and goes through the window in this order.
        QCOMPARE(QApplication::focusWidget(), f->CmbVerificadores);
        const QList<QWidget*> orden = {f->CmbVerificadores, f->DtpFecha1,   f->DtpFecha2,
                                       f->ISolicitudes,     f->ChkBuscador, f->CmdCambiar};
        for (int i = 1; i < orden.size(); ++i) {
            // A date picker takes Tab for its day, month and year before letting go.
            for (int t = 0; t < 3 && QApplication::focusWidget() == orden[i - 1]; ++t)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), orden[i]);
        }
    }

    void laRejillaTieneSusCatorceColumnasYListas() {
        QVERIFY(abrir());
        Rejilla* g = f->ISolicitudes;
        QCOMPARE(g->numeroFilas(), 0);
        QVERIFY(!g->esSoloLectura());
        const QStringList titulos = {"Relación",      "Solicitud",          "Sucursal",
                                     "Verificador",   "Fecha Envió Tienda", "Fecha Revisión",
                                     "Cliente",       "Nombre Cliente",     "Estado Actual",
                                     "Linea Crédito", "Tipo Verificación",  "Comentarios",
                                     "Guardar",       "R.Verificador"};
        const QList<int> anchos = {50, 50, 70, 80, 70, 70, 50, 200, 80, 80, 80, 190, 20, 80};
        QCOMPARE(g->numeroColumnas(), 14);
        for (int c = 1; c <= 14; ++c) {
            QCOMPARE(g->tituloColumna(c), titulos[c - 1]);
            // The design's width grown with the font, never narrower than the title.
            QCOMPARE(g->anchoColumna(c), qMax(PixelesDiseno(anchos[c - 1]), g->anchoTitulo(c)));
        }
        for (int c = 1; c <= 14; ++c)
            QCOMPARE(g->tipoColumna(c),
                     (c == 9 || c == 11 || c == 14) ? TipoCelda::Lista : TipoCelda::Texto);
        QCOMPARE(g->modelo()->listaColumna(9), QStringLiteral("Estado"));
        QCOMPARE(g->modelo()->listaColumna(11), QStringLiteral("Tipos"));
        QCOMPARE(g->modelo()->listaColumna(14), QStringLiteral("Verificador"));
        QCOMPARE(g->modelo()->entradasLista(QStringLiteral("Estado")),
                 (QStringList{"Entregada", "Autorizada", "Rechazada"}));
        QCOMPARE(
            g->modelo()->entradasLista(QStringLiteral("Tipos")),
            (QStringList{"Normal", "Aval", "Visita", "Foraneo", "Normal-Visita", "Aval-Visita"}));
        QCOMPARE(g->modelo()->entradasLista(QStringLiteral("Verificador")),
                 (QStringList{"Recomienda", "No Recomienda", "Dudoso"}));

        // The lines show in light yellow and white, row by row.
        QVERIFY(manos->buscar(Todos));
        QCOMPARE(g->numeroFilas(), 3);
        auto fondo = [g](int fila) {
            return g->model()
                ->data(g->model()->index(fila - 1, 0), Qt::BackgroundRole)
                .value<QColor>();
        };
        QCOMPARE(fondo(1), QColor(255, 255, 200));
        QCOMPARE(fondo(2), QColor(255, 255, 255));
        QCOMPARE(fondo(3), QColor(255, 255, 200));

        // The cell editors offer exactly their list's entries.
        auto* lista = qobject_cast<QComboBox*>(manos->editar(1, 11));
        QVERIFY(lista);
        QCOMPARE(lista->count(), 6);
        QCOMPARE(lista->itemText(4), QStringLiteral("Normal-Visita"));
        QTest::keyClick(lista, Qt::Key_Escape);
    }

    void listaDeVerificadoresDelCentro() {
        QVERIFY(abrir());
        QStringList textos;
        QList<int> datos;
        for (int i = 0; i < f->CmbVerificadores->count(); ++i) {
            textos << f->CmbVerificadores->itemText(i);
            datos << f->CmbVerificadores->itemData(i).toInt();
        }
        QCOMPARE(textos, (QStringList{Todos, Dos, Uno}));
        QCOMPARE(datos.mid(1), (QList<int>{41, 40}));
        QCOMPARE(
            base->enviadas,
            QStringList{QStringLiteral(
                "SELECT p.persona,p.apellidos,p.nombres from personal p  JOIN  sucursales s on "
                "s.sucursal=p.sucursal  WHERE s.centro_distribucion='CHI'  AND   "
                "p.es_verificador=1  ORDER BY 2,3  ")});
    }

    void elegirVerificadorAlDejarLaLista() {
        QVERIFY(abrir());
        base->limpiar();
        // Browsing the entries does nothing until the list is left.
        f->CmbVerificadores->setFocus();
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Down);
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Down);
        QCOMPARE(f->CmbVerificadores->currentText(), Dos);
        QVERIFY(!f->CmdConsultar->isEnabled());
        QVERIFY(base->enviadas.isEmpty());

        QTest::keyClick(f->CmbVerificadores, Qt::Key_Tab);
        QCOMPARE(base->enviadas,
                 QStringList{QStringLiteral("SELECT persona FROM personal WHERE Persona=41 ")});
        QCOMPARE(f->clavePersona(), QStringLiteral("     41"));
        QVERIFY(f->CmdConsultar->isEnabled());
        QVERIFY(f->CmdGuardar->isEnabled());

        // "* Todos *" looks nothing up.
        base->limpiar();
        QVERIFY(manos->elegirVerificador(Todos));
        QCOMPARE(f->clavePersona(), QStringLiteral("%      "));
        QVERIFY(base->enviadas.isEmpty());
        QVERIFY(f->CmdConsultar->isEnabled());
    }

    void sinEleccionOVerificadorQueYaNoEstaNoCambiaNada() {
        QVERIFY(abrir());
        f->CmbVerificadores->setFocus();
        QTest::keyClick(f->CmbVerificadores, Qt::Key_Tab);
        QVERIFY(!f->CmdConsultar->isEnabled());
        base->sqlite(QStringLiteral("DELETE FROM personal WHERE persona = '     41'"));
        QVERIFY(manos->elegirVerificador(Dos));
        QVERIFY(!f->CmdConsultar->isEnabled());
        QVERIFY(!f->CmdGuardar->isEnabled());
        QCOMPARE(f->clavePersona(), QStringLiteral("       "));
    }

    void unVerificadorSinCondicionDeCentro() {
        QVERIFY(abrir());
        QVERIFY(manos->elegirVerificador(Uno));
        base->limpiar();
        QString rotulo;
        const int obs = Global::Conexion.agregarObservador(
            [&](const QString&) { rotulo = f->CmdConsultar->text(); });
        manos->consultar();
        Global::Conexion.quitarObservador(obs);
        QCOMPARE(rotulo, QStringLiteral("Consultando..."));
        QCOMPARE(f->CmdConsultar->text(), QStringLiteral("&Consultar"));

        QCOMPARE(base->enviadas,
                 QStringList{Busqueda(QStringLiteral(" WHERE r.verificador LIKE '     40'  "),
                                      Fecha(-6), Fecha(0))});
        // Batches 1 (CHI) and 4 (JRZ) of the verifier, ordered by branch; batch 5 is too old.
        QCOMPARE(manos->filas({1, 2, 3, 4, 7, 8}),
                 (QStringList{"1|502|Aldama|verifica uno|1002|GARCIA RUIZ ANA",
                              "1|501|Delicias|verifica uno|1001|PEREZ LOPEZ JUAN",
                              "4|505|Juarez|verifica uno|1005|MORA LUNA RAUL"}));
        QCOMPARE(f->filaActual(), 0);
    }

    void lasCeldasSeLlenanRecortadasYNuloQuedaVacio() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        Rejilla* g = f->ISolicitudes;
        // Result columns 1 to 3 as they come.
        QCOMPARE(g->valor(1, 1).toLongLong(), 1LL);
        QCOMPARE(g->valor(1, 2).toLongLong(), 502LL);
        // The rest trimmed into text, the dates as the grid writes them.
        QCOMPARE(g->valor(1, 5), QVariant(QStringLiteral("06/03/2024")));
        QCOMPARE(g->valor(1, 6), QVariant(QStringLiteral("08/03/2024 11:30:00")));
        QCOMPARE(g->valor(1, 7), QVariant(QStringLiteral("1002")));
        QCOMPARE(g->valor(1, 9), QVariant(QStringLiteral("Autorizada")));
        QCOMPARE(g->valor(1, 10), QVariant(QStringLiteral("2500.5")));
        QCOMPARE(g->valor(1, 11), QVariant(QStringLiteral("Aval")));
        QCOMPARE(g->valor(1, 12), QVariant(QStringLiteral("OK")));
        QVERIFY(g->valor(1, 13).isNull());
        // The recommendation, 13th of the result, goes to column 14.
        QCOMPARE(g->valor(1, 14), QVariant(QStringLiteral("Recomienda")));
        // A line never recorded: no revision date, no type, comment or recommendation.
        QVERIFY(g->valor(2, 6).isNull());
        QCOMPARE(g->valor(2, 9), QVariant(QStringLiteral("Entregada")));
        QCOMPARE(g->valor(2, 10), QVariant(QStringLiteral("0")));
        QVERIFY(g->valor(2, 11).isNull());
        QVERIFY(g->valor(2, 12).isNull());
        QVERIFY(g->valor(2, 14).isNull());
    }

    void todosSoloDelCentroYConLasFechasDeHoy() {
        QVERIFY(abrir());
        QVERIFY(manos->elegirVerificador(Todos));
        base->limpiar();
        manos->consultar();
        QCOMPARE(base->enviadas,
                 QStringList{Busqueda(QStringLiteral(" WHERE r.verificador LIKE '%'   AND   "
                                                     "r.centro_distribucion = 'CHI'  "),
                                      Fecha(-6), Fecha(0))});
        // Batch 2 was handed over today and shows with the dates as they open.
        QCOMPARE(manos->filas({1, 2, 3, 4}),
                 (QStringList{"1|502|Aldama|verifica uno", "1|501|Delicias|verifica uno",
                              "2|503|Matriz|ABREGO DOS"}));
    }

    void otroVerificadorYOtrasFechas() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Dos));
        QCOMPARE(manos->filas({2}), QStringList{"503"});

        // Widening the first date brings the older batch of verifier 40.
        QVERIFY(manos->elegirVerificador(Uno));
        f->DtpFecha1->ponerFecha(QDate::currentDate().addDays(-12));
        manos->consultar();
        // By branch name: the two lines of 501 (Delicias) in either order between them.
        QStringList filas = manos->filas({1, 2});
        QCOMPARE(filas.size(), 5);
        QCOMPARE(filas.first(), QStringLiteral("1|502"));
        QCOMPARE(filas.mid(3), (QStringList{"4|505", "5|506"}));
        filas = filas.mid(1, 2);
        filas.sort();
        QCOMPARE(filas, (QStringList{"1|501", "5|501"}));

        // A first date later than the day after the second: an empty grid and no message.
        f->DtpFecha1->ponerFecha(QDate::currentDate().addDays(2));
        f->DtpFecha2->ponerFecha(QDate::currentDate());
        manos->consultar();
        QCOMPARE(f->ISolicitudes->numeroFilas(), 0);
        QCOMPARE(f->filaActual(), 0);
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void unErrorAlConsultarSeMuestraYLaRejillaQueda() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        base->sqlite(QStringLiteral("DROP TABLE norv.detalles_Relaciones_Solicitudes"));
        manos->consultar();
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY2(servicios->mensajes[0].texto.contains(
                     QStringLiteral("detalles_Relaciones_Solicitudes"), Qt::CaseInsensitive),
                 qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->isVisible());
        QCOMPARE(f->ISolicitudes->numeroFilas(), 3);
        QCOMPARE(f->CmdConsultar->text(), QStringLiteral("&Consultar"));
    }

    void columnasUnoAOchoNoSeEditan() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        for (int c = 1; c <= 8; ++c) {
            QVERIFY2(!manos->editar(2, c), qPrintable(QString::number(c)));
            manos->dobleClic(2, c);
            QVERIFY(!manos->editorAbierto());
        }
        QVERIFY(!Global::CambiosPendientes);
        QVERIFY(f->ISolicitudes->valor(2, 13).isNull());
        QCOMPARE(f->ISolicitudes->valor(2, 2).toLongLong(), 501LL);
    }

    void unaEdicionRechazadaMueveLaFilaActual() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        manos->clic(3, 8);
        QCOMPARE(f->filaActual(), 3);
        // The grid asks about row 1 without the current cell moving there.
        bool cancelar = false;
        emit f->ISolicitudes->solicitudEdicion(1, 4, cancelar);
        QVERIFY(cancelar);
        QCOMPARE(f->filaActual(), 1);
        QCOMPARE(f->ISolicitudes->filaActual(), 3);
        QVERIFY(!Global::CambiosPendientes);
        // The removal acts on that row; an authorised line never leaves its batch.
        f->CmdCambiar->click();
        QVERIFY(servicios->preguntas.isEmpty());
        emit f->ISolicitudes->solicitudEdicion(2, 4, cancelar);
        f->CmdCambiar->click();
        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(
            servicios->preguntas[0].texto,
            QStringLiteral("Se dispone a Remover al Cliente:PEREZ LOPEZ JUAN de la Relación?"));
    }

    void cualquierOtraColumnaMarcaLaFila() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        for (int c : {9, 10, 11, 12, 13, 14}) {
            const int fila = c % 3 + 1;
            f->ISolicitudes->ponerValor(fila, 13, QVariant());
            // The mark column takes no editor at all; the request still marks the row.
            if (c == 13)
                QVERIFY(!manos->editar(fila, c));
            else
                QVERIFY2(manos->empezarYCancelar(fila, c), qPrintable(QString::number(c)));
            QCOMPARE(f->ISolicitudes->texto(fila, 13), QStringLiteral("SI"));
            QVERIFY(f->cambiosPendientes());
            QCOMPARE(f->filaActual(), fila);
        }
        // An edit that goes through keeps what was chosen and typed.
        QVERIFY(manos->elegir(2, 9, QStringLiteral("Autorizada")));
        QVERIFY(manos->escribir(2, 10, QStringLiteral("5000")));
        QVERIFY(manos->elegir(2, 14, QStringLiteral("No Recomienda")));
        QCOMPARE(manos->filas({9, 10, 13, 14}).at(1),
                 QStringLiteral("Autorizada|5000|SI|No Recomienda"));
    }

    void laCeldaActualMuestraElClienteYElBotonDeRemover() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        manos->clic(1, 3);
        QCOMPARE(f->LblNombre->text(), QStringLiteral("GARCIA RUIZ ANA"));
        QVERIFY(!f->CmdCambiar->isEnabled());  // Autorizada
        manos->clic(2, 5);
        QCOMPARE(f->LblNombre->text(), QStringLiteral("PEREZ LOPEZ JUAN"));
        QVERIFY(f->CmdCambiar->isEnabled());  // Entregada
        QTest::keyClick(f->ISolicitudes, Qt::Key_Up);
        QCOMPARE(f->filaActual(), 1);
        QVERIFY(!f->CmdCambiar->isEnabled());
        QTest::keyClick(f->ISolicitudes, Qt::Key_Down);
        QTest::keyClick(f->ISolicitudes, Qt::Key_Down);
        QCOMPARE(f->LblNombre->text(), QStringLiteral("MORA LUNA RAUL"));
        QVERIFY(f->CmdCambiar->isEnabled());

        // Rejected or with no state at all: no removal.
        QVERIFY(manos->elegir(3, 9, QStringLiteral("Rechazada")));
        manos->clic(2, 1);
        manos->clic(3, 1);
        QVERIFY(!f->CmdCambiar->isEnabled());
        f->ISolicitudes->ponerValor(2, 9, QVariant());
        manos->clic(2, 1);
        QVERIFY(!f->CmdCambiar->isEnabled());
    }

    void buscadorCambiaLaBusquedaPorTecleo() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        QVERIFY(!f->ISolicitudes->busquedaPorTecleo());
        QTest::mouseClick(f->ChkBuscador, Qt::LeftButton);
        QVERIFY(f->ChkBuscador->isChecked());
        QVERIFY(f->ISolicitudes->busquedaPorTecleo());

        // Typing on the names column goes to the first name that begins so; nothing is edited.
        manos->clic(1, 8);
        QTest::keyClicks(f->ISolicitudes, QStringLiteral("mo"));
        QCOMPARE(f->ISolicitudes->filaActual(), 3);
        QCOMPARE(f->LblNombre->text(), QStringLiteral("MORA LUNA RAUL"));
        QVERIFY(!manos->editorAbierto());

        QTest::mouseClick(f->ChkBuscador, Qt::LeftButton);
        QVERIFY(!f->ISolicitudes->busquedaPorTecleo());
    }

    // Verifier, two dates, the button and the grid: one Tab each; Enter leaves the list as Tab
    // does, and Enter in a date asks and sends nothing. Alt+C right after another choice
    // searches with it.
    void elTecladoRecorreLaVentana() {
        QVERIFY(abrir());
        QWidget* lista = f->CmbVerificadores;
        QCOMPARE(QApplication::focusWidget(), lista);
        QTest::keyClick(lista, Qt::Key_Down);
        QTest::keyClick(lista, Qt::Key_Down);
        QCOMPARE(f->CmbVerificadores->currentText(), Dos);
        QTest::keyClick(lista, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->DtpFecha1);
        QWidget* esperados[] = {f->DtpFecha2, f->CmdConsultar, f->ISolicitudes};
        for (QWidget* siguiente : esperados) {
            QWidget* desde = QApplication::focusWidget();
            QTest::keyClick(desde, Qt::Key_Return);
            QTest::keyClick(desde, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), siguiente);
        }
        QVERIFY(servicios->mensajes.isEmpty() && servicios->preguntas.isEmpty());
        QCOMPARE(f->clavePersona(), QStringLiteral("     41"));

        lista->setFocus();
        QTest::keyClick(lista, Qt::Key_Down);
        QCOMPARE(f->CmbVerificadores->currentText(), Uno);
        base->limpiar();
        QTest::keyClick(lista, Qt::Key_C, Qt::AltModifier);
        QCOMPARE(f->clavePersona(), QStringLiteral("     40"));
        QCOMPARE(
            base->enviadas.last(),
            Busqueda(QStringLiteral(" WHERE r.verificador LIKE '     40'  "), Fecha(-6), Fecha(0)));
        QCOMPARE(f->ISolicitudes->numeroFilas(), 3);
    }

    // The mark of an edited row is the row's: no key typed over it loses the row's save.
    void laMarcaSobreviveACualquierTecla() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        QVERIFY(manos->escribir(1, 12, QStringLiteral("llamar al aval")));
        f->ISolicitudes->setFocus();
        f->ISolicitudes->ponerCeldaActual(1, 13);
        for (int tecla : {int(Qt::Key_R), int(Qt::Key_Delete), int(Qt::Key_F2), int(Qt::Key_Return),
                          int(Qt::Key_Space), int(Qt::Key_F4), int(Qt::Key_Backspace)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
            QCOMPARE(manos->texto(1, 13), QStringLiteral("SI"));
            QVERIFY(!manos->editorAbierto());
        }
        // A row never touched gets its mark by the same keys, never a typed text.
        f->ISolicitudes->ponerCeldaActual(3, 13);
        QTest::keyClicks(f->ISolicitudes, QStringLiteral("R"));
        QCOMPARE(manos->texto(3, 13), QStringLiteral("SI"));
        base->limpiar();
        servicios->respuestas.enqueue(true);
        QTest::keyClick(f->ISolicitudes, Qt::Key_G, Qt::AltModifier);
        const QStringList escritas = Escrituras(base->enviadas);
        QCOMPARE(escritas.size(), 4);
        QVERIFY2(escritas[0].contains(QStringLiteral("comentarios='llamar al aval'")),
                 qPrintable(escritas[0]));
        QVERIFY2(escritas[2].contains(QStringLiteral("solicitud = 505")), qPrintable(escritas[2]));
        QCOMPARE(servicios->textos().last(),
                 QStringLiteral("Relaciones Modificadas Correctamente!"));
    }

    void dobleClicAbreLasFotosDelCliente() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        manos->dobleClic(2, 3);
        manos->dobleClic(3, 8);
        QCOMPARE(servicios->programas.size(), 2);
        QCOMPARE(servicios->programas[0].programa, QStringLiteral("/opt/oxa/fotos_clientes"));
        QCOMPARE(servicios->programas[0].argumentos, QStringList{QStringLiteral("1001")});
        QCOMPARE(servicios->programas[1].argumentos, QStringList{QStringLiteral("1005")});
        QVERIFY(servicios->mensajes.isEmpty());

        // A program that is not there is named in Spanish, the window still open.
        servicios->resultadoIniciar = false;
        manos->dobleClic(2, 3);
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(
            servicios->mensajes[0].texto.startsWith(QStringLiteral(
                "No se encontró el programa de fotos de clientes:\r\n/opt/oxa/fotos_clientes")),
            qPrintable(servicios->mensajes[0].texto));
        QVERIFY(f->isVisible());
    }

    void removerSacaLaSolicitudDeTodasSusRelaciones() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        manos->clic(2, 8);
        QVERIFY(f->CmdCambiar->isEnabled());
        base->limpiar();

        // "No" leaves everything.
        servicios->respuestas.enqueue(false);
        f->CmdCambiar->click();
        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].titulo, QStringLiteral("Remover de Relación"));
        QCOMPARE(
            servicios->preguntas[0].texto,
            QStringLiteral("Se dispone a Remover al Cliente:PEREZ LOPEZ JUAN de la Relación?"));
        QVERIFY(Escrituras(base->enviadas).isEmpty());
        QCOMPARE(f->ISolicitudes->numeroFilas(), 3);

        servicios->respuestas.enqueue(true);
        f->CmdCambiar->click();
        QCOMPARE(
            Escrituras(base->enviadas),
            (QStringList{
                "UPDATE NORV.dbo.Solicitudes_cliente_Nuevo SET relacion = null WHERE "
                "solicitud=501  AND relacion=1 AND EXISTS (SELECT 1 FROM "
                "NORV.dbo.Detalles_Relaciones_Solicitudes WHERE relacion=1 AND solicitud=501 "
                "AND CAST(estado_Actual AS nvarchar(max)) = 'Entregada')",
                "DELETE FROM NORV.dbo.Detalles_Relaciones_Solicitudes WHERE solicitud = 501 "}));
        QCOMPARE(base->filas(QStringLiteral(
                     "SELECT Relacion, estado_actual FROM norv.Solicitudes_cliente_Nuevo "
                     "WHERE solicitud = 501")),
                 QStringList{"NULL|Entregada"});
        // Both of its lines are gone, the other lines stay.
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes "
                                       "WHERE Solicitud = 501"))
                .toInt(),
            0);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes"))
                .toInt(),
            5);
        QCOMPARE(manos->filas({2}), (QStringList{"502", "505"}));
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Informacion);
        QCOMPARE(servicios->mensajes[0].texto,
                 QStringLiteral("Solicitud Desasignada Correctamente"));
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("remover de relación"));
        // The button follows the row now current, here an "Entregada" one.
        QCOMPARE(f->filaActual(), 2);
        QCOMPARE(f->ISolicitudes->filaActual(), 2);
        QVERIFY(f->CmdCambiar->isEnabled());
        QCOMPARE(f->LblNombre->text(), QStringLiteral("MORA LUNA RAUL"));
    }

    // After a removal the next press can only name an "Entregada" line; a line another
    // station authorised meanwhile stays in its batch.
    void removerNuncaSacaUnaLineaQueNoEsteEntregada() {
        base->sqlite(
            QStringLiteral("UPDATE norv.detalles_Relaciones_Solicitudes SET estado_Actual = "
                           "'Autorizada' WHERE Solicitud = 505"));
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        QCOMPARE(manos->filas({2, 9}),
                 (QStringList{"502|Autorizada", "501|Entregada", "505|Autorizada"}));
        manos->clic(2, 8);
        servicios->respuestas.enqueue(true);
        f->CmdCambiar->click();
        QCOMPARE(manos->filas({2}), (QStringList{"502", "505"}));
        QCOMPARE(f->filaActual(), 2);
        QVERIFY(!f->CmdCambiar->isEnabled());
        servicios->respuestas.enqueue(true);
        emit f->CmdCambiar->clicked();
        QCOMPARE(servicios->preguntas.size(), 1);

        // Another station authorises 503's line between the search and the press.
        QVERIFY(manos->buscar(Dos));
        manos->clic(1, 8);
        QVERIFY(f->CmdCambiar->isEnabled());
        base->sqlite(
            QStringLiteral("UPDATE norv.detalles_Relaciones_Solicitudes SET estado_Actual = "
                           "'Autorizada' WHERE Solicitud = 503"));
        servicios->limpiar();
        servicios->respuestas.enqueue(true);
        f->CmdCambiar->click();
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.startsWith(
                     QStringLiteral("La Solicitud 503 ya no está Entregada en la Relación 2")),
                 qPrintable(servicios->mensajes[0].texto));
        QCOMPARE(base->valor(QStringLiteral("SELECT Relacion FROM norv.Solicitudes_cliente_Nuevo "
                                            "WHERE solicitud = 503"))
                     .toInt(),
                 2);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes "
                                       "WHERE Solicitud = 503"))
                .toInt(),
            1);
        QCOMPARE(f->ISolicitudes->numeroFilas(), 1);
    }

    void removerEsTodoONada() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        base->sqlite(QStringLiteral(
            "CREATE TRIGGER norv.no_borrar BEFORE DELETE ON detalles_Relaciones_Solicitudes "
            "BEGIN SELECT RAISE(ABORT, 'lineas protegidas'); END"));
        manos->clic(2, 8);
        servicios->respuestas.enqueue(true);
        f->CmdCambiar->click();
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QVERIFY2(servicios->mensajes[0].texto.contains(QStringLiteral("lineas protegidas")),
                 qPrintable(servicios->mensajes[0].texto));
        // The update ran before the failing delete and was undone with it.
        QCOMPARE(
            base
                ->valor(QStringLiteral(
                    "SELECT Relacion FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = 501"))
                .toInt(),
            1);
        QCOMPARE(
            base->valor(QStringLiteral("SELECT count(*) FROM norv.detalles_Relaciones_Solicitudes "
                                       "WHERE Solicitud = 501"))
                .toInt(),
            2);
        QCOMPARE(f->ISolicitudes->numeroFilas(), 3);
    }

    void removerSinFilaNoHaceNada() {
        QVERIFY(abrir());
        f->CmdCambiar->click();
        QVERIFY(servicios->preguntas.isEmpty());
        // After a search no row is current until the clerk picks one.
        QVERIFY(manos->buscar(Uno));
        f->CmdCambiar->click();
        QVERIFY(servicios->preguntas.isEmpty());
        // An empty search leaves no row to act on.
        f->DtpFecha1->ponerFecha(QDate::currentDate().addDays(3));
        manos->consultar();
        f->CmdCambiar->click();
        QVERIFY(servicios->preguntas.isEmpty());
    }

    void cerrarConCambiosPregunta() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        QVERIFY(manos->empezarYCancelar(2, 12));
        servicios->respuestas.enqueue(false);
        f->close();
        QCOMPARE(servicios->preguntas.size(), 1);
        QCOMPARE(servicios->preguntas[0].texto,
                 QStringLiteral("Se Dispone a Salir sin Guardar los Cambios, esta seguro?"));
        QCOMPARE(servicios->preguntas[0].titulo, QStringLiteral("Descartar Cambios"));
        QVERIFY(!servicios->preguntas[0].siPorDefecto);
        QVERIFY(f->isVisible());
        QCOMPARE(f->ISolicitudes->texto(2, 13), QStringLiteral("SI"));

        servicios->respuestas.enqueue(true);
        QTest::keyClick(f.get(), Qt::Key_Escape);
        QCOMPARE(servicios->preguntas.size(), 2);
        QVERIFY(!f->isVisible());
        QVERIFY(!f->cambiosPendientes());
        // The connection belongs to the capture window: it stays open.
        QVERIFY(Global::Conexion.abierta());
    }

    // Sequences typed with no pauses: name, then its steps (see Paso).
    void secuenciasDelTeclado_data() {
        QTest::addColumn<QString>("pasos");
        const QString tabla = QStringLiteral(R"(
Alt+C y Alt+R no quitan la última fila | buscar;clic:2,8;etiqueta:PEREZ LOPEZ JUAN;alt:C;etiqueta:Cliente:;si;alt:R;preguntas:;filas:SELECT Relacion FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud IN (501, 505) ORDER BY 1=>1/4
tras guardar no hay fila | buscar;clic:2,8;escribir:2,12,VISTO;si;alt:G;etiqueta:Cliente:;linea:Entregada|0|VISTO|0
suprimir el estado | buscar;suprimir:2,9;si;alt:G;linea:Entregada|0|NULL|1;pendiente:1;mensajes:La Solicitud 501 no tiene Estado Actual: elija Entregada, Autorizada o Rechazada.
tipo fuera de la lista | sql:UPDATE norv.detalles_Relaciones_Solicitudes SET Tipo_Verificacion = 'Domicilio';buscar;escribir:2,12,X;si;alt:G;linea:Entregada|0|NULL|1;mensajes:La Solicitud 501 tiene "Domicilio" en Tipo Verificación, que no es de la lista: elija Normal, Aval, Visita, Foraneo, Normal-Visita o Aval-Visita, o déjelo vacío.
línea de siete decimales | buscar;escribir:2,10,1.1234567;ver:2,10,1.1235;si;alt:G;buscar;ver:2,10,1.1235;escribir:2,12,OTRA;si;alt:G;linea:Entregada|1.1235|OTRA|0
línea guardada con más decimales | sql:UPDATE norv.detalles_Relaciones_Solicitudes SET Linea_Autorizada = 1.1234567;buscar;ver:2,10,1.1234567;escribir:2,12,OTRA;si;alt:G;linea:Entregada|1.1235|OTRA|0
comentario pegado | buscar;pegar:2,12,UNO{control}DOS;ver:2,12,UNO  DOS;si;alt:G;linea:Entregada|0|UNO  DOS|0
comentario de 501 | buscar;pegar:2,12,{x499}😀😀;editor:{x499}😀😀;linea:Entregada|0|NULL|1;mensajes:El comentario de la Solicitud 501 tiene 501 caracteres, pero caben 500. Acórtelo.
comentario de 500 | buscar;pegar:2,12,{x499}😀;si;alt:G;filas:SELECT length(comentarios), substr(comentarios, 500) FROM norv.detalles_Relaciones_Solicitudes WHERE Solicitud = 501 AND Relacion = 1=>500|😀
consultar con cambios, No | buscar;escribir:2,12,NUEVO;no;alt:C;ver:2,12,NUEVO;pendiente:1;preguntas:Descartar Cambios
consultar con cambios, Sí | buscar;escribir:2,12,NUEVO;si;alt:C;preguntas:Descartar Cambios;ver:2,12,;cerrar;preguntas:Descartar Cambios
guardar sin cambios | buscar;alt:G;preguntas:;linea:Entregada|0|NULL|1;mensajes:No hay cambios que guardar: no se ha editado ninguna línea desde la consulta.
la marca de la captura queda | captura;buscar;escribir:2,12,X;si;cerrar;captura?
el verificador es de la ventana | global:    101;buscar;clave:    101;global:     41;alt:C;ver:3,2,505
)");
        for (const QString& fila : tabla.trimmed().split(u'\n'))
            QTest::newRow(qPrintable(fila.section(QStringLiteral(" | "), 0, 0)))
                << fila.section(QStringLiteral(" | "), 1);
    }

    void secuenciasDelTeclado() {
        QFETCH(QString, pasos);
        QVERIFY(abrir());
        for (const QString& p : pasos.split(u';'))
            if (Paso(p), QTest::currentTestFailed()) break;
        Global::CambiosPendientes = false;
    }

    void cerrarSinCambiosNoPregunta() {
        QVERIFY(abrir());
        QVERIFY(manos->buscar(Uno));
        manos->clic(2, 3);
        f->close();
        QVERIFY(servicios->preguntas.isEmpty());
        QVERIFY(!f->isVisible());
    }
};

QTEST_MAIN(FrmRecepcionTest)
#include "frm_recepcion_test.moc"
