// The capture window's field rules: what is composed, checked or looked up as the clerk types
// and leaves each field.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "capture/frm_captura.h"
#include "capture/frm_clientes_encontrados.h"
#include "capture/sentencias_captura.h"
#include "db/error_bd.h"
#include "db/sql.h"
#include "startup/global.h"
#include "ui/completador.h"
#include "ui/filtros.h"
#include "ui/lista_personal.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

void ErrorBase(const db::ErrorBD& e) {
    Global::Registros.cerrar();
    MensajeErrorBD(e);
}

}  // namespace

void FrmCaptura::PrepararVendedores() {
    // The whole list opens under the box as the clerk types, and the typed start of a name is
    // completed from it; the keyboard stays in the box.
    auto* completador = new CompletadorSinAcentos(Combo1->model(), Combo1);
    completador->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    Combo1->setCompleter(completador);
    // What the clerk types shows in capitals, as in every other box of the window.
    Combo1->lineEdit()->setValidator(new ValidadorMayusculas(Combo1->lineEdit()));
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this,
            [this] { Autocompletar_Combo(Combo1); });
}

bool FrmCaptura::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        // Any character typed in the paternal surname starts an application worth asking about.
        if (objeto == TxtPaterno && !tecla->text().isEmpty() && tecla->text().at(0).isPrint())
            Global::CambiosPendientes = true;
        // The editable box is the focus widget; its inner line edit only receives what it forwards.
        if (objeto == Combo1) {
            if ((tecla->key() == Qt::Key_Backspace || tecla->key() == Qt::Key_Delete) &&
                !Combo1->currentText().isEmpty())
                Borrando = true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

namespace {

// Whether the keyboard went back: to a control before `anterior` in the window's tab order.
bool VolvioAtras(QWidget* anterior, QWidget* actual) {
    QWidget* ventana = anterior->window();
    int posicion = 0, deAnterior = -1, deActual = -1;
    for (QWidget* w = ventana->nextInFocusChain(); w && w != ventana; w = w->nextInFocusChain()) {
        if (w == anterior || w->isAncestorOf(anterior)) deAnterior = posicion;
        if (w == actual || w->isAncestorOf(actual)) deActual = posicion;
        ++posicion;
    }
    return deAnterior >= 0 && deActual >= 0 && deActual < deAnterior;
}

}  // namespace

void FrmCaptura::CambioDeFoco(QWidget* anterior, QWidget* actual) {
    // Leaving a field is the keyboard moving to another control of this window; a message box,
    // a list popping up or another application taking the keyboard is not.
    if (!anterior || !actual || actual->window() != this || volviendo_) return;
    if (anterior == Combo1->lineEdit()) anterior = Combo1;
    if (anterior->window() != this) return;
    const int antes = MensajesMostrados();
    AlSalir(anterior);
    // A rule that spoke keeps the keyboard in its box: what the clerk typed ahead, or types
    // once the message is closed, is meant for that box and never lands in the next one. The
    // box the keyboard only passed through was not left by the clerk: its rule does not run.
    // Going back to an earlier control goes where the clerk sent it, so an empty telephone
    // never traps the keyboard.
    if (MensajesMostrados() != antes && anterior->isVisible() && anterior->isEnabled() &&
        !VolvioAtras(anterior, actual)) {
        volviendo_ = true;
        anterior->setFocus(Qt::OtherFocusReason);
        volviendo_ = false;
    }
}

void FrmCaptura::AlSalir(QWidget* campo) {
    if (campo == TxtNombre)
        ComponerNombreCompleto();
    else if (campo == TxtNombreAval)
        ComponerAval();
    else if (campo == TxtTelefono)
        RevisarTelefono();
    else if (campo == TxtDocumento)
        BuscarDocumento();
    else if (campo == CmbSucursal)
        ResolverSucursal();
    else if (campo == Combo1)
        ResolverVendedor();
}

bool FrmCaptura::ResolverSucursal() {
    return ResolverClave(
        CmbSucursal, captura::SentenciaClaveSucursal,
        db::Posicion(captura::kColumnasClaveSucursal, captura::ClaveSucursal::Sucursal),
        Global::ClaveSucursal);
}

bool FrmCaptura::ResolverVendedor() {
    const int i = VendedorSeleccionado();
    if (i < 0) return false;
    if (Combo1->currentIndex() != i) Combo1->setCurrentIndex(i);
    return ResolverClave(Combo1, personal::SentenciaClave,
                         db::Posicion(personal::kColumnasClave, personal::Clave::Persona),
                         Global::ClavePersona);
}

void FrmCaptura::ComponerNombreCompleto() {
    const QString paterno = TxtPaterno->text().trimmed();
    const QString nombre = TxtNombre->text().trimmed();
    Global::NombreCompleto =
        TxtMaterno->text().isEmpty()
            ? paterno + QLatin1Char(' ') + nombre
            : paterno + QLatin1Char(' ') + TxtMaterno->text().trimmed() + QLatin1Char(' ') + nombre;
}

void FrmCaptura::ComponerAval() {
    NombreAval = TxtNombreAval->text().trimmed();
    ApellidosAval =
        !TxtMaternoAval->text().isEmpty() && !TxtNombreAval->text().isEmpty()
            ? TxtPaternoAval->text().trimmed() + QLatin1Char(' ') + TxtMaternoAval->text().trimmed()
            : TxtPaternoAval->text().trimmed();
}

void FrmCaptura::RevisarTelefono() {
    if (TxtTelefono->text().size() == 13) return;
    MensajeError(QStringLiteral("Longitud de Teléfono Incorrecto"),
                 QStringLiteral("Verifique Teléfono"));
    TxtTelefono->clear();
}

void FrmCaptura::BuscarDocumento() {
    if (TxtDocumento->text().isEmpty()) {
        LblFecha->setText(QString());
        return;
    }
    CursorEspera espera;
    auto noExiste = [this] {
        LblFecha->setText(QString());
        MensajeError(QStringLiteral("Documento NO existe o sin Saldo Disponible"),
                     QStringLiteral("Revise el Numero de Documento"));
    };
    qint64 documento = 0;
    try {
        documento = db::EnteroDe(TxtDocumento->text());
    } catch (const db::ErrorBD&) {
        // More digits than any document number holds: there is no such document.
        noExiste();
        return;
    }
    Global::CadenaSql = captura::SentenciaTicket(documento);
    try {
        db::Recordset& r = Global::Registros;
        r.abrir(Global::CadenaSql, Global::Conexion);
        if (r.eof()) {
            r.cerrar();
            noExiste();
            return;
        }
        const db::Lectura columnas(r, captura::kColumnasTicket);
        LblFecha->setText(columnas.campo(r, captura::Ticket::Fecha)
                              .toDate()
                              .toString(QStringLiteral("dd/MM/yyyy")));
        r.cerrar();
    } catch (const db::ErrorBD& e) {
        ErrorBase(e);
    }
}

bool FrmCaptura::ResolverClave(QComboBox* lista, QString (*sentencia)(qint64), int columna,
                               TextoFijo<7>& clave) {
    if (lista->currentIndex() < 0) return false;
    CursorEspera espera;
    Global::CadenaSql = sentencia(lista->currentData().toInt());
    try {
        Global::Registros.abrir(Global::CadenaSql, Global::Conexion);
        const bool hallada = !(Global::Registros.bof() && Global::Registros.eof());
        if (hallada) clave = Global::Registros.campo(columna).toString();
        Global::Registros.cerrar();
        return hallada;
    } catch (const db::ErrorBD& e) {
        ErrorBase(e);
        return false;
    }
}

int FrmCaptura::VendedorSeleccionado() const {
    const QString texto = TextoSinAcentos(Combo1->currentText());
    if (texto.isEmpty()) return -1;
    for (int i = 0; i < Combo1->count(); ++i)
        if (TextoSinAcentos(Combo1->itemText(i)).compare(texto, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void FrmCaptura::Autocompletar_Combo(QComboBox* Combo) {
    QLineEdit* caja = Combo->lineEdit();
    if (!caja || caja->text().isEmpty() || Borrando) {
        Borrando = false;
        return;
    }
    const QString tecleado = TextoSinAcentos(caja->text());
    for (int i = 0; i < Combo->count(); ++i) {
        const QString elemento = Combo->itemText(i);
        if (!TextoSinAcentos(elemento).startsWith(tecleado, Qt::CaseInsensitive)) continue;
        const int posicion = caja->cursorPosition();
        caja->setText(elemento);
        caja->setSelection(elemento.size(), posicion - elemento.size());
        return;
    }
}

void FrmCaptura::RevisarNombres() {
    if (TxtNombre->text().size() < 2 || TxtPaterno->text().size() < 2) DatosCorrectos = false;
}

void FrmCaptura::RevisarNombresAval() {
    if (TxtNombreAval->text().isEmpty() || TxtPaternoAval->text().isEmpty()) return;
    if (TxtNombreAval->text().size() < 2 || TxtPaternoAval->text().size() < 2)
        DatosCorrectos = false;
}

bool FrmCaptura::BuscarHomonimos() {
    CursorEspera espera;
    Global::CadenaSql = captura::SentenciaHomonimos(Global::NombreCompleto);
    db::Recordset& r = Global::Registros;
    r.abrir(Global::CadenaSql, Global::Conexion);
    const bool hay = !r.eof() && db::Lectura(r, captura::kColumnasHomonimos)
                                         .campo(r, captura::Homonimos::Cuenta)
                                         .toLongLong() > 0;
    r.cerrar();
    if (!hay) return true;
    FrmClientes_Encontrados homonimos(this);
    return Servicios().mostrarModal(homonimos) == QDialog::Accepted;
}
