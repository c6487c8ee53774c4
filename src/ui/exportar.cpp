#include "ui/exportar.h"

#include <xlsxwriter.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QRegularExpression>
#include <map>
#include <set>
#include <tuple>

#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/valor_celda.h"

namespace exportar {

namespace {

enum class Clase { Vacia, Texto, Numero, Fecha, FechaHora };

struct Celda {
    Clase clase = Clase::Vacia;
    QString texto;
    double numero = 0;
    QDateTime momento;
    // A number of an amount column, written with the grid's "$12,500.00".
    bool importe = false;
};

Celda Leer(const Rejilla& r, int fila, int columna) {
    Celda c;
    const QVariant v = r.valor(fila, columna);
    if (r.tipoColumna(columna) == TipoCelda::Casilla) {
        if (CeldaMarcada(v)) {
            c.clase = Clase::Texto;
            c.texto = QStringLiteral("Sí");
        }
        return c;
    }
    if (v.isNull()) return c;
    c.texto = r.texto(fila, columna);
    c.importe = r.formatoColumna(columna) == FormatoCelda::Importe;
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
            c.clase = Clase::Numero;
            c.numero = v.toDouble();
            return c;
        case QMetaType::QDateTime:
            c.momento = v.toDateTime();
            c.clase = c.momento.time() == QTime(0, 0) ? Clase::Fecha : Clase::FechaHora;
            return c;
        case QMetaType::QDate:
            c.momento = QDateTime(v.toDate(), QTime(0, 0));
            c.clase = Clase::Fecha;
            return c;
        case QMetaType::QString: {
            const QString t = v.toString().trimmed();
            if (t.isEmpty()) return c;
            if (PareceNumero(t)) {
                c.clase = Clase::Numero;
                c.numero = t.toDouble();
                return c;
            }
            // Dates the server gave as text (its short date) are dates all the same.
            bool conHora = false;
            const QDateTime momento = FechaDeTextoCelda(t, &conHora);
            if (momento.isValid()) {
                c.clase = conHora ? Clase::FechaHora : Clase::Fecha;
                c.momento = momento;
                return c;
            }
            break;
        }
        default:
            break;
    }
    c.clase = Clase::Texto;
    return c;
}

QList<int> ColumnasVisibles(const Rejilla& r) {
    QList<int> columnas;
    for (int c = 1; c <= r.numeroColumnas(); ++c)
        if (!r.isColumnHidden(c - 1)) columnas << c;
    return columnas;
}

// What the grid paints behind the cell: its own colour, else its row's; white paints nothing.
QColor Fondo(const Rejilla& r, int fila, int columna) {
    const QColor color = r.modelo()
                             ->data(r.modelo()->index(fila - 1, columna - 1), Qt::BackgroundRole)
                             .value<QColor>();
    if (!color.isValid() || color == QColor(Qt::white)) return QColor();
    return color;
}

}  // namespace

QString NombreLista(const Rejilla& rejilla) {
    QString nombre = rejilla.nombreLista();
    // A list the window did not name takes the title of the frame it stands in.
    for (const QWidget* w = rejilla.parentWidget(); nombre.isEmpty() && w; w = w->parentWidget())
        if (const auto* marco = qobject_cast<const QGroupBox*>(w)) nombre = marco->title();
    // Neither a file nor a sheet takes these; a frame's count ("Localizadas:61") goes too.
    nombre.remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\<>|\"&]|\\d+$")));
    nombre = nombre.simplified().left(LXW_SHEETNAME_MAX).trimmed();
    return nombre.isEmpty() ? QStringLiteral("Lista") : nombre;
}

QString NombreArchivo(const Rejilla& rejilla, const QDate& dia) {
    return NombreLista(rejilla) + QLatin1Char(' ') + dia.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".xlsx");
}

namespace {

// The formats of a workbook, made once per kind of cell and background.
class Formatos {
  public:
    explicit Formatos(lxw_workbook* libro) : libro_(libro) {}

    lxw_format* titulo() {
        if (!titulo_) {
            titulo_ = workbook_add_format(libro_);
            format_set_bold(titulo_);
            format_set_bottom(titulo_, LXW_BORDER_THIN);
        }
        return titulo_;
    }

    lxw_format* de(const Celda& celda, const QColor& fondo) {
        const Clase clase = celda.clase;
        const bool esFecha = clase == Clase::Fecha || clase == Clase::FechaHora;
        const bool importe = clase == Clase::Numero && celda.importe;
        if (!esFecha && !importe && !fondo.isValid()) return nullptr;
        const auto clave = std::make_tuple(int(clase), importe,
                                           fondo.isValid() ? int(fondo.rgb() & 0xFFFFFF) : -1);
        auto hallado = formatos_.find(clave);
        if (hallado != formatos_.end()) return hallado->second;
        lxw_format* f = workbook_add_format(libro_);
        if (clase == Clase::Fecha) format_set_num_format(f, "dd/mm/yyyy");
        if (clase == Clase::FechaHora) format_set_num_format(f, "dd/mm/yyyy hh:mm:ss");
        if (importe) format_set_num_format(f, "$#,##0.00");
        if (fondo.isValid()) format_set_bg_color(f, fondo.rgb() & 0xFFFFFF);
        formatos_.emplace(clave, f);
        return f;
    }

  private:
    lxw_workbook* libro_;
    lxw_format* titulo_ = nullptr;
    std::map<std::tuple<int, bool, int>, lxw_format*> formatos_;
};

lxw_datetime Momento(const QDateTime& m) {
    lxw_datetime d{};
    d.year = m.date().year();
    d.month = m.date().month();
    d.day = m.date().day();
    d.hour = m.time().hour();
    d.min = m.time().minute();
    d.sec = m.time().second() + m.time().msec() / 1000.0;
    return d;
}

}  // namespace

QString TextoTabulado(const Rejilla& rejilla, bool soloSeleccion) {
    const QList<int> columnas = ColumnasVisibles(rejilla);
    std::set<int> filas;
    if (soloSeleccion && rejilla.selectionModel())
        for (const QModelIndex& i : rejilla.selectionModel()->selectedIndexes())
            filas.insert(i.row() + 1);
    if (filas.empty())
        for (int f = 1; f <= rejilla.numeroFilas(); ++f) filas.insert(f);

    // A tab or a line break inside a cell would split it in the spreadsheet.
    auto limpio = [](QString t) {
        t.replace(QLatin1Char('\t'), QLatin1Char(' '));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return t;
    };
    QStringList lineas;
    QStringList titulos;
    for (int c : columnas) titulos << limpio(rejilla.tituloColumna(c));
    lineas << titulos.join(QLatin1Char('\t'));
    for (int f : filas) {
        QStringList celdas;
        for (int c : columnas) {
            const Celda celda = Leer(rejilla, f, c);
            celdas << limpio(celda.clase == Clase::Vacia ? QString() : celda.texto);
        }
        lineas << celdas.join(QLatin1Char('\t'));
    }
    return lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void Copiar(const Rejilla& rejilla) {
    QApplication::clipboard()->setText(TextoTabulado(rejilla, true));
}

bool EscribirXlsx(const Rejilla& rejilla, const QString& ruta, QString* error) {
    // Written beside the final name and put in its place only once complete.
    const QString parcial = ruta + QStringLiteral(".parcial");
    QFile::remove(parcial);
    lxw_workbook* libro = workbook_new(QFile::encodeName(parcial).constData());
    if (!libro) {
        if (error) *error = QStringLiteral("No hay memoria para preparar el libro.");
        return false;
    }
    const QByteArray hoja = NombreLista(rejilla).toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(libro, hoja.constData());
    if (!ws) ws = workbook_add_worksheet(libro, "Lista");
    Formatos formatos(libro);

    const QList<int> columnas = ColumnasVisibles(rejilla);
    for (int i = 0; i < columnas.size(); ++i) {
        const lxw_col_t col = lxw_col_t(i);
        // The grid's widths in pixels, as characters of the spreadsheet's default font.
        worksheet_set_column(ws, col, col, std::max(6.0, rejilla.anchoColumna(columnas[i]) / 7.0),
                             nullptr);
        worksheet_write_string(ws, 0, col, rejilla.tituloColumna(columnas[i]).toUtf8().constData(),
                               formatos.titulo());
    }
    worksheet_freeze_panes(ws, 1, 0);
    for (int f = 1; f <= rejilla.numeroFilas(); ++f) {
        const lxw_row_t fila = lxw_row_t(f);
        for (int i = 0; i < columnas.size(); ++i) {
            const lxw_col_t col = lxw_col_t(i);
            const Celda c = Leer(rejilla, f, columnas[i]);
            lxw_format* formato = formatos.de(c, Fondo(rejilla, f, columnas[i]));
            switch (c.clase) {
                case Clase::Vacia:
                    if (formato) worksheet_write_blank(ws, fila, col, formato);
                    break;
                case Clase::Texto:
                    worksheet_write_string(ws, fila, col, c.texto.toUtf8().constData(), formato);
                    break;
                case Clase::Numero:
                    worksheet_write_number(ws, fila, col, c.numero, formato);
                    break;
                case Clase::Fecha:
                case Clase::FechaHora: {
                    lxw_datetime d = Momento(c.momento);
                    worksheet_write_datetime(ws, fila, col, &d, formato);
                    break;
                }
            }
        }
    }
    const lxw_error resultado = workbook_close(libro);
    if (resultado != LXW_NO_ERROR) {
        QFile::remove(parcial);
        if (error) *error = QString::fromUtf8(lxw_strerror(resultado));
        return false;
    }
    if (QFile::exists(ruta) && !QFile::remove(ruta)) {
        QFile::remove(parcial);
        if (error) *error = QStringLiteral("El archivo está en uso o no se puede reemplazar.");
        return false;
    }
    if (!QFile::rename(parcial, ruta)) {
        QFile::remove(parcial);
        if (error) *error = QStringLiteral("No se pudo escribir el archivo en esa carpeta.");
        return false;
    }
    return true;
}

void ExportarExcel(const Rejilla& rejilla) {
    const QString titulo = QStringLiteral("Exportar a Excel");
    QString ruta =
        Servicios().elegirArchivoGuardar(titulo, NombreArchivo(rejilla, QDate::currentDate()),
                                         QStringLiteral("Libro de Excel (*.xlsx)"));
    if (ruta.isEmpty()) return;
    if (QFileInfo(ruta).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) != 0)
        ruta += QStringLiteral(".xlsx");
    QString error;
    if (!EscribirXlsx(rejilla, ruta, &error)) {
        MensajeError(QStringLiteral("No se pudo guardar la lista en ") +
                         QDir::toNativeSeparators(ruta) + QStringLiteral("\r\n") + error,
                     titulo);
        return;
    }
    MensajeInformacion(
        QStringLiteral("La lista quedó guardada en:\r\n") + QDir::toNativeSeparators(ruta), titulo);
}

void AgregarAlMenuDeLasRejillas() {
    Rejilla::AgregarEntradasMenu([](QMenu& menu, Rejilla& rejilla) {
        // Run after the menu has closed, as a chosen entry would be without a menu.
        QAction* copiar = menu.addAction(QStringLiteral("Copiar"));
        copiar->setObjectName(QStringLiteral("AccionCopiar"));
        QObject::connect(
            copiar, &QAction::triggered, &rejilla, [&rejilla] { Copiar(rejilla); },
            Qt::QueuedConnection);
        QAction* excel = menu.addAction(QStringLiteral("Exportar a Excel…"));
        excel->setObjectName(QStringLiteral("AccionExportar"));
        QObject::connect(
            excel, &QAction::triggered, &rejilla, [&rejilla] { ExportarExcel(rejilla); },
            Qt::QueuedConnection);
    });
}

}  // namespace exportar
