#!/usr/bin/env bash
# Installs the Debian packages that are missing (only those), then configures
# and builds into build/. Extra package lists can be named as arguments
# (e.g. scripts/bench-packages.txt). Environment:
#   PADOCUT_BUILD_DIR   build folder (default: build)
#   PADOCUT_CMAKE_ARGS  extra arguments for the CMake configure step
#   PADOCUT_BUILD_TARGETS  targets to build (default: all)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

want=()
for list in scripts/packages.txt "$@"; do
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    want+=("$pkg")
  done < "$list"
done

missing=()
for pkg in "${want[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$pkg")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

build=${PADOCUT_BUILD_DIR:-build}
jobs=$(nproc 2>/dev/null || echo 2)
# shellcheck disable=SC2086
cmake -S . -B "$build" ${PADOCUT_CMAKE_ARGS:-} >"$build.configure.log" 2>&1 || { cat "$build.configure.log" >&2; exit 1; }
targets=()
for t in ${PADOCUT_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
if ! cmake --build "$build" -j "$jobs" "${targets[@]}" >"$build.build.log" 2>&1; then
  grep -E 'error|Error' -A3 "$build.build.log" | head -80 >&2 || tail -80 "$build.build.log" >&2
  echo "setup: build failed (full log: $build.build.log)" >&2
  exit 1
fi
grep -E 'warning:' "$build.build.log" >&2 || true
