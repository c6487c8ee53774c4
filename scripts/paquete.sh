#!/usr/bin/env bash
# Installs what is missing, builds what the package holds (not the tests nor the benchmarks)
# and makes build/solicitudes_<versión>_<arq>.deb, with its -dbgsym package beside it.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh" paquete
. "$raiz/scripts/configurar.sh"
configurar
cmake --build "$raiz/build" -j"$(nproc)" --target solicitudes archivos_paquete
cd "$raiz/build"
cpack -G DEB
