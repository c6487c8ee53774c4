#!/usr/bin/env bash
# Configures build/ (Ninja when there is no build yet; a build made with another generator
# keeps it). Sourced by the other scripts, which set $raiz.
configurar() {
  local generador=()
  if [ ! -f "$raiz/build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
    generador=(-G Ninja)
  fi
  cmake -S "$raiz" -B "$raiz/build" "${generador[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}
