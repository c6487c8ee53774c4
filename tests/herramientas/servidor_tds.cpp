// The stand-in for the company's SQL Server as a program, to run the real program over the real
// driver against the data of a folder (a demo's datos/, say).
#include "servidor_tds.h"

#include <signal.h>

#include <QStringList>
#include <cstdio>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"

namespace {

const char* const kUso =
    "Uso: servidor_tds --puerto N --usuario U --contrasena P [--nocount]\n"
    "                  [--conteo-disparador N] [--comentarios-texto] [--nvarchar] [--verbose]\n"
    "                  CARPETA\n"
    "       servidor_tds --help\n"
    "\n"
    "Atiende como un SQL Server (TDS 7.4) en 127.0.0.1:N con los datos de CARPETA\n"
    "(erp_oxa.sqlite y norv.sqlite; se crean vacías si faltan las dos).\n"
    "\n"
    "  --puerto N               puerto de escucha (0: cualquiera libre)\n"
    "  --usuario U              usuario que acepta el acceso\n"
    "  --contrasena P           su contraseña\n"
    "  --nocount                cada sesión empieza con SET NOCOUNT ON\n"
    "  --conteo-disparador N    cada INSERT/UPDATE/DELETE en norv informa antes N renglones\n"
    "                           de un disparador\n"
    "  --comentarios-texto      las columnas comentarios son de tipo text\n"
    "  --nvarchar               los textos viajan como nvarchar\n"
    "  --verbose                un renglón por petición en la salida de errores\n"
    "  --help                   esta ayuda\n";

int uso(FILE* salida = stderr) {
    std::fputs(kUso, salida);
    return salida == stderr ? 2 : 0;
}

struct Opciones {
    int puerto = -1;
    QString usuario, contrasena, carpeta;
    bool nocount = false, comentariosTexto = false, nvarchar = false, verbose = false;
    int conteoDisparador = 0;
};

bool numero(const QString& texto, int minimo, int maximo, int* valor) {
    bool ok = false;
    *valor = texto.toInt(&ok);
    return ok && *valor >= minimo && *valor <= maximo;
}

bool leer(const QStringList& args, Opciones& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool conValor = a == QLatin1String("--puerto") || a == QLatin1String("--usuario") ||
                              a == QLatin1String("--contrasena") ||
                              a == QLatin1String("--conteo-disparador");
        if (conValor && i + 1 >= args.size()) return false;
        if (a == QLatin1String("--puerto")) {
            if (!numero(args[++i], 0, 65535, &o.puerto)) return false;
        } else if (a == QLatin1String("--usuario")) {
            o.usuario = args[++i];
        } else if (a == QLatin1String("--contrasena")) {
            o.contrasena = args[++i];
        } else if (a == QLatin1String("--conteo-disparador")) {
            if (!numero(args[++i], 0, 1 << 30, &o.conteoDisparador)) return false;
        } else if (a == QLatin1String("--nocount")) {
            o.nocount = true;
        } else if (a == QLatin1String("--comentarios-texto")) {
            o.comentariosTexto = true;
        } else if (a == QLatin1String("--nvarchar")) {
            o.nvarchar = true;
        } else if (a == QLatin1String("--verbose")) {
            o.verbose = true;
        } else if (a.startsWith(QLatin1Char('-')) || !o.carpeta.isEmpty()) {
            return false;
        } else {
            o.carpeta = a;
        }
    }
    return o.puerto >= 0 && !o.usuario.isEmpty() && !o.carpeta.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (args.contains(QLatin1String("--help"))) return uso(stdout);
    Opciones o;
    if (!leer(args, o)) return uso();

    try {
        // The folder is checked (or its databases created) once, before anyone connects.
        db::MotorIncrustado prueba(o.carpeta);
    } catch (const db::ErrorBD& e) {
        std::fprintf(stderr, "servidor_tds: %s\n", qPrintable(e.mensaje()));
        return 1;
    }

    // The signals are taken by sigwait below: every thread started from here on blocks them.
    sigset_t senales;
    sigemptyset(&senales);
    sigaddset(&senales, SIGINT);
    sigaddset(&senales, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &senales, nullptr);

    ServidorTds servidor(o.carpeta, o.usuario, o.contrasena, quint16(o.puerto));
    if (!servidor.escuchando()) {
        std::fprintf(stderr, "servidor_tds: %s\n", qPrintable(servidor.falla()));
        return 1;
    }
    servidor.ponerNocount(o.nocount);
    servidor.ponerConteoDisparador(o.conteoDisparador);
    servidor.ponerComentariosTexto(o.comentariosTexto);
    servidor.ponerNvarchar(o.nvarchar);
    if (o.verbose)
        servidor.bitacora([](const QString& linea) {
            std::fprintf(stderr, "%s\n", linea.toLocal8Bit().constData());
        });
    std::printf("escuchando en 127.0.0.1:%u\n", unsigned(servidor.puerto()));
    std::fflush(stdout);

    int senal = 0;
    sigwait(&senales, &senal);
    servidor.detener();
    return 0;
}
