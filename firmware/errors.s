        .radix 16
; Errors and the other ways a run stops. An error is a code, an even number
; that indexes the messages; the number module's codes (FEOVERFLOW,
; FEDIVZERO, FEARGUMENT) are among them, so its failures pass straight on.
; Anything that stops a run jumps to error with its code in R0: the stack
; unwinds to the innermost try, which returns with C set and the code.
EEND = 0                        ; the program ended: no message
EOVERFLOW = FEOVERFLOW          ; 2
EDIVZERO = FEDIVZERO            ; 4
EARGUMENT = FEARGUMENT          ; 6
ESYNTAX = 8
ENOLINE = 0A
EMEMORY = 0C
ENOFOR = 0E
ENOGOSUB = 10
EDEEP = 12
ECONT = 14
EDIRECT = 16
ESTOP = 18
EBREAK = 1A
EMEMCLEARED = 1C                ; what power-on found damaged (kept.s)
EVARSCLEARED = 1E

messages:                       ; by code
        .word 0, overflowtext, divbyzerotext, argumenttext, syntaxtext
        .word nolinetext, memorytext, nofortext, nogosubtext, deeptext
        .word canttext, directtext, stoptext, breaktext
        .word memclearedtext, varsclearedtext
overflowtext:
        .asciz "OVERFLOW"
divbyzerotext:
        .asciz "DIV BY ZERO"
argumenttext:
        .asciz "BAD ARGUMENT"
syntaxtext:
        .asciz "SYNTAX ERR"
nolinetext:
        .asciz "NO LINE"
memorytext:
        .asciz "OUT OF MEMORY"
nofortext:
        .asciz "NO FOR"
nogosubtext:
        .asciz "NO GOSUB"
deeptext:
        .asciz "TOO DEEP"
canttext:
        .asciz "CAN'T CONT"
directtext:
        .asciz "DIRECT ERR"
stoptext:
        .asciz "STOP"
breaktext:
        .asciz "BREAK"
memclearedtext:
        .asciz "MEMORY CLEARED"
varsclearedtext:
        .asciz "VARIABLES CLEARED"
        .even

; try: runs the routine at R1, which returns with C clear, so that a run
; stopped inside it comes back here: C clear when the routine returned, C
; set with R0 = the code when it stopped. The routine gets R2 to R5 as they
; are; after a stop they are as the stop left them.
try:    mov errsp,-(sp)
        jsr pc,1$
        mov (sp)+,errsp         ; MOV keeps C
        rts pc
1$:     mov sp,errsp
        jmp (r1)

; error: stops the run with the code in R0, noting where: the line and the
; place in it (R5).
syntaxerror:
        mov #ESYNTAX,r0
error:  mov r5,errpos
        mov curline,errline
        mov errsp,sp
        sec
        rts pc


; stopped: after a run that stopped with the code in R0: the program no
; longer runs; a message shows what stopped it and where, and a STOP or a
; break may go on with CONT. Changes R0 to R4.
stopped:
        mov r0,-(sp)
        bicb #RUN,indicators+1
        jsr pc,putindicators
        mov (sp)+,r0
        clrb cancont
        tst r0
        beq 2$                  ; END: no message
        cmp r0,#ESTOP
        blo 1$
        tst errline             ; a STOP or a break in a program can go on,
        beq 1$                  ; unless it came half-way through a statement
        tst contentry
        beq 1$
        movb #1,cancont
        mov errline,contline
        mov errpos,conttext
1$:     jsr pc,showmessage
        rts pc
2$:     tstb showing            ; the program's last output stays, if it was
        bne 3$                  ; shown; else an empty line
        tst listing
        bne 3$
        jmp clearline
3$:     rts pc

; showmessage: shows the message of code R0, and the number of the line
; where it stopped after it and on the digits. Changes R0 to R4.
showmessage:
        mov messages(r0),r1
        mov #outbuf,r2
1$:     movb (r1)+,(r2)+
        bne 1$
        dec r2
        clr showline
        mov errline,r1
        beq 2$
        mov (r1),r0
        mov r0,showline
        movb #' ',(r2)+
        jsr pc,putdecimal
2$:     sub #outbuf,r2
        movb r2,outlen
        clrb outscroll
        movb #1,showing
        rts pc

; putdecimal: writes R0 (0 to 65535) in decimal at R2, moving R2 past it.
; Changes R0, R1.
putdecimal:
        mov r0,r1
        clr -(sp)               ; the digits, lowest first, on the stack
1$:     clr r0
        div #10.,r0
        add #'0',r1
        mov r1,-(sp)
        mov r0,r1
        bne 1$
2$:     mov (sp)+,r0
        beq 3$
        movb r0,(r2)+
        br 2$
3$:     rts pc
