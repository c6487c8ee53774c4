#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests (not the benchmarks), and runs
# the whole test suite.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
bash "$raiz/scripts/instalar.sh"
. "$raiz/scripts/configurar.sh"
configurar
cmake --build "$raiz/build" -j"$(nproc)" --target pruebas
# Most tests wait on the windows' timers more than they compute: twice as many as the cores.
ctest --test-dir "$raiz/build" --output-on-failure -j"$(($(nproc) * 2))" "$@"
