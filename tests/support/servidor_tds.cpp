#include "servidor_tds.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sesion_tds.h"

ServidorTds::ServidorTds(QString carpeta, QString usuario, QString contrasena, quint16 puerto)
    : carpeta_(std::move(carpeta)),
      usuario_(std::move(usuario)),
      contrasena_(std::move(contrasena)),
      puerto_(puerto) {
    escuchar();
}

ServidorTds::~ServidorTds() { detener(); }

bool ServidorTds::escuchar() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int si = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(puerto_);
    socklen_t largo = sizeof a;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(s, 16) != 0 || ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &largo) != 0) {
        falla_ = QStringLiteral("no se pudo escuchar en 127.0.0.1:%1: %2")
                     .arg(puerto_)
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (s >= 0) ::close(s);
        return false;
    }
    falla_.clear();
    puerto_ = ntohs(a.sin_port);
    escucha_ = s;
    aceptador_ = std::thread([this] { aceptar(); });
    return true;
}

void ServidorTds::aceptar() {
    for (;;) {
        const int c = ::accept4(escucha_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
        }
        std::lock_guard<std::mutex> l(m_);
        // The connections already gone are joined and their sockets closed here.
        for (auto i = conexiones_.begin(); i != conexiones_.end();) {
            if ((*i)->terminada) {
                (*i)->hilo.join();
                ::close((*i)->socket);
                i = conexiones_.erase(i);
            } else {
                ++i;
            }
        }
        auto conexion = std::make_unique<Conexion>();
        Conexion* x = conexion.get();
        x->socket = c;
        const int numero = ++numeroConexiones_;
        x->hilo = std::thread([this, x, numero] {
            {
                SesionTds sesion(*this, x->socket, numero);
                sesion.conversar();
            }
            x->terminada = true;
        });
        conexiones_.push_back(std::move(conexion));
    }
}

void ServidorTds::cortarConexiones() {
    std::vector<std::unique_ptr<Conexion>> todas;
    {
        std::lock_guard<std::mutex> l(m_);
        todas.swap(conexiones_);
    }
    // A session waiting for the next request wakes with nothing to read and ends; one that
    // is running a statement ends once it has replied.
    for (const auto& c : todas)
        if (!c->terminada) ::shutdown(c->socket, SHUT_RD);
    for (const auto& c : todas) {
        c->hilo.join();
        ::close(c->socket);
    }
}

void ServidorTds::detener() {
    if (escucha_ >= 0) {
        ::shutdown(escucha_, SHUT_RDWR);
        ::close(escucha_);
        if (aceptador_.joinable()) aceptador_.join();
        escucha_ = -1;
    }
    cortarConexiones();
}

bool ServidorTds::reanudar() { return escuchando() || escuchar(); }

void ServidorTds::fallar(CondicionTds condicion, qint32 numero, quint8 clase,
                         const QString& texto) {
    std::lock_guard<std::mutex> l(m_);
    reglas_.push_back({std::move(condicion), false, CorteTds::AntesDeCorrer, numero, clase, texto});
}

void ServidorTds::cortar(CondicionTds condicion, CorteTds cuando) {
    std::lock_guard<std::mutex> l(m_);
    reglas_.push_back({std::move(condicion), true, cuando, 0, 0, QString()});
}

void ServidorTds::guion(std::function<QByteArray(const PeticionTds&)> g) {
    std::lock_guard<std::mutex> l(m_);
    guion_ = std::move(g);
}

void ServidorTds::quitarReglas() {
    std::lock_guard<std::mutex> l(m_);
    reglas_.clear();
    guion_ = nullptr;
}

CondicionTds ServidorTds::conTexto(const QString& parte) {
    return [parte](const PeticionTds& p) { return p.texto.contains(parte, Qt::CaseInsensitive); };
}

CondicionTds ServidorTds::procedimiento(const QString& nombre) {
    return [nombre](const PeticionTds& p) {
        return p.clase == PeticionTds::Llamada &&
               p.texto.section(QLatin1Char('.'), -1).compare(nombre, Qt::CaseInsensitive) == 0;
    };
}

CondicionTds ServidorTds::enIndice(int indice) {
    return [indice](const PeticionTds& p) { return p.indice == indice; };
}

CondicionTds ServidorTds::dentroDeTransaccion() {
    return [](const PeticionTds& p) { return p.enTransaccion; };
}

CondicionTds ServidorTds::laEnesima(int n, CondicionTds condicion) {
    // Counted across the connections, which ask at the same time.
    auto vistas = std::make_shared<std::atomic<int>>(0);
    return [n, condicion = std::move(condicion), vistas](const PeticionTds& p) {
        return condicion(p) && ++*vistas == n;
    };
}

QList<PeticionTds> ServidorTds::peticiones() const {
    std::lock_guard<std::mutex> l(m_);
    return peticiones_;
}

QList<PeticionTds> ServidorTds::llamadas() const {
    QList<PeticionTds> r;
    for (const PeticionTds& p : peticiones())
        if (p.clase == PeticionTds::Llamada && !p.texto.startsWith(QLatin1Char('#'))) r << p;
    return r;
}

void ServidorTds::olvidarPeticiones() {
    std::lock_guard<std::mutex> l(m_);
    peticiones_.clear();
}

int ServidorTds::conexionesAbiertas() const {
    std::lock_guard<std::mutex> l(m_);
    int n = 0;
    for (const auto& c : conexiones_) n += c->terminada ? 0 : 1;
    return n;
}

void ServidorTds::bitacora(std::function<void(const QString&)> escribir) {
    std::lock_guard<std::mutex> l(m_);
    bitacora_ = std::move(escribir);
}

void ServidorTds::registrar(const PeticionTds& p) {
    static const char* const clases[] = {"lote", "llamada", "transacción"};
    QString linea = QStringLiteral("conexión %1 #%2 %3: %4")
                        .arg(p.conexion)
                        .arg(p.indice)
                        .arg(QString::fromUtf8(clases[p.clase]), p.texto.simplified());
    for (const tds::ParametroTds& x : p.parametros)
        linea += QStringLiteral(" [0x%1 %2]")
                     .arg(x.tipo, 2, 16, QLatin1Char('0'))
                     .arg(x.valor.isNull() ? QStringLiteral("NULL") : x.valor.toString());
    std::function<void(const QString&)> b;
    {
        std::lock_guard<std::mutex> l(m_);
        peticiones_ << p;
        b = bitacora_;
    }
    if (b) b(linea);
}

void ServidorTds::escribirBitacora(const QString& linea) {
    std::function<void(const QString&)> b;
    {
        std::lock_guard<std::mutex> l(m_);
        b = bitacora_;
    }
    if (b) b(linea);
}

std::vector<ServidorTds::Regla> ServidorTds::reglasPara(const PeticionTds& p) {
    std::vector<Regla> todas;
    {
        std::lock_guard<std::mutex> l(m_);
        todas = reglas_;
    }
    // Asked without the lock: a condition may look at the server.
    std::vector<Regla> r;
    for (const Regla& regla : todas)
        if (regla.condicion(p)) r.push_back(regla);
    return r;
}

QByteArray ServidorTds::respuestaGuionada(const PeticionTds& p) {
    std::function<QByteArray(const PeticionTds&)> g;
    {
        std::lock_guard<std::mutex> l(m_);
        g = guion_;
    }
    return g ? g(p) : QByteArray();
}
