#!/usr/bin/env bash
# Time from starting the program to the login window on screen, on the demo configuration,
# under a private X server with a window manager. Prints each run and the median.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
programa="${1:-$raiz/build/solicitudes}"
veces="${VECES:-7}"
tmp="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$tmp"' EXIT

"$programa" --crear-demo "$tmp/demo" >/dev/null
Xvfb :77 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=:77
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

tiempos=()
for _ in $(seq "$veces"); do
  inicio=$(date +%s%N)
  OXA_DIR="$tmp/demo" "$programa" &
  pid=$!
  until xdotool search --onlyvisible --name '^Entrada al Sistema$' >/dev/null 2>&1; do
    sleep 0.005
  done
  fin=$(date +%s%N)
  tiempos+=($(( (fin - inicio) / 1000000 )))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
printf 'inicio hasta la ventana de entrada (ms): %s\n' "${tiempos[*]}"
printf '%s\n' "${tiempos[@]}" | sort -n | awk '{a[NR]=$1} END {print "mediana (ms): " a[int((NR+1)/2)]}'
