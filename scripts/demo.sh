#!/usr/bin/env bash
# Installs what is missing, builds, writes a fresh demo configuration in build/demo and starts
# the program on it.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
. "$raiz/scripts/configurar.sh"
configurar
cmake --build "$raiz/build" -j"$(nproc)" --target solicitudes
"$raiz/build/solicitudes" --crear-demo "$raiz/build/demo"
OXA_DIR="$raiz/build/demo" exec "$raiz/build/solicitudes" "$@"
