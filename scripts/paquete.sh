#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/solicitudes_<versión>_<arq>.deb.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
bash "$raiz/scripts/compilar.sh"
cd "$raiz/build"
cpack -G DEB
