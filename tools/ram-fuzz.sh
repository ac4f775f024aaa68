#!/usr/bin/env bash
# Boots our firmware on thousands of damaged RAM images, most of them sealed
# as the firmware seals them, each driven by the same typed script, and fails
# on any trap, hang, write outside RAM, the display and the ports, or stack
# out of place: the test suite's Firmware.RamFuzz with more images and a seed
# of one's choice.
#   tools/ram-fuzz.sh [IMAGES [SEED]]     (default 2000 images, seed 1)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cmake --build "$build" --target firmware_tests > /dev/null
VEXAL_RAM_FUZZ_IMAGES=${1:-2000} VEXAL_RAM_FUZZ_SEED=${2:-1} \
  "$build/tests/firmware/firmware_tests" --gtest_filter=Firmware.RamFuzz --gtest_brief=1
