#!/usr/bin/env bash
# Configures and builds everything (program, tests, benchmarks) in build/.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
. "$raiz/scripts/configurar.sh"
configurar
cmake --build "$raiz/build" -j"$(nproc)"
