#!/usr/bin/env bash
# Runs every benchmark program built from bench/*.cpp in the given build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
status=0
for src in bench/*.cpp; do
  name=$(basename "$src" .cpp)
  if [ -x "$BUILD/$name" ]; then
    echo "== $name"
    "$BUILD/$name" || status=1
  else
    echo "== $name: not built in $BUILD"
    status=1
  fi
done
exit $status
