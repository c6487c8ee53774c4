#!/usr/bin/env bash
# Installs what is missing, builds, writes a fresh demo configuration in build/demo and starts
# the program on it.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
bash "$raiz/scripts/compilar.sh"
"$raiz/build/solicitudes" --crear-demo "$raiz/build/demo"
OXA_DIR="$raiz/build/demo" exec "$raiz/build/solicitudes" "$@"
