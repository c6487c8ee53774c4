#!/usr/bin/env bash
# Applies .clang-format to every C++ file of the project; with --revisar only says which files
# do not follow it, and fails if any.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cd "$raiz"
mapfile -t archivos < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h')
if [ "${1:-}" = "--revisar" ]; then
  malos=()
  for a in "${archivos[@]}"; do
    clang-format --dry-run --Werror "$a" >/dev/null 2>&1 || malos+=("$a")
  done
  if [ ${#malos[@]} -gt 0 ]; then
    echo "No siguen .clang-format (bash scripts/formato.sh los corrige):" >&2
    printf '  %s\n' "${malos[@]}" >&2
    exit 1
  fi
else
  clang-format -i "${archivos[@]}"
fi
