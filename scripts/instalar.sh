#!/usr/bin/env bash
# Installs the Debian packages that are missing. Quiet and quick when everything is there.
#   instalar.sh            what the program, its tests and benchmarks need
#   instalar.sh paquete    only what building the package needs
set -euo pipefail

# Building the program.
paquetes=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libqt6sql6-odbc libqt6sql6-sqlite qt6-translations-l10n
  # The dashboard's charts; Qt Charts' CMake files ask for Qt OpenGL's, which its package
  # does not bring.
  qt6-charts-dev libqt6opengl6-dev
  libsqlite3-dev
  unixodbc-dev tdsodbc
  libcurl4-openssl-dev
  libxlsxwriter-dev
)
# Building and checking the package.
paquetes+=(dpkg-dev file lintian librsvg2-bin)
if [ "${1:-}" != "paquete" ]; then
  # The tests: the demo database, a second ODBC driver, a mail and a display server, the
  # package's checks, PDFs read back.
  paquetes+=(
    sqlite3 libsqliteodbc libbenchmark-dev python3-aiosmtpd clang-format
    xvfb openbox xdotool imagemagick
    desktop-file-utils appstream devscripts strace
    poppler-utils unzip
  )
fi

faltan=()
for p in "${paquetes[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    faltan+=("$p")
  fi
done
[ ${#faltan[@]} -eq 0 ] && exit 0

echo "Instalando: ${faltan[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
