#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vexal need, only
# those that are missing. Run as root on Debian 12.
set -euo pipefail

packages=(
  cmake g++ make pkg-config          # the build
  libgtest-dev libgmock-dev          # unit tests
  libbenchmark-dev                   # benchmarks
  qt6-base-dev                       # the front panel and debug window
  libinih-dev                        # the settings file reader
  fonts-dejavu-core                  # front-panel labels; the debug window's fixed-pitch font
  xvfb xauth                         # a virtual display for tools/measure.sh and tools/screenshot.sh
  xdotool x11-apps netpbm            # tools/screenshot.sh: keys to the window, and its picture
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
