#include "demo/demo.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QVariantList>

#include "db/embedded/apoyo.h"
#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "demo/oficina.h"
#include "startup/cifrado.h"

namespace demo {

namespace {

using db::incrustado::Sentencia;
using detalle::DiaTexto;
using detalle::Hace;

void fila(sqlite3* db, const QString& sql, const QVariantList& valores) {
    Sentencia s(db, sql);
    for (int i = 0; i < valores.size(); ++i) s.enlazar(i + 1, valores[i]);
    s.ejecutar();
}

bool vacia(sqlite3* db, const char* tabla) {
    Sentencia s(db, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(tabla)));
    return s.paso() && s.entero(0) == 0;
}

void sembrar(sqlite3* db) {
    const QString sucursal = QStringLiteral(
        "INSERT INTO main.sucursales (sucursal, nombre_sucursal, "
        "centro_distribucion, tasa_iva) VALUES (?1, ?2, ?3, ?4)");
    // Names as the company types them: trailing blanks, accents, mixed case.
    fila(db, sucursal, {kSucursal, QStringLiteral("Matriz Centro "), kCentro, 0.16});
    fila(db, sucursal, {QStringLiteral("2"), QStringLiteral("Sucursal Norte"), kCentro, 0.16});
    fila(db, sucursal, {QStringLiteral("3"), QStringLiteral("Plaza Ávalos"), kCentro, 0.16});
    fila(db, sucursal, {QStringLiteral("15"), QStringLiteral("Sucursal Sur"), kCentro, 0.16});
    fila(db, sucursal,
         {QStringLiteral("40"), QStringLiteral("Juárez Centro"), QStringLiteral("JRZ"), 0.08});

    const QString persona = QStringLiteral(
        "INSERT INTO main.personal (persona, apellidos, nombres, sucursal, "
        "es_vendedor, es_verificador, contrasena) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    // Staff keys right-aligned in 7 characters; passwords stored enciphered.
    const auto clave = [](const QString& numero) {
        return numero.rightJustified(7, QLatin1Char(' '));
    };
    const QString otra = Cifrar(QStringLiteral("CLAVE"), 1);
    fila(db, persona,
         {clave(kUsuario), QStringLiteral("GARCIA LOPEZ"), QStringLiteral("ANA"), 1, 1, 0,
          Cifrar(kContrasena, 1)});
    fila(db, persona,
         {clave(QStringLiteral("102")), QStringLiteral("MARTINEZ RUIZ"), QStringLiteral("PEDRO"), 2,
          1, 0, otra});
    fila(db, persona,
         {clave(QStringLiteral("103")), QStringLiteral("Álvarez Soto"), QStringLiteral("Lucía"), 15,
          1, 0, otra});
    fila(db, persona,
         {clave(QStringLiteral("201")), QStringLiteral("HERNANDEZ DIAZ"), QStringLiteral("JORGE"),
          1, 0, 1, otra});
    fila(db, persona,
         {clave(QStringLiteral("202")), QStringLiteral("RAMIREZ CRUZ"), QStringLiteral("SOFIA"), 3,
          0, 1, otra});
    fila(db, persona,
         {clave(QStringLiteral("401")), QStringLiteral("TORRES VEGA"), QStringLiteral("LUIS"), 40,
          1, 1, otra});

    const QString cliente = QStringLiteral(
        "INSERT INTO main.clientes (cliente, Nombre_Cliente, RFC, es_Indeseable, "
        "es_Incobrable, domicilio, sucursal) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    // Two customers with the same name, so that a capture of it meets its homonyms.
    fila(db, cliente,
         {1, QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral("PELJ800101AB1"), 0, 0,
          QStringLiteral("Calle Aldama 120, Col. Centro"), kSucursal});
    fila(db, cliente,
         {2, QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral("PELJ750505XY2"), 0, 0,
          QStringLiteral("Av. Juárez 455, Col. Obrera"), QStringLiteral("2")});
    fila(db, cliente,
         {3, QStringLiteral("GOMEZ SANCHEZ MARIA"), QStringLiteral("GOSM900303AA3"), 1, 0,
          QStringLiteral("Calle 5 de Mayo 30"), kSucursal});
    fila(db, cliente,
         {4, QStringLiteral("RUIZ DIAZ CARLOS"), QStringLiteral("RUDC850707BB4"), 0, 1,
          QStringLiteral("Calle Ocampo 77"), QStringLiteral("15")});
    fila(db, cliente,
         {5, QStringLiteral("LOPEZ MARTINEZ ROSA"), QStringLiteral("LOMR920909CC5"), 0, 0,
          QStringLiteral("Av. Tecnológico 1200"), QStringLiteral("3")});
    fila(db, cliente,
         {6, QStringLiteral("NUÑEZ ORTIZ ELENA"), QStringLiteral("NUOE880808DD6"), 0, 0,
          QStringLiteral("Calle Niños Héroes 14"), kSucursal});

    const QString ticket = QStringLiteral(
        "INSERT INTO main.anticipos_clientes (documento, cliente, fecha, importe, "
        "saldo) VALUES (?1, ?2, ?3, ?4, ?5)");
    fila(db, ticket, {1001, 1, Hace(1, 11, 20), 500, 500});
    fila(db, ticket, {1002, 5, Hace(3, 16, 5), 1200, 800});
    fila(db, ticket, {1003, 6, Hace(0, 10, 0), 300, 300});
    fila(db, ticket, {1004, 2, Hace(2, 12, 40), 400, 0});  // spent: no balance left
    fila(db, ticket, {1005, 4, Hace(10, 13, 0), 900, 900});

    const QString promocion = QStringLiteral(
        "INSERT INTO norv.Promociones (Promocion, Nombre_promocion, Tipo_venta) VALUES (?1, ?2, "
        "?3)");
    fila(db, promocion, {1, QStringLiteral("Sin Intereses 6 Meses"), 4});
    fila(db, promocion, {2, QStringLiteral("pagos chiquitos "), 4});
    fila(db, promocion, {3, QStringLiteral("Contado Especial"), 1});

    fila(db,
         QStringLiteral("INSERT INTO norv.Programas_Version (Programa, Version, cierra, "
                        "envia_Email) VALUES (2, 3.0, 0, 0)"),
         {});

    const QString relacion = QStringLiteral(
        "INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, centro_distribucion, "
        "verificador, elaborada_por, fecha_entrega, fecha_recepcion_real, estado_actual) "
        "VALUES (?1, ?2, ?3, ?3, ?4, ?5, ?6)");
    fila(db, relacion,
         {1, kCentro, QStringLiteral("    201"), Hace(0, 8, 30), QVariant(),
          QStringLiteral("Entregada")});
    fila(db, relacion,
         {2, kCentro, QStringLiteral("    202"), Hace(11, 9, 0), Hace(9, 17, 0),
          QStringLiteral("Recibida")});

    const QString solicitud = QStringLiteral(
        "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Fecha_recepcion, "
        "Importe_Solicitud, Sucursal, Promocion, telefono, Nombre_Aval, apellidos_Aval, "
        "Rastreado, Documento, fecha_tienda, Vendedor, Relacion, estado_actual, comentarios) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    // Pending: received, in no batch.
    fila(db, solicitud,
         {1, 1, Hace(2, 10, 15), 5000, kSucursal, 1, QStringLiteral("6141234567890"),
          QStringLiteral("ROSA"), QStringLiteral("LOPEZ MARTINEZ"), 1, 1001, DiaTexto(1),
          QStringLiteral("    101"), QVariant(), QStringLiteral("Recibida"), QVariant()});
    fila(db, solicitud,
         {2, 6, Hace(0, 9, 30), 3500, QStringLiteral("3"), 2, QStringLiteral("6149876543210"),
          QString(), QString(), 1, 1003, DiaTexto(0), QStringLiteral("    102"), QVariant(),
          QStringLiteral("Recibida"), QVariant()});
    // Rejected before any batch.
    fila(db, solicitud,
         {3, 3, Hace(1, 12, 0), 2000, kSucursal, 1, QStringLiteral("6145550001111"), QString(),
          QString(), 1, 1001, DiaTexto(1), QStringLiteral("    101"), QVariant(),
          QStringLiteral("Rechazada"), QStringLiteral("CLIENTE INDESEABLE")});
    // Out with the verifier since this morning.
    fila(db, solicitud,
         {4, 2, Hace(1, 11, 0), 4000, QStringLiteral("2"), 1, QStringLiteral("6147770002222"),
          QStringLiteral("JUAN"), QStringLiteral("PEREZ LOPEZ"), 0, 1004, DiaTexto(2),
          QStringLiteral("    102"), 1, QStringLiteral("Entregada"), QVariant()});
    // Verified and authorised: the customer's credit.
    fila(db, solicitud,
         {5, 5, Hace(12, 13, 45), 6000, QStringLiteral("15"), 1, QStringLiteral("6143330004444"),
          QStringLiteral("JUAN"), QStringLiteral("PEREZ LOPEZ"), 1, 1002, DiaTexto(13),
          QStringLiteral("    103"), 2, QStringLiteral("Autorizada"),
          QStringLiteral("BUENAS REFERENCIAS")});
    // Another distribution centre: never listed by the demo branch.
    fila(db, solicitud,
         {6, 4, Hace(1, 15, 10), 2500, QStringLiteral("40"), 1, QStringLiteral("6561112223333"),
          QString(), QString(), 1, 1005, DiaTexto(10), QStringLiteral("    401"), QVariant(),
          QStringLiteral("Recibida"), QVariant()});

    const QString linea = QStringLiteral(
        "INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, Solicitud, tiene_cita, "
        "fecha_verificacion, estado_Actual, Tipo_Verificacion, Linea_Autorizada, comentarios, "
        "recomienda_verificador) VALUES (?1, ?2, 1, ?3, ?4, ?5, ?6, ?7, ?8)");
    fila(db, linea,
         {1, 4, QVariant(), QStringLiteral("Entregada"), QVariant(), 0, QVariant(), QVariant()});
    fila(db, linea,
         {2, 5, Hace(9, 16, 0), QStringLiteral("Autorizada"), QStringLiteral("Normal"), 15000,
          QStringLiteral("BUENAS REFERENCIAS"), QStringLiteral("Recomienda")});
}

}  // namespace

namespace {

void Sembrar(db::MotorIncrustado& motor, bool oficina) {
    sqlite3* db = motor.manejador();
    for (const char* tabla : {"main.sucursales", "main.personal", "main.clientes",
                              "norv.Solicitudes_cliente_Nuevo", "norv.Promociones"})
        if (!vacia(db, tabla))
            throw db::ErrorBD(QStringLiteral("La base de datos de %1 ya tiene datos; la "
                                             "demostración se siembra en una base vacía.")
                                  .arg(motor.carpeta()));
    motor.iniciarTransaccion();
    try {
        sembrar(db);
        if (oficina) detalle::SembrarOficina(db);
        motor.confirmarTransaccion();
    } catch (...) {
        motor.deshacerTransaccion();
        throw;
    }
}

}  // namespace

void SembrarMuestra(db::MotorIncrustado& motor) { Sembrar(motor, false); }

void SembrarDemo(db::MotorIncrustado& motor) { Sembrar(motor, true); }

}  // namespace demo
