#!/usr/bin/env bash
# Installs the dependencies, builds the module and the stand-in host, and
# runs the host: it loads the module with the sample interface and writes
# the rendered frames as PNG files.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
OUT="${OUT:-$ROOT/out}"
mkdir -p "$OUT"
cd build/root
"$ROOT/build/host/qhost" --module "$ROOT/build/src/libqgui.so" --root . --frames "${FRAMES:-30}" \
  --out "$OUT" --demo-scene "$@"
