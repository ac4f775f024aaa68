        .radix 16
; What the machine keeps in RAM between sessions (ram.s): ANS, the random
; seed, the history and the variables under one checksum, the program under
; another. The emulator saves the RAM when it closes; at power-on the
; signature, the checksums and the shape of the data tell our own image from
; an empty one, a damaged one or one left by another program. Whatever RAM
; holds, what is kept afterwards is whole: a program whose lines do not
; follow the rules is cleared with everything else, and damaged variables or
; history are cleared alone.

; checkkept: keeps what is ours and whole, and clears the rest.
checkkept:
        cmp signature,ourmark
        bne startafresh
        cmp signature+2,ourmark+2
        bne startafresh
        jsr pc,sumprogram
        cmp r0,progsum
        bne startafresh
        jsr pc,checkprogram
        bcs startafresh
        jsr pc,sumkept
        cmp r0,keptsum
        bne freshnumbers
        jsr pc,checkhistory
        bcs freshnumbers
        rts pc
startafresh:
        mov ourmark,signature
        mov ourmark+2,signature+2
        mov #program,progend
        jsr pc,sealprogram
freshnumbers:
        mov #answer,r1
1$:     clr (r1)+
        cmp r1,#varsend
        blo 1$
        br sealkept
ourmark:
        .ascii "VXB1"

; checkprogram: C clear when the lines from program to progend follow the
; rules of program.s: numbers 1 to 9999 rising, even lengths that fit a
; line, tokens without a zero byte before the one that ends them.
checkprogram:
        mov progend,r3
        bit #1,r3
        bne 9$
        cmp r3,#program
        blo 9$
        cmp r3,#progtop
        bhi 9$
        mov #program,r1
        clr r0                  ; the number before
1$:     cmp r1,r3
        beq 8$
        cmp (r1),r0
        blos 9$
        mov (r1),r0
        cmp r0,#MAXLINENUMBER
        bhi 9$
        movb LINESIZE(r1),r2
        bic #0FF00,r2
        bit #1,r2
        bne 9$
        cmp r2,#LINEHEAD+2      ; at least one token and the zero byte
        blo 9$
        cmp r2,#LINEHEAD+LINEMAX+2
        bhi 9$
        mov r1,r4               ; the line
        add r2,r1               ; the next
        cmp r1,r3
        bhi 9$                  ; past progend
        add #LINEHEAD,r4
2$:     cmp r4,r1
        bhis 9$                 ; no zero byte in the line
        tstb (r4)+
        bne 2$
        mov r1,r2               ; it ends the line, or a spare byte follows
        sub r4,r2
        cmp r2,#1
        bhi 9$
        br 1$
8$:     clc
        rts pc
9$:     sec
        rts pc

; checkhistory: C clear when the history's lines fill histbytes exactly.
checkhistory:
        movb histbytes,r2
        bic #0FF00,r2
        cmp r2,#HISTMAX
        bhi 9$
        mov #history,r1
        add r1,r2
1$:     cmp r1,r2
        beq 8$
        movb (r1)+,r0
        bic #0FF00,r0
        cmp r0,#LINEMAX
        bhi 9$
        add r0,r1
        cmp r1,r2
        blos 1$
9$:     sec
        rts pc
8$:     clc
        rts pc

; sealkept: stores the checksum of the numbers and the history. Changes R0
; and R1.
sealkept:
        jsr pc,sumkept
        mov r0,keptsum
        rts pc

; sealprogram: stores the checksum of the program. Changes R0 and R1.
sealprogram:
        jsr pc,sumprogram
        mov r0,progsum
        rts pc

; sumkept, sumprogram: R0 = the end-around-carry sum of the words they
; cover. Change R1.
sumkept:
        mov #answer,r1
        mov #varsend,-(sp)
        br sumwords
sumprogram:
        mov #progend,r1
        mov progend,-(sp)
        cmp (sp),#progtop       ; never past the program's room, whatever
        blos sumwords           ; progend holds
        mov #progtop,(sp)
sumwords:
        clr r0
1$:     cmp r1,(sp)
        bhis 2$
        add (r1)+,r0
        adc r0
        br 1$
2$:     tst (sp)+
        rts pc
