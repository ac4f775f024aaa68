#!/usr/bin/env bash
# Takes the picture of the debug window that the README shows: starts the
# emulator under a virtual X display on a small program of our own, opens the
# debug window with F3 as a user would, and writes the window as a PNG
# (docs/debug-window.png, or the file given).
# Needs the build (tools/start.sh or cmake); installs the virtual display and
# the tools that press the key and take the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} != --inside-display ]]; then
  bash tools/install-deps.sh --screenshot
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash tools/screenshot.sh --inside-display "$(realpath -m "${1:-docs/debug-window.png}")"
fi
picture=$2
mkdir -p "$(dirname "$picture")"
build=$PWD/build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
cd "$work"
cp "$build/art/face.bmp" "$build/art/keys.bmp" .

# A ROM whose reset vector enters RAM at 0x8000 with PSW 0.
{ printf '\x00\x80\x00\x00'; head -c $((32768 - 4)) /dev/zero; } > rom.bin
# RAM: a text at 0x8080, and a program that switches the processor to its fast
# mode and sums the text's characters over and over, counting the passes in R4.
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

"$build/bin/vexal" & vexal=$!
main=$(xdotool search --sync --onlyvisible --name '^MK85$')
sleep 1
xdotool windowfocus --sync "$main" key F3
debug=$(xdotool search --sync --onlyvisible --name '^Debug Window$')
sleep 1
# A few steps, and a breakpoint on the loop's count (the cursor follows the
# program counter), so that the marks of the listing show.
xdotool windowfocus --sync "$debug" key F11 F11 F11 F11 F9 F11
sleep 1
xwd -silent -id "$debug" | xwdtopnm 2>/dev/null | pnmtopng > "$picture"
kill -TERM $vexal
wait $vexal || true
echo "wrote $picture"
