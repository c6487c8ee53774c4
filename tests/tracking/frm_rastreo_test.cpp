// The tracking window screening a capture grid against the embedded engine: rejections, the
// red and yellow rows, the three lists, and the telephones shared with other customers.
#include "tracking/frm_rastreo.h"

#include <QGroupBox>
#include <QTimer>
#include <QtTest>

#include "base_prueba.h"
#include "servicios_falsos.h"
#include "startup/global.h"
#include "ui/rejilla.h"
#include "ui/ventana.h"

namespace {

const QColor Rojo(255, 0, 0);
const QColor Amarillo(255, 255, 0);

QString Cliente(int cliente) {
    return QStringLiteral(
               "SELECT NORV.dbo.cliente_incobrable(%1), es_Indeseable FROM clientes "
               "WHERE Cliente = %1")
        .arg(cliente);
}
QString Aval(int solicitud) {
    return QStringLiteral(
               "SELECT apellidos_aval,nombre_aval FROM NORV.dbo.solicitudes_cliente_nuevo "
               "WHERE Solicitud = %1")
        .arg(solicitud);
}
QString Historial(const QString& apellidos, const QString& nombres) {
    return QStringLiteral(
               "EXEC NORV.dbo.Rep_Historial_Norv_Cliente @cApellidos='%1', @cNombres='%2'")
        .arg(apellidos, nombres);
}
// `visto`: the state the screening read, which must still hold.
QString Rechazo(const QString& comentario, int solicitud, const QString& visto = "Recibida") {
    return QStringLiteral(
               "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET estado_actual='Rechazada',"
               "comentarios='%1'  WHERE solicitud=%2  AND relacion IS NULL AND CAST(estado_actual "
               "AS nvarchar(max)) = '%3'")
        .arg(comentario)
        .arg(solicitud)
        .arg(visto);
}
QString Telefono(int solicitud) {
    return QStringLiteral(
               "SELECT DISTINCT o.Cliente FROM NORV.dbo.Solicitudes_cliente_Nuevo s "
               "JOIN NORV.dbo.Solicitudes_cliente_Nuevo o ON o.telefono = s.telefono "
               "WHERE s.solicitud = %1 AND s.telefono <> '' AND o.Cliente <> s.Cliente "
               "ORDER BY o.Cliente")
        .arg(solicitud);
}

}  // namespace

class FrmRastreoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<ServiciosFalsos> servicios;
    std::unique_ptr<Rejilla> captura;

    // An application as the capture window saves it, and its row in the capture grid.
    void Solicitud(int solicitud, int cliente, const QString& nombre, const QString& apellidosAval,
                   const QString& nombreAval, const QString& telefono = QString()) {
        base->sqlite(
            QStringLiteral("INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, "
                           "Importe_Solicitud, Sucursal, telefono, Nombre_Aval, apellidos_Aval, "
                           "Vendedor) VALUES (%1, %2, 5000, '1', '%3', '%4', '%5', '    101')")
                .arg(solicitud)
                .arg(cliente)
                .arg(telefono, nombreAval, apellidosAval));
        const int f = captura->agregarFila();
        captura->ponerValor(f, 1, solicitud);
        captura->ponerValor(f, 2, QStringLiteral("MATRIZ CENTRO"));
        captura->ponerValor(f, 3, cliente);
        captura->ponerValor(f, 4, nombre);
        captura->ponerValor(f, 5, 5000.0);
        captura->ponerValor(f, 6, QStringLiteral("PEREZ JUAN"));
        captura->ponerValor(f, 7, QStringLiteral("No"));
    }

    QString Estado(int solicitud) {
        return base
            ->filas(QStringLiteral("SELECT estado_actual || '|' || coalesce(comentarios, 'NULL') "
                                   "FROM norv.Solicitudes_cliente_Nuevo WHERE solicitud = %1")
                        .arg(solicitud))
            .value(0);
    }

    // The colour of every cell of a capture row, when all are the same; invalid otherwise.
    QColor ColorRenglon(int fila) {
        const QColor primero = captura->colorFondo(fila, 1);
        for (int c = 2; c <= captura->numeroColumnas(); ++c)
            if (captura->colorFondo(fila, c) != primero) return QColor();
        return primero;
    }

    static QStringList Renglon(Rejilla* r, int fila) {
        QStringList l;
        for (int c = 1; c <= r->numeroColumnas(); ++c) l << r->texto(fila, c);
        return l;
    }

    // The titles with the design's widths, as the grid has them once grown with the font
    // and never narrower than the title.
    static QStringList Esperados(Rejilla* r, const QStringList& disenos) {
        QStringList l;
        for (int c = 1; c <= disenos.size(); ++c) {
            const int i = disenos[c - 1].lastIndexOf(QLatin1Char(' '));
            l << QStringLiteral("%1 %2")
                     .arg(disenos[c - 1].left(i))
                     .arg(
                         qMax(PixelesDiseno(disenos[c - 1].mid(i + 1).toInt()), r->anchoTitulo(c)));
        }
        return l;
    }

    static QStringList Titulos(Rejilla* r) {
        QStringList l;
        for (int c = 1; c <= r->numeroColumnas(); ++c)
            l << QStringLiteral("%1 %2").arg(r->tituloColumna(c)).arg(r->anchoColumna(c));
        return l;
    }

  private slots:
    void init() {
        base = std::make_unique<BasePrueba>(QStringLiteral("CHI"), QStringLiteral("1"));
        servicios = std::make_unique<ServiciosFalsos>();
        captura = std::make_unique<Rejilla>();
        for (const auto& [titulo, ancho] : QList<QPair<QString, int>>{{"Solicitud", 80},
                                                                      {"Sucursal", 160},
                                                                      {"Cliente", 60},
                                                                      {"Nombre Cliente", 180},
                                                                      {"Importe Sol.", 80},
                                                                      {"Vendedor", 160},
                                                                      {"Cliente Anterior", 60}})
            captura->agregarColumna(titulo, ancho);
        base->sqlite(QStringLiteral(
            "INSERT INTO sucursales (sucursal, nombre_sucursal, centro_distribucion) VALUES "
            "('1', 'Matriz Centro', 'CHI');"
            "INSERT INTO clientes (cliente, Nombre_Cliente, es_Indeseable, es_Incobrable) VALUES "
            "(1, 'PEREZ LOPEZ JUAN', 1, 0),"  // undesirable
            "(2, 'RUIZ SOTO ANA', 0, 0),"
            "(3, 'DIAZ MORA LUIS', 0, 1),"       // uncollectible
            "(4, 'GARCIA LOPEZ PEDRO', 0, 1),"   // a guarantor with a bad record
            "(5, 'MARTINEZ RUIZ ELENA', 0, 0),"  // a credit customer
            "(6, 'SOLIS VEGA RAUL', 0, 0),"
            "(7, 'LARA MEZA ROSA', 0, 0);"
            // Customer 5 holds an authorised credit.
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Sucursal, "
            "estado_actual) "
            "VALUES (90, 5, '1', 'Autorizada')"));
        Global::ComentarioRechazo = QStringLiteral("SIN PAGO");
    }
    void cleanup() {
        captura.reset();
        servicios.reset();
        base.reset();
    }

    void capturaVaciaNoEnviaNadaYArmaLasTresListas() {
        FrmRastreo f(captura.get());
        QVERIFY(base->enviadas.isEmpty());
        QVERIFY(servicios->mensajes.isEmpty());
        QCOMPARE(f.windowTitle(), QStringLiteral("Rastreo de Clientes"));
        QCOMPARE(f.Frame1->title(),
                 QStringLiteral("Rastreo por Nombre Cliente(Incobrable / Indeseable):"));
        QCOMPARE(f.Frame2->title(), QStringLiteral("Rastreo del Aval:"));
        QCOMPARE(f.Frame3->title(),
                 QStringLiteral("Rastreo por Teléfono(Clientes con Mismo Número Teléfonico):"));
        QCOMPARE(f.size(), QSize(Pixeles(8910), Pixeles(7545)));
        QCOMPARE(Titulos(f.iClientes),
                 Esperados(f.iClientes,
                           QStringList{"Solicitud 80", "Sucursal 160", "Cliente 60",
                                       "Nombre Cliente 180", "Importe Sol. 80", "Vendedor 160"}));
        QCOMPARE(Titulos(f.IAvales),
                 Esperados(f.IAvales,
                           QStringList{"Solicitud 80", "Sucursal 160", "Cliente 60",
                                       "Nombre Cliente 180", "Aval de 180", "Es Cliente Credito 80",
                                       "Numero Cliente 80", "Es Aval 50", "Es Incobrable 50"}));
        QCOMPARE(Titulos(f.ITelefonos),
                 Esperados(f.ITelefonos,
                           QStringList{"Solicitud 80", "Sucursal 160", "Cliente 60",
                                       "Nombre Cliente 180", "Cliente mismo Telefono 80"}));
        for (Rejilla* r : {f.iClientes, f.IAvales, f.ITelefonos}) {
            QCOMPARE(r->numeroFilas(), 0);
            QVERIFY(r->esSoloLectura());
        }
        QVERIFY(!f.isVisible());
    }

    void clienteIndeseableConAvalIncobrableSeRechazaDosVeces() {
        Solicitud(201, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral(" GARCIA LOPEZ "),
                  QStringLiteral("PEDRO "));
        FrmRastreo f(captura.get());
        QCOMPARE(
            base->enviadas,
            (QStringList{Cliente(1),
                         "SELECT Relacion, estado_actual FROM norv.dbo.Solicitudes_cliente_Nuevo "
                         "WHERE solicitud=201",
                         Rechazo(QStringLiteral("SIN PAGO"), 201), Aval(201),
                         Historial(QStringLiteral("GARCIA LOPEZ"), QStringLiteral("PEDRO")),
                         Rechazo(QStringLiteral("SIN PAGO"), 201, "Rechazada"), Telefono(201)}));
        QCOMPARE(Estado(201), QStringLiteral("Rechazada|SIN PAGO"));
        QCOMPARE(ColorRenglon(1), Rojo);
        QCOMPARE(f.iClientes->numeroFilas(), 1);
        QCOMPARE(Renglon(f.iClientes, 1), (QStringList{"201", "MATRIZ CENTRO", "1",
                                                       "PEREZ LOPEZ JUAN", "5000", "PEREZ JUAN"}));
        QCOMPARE(f.IAvales->numeroFilas(), 1);
        QCOMPARE(Renglon(f.IAvales, 1),
                 (QStringList{"201", "MATRIZ CENTRO", "1", "PEREZ LOPEZ JUAN", "", "No", "0", "No",
                              "Si"}));
        QCOMPARE(f.ITelefonos->numeroFilas(), 0);
        QVERIFY(servicios->mensajes.isEmpty());
    }

    void clienteIncobrableSeRechazaAunqueNoSeaIndeseable() {
        Solicitud(202, 3, QStringLiteral("DIAZ MORA LUIS"), QString(), QString());
        FrmRastreo f(captura.get());
        QCOMPARE(Estado(202), QStringLiteral("Rechazada|SIN PAGO"));
        QCOMPARE(ColorRenglon(1), Rojo);
        QCOMPARE(f.iClientes->numeroFilas(), 1);
        QCOMPARE(f.IAvales->numeroFilas(), 0);
    }

    void avalSoloClienteDeCreditoPintaAmarilloSinRechazar() {
        Solicitud(203, 2, QStringLiteral("RUIZ SOTO ANA"), QStringLiteral("MARTINEZ RUIZ"),
                  QStringLiteral("ELENA"));
        // Customer 1 is undesirable: red stays red when the guarantor asks for yellow.
        Solicitud(204, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral("MARTINEZ RUIZ"),
                  QStringLiteral("ELENA"));
        // An application whose guarantor has no history: nothing recorded.
        Solicitud(205, 6, QStringLiteral("SOLIS VEGA RAUL"), QStringLiteral("NADIE CONOCIDO"),
                  QStringLiteral("NADA"));
        FrmRastreo f(captura.get());
        QCOMPARE(Estado(203), QStringLiteral("Recibida|NULL"));
        QCOMPARE(ColorRenglon(1), Amarillo);
        QCOMPARE(ColorRenglon(2), Rojo);
        QCOMPARE(Estado(204), QStringLiteral("Rechazada|SIN PAGO"));
        QVERIFY(!captura->colorFondo(3, 1).isValid());
        QCOMPARE(Estado(205), QStringLiteral("Recibida|NULL"));
        QCOMPARE(f.IAvales->numeroFilas(), 2);
        QCOMPARE(Renglon(f.IAvales, 1), (QStringList{"203", "MATRIZ CENTRO", "2", "RUIZ SOTO ANA",
                                                     "", "Si", "5", "No", "No"}));
        QCOMPARE(Renglon(f.IAvales, 2).mid(0, 1), QStringList{"204"});
        QCOMPARE(f.iClientes->numeroFilas(), 1);
        QCOMPARE(f.iClientes->texto(1, 1), QStringLiteral("204"));
        // Only the undesirable customer's application was rejected, once.
        QCOMPARE(base->enviadas.filter(QStringLiteral("UPDATE")),
                 QStringList{Rechazo(QStringLiteral("SIN PAGO"), 204)});
    }

    void avalQueYaEsAvalSeMarcaConQuienRespalda() {
        // IRMA backs customer 5's authorised credit.
        base->sqlite(
            QStringLiteral("UPDATE norv.Solicitudes_cliente_Nuevo SET apellidos_Aval = "
                           "'SOTO VEGA', Nombre_Aval = 'IRMA' WHERE solicitud = 90"));
        Solicitud(206, 6, QStringLiteral("SOLIS VEGA RAUL"), QStringLiteral("SOTO VEGA"),
                  QStringLiteral("IRMA"));
        FrmRastreo f(captura.get());
        QCOMPARE(ColorRenglon(1), Amarillo);
        QCOMPARE(Renglon(f.IAvales, 1),
                 (QStringList{"206", "MATRIZ CENTRO", "6", "SOLIS VEGA RAUL", "MARTINEZ RUIZ ELENA",
                              "No", "0", "Si", "No"}));
        QCOMPARE(Estado(206), QStringLiteral("Recibida|NULL"));
    }

    void apellidoDeCincoNoSeBuscaYDeSeisSi() {
        Solicitud(207, 2, QStringLiteral("RUIZ SOTO ANA"), QStringLiteral("  PEREZ  "),
                  QStringLiteral("JOSE"));
        Solicitud(208, 6, QStringLiteral("SOLIS VEGA RAUL"), QStringLiteral("PEREZA"),
                  QStringLiteral("JOSE"));
        FrmRastreo f(captura.get());
        QCOMPARE(base->enviadas,
                 (QStringList{Cliente(2), Aval(207), Telefono(207), Cliente(6), Aval(208),
                              Historial(QStringLiteral("PEREZA"), QStringLiteral("JOSE")),
                              Telefono(208)}));
        QCOMPARE(f.IAvales->numeroFilas(), 0);
    }

    void comentarioConComillaSeGuardaComoEsta() {
        Global::ComentarioRechazo = QStringLiteral("D'ARCY");
        Solicitud(209, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QString(), QString());
        FrmRastreo f(captura.get());
        QCOMPARE(base->enviadas.value(2), Rechazo(QStringLiteral("D''ARCY"), 209));
        QCOMPARE(Estado(209), QStringLiteral("Rechazada|D'ARCY"));
    }

    void telefonoCompartidoListaALosOtrosClientesYPintaAmarillo() {
        Solicitud(210, 2, QStringLiteral("RUIZ SOTO ANA"), QString(), QString(),
                  QStringLiteral("6141112233"));
        Solicitud(211, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QString(), QString(),
                  QStringLiteral("6141112233"));
        Solicitud(212, 6, QStringLiteral("SOLIS VEGA RAUL"), QString(), QString(),
                  QStringLiteral("6149990000"));
        // Outside the capture grid: two more applications with 210's telephone, one of them of
        // the same customer, which is no other customer.
        base->sqlite(QStringLiteral(
            "INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, Cliente, Sucursal, telefono) "
            "VALUES "
            "(300, 7, '1', '6141112233'), (301, 7, '1', '6141112233'), (302, 2, '1', '6141112233'),"
            "(303, 5, '1', ''), (304, 6, '1', '')"));
        FrmRastreo f(captura.get());
        QCOMPARE(f.ITelefonos->numeroFilas(), 4);
        QCOMPARE(Renglon(f.ITelefonos, 1),
                 (QStringList{"210", "MATRIZ CENTRO", "2", "RUIZ SOTO ANA", "1"}));
        QCOMPARE(Renglon(f.ITelefonos, 2),
                 (QStringList{"210", "MATRIZ CENTRO", "2", "RUIZ SOTO ANA", "7"}));
        QCOMPARE(Renglon(f.ITelefonos, 3),
                 (QStringList{"211", "MATRIZ CENTRO", "1", "PEREZ LOPEZ JUAN", "2"}));
        QCOMPARE(Renglon(f.ITelefonos, 4),
                 (QStringList{"211", "MATRIZ CENTRO", "1", "PEREZ LOPEZ JUAN", "7"}));
        QCOMPARE(ColorRenglon(1), Amarillo);
        // Red (undesirable customer) is never turned yellow.
        QCOMPARE(ColorRenglon(2), Rojo);
        QVERIFY(!captura->colorFondo(3, 1).isValid());
        // A shared telephone flags; it never rejects.
        QCOMPARE(Estado(210), QStringLiteral("Recibida|NULL"));
        QCOMPARE(base->enviadas.filter(QStringLiteral("UPDATE")),
                 QStringList{Rechazo(QStringLiteral("SIN PAGO"), 211)});
        QVERIFY(base->enviadas.contains(Telefono(212)));
    }

    void telefonoVacioNoSeComparte() {
        Solicitud(213, 2, QStringLiteral("RUIZ SOTO ANA"), QString(), QString(), QString());
        Solicitud(214, 6, QStringLiteral("SOLIS VEGA RAUL"), QString(), QString(),
                  QStringLiteral("   "));
        FrmRastreo f(captura.get());
        QCOMPARE(f.ITelefonos->numeroFilas(), 0);
        QVERIFY(!captura->colorFondo(1, 1).isValid());
        QVERIFY(!captura->colorFondo(2, 1).isValid());
    }

    // Another station puts the application in a batch and verifies it while the screening
    // runs: the rejection is refused and says where it is, and the next row is screened.
    void enRelacionDesdeOtraEstacionNoSeRechaza() {
        Solicitud(201, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QString(), QString());
        Solicitud(202, 3, QStringLiteral("DIAZ MORA LUIS"), QString(), QString());
        const int id = Global::Conexion.agregarObservador([&](const QString& s) {
            if (s == Cliente(1))
                base->sqlite(
                    "UPDATE norv.Solicitudes_cliente_Nuevo SET Relacion = 4, "
                    "estado_actual = 'Autorizada' WHERE solicitud = 201");
        });
        FrmRastreo f(captura.get());
        Global::Conexion.quitarObservador(id);
        QCOMPARE(servicios->textos(),
                 QStringList{"Solicitud 201: ya está en la relación 4.\nOtra estación la cambió "
                             "durante el rastreo; no se rechazó y el rastreo siguió con la "
                             "siguiente."});
        QCOMPARE(Estado(201), QStringLiteral("Autorizada|NULL"));
        QVERIFY(!captura->colorFondo(1, 1).isValid() && ColorRenglon(2) == Rojo);
        QCOMPARE(Estado(202), QStringLiteral("Rechazada|SIN PAGO"));
        QCOMPARE(f.iClientes->numeroFilas(), 1);
    }

    void laVentanaDejaCorrerEventosEntreRenglones() {
        Solicitud(215, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QString(), QString());
        Solicitud(216, 2, QStringLiteral("RUIZ SOTO ANA"), QString(), QString());
        // Posted once row 1 is done; it must have run before row 2 is looked at.
        bool corrio = false, corrioAntesDelSegundo = false;
        const int id = Global::Conexion.agregarObservador([&](const QString& s) {
            if (s == Telefono(215))
                QTimer::singleShot(0, [&] { corrio = true; });
            else if (s == Cliente(2))
                corrioAntesDelSegundo = corrio;
        });
        FrmRastreo f(captura.get());
        Global::Conexion.quitarObservador(id);
        QVERIFY(corrioAntesDelSegundo);
    }

    void unErrorDeLaBaseDetieneElRastreoYConservaLoHecho() {
        Solicitud(217, 1, QStringLiteral("PEREZ LOPEZ JUAN"), QString(), QString());
        Solicitud(218, 3, QStringLiteral("DIAZ MORA LUIS"), QString(), QString());
        Solicitud(219, 3, QStringLiteral("DIAZ MORA LUIS"), QString(), QString());
        const int id = Global::Conexion.agregarObservador([&](const QString& s) {
            if (s == Cliente(3))
                base->sqlite(QStringLiteral("ALTER TABLE clientes RENAME TO fuera"));
        });
        FrmRastreo f(captura.get());
        Global::Conexion.quitarObservador(id);
        QCOMPARE(servicios->mensajes.size(), 1);
        QCOMPARE(servicios->mensajes[0].icono, IconoMensaje::Critico);
        QCOMPARE(servicios->mensajes[0].titulo, QStringLiteral("Error de Base de Datos"));
        QVERIFY(!servicios->mensajes[0].texto.isEmpty());
        // Row 1 stays rejected and red; the screening stopped at row 2.
        QCOMPARE(Estado(217), QStringLiteral("Rechazada|SIN PAGO"));
        QCOMPARE(ColorRenglon(1), Rojo);
        QCOMPARE(f.iClientes->numeroFilas(), 1);
        QVERIFY(!captura->colorFondo(2, 1).isValid());
        QCOMPARE(Estado(218), QStringLiteral("Recibida|NULL"));
        QCOMPARE(Estado(219), QStringLiteral("Recibida|NULL"));
        QCOMPARE(base->enviadas.last(), Cliente(3));
        // The window can still be shown with what it found.
        f.show();
        QVERIFY(f.isVisible());
    }
};

QTEST_MAIN(FrmRastreoTest)
#include "frm_rastreo_test.moc"
