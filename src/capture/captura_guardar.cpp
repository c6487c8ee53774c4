// Saving an application and deleting one from the grid of applications entered.
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

#include "capture/frm_captura.h"
#include "capture/sentencias_captura.h"
#include "db/comando.h"
#include "db/error_bd.h"
#include "db/solicitud_actual.h"
#include "db/sql.h"
#include "db/transaccion.h"
#include "startup/global.h"
#include "ui/rejilla.h"
#include "ui/servicios.h"
#include "ui/ventana.h"

namespace {

const QString kDatosIncorrectos = QStringLiteral("Datos Incorrectos");
// The name column the server gives the customer (@cNombreCliente is char(80)).
constexpr int kLargoNombreCliente = 80;

}  // namespace

void FrmCaptura::CmdGuardar_Click() {
    DatosCorrectos = true;
    Global::ClienteNuevo = true;
    // The names go as the boxes show them now, also when a surname was corrected after its
    // name box was left.
    ComponerNombreCompleto();
    ComponerAval();
    RevisarNombres();
    RevisarNombresAval();
    if (!DatosCorrectos) {
        MensajeError(
            QStringLiteral("Favor de Revisar los Datos del CLiente, para clientes con un solo "
                           "apellido usar el espacio A. Paterno"),
            kDatosIncorrectos);
        return;
    }
    // A longer name would be stored cut by the server: refuse it before anything is written.
    if (Global::NombreCompleto.size() > kLargoNombreCliente) {
        MensajeError(
            QStringLiteral("El nombre completo del cliente tiene %1 caracteres y no puede pasar "
                           "de %2; abrevie el nombre o los apellidos.")
                .arg(Global::NombreCompleto.size())
                .arg(kLargoNombreCliente),
            kDatosIncorrectos);
        return;
    }
    try {
        // Closing the homonyms window is not choosing: nothing is written, the boxes stay.
        if (!BuscarHomonimos()) return;
    } catch (const db::ErrorBD& e) {
        Global::Registros.cerrar();
        MensajeErrorBD(e);
        return;
    }

    const struct {
        bool falla;
        const char* mensaje;
    } revisiones[] = {
        {TxtImporte->text().isEmpty(), "Favor de Teclear el Importe de la solicitud"},
        {!QDate::fromString(LblFecha->text(), QStringLiteral("dd/MM/yyyy")).isValid(),
         "Favor de Revisar el Documento del Anticipo"},
        {TxtTelefono->text().isEmpty(), "Favor de Teclear el teléfono del cliente"},
        {CmbSucursal->currentIndex() < 0,
         "Favor de Seleccionar la Sucursal que envia la Solicitud"},
        {CmbPromociones->currentIndex() < 0,
         "Favor de Seleccionar la Promoción Elegida por el cliente"},
        {VendedorSeleccionado() < 0, "Favor de Seleccionar al Vendedor"},
    };
    for (const auto& r : revisiones)
        if (r.falla) {
            MensajeError(QString::fromUtf8(r.mensaje), kDatosIncorrectos);
            return;
        }

    // The keys are read again from this window's lists as they stand: a verifier chosen in
    // another window shares the same key and must never become this application's salesperson.
    const int antes = MensajesMostrados();
    if (!ResolverSucursal() || !ResolverVendedor()) {
        if (MensajesMostrados() == antes)
            MensajeError(QStringLiteral("La sucursal o el vendedor elegidos ya no están en la "
                                        "base de datos; elíjalos de nuevo."),
                         kDatosIncorrectos);
        return;
    }
    if (!GuardarEnBase()) return;
    // Only once everything is stored: a failed press keeps the question on closing.
    if (Global::ClienteNuevo) Global::CambiosPendientes = false;
    AgregarRenglon();
    LimpiarCampos();
    MensajeInformacion(QStringLiteral("Solicitud Registrada Correctamente!!"),
                       QStringLiteral("Alta de Cliente Solicitud"));
    TxtPaterno->setFocus();
}

bool FrmCaptura::GuardarEnBase() {
    // The customer, the application and its number land together or not at all, so pressing
    // "Guardar" again after a failure never leaves a second customer or application behind.
    CursorEspera espera;
    db::Conexion& cn = Global::Conexion;
    const double clienteAntes = Global::NumeroCliente;
    auto fallar = [&](const QString& texto, const QString& titulo) {
        Global::NumeroCliente = clienteAntes;
        MensajeError(texto, titulo);
        return false;
    };
    try {
        db::Transaccion transaccion(cn);
        if (Global::ClienteNuevo) {
            db::Comando alta(cn, QStringLiteral("Guarda_Cliente_norv"));
            alta.agregarParametro(QStringLiteral("@cSucursal"), db::TipoParametro::Char,
                                  db::Direccion::Entrada, 7, Global::SucursalActual);
            alta.agregarParametro(QStringLiteral("@cRFC"), db::TipoParametro::Char,
                                  db::Direccion::Entrada, 20, QString());
            alta.agregarParametro(QStringLiteral("@cNombreCliente"), db::TipoParametro::Char,
                                  db::Direccion::Entrada, 80, Global::NombreCompleto);
            alta.agregarParametro(QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                                  db::Direccion::Salida, 4);
            alta.ejecutar();
            const QVariant cliente = alta.parametro(QStringLiteral("@ncliente"));
            if (cliente.isNull() || cliente.toLongLong() == 0) {
                transaccion.deshacer(
                    QStringLiteral("Guarda_Cliente_norv no dio número de cliente"));
                return fallar(
                    QStringLiteral("Ocurrio un error al Guardar al Cliente, trate de nuevo"),
                    QStringLiteral("Error al Guardar los datos"));
            }
            Global::NumeroCliente = cliente.toDouble();

            db::Comando nombres(cn, QStringLiteral("norv.dbo.Cliente_Compra_Facil"));
            nombres.agregarParametro(QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                                     db::Direccion::Entrada, 4,
                                     static_cast<qlonglong>(Global::NumeroCliente));
            nombres.agregarParametro(QStringLiteral("@cNombres"), db::TipoParametro::Char,
                                     db::Direccion::Entrada, 50, TxtNombre->text().trimmed());
            nombres.agregarParametro(QStringLiteral("@cPaterno"), db::TipoParametro::Char,
                                     db::Direccion::Entrada, 50, TxtPaterno->text().trimmed());
            nombres.agregarParametro(QStringLiteral("@cMaterno"), db::TipoParametro::Char,
                                     db::Direccion::Entrada, 50, TxtMaterno->text().trimmed());
            nombres.agregarParametro(QStringLiteral("@nEmpresa"), db::TipoParametro::Integer,
                                     db::Direccion::Entrada, 4, 0);
            nombres.agregarParametro(QStringLiteral("@dNacimiento"), db::TipoParametro::DBTimeStamp,
                                     db::Direccion::Entrada, 8, QStringLiteral("1900/01/01"));
            nombres.ejecutar();
        }
        cn.ejecutar(SentenciaInsert(Global::ClienteNuevo));

        db::Comando folio(cn, QStringLiteral("REGRESA_FOLIO"));
        folio.agregarParametro(QStringLiteral("@Nfolio"), db::TipoParametro::Integer,
                               db::Direccion::Salida, 8);
        folio.ejecutar();
        const QVariant numero = folio.parametro(QStringLiteral("@nfolio"));
        if (numero.isNull()) {
            FolioSolicitud = 0;
            transaccion.deshacer(QStringLiteral("REGRESA_FOLIO no dio número de solicitud"));
            return fallar(
                QStringLiteral("Error Grave, sin folio de inserción, repita la operación"),
                QStringLiteral("Error"));
        }
        const QString buscar = captura::SentenciaExisteSolicitud(numero.toLongLong());
        transaccion.confirmar([&] { return cn.consultar(buscar)->siguiente(); });
        FolioSolicitud = numero.toDouble();
        return true;
    } catch (const db::ErrorBD& e) {
        return fallar(e.mensaje(), TituloErrorBD);
    }
}

QString FrmCaptura::SentenciaInsert(bool clienteNuevo) const {
    captura::AltaSolicitud a;
    a.clienteNuevo = clienteNuevo;
    a.cliente = Global::NumeroCliente;
    a.importe = db::NumeroDe(TxtImporte->text());
    a.sucursal = Global::ClaveSucursal;
    a.promocion = CmbPromociones->currentData().toInt();
    a.telefono = TxtTelefono->text();
    a.nombreAval = NombreAval.trimmed();
    a.apellidosAval = ApellidosAval.trimmed();
    a.documento = db::EnteroDe(TxtDocumento->text());
    a.fechaTienda = QDate::fromString(LblFecha->text(), QStringLiteral("dd/MM/yyyy"));
    a.vendedor = Global::ClavePersona;
    return captura::SentenciaAlta(a);
}

void FrmCaptura::AgregarRenglon() {
    Renglones += 1;
    const int fila = iSolicitudes->agregarFila();
    const QVariant valores[] = {static_cast<qlonglong>(FolioSolicitud),
                                CmbSucursal->currentText(),
                                static_cast<qlonglong>(Global::NumeroCliente),
                                Global::NombreCompleto,
                                TxtImporte->text(),
                                Combo1->currentText(),
                                Global::ClienteNuevo ? QStringLiteral("NO") : QStringLiteral("SI")};
    for (int c = 0; c < 7; ++c) {
        iSolicitudes->ponerValor(fila, c + 1, valores[c]);
        iSolicitudes->ensancharAlContenido(c + 1);
    }
}

void FrmCaptura::LimpiarCampos() {
    for (QLineEdit* c : {TxtMaterno, TxtNombre, TxtPaterno, TxtMaternoAval, TxtNombreAval,
                         TxtPaternoAval, TxtTelefono, TxtDocumento})
        c->clear();
    NombreAval.clear();
    ApellidosAval.clear();
    LblFecha->setText(QStringLiteral("Fecha:"));
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    TxtImporte->clear();
}

void FrmCaptura::iSolicitudes_DobleClic(int fila, int /*columna*/) {
    if (fila < 1) return;
    if (!Preguntar(QStringLiteral("Se dispone a Eliminar la Solicitud Seleccionada, Esta Seguro?"),
                   QStringLiteral("Eliminar Solicitud"), true))
        return;
    const QString titulo = QStringLiteral("Borrado de Solicitud");
    try {
        const long long folio = db::EnteroDe(iSolicitudes->valor(fila, 1));
        // An application another station already put in a batch stays: its line would be left
        // pointing at nothing.
        if (Global::Conexion.ejecutar(captura::SentenciaBorrar(folio)) != 1) {
            const db::SolicitudActual actual = db::LeerSolicitudActual(Global::Conexion, folio);
            if (actual.existe) {
                MensajeError(QStringLiteral(
                                 "La Solicitud %1 ya está en la Relación %2; no se puede eliminar.")
                                 .arg(folio)
                                 .arg(actual.relacion),
                             titulo);
                return;
            }
            // Deleted meanwhile from another station: the row goes, without a success message.
            iSolicitudes->quitarFila(fila);
            Renglones -= 1;
            MensajeInformacion(
                QStringLiteral("La Solicitud %1 ya había sido eliminada desde otra estación.")
                    .arg(folio),
                titulo);
            return;
        }
    } catch (const db::ErrorBD& e) {
        MensajeErrorBD(e);
        return;
    }
    iSolicitudes->quitarFila(fila);
    Renglones -= 1;
    MensajeInformacion(QStringLiteral("Solicitud Eliminada Correctamente!"), titulo);
}
