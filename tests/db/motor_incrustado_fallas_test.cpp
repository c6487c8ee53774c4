// How the embedded engine fails, produced for real: another station's lock, a file that takes no
// changes, damaged or missing files at opening, a text longer than its column. The clerk reads
// a Spanish sentence and the engine's text; nothing half-done or lost is hidden.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "db/embedded/motor_incrustado.h"
#include "db/error_bd.h"

using db::ErrorBD;
using db::MotorIncrustado;
using db::TipoFalla;

namespace {

// A second station: a plain SQLite connection on the same files.
class OtraEstacion {
  public:
    explicit OtraEstacion(const QString& carpeta) {
        sqlite3_open(QFile::encodeName(QDir(carpeta).filePath("erp_oxa.sqlite")).constData(), &db_);
        exec("ATTACH DATABASE '" + QDir(carpeta).filePath("norv.sqlite") + "' AS norv");
    }
    ~OtraEstacion() { sqlite3_close(db_); }
    int exec(const QString& sql) {
        return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }

  private:
    sqlite3* db_ = nullptr;
};

std::optional<ErrorBD> fallaDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorBD& e) {
        return e;
    }
    return std::nullopt;
}

QVariant uno(MotorIncrustado& m, const QString& sql) {
    auto r = m.consultar(sql);
    return r->siguiente() ? r->valor(0) : QVariant(QStringLiteral("<sin filas>"));
}

// The first value as SQLite stores it, past the engine's translation.
QString crudo(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    QString r;
    if (sqlite3_step(st) == SQLITE_ROW)
        r = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return r;
}

void escribir(const QString& ruta, const QByteArray& contenido) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
}

// Every file of the folder with its size: what an opening that fails must leave as it was.
QStringList archivos(const QString& carpeta) {
    QStringList r;
    for (const QFileInfo& f : QDir(carpeta).entryInfoList(QDir::Files, QDir::Name))
        r << QStringLiteral("%1:%2").arg(f.fileName()).arg(f.size());
    return r;
}

}  // namespace

class MotorIncrustadoFallasTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString carpeta_;
    QList<bool> avisos_;
    std::unique_ptr<MotorIncrustado> m_;

    void abrir() {
        m_ = std::make_unique<MotorIncrustado>(carpeta_, [this](bool e) { avisos_ << e; });
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        carpeta_ = dir_->filePath(QStringLiteral("datos"));
        avisos_.clear();
        abrir();
        m_->ejecutar(QStringLiteral(
            "INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, Sucursal, Vendedor, "
            "comentarios) VALUES (1, '1', '    101', 'PRIMERA')"));
    }
    void cleanup() {
        m_.reset();
        dir_.reset();
    }

    void unBloqueoDeOtraEstacionEsOcupadaTrasEsperarConAviso() {
        OtraEstacion otra(carpeta_);
        QCOMPARE(otra.exec(QStringLiteral("BEGIN IMMEDIATE")), SQLITE_OK);
        m_->limiteEspera(200);
        const auto e = fallaDe([&] {
            m_->ejecutar(QStringLiteral("INSERT INTO sucursales (sucursal) VALUES ('9')"));
        });
        QVERIFY(e);
        QCOMPARE(e->tipo(), TipoFalla::Ocupada);
        QCOMPARE(e->mensaje(),
                 QStringLiteral("La base de datos está ocupada por otra estación; intente de "
                                "nuevo en unos segundos.\nDetalle: database is locked"));
        QCOMPARE(avisos_, (QList<bool>{true, false}));
        otra.exec(QStringLiteral("ROLLBACK"));
        QCOMPARE(uno(*m_, QStringLiteral("SELECT COUNT(*) FROM sucursales")).toLongLong(), 0LL);
    }

    void unBloqueoQueSeSueltaDuranteLaEsperaDejaTerminar() {
        OtraEstacion otra(carpeta_);
        QCOMPARE(otra.exec(QStringLiteral("BEGIN IMMEDIATE")), SQLITE_OK);
        QCOMPARE(otra.exec(QStringLiteral("INSERT INTO sucursales (sucursal) VALUES ('8')")),
                 SQLITE_OK);
        // The other station finishes while this one waits.
        m_->avisarEspera([&](bool e) {
            avisos_ << e;
            if (e) otra.exec(QStringLiteral("COMMIT"));
        });
        m_->ejecutar(QStringLiteral("INSERT INTO sucursales (sucursal) VALUES ('9')"));
        QCOMPARE(avisos_, (QList<bool>{true, false}));
        QCOMPARE(uno(*m_, QStringLiteral("SELECT COUNT(*) FROM sucursales")).toLongLong(), 2LL);
        // A statement that meets no lock tells nothing.
        m_->ejecutar(QStringLiteral("DELETE FROM sucursales"));
        QCOMPARE(avisos_.size(), 2);
    }

    void unaBaseQueNoAdmiteCambiosEsSoloLectura() {
        QCOMPARE(sqlite3_exec(m_->manejador(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        const auto e = fallaDe([&] {
            m_->ejecutar(
                QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Cliente = 2"));
        });
        QVERIFY(e);
        QCOMPARE(e->tipo(), TipoFalla::SoloLectura);
        QVERIFY2(e->mensaje().startsWith(
                     QStringLiteral("La base de datos «%1» es de solo lectura y no admite cambios")
                         .arg(QDir::toNativeSeparators(carpeta_))),
                 qPrintable(e->mensaje()));
        QVERIFY2(e->mensaje().endsWith(
                     QStringLiteral("\nDetalle: attempt to write a readonly database")),
                 qPrintable(e->mensaje()));
    }

    void archivosQueNoSePuedenUsarSonErrorYNadaSeRecrea_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("dice");
        QTest::addColumn<QString>("detalle");
        QTest::newRow("norv de cero bytes") << 0 << "norv.sqlite"
                                            << "está vacío (0 bytes)"
                                            << "";
        QTest::newRow("erp de texto") << 1 << "erp_oxa.sqlite"
                                      << "no es una base de datos"
                                      << "file is not a database";
        QTest::newRow("solo erp") << 2 << "norv.sqlite"
                                  << "Falta el archivo"
                                  << "";
        QTest::newRow("solo norv") << 3 << "erp_oxa.sqlite"
                                   << "Falta el archivo"
                                   << "";
        QTest::newRow("sin una tabla") << 4 << "norv.sqlite"
                                       << "le faltan las tablas Promociones"
                                       << "";
    }
    void archivosQueNoSePuedenUsarSonErrorYNadaSeRecrea() {
        QFETCH(int, caso);
        QFETCH(QString, archivo);
        QFETCH(QString, dice);
        QFETCH(QString, detalle);
        m_.reset();
        const QDir datos(carpeta_);
        switch (caso) {
            case 0:
                escribir(datos.filePath("norv.sqlite"), {});
                break;
            case 1:
                escribir(datos.filePath("erp_oxa.sqlite"), QByteArray(3000, 'x'));
                break;
            case 2:
                QVERIFY(QFile::remove(datos.filePath("norv.sqlite")));
                break;
            case 3:
                QVERIFY(QFile::remove(datos.filePath("erp_oxa.sqlite")));
                break;
            case 4:
                QCOMPARE(OtraEstacion(carpeta_).exec("DROP TABLE norv.Promociones"), SQLITE_OK);
                break;
        }
        const QStringList antes = archivos(carpeta_);
        const auto e = fallaDe([&] { abrir(); });
        QVERIFY(e);
        QCOMPARE(e->tipo(), TipoFalla::ArchivoDanado);
        QVERIFY2(e->mensaje().contains(
                     QStringLiteral("«%1»").arg(QDir::toNativeSeparators(datos.filePath(archivo)))),
                 qPrintable(e->mensaje()));
        QVERIFY2(e->mensaje().contains(dice), qPrintable(e->mensaje()));
        QVERIFY2(e->mensaje().contains(QStringLiteral("Restáurelo del respaldo")),
                 qPrintable(e->mensaje()));
        QCOMPARE(e->textoMotor(), detalle);
        QCOMPARE(archivos(carpeta_), antes);
    }

    void textoMasLargoQueSuColumnaNoSeGuarda_data() {
        QTest::addColumn<QString>("sentencia");
        QTest::addColumn<QString>("tabla");
        QTest::addColumn<QString>("columna");
        const QString largo(501, QLatin1Char('A'));
        QTest::newRow("INSERT varchar") << "INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo "
                                           "(Cliente, comentarios) VALUES (2, '" +
                                               largo + "')"
                                        << "norv.dbo.Solicitudes_cliente_Nuevo"
                                        << "comentarios";
        QTest::newRow("UPDATE varchar")
            << "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Estado_Actual = 'Rechazada', "
               "comentarios = '" +
                   QString(641, QLatin1Char('B')) + "'"
            << "norv.dbo.Solicitudes_cliente_Nuevo"
            << "comentarios";
        QTest::newRow("INSERT char(7)")
            << "INSERT INTO Personal (persona, apellidos) VALUES ('12345678', 'X')"
            << "erp_oxa.dbo.personal"
            << "persona";
        QTest::newRow("UPDATE char(7)")
            << "UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET Vendedor = '12345678'"
            << "norv.dbo.Solicitudes_cliente_Nuevo"
            << "Vendedor";
        QTest::newRow("blancos y luego texto")
            << "INSERT INTO sucursales (sucursal) VALUES ('1      x')"
            << "erp_oxa.dbo.sucursales"
            << "sucursal";
    }
    void textoMasLargoQueSuColumnaNoSeGuarda() {
        QFETCH(QString, sentencia);
        QFETCH(QString, tabla);
        QFETCH(QString, columna);
        const auto e = fallaDe([&] { m_->ejecutar(sentencia); });
        QVERIFY(e);
        QCOMPARE(e->tipo(), TipoFalla::TextoLargo);
        QCOMPARE(e->mensaje(),
                 QStringLiteral("Los datos de texto exceden el largo de la columna «%1» de la "
                                "tabla %2; acorte el texto e intente de nuevo.\nDetalle: String or "
                                "binary data would be truncated in table '%2', column '%1'.")
                     .arg(columna, tabla));
        // Nothing of the statement stayed, not even its other columns.
        QCOMPARE(crudo(m_->manejador(),
                       "SELECT group_concat(Cliente || Vendedor || estado_actual "
                       "|| comentarios) FROM norv.Solicitudes_cliente_Nuevo"),
                 QStringLiteral("1    101RecibidaPRIMERA"));
        QCOMPARE(crudo(m_->manejador(),
                       "SELECT (SELECT COUNT(*) FROM main.personal) + "
                       "(SELECT COUNT(*) FROM main.sucursales)"),
                 QStringLiteral("0"));
    }

    void blancosDeMasSeCortanComoEnElServidor() {
        m_->ejecutar(
            QStringLiteral("INSERT INTO sucursales (sucursal, nombre_sucursal) VALUES "
                           "('7          ', 'Norte')"));
        m_->ejecutar(QStringLiteral("INSERT INTO Personal (persona) VALUES ('1234567   ')"));
        m_->ejecutar(
            QStringLiteral("UPDATE norv.dbo.Solicitudes_cliente_Nuevo SET comentarios = '") +
            QString(500, QLatin1Char('C')) + QStringLiteral("   '"));
        sqlite3* db = m_->manejador();
        QCOMPARE(crudo(db, "SELECT sucursal FROM main.sucursales"), QStringLiteral("7      "));
        QCOMPARE(crudo(db, "SELECT persona FROM main.personal"), QStringLiteral("1234567"));
        QCOMPARE(crudo(db, "SELECT comentarios FROM norv.Solicitudes_cliente_Nuevo"),
                 QString(500, QLatin1Char('C')));
    }

    void unaBaseAnteriorALaRevisionDeLargosLaRecibeAlAbrir() {
        m_.reset();
        {
            OtraEstacion vieja(carpeta_);
            for (const char* d : {"largo_alta", "largo_cambio", "blancos_alta", "blancos_cambio"})
                QCOMPARE(vieja.exec(QStringLiteral("DROP TRIGGER norv.Solicitudes_cliente_Nuevo_") +
                                    QLatin1String(d)),
                         SQLITE_OK);
            QCOMPARE(vieja.exec("INSERT INTO norv.Solicitudes_cliente_Nuevo (Cliente, comentarios) "
                                "VALUES (3, '" +
                                QString(600, QLatin1Char('D')) + "')"),
                     SQLITE_OK);
        }
        abrir();
        const auto e = fallaDe([&] {
            m_->ejecutar(
                "INSERT INTO norv.dbo.Solicitudes_cliente_Nuevo (Cliente, comentarios) "
                "VALUES (4, '" +
                QString(600, QLatin1Char('E')) + "')");
        });
        QVERIFY(e);
        QCOMPARE(e->tipo(), TipoFalla::TextoLargo);
        // What an older program stored stays as it was: opening changes no data.
        QCOMPARE(crudo(m_->manejador(),
                       "SELECT length(comentarios) FROM "
                       "norv.Solicitudes_cliente_Nuevo WHERE Cliente = 3"),
                 QStringLiteral("600"));
    }
};

QTEST_MAIN(MotorIncrustadoFallasTest)
#include "motor_incrustado_fallas_test.moc"
