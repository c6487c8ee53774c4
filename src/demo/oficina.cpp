#include "demo/oficina.h"

#include <QStringList>
#include <QVariantList>
#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "startup/cifrado.h"

namespace demo::detalle {

namespace {

using db::incrustado::Sentencia;

// Always the same office: a generator of our own with a fixed seed, so the demo a clerk
// trains on reads the same on every machine and every day (only the dates move with today).
class Azar {
  public:
    explicit Azar(std::uint64_t semilla) : estado_(semilla) {}
    std::uint32_t siguiente() {
        estado_ = estado_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(estado_ >> 33);
    }
    // From `desde` to `hasta`, both included.
    int entre(int desde, int hasta) {
        return desde + int(siguiente() % std::uint32_t(hasta - desde + 1));
    }
    bool cada(int de) { return siguiente() % std::uint32_t(de) == 0; }
    template <class T>
    const T& uno(const std::vector<T>& v) {
        return v[siguiente() % v.size()];
    }

  private:
    std::uint64_t estado_;
};

const std::vector<QString> Apellidos = {
    "HERNANDEZ", "GARCIA", "MARTINEZ",  "LOPEZ",  "GONZALEZ", "RODRIGUEZ", "PEREZ",     "SANCHEZ",
    "RAMIREZ",   "CRUZ",   "FLORES",    "GOMEZ",  "MORALES",  "VAZQUEZ",   "REYES",     "JIMENEZ",
    "TORRES",    "DIAZ",   "GUTIERREZ", "RUIZ",   "MENDOZA",  "AGUILAR",   "ORTIZ",     "MORENO",
    "CASTILLO",  "ROMERO", "ALVAREZ",   "MENDEZ", "CHAVEZ",   "RIVERA",    "JUAREZ",    "DOMINGUEZ",
    "NUÑEZ",     "ACOSTA", "MUÑOZ",     "IBARRA", "VEGA",     "SOTO",      "CONTRERAS", "LUNA"};
const std::vector<QString> Nombres = {
    "MARIA",   "JOSE",     "JUAN",      "GUADALUPE",   "FRANCISCO",   "ANA",      "LUIS",
    "ROSA",    "CARLOS",   "ELENA",     "JESUS",       "PATRICIA",    "MIGUEL",   "LAURA",
    "ANTONIO", "VERONICA", "JORGE",     "ALEJANDRA",   "PEDRO",       "SILVIA",   "RAUL",
    "TERESA",  "ALBERTO",  "MARTHA",    "FERNANDO",    "GABRIELA",    "RICARDO",  "ADRIANA",
    "ARTURO",  "LETICIA",  "JOSE LUIS", "MARIA ELENA", "JUAN CARLOS", "ANA LAURA"};
const std::vector<QString> Calles = {
    "Calle Aldama",     "Av. Independencia", "Calle Victoria",         "Av. Tecnológico",
    "Calle Ocampo",     "Calle Allende",     "Av. División del Norte", "Calle Libertad",
    "Calle Morelos",    "Av. Universidad",   "Calle Hidalgo",          "Calle Zaragoza",
    "Av. Las Américas", "Calle Niños Héroes"};
const std::vector<QString> Colonias = {
    "Col. Centro",    "Col. Obrera",          "Col. Santa Rita", "Col. San Felipe",
    "Col. Dale",      "Col. Altavista",       "Col. Industrial", "Col. Panamericana",
    "Col. Campesina", "Col. Cerro de la Cruz"};
const std::vector<QString> Aprobaciones = {"BUENAS REFERENCIAS", "DOMICILIO VERIFICADO",
                                           "TRABAJO ESTABLE 3 AÑOS", "REFERENCIAS CONFIRMADAS",
                                           "CASA PROPIA, BUEN HISTORIAL"};
const std::vector<QString> Negativas = {"DOMICILIO NO LOCALIZADO", "REFERENCIAS FALSAS",
                                        "NO SE ENCONTRÓ AL CLIENTE", "INGRESOS INSUFICIENTES",
                                        "EL AVAL NO RECONOCE LA FIRMA"};
const std::vector<QString> Rechazos = {"SIN REFERENCIAS", "DOCUMENTOS INCOMPLETOS",
                                       "CLIENTE CON ADEUDO", "NO CONTESTA EL TELÉFONO",
                                       "SOLICITUD DUPLICADA"};
const std::vector<QString> Tipos = {"Normal",  "Aval",          "Visita",
                                    "Foraneo", "Normal-Visita", "Aval-Visita"};

struct Centro {
    QString clave;
    QString lada;
    std::vector<QString> sucursales;
    std::vector<QString> vendedores;
    std::vector<QString> verificadores;
};

struct Persona {
    QString apellidos;
    QString nombres;
    QString completo() const { return apellidos + QLatin1Char(' ') + nombres; }
};

struct Cliente {
    int numero = 0;
    Persona nombre;
    QString telefono;
    int centro = 0;
    bool indeseable = false;
    bool incobrable = false;
    bool conCredito = false;
};

struct Solicitud {
    int numero = 0;
    int cliente = 0;
    int dia = 0;
    QString sucursal;
    QString vendedor;
    QVariant relacion;
    QString estado = QStringLiteral("Recibida");
    QVariant comentarios;
    Persona aval;
    bool elegido = false;    // the clerk picked an existing customer among the homonyms
    bool historica = false;  // of the months before the last three weeks
};

QString Clave(const QString& numero) { return numero.rightJustified(7, QLatin1Char(' ')); }

class Oficina {
  public:
    explicit Oficina(sqlite3* db) : db_(db), azar_(20240611), pasado_(19991231) {
        centros_ = {{QStringLiteral("CHI"),
                     QStringLiteral("614"),
                     {"1", "2", "3", "15"},
                     // Each branch's own salesperson, in the order of the branches.
                     {"101", "102", "104", "103"},
                     {"201", "202", "203"}},
                    {QStringLiteral("JRZ"),
                     QStringLiteral("656"),
                     {"40", "41", "42"},
                     {"401", "402", "403"},
                     {"401", "411", "412"}}};
    }

    void sembrar() {
        catalogo();
        clientes();
        relaciones();
        sueltas();
        historia();
        escribir();
    }

  private:
    void catalogo() {
        Sentencia sucursal(
            db_, QStringLiteral("INSERT INTO main.sucursales (sucursal, nombre_sucursal, "
                                "centro_distribucion, tasa_iva) VALUES (?1, ?2, ?3, 0.08)"));
        for (const auto& [clave, nombre] : std::vector<std::pair<QString, QString>>{
                 {"41", "Juárez Oriente"}, {"42", "Plaza Misiones"}}) {
            sucursal.enlazar(1, clave).enlazar(2, nombre).enlazar(3, QStringLiteral("JRZ"));
            sucursal.ejecutar();
        }
        Sentencia persona(db_,
                          QStringLiteral("INSERT INTO main.personal (persona, apellidos, nombres, "
                                         "sucursal, es_vendedor, es_verificador, contrasena) "
                                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"));
        const QString clave = Cifrar(QStringLiteral("CLAVE"), 1);
        struct Alta {
            const char *numero, *apellidos, *nombres;
            int sucursal, vendedor, verificador;
        };
        for (const Alta& a : {Alta{"104", "SALAZAR MORA", "PATRICIA", 3, 1, 0},
                              Alta{"203", "CASTRO NAVA", "RAUL", 15, 0, 1},
                              Alta{"402", "IBARRA LUNA", "MARCO", 41, 1, 0},
                              Alta{"403", "FUENTES ROJAS", "KARLA", 42, 1, 0},
                              Alta{"411", "ESPINOZA LARA", "HECTOR", 41, 0, 1},
                              Alta{"412", "MEDINA SOLIS", "IRMA", 40, 0, 1}}) {
            persona.enlazar(1, Clave(QLatin1String(a.numero)))
                .enlazar(2, QString::fromUtf8(a.apellidos))
                .enlazar(3, QString::fromUtf8(a.nombres))
                .enlazar(4, a.sucursal)
                .enlazar(5, a.vendedor)
                .enlazar(6, a.verificador)
                .enlazar(7, clave);
            persona.ejecutar();
        }
    }

    Persona alguien() {
        return {azar_.uno(Apellidos) + QLatin1Char(' ') + azar_.uno(Apellidos), azar_.uno(Nombres)};
    }

    void clientes() {
        std::set<QString> usados = {
            QStringLiteral("PEREZ LOPEZ JUAN"), QStringLiteral("GOMEZ SANCHEZ MARIA"),
            QStringLiteral("RUIZ DIAZ CARLOS"), QStringLiteral("LOPEZ MARTINEZ ROSA"),
            QStringLiteral("NUÑEZ ORTIZ ELENA")};
        auto agregar = [&](const Persona& p, int centro) {
            Cliente c;
            c.numero = 7 + int(clientes_.size());
            c.nombre = p;
            c.centro = centro;
            // A mobile as a desk dials it, 044, area code and number: the 13 digits the
            // capture window asks for.
            c.telefono = QStringLiteral("044") + centros_[centro].lada +
                         QString::number(azar_.entre(1000000, 9999999));
            clientes_.push_back(c);
        };
        // Customers who share a name: a capture of any of these meets its homonyms.
        const std::vector<std::pair<Persona, int>> homonimos = {
            {{"PEREZ LOPEZ", "JUAN"}, 1},
            {{"HERNANDEZ GARCIA", "MARIA"}, 3},
            {{"MARTINEZ LOPEZ", "JOSE LUIS"}, 2},
            {{"GONZALEZ RAMIREZ", "ANA"}, 2}};
        for (const auto& [p, veces] : homonimos) {
            usados.insert(p.completo());
            for (int i = 0; i < veces; ++i) agregar(p, 0);
        }
        while (clientes_.size() < 150) {
            const Persona p = alguien();
            if (!usados.insert(p.completo()).second) continue;
            agregar(p, clientes_.size() % 6 == 5 ? 1 : 0);
        }
        // Bad records, for the tracking and the rejections.
        for (int i : {20, 45}) clientes_[i].indeseable = true;
        for (int i : {30, 60}) clientes_[i].incobrable = true;
        // Members of one household share a telephone.
        for (int i : {12, 40, 70, 90, 110}) clientes_[i + 1].telefono = clientes_[i].telefono;
    }

    // A customer of the centre, a good one unless `cualquiera`.
    Cliente& cliente(int centro, bool cualquiera = false) {
        for (;;) {
            Cliente& c = clientes_[azar_.siguiente() % clientes_.size()];
            if (c.centro != centro) continue;
            if (!cualquiera && (c.indeseable || c.incobrable)) continue;
            return c;
        }
    }

    Persona aval() {
        const int tipo = azar_.entre(0, 19);
        if (tipo < 7) return {};  // no guarantor
        // Guarantors with a history: a customer with a credit, one who guarantees often, or
        // an uncollectible customer.
        if (tipo < 9 && !conCredito_.empty()) return clientes_[azar_.uno(conCredito_)].nombre;
        if (tipo < 13) return frecuentes_[azar_.siguiente() % frecuentes_.size()];
        if (tipo < 14) return clientes_[30].nombre;
        return alguien();
    }

    Solicitud& nueva(Cliente& c, int dia) {
        Solicitud s;
        s.numero = 7 + int(solicitudes_.size());
        s.cliente = c.numero;
        s.dia = dia;
        const Centro& centro = centros_[c.centro];
        const int lugar = int(azar_.siguiente() % centro.sucursales.size());
        s.sucursal = centro.sucursales[lugar];
        s.vendedor = centro.vendedores[lugar % centro.vendedores.size()];
        s.aval = aval();
        s.elegido = c.numero <= 16 && azar_.cada(2);
        solicitudes_.push_back(s);
        return solicitudes_.back();
    }

    void relaciones() {
        for (int i = 0; i < 8; ++i) frecuentes_.push_back(alguien());
        struct Entrega {
            int centro, dia;
        };
        std::vector<Entrega> entregas;
        for (int dia : {20, 18, 16, 15, 13, 11, 9, 7, 5, 4, 2, 1}) entregas.push_back({0, dia});
        for (int dia : {12, 6, 2}) entregas.push_back({1, dia});
        int numero = 3;
        for (const Entrega& e : entregas) {
            Relacion r;
            r.numero = numero++;
            r.centro = e.centro;
            r.dia = e.dia;
            const Centro& centro = centros_[e.centro];
            r.verificador = centro.verificadores[relaciones_.size() % centro.verificadores.size()];
            r.estado = e.dia >= 8   ? QStringLiteral("Recibida")
                       : e.dia >= 4 ? QStringLiteral("Parcial")
                                    : QStringLiteral("Entregada");
            const int lineas = e.centro == 0 ? azar_.entre(6, 12) : azar_.entre(4, 6);
            for (int i = 0; i < lineas; ++i) {
                Solicitud& s = nueva(cliente(e.centro), std::min(21, e.dia + azar_.entre(1, 3)));
                s.relacion = r.numero;
                Linea l;
                l.relacion = r.numero;
                l.solicitud = s.numero;
                l.estado = QStringLiteral("Entregada");
                const bool verificada = r.estado == QLatin1String("Recibida") ||
                                        (r.estado == QLatin1String("Parcial") && azar_.cada(2));
                if (verificada) {
                    const bool autorizada = azar_.entre(0, 9) < 6;
                    l.estado =
                        autorizada ? QStringLiteral("Autorizada") : QStringLiteral("Rechazada");
                    l.verificada = Hace(std::max(1, e.dia - azar_.entre(1, 2)), azar_.entre(10, 18),
                                        azar_.entre(0, 59));
                    l.tipo = azar_.uno(Tipos);
                    l.comentarios = autorizada ? azar_.uno(Aprobaciones) : azar_.uno(Negativas);
                    l.linea = autorizada ? 1000.0 * azar_.entre(5, 20) : 0.0;
                    l.recomienda = autorizada ? (azar_.cada(5) ? QStringLiteral("Dudoso")
                                                               : QStringLiteral("Recomienda"))
                                              : QStringLiteral("No Recomienda");
                    s.comentarios = l.comentarios;
                    if (autorizada) {
                        Cliente& c = clientes_[s.cliente - 7];
                        if (!c.conCredito) conCredito_.push_back(s.cliente - 7);
                        c.conCredito = true;
                    }
                }
                s.estado = l.estado;
                lineas_.push_back(l);
            }
            relaciones_.push_back(r);
        }
    }

    // Applications in no batch: waiting for one, rejected, reactivated.
    void sueltas() {
        for (int i = 0; i < 35; ++i) {
            // Some customers come back: their history shows the earlier verification.
            Cliente& c =
                i % 4 == 0
                    ? clientes_[solicitudes_[azar_.siguiente() % solicitudes_.size()].cliente - 7]
                    : cliente(0);
            if (c.centro != 0 || c.indeseable || c.incobrable) {
                --i;
                continue;
            }
            nueva(c, azar_.entre(0, 6));
        }
        for (int i : {20, 30}) nueva(clientes_[i], azar_.entre(0, 1));
        for (int i = 0; i < 15; ++i) {
            Cliente& c = i < 2 ? clientes_[i == 0 ? 45 : 60] : cliente(0);
            Solicitud& s = nueva(c, i < 6 ? azar_.entre(0, 2) : azar_.entre(3, 14));
            s.estado = QStringLiteral("Rechazada");
            s.comentarios =
                i < 2 ? QStringLiteral("CLIENTE CON MAL HISTORIAL") : azar_.uno(Rechazos);
        }
        for (int i = 0; i < 6; ++i) {
            Solicitud& s = nueva(cliente(0), azar_.entre(1, 9));
            s.comentarios = QStringLiteral("SOLICITUD REACTIVADA");
        }
        for (int i = 0; i < 6; ++i) nueva(cliente(1), azar_.entre(0, 5));
    }

    // The four months before: batches every few days, all of them back; each verifier with his
    // own pace and each branch with its own share of rejections, so the dashboard has
    // something to tell. Drawn from a stream of its own: the last three weeks stay as they
    // were.
    void historia() {
        std::swap(azar_, pasado_);
        for (int dia = 140; dia >= 22; --dia) {
            for (int centro = 0; centro < 2; ++centro) {
                if (centro == 0 ? azar_.cada(3) : dia % 5 != 0) continue;
                Relacion r;
                r.numero = 3 + int(relaciones_.size());
                r.centro = centro;
                r.dia = dia;
                const Centro& c = centros_[centro];
                const int k = int(relaciones_.size() % c.verificadores.size());
                r.verificador = c.verificadores[size_t(k)];
                r.estado = QStringLiteral("Recibida");
                const int lineas = centro == 0 ? azar_.entre(6, 12) : azar_.entre(4, 6);
                for (int i = 0; i < lineas; ++i) {
                    Solicitud& s = nueva(cliente(centro), dia + azar_.entre(1, 2 + k));
                    s.historica = true;
                    s.relacion = r.numero;
                    const int lugar =
                        int(std::find(c.sucursales.begin(), c.sucursales.end(), s.sucursal) -
                            c.sucursales.begin());
                    const bool autorizada = azar_.entre(0, 99) >= 10 + 8 * lugar;
                    Linea l;
                    l.relacion = r.numero;
                    l.solicitud = s.numero;
                    l.estado =
                        autorizada ? QStringLiteral("Autorizada") : QStringLiteral("Rechazada");
                    l.verificada = Hace(dia - azar_.entre(1, 3 + 2 * k), azar_.entre(10, 18),
                                        azar_.entre(0, 59));
                    l.tipo = azar_.uno(Tipos);
                    l.comentarios = autorizada ? azar_.uno(Aprobaciones) : azar_.uno(Negativas);
                    l.linea = autorizada ? 1000.0 * azar_.entre(5, 20) : 0.0;
                    l.recomienda =
                        autorizada ? QStringLiteral("Recomienda") : QStringLiteral("No Recomienda");
                    s.estado = l.estado;
                    s.comentarios = l.comentarios;
                    lineas_.push_back(l);
                }
                relaciones_.push_back(r);
            }
            // Now and then one rejected at the desk, in no batch.
            if (azar_.cada(4)) {
                Solicitud& s = nueva(cliente(0), dia);
                s.historica = true;
                s.estado = QStringLiteral("Rechazada");
                s.comentarios = azar_.uno(Rechazos);
            }
        }
        // A few left waiting for a batch more than ten days.
        for (int i = 0; i < 5; ++i) nueva(cliente(0), azar_.entre(11, 20)).historica = true;
        std::swap(azar_, pasado_);
    }

    void escribir() {
        Sentencia cliente(
            db_, QStringLiteral("INSERT INTO main.clientes (cliente, Nombre_Cliente, RFC, "
                                "es_Indeseable, es_Incobrable, domicilio, sucursal, fecha_alta) "
                                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"));
        for (const Cliente& c : clientes_) {
            QString iniciales = c.nombre.apellidos.left(2) +
                                c.nombre.apellidos.section(QLatin1Char(' '), 1).left(1) +
                                c.nombre.nombres.left(1);
            iniciales.replace(QStringLiteral("Ñ"), QStringLiteral("X"));
            const QString rfc = iniciales + QString::number(azar_.entre(60, 99)) +
                                QString::number(azar_.entre(1, 12)).rightJustified(2, '0') +
                                QString::number(azar_.entre(1, 28)).rightJustified(2, '0') +
                                QStringLiteral("AB") + QString::number(c.numero % 10);
            const QString domicilio = azar_.uno(Calles) + QLatin1Char(' ') +
                                      QString::number(azar_.entre(1, 3500)) + QStringLiteral(", ") +
                                      azar_.uno(Colonias);
            cliente.enlazar(1, c.numero)
                .enlazar(2, c.nombre.completo())
                .enlazar(3, rfc)
                .enlazar(4, c.indeseable ? 1 : 0)
                .enlazar(5, c.incobrable ? 1 : 0)
                .enlazar(6, domicilio)
                .enlazar(
                    7,
                    centros_[c.centro].sucursales[c.numero % centros_[c.centro].sucursales.size()])
                .enlazar(8, Hace(azar_.entre(30, 900)));
            cliente.ejecutar();
        }

        Sentencia relacion(
            db_, QStringLiteral("INSERT INTO norv.Relaciones_Solicitudes_credito (relacion, "
                                "centro_distribucion, verificador, elaborada_por, "
                                "fecha_entrega, fecha_recepcion_real, estado_actual) "
                                "VALUES (?1, ?2, ?3, ?3, ?4, ?5, ?6)"));
        for (const Relacion& r : relaciones_) {
            relacion.enlazar(1, r.numero)
                .enlazar(2, centros_[r.centro].clave)
                .enlazar(3, Clave(r.verificador))
                .enlazar(4, Hace(r.dia, 8, 30))
                .enlazar(5, r.estado == QLatin1String("Recibida") ? QVariant(Hace(r.dia - 3, 17, 0))
                                                                  : QVariant())
                .enlazar(6, r.estado);
            relacion.ejecutar();
        }

        Sentencia ticket(db_,
                         QStringLiteral("INSERT INTO main.anticipos_clientes (documento, cliente, "
                                        "fecha, importe, saldo) VALUES (?1, ?2, ?3, ?4, ?5)"));
        Sentencia solicitud(
            db_, QStringLiteral("INSERT INTO norv.Solicitudes_cliente_Nuevo (solicitud, "
                                "Cliente, Fecha_recepcion, Importe_Solicitud, Sucursal, "
                                "Promocion, telefono, Nombre_Aval, apellidos_Aval, "
                                "Rastreado, Documento, fecha_tienda, Vendedor, Relacion, "
                                "estado_actual, comentarios) VALUES (?1, ?2, ?3, ?4, ?5, "
                                "?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)"));
        bool pasado = false;
        for (const Solicitud& s : solicitudes_) {
            // The history's rows draw from its own stream, and its tickets number apart.
            if (s.historica && !pasado) {
                std::swap(azar_, pasado_);
                pasado = true;
            }
            const int documento = (s.historica ? 20000 : 2000) + s.numero;
            const double importe = 500.0 * azar_.entre(3, 30);
            const int diaTicket = s.dia + azar_.entre(0, 2);
            const double anticipo = importe / 10;
            // A ticket is spent once its application went on to a batch.
            ticket.enlazar(1, documento)
                .enlazar(2, s.cliente)
                .enlazar(3, Hace(diaTicket, azar_.entre(10, 19), azar_.entre(0, 59)))
                .enlazar(4, anticipo)
                .enlazar(5, s.relacion.isNull() ? anticipo : 0.0);
            ticket.ejecutar();
            solicitud.enlazar(1, s.numero)
                .enlazar(2, s.cliente)
                .enlazar(3, Hace(s.dia, azar_.entre(9, 18), azar_.entre(0, 59)))
                .enlazar(4, importe)
                .enlazar(5, s.sucursal.leftJustified(7, QLatin1Char(' ')))
                .enlazar(6, azar_.entre(1, 2))
                .enlazar(7, clientes_[s.cliente - 7].telefono)
                .enlazar(8, s.aval.nombres)
                .enlazar(9, s.aval.apellidos)
                .enlazar(10, s.elegido ? 0 : 1)
                .enlazar(11, documento)
                .enlazar(12, DiaTexto(diaTicket))
                .enlazar(13, Clave(s.vendedor))
                .enlazar(14, s.relacion)
                .enlazar(15, s.estado)
                .enlazar(16, s.comentarios);
            solicitud.ejecutar();
        }
        if (pasado) std::swap(azar_, pasado_);
        // Tickets nobody used yet, for the clerk to capture with; some already spent.
        for (int i = 0; i < 10; ++i) {
            const double importe = 100.0 * azar_.entre(3, 15);
            ticket.enlazar(1, 3001 + i)
                .enlazar(2, clientes_[i * 7].numero)
                .enlazar(3, Hace(i % 3, 11 + i % 6, 5 * i))
                .enlazar(4, importe)
                .enlazar(5, i < 6 ? importe : 0.0);
            ticket.ejecutar();
        }

        Sentencia linea(
            db_, QStringLiteral("INSERT INTO norv.detalles_Relaciones_Solicitudes (Relacion, "
                                "Solicitud, tiene_cita, fecha_verificacion, estado_Actual, "
                                "Tipo_Verificacion, Linea_Autorizada, comentarios, "
                                "recomienda_verificador) VALUES (?1, ?2, 1, ?3, ?4, ?5, ?6, "
                                "?7, ?8)"));
        for (const Linea& l : lineas_) {
            linea.enlazar(1, l.relacion)
                .enlazar(2, l.solicitud)
                .enlazar(3, l.verificada)
                .enlazar(4, l.estado)
                .enlazar(5, l.tipo)
                .enlazar(6, l.linea)
                .enlazar(7, l.comentarios)
                .enlazar(8, l.recomienda);
            linea.ejecutar();
        }
    }

    struct Relacion {
        int numero = 0;
        int centro = 0;
        int dia = 0;
        QString verificador;
        QString estado;
    };
    struct Linea {
        int relacion = 0;
        int solicitud = 0;
        QString estado;
        QVariant verificada;
        QVariant tipo;
        double linea = 0;
        QVariant comentarios;
        QVariant recomienda;
    };

    sqlite3* db_;
    Azar azar_, pasado_;
    std::vector<Centro> centros_;
    std::vector<Cliente> clientes_;
    std::vector<int> conCredito_;
    std::vector<Persona> frecuentes_;
    std::vector<Solicitud> solicitudes_;
    std::vector<Relacion> relaciones_;
    std::vector<Linea> lineas_;
};

}  // namespace

void SembrarOficina(sqlite3* db) { Oficina(db).sembrar(); }

}  // namespace demo::detalle
