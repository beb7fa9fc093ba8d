#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
set -euo pipefail

# fonts-wine: the Tahoma the windows are laid out for, metric-compatible with the designed face.
# xclip: another program's copy in the clipboard test of the curve capture window.
packages=(cmake make g++ pkg-config qt6-base-dev libqcustomplot-dev libqcustomplot2.1-qt6
          libjpeg62-turbo-dev libxxhash-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
          libgl-dev clang fonts-wine xclip)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || true
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
