        .radix 16
; Vexal's own firmware for the MK-85: a BASIC pocket computer, whose line
; typed without a line number runs at once, so that it is a calculator too.
; Numbers in the code are hexadecimal unless they end in "." (decimal);
; counts in the comments are decimal. Subroutines may change R0 to R4 unless
; they say otherwise; R5 is the interpreter's place in the text it runs
; (statements.s), which every other routine keeps. The build assembles this
; file followed by the two tables it makes from font.txt (font) and from the
; key table keys.md (the key map, keycodes.s).

; Key codes, as the key table gives them to the keys: characters 20 to 5F,
; and these functions.
KLEFT = 80
KRIGHT = 81
KOLDER = 82                     ; ▲
KNEWER = 83                     ; ▼
KDELETE = 84
KBACKSPACE = 85
KMODE = 86                      ; the first that does not repeat
KCLEAR = 87
KEXECUTE = 88
KSHIFT = 89

; Vectors: a new PC and PSW each. The processor starts through the first,
; takes its traps through 4 to 1C, and enters halt mode through 78 (the
; halt key). Every trap shows its vector and returns to the top level.
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

; The number module first: the RAM layout needs the size of a number. The
; display memory and the ports (machine.s) and the RAM (ram.s) are only
; names; the code goes on after the number module.
        .org 108
        .include "float.s"
codestart:
        .include "machine.s"
        .include "ram.s"
        .org codestart

; Power-on: a display self-test, then the banner, shown while what RAM
; keeps is checked and a second more, then the top level, showing what was
; cleared of a damaged RAM image, or else the value kept as ANS from the last
; session if there is one.
start:  mov #stacktop,sp
        mov #WORKING,@#ctrl
        jsr pc,selftest
        jsr pc,clearwork
        mov #bannertext,r3
        mov #CELLS,r4
        jsr pc,draw
        jsr pc,checkkept
        mov r0,-(sp)
        mov #SECOND,r0
1$:     sob r0,1$
        mov (sp)+,r0
        beq 2$
        jsr pc,showmessage
        br top
2$:     tstb answerknown
        beq top
        mov #answer,r0
        jsr pc,showvalue
; The top level: a key at a time, the display brought up to date after each.
; Entered afresh, with an empty stack, after a trap.
top:    mov #stacktop,sp
1$:     jsr pc,redraw
        jsr pc,getkey
        jsr pc,dokey
        br 1$

; Every dot, indicator and segment on for half a second, then all off.
selftest:
        mov #lcd,r1
1$:     mov #-1,(r1)+
        cmp r1,#lcdcursor
        blo 1$
        movb #NOCURSOR,@#lcdcursor
        mov #HALFSECOND,r0
2$:     sob r0,2$
        mov #lcd,r1
3$:     clr (r1)+
        cmp r1,#lcdcursor
        blo 3$
        rts pc

; Clears the working state: an empty line, typing inserts, nothing shown, no
; program running.
clearwork:
        mov #line,r1
1$:     clr (r1)+
        cmp r1,#workend
        blo 1$
        movb #-1,recalled
        jmp clearstacks

; The traps: each stops what runs, shows "TRAP" and its vector in octal, as
; PDP-11 manuals number them, then the top level goes on with a fresh stack.
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
        mov r0,-(sp)
        clr r0
        jsr pc,stopped          ; as at the end of a program
        mov #traptext,r1
        mov #outbuf,r2
1$:     movb (r1)+,(r2)+
        bne 1$
        dec r2
        mov (sp)+,r0
        mov r0,r1
        ash #-3,r1              ; the eights
        add #'0',r1
        movb r1,(r2)+
        bic #-8,r0              ; the units
        add #'0',r0
        movb r0,(r2)+
        sub #outbuf,r2
        movb r2,outlen
        clrb outscroll
        clr showline
        clr errline             ; the cursor keys open an empty line
        clr errpos
        clrb line
        clrb fixedlen
        clr listing
        movb #1,showing
        br top

        .include "keyboard.s"
        .include "display.s"
        .include "output.s"
        .include "editor.s"
        .include "tokens.s"
        .include "program.s"
        .include "statements.s"
        .include "expression.s"
        .include "errors.s"
        .include "kept.s"
        .include "halt.s"

bannertext:
        .ascii " VEXAL BASIC"
traptext:
        .asciz "TRAP "
        .even
