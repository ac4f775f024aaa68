        .radix 16
; The keyboard: the key matrix scanned with debouncing, the shift key,
; auto-repeat of a held key, and sleep while no key is held. There is no
; timer: every wait is a count of key scans, and a scan takes the same
; number of steps whichever key is held, about 13 ms in fast mode with a
; key held and 5 without one. The repeat counts were measured with the
; display's redraw after each key, so that a held key repeats after half
; a second and then ten times a second.
SCANGAP = 50.                   ; steps between the scans that must agree
REPEATDELAY = 37.               ; scans before a held key first repeats
REPEATRATE = 5                  ; scans between repeats
AWAKESCANS = 50.                ; scans without a key before sleeping

; getkey: waits for a key and gives its code in R0: when it goes down, and,
; while it stays down, after half a second and then ten times a second
; (INS, AC, EXE and the shift key do not repeat). After the shift key the
; next key gives its second code (its first, if it has none); the S
; indicator shows while shift is pending, and the shift key again cancels
; it. While no key is held the processor sleeps, the kept data sealed first;
; a held key wakes it, and it stays awake a while after, so that the halt
; key, which the matrix does not show, finds it running when the mouse lets
; go. Changes R0 to R4.
getkey: inc keyscans
        jsr pc,scankey
        cmp r0,heldkey
        beq samekey
        mov #AWAKESCANS,awakefor ; awake a while after every change
        mov r0,heldkey          ; pressed, released or another key
        beq getkey
        mov #REPEATDELAY,repeatin
        movb shifted,heldshift
        jsr pc,codeof
        cmp r0,#KSHIFT
        beq shiftkey
        tstb shifted
        beq 1$
        jsr pc,unshift
1$:     tst r0
        beq getkey              ; a key without a meaning
        rts pc
samekey:
        tst r0
        beq nokey
        dec repeatin
        bne getkey
        mov #REPEATRATE,repeatin
        jsr pc,codeof
        cmp r0,#KMODE
        bhis getkey
        tst r0
        beq getkey
        rts pc
shiftkey:
        tstb shifted
        bne 1$
        movb #1,shifted
        bisb #SHIFT,indicators
        jsr pc,putindicators
        br getkey
1$:     jsr pc,unshift
        br getkey
nokey:  tst awakefor
        beq sleep
        dec awakefor
        br getkey
sleep:  jsr pc,sealchanged      ; RAM as the emulator may save it
        clr @#ctrl              ; stops here until a key is held
        mov #WORKING,@#ctrl
        mov #AWAKESCANS,awakefor
        br getkey

; unshift: shift is no longer pending. Changes R1, R2.
unshift:
        clrb shifted
        bicb #SHIFT,indicators
        mov r0,-(sp)
        jsr pc,putindicators
        mov (sp)+,r0
        rts pc

; codeof: R0 = the code of the held key, through the second table if it
; went down after the shift key.
codeof: mov heldkey,r1
        tstb heldshift
        beq 1$
        movb shiftcodes(r1),r0
        bne 2$
1$:     movb keycodes(r1),r0
2$:     bic #0FF00,r0           ; MOVB extended the sign of codes 80 and up
        rts pc

; scankey: the key index held (0 for none), once three scans about 2 ms
; apart agree. Changes R0 to R4.
scankey:
        jsr pc,rawscan
1$:     mov r0,r4               ; the candidate
        mov #2,r3
2$:     mov #SCANGAP,r0
3$:     sob r0,3$
        jsr pc,rawscan
        cmp r0,r4
        bne 1$
        sob r3,2$
        tst r4
        beq 6$
        mov #keymatrix,r1       ; which key answers so: every entry is
        mov #57.,r3             ; looked at, so that the scan takes as long
        clr r0                  ; for every key
4$:     cmp r4,(r1)+
        bne 5$
        mov r1,r0
5$:     sob r3,4$
        tst r0
        beq 6$                  ; a code that no key gives
        sub #keymatrix+2,r0
        asr r0
6$:     rts pc

; rawscan: one scan of the matrix; R0 = the column bit of the answering key
; moved up eight places, ORed with its return lines (bits 2 to 8), or 0 for
; none. Leaves all three columns selected, so that the next scan, and the
; interpreter's look between statements, see any key at once (and the halt
; key, released with the mouse, finds column 2 selected). Changes R0 and R2.
rawscan:
        mov #ALLCOLUMNS,@#keyout
        mov @#keyin,r0
        beq rawdone             ; no key at all: the usual case
        mov #2,r2
rawcolumn:
        mov r2,@#keyout
        mov @#keyin,r0
        bne rawfound
        asl r2
        cmp r2,#10
        blo rawcolumn
        br rawdone              ; let go meanwhile
rawfound:
        swab r2
        bis r2,r0
rawdone:
        mov #ALLCOLUMNS,@#keyout
        rts pc

; The key matrix as rawscan reports each key index (in decimal here): the
; column bit moved up eight places, ORed with the two return lines. Keys 0,
; 1 and 39 never answer.
keymatrix:
        .word 0000, 0000, 040C, 0414, 0418, 0424, 0428, 0844    ; keys 0-7
        .word 080C, 0818, 0890, 08A0, 0430, 0444, 0448, 0450    ; keys 8-15
        .word 0460, 0888, 0814, 0850, 0824, 0828, 0484, 0488    ; keys 16-23
        .word 0490, 04A0, 04C0, 0830, 0848, 0884, 08C0, 0860    ; keys 24-31
        .word 0508, 0504, 0510, 0520, 0540, 020C, 0214, 0000    ; keys 32-39
        .word 0224, 0228, 0230, 0244, 0248, 0250, 0260, 0284    ; keys 40-47
        .word 0288, 0290, 02A0, 02C0, 0304, 0308, 0310, 0320    ; keys 48-55
        .word 0218                                              ; key 56
