#!/usr/bin/env bash
# Installs what is missing, builds Vexal, prepares the run folder run/ and
# starts the emulator there. Files the user put in run/ are never replaced:
# our firmware, pictures and settings go in only where there are none, and
# ram.bin is left to the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
# Only the programs, the firmware and the pictures, optimised and without
# debugging information, as they are installed: the tests are the test
# command's.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVEXAL_WERROR=OFF
cmake --build build -j"$(nproc)"

run=run
# The emulator prepares the folder from the files the build gathered in
# build/share/vexal, as an installed one prepares the user's from share/vexal.
build/bin/vexal --dir "$run" --prepare

if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-} ]]; then
  # The window can only go to a virtual display here: what that takes is
  # installed, for the command below.
  bash tools/install-deps.sh --virtual-display
  echo "Vexal is built and $run/ is ready, but there is no display to show its window on."
  echo "Start it from a desktop session, or on a virtual display: xvfb-run -a build/bin/vexal --dir $run"
  echo "Ctrl+C in that terminal stops it, and saves the RAM."
  exit 1
fi

exec build/bin/vexal --dir "$run"
