#!/usr/bin/env bash
# Installs what is missing, builds Tessaray and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
make --no-print-directory run
