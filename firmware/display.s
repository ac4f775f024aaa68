        .radix 16
; The display: characters in the twelve dot-matrix cells, the indicators, and
; numbers on the four seven-segment digits. The display memory cannot be read
; back, so the bytes that hold indicator and segment bits are kept in RAM
; (indicators) and written out whole. The indicators used, as bits of those
; copies:
SHIFT = 2                       ; indicators+0: S, the shift key was pressed
RUN = 1                         ; indicators+1: a program runs
WRT = 2                         ; indicators+1: typing overwrites
STOP = 8                        ; indicators+0B: halt mode

; draw: shows the R4 characters at R3 (R4 from 0 to CELLS), blanks after
; them. Characters 20 to 5F have a glyph, anything else shows as a blank.
; Changes R0 to R4.
draw:   mov #lcd+1,r2
        mov #CELLS,r1
1$:     mov #' ',r0
        dec r4
        bmi 2$
        movb (r3)+,r0
2$:     sub #' ',r0
        cmp r0,#40              ; the font's 64 characters from the blank
        blo 3$
        clr r0
3$:     mov r0,-(sp)            ; seven rows a glyph
        asl r0
        asl r0
        asl r0
        sub (sp)+,r0
        add #font,r0
        movb (r0)+,(r2)+
        movb (r0)+,(r2)+
        movb (r0)+,(r2)+
        movb (r0)+,(r2)+
        movb (r0)+,(r2)+
        movb (r0)+,(r2)+
        movb (r0)+,(r2)+
        inc r2                  ; over the next cell's indicator byte
        sob r1,1$
        rts pc

; putindicators: writes the twelve indicator and segment bytes. Changes R0
; to R2.
putindicators:
        mov #indicators,r0
        mov #lcd,r1
        mov #CELLS,r2
putone: movb (r0)+,(r1)
        add #8,r1
        sob r2,putone
        rts pc

; digits: shows R1, 0 to 9999, on the seven-segment digits without leading
; zeros, or nothing when R1 is negative. Segment 7d+s of digit d (0 the
; leftmost) is bit (7d+s) mod 5 of byte 6 + (7d+s) div 5 of indicators, so
; the 28 segment bits are gathered in R2:R3 and handed out five at a time.
; Changes R0 to R4.
digits: clr r2
        clr r3
        mov #4,r4               ; the units first: they end up leftmost in
nextdigit:                      ; R2:R3, that is in the highest bits
        ashc #7,r2
        tst r1
        bmi blankdigit
        clr r0
        div #10.,r0
        movb segments(r1),r1
        bis r1,r3
        mov r0,r1
        bne blankdigit
        mov #-1,r1              ; nothing left: blanks further left
blankdigit:
        sob r4,nextdigit
segmentbits:                    ; R2:R3 to the digits
        mov #indicators+6,r0
        mov #5,r4
fivebits:
        bicb #1F,(r0)
        mov r3,r1
        bic #-20,r1
        bisb r1,(r0)+
        ashc #-5,r2
        sob r4,fivebits
        bicb #7,(r0)            ; the last three share their byte with STOP
        bisb r3,(r0)
        br putindicators

; showfull: "FULL" on the digits, for a line that has refused a key: the
; segments of F, U, L and L (47, 3D, 0D and 0D), seven bits each from the
; leftmost digit's at bit 0. Changes R0 to R4.
showfull:
        mov #01A3,r2
        mov #5EC7,r3
        br segmentbits

; The segments of each decimal digit: bit 0 upper left, 1 middle, 2 lower
; left, 3 bottom, 4 lower right, 5 upper right, 6 top.
segments:
        .byte 7D, 30, 6E, 7A, 33, 5B, 5F, 70, 7F, 7B
        .even

