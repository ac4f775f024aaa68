        .radix 16
; The keyboard: the key matrix scanned with debouncing, auto-repeat of a held
; key, and sleep while no key is held. There is no timer: every wait is a
; count of key scans, a scan taking about 5 ms in fast mode, 10 with a key
; held.
SCANGAP = 50.                   ; steps between the scans that must agree
REPEATDELAY = 50.               ; scans before a held key first repeats
REPEATRATE = 10.                ; scans between repeats
AWAKESCANS = 50.                ; scans without a key before sleeping

; getkey: waits for a key and gives its code in R0: when it goes down, and,
; while it stays down, after half a second and then ten times a second (INS,
; AC and EXE do not repeat). While no key is held the processor sleeps; a
; held key wakes it, and it stays awake a while after, so that the halt key,
; which the matrix does not show, finds it running when the mouse lets go.
getkey: jsr pc,scankey
        cmp r0,heldkey
        beq samekey
        mov #AWAKESCANS,awakefor ; awake a while after every change
        mov r0,heldkey          ; pressed, released or another key
        beq getkey
        mov #REPEATDELAY,repeatin
        br keycode
samekey:
        tst r0
        beq nokey
        dec repeatin
        bne getkey
        mov #REPEATRATE,repeatin
        movb keycodes(r0),r0
        cmpb r0,#KMODE
        bhis getkey
        br havecode
keycode:
        movb keycodes(r0),r0
havecode:
        bic #0FF00,r0           ; MOVB extended the sign of codes 80 and up
        beq getkey              ; a key without a meaning
        rts pc
nokey:  tst awakefor
        beq sleep
        dec awakefor
        br getkey
sleep:  bicb #RUN,indicators+1
        jsr pc,putindicators
        clr @#ctrl              ; stops here until a key is held
        mov #WORKING,@#ctrl
        bisb #RUN,indicators+1
        jsr pc,putindicators
        mov #AWAKESCANS,awakefor
        br getkey

; scankey: the key index held (0 for none), once three scans about 2 ms
; apart agree. Changes R0 to R5.
scankey:
        jsr pc,rawscan
stablefrom:
        mov r0,r4               ; the candidate
        mov #2,r5
stablewait:
        mov #SCANGAP,r0
gapwait:
        sob r0,gapwait
        jsr pc,rawscan
        cmp r0,r4
        bne stablefrom
        sob r5,stablewait
        tst r4
        beq scanned
        mov #keymatrix,r1       ; which key answers so
        mov #57.,r3             ; every key index
keysearch:
        cmp r4,(r1)+
        beq keyfound
        sob r3,keysearch
        clr r0                  ; a code that no key gives
        br scanned
keyfound:
        sub #keymatrix+2,r1
        asr r1
        mov r1,r0
scanned:
        rts pc

; rawscan: one scan of the matrix; R0 = the column bit of the answering key
; moved up eight places, ORed with its return lines (bits 2 to 8), or 0 for
; none. Leaves all three columns selected, so that the next scan sees any
; key at once (and the halt key, released with the mouse, finds column 2
; selected). Changes R0 and R2.
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
