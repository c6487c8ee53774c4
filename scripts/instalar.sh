#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need. Quiet and quick
# when everything is already there.
set -euo pipefail

paquetes=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6sql6-odbc libqt6sql6-sqlite qt6-translations-l10n
  libsqlite3-dev sqlite3
  unixodbc-dev tdsodbc libsqliteodbc
  libcurl4-openssl-dev
  libxlsxwriter-dev
  libbenchmark-dev
  python3-aiosmtpd
  xvfb openbox xdotool imagemagick
  dpkg-dev file lintian librsvg2-bin desktop-file-utils strace
  poppler-utils unzip
)

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
