        .radix 16
; Vexal's own firmware for the MK-85: a line-editing integer calculator.
; Numbers in the code are hexadecimal unless they end in "." (decimal);
; counts in the comments are decimal. Subroutines may change R0 to R5
; unless they say otherwise; nothing is kept in registers from one key to
; the next. The build assembles this file followed by the two tables it
; makes from the key table of README.md (keycodes) and from font.txt (font).

; Key codes, as the key table gives them to the keys: characters 20 to 5F,
; and these functions.
KLEFT = 80
KRIGHT = 81
KOLDER = 82
KNEWER = 83
KDELETE = 84
KMODE = 85                      ; the first that does not repeat
KCLEAR = 86
KEXECUTE = 87

; Vectors: a new PC and PSW each. The processor starts through the first,
; takes its traps through 4 to 1C, and enters halt mode through 78 (the
; halt key). Every trap shows its vector and returns to the calculator.
        .org 0
        .word start, 0
        .word trapat04, 0       ; JMP or JSR to a register
        .word trapat10, 0       ; an instruction this processor lacks
        .word trapat14, 0       ; BPT, and the T bit
        .word trapat20, 0       ; IOT
        .word trapat24, 0       ; never taken; no vector is left unset
        .word trapat30, 0       ; EMT
        .word trapat34, 0       ; TRAP
        .org 78
        .word haltmode, 0

        .include "machine.s"
        .include "ram.s"

; Power-on: a display self-test, then the banner, then the calculator,
; showing the result kept from the last session if there is one.
        .org 108
start:  mov #stacktop,sp
        mov #WORKING,@#ctrl
        jsr pc,selftest
        jsr pc,checkkept
        jsr pc,clearwork
        bisb #RUN,indicators+1
        jsr pc,putindicators
        mov #bannertext,r1
        jsr pc,draw
        mov #SECOND,r0
bannerwait:
        sob r0,bannerwait
        tstb answerknown
        beq calculator
        mov answer,r0
        jsr pc,showvalue
calculator:
        jsr pc,redraw
nextkey:
        jsr pc,getkey
        jsr pc,dokey
        jsr pc,redraw
        br nextkey

; Every dot, indicator and segment on for half a second, then all off.
selftest:
        mov #lcd,r1
alllit: mov #-1,(r1)+
        cmp r1,#lcdcursor
        blo alllit
        movb #NOCURSOR,@#lcdcursor
        mov #HALFSECOND,r0
selfwait:
        sob r0,selfwait
        mov #lcd,r1
alldark:
        clr (r1)+
        cmp r1,#lcdcursor
        blo alldark
        rts pc

; Clears the working state: an empty line, typing inserts, nothing shown.
clearwork:
        mov #line,r1
wipe:   clr (r1)+
        cmp r1,#workend
        blo wipe
        movb #-1,recalled
        rts pc

; The traps: each shows "TRAP" and its vector in octal, as PDP-11 manuals
; number them, then the calculator goes on with a fresh stack.
trapat04:
        mov #4,r0
        br trapped
trapat10:
        mov #8,r0
        br trapped
trapat14:
        mov #0C,r0
        br trapped
trapat20:
        mov #10,r0
        br trapped
trapat24:
        mov #14,r0
        br trapped
trapat30:
        mov #18,r0
        br trapped
trapat34:
        mov #1C,r0
trapped:
        mov #stacktop,sp
        mov #WORKING,@#ctrl
        mov #traptext,r1
        mov #shown,r2
traptextcopy:
        movb (r1)+,(r2)+
        cmp r2,#shown+CELLS-2
        blo traptextcopy
        mov r0,r1
        ash #-3,r1              ; the eights
        add #'0',r1
        movb r1,(r2)+
        bic #-8,r0              ; the units
        add #'0',r0
        movb r0,(r2)+
        movb #1,showing
        movb linelen,errorat
        br calculator

        .include "keyboard.s"
        .include "display.s"
        .include "editor.s"
        .include "evaluate.s"
        .include "kept.s"
        .include "halt.s"

bannertext:
        .ascii " VEXAL CALC "
traptext:
        .ascii "     TRAP "
        .even
