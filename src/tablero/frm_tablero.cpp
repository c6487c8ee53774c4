#include "tablero/frm_tablero.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPageSize>
#include <QPdfWriter>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "db/error_bd.h"
#include "startup/global.h"
#include "tablero/graficas_tablero.h"
#include "ui/botones.h"
#include "ui/encuadre.h"
#include "ui/filtros.h"
#include "ui/rejilla.h"
#include "ui/selector_fecha.h"
#include "ui/servicios.h"
#include "ui/trabajo_largo.h"
#include "ui/ventana.h"

using tablero::Cifras;
using tablero::kTramos;

namespace {

const QString kTitulo = QStringLiteral("Tablero de la Oficina");
// The charts as pictures, on paper and in files: the same size whatever the window's.
const QSize kTamanoImagen(1000, 520);
// The salespeople are many; the chart shows the highest, the table all of them.
constexpr int kMasAltos = 15;

QString Dia(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

void Llenar(Rejilla* r, const QStringList& titulos, const std::vector<QVariantList>& filas) {
    r->ponerDibujo(false);
    r->quitarFilasYColumnas();
    for (const QString& t : titulos) r->agregarColumna(t);
    for (const QVariantList& fila : filas) {
        const int f = r->agregarFila();
        for (int c = 0; c < int(fila.size()); ++c) r->ponerValor(f, c + 1, fila[c]);
    }
    r->ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
    r->ponerDibujo(true);
    for (int c = 1; c <= r->numeroColumnas(); ++c) r->ajustarAncho(c);
}

std::vector<QVariantList> FilasRechazos(const std::vector<tablero::Rechazos>& v) {
    std::vector<QVariantList> filas;
    for (const auto& x : v)
        filas.push_back({x.nombre, x.rechazadas, x.resueltas, tablero::PorCiento(x)});
    return filas;
}

QChart* CrearGrafica(int pagina, const Cifras& c, QBarSet** barras) {
    switch (pagina) {
        case FrmTablero::Estados:
            return tablero::GraficaEstados(c);
        case FrmTablero::Captura:
            return tablero::GraficaCaptura(c);
        case FrmTablero::Pendientes:
            return tablero::GraficaPendientes(c, barras);
        case FrmTablero::Tiempos:
            return tablero::GraficaTiempos(c);
        case FrmTablero::RechazoSucursal:
            return tablero::GraficaRechazos(c.rechazosSucursal,
                                            QStringLiteral("Rechazo por sucursal, del más alto"),
                                            kMasAltos);
        default:
            return tablero::GraficaRechazos(
                c.rechazosVendedor,
                QStringLiteral("Rechazo por vendedor: los %1 más altos").arg(kMasAltos), kMasAltos);
    }
}

// A chart drawn apart from the window, at the pictures' size.
QImage Imagen(int pagina, const Cifras& c) {
    QBarSet* nada = nullptr;
    QChartView vista(CrearGrafica(pagina, c, &nada));
    vista.setRenderHint(QPainter::Antialiasing);
    vista.resize(kTamanoImagen);
    return vista.grab().toImage();
}

// Asks where to save and writes there with `escribir`; the user is told where it went or why
// it could not.
void Guardar(const QString& titulo, const QString& sugerido, const QString& filtro,
             const QString& extension,
             const std::function<bool(const QString&, QString*)>& escribir) {
    QString ruta = Servicios().elegirArchivoGuardar(titulo, sugerido, filtro);
    if (ruta.isEmpty()) return;
    if (QFileInfo(ruta).suffix().compare(extension, Qt::CaseInsensitive) != 0)
        ruta += QLatin1Char('.') + extension;
    QString error;
    if (!escribir(ruta, &error)) {
        MensajeError(QStringLiteral("No se pudo guardar en ") + QDir::toNativeSeparators(ruta) +
                         QStringLiteral("\r\n") + error,
                     titulo);
        return;
    }
    MensajeInformacion(QStringLiteral("Quedó guardado en:\r\n") + QDir::toNativeSeparators(ruta),
                       titulo);
}

QString TablaHtml(const Rejilla& r) {
    QString h = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (int c = 1; c <= r.numeroColumnas(); ++c)
        h += QStringLiteral("<th>") + r.tituloColumna(c).toHtmlEscaped() + QStringLiteral("</th>");
    h += QStringLiteral("</tr>");
    for (int f = 1; f <= r.numeroFilas(); ++f) {
        h += QStringLiteral("<tr>");
        for (int c = 1; c <= r.numeroColumnas(); ++c)
            h += QStringLiteral("<td>") + r.textoMostrado(f, c).toHtmlEscaped() +
                 QStringLiteral("</td>");
        h += QStringLiteral("</tr>");
    }
    return h + QStringLiteral("</table>");
}

}  // namespace

FrmTablero::FrmTablero(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmTablero", kTitulo, BordeVentana::Redimensionable);
    CursorEspera espera;

    auto* arriba = new QHBoxLayout;
    auto* del = new QLabel(QStringLiteral("&Del"), this);
    DtpDel = new SelectorFecha(this);
    DtpDel->setObjectName(QStringLiteral("DtpDel"));
    del->setBuddy(DtpDel);
    auto* al = new QLabel(QStringLiteral("&al"), this);
    DtpAl = new SelectorFecha(this);
    DtpAl->setObjectName(QStringLiteral("DtpAl"));
    al->setBuddy(DtpAl);
    CmdConsultar = new QPushButton(QStringLiteral("&Consultar"), this);
    CmdConsultar->setObjectName(QStringLiteral("CmdConsultar"));
    CmdImprimir = new QPushButton(QStringLiteral("Im&primir en PDF…"), this);
    CmdImprimir->setObjectName(QStringLiteral("CmdImprimir"));
    auto* centro = new QLabel(
        QStringLiteral("Centro de distribución ") + Global::CentroDistribucion.trimmed(), this);
    for (QWidget* w : std::initializer_list<QWidget*>{del, DtpDel, al, DtpAl, CmdConsultar})
        arriba->addWidget(w);
    arriba->addStretch();
    arriba->addWidget(centro);
    arriba->addWidget(CmdImprimir);

    Paginas = new QTabWidget(this);
    Paginas->setObjectName(QStringLiteral("Paginas"));
    crearPagina(Estados, QStringLiteral("&Estados"), QStringLiteral("Estados por sucursal"));
    crearPagina(Captura, QStringLiteral("Captura dia&ria"), QStringLiteral("Captura diaria"));
    Pagina& pendientes =
        crearPagina(Pendientes, QStringLiteral("Pe&ndientes"), QStringLiteral("Pendientes"));
    crearPagina(Tiempos, QStringLiteral("&Verificadores"), QStringLiteral("Tiempos"));
    crearPagina(RechazoSucursal, QStringLiteral("Rechazo por &sucursal"),
                QStringLiteral("Rechazo por sucursal"));
    crearPagina(RechazoVendedor, QStringLiteral("Rechazo por vended&or"),
                QStringLiteral("Rechazo por vendedor"));
    // Each age's number opens its list, as the bar and the table's row do.
    QHBoxLayout* botones = pendientes.pie;
    for (int t = 0; t < int(kTramos.size()); ++t) {
        CmdTramos[size_t(t)] = new QPushButton(pendientes.CmdImagen->parentWidget());
        CmdTramos[size_t(t)]->setObjectName(QStringLiteral("CmdTramo%1").arg(t + 1));
        botones->insertWidget(t, CmdTramos[size_t(t)]);
        connect(CmdTramos[size_t(t)], &QPushButton::clicked, this,
                [this, t] { AbrirPendientes(t); });
    }
    pendientes.tabla->ponerEnterComoDobleClic(true);
    connect(pendientes.tabla, &Rejilla::dobleClic, this, [this](int fila, int) {
        if (fila >= 1 && fila <= int(kTramos.size())) AbrirPendientes(fila - 1);
    });
    setTabOrder(DtpDel, DtpAl);
    setTabOrder(DtpAl, CmdConsultar);
    setTabOrder(CmdConsultar, CmdImprimir);
    setTabOrder(CmdImprimir, Paginas);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(Paginas, 1);

    connect(CmdConsultar, &QPushButton::clicked, this, &FrmTablero::Consultar);
    connect(CmdImprimir, &QPushButton::clicked, this, &FrmTablero::imprimir);
    connect(Paginas, &QTabWidget::currentChanged, this, &FrmTablero::dibujar);

    const QDate hoy = QDate::currentDate();
    DtpDel->ponerFecha(hoy.addDays(-29));
    DtpAl->ponerFecha(hoy);
    resize(Pixeles(14400), Pixeles(10200));
    CaberEnPantalla(this);
    AplicarPiel(this);
    ActivarAlMostrar(this);
    PrepararBotones(this);
    PrepararListas(this);
    MenuContextualConTeclado();
    RetenerTecladoParaVentana(this);
    Consultar();
    DtpDel->setFocus();
}

FrmTablero::Pagina& FrmTablero::crearPagina(int k, const QString& titulo,
                                            const QString& nombreTabla) {
    Pagina& p = paginas[size_t(k)];
    p.titulo = QString(titulo).remove(QLatin1Char('&'));
    auto* hoja = new QWidget(Paginas);
    p.grafica = new QChartView(hoja);
    p.grafica->setObjectName(QStringLiteral("Grafica%1").arg(k + 1));
    // Bars are axis-aligned: smoothing buys them nothing on screen and costs a third of the
    // paint. The daily line keeps it, and so do the saved pictures.
    p.grafica->setRenderHint(QPainter::Antialiasing, k == Captura);
    p.grafica->setMinimumHeight(Pixeles(3300));
    p.tabla = new Rejilla(hoja);
    p.tabla->setObjectName(QStringLiteral("Tabla%1").arg(k + 1));
    p.tabla->soloLectura(true);
    p.tabla->ponerNombreLista(nombreTabla);
    p.CmdImagen = new QPushButton(QStringLiteral("Guardar &imagen…"), hoja);
    p.CmdImagen->setObjectName(QStringLiteral("CmdImagen%1").arg(k + 1));
    auto* pie = p.pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(p.CmdImagen);
    auto* capas = new QVBoxLayout(hoja);
    capas->addWidget(p.grafica, 3);
    capas->addWidget(p.tabla, 2);
    capas->addLayout(pie);
    Paginas->addTab(hoja, titulo);
    connect(p.CmdImagen, &QPushButton::clicked, this, [this, k] { guardarImagen(k); });
    return p;
}

void FrmTablero::Consultar() {
    const tablero::Rango rango{Global::CentroDistribucion, DtpDel->fecha(), DtpAl->fecha()};
    if (rango.del > rango.al) {
        MensajeError(QStringLiteral("La fecha inicial es posterior a la final."), kTitulo);
        return;
    }
    CursorEspera espera;
    std::optional<Cifras> leidas;
    std::optional<db::ErrorBD> falla;
    bool detenida = false;
    {
        // Once it takes a moment it shows how far it has got and may be stopped; the figures
        // shown stay until the new ones are all read.
        TrabajoLargo trabajo(this, tablero::kLecturas);
        try {
            leidas = tablero::LeerCifras(Global::Conexion, rango, [&trabajo](int paso) {
                if (trabajo.atender(paso)) throw TrabajoDetenido{};
            });
        } catch (const TrabajoDetenido&) {
            detenida = true;
        } catch (const db::ErrorBD& e) {
            // The statement interrupted by the stop fails as any other would.
            detenida = trabajo.detenido();
            if (!detenida) falla = e;
        }
    }
    if (falla) return MensajeErrorBD(*falla);
    if (detenida)
        return MensajeInformacion(
            QStringLiteral("Se detuvo la consulta: el tablero sigue con las cifras anteriores."),
            QStringLiteral("Consulta Detenida"));
    cifras_ = std::move(leidas);
    mostrar(*cifras_);
}

void FrmTablero::mostrar(const Cifras& c) {
    std::vector<QVariantList> filas;
    for (const auto& s : c.sucursales) {
        QVariantList f{s.nombre};
        for (const QString& e : c.estados) {
            const auto n = s.porEstado.find(e);
            f << (n == s.porEstado.end() ? 0LL : n->second);
        }
        filas.push_back(f << s.total);
    }
    Llenar(
        paginas[Estados].tabla,
        QStringList{QStringLiteral("Sucursal")} + c.estados + QStringList{QStringLiteral("Total")},
        filas);

    filas.clear();
    for (size_t d = 0; d < c.capturadas.size(); ++d)
        filas.push_back({c.rango.del.addDays(qint64(d)), c.capturadas[d], c.relaciones[d]});
    Llenar(paginas[Captura].tabla,
           {QStringLiteral("Fecha"), QStringLiteral("Capturadas"), QStringLiteral("Relaciones")},
           filas);

    filas.clear();
    for (size_t t = 0; t < kTramos.size(); ++t) {
        const QString titulo = QString::fromUtf8(kTramos[t].titulo);
        filas.push_back({titulo, c.pendientes[t]});
        CmdTramos[t]->setText(QStringLiteral("%1: %2").arg(titulo).arg(c.pendientes[t]));
        CmdTramos[t]->setEnabled(c.pendientes[t] > 0);
    }
    Llenar(paginas[Pendientes].tabla,
           {QStringLiteral("Días sin relación"), QStringLiteral("Pendientes")}, filas);

    filas.clear();
    for (const auto& v : c.verificadores)
        filas.push_back({v.nombre, v.entrega.cuenta, v.entrega.mediana, v.entrega.p90,
                         v.resultado.cuenta, v.resultado.mediana, v.resultado.p90});
    Llenar(paginas[Tiempos].tabla,
           {QStringLiteral("Verificador"), QStringLiteral("Entregadas"),
            QStringLiteral("Mediana captura a entrega (días)"),
            QStringLiteral("P90 captura a entrega (días)"), QStringLiteral("Con resultado"),
            QStringLiteral("Mediana entrega a resultado (días)"),
            QStringLiteral("P90 entrega a resultado (días)")},
           filas);

    const QStringList cuentas = {QStringLiteral("Rechazadas"), QStringLiteral("Resueltas"),
                                 QStringLiteral("Rechazo (%)")};
    Llenar(paginas[RechazoSucursal].tabla, QStringList{QStringLiteral("Sucursal")} + cuentas,
           FilasRechazos(c.rechazosSucursal));
    Llenar(paginas[RechazoVendedor].tabla, QStringList{QStringLiteral("Vendedor")} + cuentas,
           FilasRechazos(c.rechazosVendedor));

    // Building a chart costs more than reading its figures: the pages out of sight get theirs
    // when they are opened.
    for (Pagina& p : paginas) p.dibujada = false;
    dibujar(Paginas->currentIndex());
}

void FrmTablero::dibujar(int k) {
    if (!cifras_ || k < 0 || k >= NumPaginas || paginas[size_t(k)].dibujada) return;
    QBarSet* barras = nullptr;
    QChartView* vista = paginas[size_t(k)].grafica;
    std::unique_ptr<QChart> nueva(CrearGrafica(k, *cifras_, &barras));
    paginas[size_t(k)].dibujada = true;
    // The same branches, states or days as on screen: only the values change.
    if (tablero::CopiarValores(vista->chart(), nueva.get())) return;
    QChart* antes = vista->chart();
    vista->setChart(nueva.release());
    // The view gives the old chart back instead of deleting it.
    delete antes;
    if (barras) connect(barras, &QBarSet::clicked, this, &FrmTablero::AbrirPendientes);
}

void FrmTablero::AbrirPendientes(int tramo) {
    if (!cifras_ || tramo < 0 || tramo >= int(kTramos.size())) return;
    const tablero::Tramo& t = kTramos[size_t(tramo)];
    const QString titulo = QString::fromUtf8(t.titulo);
    QDialog lista(this);
    lista.setObjectName(QStringLiteral("FrmPendientesTablero"));
    lista.setWindowTitle(QStringLiteral("Solicitudes Pendientes: ") + titulo);
    auto* rejilla = new Rejilla(&lista);
    rejilla->setObjectName(QStringLiteral("iSolicitudes"));
    rejilla->ponerNombreLista(QStringLiteral("Pendientes ") + titulo);
    (new QVBoxLayout(&lista))->addWidget(rejilla);
    {
        CursorEspera espera;
        Global::CadenaSql = tablero::SentenciaListaPendientes(cifras_->rango, t.desde, t.hasta);
        try {
            Global::Registros.abrir(Global::CadenaSql, Global::Conexion);
            rejilla->llenar(Global::Registros);
            Global::Registros.cerrar();
        } catch (const db::ErrorBD& e) {
            Global::Registros.cerrar();
            MensajeErrorBD(e);
            return;
        }
        for (int c = 1; c <= rejilla->numeroColumnas(); ++c) rejilla->ajustarAncho(c);
        rejilla->ponerColoresAlternos(QColor(255, 255, 200), QColor(255, 255, 255));
    }
    lista.resize(Pixeles(11000), Pixeles(6000));
    CaberEnPantalla(&lista);
    AplicarPiel(&lista);
    ActivarAlMostrar(&lista);
    Servicios().mostrarModal(lista);
}

void FrmTablero::guardarImagen(int k) {
    if (!cifras_) return;
    const Pagina& p = paginas[size_t(k)];
    Guardar(QStringLiteral("Guardar imagen"),
            p.titulo + QLatin1Char(' ') + QDate::currentDate().toString(Qt::ISODate) +
                QStringLiteral(".png"),
            QStringLiteral("Imagen PNG (*.png)"), QStringLiteral("png"),
            [this, k](const QString& ruta, QString* error) {
                if (Imagen(k, *cifras_).save(ruta, "PNG")) return true;
                *error = QStringLiteral("No se pudo escribir el archivo.");
                return false;
            });
}

void FrmTablero::imprimir() {
    if (!cifras_) return;
    Guardar(QStringLiteral("Imprimir en PDF"),
            QStringLiteral("Tablero ") + QDate::currentDate().toString(Qt::ISODate) +
                QStringLiteral(".pdf"),
            QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"),
            [this](const QString& ruta, QString* error) { return EscribirPdf(ruta, error); });
}

bool FrmTablero::EscribirPdf(const QString& ruta, QString* error) const {
    if (!cifras_) return false;
    {
        // QPdfWriter says nothing of a file it cannot write.
        QFile prueba(ruta);
        if (!prueba.open(QIODevice::WriteOnly)) {
            if (error) *error = prueba.errorString();
            return false;
        }
    }
    const Cifras& c = *cifras_;
    QTextDocument documento;
    QString html = QStringLiteral("<h1>") + kTitulo +
                   QStringLiteral(
                       "</h1><p>Centro de "
                       "distribución ") +
                   c.rango.centro.trimmed().toHtmlEscaped() + QStringLiteral(", del ") +
                   Dia(c.rango.del) + QStringLiteral(" al ") + Dia(c.rango.al) +
                   QStringLiteral("</p>");
    for (int k = 0; k < NumPaginas; ++k) {
        const QUrl imagen(QStringLiteral("grafica:%1").arg(k));
        documento.addResource(QTextDocument::ImageResource, imagen, Imagen(k, c));
        html +=
            QStringLiteral("<h2%1>").arg(k ? QStringLiteral(" style=\"page-break-before: "
                                                            "always\"")
                                           : QString()) +
            paginas[size_t(k)].titulo.toHtmlEscaped() +
            QStringLiteral("</h2><p><img src=\"%1\" width=\"620\"></p>").arg(imagen.toString()) +
            TablaHtml(*paginas[size_t(k)].tabla);
    }
    documento.setHtml(html);
    QPdfWriter pdf(ruta);
    pdf.setTitle(kTitulo);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    documento.print(&pdf);
    return true;
}
