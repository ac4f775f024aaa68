#!/usr/bin/env bash
# Installs what is missing, builds Vexal, prepares the run folder run/ and
# starts the emulator there. Files the user put in run/ are never replaced:
# our firmware, pictures and settings go in only where there are none, and
# ram.bin is left to the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
# Only the programs, the firmware and the pictures: the tests are the test
# command's.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DVEXAL_WERROR=OFF
cmake --build build -j"$(nproc)"

run=run
# The emulator prepares the folder from the files the build gathered in
# build/share/vexal, as an installed one prepares the user's from share/vexal.
build/bin/vexal --dir "$run" --prepare

if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-} ]]; then
  echo "Vexal is built and $run/ is ready, but there is no display to show its window on."
  echo "Start it from a desktop session, or under a virtual display: xvfb-run build/bin/vexal --dir $run"
  exit 1
fi

exec build/bin/vexal --dir "$run"
