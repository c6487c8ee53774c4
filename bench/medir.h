#pragma once
// What the benchmark measures with: the best of several runs, SQLite's C API as the floor,
// the heap in use, the longest stall of the event loop, and the one line per figure.
#include <malloc.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringDecoder>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace medir {

// Milliseconds of the fastest of `veces` runs: the one least disturbed by the other work on
// the machine.
inline double Mejor(int veces, const std::function<void()>& trabajo) {
    double mejor = 1e300;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        trabajo();
        mejor = std::min(mejor, reloj.nsecsElapsed() / 1e6);
    }
    return mejor;
}

// Memory in use on the heap: freed blocks the process keeps do not count, unlike RSS.
inline double MegasEnUso() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// The floor a reader of the engine cannot go under: stepping a prepared SQLite statement (on a
// connection with no handler or hook of the program's, see ConexionDesnuda) and
// taking every value as the program needs it, numbers as numbers and every text decoded to
// UTF-16 (into one buffer, without allocating). Returns the rows.
class PasoSqlite {
  public:
    PasoSqlite(sqlite3* h, const QString& sql) : h_(h) {
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v2(h, u.constData(), int(u.size()), &st_, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "no se preparó: %s\n%s\n", sqlite3_errmsg(h), u.constData());
            std::exit(1);
        }
        buffer_.resize(4096);
    }
    ~PasoSqlite() { sqlite3_finalize(st_); }

    long long correr() {
        long long filas = 0;
        const int columnas = sqlite3_column_count(st_);
        while (sqlite3_step(st_) == SQLITE_ROW) {
            ++filas;
            for (int c = 0; c < columnas; ++c) {
                switch (sqlite3_column_type(st_, c)) {
                    case SQLITE_INTEGER:
                        suma_ += sqlite3_column_int64(st_, c);
                        break;
                    case SQLITE_FLOAT:
                        suma_ += static_cast<long long>(sqlite3_column_double(st_, c));
                        break;
                    case SQLITE_TEXT: {
                        const auto* u = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
                        const int n = sqlite3_column_bytes(st_, c);
                        if (qsizetype(n) > buffer_.size()) buffer_.resize(n);
                        QChar* fin =
                            decodificador_.appendToBuffer(buffer_.data(), QByteArrayView(u, n));
                        suma_ += fin - buffer_.data();
                        break;
                    }
                    default:
                        break;
                }
            }
        }
        sqlite3_reset(st_);
        return filas;
    }
    long long suma() const { return suma_; }

  private:
    sqlite3* h_;
    sqlite3_stmt* st_ = nullptr;
    QStringDecoder decodificador_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    QString buffer_;
    long long suma_ = 0;
};

// The longest time the event loop went without running (a timer ticking every few
// milliseconds records the widest gap) while `trabajo` runs inside it.
class Pausas {
  public:
    double medir(const std::function<void()>& trabajo) {
        QEventLoop lazo;
        QTimer tic;
        tic.setTimerType(Qt::PreciseTimer);
        QElapsedTimer reloj;
        reloj.start();
        qint64 ultimo = 0, mayor = 0;
        auto marcar = [&] {
            const qint64 ahora = reloj.nsecsElapsed();
            mayor = std::max(mayor, ahora - ultimo);
            ultimo = ahora;
        };
        QObject::connect(&tic, &QTimer::timeout, &lazo, marcar);
        QTimer::singleShot(0, &lazo, [&] {
            ultimo = reloj.nsecsElapsed();
            mayor = 0;
            tic.start(IntervaloMs);
            trabajo();
            marcar();
            lazo.quit();
        });
        lazo.exec();
        return mayor / 1e6;
    }
    static constexpr int IntervaloMs = 5;
};

// The window as the user has it after a click: what Qt deferred (layouts, the fit of the
// columns, the paint) run until the event loop is idle, and `vista` painted if that did not.
class Pintura : public QObject {
  public:
    void esperar(QWidget* vista) {
        vista->installEventFilter(this);
        pintadas_ = 0;
        QEventLoop lazo;
        for (int i = 0; i < 50 && lazo.processEvents(QEventLoop::AllEvents); ++i) {
        }
        if (pintadas_ == 0) vista->repaint();
        vista->removeEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::Paint) ++pintadas_;
        return false;
    }

  private:
    int pintadas_ = 0;
};

struct Figura {
    const char* nombre;
    double valor;
    double meta;  // at most
    // A ratio to a floor the road cannot go under: below this it is the measurement that
    // failed, never a pass.
    double piso = 0;
};

inline void Imprimir(const std::vector<Figura>& figuras) {
    for (const Figura& f : figuras) {
        const bool bajoPiso = f.valor < f.piso;
        std::printf("RESULTADO %s %.2f <=%g %s%s\n", f.nombre, f.valor, f.meta,
                    f.valor <= f.meta && !bajoPiso ? "cumple" : "no cumple",
                    bajoPiso ? " (por debajo de su piso: la medición falló)" : "");
    }
}

}  // namespace medir
