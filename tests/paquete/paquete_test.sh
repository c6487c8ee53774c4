#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what a desk gets: the files and
# control fields, lintian, the program's own help, that the installed layout starts and finds
# its skin, and that the maintainer scripts register the "SQL Server" ODBC driver only when
# there is none and take away only what they added.
#   paquete_test.sh BUILD_DIR VERSION
set -uo pipefail
build="$1"
version="$2"
tmp="$(mktemp -d)"
programa_pid=""
trap '[ -n "$programa_pid" ] && kill "$programa_pid" 2>/dev/null; rm -rf "$tmp"' EXIT

pasaron=0
fallaron=0
comprobar() {  # comprobar DESCRIPCION COMANDO...
    local descripcion="$1"
    shift
    if "$@"; then
        pasaron=$((pasaron + 1))
    else
        fallaron=$((fallaron + 1))
        echo "FALLA: $descripcion" >&2
    fi
}
iguales() { [ "$1" = "$2" ] || { printf 'se esperaba:\n%s\nse obtuvo:\n%s\n' "$2" "$1" >&2; return 1; }; }
contiene() { grep -qF -- "$2" <<<"$1" || { printf 'falta «%s» en:\n%s\n' "$2" "$1" >&2; return 1; }; }
termina() {
    echo "$pasaron passed, $fallaron failed"
    [ "$fallaron" -eq 0 ]
    exit
}
for herramienta in cpack dpkg-deb lintian odbcinst strace; do
    command -v "$herramienta" >/dev/null || { echo "Falta $herramienta (scripts/instalar.sh)" >&2; exit 1; }
done

arq="$(dpkg --print-architecture)"
(cd "$build" && cpack -G DEB -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log" >&2; exit 1; }
deb="$tmp/cpack/solicitudes_${version}_${arq}.deb"
comprobar "el paquete se llama solicitudes_${version}_${arq}.deb" test -f "$deb"
[ -f "$deb" ] || termina

# The files, and nothing else: no tests, no benchmarks, no build leftovers.
archivos="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sort)"
comprobar "los archivos del paquete" iguales "$archivos" "$(sort <<FIN
-rw-r--r-- ./usr/share/applications/solicitudes.desktop
-rw-r--r-- ./usr/share/doc/solicitudes/changelog.gz
-rw-r--r-- ./usr/share/doc/solicitudes/copyright
-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/solicitudes.png
-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/solicitudes.png
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/solicitudes.svg
-rw-r--r-- ./usr/share/man/man1/solicitudes.1.gz
-rw-r--r-- ./usr/share/metainfo/mx.com.empresa.solicitudes.metainfo.xml
-rw-r--r-- ./usr/share/solicitudes/Msn2008.skn
-rwxr-xr-x ./usr/bin/solicitudes
FIN
)"

comprobar "Package" iguales "$(dpkg-deb -f "$deb" Package)" "solicitudes"
comprobar "Version" iguales "$(dpkg-deb -f "$deb" Version)" "$version"
comprobar "Architecture" iguales "$(dpkg-deb -f "$deb" Architecture)" "$arq"
comprobar "Maintainer" iguales "$(dpkg-deb -f "$deb" Maintainer)" "Equipo de Sistemas <sistemas@empresa.com.mx>"
depende="$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*//; s/ //g' | sort)"
for p in libqt6widgets6 libqt6gui6 libqt6sql6 libqt6sql6-odbc libqt6network6 unixodbc odbcinst \
    tdsodbc libcurl4 libsqlite3-0 qt6-translations-l10n libqt6charts6; do
    comprobar "Depends nombra $p" grep -qx "$p" <<<"$depende"
done
for p in libqt6test6 libbenchmark1debian libqt6sql6-sqlite; do
    comprobar "Depends no nombra $p, que el programa no usa" test -z "$(grep -x "$p" <<<"$depende")"
done

# The same sources give the same package: made again, byte for byte the same.
(cd "$build" && cpack -G DEB -B "$tmp/cpack2" >"$tmp/cpack2.log" 2>&1)
comprobar "el paquete hecho dos veces es el mismo" cmp -s "$deb" "$tmp/cpack2/solicitudes_${version}_${arq}.deb"
comprobar "las fechas del paquete son las del changelog" \
    test -z "$(dpkg-deb -c "$deb" | awk '{print $4}' | sort -u | grep -v "^$(date -u -d "$(dpkg-parsechangelog -l "$(dirname "$0")/../../packaging/changelog" -S Date)" +%Y-%m-%d)$")"
# Support's symbols, apart.
dbg="$(ls "$tmp/cpack/"solicitudes-dbgsym_"${version}"_"${arq}".ddeb 2>/dev/null)"
comprobar "hay un paquete -dbgsym" test -n "$dbg"
[ -n "$dbg" ] && comprobar "el -dbgsym lleva los símbolos del programa" \
    test -n "$(dpkg-deb -c "$dbg" | grep '/usr/lib/debug/')"

sin_errores_de_lintian() {
    local informe
    informe="$(lintian --fail-on error "$deb" 2>&1)" || { echo "$informe" >&2; return 1; }
}
comprobar "lintian no da errores" sin_errores_de_lintian

dpkg-deb -x "$deb" "$tmp/raiz"
dpkg-deb -e "$deb" "$tmp/control"
bin="$tmp/raiz/usr/bin/solicitudes"
if command -v hardening-check >/dev/null; then
    # Control-flow integrity needs the C library's start files built for it, which Debian 12's
    # are not (not even /usr/bin/ls passes): that one check is left out.
    endurecido() { hardening-check --nocfprotection "$bin" >"$tmp/endurecido" 2>&1 || { cat "$tmp/endurecido" >&2; return 1; }; }
    comprobar "el programa lleva las protecciones de Debian (hardening-check)" endurecido
fi
comprobar "el programa no lleva la ruta de la compilación" test -z "$(strings "$bin" | grep -F "$(cd "$build/.." && pwd)")"
if command -v appstreamcli >/dev/null; then
    comprobar "la metainformación de AppStream es válida" \
        appstreamcli validate --no-net "$tmp/raiz/usr/share/metainfo/mx.com.empresa.solicitudes.metainfo.xml"
fi
# The licence's terms read the same in the README and in the package.
licencia_igual() {
    local linea
    while IFS= read -r linea; do
        grep -qF -- "$linea" "$(dirname "$0")/../../README.md" || { echo "falta en el README: $linea" >&2; return 1; }
    done < <(awk '/^License:/ {dentro=1; next} dentro && /^ / {sub(/^ +/, ""); if ($0 != ".") print}' \
        "$tmp/raiz/usr/share/doc/solicitudes/copyright")
}
comprobar "la licencia del paquete es la del README" licencia_igual
comprobar "la entrada del menú" grep -qx "Name=Solicitudes de Crédito" "$tmp/raiz/usr/share/applications/solicitudes.desktop"
if command -v desktop-file-validate >/dev/null; then
    comprobar "la entrada del menú es válida" desktop-file-validate "$tmp/raiz/usr/share/applications/solicitudes.desktop"
fi

# Help and version work without a display: a QApplication would abort on this platform.
sin_pantalla=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=ninguna)
salida="$("${sin_pantalla[@]}" "$bin" --version 2>"$tmp/err")"; rc=$?
comprobar "--version termina con 0" iguales "$rc" 0
comprobar "--version dice el nombre y la versión" iguales "$salida" "solicitudes (Solicitudes de Crédito) $version"
# Qt's own options pass, with their values.
for qt in "-platform offscreen" "--platform offscreen" "-style=fusion" "-style fusion -reverse"; do
    salida="$("${sin_pantalla[@]}" "$bin" $qt --version 2>"$tmp/err")"; rc=$?
    comprobar "la opción de Qt $qt se acepta" iguales "$rc:$salida" "0:solicitudes (Solicitudes de Crédito) $version"
done
salida="$("${sin_pantalla[@]}" "$bin" --help 2>"$tmp/err")"; rc=$?
comprobar "--help termina con 0" iguales "$rc" 0
comprobar "--help no escribe en stderr" iguales "$(cat "$tmp/err")" ""
for texto in "Uso: solicitudes" "--crear-demo CARPETA" "--log-sql ARCHIVO" "OXA_DIR" "~/.oxa/" \
    "ARRANQUE.dbf" "sqlite:RUTA"; do
    comprobar "--help explica $texto" contiene "$salida" "$texto"
done
for caso in "--no-existe|Opción desconocida: --no-existe" "--log-sql|Falta el valor de la opción --log-sql"; do
    opcion="${caso%%|*}"
    salida="$("${sin_pantalla[@]}" "$bin" "$opcion" 2>"$tmp/err")"; rc=$?
    comprobar "$opcion termina con 2" iguales "$rc" 2
    comprobar "$opcion no escribe en stdout" iguales "$salida" ""
    comprobar "$opcion lo explica en stderr" contiene "$(cat "$tmp/err")" "${caso#*|}"
    comprobar "$opcion remite a --help" contiene "$(cat "$tmp/err")" "solicitudes --help"
done

# Without a display, and with a statement log it cannot write: a Spanish sentence and the
# documented code, not Qt's English abort.
salida="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM OXA_DIR="$tmp/nada" "$bin" 2>&1)"; rc=$?
comprobar "sin pantalla termina con 3" iguales "$rc" 3
comprobar "sin pantalla lo dice en español" contiene "$salida" "no hay una pantalla gráfica"
salida="$(QT_QPA_PLATFORM=offscreen "$bin" --log-sql "$tmp" 2>&1)"; rc=$?
comprobar "una bitácora que es carpeta termina con 4" iguales "$rc" 4
comprobar "una bitácora que es carpeta lo dice en español" contiene "$salida" "es una carpeta"

# As installed, the program reaches the login window on the demo and reads the skin from the
# data folder, there being none beside the executable.
comprobar "--crear-demo" "$bin" --crear-demo "$tmp/demo" >/dev/null
OXA_DIR="$tmp/demo" QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=openat -o "$tmp/traza" \
    "$bin" >"$tmp/programa.log" 2>&1 &
piel=""
for _ in $(seq 300); do
    piel="$(grep -F "\"$tmp/raiz/usr/share/solicitudes/Msn2008.skn\", O_RDONLY" "$tmp/traza" 2>/dev/null | grep -v '= -1')"
    [ -n "$piel" ] && break
    jobs %% >/dev/null 2>&1 || break
    sleep 0.1
done
comprobar "el programa instalado lee la piel de /usr/share/solicitudes" test -n "$piel"
programa_pid="$(head -n 1 "$tmp/traza" | cut -d' ' -f1)"
sleep 0.5
comprobar "el programa instalado espera en la ventana de entrada" kill "$programa_pid"
programa_pid=""
wait
[ -n "$piel" ] || cat "$tmp/programa.log" >&2

# The maintainer scripts against a throw-away odbcinst.ini.
export ODBCSYSINI="$tmp/odbc" SOLICITUDES_ESTADO="$tmp/estado"
mkdir -p "$ODBCSYSINI"
ini="$ODBCSYSINI/odbcinst.ini"
tds="$(dpkg-query -L "tdsodbc:$arq" | grep '/libtdsodbc\.so$' | head -n 1)"
guion() { sh "$tmp/control/$1" "$2" >/dev/null; }
registrado() { odbcinst -q -d -n "SQL Server" 2>/dev/null; }
sin_registro() { ! registrado >/dev/null; }
freetds='[FreeTDS]
Description=TDS driver (Sybase/MS SQL)
Driver=libtdsodbc.so'

# No "SQL Server" yet: the package adds it, once, keeps it on upgrade, removes it on removal.
printf '%s\n' "$freetds" >"$ini"
comprobar "postinst configure" guion postinst configure
comprobar "postinst registra FreeTDS como SQL Server" contiene "$(registrado)" "Driver=$tds"
comprobar "postinst deja su marca" test -f "$SOLICITUDES_ESTADO/odbc-registrado"
comprobar "postinst configure otra vez" guion postinst configure
comprobar "un solo registro tras configurar dos veces" iguales "$(grep -c '^\[SQL Server\]' "$ini")" 1
comprobar "prerm upgrade" guion prerm upgrade
comprobar "una actualización conserva el registro" contiene "$(registrado)" "Driver=$tds"
comprobar "prerm remove" guion prerm remove
comprobar "postrm remove" guion postrm remove
comprobar "postrm purge" guion postrm purge
comprobar "quitar el paquete quita el registro" sin_registro
comprobar "quitar el paquete deja FreeTDS" contiene "$(odbcinst -q -d -n FreeTDS)" "Driver=libtdsodbc.so"
comprobar "quitar el paquete quita su marca" test ! -e "$SOLICITUDES_ESTADO"

# A "SQL Server" that was already there is not touched, nor removed with the package.
printf '%s\n\n[SQL Server]\nDescription = Microsoft\nDriver = /opt/microsoft/msodbcsql18/lib64/libmsodbcsql-18.so\n' \
    "$freetds" >"$ini"
cp "$ini" "$tmp/antes.ini"
for paso in "postinst configure" "prerm remove" "postrm remove" "postrm purge"; do
    comprobar "$paso con un SQL Server ya registrado" guion $paso
    comprobar "$paso deja el SQL Server que ya estaba" cmp -s "$ini" "$tmp/antes.ini"
    comprobar "$paso no deja marca" test ! -e "$SOLICITUDES_ESTADO/odbc-registrado"
done

# Ours, but since pointed at another driver by hand: removal leaves it.
printf '%s\n' "$freetds" >"$ini"
guion postinst configure
sed -i "s|^Driver=$tds|Driver=/opt/otro/libotro.so|" "$ini"
cp "$ini" "$tmp/antes.ini"
comprobar "prerm remove tras cambiar el controlador a mano" guion prerm remove
comprobar "un registro cambiado a mano se queda" cmp -s "$ini" "$tmp/antes.ini"
comprobar "y la marca se va" test ! -e "$SOLICITUDES_ESTADO/odbc-registrado"

termina
