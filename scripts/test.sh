#!/usr/bin/env bash
# Installs what is missing, builds Tessaray and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
make --no-print-directory test
