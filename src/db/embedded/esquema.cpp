#include "db/embedded/esquema.h"

#include "db/fallas.h"

namespace db::incrustado {

namespace {

using T = TipoColumna;

// The moment of insertion as the server's GETDATE() writes it, built only from SQLite's own
// functions so that a row added from the sqlite3 shell gets the same default.
const QString kAhora = QStringLiteral("DEFAULT (strftime('%Y-%m-%d %H:%M:%f','now','localtime'))");

std::vector<Tabla> crearTablas() {
    std::vector<Tabla> t;
    // erp_oxa: the company database, the connection's default one.
    t.push_back({"main",
                 "sucursales",
                 {{"sucursal", T::Texto, 7, "NOT NULL"},
                  {"nombre_sucursal", T::Texto, 40, {}},
                  {"centro_distribucion", T::Texto, 5, {}},
                  {"tasa_iva", T::Decimal, 0, "DEFAULT 0.16"}},
                 {}});
    t.push_back({"main",
                 "personal",
                 {{"persona", T::Caracter, 7, "NOT NULL"},
                  {"apellidos", T::Texto, 40, {}},
                  {"nombres", T::Texto, 40, {}},
                  {"sucursal", T::Entero, 0, {}},
                  {"es_vendedor", T::Entero, 0, "DEFAULT 0"},
                  {"es_verificador", T::Entero, 0, "DEFAULT 0"},
                  {"contrasena", T::Texto, 20, {}}},
                 {}});
    t.push_back({"main",
                 "clientes",
                 {{"cliente", T::Identidad, 0, {}},
                  {"Nombre_Cliente", T::Texto, 100, {}},
                  {"RFC", T::Texto, 20, {}},
                  {"es_Indeseable", T::Bit, 0, "NOT NULL DEFAULT 0"},
                  {"es_Incobrable", T::Bit, 0, "NOT NULL DEFAULT 0"},
                  {"domicilio", T::Texto, 150, {}},
                  {"sucursal", T::Caracter, 7, {}},
                  {"fecha_alta", T::Fecha, 0, kAhora}},
                 {}});
    t.push_back({"main",
                 "anticipos_clientes",
                 {{"documento", T::Entero, 0, {}},
                  {"cliente", T::Entero, 0, {}},
                  {"fecha", T::Fecha, 0, kAhora},
                  {"importe", T::Decimal, 0, "DEFAULT 0"},
                  {"saldo", T::Decimal, 0, "DEFAULT 0"}},
                 "documento"});
    // norv: the credit database.
    t.push_back({"norv",
                 "Solicitudes_cliente_Nuevo",
                 {{"solicitud", T::Identidad, 0, {}},
                  {"Cliente", T::Entero, 0, {}},
                  {"Fecha_recepcion", T::Fecha, 0, kAhora},
                  {"Importe_Solicitud", T::Decimal, 0, {}},
                  {"Sucursal", T::Caracter, 7, {}},
                  {"Promocion", T::Entero, 0, {}},
                  {"telefono", T::Texto, 13, {}},
                  {"Nombre_Aval", T::Texto, 50, {}},
                  {"apellidos_Aval", T::Texto, 50, {}},
                  {"Rastreado", T::Entero, 0, "DEFAULT 0"},
                  {"Documento", T::Entero, 0, {}},
                  {"fecha_tienda", T::Fecha, 0, {}},
                  {"Vendedor", T::Caracter, 7, {}},
                  {"Relacion", T::Entero, 0, "DEFAULT NULL"},
                  {"estado_actual", T::Texto, 20, "DEFAULT 'Recibida'"},
                  {"comentarios", T::Texto, 500, {}}},
                 {}});
    t.push_back({"norv",
                 "Relaciones_Solicitudes_credito",
                 {{"relacion", T::Identidad, 0, {}},
                  {"centro_distribucion", T::Texto, 5, {}},
                  {"verificador", T::Caracter, 7, {}},
                  {"elaborada_por", T::Caracter, 7, {}},
                  {"fecha_entrega", T::Fecha, 0, kAhora},
                  {"fecha_recepcion_real", T::Fecha, 0, "DEFAULT NULL"},
                  {"estado_actual", T::Texto, 20, "DEFAULT 'Entregada'"}},
                 {}});
    t.push_back({"norv",
                 "detalles_Relaciones_Solicitudes",
                 {{"Relacion", T::Entero, 0, "NOT NULL"},
                  {"Solicitud", T::Entero, 0, "NOT NULL"},
                  {"tiene_cita", T::Entero, 0, "DEFAULT 0"},
                  {"fecha_verificacion", T::Fecha, 0, "DEFAULT NULL"},
                  {"estado_Actual", T::Texto, 20, "DEFAULT 'Entregada'"},
                  {"Tipo_Verificacion", T::Texto, 20, {}},
                  {"Linea_Autorizada", T::Decimal, 0, "DEFAULT 0"},
                  {"comentarios", T::Texto, 500, {}},
                  {"recomienda_verificador", T::Texto, 20, {}}},
                 {}});
    t.push_back({"norv",
                 "Promociones",
                 {{"Promocion", T::Entero, 0, {}},
                  {"Nombre_promocion", T::Texto, 60, {}},
                  {"Tipo_venta", T::Entero, 0, {}}},
                 "Promocion"});
    t.push_back({"norv",
                 "Programas_Version",
                 {{"Programa", T::Entero, 0, {}},
                  {"Version", T::Real, 0, {}},
                  {"cierra", T::Bit, 0, "NOT NULL DEFAULT 0"},
                  {"envia_Email", T::Bit, 0, "NOT NULL DEFAULT 0"}},
                 "Programa"});
    // What Cliente_Compra_Facil records: the name parts of a customer, one row each.
    t.push_back({"norv",
                 "Clientes_Compra_Facil",
                 {{"Cliente", T::Entero, 0, {}},
                  {"Nombres", T::Texto, 50, {}},
                  {"Paterno", T::Texto, 50, {}},
                  {"Materno", T::Texto, 50, {}},
                  {"Empresa", T::Entero, 0, "DEFAULT 0"},
                  {"Nacimiento", T::Fecha, 0, {}},
                  {"fecha_registro", T::Fecha, 0, kAhora}},
                 "Cliente"});
    return t;
}

QString tipoDeclarado(const Columna& c, const Tabla& t) {
    switch (c.tipo) {
        case T::Texto:
            // The password holds enciphered codes: compared byte for byte, never folded.
            if (c.nombre == QLatin1String("contrasena"))
                return QStringLiteral("VARCHAR(%1)").arg(c.longitud);
            return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(c.longitud);
        case T::Caracter:
            return QStringLiteral("CHAR(%1) COLLATE NOCASE").arg(c.longitud);
        case T::Entero:
            return c.nombre.compare(t.clave, Qt::CaseInsensitive) == 0
                       ? QStringLiteral("INTEGER PRIMARY KEY")
                       : QStringLiteral("INTEGER");
        case T::Decimal:
            return QStringLiteral("DECIMAL(12,4)");
        case T::Real:
            return QStringLiteral("REAL");
        case T::Fecha:
            return QStringLiteral("DATETIME");
        case T::Bit:
            return QStringLiteral("BIT");
        case T::Identidad:
            return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    }
    return {};
}

// A date column accepts what the program sends: 'yyyymmdd' (which the NUMERIC affinity of a
// DATETIME column may already have turned into an integer) or any date text SQLite reads;
// both end up in the one text form that sorts and compares as a date.
QString fechaNormalizada(const QString& c) {
    return QStringLiteral(
               "CASE WHEN typeof(%1) IN ('integer','text') AND length(%1) = 8"
               " AND CAST(%1 AS TEXT) GLOB '[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]'"
               " THEN coalesce(strftime('%Y-%m-%d %H:%M:%f',"
               " substr(%1,1,4)||'-'||substr(%1,5,2)||'-'||substr(%1,7,2)), %1)"
               " WHEN typeof(%1) = 'text' THEN coalesce(strftime('%Y-%m-%d %H:%M:%f', %1), %1)"
               " ELSE %1 END")
        .arg(c);
}

QString caracterNormalizado(const QString& c, int n) {
    return QStringLiteral("substr(%1 || '%2', 1, %3)").arg(c, QString(n, QLatin1Char(' '))).arg(n);
}

// One AFTER INSERT and one AFTER UPDATE trigger per table that has date or CHAR(n) columns.
// The WHERE keeps the inner UPDATE from touching a row that is already in shape, which also
// ends any chain of triggers when the shell runs with recursive triggers on.
QStringList disparadores(const Tabla& t) {
    QStringList asignaciones, condiciones, columnas;
    for (const Columna& c : t.columnas) {
        if (c.tipo == T::Fecha) {
            const QString e = fechaNormalizada(c.nombre);
            asignaciones << QStringLiteral("%1 = %2").arg(c.nombre, e);
            condiciones << QStringLiteral("%1 IS NOT (%2)").arg(c.nombre, e);
            columnas << c.nombre;
        } else if (c.tipo == T::Caracter) {
            asignaciones << QStringLiteral("%1 = %2").arg(
                c.nombre, caracterNormalizado(c.nombre, c.longitud));
            // By length, not by comparison: the column's collation ignores trailing blanks.
            condiciones << QStringLiteral("(%1 IS NOT NULL AND length(%1) <> %2)")
                               .arg(c.nombre)
                               .arg(c.longitud);
            columnas << c.nombre;
        }
    }
    if (asignaciones.isEmpty()) return {};
    const QString cuerpo = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = NEW.rowid AND (%3);")
                               .arg(t.nombre, asignaciones.join(QStringLiteral(", ")),
                                    condiciones.join(QStringLiteral(" OR ")));
    return {QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1.%2_valores_alta AFTER INSERT ON %2 "
                           "FOR EACH ROW BEGIN %3 END")
                .arg(t.base, t.nombre, cuerpo),
            QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1.%2_valores_cambio AFTER UPDATE OF %3 "
                           "ON %2 FOR EACH ROW BEGIN %4 END")
                .arg(t.base, t.nombre, columnas.join(QStringLiteral(", ")), cuerpo)};
}

// The server's name of the table, as its refusals give it.
QString nombreServidor(const Tabla& t) {
    return (t.base == QLatin1String("norv") ? QStringLiteral("norv") : QStringLiteral("erp_oxa")) +
           QStringLiteral(".dbo.") + t.nombre;
}

// A text longer than its column is refused before it is written, as SQL Server refuses it:
// nothing stored, nothing cut. Blanks beyond the width are no data and the server drops them;
// so do the triggers below (CHAR(n) columns get cut by their padding trigger).
QStringList disparadoresDeLargo(const Tabla& t) {
    QStringList pruebas, columnas, recortes, excesos;
    for (const Columna& c : t.columnas) {
        if (!EsTexto(c.tipo)) continue;
        const QString aviso = QStringLiteral("%1 in table ''%2'', column ''%3''.")
                                  .arg(kTextoTruncado, nombreServidor(t), c.nombre);
        pruebas << QStringLiteral(
                       "SELECT RAISE(ABORT, '%1') WHERE length(rtrim(NEW.%2, ' ')) > %3;")
                       .arg(aviso, c.nombre)
                       .arg(c.longitud);
        columnas << c.nombre;
        if (c.tipo == T::Texto) {
            // Only blanks are ever cut, whatever wrote the row.
            const QString sobran =
                QStringLiteral("(length(%1) > %2 AND length(rtrim(%1, ' ')) <= %2)")
                    .arg(c.nombre)
                    .arg(c.longitud);
            recortes << QStringLiteral("%1 = CASE WHEN %2 THEN substr(%1, 1, %3) ELSE %1 END")
                            .arg(c.nombre, sobran)
                            .arg(c.longitud);
            excesos << sobran;
        }
    }
    if (pruebas.isEmpty()) return {};
    const QString lista = columnas.join(QStringLiteral(", "));
    const QString cuerpo = pruebas.join(QLatin1Char(' '));
    QStringList r = {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1.%2_largo_alta BEFORE INSERT ON %2 "
                       "FOR EACH ROW BEGIN %3 END")
            .arg(t.base, t.nombre, cuerpo),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1.%2_largo_cambio BEFORE UPDATE OF %3 "
                       "ON %2 FOR EACH ROW BEGIN %4 END")
            .arg(t.base, t.nombre, lista, cuerpo)};
    if (recortes.isEmpty()) return r;
    const QString recorte = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = NEW.rowid AND (%3);")
                                .arg(t.nombre, recortes.join(QStringLiteral(", ")),
                                     excesos.join(QStringLiteral(" OR ")));
    r << QStringLiteral(
             "CREATE TRIGGER IF NOT EXISTS %1.%2_blancos_alta AFTER INSERT ON %2 "
             "FOR EACH ROW BEGIN %3 END")
             .arg(t.base, t.nombre, recorte)
      << QStringLiteral(
             "CREATE TRIGGER IF NOT EXISTS %1.%2_blancos_cambio AFTER UPDATE OF %3 "
             "ON %2 FOR EACH ROW BEGIN %4 END")
             .arg(t.base, t.nombre, lista, recorte);
    return r;
}

// The indexes a server would have on what the statements filter and join on. Text columns
// carry the collation of their declaration, the one the translated comparisons use, so an
// index finds what = and LIKE without wildcards find. The two on ltrim(rtrim(...)) serve the
// look-ups by a key written with or without its blanks.
std::vector<Indice> crearIndices() {
    return {
        {"main", "ix_sucursales_sucursal", "sucursales", "sucursal", true},
        {"main", "ix_sucursales_clave", "sucursales", "ltrim(rtrim(sucursal))", false},
        {"main", "ix_sucursales_centro", "sucursales", "centro_distribucion", true},
        {"main", "ix_personal_persona", "personal", "persona", true},
        {"main", "ix_personal_clave", "personal", "ltrim(rtrim(persona))", false},
        // An integer column, compared with the branches' text key: under that key's collation.
        {"main", "ix_personal_sucursal", "personal", "sucursal COLLATE NOCASE", false},
        {"main", "ix_clientes_nombre", "clientes", "Nombre_Cliente", true},
        {"norv", "ix_solicitudes_cliente", "Solicitudes_cliente_Nuevo", "Cliente", false},
        {"norv", "ix_solicitudes_relacion", "Solicitudes_cliente_Nuevo", "Relacion", false},
        // A branch's applications: pending (no batch) and by the day they came in.
        {"norv", "ix_solicitudes_sucursal", "Solicitudes_cliente_Nuevo",
         "Sucursal, Relacion, Fecha_recepcion", true},
        {"norv", "ix_solicitudes_recepcion", "Solicitudes_cliente_Nuevo", "Fecha_recepcion", false},
        {"norv", "ix_solicitudes_telefono", "Solicitudes_cliente_Nuevo", "telefono", true},
        {"norv", "ix_solicitudes_aval", "Solicitudes_cliente_Nuevo", "apellidos_Aval, Nombre_Aval",
         true},
        {"norv", "ix_relaciones_centro", "Relaciones_Solicitudes_credito",
         "centro_distribucion, fecha_entrega", true},
        {"norv", "ix_relaciones_entrega", "Relaciones_Solicitudes_credito", "fecha_entrega", false},
        {"norv", "ix_detalles_relacion", "detalles_Relaciones_Solicitudes", "Relacion", false},
        {"norv", "ix_detalles_solicitud", "detalles_Relaciones_Solicitudes", "Solicitud", false}};
}

// Another program (the sqlite3 shell) orders text with SQLite's own NOCASE, not ours: a row it
// writes lands out of place in the text indexes. Its connection is told by 'a' <> 'A ' under
// NOCASE; the table is then marked, and the engine rebuilds those indexes when it next opens.
QStringList marcasDeCotejo() {
    QStringList r;
    for (const QString& base : {QStringLiteral("main"), QStringLiteral("norv")})
        r << QStringLiteral("CREATE TABLE IF NOT EXISTS %1.%2 (tabla TEXT PRIMARY KEY)")
                 .arg(base, kIndicesPorRehacer);
    QStringList hechas;
    for (const Indice& i : Indices()) {
        if (!i.texto || hechas.contains(i.tabla)) continue;
        hechas << i.tabla;
        const Tabla* t = BuscarTabla(i.tabla);
        QStringList columnas;
        for (const Indice& j : Indices())
            if (j.texto && j.tabla == i.tabla)
                for (const QString& c : j.columnas.split(QStringLiteral(", ")))
                    if (t && t->columna(c) && EsTexto(t->columna(c)->tipo) && !columnas.contains(c))
                        columnas << c;
        const QString marca =
            QStringLiteral(
                "WHEN NOT ('a' = 'A ' COLLATE NOCASE) BEGIN INSERT OR IGNORE INTO "
                "%1 VALUES ('%2'); END")
                .arg(kIndicesPorRehacer, i.tabla);
        r << QStringLiteral(
                 "CREATE TRIGGER IF NOT EXISTS %1.%2_cotejo_alta AFTER INSERT ON %2 "
                 "FOR EACH ROW %3")
                 .arg(i.base, i.tabla, marca)
          << QStringLiteral(
                 "CREATE TRIGGER IF NOT EXISTS %1.%2_cotejo_cambio AFTER UPDATE OF %3 ON %2 "
                 "FOR EACH ROW %4")
                 .arg(i.base, i.tabla, columnas.join(QStringLiteral(", ")), marca);
    }
    return r;
}

}  // namespace

bool Tabla::tieneIdentidad() const {
    for (const Columna& c : columnas)
        if (c.tipo == TipoColumna::Identidad) return true;
    return false;
}

const Columna* Tabla::columna(const QString& n) const {
    for (const Columna& c : columnas)
        if (c.nombre.compare(n, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

const std::vector<Tabla>& Tablas() {
    static const std::vector<Tabla> tablas = crearTablas();
    return tablas;
}

const std::vector<Indice>& Indices() {
    static const std::vector<Indice> indices = crearIndices();
    return indices;
}

const Tabla* BuscarTabla(const QString& nombre) {
    for (const Tabla& t : Tablas())
        if (t.nombre.compare(nombre, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

QStringList SentenciasEsquema() {
    QStringList r;
    for (const Tabla& t : Tablas()) {
        QStringList defs;
        for (const Columna& c : t.columnas) {
            QString d = c.nombre + QLatin1Char(' ') + tipoDeclarado(c, t);
            if (!c.extra.isEmpty()) d += QLatin1Char(' ') + c.extra;
            defs << d;
        }
        r << QStringLiteral("CREATE TABLE IF NOT EXISTS %1.%2 (%3)")
                 .arg(t.base, t.nombre, defs.join(QStringLiteral(", ")));
    }
    return r + SentenciasComplementos();
}

QStringList SentenciasComplementos() {
    QStringList r;
    for (const Tabla& t : Tablas()) r << disparadoresDeLargo(t) << disparadores(t);
    for (const Indice& i : Indices())
        r << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                 .arg(i.base, i.nombre, i.tabla, i.columnas);
    r << marcasDeCotejo();
    return r;
}

}  // namespace db::incrustado
