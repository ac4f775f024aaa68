#!/usr/bin/env bash
# Measures how fast our firmware's BASIC runs at the default CpuSpeed (250
# cycle units a 10 ms tick: 25,000 steps a second in the fast mode it runs
# in): two programs are typed into vexal-cli and run, and the steps from the
# RUN key to the end of the run are counted with "until", at the routine
# the run ends in, whose address the build's listing gives. Needs the build
# (tools/start.sh or cmake) with vexal-cli and the firmware.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cmake --build "$build" --target vexal-cli firmware > /dev/null
cli=$PWD/$build/bin/vexal-cli
rom=$PWD/$build/firmware/rom.bin
stopped=$(grep -E '^[0-9A-F]{4} +[0-9A-F ]*stopped:' "$build/firmware/rom.lst" | cut -c1-4)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure NAME STATEMENTS LINE...: types the lines, runs them and prints the
# statements they run a second.
measure() {
  local name=$1 statements=$2
  shift 2
  {
    echo idle
    for line in "$@"; do printf 'type %s\nkey 55\ntick 5\nkey 0\nidle\n' "$line"; done
    printf 'type RUN\nkey 55\ntick 5\nkey 0\nuntil %s 100000000\n' "$stopped"
  } > "$work/script.txt"
  local steps
  steps=$(cd "$work" && "$cli" --rom "$rom" script.txt | sed -n 's/^reached .* after \([0-9]*\) steps$/\1/p')
  awk -v name="$name" -v n="$statements" -v steps="$steps" 'BEGIN {
    printf "%-10s %5d statements in %8d steps: %5.1f s, %5.1f statements a second\n",
      name, n, steps, steps / 25000, n * 25000 / steps }'
}

# FOR, then A=A+1 and NEXT 500 times.
measure loop 1001 "10 FOR I=1 TO 500" "20 A=A+1" "30 NEXT I"
# Two assignments, then X=X*1.01+0.25 and NEXT 200 times.
measure fractions 402 "10 X=0.5" "20 FOR I=1 TO 200" "30 X=X*1.01+0.25" "40 NEXT I"
