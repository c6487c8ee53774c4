#pragma once
// An office's database for the benchmarks, written straight into the embedded engine's files:
// per distribution centre 10 branches, 200 staff, 100,000 customers and two years of
// applications (about 41 a day) that are handed over two days after they arrive, in batches
// of ten, and come back verified a few days later. The full office has 10 centres (1,000,000
// customers, 300,000 applications, 30,000 batches); the small one only the first, with the
// very same rows for it, so that a centre's lists come out the same size in both.
//
// The files are kept in a folder and used again while the version below and the day hold.
#include <sqlite3.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "db/embedded/funciones.h"
#include "db/embedded/motor_incrustado.h"

namespace oficina {

constexpr int kVersion = 1;
constexpr int kDias = 730;
constexpr int kSucursalesPorCentro = 10;
constexpr int kPersonalPorCentro = 200;
constexpr int kClientesPorCentro = 100000;
constexpr int kLineasPorRelacion = 10;
// Batches are handed over this many days after the applications came in.
constexpr int kDiasParaEntregar = 2;

inline const char* const kCentros[] = {"CHI", "JRZ", "CUU", "DEL", "PAR",
                                       "NCG", "CUA", "OJI", "TRC", "MTY"};

struct Base {
    QString carpeta;
    int centros = 0;
    QDate hoy;  // the last day with data: the lists are asked relative to it
};

// Numbers that come out the same on every machine (std's distributions do not).
class Azar {
  public:
    explicit Azar(quint64 semilla) : s_(semilla * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    quint64 siguiente() {
        quint64 z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int hasta(int n) { return int(siguiente() % quint64(n)); }
    bool cada(int n) { return hasta(n) == 0; }
    template <size_t N>
    const char* de(const char* const (&lista)[N]) {
        return lista[hasta(int(N))];
    }

  private:
    quint64 s_;
};

inline const char* const kApellidos[] = {
    "GARCIA",    "HERNANDEZ", "MARTINEZ", "LOPEZ",     "GONZALEZ",  "PEREZ",    "RODRIGUEZ",
    "SANCHEZ",   "RAMIREZ",   "CRUZ",     "FLORES",    "GOMEZ",     "MORALES",  "VAZQUEZ",
    "REYES",     "JIMENEZ",   "TORRES",   "DIAZ",      "GUTIERREZ", "RUIZ",     "MENDOZA",
    "AGUILAR",   "ORTIZ",     "MORENO",   "CASTILLO",  "ROMERO",    "ALVAREZ",  "MENDEZ",
    "CHAVEZ",    "RIVERA",    "JUAREZ",   "RAMOS",     "DOMINGUEZ", "HERRERA",  "MEDINA",
    "CASTRO",    "VARGAS",    "GUZMAN",   "VELAZQUEZ", "MUÑOZ",     "ROJAS",    "CONTRERAS",
    "SALAZAR",   "LUNA",      "ORTEGA",   "SANTIAGO",  "GUERRERO",  "ESTRADA",  "BAUTISTA",
    "CORTES",    "SOTO",      "ALVARADO", "ESPINOZA",  "LARA",      "AVILA",    "RIOS",
    "CERVANTES", "SILVA",     "DELGADO",  "VEGA",      "MARQUEZ",   "SANDOVAL", "FERNANDEZ",
    "LEON",      "CARRILLO",  "MEJIA",    "SOLIS",     "NUÑEZ",     "ROSAS",    "VALDEZ",
    "IBARRA",    "CAMPOS",    "SANTOS",   "CAMACHO",   "NAVARRO",   "PEÑA",     "MALDONADO",
    "ROSALES",   "ACOSTA",    "MIRANDA",  "TREJO",     "VALENCIA",  "NAVA",     "PACHECO",
    "ROBLES",    "MOLINA",    "RANGEL",   "FUENTES",   "HUERTA",    "MEZA",     "ORDOÑEZ",
    "IBAÑEZ",    "CASTAÑEDA", "GÓMEZ",    "PÉREZ",     "RAMÍREZ",   "JIMÉNEZ",  "MÉNDEZ",
    "DÍAZ",      "RÍOS",      "LEÓN",     "VÁZQUEZ",   "SÁNCHEZ",   "MARTÍNEZ", "ÁVILA",
    "BECERRA",   "BENITEZ",   "CABRERA",  "CALDERON",  "CARDENAS",  "CARRASCO", "CERDA",
    "DURAN",     "ESCOBAR",   "FRANCO",   "GALLEGOS",  "GALVAN",    "GARZA",    "GIL",
    "ZAPATA",    "VILLA",     "TAPIA",    "SALINAS",   "QUINTERO",  "PONCE",    "OROZCO",
    "OCHOA",     "MONTES",    "MORA",     "LOZANO",    "LUGO",      "LIMON",    "JAIME",
    "HIDALGO",   "ESPINOSA",  "ENRIQUEZ", "DUARTE",    "CORONA",    "CISNEROS", "BARRERA",
    "ARELLANO",  "ANGULO",    "ZAMORA",   "VERA",      "URIBE",     "TOVAR",    "SOSA"};

inline const char* const kNombres[] = {"JUAN",         "JOSE",           "LUIS",
                                       "CARLOS",       "JESUS",          "MIGUEL",
                                       "FRANCISCO",    "ANTONIO",        "ALEJANDRO",
                                       "PEDRO",        "MANUEL",         "RICARDO",
                                       "FERNANDO",     "JORGE",          "ROBERTO",
                                       "SERGIO",       "MARIO",          "RAUL",
                                       "DANIEL",       "EDUARDO",        "JAVIER",
                                       "ARTURO",       "HECTOR",         "RAFAEL",
                                       "ALBERTO",      "JOSÉ LUIS",      "JUAN CARLOS",
                                       "JOSÉ ANTONIO", "MIGUEL ÁNGEL",   "JESÚS",
                                       "RAMÓN",        "MARTÍN",         "ANDRÉS",
                                       "JULIÁN",       "RUBÉN",          "MARIA",
                                       "GUADALUPE",    "ROSA",           "ANA",
                                       "LETICIA",      "PATRICIA",       "ELENA",
                                       "LAURA",        "MARTHA",         "SILVIA",
                                       "VERONICA",     "GABRIELA",       "ALEJANDRA",
                                       "CLAUDIA",      "ADRIANA",        "MARÍA GUADALUPE",
                                       "MARÍA ELENA",  "MARÍA DE JESÚS", "ANA MARÍA",
                                       "ROSA MARÍA",   "SOFÍA",          "MÓNICA",
                                       "BEATRIZ",      "CECILIA",        "DOLORES",
                                       "ESPERANZA",    "FABIOLA",        "GRACIELA",
                                       "IRMA",         "JOSEFINA",       "JULIA",
                                       "LORENA",       "LUCIA",          "MARGARITA",
                                       "NORMA",        "OLGA",           "PAOLA",
                                       "RAQUEL",       "SANDRA",         "TERESA",
                                       "YOLANDA",      "ARACELI",        "BERTHA",
                                       "CARMEN",       "DIANA",          "ERIKA",
                                       "ESTHER",       "GLORIA",         "IRENE",
                                       "KARLA",        "LILIANA",        "LUZ",
                                       "MARISOL",      "NANCY",          "OFELIA",
                                       "ALMA",         "BLANCA",         "CRISTINA",
                                       "EDITH",        "ELSA",           "IVÁN",
                                       "ÓSCAR",        "ÁNGEL",          "HÉCTOR",
                                       "NÉSTOR"};

inline const char* const kZonas[] = {"Centro",     "Norte",     "Sur",          "Oriente",
                                     "Poniente",   "Ávalos",    "Niños Héroes", "Campestre",
                                     "Aeropuerto", "Industrial"};
inline const char* const kCalles[] = {"JUÁREZ",  "HIDALGO",       "MORELOS", "ALLENDE", "ALDAMA",
                                      "REFORMA", "INDEPENDENCIA", "ZARCO",   "OCAMPO",  "VICTORIA"};
inline const char* const kComentarios[] = {"DOMICILIO CONFIRMADO CON VECINOS",
                                           "TRABAJO VERIFICADO POR TELÉFONO",
                                           "NO SE LOCALIZÓ EL DOMICILIO",
                                           "REFERENCIAS CORRECTAS",
                                           "EL AVAL NO CONOCE AL CLIENTE",
                                           "CLIENTE CON ADEUDO EN OTRA TIENDA",
                                           "VIVE CON SUS PADRES, INGRESO COMPROBADO",
                                           "CAMBIO DE DOMICILIO RECIENTE"};
inline const char* const kTipos[] = {"Normal",  "Aval",          "Visita",
                                     "Foraneo", "Normal-Visita", "Aval-Visita"};
inline const char* const kRecomienda[] = {"Recomienda", "No Recomienda", "Dudoso"};

inline std::string Texto(const QString& s) { return s.toStdString(); }

inline std::string NombrePersona(Azar& a) {
    return std::string(a.de(kApellidos)) + " " + a.de(kApellidos) + " " + a.de(kNombres);
}

// A customer's name depends only on its centre and its number within the centre.
inline std::string NombreCliente(int centro, int k) {
    Azar a(quint64(centro) * 1000003ull + quint64(k));
    return NombrePersona(a);
}

// The key of a branch or a person as the CHAR(7) columns keep it.
inline std::string Izquierda7(int n) { return Texto(QString::number(n).leftJustified(7, ' ')); }
inline std::string Derecha7(int n) { return Texto(QString::number(n).rightJustified(7, ' ')); }
inline int Sucursal(int centro, int k) { return (centro - 1) * kSucursalesPorCentro + k + 1; }
inline int Persona(int centro, int j) { return centro * 1000 + j; }
inline bool EsVendedor(int j) { return j < 150; }
inline bool EsVerificador(int j) { return j >= 150 && j < 170; }

inline std::string Momento(const QDate& dia, int minutoDelDia, int ms = 0) {
    char b[32];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d.%03d", dia.year(), dia.month(),
                  dia.day(), minutoDelDia / 60, minutoDelDia % 60, 0, ms);
    return b;
}

class Insercion {
  public:
    Insercion(sqlite3* h, const char* sql) : h_(h) {
        if (sqlite3_prepare_v2(h, sql, -1, &st_, nullptr) != SQLITE_OK) falla(sql);
    }
    ~Insercion() { sqlite3_finalize(st_); }
    Insercion& operator()(int i, qint64 v) {
        sqlite3_bind_int64(st_, i, v);
        return *this;
    }
    Insercion& operator()(int i, double v) {
        sqlite3_bind_double(st_, i, v);
        return *this;
    }
    Insercion& operator()(int i, const std::string& v) {
        sqlite3_bind_text(st_, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insercion& nulo(int i) {
        sqlite3_bind_null(st_, i);
        return *this;
    }
    void correr() {
        if (sqlite3_step(st_) != SQLITE_DONE) falla("insertar");
        sqlite3_reset(st_);
    }

  private:
    [[noreturn]] void falla(const char* que) {
        std::fprintf(stderr, "base de oficina: %s: %s\n", que, sqlite3_errmsg(h_));
        std::exit(1);
    }
    sqlite3* h_;
    sqlite3_stmt* st_ = nullptr;
};

inline void Ejecutar(sqlite3* h, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(h, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "base de oficina: %s: %s\n", sql.c_str(), error ? error : "");
        std::exit(1);
    }
}

// Triggers and indexes go while the rows are written (the rows already have the shape the
// triggers give); the engine puts them back, and builds the indexes once, when it next opens.
inline void QuitarComplementos(sqlite3* h) {
    for (const char* base : {"main", "norv"}) {
        std::vector<std::pair<std::string, std::string>> objetos;
        sqlite3_stmt* st = nullptr;
        const std::string sql =
            std::string("SELECT type, name FROM ") + base +
            ".sqlite_master WHERE type IN ('trigger','index') AND sql IS NOT NULL";
        sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            objetos.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                 reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        sqlite3_finalize(st);
        for (const auto& [tipo, nombre] : objetos)
            Ejecutar(h, "DROP " + std::string(tipo == "index" ? "INDEX " : "TRIGGER ") + base +
                            "." + nombre);
    }
}

inline void EscribirCatalogos(sqlite3* h, int centros) {
    Insercion sucursal(h, "INSERT INTO main.sucursales VALUES (?1, ?2, ?3, 0.16)");
    Insercion persona(h, "INSERT INTO main.personal VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'CLAVE')");
    for (int c = 1; c <= centros; ++c) {
        for (int k = 0; k < kSucursalesPorCentro; ++k)
            sucursal(1, Texto(QString::number(Sucursal(c, k))))(
                2, std::string(kCentros[c - 1]) + " " + kZonas[k])(3, std::string(kCentros[c - 1]))
                .correr();
        Azar a(quint64(c) * 7919ull);
        for (int j = 0; j < kPersonalPorCentro; ++j) {
            const std::string apellidos = std::string(a.de(kApellidos)) + " " + a.de(kApellidos);
            persona(1, Derecha7(Persona(c, j)))(2, apellidos)(3, std::string(a.de(kNombres)))(
                4, qint64(Sucursal(c, j % kSucursalesPorCentro)))(5, qint64(EsVendedor(j)))(
                6, qint64(EsVerificador(j)))
                .correr();
        }
    }
    Ejecutar(
        h,
        "INSERT INTO norv.Promociones VALUES (1, 'CONTADO', 4), (2, '6 MESES SIN INTERESES', 4),"
        " (3, '12 QUINCENAS', 4), (4, 'CRÉDITO FÁCIL', 4), (5, 'MAYOREO', 2);"
        "INSERT INTO norv.Programas_Version VALUES (2, 3.0, 0, 0)");
}

inline void EscribirClientes(sqlite3* h, int centros, const QDate& hoy) {
    Insercion cliente(h, "INSERT INTO main.clientes VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (int c = 1; c <= centros; ++c) {
        for (int k = 1; k <= kClientesPorCentro; ++k) {
            Azar a(quint64(c) * 2000003ull + quint64(k));
            const std::string nombre = NombreCliente(c, k);
            char rfc[16];
            std::snprintf(rfc, sizeof rfc, "%c%c%c%c%02d%02d%02d%03d", 'A' + a.hasta(26),
                          'A' + a.hasta(26), 'A' + a.hasta(26), 'A' + a.hasta(26), 50 + a.hasta(50),
                          1 + a.hasta(12), 1 + a.hasta(28), a.hasta(1000));
            const std::string domicilio = std::string("CALLE ") + a.de(kCalles) + " " +
                                          std::to_string(1 + a.hasta(3000)) + " COL. " +
                                          a.de(kZonas);
            cliente(1, qint64((c - 1) * kClientesPorCentro + k))(2, nombre)(3, std::string(rfc))(
                4, qint64(a.cada(200)))(5, qint64(a.cada(100)))(6, domicilio)(
                7, Izquierda7(Sucursal(c, a.hasta(kSucursalesPorCentro))))(
                8, Momento(hoy.addDays(-kDias - a.hasta(3000)), 600))
                .correr();
        }
    }
}

// Day by day, centre by centre: the applications of the day and the batches that take them,
// decided first and written in number order.
inline void EscribirSolicitudes(sqlite3* h, int centros, const QDate& hoy) {
    Insercion solicitud(h,
                        "INSERT INTO norv.Solicitudes_cliente_Nuevo VALUES (?1, ?2, ?3, ?4, ?5, "
                        "?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    Insercion relacion(
        h,
        "INSERT INTO norv.Relaciones_Solicitudes_credito VALUES (?1, ?2, ?3, ?3, ?4, "
        "?5, ?6)");
    Insercion linea(h,
                    "INSERT INTO norv.detalles_Relaciones_Solicitudes VALUES (?1, ?2, 1, ?3, ?4, "
                    "?5, ?6, ?7, ?8)");
    struct Linea {
        std::string verificada, estado, tipo, comentario, recomienda;
        double autorizado = 0;
    };
    struct Solicitud {
        qint64 numero = 0, relacion = 0;
        std::string estado = "Recibida", comentario;
        Linea linea;
    };
    qint64 numeroSolicitud = 0, numeroRelacion = 0;
    for (int d = 0; d < kDias; ++d) {
        const QDate dia = hoy.addDays(d - kDias + 1);
        const QDate entrega = dia.addDays(kDiasParaEntregar);
        const bool entregable = entrega <= hoy;
        // Batches handed over up to four days ago are back, their lines verified.
        const bool devuelta = entrega.addDays(4) <= hoy;
        for (int c = 1; c <= centros; ++c) {
            Azar a(quint64(c) * 100003ull + quint64(kDias - d));
            const int cuantas = 41 + (d % 10 == 0);
            std::vector<Solicitud> del_dia(cuantas);
            std::vector<size_t> porEntregar;
            for (int i = 0; i < cuantas; ++i) {
                Solicitud& s = del_dia[i];
                s.numero = ++numeroSolicitud;
                if (a.cada(50)) {
                    s.estado = "Rechazada";
                    s.comentario = "CLIENTE CON ADEUDO";
                } else if (!a.cada(100) && entregable) {
                    porEntregar.push_back(size_t(i));
                }
            }
            struct Entregada {
                qint64 numero;
                std::string verificador;
                int minuto;
            };
            std::vector<Entregada> relaciones;
            for (size_t i = 0; i < porEntregar.size(); ++i) {
                if (i % kLineasPorRelacion == 0)
                    relaciones.push_back(
                        {++numeroRelacion, Derecha7(Persona(c, 150 + a.hasta(20))), 600 + int(i)});
                Solicitud& s = del_dia[porEntregar[i]];
                s.relacion = relaciones.back().numero;
                Linea& l = s.linea;
                if (devuelta) {
                    const bool autorizada = a.hasta(10) < 7;
                    l.estado = autorizada ? "Autorizada" : "Rechazada";
                    l.verificada = Momento(entrega.addDays(1 + a.hasta(3)), 700 + a.hasta(500));
                    l.tipo = a.de(kTipos);
                    l.autorizado = autorizada ? double(5000 + 500 * a.hasta(50)) : 0.0;
                    l.comentario = a.de(kComentarios);
                    l.recomienda = a.de(kRecomienda);
                    // The reception copied the line's state and comments onto the application.
                    s.estado = l.estado;
                    s.comentario = l.comentario;
                } else {
                    l.estado = "Entregada";
                }
            }
            for (const Solicitud& s : del_dia) {
                const int k = 1 + a.hasta(kClientesPorCentro);
                std::string telefono = "614";
                for (int t = 0; t < 10; ++t) telefono += char('0' + a.hasta(10));
                const bool conAval = !a.cada(6);
                const std::string nombreAval = conAval ? a.de(kNombres) : "";
                const std::string apellidosAval =
                    conAval ? std::string(a.de(kApellidos)) + " " + a.de(kApellidos) : "";
                solicitud(1, s.numero)(2, qint64((c - 1) * kClientesPorCentro + k))(
                    3, Momento(dia, 540 + a.hasta(600), a.hasta(1000)))(
                    4, double(1000 + 50 * a.hasta(400)))(
                    5, Izquierda7(Sucursal(c, a.hasta(kSucursalesPorCentro))))(
                    6, qint64(1 + a.hasta(4)))(7, telefono)(8, nombreAval)(9, apellidosAval)(
                    10, qint64(a.hasta(2)))(11, qint64(100000 + a.hasta(900000)))(
                    12, Momento(dia, 0))(13, Derecha7(Persona(c, a.hasta(150))))(15, s.estado);
                if (s.relacion)
                    solicitud(14, s.relacion);
                else
                    solicitud.nulo(14);
                if (s.comentario.empty())
                    solicitud.nulo(16);
                else
                    solicitud(16, s.comentario);
                solicitud.correr();
            }
            for (const Entregada& r : relaciones) {
                relacion(1, r.numero)(2, std::string(kCentros[c - 1]))(3, r.verificador)(
                    4, Momento(entrega, r.minuto));
                if (devuelta)
                    relacion(5, Momento(entrega.addDays(3), 900))(6, std::string("Recibida"));
                else
                    relacion.nulo(5)(6, std::string("Entregada"));
                relacion.correr();
            }
            for (const Solicitud& s : del_dia) {
                if (!s.relacion) continue;
                const Linea& l = s.linea;
                linea(1, s.relacion)(2, s.numero)(4, l.estado)(6, l.autorizado);
                if (l.verificada.empty())
                    linea.nulo(3).nulo(5).nulo(7).nulo(8);
                else
                    linea(3, l.verificada)(5, l.tipo)(7, l.comentario)(8, l.recomienda);
                linea.correr();
            }
        }
    }
}

inline void Construir(const QString& carpeta, int centros, const QDate& hoy) {
    QDir(carpeta).removeRecursively();
    {
        db::MotorIncrustado motor(carpeta);
        sqlite3* h = motor.manejador();
        QuitarComplementos(h);
        Ejecutar(h,
                 "PRAGMA main.journal_mode = OFF; PRAGMA norv.journal_mode = OFF; "
                 "PRAGMA main.synchronous = OFF; PRAGMA norv.synchronous = OFF; "
                 "PRAGMA cache_size = -200000");
        Ejecutar(h, "BEGIN");
        EscribirCatalogos(h, centros);
        EscribirClientes(h, centros, hoy);
        EscribirSolicitudes(h, centros, hoy);
        Ejecutar(h, "COMMIT");
    }
    db::MotorIncrustado motor(carpeta);  // triggers and indexes back
}

// The office of `centros` centres, built in `carpeta` unless it is there already. Its days
// stay as they were built: the lists are asked relative to Base::hoy, not to today.
inline Base Preparar(const QString& carpeta, int centros) {
    Base b{carpeta, centros, QDate::currentDate()};
    QFile marca(QDir(carpeta).filePath(QStringLiteral("lista")));
    const QString version = QStringLiteral("%1 %2 ").arg(kVersion).arg(centros);
    if (marca.open(QIODevice::ReadOnly)) {
        const QString hecha = QString::fromUtf8(marca.readAll());
        const QDate dia = QDate::fromString(hecha.mid(version.size()), Qt::ISODate);
        if (hecha.startsWith(version) && dia.isValid()) return {carpeta, centros, dia};
        marca.close();
    }
    std::fprintf(stderr, "construyendo la base de %d centro(s) en %s ...\n", centros,
                 qPrintable(carpeta));
    Construir(carpeta, centros, b.hoy);
    if (marca.open(QIODevice::WriteOnly))
        marca.write((version + b.hoy.toString(Qt::ISODate)).toUtf8());
    return b;
}

// Names of customers of the first centre, which both offices have.
inline QStringList NombresDeClientes(int cuantos) {
    QStringList r;
    for (int i = 0; i < cuantos; ++i)
        r << QString::fromStdString(NombreCliente(1, 1 + i * (kClientesPorCentro / cuantos)));
    return r;
}

// The floor's own connection to the office's files: the engine's functions and collation (the
// translated text calls them) and its planner setting, but no progress handler, no wait for
// locks, nothing of the program's that could run inside a step.
class ConexionDesnuda {
  public:
    explicit ConexionDesnuda(const QString& carpeta) {
        const QByteArray erp =
            QFile::encodeName(QDir(carpeta).filePath(db::MotorIncrustado::archivoErp()));
        const QByteArray norv =
            QFile::encodeName(QDir(carpeta).filePath(db::MotorIncrustado::archivoNorv()));
        sqlite3_open_v2(erp.constData(), &h_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        Ejecutar(h_, "ATTACH DATABASE '" + norv.toStdString() + "' AS norv");
        Ejecutar(h_, "PRAGMA automatic_index = OFF");
        funciones_ = std::make_unique<db::incrustado::Funciones>(h_);
    }
    ~ConexionDesnuda() {
        funciones_.reset();
        sqlite3_close(h_);
    }
    sqlite3* manejador() const { return h_; }

  private:
    sqlite3* h_ = nullptr;
    std::unique_ptr<db::incrustado::Funciones> funciones_;
};

}  // namespace oficina
