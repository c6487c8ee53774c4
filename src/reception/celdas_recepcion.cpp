#include "reception/celdas_recepcion.h"

#include <QRegularExpression>
#include <QStringList>

#include "db/error_bd.h"
#include "db/sql.h"
#include "ui/rejilla.h"
#include "ui/valor_celda.h"

namespace recepcion {

bool EsLineaCredito(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    return numero.match(texto).hasMatch();
}

QString RedondearLinea(const QString& texto) {
    const QString t = texto.trimmed();
    const qsizetype punto = t.indexOf(QLatin1Char('.'));
    if (!EsLineaCredito(t) || punto < 0 || t.size() - punto - 1 <= DecimalesLinea) return texto;
    return db::Numero(t, DecimalesLinea);
}

int LargoComentario(const QString& texto) {
    qsizetype fin = texto.size();
    while (fin > 0 && texto.at(fin - 1) == QLatin1Char(' ')) --fin;
    return static_cast<int>(QStringView(texto).left(fin).toUcs4().size());
}

QString ComentarioDemasiadoLargo(const Rejilla& rejilla, int fila, const QString& texto) {
    const int largo = LargoComentario(texto);
    if (largo <= LargoComentarios) return QString();
    return QStringLiteral(
               "El comentario de la Solicitud %1 tiene %2 caracteres, pero caben %3. "
               "Acórtelo.")
        .arg(TextoExactoDeCelda(rejilla.valor(fila, ColSolicitud)).trimmed())
        .arg(largo)
        .arg(LargoComentarios);
}

const QStringList& Estados() {
    static const QStringList l = {QStringLiteral("Entregada"), QStringLiteral("Autorizada"),
                                  QStringLiteral("Rechazada")};
    return l;
}

const QStringList& TiposVerificacion() {
    static const QStringList l = {QStringLiteral("Normal"),        QStringLiteral("Aval"),
                                  QStringLiteral("Visita"),        QStringLiteral("Foraneo"),
                                  QStringLiteral("Normal-Visita"), QStringLiteral("Aval-Visita")};
    return l;
}

const QStringList& Recomendaciones() {
    static const QStringList l = {QStringLiteral("Recomienda"), QStringLiteral("No Recomienda"),
                                  QStringLiteral("Dudoso")};
    return l;
}

bool FilaMarcada(const Rejilla& rejilla, int fila) {
    return TextoExactoDeCelda(rejilla.valor(fila, ColGuardar)) == QLatin1String("SI");
}

QString ClaveLinea(const QVariant& relacion, const QVariant& solicitud) {
    return TextoExactoDeCelda(relacion).trimmed() + QLatin1Char('/') +
           TextoExactoDeCelda(solicitud).trimmed();
}

Resultado ResultadoDeFila(const Rejilla& r, int fila) {
    Resultado l;
    l.relacion = db::EnteroDe(r.valor(fila, ColRelacion));
    l.solicitud = db::EnteroDe(r.valor(fila, ColSolicitud));
    l.revisada = !TextoExactoDeCelda(r.valor(fila, ColFechaRevision)).isEmpty();
    l.estado = TextoExactoDeCelda(r.valor(fila, ColEstado));
    l.tipo = TextoExactoDeCelda(r.valor(fila, ColTipoVerificacion));
    l.linea = db::NumeroDe(r.valor(fila, ColLineaCredito));
    l.comentarios = TextoExactoDeCelda(r.valor(fila, ColComentarios));
    l.recomienda = TextoExactoDeCelda(r.valor(fila, ColRecomendacion));
    return l;
}

}  // namespace recepcion
