#!/usr/bin/env bash
# Takes the pictures of the windows that the documentation shows: starts the
# emulator under a virtual X display, works it with keys as a user would, and
# writes the window as a PNG.
#
#   screenshot.sh               both pictures, into docs/
#   screenshot.sh main [FILE]   the main window running our firmware's BASIC,
#                               after 12*34 and Enter (docs/main-window.png)
#   screenshot.sh debug [FILE]  the debug window on a small program of our
#                               own (docs/debug-window.png)
#
# Needs the build (tools/start.sh or cmake); installs the virtual display and
# the tools that press the keys and take the picture. Take the pictures again
# whenever a window changes.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} != --inside-display ]]; then
  case ${1:-both} in
    both) pictures=(main docs/main-window.png debug docs/debug-window.png) ;;
    main) pictures=(main "${2:-docs/main-window.png}") ;;
    debug) pictures=(debug "${2:-docs/debug-window.png}") ;;
    *) echo "usage: screenshot.sh [main|debug [FILE]]" >&2; exit 2 ;;
  esac
  bash tools/install-deps.sh --screenshot
  for ((i = 1; i < ${#pictures[@]}; i += 2)); do pictures[i]=$(realpath -m "${pictures[i]}"); done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash tools/screenshot.sh --inside-display "${pictures[@]}"
fi
shift
build=$PWD/build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
# The window's place and zoom are remembered in the configuration folder: a
# fresh one, so that the pictures show the default zoom and the user's own
# window.ini is neither read nor written.
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config

# The window of the emulator started in the current folder (--dir .), once
# it shows.
start_vexal() {
  "$build/bin/vexal" --dir . & vexal=$!
  main=$(xdotool search --sync --onlyvisible --name '^Vexal — MK-85$')
  sleep 1
}

stop_vexal() {
  kill -TERM $vexal
  wait $vexal || true
}

snap() {
  mkdir -p "$(dirname "$2")"
  xwd -silent -id "$1" | xwdtopnm 2>/dev/null | pnmtopng > "$2"
  echo "wrote $2"
}

# Our firmware on a fresh RAM: after its self-test and banner, 12*34 typed
# and run, so that the display shows the expression's value.
main_window() {
  mkdir "$work/main" && cd "$work/main"
  cp "$build/firmware/rom.bin" "$build/art/face.bmp" "$build/art/keys.bmp" .
  start_vexal
  sleep 2
  xdotool windowfocus --sync "$main"
  xdotool type --delay 150 '12*34'
  xdotool key --delay 150 Return
  sleep 1
  snap "$main" "$1"
  stop_vexal
}

# A ROM whose reset vector enters RAM at 0x8000 with PSW 0, and in RAM a text
# at 0x8080 and a program that switches the processor to its fast mode and
# sums the text's characters over and over, counting the passes in R4.
debug_window() {
  mkdir "$work/debug" && cd "$work/debug"
  cp "$build/art/face.bmp" "$build/art/keys.bmp" .
  { printf '\x00\x80\x00\x00'; head -c $((32768 - 4)) /dev/zero; } > rom.bin
  { head -c 128 /dev/zero; printf 'Vexal debugger, radix 16.'; head -c $((2048 - 128 - 25)) /dev/zero; } > ram.bin
  "$build/bin/vexal-cli" --rom rom.bin --ram ram.bin > /dev/null <<'PROGRAM'
asm 8000 mov #C00,@#104
asm 8006 mov #8080,r1
asm 800A clr r2
asm 800C movb (r1)+,r3
asm 800E beq 8006
asm 8010 add r3,r2
asm 8012 inc r4
asm 8014 br 800C
save ram.bin
PROGRAM
  start_vexal
  xdotool windowfocus --sync "$main" key F3
  debug=$(xdotool search --sync --onlyvisible --name '^Debug Window$')
  sleep 1
  # A few steps, and a breakpoint on the loop's count (the cursor follows the
  # program counter), so that the marks of the listing show.
  xdotool windowfocus --sync "$debug" key F11 F11 F11 F11 F9 F11
  sleep 1
  snap "$debug" "$1"
  stop_vexal
}

while (($#)); do
  "$1_window" "$2"
  shift 2
done
