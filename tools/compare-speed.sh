#!/usr/bin/env bash
# Compares the speed of Vexal's processor with SIMH's PDP-11 simulator (the
# Debian package simh, program pdp11, as a PDP-11/73) on a set of loops of
# our own: each loop runs through `vexal-cli` `bench` and through `pdp11`,
# alternately, ROUNDS times (default 5). For every run it prints both CPU
# times and their ratio (SIMH's time over Vexal's: above 1 means Vexal is
# faster), then the median ratio of each loop. Both programs end each loop on
# its HALT with the same registers, which the script checks.
#
#   bash tools/compare-speed.sh [ROUNDS]
#
# SIMH is installed here when missing (as root); nothing else uses it. The
# machine should be otherwise idle: the load average is printed before and
# after.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}

bash tools/install-deps.sh --speed
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vexal-cli >/dev/null
cli=$PWD/build/bin/vexal-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/rom.bin"  # a ROM of zeros, without the warning about a missing one

# The loops. Each line: an octal address and the octal words stored from it;
# every program starts at 100000 (0x8000, the start of RAM) and ends on the
# HALT at the given address. Counters in memory (101300) and trap vectors are
# stored the same way.
declare -A program halt_at about

about[ordinary]="MOV, ADD, ASL, XOR, BIT, a store, SOB"
halt_at[ordinary]=100036
program[ordinary]="
100000 012703 000764   # mov #500.,r3
100004 012700 177777   # 1$: mov #177777,r0
100010 005001          # clr r1
100012 060001          # 2$: add r0,r1
100014 010102          # mov r1,r2
100016 006302          # asl r2
100020 074002          # xor r0,r2
100022 010237 100400   # mov r2,@#100400
100026 032702 000001   # bit #1,r2
100032 077011          # sob r0,2$
100034 077315          # sob r3,1$
100036 000000          # halt
"

about[mix]="byte autoincrement, MUL, index mode, JSR/RTS, nested SOB"
halt_at[mix]=100044
program[mix]="
100000 012706 104000   # mov #104000,sp
100004 012705 177777   # mov #177777,r5
100010 012701 101000   # 1$: mov #101000,r1
100014 012704 000310   # mov #200.,r4
100020 112100          # 2$: movb (r1)+,r0
100022 060502          # add r5,r2
100024 070227 000003   # mul #3,r2
100030 110361 177777   # movb r3,-1(r1)
100034 004767 000040   # jsr pc,sub
100040 077411          # sob r4,2$
100042 077516          # sob r5,1$
100044 000000          # halt
100100 060302          # sub: add r3,r2
100102 000207          # rts pc
"

about[modes]="every addressing mode, word and byte, as source and destination"
halt_at[modes]=100102
program[modes]="
100000 012705 000310   # 1$: mov #200.,r5
100004 012700 101000   # mov #101000,r0
100010 012701 101100   # mov #101100,r1
100014 011002          # 2$: mov (r0),r2
100016 062002          # add (r0)+,r2
100020 013103          # mov @(r1)+,r3
100022 164003          # sub -(r0),r3
100024 015104          # mov @-(r1),r4
100026 066004 000002   # add 2(r0),r4
100032 057102 000004   # bis @4(r1),r2
100036 112003          # movb (r0)+,r3
100040 114004          # movb -(r0),r4
100042 142703 000017   # bicb #17,r3
100046 010237 101200   # mov r2,@#101200
100052 026704 001122   # cmp 101200,r4
100056 067703 001016   # add @101100,r3
100062 110360 000003   # movb r3,3(r0)
100066 074371 000002   # xor r3,@2(r1)
100072 077530          # sob r5,2$
100074 005337 101300   # dec @#101300
100100 001337          # bne 1$
100102 000000          # halt
101000 052525 125252 000377 177400  # data
101100 101000 101002 101004  # pointers
101300 104270          # 35000. passes
"

about[calls]="JSR/RTS with the stack, TRAP and EMT with RTI, branches"
halt_at[calls]=100050
program[calls]="
000030 100210 000000   # EMT vector
000034 100200 000000   # TRAP vector
100000 012706 104000   # mov #104000,sp
100004 012705 177777   # 1$: mov #177777,r5
100010 004767 000064   # 2$: jsr pc,sub1
100014 104405          # trap 5
100016 104007          # emt 7
100020 020527 100000   # cmp r5,#100000
100024 101001          # bhi 3$
100026 005204          # inc r4
100030 032705 000001   # 3$: bit #1,r5
100034 001401          # beq 4$
100036 005303          # dec r3
100040 077515          # 4$: sob r5,2$
100042 005337 101300   # dec @#101300
100046 001356          # bne 1$
100050 000000          # halt
100100 010546          # sub1: mov r5,-(sp)
100102 004767 000012   # jsr pc,sub2
100106 012605          # mov (sp)+,r5
100110 000207          # rts pc
100120 060502          # sub2: add r5,r2
100122 000207          # rts pc
100200 005200 000002   # trap handler: inc r0, rti
100210 005201 000002   # emt handler: inc r1, rti
101300 000144          # 100. passes
"

about[arith]="MUL, DIV, ASH, ASHC, XOR"
halt_at[arith]=100054
program[arith]="
100000 012705 177777   # 1$: mov #177777,r5
100004 010501          # 2$: mov r5,r1
100006 070127 000007   # mul #7,r1
100012 010503          # mov r5,r3
100014 005002          # clr r2
100016 071227 000013   # div #11.,r2
100022 010500          # mov r5,r0
100024 072027 000003   # ash #3,r0
100030 072027 000076   # ash #-2,r0
100034 073227 000005   # ashc #5,r2
100040 074004          # xor r0,r4
100042 060104          # add r1,r4
100044 077521          # sob r5,2$
100046 005337 101300   # dec @#101300
100052 001352          # bne 1$
100054 000000          # halt
101300 000226          # 150. passes
"

about[display]="byte and word stores into the display memory"
halt_at[display]=100036
program[display]="
100000 012705 177777   # 1$: mov #177777,r5
100004 012701 000200   # 2$: mov #200,r1
100010 012702 000100   # mov #64.,r2
100014 110521          # 3$: movb r5,(r1)+
100016 110221          # movb r2,(r1)+
100020 077203          # sob r2,3$
100022 010537 000200   # mov r5,@#200
100026 077512          # sob r5,2$
100030 005337 101300   # dec @#101300
100034 001361          # bne 1$
100036 000000          # halt
101300 000012          # 10. passes
"

loops=(ordinary mix modes calls arith display)

hex() { printf '%04X' "$((8#$1))"; }

# The loop's memory as (address word ...) lines, comments removed.
image() { sed -e 's/#.*//' -e '/^[[:space:]]*$/d' <<<"${program[$1]}"; }

write_inputs() {
  local loop=$1 address words w
  : >"$work/$loop.load"
  {
    echo "set cpu 11/73"
    while read -r address words; do
      local hexwords=() at=$((8#$address))
      for w in $words; do
        printf 'dep %o %s\n' "$at" "$w"
        hexwords+=("$(hex "$w")")
        at=$((at + 2))
      done
      echo "load $(hex "$address") ${hexwords[*]}" >>"$work/$loop.load"
    done < <(image "$loop")
    echo "go 100000"
    echo "ex r0,r1,r2,r3,r4,r5,sp"
    echo "quit"
  } >"$work/$loop.simh"
}

# How many steps the loop takes, its HALT included.
count_steps() {
  local loop=$1 reply
  reply=$(cd "$work" && { cat "$loop.load"; echo "set pc 8000"; echo "until $(hex "${halt_at[$loop]}") 1000000000"; } |
    "$cli")
  [[ $reply =~ after\ ([0-9]+)\ steps ]] || { echo "$loop: never reaches its HALT: $reply" >&2; exit 1; }
  echo $((BASH_REMATCH[1] + 1))
}

# Runs a command in the work folder; prints its user + system CPU seconds.
# Its output goes to $work/out.
cpu_seconds() {
  local TIMEFORMAT='%3U %3S' times
  times=$( { time (cd "$work" && "$@" >out 2>&1); } 2>&1)
  awk '{ printf "%.3f", $1 + $2 }' <<<"$times"
}

# R0..R5 and SP, as octal numbers, from each program's report.
vexal_registers() {
  grep -o -E '(R[0-5]|SP)=[0-9A-F]+' "$work/out" | while IFS== read -r _ value; do printf '%o ' "$((16#$value))"; done
}
simh_registers() {
  grep -E '^(R[0-5]|SP):' "$work/out" | while read -r _ value; do printf '%o ' "$((8#$value))"; done
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "Machine: $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg) before"
echo "Vexal: $cli; SIMH: $(command -v pdp11) (set cpu 11/73)"
declare -A steps ratios
for loop in "${loops[@]}"; do
  write_inputs "$loop"
  steps[$loop]=$(count_steps "$loop")
  { cat "$work/$loop.load"; echo "set pc 8000"; echo "bench ${steps[$loop]}"; echo "state"; } >"$work/$loop.vexal"
done

printf '\n%-9s %5s %12s %9s %9s %7s\n' loop round steps vexal/s simh/s ratio
for ((round = 1; round <= rounds; round++)); do
  for loop in "${loops[@]}"; do
    vexal=$(cpu_seconds "$cli" "$loop.vexal")
    vexal_regs=$(vexal_registers)
    simh=$(cpu_seconds pdp11 "$loop.simh")
    simh_regs=$(simh_registers)
    if [[ $vexal_regs != "$simh_regs" ]]; then
      echo "$loop: the programs end differently: vexal R0..R5 SP = $vexal_regs, SIMH = $simh_regs" >&2
      exit 1
    fi
    ratio=$(awk -v s="$simh" -v v="$vexal" 'BEGIN { printf "%.2f", s / v }')
    ratios[$loop]+="$ratio "
    printf '%-9s %5d %12d %9s %9s %7s\n' "$loop" "$round" "${steps[$loop]}" "$vexal" "$simh" "$ratio"
  done
done

echo
echo "Median ratio (SIMH's CPU time over Vexal's) of $rounds rounds:"
for loop in "${loops[@]}"; do
  printf '  %-9s %5s  %s\n' "$loop" "$(tr ' ' '\n' <<<"${ratios[$loop]}" | sed '/^$/d' | median)" "${about[$loop]}"
done
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
