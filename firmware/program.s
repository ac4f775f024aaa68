        .radix 16
; The program store: the lines from program up to progend, in the order of
; their numbers (1 to 9999), one after another with nothing between:
;   +0  the line number, a word
;   +2  the length of the whole line in bytes, even (LINEHEAD + tokens + 1,
;       rounded up)
;   +3  the tokens (tokens.s), then a zero byte, then a spare one if the
;       length needs it
; so that a line is found by adding lengths, a GOTO costs a few instructions
; a line, and lines move as words when one is put in or taken out.
LINEHEAD = 3
LINESIZE = 2                    ; the offset of the length byte
MAXLINENUMBER = 9999.

; findline: R1 -> the first line whose number is R0 or more, or progend
; when there is none; the search starts at the line R1 points to. Changes R2.
findfirst:
        mov #program,r1
findline:
        cmp r1,progend
        bhis 1$
        cmp (r1),r0
        bhis 1$
        movb LINESIZE(r1),r2
        bic #0FF00,r2
        add r2,r1
        br findline
1$:     rts pc

; nextline: R1 -> the line after the one at R1, or progend. Changes R2.
nextline:
        movb LINESIZE(r1),r2
        bic #0FF00,r2
        add r2,r1
        rts pc

; storeline: puts the tokens at R1 into the program as line R0, in the
; place of a line with that number. C set with R0 = EMEMORY when the new
; line does not fit, the program unchanged. Changes R0 to R4.
storeline:
        mov r5,-(sp)
        mov r0,r5               ; the number
        mov r1,r3
1$:     tstb (r3)+
        bne 1$
        sub r1,r3               ; the tokens and their zero byte
        add #LINEHEAD+1,r3      ; the new line's length, even
        bic #1,r3
        mov r1,-(sp)            ; the tokens
        mov r3,-(sp)            ; the new length
        mov r5,r0
        jsr pc,findfirst
        clr r4                  ; the old line's length, if there is one
        cmp r1,progend
        bhis 5$
        cmp (r1),r5
        bne 5$
        movb LINESIZE(r1),r4
        bic #0FF00,r4
5$:     mov progend,r2          ; it must fit: progend - old + new <= progtop
        sub r4,r2
        add (sp),r2
        cmp r2,#progtop
        blos 6$
        cmp (sp)+,(sp)+
        mov (sp)+,r5
        mov #EMEMORY,r0
        sec
        rts pc
6$:     tst r4                  ; take the old line out
        beq 7$
        mov r1,r2
        add r4,r2
        jsr pc,takeout
7$:     mov (sp)+,r4            ; the new length
        mov (sp)+,r2            ; the tokens
        mov progend,r3          ; make room, from the top down
        add r4,progend
        mov progend,r0
9$:     cmp r3,r1
        blos 10$
        mov -(r3),-(r0)
        br 9$
10$:    mov r5,(r1)+            ; the number, the length, the tokens and
        movb r4,(r1)+           ; their zero byte
12$:    movb (r2)+,(r1)+
        bne 12$
        jsr pc,programchanged
        mov (sp)+,r5
        clc
        rts pc

; takeout: takes the lines from R1 up to R2 out of the program, the lines
; after them moving down. Keeps R1; changes R2, R3.
takeout:
        mov r1,r3
1$:     cmp r2,progend
        bhis 2$
        mov (r2)+,(r3)+
        br 1$
2$:     mov r3,progend
        rts pc

; programchanged: what a change of the program means: the open FOR loops
; and GOSUBs, and CONT, point into it no longer; it is sealed before the
; processor sleeps or a run starts (kept.s).
programchanged:
        clrb cancont
        movb #1,progchanged
        jmp clearstacks

; newprogram: an empty program, variables 0.
newprogram:
        mov #program,progend
        mov #vars,r0
1$:     clr (r0)+
        cmp r0,#varsend
        blo 1$
        br programchanged

; linenumber: reads digits at R5: C clear with R0 = their number and R5
; past them; C set when no digit stands there (R5 unchanged). A number above
; 9999 reads as 10000, which no line has. Changes R1 to R3.
linenumber:
        mov r5,r1
        clr r0
1$:     movb (r1),r2
        sub #'0',r2
        cmp r2,#9
        bhi 3$                  ; no digit (a token is none either)
        inc r1
        cmp r0,#999.
        bhi 2$                  ; one digit more makes it too large
        asl r0                  ; R0 * 10 + the digit
        mov r0,r3
        asl r0
        asl r0
        add r3,r0
        add r2,r0
        br 1$
2$:     mov #MAXLINENUMBER+1,r0
        br 1$
3$:     cmp r1,r5
        beq 4$
        mov r1,r5
        clc
        rts pc
4$:     sec
        rts pc
