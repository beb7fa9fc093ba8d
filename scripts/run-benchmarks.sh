#!/usr/bin/env bash
# Runs every benchmark program built from bench/*.cpp in the given build folder, and after the
# index calculator its numpy counterpart (bench/index_numpy.py) where a Python with numpy exists.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
# The chart and report benchmarks draw with Qt: without a display they draw off screen.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}; fi
status=0
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# The first Python that imports numpy: a user's own, else Debian's python3-numpy.
numpy_python() {
  for py in python3 /usr/bin/python3; do
    if command -v "$py" >/dev/null && "$py" -c 'import numpy' 2>/dev/null; then echo "$py"; return; fi
  done
}

for src in bench/*.cpp; do
  name=$(basename "$src" .cpp)
  if [ -x "$BUILD/$name" ]; then
    echo "== $name"
    if [ "$name" = IndexCalculatorBench ]; then
      "$BUILD/$name" --benchmark_out="$out" --benchmark_out_format=json || status=1
      py=$(numpy_python)
      if [ -n "$py" ]; then
        "$py" bench/index_numpy.py --cpp-json "$out" || status=1
      else
        echo "bench/index_numpy.py skipped: no Python with numpy (Debian: python3-numpy)"
      fi
    else
      "$BUILD/$name" || status=1
    fi
  else
    echo "== $name: not built in $BUILD"
    status=1
  fi
done
exit $status
