#!/usr/bin/env bash
# Measures the emulator as a user runs it, under a virtual X display: its CPU
# use over 20 seconds at the default speed, and the time from its start to the
# first painted frame. Three ROMs: one of zeros (every step a HALT); one whose
# reset vector enters RAM, where a program switches the processor to its fast
# mode (250 steps a tick) and runs a loop of ordinary instructions forever,
# writing to the display as it goes; and our firmware, idle at its prompt
# with the processor asleep. Needs the build (tools/start.sh or cmake);
# installs the virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} != --inside-display ]]; then
  bash tools/install-deps.sh --measure
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash tools/measure.sh --inside-display
fi
vexal=$PWD/build/bin/vexal
art=$PWD/build/art
seconds=${SECONDS_TO_MEASURE:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

# word: the 16-bit value as two little-endian bytes, for printf.
word() { printf '\\x%02x\\x%02x' $(($1 & 0xFF)) $(($1 >> 8)); }

prepare() {
  mkdir -p "$work/$1"
  cp "$art/face.bmp" "$art/keys.bmp" "$work/$1/"
  head -c 32768 /dev/zero > "$work/$1/rom.bin"
}
prepare zeros
prepare loop
prepare firmware
cp build/firmware/rom.bin "$work/firmware/rom.bin"
# Reset to PC 0x8000 in RAM with PSW 0.
{ printf "$(word 0x8000)$(word 0)"; head -c $((32768 - 4)) /dev/zero; } > "$work/loop/rom.bin"
# At 0x8000 (octal words):
#          012737 006000 000404   mov #6000,@#404   speed and run bits of the control port
#   again: 012701 000100          mov #100,r1
#   loop:  060102                 add r1,r2
#          006302                 asl r2
#          074102                 xor r1,r2
#          010237 000200          mov r2,@#200      into the display memory
#          077106                 sob r1,loop
#          000767                 br again
program=(0012737 0006000 0000404 0012701 0000100 0060102 0006302 0074102 0010237 0000200 0077106 0000767)
{
  for w in "${program[@]}"; do printf "$(word $((w)))"; done
  head -c $((2048 - 2 * ${#program[@]})) /dev/zero
} > "$work/loop/ram.bin"

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
  cd "$work/$1"
  local frames=() whole=()
  for _ in 1 2 3 4 5; do
    local started; started=$(date +%s%N)
    frames+=("$("$vexal" --dir . --time-first-frame | sed 's/[^0-9]//g')")
    whole+=("$((($(date +%s%N) - started) / 1000000))")
  done
  "$vexal" --dir . & local pid=$!
  sleep 2
  local before after
  before=$(cpu_ticks $pid)
  sleep "$seconds"
  after=$(cpu_ticks $pid)
  kill -TERM $pid
  wait $pid || true
  local hz; hz=$(getconf CLK_TCK)
  echo "$1: CPU $(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }')% over ${seconds} s;" \
       "first frame after ${frames[*]} ms from main() (five starts);" \
       "whole run from exec to exit ${whole[*]} ms"
}

measure zeros
measure loop
measure firmware
