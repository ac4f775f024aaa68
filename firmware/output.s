        .radix 16
; The output line: what PRINT, a value or a message shows instead of the
; line being edited, up to OUTMAX characters in outbuf. The twelve cells
; show it from outscroll; ◄ and ► scroll a longer one.

; showwait: shows the output and waits for EXE, as a program's PRINT does;
; then the output is empty again. ◄ and ► scroll it; AC breaks the run, so
; that CONT goes on at R1, a point of the statement loop, with R5 as it is.
; The digits show the number of the line running. Keeps R5; changes R0 to R4.
showwait:
        mov r1,-(sp)
        clrb outscroll
        movb #1,showing
        clr showline
        mov curline,r0
        beq 1$
        mov (r0),showline
1$:     jsr pc,redraw
        jsr pc,getkey
        cmp r0,#KEXECUTE
        beq 3$
        cmp r0,#KCLEAR
        beq 4$
        cmp r0,#KLEFT
        bne 2$
        jsr pc,scrollleft
        br 1$
2$:     cmp r0,#KRIGHT
        bne 1$
        jsr pc,scrollright
        br 1$
3$:     tst (sp)+
        clrb showing
        clrb outlen
        rts pc
4$:     mov (sp)+,contentry
        mov #EBREAK,r0
        jmp error

; scrollleft, scrollright: move the output one character, if more of it
; lies that way: Z clear when they did.
scrollleft:
        tstb outscroll
        beq 1$
        decb outscroll
        clear z
1$:     rts pc
scrollright:
        movb outscroll,r1
        add #CELLS,r1
        cmpb r1,outlen
        bhis 1$
        incb outscroll
        clear z
        rts pc
1$:     set z
        rts pc

; showvalue: shows the number at R0 right-aligned, as the calculator shows
; a result. Changes R0 to R4.
showvalue:
        sub #16.,sp             ; room for its text
        mov sp,r1
        jsr pc,fformat
        mov r1,r3               ; the end of the text
        mov #outbuf+CELLS,r2
        mov #CELLS,r4
1$:     cmp r3,sp
        beq 2$
        movb -(r3),-(r2)
        dec r4
        bne 1$
2$:     tst r4                  ; blanks before it
        beq 3$
        movb #' ',-(r2)
        dec r4
        br 2$
3$:     add #16.,sp
        movb #CELLS,outlen
; showoutput: shows the output from its start, without a line number,
; until a key.
showoutput:
        clrb outscroll
        clr showline
        movb #1,showing
        rts pc
