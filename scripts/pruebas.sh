#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests (not the benchmarks), and runs
# the whole test suite.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
. "$raiz/scripts/configurar.sh"
configurar
cmake --build "$raiz/build" -j"$(nproc)" --target pruebas
ctest --test-dir "$raiz/build" --output-on-failure -j"$(nproc)" "$@"
