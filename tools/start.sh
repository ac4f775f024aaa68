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
mkdir -p "$run"

absent() { [[ ! -e $1 && ! -L $1 ]]; }

for made in firmware/rom.bin art/face.bmp art/keys.bmp; do
  name=$(basename "$made")
  if absent "$run/$name"; then cp -n "build/$made" "$run/$name"; fi
done

if absent "$run/vexal.ini"; then
  cat > "$run/vexal.ini" <<'INI'
; Settings of the Vexal MK-85 emulator. Section and key names may be written
; in any case; numbers are decimal, or hexadecimal after 0x.

[Settings]
; How much the processor runs in every 10 ms: an instruction costs 1 unit
; while the machine's fast mode is on and 8 otherwise. Default 250.
CpuSpeed=250

[Debugger]
; The radix of every number in the debug window, 8 to 16. Default 16.
Radix=16
INI
fi

if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-} ]]; then
  echo "Vexal is built and $run/ is ready, but there is no display to show its window on."
  echo "Start it from a desktop session, or under a virtual display: cd $run && xvfb-run ../build/bin/vexal"
  exit 1
fi

cd "$run"
exec ../build/bin/vexal
