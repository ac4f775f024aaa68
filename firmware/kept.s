        .radix 16
; What the machine keeps in RAM between sessions: the last result and the
; last four lines evaluated. The emulator saves the RAM when it closes; at
; power-on the signature, the checksum and the lengths tell our own image
; from an empty one or one left by another program, which is cleared.

; checkkept: keeps the kept data if it is ours and whole, else clears it.
checkkept:
        cmp signature,ourmark
        bne startafresh
        cmp signature+2,ourmark+2
        bne startafresh
        jsr pc,sumkept
        cmp r0,checksum
        bne startafresh
        cmpb keptlines,#HISTORYLINES
        bhi startafresh
        mov #history,r1
lengthcheck:
        cmpb (r1),#LINEMAX
        bhi startafresh
        add #KEPTLINE,r1
        cmp r1,#keptend
        blo lengthcheck
        rts pc
startafresh:
        mov #signature,r1
clearkept:
        clr (r1)+
        cmp r1,#keptend
        blo clearkept
        mov ourmark,signature
        mov ourmark+2,signature+2
        br sealkept
ourmark:
        .ascii "VXC1"

; keepline: puts the line in front of the history, the oldest line falling
; out. Changes R1 to R3.
keepline:
        mov #keptend,r1
        mov #keptend-KEPTLINE,r2
        mov #keptend-KEPTLINE-history,r3
        asr r3                  ; the words of the lines that move up by one
moveup: mov -(r2),-(r1)
        sob r3,moveup
        mov #history,r1
        movb linelen,r3
        movb r3,(r1)+
        mov #line,r2
copyin: movb (r2)+,(r1)+
        sob r3,copyin
        cmpb keptlines,#HISTORYLINES
        bhis kepthistory
        incb keptlines
kepthistory:
        rts pc

; sealkept: stores the checksum of the kept data. Changes R0 and R1.
sealkept:
        jsr pc,sumkept
        mov r0,checksum
        rts pc

; sumkept: R0 = the end-around-carry sum of the kept words after the
; checksum. Changes R1.
sumkept:
        mov #answer,r1
        clr r0
addkept:
        add (r1)+,r0
        adc r0
        cmp r1,#keptend
        blo addkept
        rts pc
