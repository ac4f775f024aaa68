        .radix 16
; What the machine keeps in RAM between sessions (ram.s): ANS, the random
; seed, the history and the variables under one check, the program under
; another, each a CRC-16, which sees every change of up to 16 bits in a row
; and all but one in 65,536 of the others, two words swapped among them,
; where a sum of words sees no swap and takes 0000 for FFFF. The emulator saves the RAM when it closes; at power-on
; the signature, the checks and the shape of the data tell our own image
; from an empty one, a damaged one or one left by another program. Whatever
; RAM holds, what is kept afterwards is whole and in the forms the rest of
; the firmware makes: every line follows the rules of program.s, every number
; is in the one form of float.s, the history holds characters a key types.
; So the routines that use them need no checks of their own. A program whose
; lines break the rules is cleared with everything else, damaged numbers or
; history alone; either is said at power-on.

; checkkept: keeps what is ours and whole, and clears the rest; an image of
; version 1, under its end-around-carry sums, is taken and sealed anew. R0 =
; the code of the message that says what was cleared, 0 when nothing was or
; the RAM was empty, as at a first start.
checkkept:
        mov signature,r0
        bis signature+2,r0
        beq startafresh         ; never written
        cmp signature,ourmark
        bne memorycleared
        mov #crc,-(sp)
        cmp signature+2,ourmark+2
        beq 1$
        mov #onessum,(sp)
        cmp signature+2,oldmark
        bne 3$
1$:     jsr pc,programrange
        mov (sp),r4
        jsr pc,(r4)
        cmp r0,progsum
        bne 3$
        jsr pc,keptrange
        mov (sp),r4
        jsr pc,(r4)
        sub keptsum,r0          ; 0 when the numbers' check agrees
        mov r0,(sp)
        jsr pc,checkprogram
        bcs 3$
        cmp signature+2,ourmark+2
        beq 4$
        mov ourmark+2,signature+2 ; version 1's, converted
        jsr pc,sealprogram
4$:     tst (sp)+
        bne varscleared
        jsr pc,checknumbers
        bcs varscleared
        jsr pc,checkhistory
        bcs varscleared
        jsr pc,sealkept
        clr r0
        rts pc
3$:     tst (sp)+
memorycleared:
        mov #EMEMCLEARED,-(sp)
        br clearall
startafresh:
        clr -(sp)
clearall:
        mov ourmark,signature
        mov ourmark+2,signature+2
        mov #program,progend
        jsr pc,sealprogram
        br clearnumbers
varscleared:
        mov #EVARSCLEARED,-(sp)
clearnumbers:
        mov #answer,r1
1$:     clr (r1)+
        cmp r1,#varsend
        blo 1$
        jsr pc,sealkept
        mov (sp)+,r0
        rts pc
ourmark:
        .ascii "VXB2"
oldmark:
        .ascii "B1"             ; version 1's "VXB1" differs in its end

; checkprogram: C clear when the lines from program to progend follow the
; rules of program.s: numbers 1 to 9999 rising, even lengths that fit a
; line, characters 20 to 5F and tokens up to the zero byte that ends them.
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
        movb (r4)+,r2
        beq 3$
        cmpb r2,#TLASTLATER
        bhi 9$                  ; above the last token
        cmpb r2,#TPRINT
        bhis 2$
        cmpb r2,#'_'
        bhi 9$
        cmpb r2,#' '
        blo 9$                  ; a control byte
        br 2$
3$:     mov r1,r2               ; it ends the line, or a spare byte follows
        sub r4,r2
        cmp r2,#1
        bhi 9$
        br 1$
8$:     clc
        rts pc
9$:     sec
        rts pc

; checknumbers: C clear when ANS and the variables are numbers in their one
; form. The random seed needs none: RND folds whatever it holds.
checknumbers:
        mov #answer,r0
        jsr pc,fcheck
        bcs 2$
        mov #vars,r0
1$:     mov r0,-(sp)
        jsr pc,fcheck
        mov (sp)+,r0
        bcs 2$
        add #FSIZE,r0
        cmp r0,#varsend
        blo 1$
2$:     rts pc

; checkhistory: C clear when the history's lines fill histbytes exactly and
; hold only the characters a key types, 20 to 5F.
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
        add r1,r0               ; the line's end
        cmp r0,r2
        bhi 9$
2$:     cmp r1,r0
        beq 1$
        movb (r1)+,r3
        cmpb r3,#' '
        blt 9$
        cmpb r3,#'_'
        bgt 9$
        br 2$
9$:     sec
        rts pc
8$:     clc
        rts pc

; sealchanged: RAM as the emulator may save it: the numbers and the
; history sealed while a line runs and once after, as only a line run
; changes them, and the program, by sealnewlines, if it changed. sealkept
; seals the numbers and the history, sealprogram the program. Change R0 to
; R3.
KEPTRAN = 1                     ; keptchanged: a line ran since the last seal
KEPTRUNNING = 2                 ; a line runs: sealed at every sleep
sealchanged:
        tstb keptchanged
        beq sealnewlines
        cmpb keptchanged,#KEPTRUNNING
        beq 1$
        clrb keptchanged
1$:     jsr pc,sealkept
sealnewlines:
        tstb progchanged
        beq 2$
        clrb progchanged
        br sealprogram
2$:     rts pc
sealkept:
        jsr pc,keptrange
        jsr pc,crc
        mov r0,keptsum
        rts pc
sealprogram:
        jsr pc,programrange
        jsr pc,crc
        mov r0,progsum
        rts pc

; keptrange, programrange: R1 -> the first byte a check covers, R2 -> past
; its last: from ANS to the variables' end; from progend to the program's
; end, never past its room, whatever progend holds.
keptrange:
        mov #answer,r1
        mov #varsend,r2
        rts pc
programrange:
        mov #progend,r1
        mov progend,r2
        cmp r2,#progtop
        blos 1$
        mov #progtop,r2
1$:     rts pc

; crc: R0 = the CRC-16 of the bytes from R1 to R2, by the polynomial
; x^16 + x^12 + x^5 + 1 (1021), the top bit first, from FFFF, a byte a step
; through crctable. Changes R1, R3.
crc:    mov #-1,r0
1$:     cmp r1,r2
        bhis 2$
        movb (r1)+,r3
        swab r0                 ; the top byte down, the low one up
        xor r0,r3
        bic #0FF00,r3
        asl r3
        clrb r0
        mov crctable(r3),r3
        xor r3,r0
        br 1$
2$:     rts pc

; onessum: R0 = the end-around-carry sum of the words from R1 to R2, the
; check of version 1's images. Changes R1.
onessum:
        clr r0
1$:     cmp r1,r2
        bhis 2$
        add (r1)+,r0
        adc r0
        br 1$
2$:     rts pc

; crctable: entry n is the CRC step of the byte n with a check of 0: n
; shifted into the top byte, then eight times shifted up one bit, 1021
; added (XOR) whenever a 1 leaves the top.
crctable:
        .word 0, 1021, 2042, 3063, 4084, 50A5, 60C6, 70E7
        .word 8108, 9129, 0A14A, 0B16B, 0C18C, 0D1AD, 0E1CE, 0F1EF
        .word 1231, 210, 3273, 2252, 52B5, 4294, 72F7, 62D6
        .word 9339, 8318, 0B37B, 0A35A, 0D3BD, 0C39C, 0F3FF, 0E3DE
        .word 2462, 3443, 420, 1401, 64E6, 74C7, 44A4, 5485
        .word 0A56A, 0B54B, 8528, 9509, 0E5EE, 0F5CF, 0C5AC, 0D58D
        .word 3653, 2672, 1611, 630, 76D7, 66F6, 5695, 46B4
        .word 0B75B, 0A77A, 9719, 8738, 0F7DF, 0E7FE, 0D79D, 0C7BC
        .word 48C4, 58E5, 6886, 78A7, 840, 1861, 2802, 3823
        .word 0C9CC, 0D9ED, 0E98E, 0F9AF, 8948, 9969, 0A90A, 0B92B
        .word 5AF5, 4AD4, 7AB7, 6A96, 1A71, 0A50, 3A33, 2A12
        .word 0DBFD, 0CBDC, 0FBBF, 0EB9E, 9B79, 8B58, 0BB3B, 0AB1A
        .word 6CA6, 7C87, 4CE4, 5CC5, 2C22, 3C03, 0C60, 1C41
        .word 0EDAE, 0FD8F, 0CDEC, 0DDCD, 0AD2A, 0BD0B, 8D68, 9D49
        .word 7E97, 6EB6, 5ED5, 4EF4, 3E13, 2E32, 1E51, 0E70
        .word 0FF9F, 0EFBE, 0DFDD, 0CFFC, 0BF1B, 0AF3A, 9F59, 8F78
        .word 9188, 81A9, 0B1CA, 0A1EB, 0D10C, 0C12D, 0F14E, 0E16F
        .word 1080, 0A1, 30C2, 20E3, 5004, 4025, 7046, 6067
        .word 83B9, 9398, 0A3FB, 0B3DA, 0C33D, 0D31C, 0E37F, 0F35E
        .word 2B1, 1290, 22F3, 32D2, 4235, 5214, 6277, 7256
        .word 0B5EA, 0A5CB, 95A8, 8589, 0F56E, 0E54F, 0D52C, 0C50D
        .word 34E2, 24C3, 14A0, 481, 7466, 6447, 5424, 4405
        .word 0A7DB, 0B7FA, 8799, 97B8, 0E75F, 0F77E, 0C71D, 0D73C
        .word 26D3, 36F2, 691, 16B0, 6657, 7676, 4615, 5634
        .word 0D94C, 0C96D, 0F90E, 0E92F, 99C8, 89E9, 0B98A, 0A9AB
        .word 5844, 4865, 7806, 6827, 18C0, 8E1, 3882, 28A3
        .word 0CB7D, 0DB5C, 0EB3F, 0FB1E, 8BF9, 9BD8, 0ABBB, 0BB9A
        .word 4A75, 5A54, 6A37, 7A16, 0AF1, 1AD0, 2AB3, 3A92
        .word 0FD2E, 0ED0F, 0DD6C, 0CD4D, 0BDAA, 0AD8B, 9DE8, 8DC9
        .word 7C26, 6C07, 5C64, 4C45, 3CA2, 2C83, 1CE0, 0CC1
        .word 0EF1F, 0FF3E, 0CF5D, 0DF7C, 0AF9B, 0BFBA, 8FD9, 9FF8
        .word 6E17, 7E36, 4E55, 5E74, 2E93, 3EB2, 0ED1, 1EF0
