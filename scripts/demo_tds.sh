#!/usr/bin/env bash
# The program over the real ODBC driver (FreeTDS) against the SQL Server stand-in: a fresh demo
# in build/demo_tds (or DEMO_TDS), the stand-in on its datos/ and the demo's start-up table
# pointed at it. Arguments go to the stand-in (--verbose, --nocount, --conteo-disparador N...).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
demo="${DEMO_TDS:-$raiz/build/demo_tds}"
if [ ! -x "$raiz/build/solicitudes" ] || [ ! -x "$raiz/build/servidor_tds" ]; then
    bash "$raiz/scripts/compilar.sh"
fi
"$raiz/build/solicitudes" --crear-demo "$demo" >/dev/null

# FreeTDS registered as "SQL Server" for this run only, as the connection string names it.
tds="$(ls /usr/lib/*/odbc/libtdsodbc.so 2>/dev/null | head -n 1)"
[ -n "$tds" ] || { echo "Falta FreeTDS (paquete tdsodbc)." >&2; exit 1; }
mkdir -p "$demo/odbc"
printf '[SQL Server]\nDriver=%s\n' "$tds" >"$demo/odbc/odbcinst.ini"
export ODBCSYSINI="$demo/odbc"

# The demo's table logs in as sa with the password SQL: the stand-in accepts exactly that.
"$raiz/build/servidor_tds" --puerto 0 --usuario sa --contrasena SQL "$@" "$demo/datos" \
    >"$demo/servidor_tds.txt" 2>"$demo/servidor_tds.log" &
servidor=$!
trap 'kill "$servidor" 2>/dev/null || true; wait "$servidor" 2>/dev/null || true' EXIT
until grep -q '^escuchando en' "$demo/servidor_tds.txt"; do
    kill -0 "$servidor" 2>/dev/null || { cat "$demo/servidor_tds.log" >&2; exit 1; }
    sleep 0.1
done
puerto="$(sed -n 's/^escuchando en 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$demo/servidor_tds.txt")"

# server_SQL is the first field of the table, 60 characters wide, as the demo writes it: its
# value in the one row is overwritten in place.
dbf="$demo/ARRANQUE.dbf"
campo="$(dd if="$dbf" bs=1 skip=32 count=10 status=none)"
ancho="$(od -An -tu1 -j48 -N1 "$dbf" | tr -d ' ')"
if [ "$campo" != SERVER_SQL ] || [ "$ancho" != 60 ]; then
    echo "ARRANQUE.dbf no tiene la forma de la demostración." >&2
    exit 1
fi
cabecera="$(od -An -tu2 -j8 -N2 "$dbf" | tr -d ' ')"
printf '%-60s' "127.0.0.1,$puerto" | dd of="$dbf" bs=1 seek=$((cabecera + 1)) conv=notrunc status=none

echo "SQL Server de prueba en 127.0.0.1:$puerto (bitácora: $demo/servidor_tds.log)"
OXA_DIR="$demo" "$raiz/build/solicitudes"
