#include "rejections/frm_comentarios.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include "startup/global.h"
#include "ui/controles.h"
#include "ui/filtros.h"
#include "ui/ventana.h"

FrmComentarios::FrmComentarios(QWidget* parent) : QDialog(parent) {
    NombrarVentana(this, "FrmComentarios", QStringLiteral("Comentarios"));
    CursorEspera espera;

    Frame1 = Marco(this, "Frame1", QStringLiteral("Comentarios Rechazo:"),
                   RectTwips(120, 0, 4455, 2295));

    TxtComentarios =
        Control<QPlainTextEdit>(Frame1, "TxtComentarios", RectTwips(120, 240, 4215, 1455));
    TxtComentarios->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TxtComentarios->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab leaves the box as in any other control; Enter does the same through the filter.
    TxtComentarios->setTabChangesFocus(true);

    CmdGuardar =
        Boton(Frame1, "CmdGuardar", QStringLiteral("&Guardar"), RectTwips(3120, 1800, 1215, 375));

    LblLargo = Control<QLabel>(Frame1, "LblLargo", RectTwips(120, 1800, 2900, 375));
    LblLargo->setWordWrap(true);

    setTabOrder(TxtComentarios, CmdGuardar);
    InstalarFiltroTexto(TxtComentarios);
    connect(TxtComentarios, &QPlainTextEdit::textChanged, this, &FrmComentarios::AjustarTexto);
    AjustarTexto();
    connect(CmdGuardar, &QPushButton::clicked, this, &FrmComentarios::CmdGuardar_Click);

    PrepararVentana(this, 4680, 2385);
    // Whatever a previous rejection left must not be taken for this one's comment.
    Global::ComentarioRechazo.clear();
    TxtComentarios->setFocus();
}

void FrmComentarios::AjustarTexto() {
    // Line breaks and control characters are the text rule's (InstalarFiltroTexto); here only
    // the width, in whole characters: a pair of halves at the limit goes whole.
    if (ajustando_) return;
    ajustando_ = true;
    QTextDocument* documento = TxtComentarios->document();
    int largo = documento->characterCount() - 1;
    if (largo > LargoMaximo) {
        largo = documento->characterAt(LargoMaximo - 1).isHighSurrogate() ? LargoMaximo - 1
                                                                          : LargoMaximo;
        QTextCursor sobra(documento);
        sobra.setPosition(largo);
        sobra.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        sobra.removeSelectedText();
    }
    LblLargo->setText(QStringLiteral("Máximo %1 caracteres; quedan %2.")
                          .arg(LargoMaximo)
                          .arg(LargoMaximo - largo));
    ajustando_ = false;
}

void FrmComentarios::CmdGuardar_Click() {
    const QString texto = TxtComentarios->toPlainText();
    if (texto.isEmpty()) return;
    Global::ComentarioRechazo = texto.trimmed();
    accept();
}
