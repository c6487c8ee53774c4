#include "sesion_tds.h"

#include <sqlite3.h>
#include <sys/socket.h>

#include <QRegularExpression>
#include <QStringList>

#include "db/embedded/esquema.h"
#include "db/embedded/motor_incrustado.h"
#include "db/embedded/procedimientos.h"
#include "db/embedded/traductor.h"
#include "db/error_bd.h"
#include "tds_columnas.h"

using namespace tds;

namespace {

const QString kServidor = QStringLiteral("PRUEBAS");

// The rows of a result, read whole: the types depend on every value.
std::vector<QVariantList> filasDe(db::Resultado& r) {
    std::vector<QVariantList> filas;
    while (r.siguiente()) {
        QVariantList f;
        for (int i = 0; i < r.columnas(); ++i) f << r.valor(i);
        filas.push_back(std::move(f));
    }
    return filas;
}

QStringList nombresDe(const db::Resultado& r) {
    QStringList n;
    for (int i = 0; i < r.columnas(); ++i) n << r.nombreColumna(i);
    return n;
}

QByteArray resultado(const QList<ColumnaTds>& columnas, const std::vector<QVariantList>& filas) {
    QByteArray b = Metadatos(columnas);
    for (const QVariantList& f : filas) b += Fila(columnas, f);
    return b;
}

// Whether the statement writes into a table of the norv database.
bool escribeEnNorv(const QString& sql) {
    try {
        const db::incrustado::Traduccion t = db::incrustado::Traducir(sql);
        const db::incrustado::Tabla* tabla = db::incrustado::BuscarTabla(t.tabla);
        return tabla && tabla->base == QLatin1String("norv");
    } catch (const db::ErrorBD&) {
        return false;
    }
}

}  // namespace

void SesionTds::Respuesta::hecho(quint16 estado, quint64 cuenta) {
    hechos.push_back(b.size());
    b += Hecho(kHecho, estado, cuenta);
}

void SesionTds::Respuesta::error(const ErrorServidor& e, const QString& procedimiento) {
    b += Mensaje(e.numero, e.estado, e.clase, e.texto, kServidor, procedimiento, 1);
}

QByteArray SesionTds::Respuesta::terminar() {
    if (hechos.empty()) hecho(0, 0);
    for (size_t i = 0; i + 1 < hechos.size(); ++i)
        b[hechos[i] + 1] = char(b[hechos[i] + 1] | kHechoMas);
    return b;
}

SesionTds::SesionTds(ServidorTds& servidor, int socket, int numero)
    : servidor_(servidor), socket_(socket), numero_(numero), spid_(quint16(50 + numero)) {
    descriptor_ = quint64(spid_) << 32;
}

SesionTds::~SesionTds() { terminar(); }

void SesionTds::terminar() {
    // The engine goes first: when the client sees the link gone, its work is rolled back.
    motor_.reset();
    if (abierta_) ::shutdown(socket_, SHUT_RDWR);
    abierta_ = false;
}

bool SesionTds::nocount() const { return nocount_.value_or(servidor_.nocount_.load()); }

void SesionTds::enviar(const QByteArray& datos) {
    if (!EnviarMensaje(socket_, datos, tamanoPaquete_, spid_)) terminar();
}

void SesionTds::conversar() {
    quint8 tipo = 0;
    QByteArray cuerpo;
    while (abierta_ && RecibirMensaje(socket_, &tipo, &cuerpo)) {
        if (tipo == kPaquetePrelogin) {
            enviar(RespuestaPrelogin());
            continue;
        }
        if (tipo == kPaqueteLogin) {
            if (!entrar(cuerpo)) break;
            continue;
        }
        if (tipo == kPaqueteAtencion) {
            enviar(Hecho(kHecho, kHechoAtencion, 0));
            continue;
        }
        if (!motor_ || (tipo != kPaqueteLote && tipo != kPaqueteRpc && tipo != kPaqueteTransaccion))
            break;
        const PeticionTds p = leer(tipo, cuerpo);
        servidor_.registrar(p);
        std::optional<ErrorServidor> falla;
        std::optional<CorteTds> corte;
        for (const ServidorTds::Regla& regla : servidor_.reglasPara(p)) {
            if (regla.corta && !corte) corte = regla.cuando;
            if (!regla.corta && !falla)
                falla = ErrorConNumero(regla.numero, regla.clase, regla.texto);
        }
        if (corte == CorteTds::AntesDeCorrer) break;
        motor_->limiteEspera(servidor_.limiteEspera_);
        QByteArray respuesta = servidor_.respuestaGuionada(p);
        if (respuesta.isEmpty()) respuesta = responder(p, falla);
        if (corte == CorteTds::AntesDeResponder) break;
        enviar(respuesta);
    }
    terminar();
}

bool SesionTds::entrar(const QByteArray& cuerpo) {
    const Login login = LeerLogin(cuerpo);
    tamanoPaquete_ = login.tamanoPaquete;
    Respuesta r;
    if (login.usuario != servidor_.usuario() || login.contrasena != servidor_.contrasena()) {
        r.error(LoginRechazado(login.usuario));
        r.hecho(kHechoError, 0);
        servidor_.escribirBitacora(
            QStringLiteral("conexión %1: acceso rechazado a «%2»").arg(numero_).arg(login.usuario));
        enviar(r.terminar());
        return false;
    }
    try {
        motor_ = std::make_unique<db::MotorIncrustado>(servidor_.carpeta());
        motor_->limiteEspera(servidor_.limiteEspera_);
    } catch (const db::ErrorBD& e) {
        r.error(ErrorConNumero(4060, 11,
                               QStringLiteral("Cannot open database \"erp_oxa\" requested by the "
                                              "login. The login failed. (%1)")
                                   .arg(e.mensaje())));
        r.hecho(kHechoError, 0);
        enviar(r.terminar());
        return false;
    }
    servidor_.escribirBitacora(QStringLiteral("conexión %1: entra «%2» (%3)")
                                   .arg(numero_)
                                   .arg(login.usuario, login.aplicacion));
    enviar(RespuestaLogin(QStringLiteral("erp_oxa"), tamanoPaquete_));
    return true;
}

PeticionTds SesionTds::leer(quint8 tipo, const QByteArray& cuerpo) {
    PeticionTds p;
    p.conexion = numero_;
    p.indice = ++indice_;
    p.enTransaccion = enTransaccion();
    if (tipo == kPaqueteLote) {
        p.texto = LeerLote(cuerpo);
    } else if (tipo == kPaqueteRpc) {
        const Llamada l = LeerLlamada(cuerpo);
        p.clase = PeticionTds::Llamada;
        p.texto = l.nombre;
        p.parametros = l.parametros;
        p.falla = l.falla;
    } else {
        const PeticionTransaccion t = LeerTransaccion(cuerpo);
        p.clase = PeticionTds::Transaccion;
        p.texto = t.tipo == kTmEmpezar     ? QStringLiteral("BEGIN")
                  : t.tipo == kTmConfirmar ? QStringLiteral("COMMIT")
                  : t.tipo == kTmDeshacer  ? QStringLiteral("ROLLBACK")
                                           : QStringLiteral("TM %1").arg(t.tipo);
        if (t.empezarOtra) p.texto += QStringLiteral("+BEGIN");
    }
    return p;
}

QByteArray SesionTds::responder(const PeticionTds& p, const std::optional<ErrorServidor>& falla) {
    Respuesta r;
    if (p.clase == PeticionTds::Lote) {
        lote(p, falla, r);
    } else if (falla) {
        fallo(*falla, r, p.clase == PeticionTds::Llamada ? p.texto : QString());
        if (p.clase == PeticionTds::Llamada) {
            r.b += Hecho(kHechoEnProc, kHechoMas | kHechoError, 0) + EstadoRetorno(-6) +
                   Hecho(kHechoProc, kHechoError, 0);
            return r.b;
        }
        r.hecho(kHechoError, 0);
    } else if (p.clase == PeticionTds::Llamada) {
        llamada(p, r);
        return r.b;
    } else {
        transaccion(p, r);
    }
    return r.terminar();
}

void SesionTds::lote(const PeticionTds& p, std::optional<ErrorServidor> falla, Respuesta& r) {
    static const QRegularExpression tipos(
        QStringLiteral(R"(^\s*(?:EXEC(?:UTE)?\s+)?sp_datatype_info(?:_100)?\b)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!falla && tipos.match(p.texto).hasMatch()) {
        tiposDeDatos(r);
        return;
    }
    const std::vector<ParteLote> partes = PartirLote(p.texto);
    bool hayMotor = false;
    for (const ParteLote& x : partes) hayMotor = hayMotor || x.clase == ParteLote::Motor;
    if (falla && !hayMotor) {
        fallo(*falla, r);
        r.hecho(kHechoError, 0);
        return;
    }
    for (const ParteLote& parte : partes) {
        bool sigue = true;
        switch (parte.clase) {
            case ParteLote::Opcion:
                opcion(parte);
                break;
            case ParteLote::Usar:
            case ParteLote::Variables:
                if (parte.clase == ParteLote::Variables) variables(parte, r);
                break;
            case ParteLote::Empezar:
            case ParteLote::Confirmar:
            case ParteLote::SiConfirmar:
            case ParteLote::Deshacer:
            case ParteLote::SiDeshacer: {
                const Fin fin =
                    parte.clase == ParteLote::Empezar ? empezar(r)
                    : parte.clase == ParteLote::Confirmar || parte.clase == ParteLote::SiConfirmar
                        ? confirmar(r, parte.clase == ParteLote::SiConfirmar)
                        : deshacer(r, parte.clase == ParteLote::SiDeshacer);
                r.hecho(fin == Fin::Bien ? 0 : kHechoError, 0);
                sigue = fin != Fin::Alto;
                break;
            }
            case ParteLote::Motor:
                if (falla) {
                    rowcount_ = 0;
                    sigue = fallo(*falla, r);
                    r.hecho(kHechoError, 0);
                    falla.reset();
                } else {
                    sigue = sentencia(parte.texto, r);
                }
                break;
        }
        if (!sigue) break;
    }
}

void SesionTds::opcion(const ParteLote& parte) {
    rowcount_ = 0;
    const bool si = parte.valor == QLatin1String("ON");
    for (const QString& n : parte.nombres) {
        if (n == QLatin1String("NOCOUNT")) nocount_ = si;
        if (n == QLatin1String("IMPLICIT_TRANSACTIONS")) implicitas_ = si;
    }
}

void SesionTds::variables(const ParteLote& parte, Respuesta& r) {
    QList<ColumnaTds> columnas;
    QVariantList fila;
    for (const QString& n : parte.nombres) {
        if (n == QLatin1String("ROWCOUNT")) {
            columnas << ColumnaTds{QString(), kIntN, 4};
            fila << rowcount_;
        } else if (n == QLatin1String("SPID") || n == QLatin1String("TRANCOUNT")) {
            columnas << ColumnaTds{QString(), kIntN, 4};
            fila << qint64(n == QLatin1String("SPID") ? spid_ : trancount_);
        } else if (n == QLatin1String("VERSION") || n == QLatin1String("SERVERNAME") ||
                   n == QLatin1String("LANGUAGE")) {
            columnas << ColumnaTds{QString(), kNVarChar, 256};
            fila << (n == QLatin1String("VERSION")
                         ? QStringLiteral("Microsoft SQL Server 2019 - 15.0.2000.5 (X64)")
                     : n == QLatin1String("SERVERNAME") ? kServidor
                                                        : QStringLiteral("us_english"));
        } else {
            columnas << ColumnaTds{QString(), kIntN, 4};
            fila << QVariant();
        }
    }
    r.b += Metadatos(columnas) + Fila(columnas, fila);
    r.hecho(nocount() ? 0 : kHechoCuenta, 1);
    rowcount_ = 1;
}

bool SesionTds::sentencia(const QString& sql, Respuesta& r) {
    rowcount_ = 0;
    if (servidor_.comentariosTexto_) {
        if (const std::optional<ErrorServidor> e = ComparacionDeTexto(sql)) {
            const bool sigue = fallo(*e, r);
            r.hecho(kHechoError, 0);
            return sigue;
        }
    }
    if (implicitas_ && trancount_ == 0) empezar(r);
    if (!asegurarTransaccion(r)) {
        r.hecho(kHechoError, 0);
        return false;
    }
    const quint16 cuenta = nocount() ? 0 : kHechoCuenta;
    try {
        if (DevuelveFilas(sql)) {
            std::unique_ptr<db::Resultado> res = motor_->consultar(sql);
            const QStringList nombres = nombresDe(*res);
            const std::vector<QVariantList> filas = filasDe(*res);
            res.reset();
            const OpcionesTipos o{servidor_.nvarchar_, servidor_.comentariosTexto_};
            r.b += resultado(TiposDeResultado(nombres, filas, o), filas);
            rowcount_ = qint64(filas.size());
        } else {
            rowcount_ = motor_->ejecutar(sql);
            const int disparador = servidor_.conteoDisparador_;
            if (disparador > 0 && cuenta && escribeEnNorv(sql))
                r.b += Hecho(kHechoEnProc, kHechoMas | kHechoCuenta, quint64(disparador));
        }
    } catch (const std::exception& e) {
        const bool sigue = fallo(errorDe(e, sql, QString()), r);
        r.hecho(kHechoError, 0);
        return sigue;
    }
    r.hecho(cuenta, quint64(rowcount_));
    return true;
}

void SesionTds::tiposDeDatos(Respuesta& r) {
    // What SQL Server lists for the date type the driver asks about (Qt reads its precision).
    const QStringList nombres = {QStringLiteral("TYPE_NAME"),
                                 QStringLiteral("DATA_TYPE"),
                                 QStringLiteral("PRECISION"),
                                 QStringLiteral("LITERAL_PREFIX"),
                                 QStringLiteral("LITERAL_SUFFIX"),
                                 QStringLiteral("CREATE_PARAMS"),
                                 QStringLiteral("NULLABLE"),
                                 QStringLiteral("CASE_SENSITIVE"),
                                 QStringLiteral("SEARCHABLE"),
                                 QStringLiteral("UNSIGNED_ATTRIBUTE"),
                                 QStringLiteral("MONEY"),
                                 QStringLiteral("AUTO_INCREMENT"),
                                 QStringLiteral("LOCAL_TYPE_NAME"),
                                 QStringLiteral("MINIMUM_SCALE"),
                                 QStringLiteral("MAXIMUM_SCALE"),
                                 QStringLiteral("SQL_DATA_TYPE"),
                                 QStringLiteral("SQL_DATETIME_SUB"),
                                 QStringLiteral("NUM_PREC_RADIX"),
                                 QStringLiteral("INTERVAL_PRECISION"),
                                 QStringLiteral("USERTYPE")};
    QList<ColumnaTds> columnas;
    for (const QString& n : nombres) {
        const bool texto =
            n == QLatin1String("TYPE_NAME") || n == QLatin1String("LOCAL_TYPE_NAME") ||
            n.startsWith(QLatin1String("LITERAL")) || n == QLatin1String("CREATE_PARAMS");
        columnas << (texto ? ColumnaTds{n, kNVarChar, 128}
                           : ColumnaTds{n, kIntN, n == QLatin1String("PRECISION") ? 4 : 2});
    }
    const QVariantList fila = {QStringLiteral("datetime"),
                               93,
                               23,
                               QStringLiteral("'"),
                               QStringLiteral("'"),
                               QVariant(),
                               1,
                               0,
                               3,
                               QVariant(),
                               0,
                               QVariant(),
                               QStringLiteral("datetime"),
                               3,
                               3,
                               9,
                               3,
                               QVariant(),
                               QVariant(),
                               12};
    r.b += Metadatos(columnas) + Fila(columnas, fila);
    r.hecho(nocount() ? 0 : kHechoCuenta, 1);
}

void SesionTds::llamada(const PeticionTds& p, Respuesta& r) {
    if (p.texto.startsWith(QLatin1Char('#'))) {
        // System procedures by number: Qt opens a server cursor (#2) only for its own session
        // settings, which are taken; anything else is refused rather than answered as done.
        std::vector<ParteLote> partes;
        for (const ParametroTds& x : p.parametros)
            if (x.valor.typeId() == QMetaType::QString)
                for (const ParteLote& parte : PartirLote(x.valor.toString()))
                    partes.push_back(parte);
        bool ajustes = p.texto == QLatin1String("#2") && !partes.empty();
        for (const ParteLote& parte : partes) ajustes = ajustes && parte.clase == ParteLote::Opcion;
        if (!ajustes) {
            r.error(ErrorConNumero(
                50000, 16,
                QStringLiteral("El servidor de prueba no atiende el procedimiento del sistema %1.")
                    .arg(p.texto)));
            r.b += Hecho(kHechoProc, kHechoError, 0);
            return;
        }
        for (const ParteLote& parte : partes) opcion(parte);
        r.b += Hecho(kHechoProc, 0, 0);
        return;
    }
    const QStringList nombres = db::incrustado::NombresDeParametros(p.texto);
    QList<db::Parametro> ps;
    for (int i = 0; i < p.parametros.size(); ++i)
        ps << ParametroDe(p.parametros[i], nombres.value(i));
    const QString corto = p.texto.section(QLatin1Char('.'), -1);
    if (!asegurarTransaccion(r)) {
        r.b += Hecho(kHechoProc, kHechoError, 0);
        return;
    }
    sqlite3* db = motor_->manejador();
    const auto antes = sqlite3_total_changes64(db);
    try {
        std::unique_ptr<db::Resultado> res = motor_->llamar(p.texto, ps);
        const quint16 cuenta = nocount() ? 0 : kHechoCuenta;
        if (sqlite3_total_changes64(db) != antes && cuenta)
            r.b += Hecho(kHechoEnProc, kHechoMas | kHechoCuenta, quint64(sqlite3_changes64(db)));
        if (res) {
            const QStringList columnas = nombresDe(*res);
            const std::vector<QVariantList> filas = filasDe(*res);
            const OpcionesTipos o{servidor_.nvarchar_, servidor_.comentariosTexto_};
            r.b += resultado(TiposDeResultado(columnas, filas, o), filas) +
                   Hecho(kHechoEnProc, kHechoMas | cuenta, filas.size());
        }
    } catch (const std::exception& e) {
        fallo(errorDe(e, QString(), p.texto), r, corto);
        r.b += Hecho(kHechoEnProc, kHechoMas | kHechoError, 0) + EstadoRetorno(-6) +
               Hecho(kHechoProc, kHechoError, 0);
        return;
    }
    r.b += EstadoRetorno(0);
    for (int i = 0; i < p.parametros.size(); ++i) {
        if (!p.parametros[i].salida()) continue;
        ColumnaTds tipo = TipoDeSalida(p.parametros[i]);
        r.b += ValorRetorno(quint16(i + 1), ps[i].nombre, tipo, ps[i].valor);
    }
    r.b += Hecho(kHechoProc, 0, 0);
}
