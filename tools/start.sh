#!/usr/bin/env bash
# Installs what is missing, builds Vexal and starts the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
echo "The front panel window is not built yet."
