#include "db/embedded/procedimientos.h"

#include <sqlite3.h>

#include <QHash>
#include <QStringList>

#include "db/embedded/apoyo.h"
#include "db/embedded/resultado_incrustado.h"
#include "db/error_bd.h"

namespace db::incrustado {

namespace {

enum class Tipo { Texto, Entero, Fecha };

struct DefParametro {
    QString nombre;  // with its '@'
    Tipo tipo;
    int largo;  // the procedure's own width for texts: longer values are cut, as the server does
    bool salida;
};

struct DefProcedimiento {
    QString nombre;
    QString base;  // "main" (erp_oxa) or "norv"
    std::vector<DefParametro> parametros;
};

const std::vector<DefProcedimiento>& definiciones() {
    static const std::vector<DefProcedimiento> d = {
        {QStringLiteral("Guarda_Cliente_norv"),
         QStringLiteral("main"),
         {{QStringLiteral("@cSucursal"), Tipo::Texto, 7, false},
          {QStringLiteral("@cRFC"), Tipo::Texto, 20, false},
          {QStringLiteral("@cNombreCliente"), Tipo::Texto, 80, false},
          {QStringLiteral("@nCliente"), Tipo::Entero, 0, true}}},
        {QStringLiteral("Cliente_Compra_Facil"),
         QStringLiteral("norv"),
         {{QStringLiteral("@nCliente"), Tipo::Entero, 0, false},
          {QStringLiteral("@cNombres"), Tipo::Texto, 50, false},
          {QStringLiteral("@cPaterno"), Tipo::Texto, 50, false},
          {QStringLiteral("@cMaterno"), Tipo::Texto, 50, false},
          {QStringLiteral("@nEmpresa"), Tipo::Entero, 0, false},
          {QStringLiteral("@dNacimiento"), Tipo::Fecha, 0, false}}},
        {QStringLiteral("REGRESA_FOLIO"),
         QStringLiteral("main"),
         {{QStringLiteral("@Nfolio"), Tipo::Entero, 0, true}}},
        {QStringLiteral("Rep_Historial_Norv_Cliente"),
         QStringLiteral("norv"),
         {{QStringLiteral("@cApellidos"), Tipo::Texto, 60, false},
          {QStringLiteral("@cNombres"), Tipo::Texto, 60, false}}}};
    return d;
}

QString sinArroba(const QString& n) { return n.startsWith(QLatin1Char('@')) ? n.mid(1) : n; }

QString recortarFinal(const QString& s) {
    qsizetype f = s.size();
    while (f > 0 && s[f - 1] == QLatin1Char(' ')) --f;
    return s.left(f);
}

QString recortar(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
    return recortarFinal(s.mid(i));
}

// The procedure named by `texto` ([db.][dbo.]nombre, brackets allowed), or an error as the
// server gives for a procedure it cannot find.
const DefProcedimiento& buscar(const QString& texto) {
    QStringList partes;
    for (QString p : texto.trimmed().split(QLatin1Char('.'))) {
        p = p.trimmed();
        if (p.startsWith(QLatin1Char('[')) && p.endsWith(QLatin1Char(']')))
            p = p.mid(1, p.size() - 2);
        partes << p;
    }
    auto noExiste = [&]() {
        return ErrorBD(QStringLiteral("No se encontró el procedimiento almacenado «%1».")
                           .arg(texto.trimmed()));
    };
    if (partes.size() > 3) throw noExiste();
    QString base = QStringLiteral("main");
    if (partes.size() == 3) {
        if (partes[0].compare(QLatin1String("norv"), Qt::CaseInsensitive) == 0)
            base = QStringLiteral("norv");
        else if (partes[0].compare(QLatin1String("erp_oxa"), Qt::CaseInsensitive) != 0)
            throw noExiste();
    }
    if (partes.size() >= 2) {
        const QString& dueno = partes[partes.size() - 2];
        if (!dueno.isEmpty() && dueno.compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
            throw noExiste();
    }
    for (const DefProcedimiento& d : definiciones())
        if (d.nombre.compare(partes.last(), Qt::CaseInsensitive) == 0 && d.base == base) return d;
    throw noExiste();
}

// The values of one call, by parameter name in small letters without '@'.
class Valores {
  public:
    Valores(const DefProcedimiento& def, QList<Parametro>& dados) : def_(def), dados_(dados) {
        for (const Parametro& p : dados) {
            const DefParametro* d = definicion(p.nombre);
            if (!d)
                throw ErrorBD(
                    QStringLiteral("El procedimiento %1 no tiene un parámetro llamado %2.")
                        .arg(def.nombre, p.nombre));
            if (p.direccion == Direccion::Salida && !d->salida)
                throw ErrorBD(QStringLiteral("El parámetro %1 de %2 no es de salida.")
                                  .arg(p.nombre, def.nombre));
            valores_.insert(clave(d->nombre), convertir(*d, p.valor));
        }
        for (const DefParametro& d : def.parametros)
            if (!d.salida && !valores_.contains(clave(d.nombre)))
                throw ErrorBD(QStringLiteral("El procedimiento %1 espera el parámetro %2, que no "
                                             "se proporcionó.")
                                  .arg(def.nombre, d.nombre));
    }

    QVariant operator[](const char* nombre) const {
        return valores_.value(clave(QLatin1String(nombre)));
    }
    QString texto(const char* nombre) const { return recortarFinal((*this)[nombre].toString()); }

    // Writes an output value back into every parameter given with that name.
    void salida(const char* nombre, const QVariant& v) {
        for (Parametro& p : dados_)
            if (p.direccion == Direccion::Salida && clave(p.nombre) == clave(QLatin1String(nombre)))
                p.valor = v;
    }

  private:
    static QString clave(const QString& n) { return sinArroba(n).toLower(); }

    const DefParametro* definicion(const QString& n) const {
        for (const DefParametro& d : def_.parametros)
            if (clave(d.nombre) == clave(n)) return &d;
        return nullptr;
    }

    QVariant convertir(const DefParametro& d, const QVariant& v) const {
        if (v.isNull() || !v.isValid()) return {};
        const auto error = [&]() {
            return ErrorBD(QStringLiteral("Error al convertir «%1» del parámetro %2 de %3.")
                               .arg(v.toString(), d.nombre, def_.nombre));
        };
        switch (d.tipo) {
            case Tipo::Texto:
                return v.toString().left(d.largo);
            case Tipo::Entero: {
                if (v.typeId() == QMetaType::QString) {
                    bool ok = false;
                    const qint64 n = v.toString().trimmed().toLongLong(&ok);
                    if (!ok) throw error();
                    return QVariant(n);
                }
                bool ok = false;
                const double n = v.toDouble(&ok);
                if (!ok) throw error();
                return QVariant(static_cast<qint64>(n));
            }
            case Tipo::Fecha: {
                if (v.typeId() == QMetaType::QDateTime) return TextoFecha(v.toDateTime());
                if (v.typeId() == QMetaType::QDate) return TextoFecha(v.toDate().startOfDay());
                const QDateTime f = LeerFecha(v.toString());
                if (!f.isValid()) throw error();
                return TextoFecha(f);
            }
        }
        return {};
    }

    const DefProcedimiento& def_;
    QList<Parametro>& dados_;
    QHash<QString, QVariant> valores_;
};

// Creates the customer; its number comes back in @nCliente (0 when the name is blank).
void guardaClienteNorv(sqlite3* db, std::optional<qint64>& identidad, Valores& v) {
    const QString nombre = recortar(v.texto("@cNombreCliente"));
    if (nombre.isEmpty()) {
        v.salida("@nCliente", QVariant(qint64(0)));
        return;
    }
    Sentencia s(db, QStringLiteral("INSERT INTO main.clientes (Nombre_Cliente, RFC, sucursal) "
                                   "VALUES (?1, ?2, ?3)"));
    s.enlazar(1, nombre)
        .enlazar(2, recortar(v.texto("@cRFC")))
        .enlazar(3, recortar(v.texto("@cSucursal")));
    s.ejecutar();
    const qint64 n = sqlite3_last_insert_rowid(db);
    identidad = n;
    v.salida("@nCliente", QVariant(n));
}

// Records the customer's name parts (one row per customer; a second call replaces them).
void clienteCompraFacil(sqlite3* db, Valores& v) {
    const QVariant cliente = v["@nCliente"];
    Sentencia existe(db, QStringLiteral("SELECT 1 FROM main.clientes WHERE cliente = ?1"));
    existe.enlazar(1, cliente);
    if (cliente.isNull() || !existe.paso())
        throw ErrorBD(QStringLiteral("Cliente_Compra_Facil: el cliente %1 no existe.")
                          .arg(cliente.isNull() ? QStringLiteral("NULL") : cliente.toString()));
    Sentencia s(db, QStringLiteral("INSERT OR REPLACE INTO norv.Clientes_Compra_Facil "
                                   "(Cliente, Nombres, Paterno, Materno, Empresa, Nacimiento) "
                                   "VALUES (?1, ?2, ?3, ?4, coalesce(?5, 0), ?6)"));
    s.enlazar(1, cliente)
        .enlazar(2, recortar(v.texto("@cNombres")))
        .enlazar(3, recortar(v.texto("@cPaterno")))
        .enlazar(4, recortar(v.texto("@cMaterno")))
        .enlazar(5, v["@nEmpresa"])
        .enlazar(6, v["@dNacimiento"]);
    s.ejecutar();
}

// The person's record in the credit system, looked up by name: as a customer (with credit,
// uncollectible, undesirable) and as the guarantor of authorised applications.
std::unique_ptr<Resultado> repHistorial(sqlite3* db, Valores& v) {
    const QString apellidos = recortar(v.texto("@cApellidos"));
    const QString nombres = recortar(v.texto("@cNombres"));
    const QString completo = recortar(apellidos + QLatin1Char(' ') + nombres);

    qint64 clienteCredito = 0;
    bool incobrable = false, indeseable = false;
    Sentencia c(
        db, QStringLiteral("SELECT c.cliente, c.es_Incobrable, c.es_Indeseable, "
                           "(SELECT count(*) FROM norv.Solicitudes_cliente_Nuevo s "
                           " WHERE s.Cliente = c.cliente AND s.estado_actual = 'Autorizada') "
                           "FROM main.clientes c WHERE c.Nombre_Cliente = ?1 ORDER BY c.cliente"));
    c.enlazar(1, completo);
    while (c.paso()) {
        if (clienteCredito == 0 && c.entero(3) > 0) clienteCredito = c.entero(0);
        incobrable = incobrable || c.entero(1) != 0;
        indeseable = indeseable || c.entero(2) != 0;
    }

    QStringList avalDe;
    Sentencia a(db,
                QStringLiteral(
                    "SELECT DISTINCT trim(c.Nombre_Cliente) FROM norv.Solicitudes_cliente_Nuevo s "
                    "JOIN main.clientes c ON c.cliente = s.Cliente "
                    "WHERE s.apellidos_Aval = ?1 AND s.Nombre_Aval = ?2 "
                    "AND s.estado_actual = 'Autorizada' ORDER BY 1"));
    a.enlazar(1, apellidos).enlazar(2, nombres);
    while (a.paso()) avalDe << a.texto(0);

    std::vector<QVector<QVariant>> filas;
    filas.push_back({QVariant(clienteCredito), QVariant(avalDe.join(QStringLiteral(", "))),
                     QVariant(incobrable), QVariant(!avalDe.isEmpty()), QVariant(indeseable)});
    return std::make_unique<ResultadoIncrustado>(
        QStringList{QStringLiteral("Cliente"), QStringLiteral("Aval_De"),
                    QStringLiteral("Incobrable"), QStringLiteral("Es_Aval"),
                    QStringLiteral("Indeseable")},
        std::move(filas));
}

}  // namespace

std::unique_ptr<Resultado> LlamarProcedimiento(sqlite3* db, std::optional<qint64>& ultimaIdentidad,
                                               const QString& procedimiento,
                                               QList<Parametro>& parametros) {
    const DefProcedimiento& def = buscar(procedimiento);
    Valores v(def, parametros);
    const QString& n = def.nombre;
    if (n == QLatin1String("Guarda_Cliente_norv")) {
        guardaClienteNorv(db, ultimaIdentidad, v);
        return nullptr;
    }
    if (n == QLatin1String("Cliente_Compra_Facil")) {
        clienteCompraFacil(db, v);
        return nullptr;
    }
    if (n == QLatin1String("REGRESA_FOLIO")) {
        v.salida("@Nfolio", ultimaIdentidad ? QVariant(*ultimaIdentidad) : QVariant());
        return nullptr;
    }
    return repHistorial(db, v);
}

QStringList NombresDeParametros(const QString& procedimiento) {
    QStringList r;
    try {
        for (const DefParametro& p : buscar(procedimiento).parametros) r << p.nombre;
    } catch (const ErrorBD&) {
    }
    return r;
}

}  // namespace db::incrustado
