// Every statement form the windows send, from the builders the windows send them with, run on
// the embedded engine filled with the demo's hand-written sample: the rows that come back or
// change, and the guards that keep a write from landing on a row another station changed.
#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "batches/sentencias_relaciones.h"
#include "capture/sentencias_captura.h"
#include "db/comando.h"
#include "db/conexion.h"
#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"
#include "db/recordset.h"
#include "demo/demo.h"
#include "login/sentencias_entrada.h"
#include "reception/sentencias_recepcion.h"
#include "rejections/sentencias_rechazos.h"
#include "startup/cifrado.h"
#include "startup/sentencias_arranque.h"
#include "tracking/sentencias_rastreo.h"
#include "ui/lista_personal.h"

namespace {

const QString kCentro = QStringLiteral("CHI");

QString corta(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }
QDate hoy() { return QDate::currentDate(); }

}  // namespace

using personal::Rol;

class FormasSentenciaTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<db::Conexion> con_;

    // All rows of a statement, read through the program's recordset.
    QList<QVariantList> filas(const QString& sql) {
        db::Recordset rs;
        rs.abrir(sql, *con_);
        QList<QVariantList> r;
        while (!rs.eof()) {
            QVariantList f;
            for (int i = 0; i < rs.numeroCampos(); ++i) f << rs.campo(i);
            r << f;
            rs.siguiente();
        }
        return r;
    }
    QStringList nombres(const QString& sql) {
        db::Recordset rs;
        rs.abrir(sql, *con_);
        QStringList n;
        for (int i = 0; i < rs.numeroCampos(); ++i) n << rs.nombreCampo(i);
        return n;
    }
    QVariantList columna(const QString& sql, int c) {
        QVariantList r;
        for (const auto& f : filas(sql)) r << f.value(c);
        return r;
    }
    QVariant folio() {
        db::Comando c(*con_, QStringLiteral("REGRESA_FOLIO"));
        c.agregarParametro(QStringLiteral("@Nfolio"), db::TipoParametro::Integer,
                           db::Direccion::Salida, 8);
        c.ejecutar();
        return c.parametro(QStringLiteral("@nfolio"));
    }
    QVariantList solicitud(const QVariant& n, const QString& columnas) {
        const auto f =
            filas("SELECT " + columnas +
                  " FROM norv.dbo.Solicitudes_cliente_Nuevo WHERE solicitud = " + n.toString());
        return f.value(0);
    }
    // The line as the reception search reads it, for the guard of its next save.
    static recepcion::LineaLeida leida(const QVariantList& f) {
        using recepcion::Busqueda;
        auto de = [&](Busqueda b) {
            return f.value(db::Posicion(recepcion::kColumnasBusqueda, b));
        };
        return {de(Busqueda::Estado),     de(Busqueda::Tipo),
                de(Busqueda::Linea),      de(Busqueda::Comentarios),
                de(Busqueda::Recomienda), !de(Busqueda::FechaVerificacion).isNull()};
    }
    long long guardarLinea(const recepcion::Resultado& r, const recepcion::LineaLeida& l) {
        return con_->ejecutar(recepcion::SentenciaLinea(r) + recepcion::CondicionSinCambios(l));
    }
    QVariantList historial(const QString& apellidos, const QString& nombres) {
        db::Comando c(*con_, QStringLiteral("NORV.dbo.Rep_Historial_Norv_Cliente"));
        c.agregarParametro(QStringLiteral("@cApellidos"), db::TipoParametro::Char,
                           db::Direccion::Entrada, 60, apellidos);
        c.agregarParametro(QStringLiteral("@cNombres"), db::TipoParametro::Char,
                           db::Direccion::Entrada, 60, nombres);
        auto r = c.ejecutarConResultado();
        if (!r || !r->siguiente()) return {};
        QVariantList f;
        for (int i = 0; i < r->columnas(); ++i) f << r->valor(i);
        return f;
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        auto motor = std::make_unique<db::MotorIncrustado>(dir_->path());
        demo::SembrarMuestra(*motor);
        con_ = std::make_unique<db::Conexion>();
        con_->abrir(std::move(motor));
    }
    void cleanup() {
        con_.reset();
        dir_.reset();
    }

    void arranqueYEntrada() {
        const auto suc = filas(arranque::SentenciaSucursal(demo::kSucursal));
        QCOMPARE(suc.size(), 1);
        QCOMPARE(suc[0][0].toString(), kCentro);
        QCOMPARE(suc[0][1].toDouble(), 0.16);
        QCOMPARE(suc[0][2].toString(), QStringLiteral("Matriz Centro "));
        QVERIFY(filas(arranque::SentenciaSucursal(QStringLiteral("99"))).isEmpty());

        const QString clave = demo::kUsuario.rightJustified(7, QLatin1Char(' '));
        const auto u = filas(entrada::SentenciaPersona(clave));
        QCOMPARE(u.size(), 1);
        QCOMPARE(u[0][0].toString(), QStringLiteral("GARCIA LOPEZ ANA"));
        QCOMPARE(u[0][1].toString().size(), 20);
        QCOMPARE(Cifrar(u[0][1].toString().trimmed(), 0), demo::kContrasena);
        QVERIFY(filas(entrada::SentenciaPersona(QStringLiteral("    999"))).isEmpty());
    }

    void listasDeLaCaptura() {
        QCOMPARE(filas(captura::SentenciaSucursales(kCentro)),
                 QList<QVariantList>({{QStringLiteral("1"), QStringLiteral("Matriz Centro ")},
                                      {QStringLiteral("3"), QStringLiteral("Plaza Ávalos")},
                                      {QStringLiteral("2"), QStringLiteral("Sucursal Norte")},
                                      {QStringLiteral("15"), QStringLiteral("Sucursal Sur")}}));
        // Sorted without regard to case: "pagos" before "Sin"; the other sale type left out.
        QCOMPARE(columna(captura::SentenciaPromociones(), 0), QVariantList({qint64(2), qint64(1)}));
        QCOMPARE(columna(captura::SentenciaPromociones(), 1).value(0).toString(),
                 QStringLiteral("pagos chiquitos "));
        // Surnames, then names; the accented Á beside A; other centres left out.
        QCOMPARE(filas(personal::SentenciaLista(kCentro, Rol::Vendedor)),
                 QList<QVariantList>({{QStringLiteral("    103"), QStringLiteral("Álvarez Soto"),
                                       QStringLiteral("Lucía")},
                                      {QStringLiteral("    101"), QStringLiteral("GARCIA LOPEZ"),
                                       QStringLiteral("ANA")},
                                      {QStringLiteral("    102"), QStringLiteral("MARTINEZ RUIZ"),
                                       QStringLiteral("PEDRO")}}));
        QCOMPARE(columna(personal::SentenciaLista(QStringLiteral("JRZ"), Rol::Vendedor), 0),
                 QVariantList({QStringLiteral("    401")}));
        QVERIFY(filas(personal::SentenciaLista(QString(), Rol::Vendedor)).isEmpty());
    }

    void ticketYClaves() {
        QCOMPARE(filas(captura::SentenciaTicket(1001)),
                 QList<QVariantList>({{QDateTime(hoy().addDays(-1), QTime(11, 20))}}));
        QVERIFY(filas(captura::SentenciaTicket(1004)).isEmpty());  // no balance left
        QVERIFY(filas(captura::SentenciaTicket(777)).isEmpty());
        QCOMPARE(filas(captura::SentenciaClaveSucursal(15)),
                 QList<QVariantList>({{QStringLiteral("15")}}));
        QCOMPARE(filas(captura::SentenciaClaveSucursal(1)),
                 QList<QVariantList>({{QStringLiteral("1")}}));
        QVERIFY(filas(captura::SentenciaClaveSucursal(5)).isEmpty());
        QCOMPARE(filas(personal::SentenciaClave(101)),
                 QList<QVariantList>({{QStringLiteral("    101")}}));
        QCOMPARE(filas(personal::SentenciaClave(201)),
                 QList<QVariantList>({{QStringLiteral("    201")}}));
        QVERIFY(filas(personal::SentenciaClave(999)).isEmpty());
    }

    void homonimosYSusVerificaciones() {
        QCOMPARE(columna(captura::SentenciaHomonimos(QStringLiteral("PEREZ LOPEZ JUAN")), 0),
                 QVariantList({qint64(2)}));
        QCOMPARE(columna(captura::SentenciaHomonimos(QStringLiteral("perez lopez juan")), 0),
                 QVariantList({qint64(2)}));
        QCOMPARE(columna(captura::SentenciaHomonimos(QStringLiteral("nuñez ortiz elena")), 0),
                 QVariantList({qint64(1)}));
        QCOMPARE(columna(captura::SentenciaHomonimos(QStringLiteral("PEREZ JUAN")), 0),
                 QVariantList({qint64(0)}));

        const QString clientes = captura::SentenciaClientes(QStringLiteral("PEREZ LOPEZ JUAN"));
        QCOMPARE(nombres(clientes),
                 QStringList({"Cliente", "RFC", "Nombre Cliente", "Créditos", "Domicilio"}));
        QCOMPARE(
            filas(clientes),
            QList<QVariantList>(
                {{qint64(1), QStringLiteral("PELJ800101AB1"), QStringLiteral("PEREZ LOPEZ JUAN"),
                  qint64(0), QStringLiteral("Calle Aldama 120, Col. Centro")},
                 {qint64(2), QStringLiteral("PELJ750505XY2"), QStringLiteral("PEREZ LOPEZ JUAN"),
                  qint64(0), QStringLiteral("Av. Juárez 455, Col. Obrera")}}));
        QCOMPARE(columna(captura::SentenciaClientes(QStringLiteral("LOPEZ MARTINEZ ROSA")), 3),
                 QVariantList({qint64(1)}));

        QCOMPARE(
            nombres(captura::SentenciaVerificaciones(2)),
            QStringList({"solicitud", "F.Recibido", "nombre_sucursal", "Verificador", "relacion",
                         "F.Verificacion", "F.Respuesta", "Estado Solicitud", "comentarios"}));
        // Out with the verifier since this morning.
        QCOMPARE(filas(captura::SentenciaVerificaciones(2)),
                 QList<QVariantList>(
                     {{qint64(4), corta(hoy().addDays(-1)), QStringLiteral("Sucursal Norte"),
                       QStringLiteral("HERNANDEZ DIAZ JORGE"), qint64(1), corta(hoy()), QVariant(),
                       QStringLiteral("Entregada"), QVariant()}}));
        // Never in a batch: the batch columns are empty.
        QCOMPARE(filas(captura::SentenciaVerificaciones(1)),
                 QList<QVariantList>(
                     {{qint64(1), corta(hoy().addDays(-2)), QStringLiteral("Matriz Centro "),
                       QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}}));
        const auto autorizada = filas(captura::SentenciaVerificaciones(5));
        QCOMPARE(autorizada.size(), 1);
        QCOMPARE(autorizada[0][6].toString(), corta(hoy().addDays(-9)));
        QCOMPARE(autorizada[0][7].toString(), QStringLiteral("Autorizada"));
        QCOMPARE(autorizada[0][8].toString(), QStringLiteral("BUENAS REFERENCIAS"));
        QVERIFY(filas(captura::SentenciaVerificaciones(99)).isEmpty());
    }

    void altaYBajaDeSolicitudes() {
        // A new customer: the two procedures, the insert, its folio.
        db::Comando guarda(*con_, QStringLiteral("Guarda_Cliente_norv"));
        guarda.agregarParametro(QStringLiteral("@cSucursal"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 7, demo::kSucursal);
        guarda.agregarParametro(QStringLiteral("@cRFC"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 20, QString());
        guarda.agregarParametro(QStringLiteral("@cNombreCliente"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 80, QStringLiteral("SOTO ARCE MARTA"));
        guarda.agregarParametro(QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                                db::Direccion::Salida, 4);
        guarda.ejecutar();
        const double cliente = guarda.parametro(QStringLiteral("@ncliente")).toDouble();
        QCOMPARE(cliente, 7.0);
        QCOMPARE(columna(captura::SentenciaHomonimos(QStringLiteral("SOTO ARCE MARTA")), 0),
                 QVariantList({qint64(1)}));

        captura::AltaSolicitud a{true,
                                 cliente,
                                 4500,
                                 QStringLiteral("15     "),
                                 2,
                                 QStringLiteral("6141112223334"),
                                 QStringLiteral("PEDRO"),
                                 QStringLiteral("SOTO ARCE"),
                                 1001,
                                 hoy().addDays(-1),
                                 QStringLiteral("    103")};
        QCOMPARE(con_->ejecutar(captura::SentenciaAlta(a)), 1LL);
        const QVariant nuevo = folio();
        QCOMPARE(nuevo, QVariant(qint64(7)));  // after the six of the demo
        const auto f = solicitud(
            nuevo,
            QStringLiteral(
                "Cliente, Fecha_recepcion, Importe_Solicitud, Sucursal, Promocion, telefono, "
                "Nombre_Aval, apellidos_Aval, Rastreado, Documento, fecha_tienda, Vendedor, "
                "Relacion, estado_actual"));
        QCOMPARE(f.mid(2),
                 QVariantList({4500.0, QStringLiteral("15     "), qint64(2),
                               QStringLiteral("6141112223334"), QStringLiteral("PEDRO"),
                               QStringLiteral("SOTO ARCE"), qint64(1), qint64(1001),
                               QDateTime(hoy().addDays(-1), QTime(0, 0)), QStringLiteral("    103"),
                               QVariant(), QStringLiteral("Recibida")}));
        QCOMPARE(f[0].toDouble(), cliente);
        QCOMPARE(f[1].toDateTime().date(), hoy());
        QVERIFY(columna(relaciones::SentenciaPendientes(kCentro), 0).contains(nuevo));

        // An existing customer picked among the homonyms, without a guarantor.
        captura::AltaSolicitud b{false,
                                 2,
                                 800,
                                 QStringLiteral("1      "),
                                 1,
                                 QStringLiteral("6140000000001"),
                                 QString(),
                                 QString(),
                                 1003,
                                 hoy(),
                                 QStringLiteral("    101")};
        con_->ejecutar(captura::SentenciaAlta(b));
        const QVariant existente = folio();
        QCOMPARE(existente, QVariant(qint64(8)));
        QCOMPARE(
            solicitud(existente,
                      QStringLiteral("Cliente, Rastreado, Nombre_Aval, apellidos_Aval, Sucursal")),
            QVariantList({qint64(2), qint64(0), QString(), QString(), QStringLiteral("1      ")}));
        QCOMPARE(columna(captura::SentenciaVerificaciones(2), 0),
                 QVariantList({qint64(4), qint64(8)}));

        QCOMPARE(con_->ejecutar(captura::SentenciaBorrar(nuevo.toLongLong())), 1LL);
        QVERIFY(solicitud(nuevo, QStringLiteral("solicitud")).isEmpty());
        QCOMPARE(con_->ejecutar(captura::SentenciaBorrar(nuevo.toLongLong())), 0LL);
        QCOMPARE(solicitud(existente, QStringLiteral("solicitud")), QVariantList({qint64(8)}));
        // One already in a batch stays.
        QCOMPARE(con_->ejecutar(captura::SentenciaBorrar(4)), 0LL);
        QCOMPARE(solicitud(4, QStringLiteral("Relacion")), QVariantList({qint64(1)}));
    }

    void relacionDeVerificacion() {
        QCOMPARE(filas(personal::SentenciaLista(kCentro, Rol::Verificador)),
                 QList<QVariantList>({{QStringLiteral("    201"), QStringLiteral("HERNANDEZ DIAZ"),
                                       QStringLiteral("JORGE")},
                                      {QStringLiteral("    202"), QStringLiteral("RAMIREZ CRUZ"),
                                       QStringLiteral("SOFIA")}}));
        const QString clave = filas(personal::SentenciaClave(201))
                                  .value(0)
                                  .value(0)
                                  .toString()
                                  .leftJustified(7, ' ', true);
        QCOMPARE(clave, QStringLiteral("    201"));

        // Pending: no batch, not rejected, this centre.
        const QString pendientes = relaciones::SentenciaPendientes(kCentro);
        QCOMPARE(
            filas(pendientes),
            QList<QVariantList>({{qint64(1), QStringLiteral("Matriz Centro "),
                                  corta(hoy().addDays(-2)), QStringLiteral("PEREZ LOPEZ JUAN")},
                                 {qint64(2), QStringLiteral("Plaza Ávalos"), corta(hoy()),
                                  QStringLiteral("NUÑEZ ORTIZ ELENA")}}));

        QCOMPARE(con_->ejecutar(relaciones::SentenciaAlta(kCentro, clave)), 1LL);
        const QVariant n = folio();
        QCOMPARE(n, QVariant(qint64(3)));
        const qint64 relacion = n.toLongLong();
        for (const QVariant& s : columna(pendientes, 0)) {
            QCOMPARE(con_->ejecutar(relaciones::SentenciaLinea(relacion, s.toLongLong())), 1LL);
            QCOMPARE(con_->ejecutar(relaciones::SentenciaAsignar(relacion, s.toLongLong())), 1LL);
            // Taken already: a second batch does not get it.
            QCOMPARE(con_->ejecutar(relaciones::SentenciaAsignar(9, s.toLongLong())), 0LL);
        }
        // Rejected applications are not pending.
        QCOMPARE(con_->ejecutar(relaciones::SentenciaAsignar(relacion, 3)), 0LL);
        QCOMPARE(folio(), n);  // the lines have no identity of their own
        QVERIFY(filas(pendientes).isEmpty());

        QCOMPARE(filas("SELECT centro_distribucion, verificador, elaborada_por, estado_actual, "
                       "fecha_recepcion_real "
                       "FROM norv.dbo.Relaciones_Solicitudes_credito WHERE relacion = 3"),
                 QList<QVariantList>(
                     {{kCentro, clave, clave, QStringLiteral("Entregada"), QVariant()}}));
        QCOMPARE(
            filas("SELECT Solicitud, tiene_cita, estado_Actual, fecha_verificacion FROM "
                  "norv.dbo.detalles_Relaciones_Solicitudes "
                  "WHERE Relacion = 3 ORDER BY Solicitud"),
            QList<QVariantList>({{qint64(1), qint64(1), QStringLiteral("Entregada"), QVariant()},
                                 {qint64(2), qint64(1), QStringLiteral("Entregada"), QVariant()}}));
        QCOMPARE(solicitud(1, QStringLiteral("Relacion, estado_actual")),
                 QVariantList({qint64(3), QStringLiteral("Recibida")}));
    }

    void listaDeRelaciones() {
        con_->ejecutar(relaciones::SentenciaAlta(QStringLiteral("JRZ"),
                                                 QStringLiteral("    401")));  // never listed here
        con_->ejecutar(relaciones::SentenciaAlta(kCentro, QStringLiteral("    202")));
        const QString lista = relaciones::SentenciaRelaciones(kCentro, hoy().addDays(-5), hoy());
        QCOMPARE(nombres(lista), QStringList({"Relación", "Entrega", "Recepción", "Verificador",
                                              "Estado Relación"}));
        const auto r = filas(lista);
        QCOMPARE(columna(lista, 0), QVariantList({qint64(1), qint64(4)}));
        // This morning at 8:30, or earlier when the demo is made before then.
        QCOMPARE(r[0][1].toDateTime().date(), hoy());
        QVERIFY(r[0][1].toDateTime().time() <= QTime(8, 30));
        QVERIFY(r[0][2].isNull());
        QCOMPARE(r[0][3].toString(), QStringLiteral("HERNANDEZ DIAZ JORGE"));
        QCOMPARE(r[1][3].toString(), QStringLiteral("RAMIREZ CRUZ SOFIA"));
        QCOMPARE(r[0][4].toString(), QStringLiteral("Entregada"));

        const auto antes =
            filas(relaciones::SentenciaRelaciones(kCentro, hoy().addDays(-11), hoy().addDays(-11)));
        QCOMPARE(antes.size(), 1);
        QCOMPARE(antes[0][0], QVariant(qint64(2)));
        QCOMPARE(antes[0][2], QVariant(QDateTime(hoy().addDays(-9), QTime(17, 0))));
        QCOMPARE(antes[0][4].toString(), QStringLiteral("Recibida"));
        QVERIFY(
            filas(relaciones::SentenciaRelaciones(kCentro, hoy(), hoy().addDays(-1))).isEmpty());
    }

    void recepcionYResultados() {
        const QString uno = recepcion::SentenciaBusqueda(QStringLiteral("    201"), kCentro,
                                                         hoy().addDays(-6), hoy().addDays(-1));
        QCOMPARE(nombres(uno).mid(0, 2), QStringList({"Relación", "Solicitud Cliente"}));
        QCOMPARE(nombres(uno).mid(4),
                 QStringList({"Fecha Recepción", "Fecha Verificación", "cliente", "Nombre Cliente",
                              "Estado Relación", "Linea Autorizada", "Tipo Verificación",
                              "Comentarios", "R.Verificador"}));
        QCOMPARE(
            filas(uno),
            QList<QVariantList>({{qint64(1), qint64(4), QStringLiteral("Sucursal Norte"),
                                  QStringLiteral("HERNANDEZ DIAZ JORGE"),
                                  QDateTime(hoy().addDays(-1), QTime(11, 0)), QVariant(), qint64(2),
                                  QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral("Entregada"),
                                  0.0, QVariant(), QVariant(), QVariant()}}));
        QVERIFY(filas(recepcion::SentenciaBusqueda(QStringLiteral("    202"), kCentro,
                                                   hoy().addDays(-6), hoy().addDays(-1)))
                    .isEmpty());
        // All verifiers of the centre, ordered by branch name.
        const QString todos =
            recepcion::SentenciaBusqueda(QString(), kCentro, hoy().addDays(-12), hoy().addDays(-1));
        QCOMPARE(columna(todos, 1), QVariantList({qint64(4), qint64(5)}));
        QCOMPARE(columna(todos, 2),
                 QVariantList({QStringLiteral("Sucursal Norte"), QStringLiteral("Sucursal Sur")}));
        QVERIFY(filas(recepcion::SentenciaBusqueda(QString(), QStringLiteral("JRZ"),
                                                   hoy().addDays(-12), hoy()))
                    .isEmpty());

        // First save of the line stamps its date; the application follows the line.
        const recepcion::LineaLeida comoSeLeyo = leida(filas(uno)[0]);
        QCOMPARE(
            guardarLinea({1, 4, false, QStringLiteral("Autorizada"), QStringLiteral("Aval-Visita"),
                          12000, QStringLiteral("TODO EN ORDEN"), QStringLiteral("Recomienda")},
                         comoSeLeyo),
            1LL);
        QCOMPARE(con_->ejecutar(recepcion::SentenciaSolicitud(4, QStringLiteral("Autorizada"),
                                                              QStringLiteral("TODO EN ORDEN"))),
                 1LL);
        auto f = filas(uno)[0];
        const QDateTime verificada = f[5].toDateTime();
        QCOMPARE(verificada.date(), hoy());
        QCOMPARE(f.mid(8),
                 QVariantList({QStringLiteral("Autorizada"), 12000.0, QStringLiteral("Aval-Visita"),
                               QStringLiteral("TODO EN ORDEN"), QStringLiteral("Recomienda")}));
        QCOMPARE(solicitud(4, QStringLiteral("estado_actual, comentarios")),
                 QVariantList({QStringLiteral("Autorizada"), QStringLiteral("TODO EN ORDEN")}));
        QCOMPARE(columna(captura::SentenciaClientes(QStringLiteral("PEREZ LOPEZ JUAN")), 3),
                 QVariantList({qint64(0), qint64(1)}));

        // A later save keeps the date of the first one; one that still holds the line as it
        // was first read changes nothing.
        const recepcion::Resultado rechazo{1,
                                           4,
                                           true,
                                           QStringLiteral("Rechazada"),
                                           QString(),
                                           0,
                                           QStringLiteral("DOMICILIO FALSO"),
                                           QStringLiteral("No Recomienda")};
        QCOMPARE(guardarLinea(rechazo, comoSeLeyo), 0LL);
        QCOMPARE(guardarLinea(rechazo, leida(f)), 1LL);
        f = filas(uno)[0];
        QCOMPARE(f[5].toDateTime(), verificada);
        QCOMPARE(f.mid(8), QVariantList({QStringLiteral("Rechazada"), 0.0, QString(),
                                         QStringLiteral("DOMICILIO FALSO"),
                                         QStringLiteral("No Recomienda")}));
        QCOMPARE(con_->ejecutar(recepcion::SentenciaLinea({9, 4, true, QStringLiteral("Autorizada"),
                                                           QString(), 0, QString(), QString()})),
                 0LL);  // a line removed meanwhile: nothing changes

        // Taking the application out of its batch, only while its line there is "Entregada".
        QCOMPARE(con_->ejecutar(recepcion::SentenciaQuitar(4, 1)), 0LL);
        QCOMPARE(guardarLinea(
                     {1, 4, true, QStringLiteral("Entregada"), QString(), 0, QString(), QString()},
                     leida(f)),
                 1LL);
        QCOMPARE(con_->ejecutar(recepcion::SentenciaQuitar(4, 9)), 0LL);
        QCOMPARE(con_->ejecutar(recepcion::SentenciaQuitar(4, 1)), 1LL);
        QCOMPARE(con_->ejecutar(recepcion::SentenciaBorrarLineas(4)), 1LL);
        QVERIFY(filas(uno).isEmpty());
        QCOMPARE(solicitud(4, QStringLiteral("Relacion")), QVariantList({QVariant()}));
        QCOMPARE(filas("SELECT COUNT(*) FROM norv.dbo.detalles_Relaciones_Solicitudes WHERE "
                       "Solicitud = 4"),
                 QList<QVariantList>({{qint64(0)}}));
    }

    void rechazosYReactivaciones() {
        const QString busca = rechazos::SentenciaSolicitudes(kCentro, hoy().addDays(-2), hoy());
        QCOMPARE(nombres(busca), QStringList({"Solicitud", "Sucursal", "Fecha Recepción",
                                              "Nombre Cliente", "Estado Solicitud"}));
        QCOMPARE(filas(busca),
                 QList<QVariantList>(
                     {{qint64(1), QStringLiteral("Matriz Centro"), corta(hoy().addDays(-2)),
                       QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral("Recibida")},
                      {qint64(2), QStringLiteral("Plaza Ávalos"), corta(hoy()),
                       QStringLiteral("NUÑEZ ORTIZ ELENA"), QStringLiteral("Recibida")},
                      {qint64(3), QStringLiteral("Matriz Centro"), corta(hoy().addDays(-1)),
                       QStringLiteral("GOMEZ SANCHEZ MARIA"), QStringLiteral("Rechazada")}}));
        QCOMPARE(columna(rechazos::SentenciaSolicitudes(kCentro, hoy(), hoy()), 0),
                 QVariantList({qint64(2)}));
        QVERIFY(filas(rechazos::SentenciaSolicitudes(kCentro, hoy().addDays(1), hoy())).isEmpty());

        QCOMPARE(con_->ejecutar(rechazos::SentenciaRechazar(2, QStringLiteral("SIN REFERENCIAS"))),
                 1LL);
        // Only a received one: a rejected one stays as it is.
        QCOMPARE(con_->ejecutar(rechazos::SentenciaRechazar(3, QStringLiteral("OTRA VEZ"))), 0LL);
        QCOMPARE(solicitud(2, QStringLiteral("estado_actual, comentarios")),
                 QVariantList({QStringLiteral("Rechazada"), QStringLiteral("SIN REFERENCIAS")}));
        QCOMPARE(columna(relaciones::SentenciaPendientes(kCentro), 0), QVariantList({qint64(1)}));

        // Only while it is in the state listed, compared as the server compares texts.
        QCOMPARE(con_->ejecutar(rechazos::SentenciaReactivar(3, QStringLiteral("Recibida"))), 0LL);
        QCOMPARE(con_->ejecutar(rechazos::SentenciaReactivar(3, QStringLiteral("rechazada "))),
                 1LL);
        QCOMPARE(
            solicitud(3, QStringLiteral("estado_actual, comentarios")),
            QVariantList({QStringLiteral("Recibida"), QStringLiteral("SOLICITUD REACTIVADA")}));
        QCOMPARE(columna(relaciones::SentenciaPendientes(kCentro), 0),
                 QVariantList({qint64(1), qint64(3)}));
    }

    void rastreoDeClientesYAvales() {
        QCOMPARE(filas(rastreo::SentenciaCliente(4)),
                 QList<QVariantList>({{true, false}}));  // uncollectible
        for (const QVariant& v : filas(rastreo::SentenciaCliente(4)).value(0))
            QCOMPARE(v.typeId(), QMetaType::Bool);
        QCOMPARE(filas(rastreo::SentenciaCliente(3)),
                 QList<QVariantList>({{false, true}}));  // undesirable
        QCOMPARE(filas(rastreo::SentenciaCliente(1)), QList<QVariantList>({{false, false}}));
        QVERIFY(filas(rastreo::SentenciaCliente(99)).isEmpty());

        QCOMPARE(filas(rastreo::SentenciaAval(1)),
                 QList<QVariantList>({{QStringLiteral("LOPEZ MARTINEZ"), QStringLiteral("ROSA")}}));
        QCOMPARE(filas(rastreo::SentenciaAval(2)), QList<QVariantList>({{QString(), QString()}}));

        // A customer with a credit; the guarantor of an authorised credit; bad records.
        QCOMPARE(historial(QStringLiteral("LOPEZ MARTINEZ"), QStringLiteral("ROSA")),
                 QVariantList({qint64(5), QString(), false, false, false}));
        QCOMPARE(
            historial(QStringLiteral("perez lopez"), QStringLiteral("juan")),
            QVariantList({qint64(0), QStringLiteral("LOPEZ MARTINEZ ROSA"), false, true, false}));
        QCOMPARE(historial(QStringLiteral("RUIZ DIAZ"), QStringLiteral("CARLOS")),
                 QVariantList({qint64(0), QString(), true, false, false}));
        QCOMPARE(historial(QStringLiteral("GOMEZ SANCHEZ"), QStringLiteral("MARIA")),
                 QVariantList({qint64(0), QString(), false, false, true}));
        QCOMPARE(historial(QStringLiteral("NADIE"), QStringLiteral("NADA")),
                 QVariantList({qint64(0), QString(), false, false, false}));

        QCOMPARE(con_->ejecutar(rastreo::SentenciaRechazar(1, QString(), QVariant())), 0LL);
        QCOMPARE(
            con_->ejecutar(rastreo::SentenciaRechazar(1, QString(), QStringLiteral("Recibida"))),
            1LL);
        QCOMPARE(solicitud(1, QStringLiteral("estado_actual, comentarios")),
                 QVariantList({QStringLiteral("Rechazada"), QString()}));
    }

    void versionPublicada() {
        const auto v = filas(captura::SentenciaVersion());
        QCOMPARE(v, QList<QVariantList>({{3.0, false, false}}));
        QCOMPARE(v[0][0].typeId(), QMetaType::Double);
        QCOMPARE(v[0][1].typeId(), QMetaType::Bool);
        QCOMPARE(v[0][2].typeId(), QMetaType::Bool);
        con_->ejecutar(QStringLiteral(
            "UPDATE norv.dbo.Programas_Version SET Version = 3.1, cierra = 1 WHERE Programa = 2"));
        QCOMPARE(filas(captura::SentenciaVersion()), QList<QVariantList>({{3.1, true, false}}));
    }

    void procedimientosPorComando() {
        db::Comando guarda(*con_, QStringLiteral("Guarda_Cliente_norv"));
        guarda.agregarParametro(QStringLiteral("@cSucursal"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 7, demo::kSucursal);
        guarda.agregarParametro(QStringLiteral("@cRFC"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 20, QString());
        guarda.agregarParametro(QStringLiteral("@cNombreCliente"), db::TipoParametro::Char,
                                db::Direccion::Entrada, 80, QStringLiteral("O'HIGGINS PEÑA LUIS"));
        guarda.agregarParametro(QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                                db::Direccion::Salida, 4);
        QVERIFY(guarda.ejecutarConResultado() == nullptr);
        const QVariant cliente = guarda.parametro(QStringLiteral("@ncliente"));
        QCOMPARE(cliente, QVariant(qint64(7)));
        QCOMPARE(filas("SELECT Nombre_Cliente, RFC, sucursal, es_Indeseable, es_Incobrable FROM "
                       "clientes WHERE cliente = 7"),
                 QList<QVariantList>({{QStringLiteral("O'HIGGINS PEÑA LUIS"), QString(),
                                       QStringLiteral("1      "), false, false}}));
        QCOMPARE(folio(), cliente);

        db::Comando facil(*con_, QStringLiteral("norv.dbo.Cliente_Compra_Facil"));
        facil.agregarParametro(QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                               db::Direccion::Entrada, 4, cliente.toDouble());
        facil.agregarParametro(QStringLiteral("@cNombres"), db::TipoParametro::Char,
                               db::Direccion::Entrada, 50, QStringLiteral("LUIS"));
        facil.agregarParametro(QStringLiteral("@cPaterno"), db::TipoParametro::Char,
                               db::Direccion::Entrada, 50, QStringLiteral("O'HIGGINS"));
        facil.agregarParametro(QStringLiteral("@cMaterno"), db::TipoParametro::Char,
                               db::Direccion::Entrada, 50, QStringLiteral("PEÑA"));
        facil.agregarParametro(QStringLiteral("@nEmpresa"), db::TipoParametro::Integer,
                               db::Direccion::Entrada, 4, 0);
        facil.agregarParametro(QStringLiteral("@dNacimiento"), db::TipoParametro::DBTimeStamp,
                               db::Direccion::Entrada, 8, QStringLiteral("1900/01/01"));
        facil.ejecutar();
        QCOMPARE(filas("SELECT Nombres, Paterno, Materno, Empresa, Nacimiento FROM "
                       "norv.dbo.Clientes_Compra_Facil WHERE Cliente = 7"),
                 QList<QVariantList>(
                     {{QStringLiteral("LUIS"), QStringLiteral("O'HIGGINS"), QStringLiteral("PEÑA"),
                       qint64(0), QDateTime(QDate(1900, 1, 1), QTime(0, 0))}}));
        QCOMPARE(folio(), cliente);  // the name parts have no identity

        // A blank name creates nobody and answers 0.
        db::Comando vacio(*con_, QStringLiteral("Guarda_Cliente_norv"));
        vacio.agregarParametro(QStringLiteral("@cSucursal"), db::TipoParametro::Char,
                               db::Direccion::Entrada, 7, demo::kSucursal);
        vacio.agregarParametro(QStringLiteral("@cRFC"), db::TipoParametro::Char,
                               db::Direccion::Entrada, 20, QString());
        vacio.agregarParametro(QStringLiteral("@cNombreCliente"), db::TipoParametro::Char,
                               db::Direccion::Entrada, 80, QStringLiteral("   "));
        vacio.agregarParametro(QStringLiteral("@nCliente"), db::TipoParametro::Integer,
                               db::Direccion::Salida, 4);
        vacio.ejecutar();
        QCOMPARE(vacio.parametro(QStringLiteral("@NCLIENTE")), QVariant(qint64(0)));
        QCOMPARE(columna(QStringLiteral("SELECT COUNT(*) FROM clientes"), 0),
                 QVariantList({qint64(7)}));

        const QVariantList h = historial(QStringLiteral("PEREZ LOPEZ"), QStringLiteral("JUAN"));
        QCOMPARE(h.size(), 5);
        QCOMPARE(h[3], QVariant(true));
        const QList<QMetaType::Type> tipos{QMetaType::LongLong, QMetaType::QString, QMetaType::Bool,
                                           QMetaType::Bool, QMetaType::Bool};
        for (int i = 0; i < 5; ++i) QCOMPARE(h[i].typeId(), int(tipos[i]));
    }
};

QTEST_MAIN(FormasSentenciaTest)
#include "formas_sentencia_test.moc"
