        .radix 16
; The numbers of our BASIC: decimal floating point.
;
; A number is eight bytes, four words:
;   word 0  the sign in bit 15, the exponent plus EBIAS in bits 0 to 14;
;   words 1 to 3  the coefficient, twelve decimal digits as three limbs of
;           four digits each (0 to 9999), the most significant first.
; The value is coefficient x 10^exponent. Eight zero bytes are 0, the only
; form of 0. Limbs of 10000 make a decimal shift by four digits a move of
; words, and MUL and DIV turn a limb into digits and back; a whole limb fits
; in a word, so adding needs no digit loops.
;
; Every number has one form: an integer below 10^12 has the exponent 0
; (the coefficient is the integer itself, so counting and adding whole
; numbers stays in the fast paths); other numbers take the exponent nearest
; 0: a fraction has no trailing zeros, a larger integer a full twelve-digit
; coefficient. So two numbers are equal exactly when their bytes are.
;
; Twelve digits are kept and ten are shown: the two guard digits let
; 1/3*3 show as 1. Sums, differences, products, quotients, square roots and
; numbers read from text are the exact results rounded to twelve digits, to
; nearest, ties away from zero: 0.1+0.2 is 0.3 exactly. The logarithms,
; e^x and the circular functions come within a few units of the twelfth. The magnitudes run from 1E-99 to
; just below 9.9999999995E99, which still shows with ten digits; a result
; below 1E-99 becomes 0, one above the largest is FEOVERFLOW.
;
; Calls: R0 -> x, R1 -> y or another argument. Each routine preserves R2 to
; R5, may change R0 and R1 and returns C clear, or C set and an error code in
; R0. It uses at most 120 bytes of stack and nothing else but rndseed.
;
; Inside, an arithmetic result is built in a work record on the stack, a
; sign, an exponent and six limbs (24 digits), and numpack rounds it into a
; number. A work record (R4 -> it):
RSIGN = 0                       ; 0 or 8000
REXP = 2                        ; the exponent of the last limb's units
RL0 = 4                         ; the limbs, the most significant first
RL1 = 6
RL2 = 8
RL3 = 0A
RL4 = 0C
RL5 = 0E
RSIZE = 10

FSIZE = 8
EBIAS = 80
FEOVERFLOW = 2
FEDIVZERO = 4
FEARGUMENT = 6

; Calls with the registers saved. A routine begins with jsr r5,fsave, which
; pushes R4 to R2 below the R5 that the jsr pushed; it ends with R0 holding
; an error code or 0 and a jump to fret, which sets C when R0 is not 0,
; restores R2 to R5 and returns. MOV keeps C, so the restoring is safe.
fsave:  mov r4,-(sp)
        mov r3,-(sp)
        mov r2,-(sp)
        jmp (r5)
fret:   tst r0                  ; clears C
        beq frestore
        sec
frestore:
        mov (sp)+,r2
        mov (sp)+,r3
        mov (sp)+,r4
        mov (sp)+,r5
        rts pc

; Powers of ten for a limb, and halves of them for rounding.
pow10:  .word 1., 10., 100., 1000., 10000.
halfpow10:
        .word 5., 50., 500., 5000.

; --- Limbs ---

; limbmul: multiplies the R3 limbs that end before R4 by R2 (at most 10000);
; R0 = the carry out of the top limb, R4 -> the top limb. Changes R0 to R4.
limbmul:
        mov r5,-(sp)
        clr r5
lmullimb:
        mov -(r4),r0
        mul r2,r0
        add r5,r1
        adc r0
        div #10000.,r0
        mov r1,(r4)
        mov r0,r5
        sob r3,lmullimb
        mov r5,r0
        mov (sp)+,r5
        rts pc

; limbdiv: divides the R3 limbs from R4 on, the top first, by R2 (at most
; 10000); R0 = the remainder, R4 -> past the last limb. Changes R0 to R4.
limbdiv:
        clr r0
ldivlimb:
        mul #10000.,r0          ; the remainder so far, one limb up
        add (r4),r1
        adc r0
        div r2,r0
        mov r0,(r4)+
        mov r1,r0
        sob r3,ldivlimb
        rts pc

; digitsup: multiplies the limbs of the record at R4 by 10^R2 (R2 at most
; 23; the caller knows that nothing is lost). Changes R0 to R3.
digitsup:
        mov r2,r3
        asr r3
        asr r3                  ; whole limbs
        beq dupdigits
        mov r4,r0
        add #RL0,r0
        mov r3,r1
        asl r1
        add r0,r1
        mov r3,-(sp)
        neg r3
        add #6,r3
dupmove:
        mov (r1)+,(r0)+
        sob r3,dupmove
        mov (sp)+,r3
dupclear:
        clr (r0)+
        sob r3,dupclear
dupdigits:
        bic #0FFFC,r2
        beq dupdone
        asl r2
        mov pow10(r2),r2
        add #RSIZE,r4
        mov #6,r3
        jsr pc,limbmul
        sub #RL0,r4
dupdone:
        rts pc

; digitsdown: divides the limbs of the record at R4 by 10^R2 (any R2 from
; 0), dropping the digits shifted out; R0 is not 0 when one of them was not
; 0. Changes R0 to R3.
digitsdown:
        clr -(sp)               ; what was dropped, ORed together
        mov r2,r3
        asr r3
        asr r3                  ; whole limbs
        beq ddowndigits
        cmp r3,#6
        blo ddownlimbs
        mov #6,r3               ; everything goes
        clr r2
ddownlimbs:
        mov r4,r0
        add #RSIZE,r0           ; the destination, from the end down
        mov r3,r1
        asl r1
        neg r1
        add r0,r1               ; the source, whole limbs below
        mov r1,-(sp)
ddownor:
        bis (r1)+,2(sp)
        cmp r1,r0
        blo ddownor
        mov (sp)+,r1
        mov r3,-(sp)
        neg r3
        add #6,r3
        beq ddownclear
ddownmove:
        mov -(r1),-(r0)
        sob r3,ddownmove
ddownclear:
        mov (sp)+,r3
ddownzero:
        clr -(r0)
        sob r3,ddownzero
ddowndigits:
        bic #0FFFC,r2
        beq ddowndone
        asl r2
        mov pow10(r2),r2
        add #RL0,r4
        mov #6,r3
        jsr pc,limbdiv
        sub #RSIZE,r4           ; limbdiv leaves it past the record
        bis r0,(sp)
ddowndone:
        mov (sp)+,r0
        rts pc

; coefdigits: R0 = the number of digits of the record at R4, 0 for zero.
; Changes R1.
coefdigits:
        mov r4,r1
        add #RL0,r1
        mov #24.,r0
cdlimb: tst (r1)+
        bne cdfound
        sub #4,r0
        bne cdlimb
        rts pc
cdfound:
        cmp -(r1),#1000.
        bhis cddone
        dec r0
        cmp (r1),#100.
        bhis cddone
        dec r0
        cmp (r1),#10.
        bhis cddone
        dec r0
cddone: rts pc

; limbadd: the limbs of the record at R4 += those of the record at R3; the
; sum must fit. Changes R0 to R2.
limbadd:
        mov r4,r0
        add #RSIZE,r0
        mov r3,r1
        add #RSIZE,r1
        mov #6,r2
laddlimb:
        add -(r1),-(r0)
        cmp (r0),#10000.
        blo laddnext
        sub #10000.,(r0)
        inc -2(r0)
laddnext:
        sob r2,laddlimb
        rts pc

; limbsub: the limbs of the record at R4 -= those of the record at R3 and R2
; (0 or 1) more; R4's must be the larger. Changes R0 to R2.
limbsub:
        sub r2,RL5(r4)
        mov r4,r0
        add #RSIZE,r0
        mov r3,r1
        add #RSIZE,r1
        mov #6,r2
lsublimb:
        sub -(r1),-(r0)
        bge lsubnext
        add #10000.,(r0)
        dec -2(r0)
lsubnext:
        sob r2,lsublimb
        rts pc

; limbcmp: compares the limbs of the record at R4 with those at R3: Z when
; equal, C (blo) when R4's are smaller. Changes R0 to R2.
limbcmp:
        mov r4,r0
        add #RL0,r0
        mov r3,r1
        add #RL0,r1
        mov #6,r2
lcmplimb:
        cmp (r0)+,(r1)+
        bne lcmpdone
        sob r2,lcmplimb
lcmpdone:
        rts pc

; --- Into and out of work records ---

; numunpack: the number at R1 into the record at R4, its coefficient in the
; last three limbs. Changes R0.
numunpack:
        mov (r1),r0
        bic #7FFF,r0
        mov r0,RSIGN(r4)
        mov (r1),r0
        bic #8000,r0
        sub #EBIAS,r0
        mov r0,REXP(r4)
        clr RL0(r4)
        clr RL1(r4)
        clr RL2(r4)
        mov 2(r1),RL3(r4)
        mov 4(r1),RL4(r4)
        mov 6(r1),RL5(r4)
        rts pc

; roundoff: rounds the record at R4 to nearest, ties away from zero, by
; dropping its last R2 digits (R2 at least 1), and raises its exponent by
; as much. Changes R0 to R3.
roundoff:
        add r2,REXP(r4)
        mov r2,r3
        dec r2
        mov r2,r1
        bic #0FFFC,r2
        asl r2
        mov halfpow10(r2),r0
        asr r1
        asr r1                  ; the limb of the half, counted from the end
        asl r1
        neg r1
        add r4,r1
        add #RL5,r1
        add r0,(r1)
rocarry:
        cmp (r1),#10000.
        blo rocarried
        sub #10000.,(r1)
        inc -(r1)
        br rocarry
rocarried:
        mov r3,r2
        jmp digitsdown          ; whatever was below the half is gone

; numpack: the record at R4 into the number at R0: rounded to twelve
; digits, in its one form, 0 below 1E-99; R0 = 0, or FEOVERFLOW with the
; number left as it was. Changes R1 to R3 and the record.
numpack:
        mov r0,-(sp)
        jsr pc,coefdigits
        mov r0,r3
        beq npzero
        sub #12.,r0
        ble npfits
        mov r0,r2
        jsr pc,roundoff
        tst RL2(r4)             ; rounded up to 10^12
        beq nptwelve
        clr RL2(r4)
        mov #1000.,RL3(r4)
        inc REXP(r4)
nptwelve:
        mov #12.,r3
npfits: mov REXP(r4),r2         ; R3 = the digits of the coefficient
        bge npwhole
npstrip4:                       ; a fraction loses its trailing zeros
        cmp r2,#-4
        bgt npstrip1
        tst RL5(r4)
        bne npstrip1
        mov RL4(r4),RL5(r4)
        mov RL3(r4),RL4(r4)
        clr RL3(r4)
        add #4,r2
        sub #4,r3
        br npstrip4
npstrip1:
        mov r2,-(sp)
        mov RL5(r4),r1
npstripdigit:
        tst r2
        beq npstripped
        clr r0
        div #10.,r0
        tst r1
        bne npstripped
        mov r0,r1
        inc r2
        dec r3
        br npstripdigit
npstripped:
        mov r2,REXP(r4)
        sub (sp)+,r2
        beq nprange
        jsr pc,digitsdown       ; (the count is made again rather than kept
        br npcount              ; on the stack, which is short in fln)
npwhole:
        beq nprange             ; an integer below 10^12 keeps exponent 0;
        mov #12.,r2             ; a larger one fills twelve digits
        sub r3,r2
        beq nprange
        cmp r2,REXP(r4)
        blos npup
        mov REXP(r4),r2
npup:   sub r2,REXP(r4)
        jsr pc,digitsup
npcount:
        jsr pc,coefdigits
        mov r0,r3
nprange:
        mov REXP(r4),r2
        cmp r2,#88.
        bgt npover
        blt npsmall
        cmp RL3(r4),#9999.      ; from 9.9999999995E99 on it would show as
        bne npstore             ; 1E100
        cmp RL4(r4),#9999.
        bne npstore
        cmp RL5(r4),#9950.
        bhis npover
        br npstore
npsmall:
        add r3,r2               ; below 1E-99: exponent + digits < -98
        cmp r2,#-98.
        blt npzero
npstore:
        mov (sp)+,r0
        mov REXP(r4),r1
        add #EBIAS,r1
        bis RSIGN(r4),r1
        mov r1,(r0)+
        mov RL3(r4),(r0)+
        mov RL4(r4),(r0)+
        mov RL5(r4),(r0)
        clr r0
        rts pc
npzero: mov (sp)+,r0
        clr (r0)+
        clr (r0)+
        clr (r0)+
        clr (r0)
        clr r0
        rts pc
npover: tst (sp)+
        mov #FEOVERFLOW,r0
        rts pc

; fcheck: C clear when the number at R0 is in its one form: eight zero
; bytes, or limbs of 0 to 9999 and an exponent that numpack leaves as they
; are. Power-on checks what RAM kept with it (kept.s), so that the routines
; here never meet a number they did not make. Changes R0, R1.
fcheck: jsr r5,fsave
        mov r0,r1
        mov (r1)+,r0
        bis (r1)+,r0
        bis (r1)+,r0
        bis (r1)+,r0
        beq fckdone             ; 0 (and C clear)
        mov #3,r2
fcklimb:
        cmp -(r1),#9999.
        bhi fckbad
        sob r2,fcklimb
        mov -(r1),r0
        bic #8000,r0
        sub #EBIAS,r0
        cmp r0,#-111.           ; twelve digits from 1E-99 down
        blt fckbad
        cmp r0,#88.
        bgt fckbad
        sub #RSIZE+FSIZE,sp
        mov sp,r4
        jsr pc,numunpack
        mov r1,r5
        mov sp,r0
        add #RSIZE,r0
        jsr pc,numpack
        bne fckunlike           ; an overflow
        mov sp,r0
        add #RSIZE,r0
        mov #4,r3
fckword:
        cmp (r0)+,(r5)+
        bne fckunlike
        sob r3,fckword
        add #RSIZE+FSIZE,sp
        clr r0
        br fckdone
fckunlike:
        add #RSIZE+FSIZE,sp
fckbad: mov #FEARGUMENT,r0
fckdone:
        jmp fret

; --- Adding and comparing ---

; fadd: x := x + y; fsub: x := x - y. Two numbers of one exponent from
; -99 to 0 are added or subtracted in place, limb by limb: whole numbers
; below 10^12 above all, and fractions of as many places. Anything else, or
; a sum that outgrows twelve digits, takes the slow way through addcore.
fadd:   mov r2,-(sp)
        clr r2
        br addfast
fsub:   mov r2,-(sp)
        mov #8000,r2
        br addfast
addzero:
        clr (r0)
        clr 2(r0)
        clr 4(r0)
        clr 6(r0)
        br adddone
addcopy:
        mov r4,(r0)
        mov 2(r1),2(r0)
        mov 4(r1),4(r0)
        mov 6(r1),6(r0)
adddone:
        mov (sp)+,r4
        mov (sp)+,r3
addkeep:
        mov (sp)+,r2
        clr r0                  ; and C, as fret would leave them
        rts pc
addfast:                        ; R2 flips y's sign
        tst (r1)
        beq addkeep             ; x + 0 = x
        mov r3,-(sp)
        mov r4,-(sp)
        mov (r1),r4
        xor r2,r4               ; y's first word, with its sign as added
        mov (r0),r3
        beq addcopy             ; 0 + y
        xor r3,r4               ; bit 15: the signs differ; the rest: the
        bic #8000,r3            ; exponents do
        cmp r3,#EBIAS
        bhi addslowpop
        cmp r3,#EBIAS-99.
        blo addslowpop
        bit #7FFF,r4
        bne addslowpop
        tst r4
        bmi addopposite
        mov 6(r0),r4            ; one sign: the sum of the limbs
        add 6(r1),r4
        mov 4(r0),r3
        add 4(r1),r3
        mov 2(r0),r2
        add 2(r1),r2
        cmp r4,#10000.
        blo addcarried
        sub #10000.,r4
        inc r3
addcarried:
        cmp r3,#10000.
        blo addcarried2
        sub #10000.,r3
        inc r2
addcarried2:
        cmp r2,#10000.
        blo addstore
        mov (r0),r2             ; thirteen digits: the flip again, from the
        mov (r1),r3             ; signs, which it made alike
        xor r3,r2
        bic #7FFF,r2
addslowpop:                     ; the registers saved as fsave saves them,
        mov (sp)+,r4            ; R2 with the flip
        mov (sp)+,r3
        mov (sp),-(sp)
        mov r5,2(sp)
        mov (sp),-(sp)
        mov r4,2(sp)
        mov (sp),-(sp)
        mov r3,2(sp)
        br addsigned
addopposite:                    ; signs differ: the smaller from the larger
        cmp 2(r0),2(r1)
        bne addorder
        cmp 4(r0),4(r1)
        bne addorder
        cmp 6(r0),6(r1)
        beq addzero
addorder:
        blo addturn
        mov 6(r0),r4
        sub 6(r1),r4
        mov 4(r0),r3
        sub 4(r1),r3
        mov 2(r0),r2
        sub 2(r1),r2
        br addborrow
addturn:
        mov 6(r1),r4
        sub 6(r0),r4
        mov 4(r1),r3
        sub 4(r0),r3
        mov 2(r1),r2
        sub 2(r0),r2
        add #8000,(r0)          ; y's sign
addborrow:
        tst r4
        bge addborrowed
        add #10000.,r4
        dec r3
addborrowed:
        tst r3
        bge addstore
        add #10000.,r3
        dec r2
addstore:
        mov r2,2(r0)
        mov r3,4(r0)
        mov r4,6(r0)
        cmp (r0),#EBIAS         ; a fraction ending in 0 is not in its form:
        beq addfinish           ; x + 0 the slow way makes it so
        cmp (r0),#EBIAS+8000
        beq addfinish
        clr r2
        mov r4,r3
        div #10.,r2
        tst r3
        bne addfinish
        mov #fzero,r1
        clr r2
        br addslowpop
addfinish:
        jmp adddone
addsigned:
        mov r0,r5
        sub #RSIZE+RSIZE,sp
        jsr pc,addcore
        mov r5,r0
        jsr pc,numpack
        add #RSIZE+RSIZE,sp
        jmp fret

; addcore: the record at R4 := x + y with y's sign flipped by R2 (0 or
; 8000), exact or, when the exponents lie far apart, truncated below 22
; digits, which rounds alike. R0 and R5 -> x; the caller's two records lie
; just above the return address. Changes R0 to R4.
addcore:
        mov sp,r4
        add #2,r4
        mov r1,-(sp)
        mov r0,r1
        jsr pc,numunpack
        mov (sp)+,r1
        add #RSIZE,r4
        jsr pc,numunpack
        xor r2,RSIGN(r4)
        tst (r1)
        beq acdone              ; x + 0: x, in the first record
        mov r4,r3               ; R4 the big one, with the larger exponent
        sub #RSIZE,r4
        tst (r5)
        beq acswap              ; 0 + y: y
        cmp REXP(r4),REXP(r3)
        bge acordered
acswap: mov r3,r4
        sub #RSIZE,r3
acordered:
        jsr pc,coefdigits       ; the big one is raised to 23 digits or by
        neg r0                  ; the exponents' distance if that is less;
        add #23.,r0             ; the small one falls by what remains
        mov REXP(r4),r1
        sub REXP(r3),r1
        cmp r0,r1
        blos acshift
        mov r1,r0
acshift:                        ; (the small one keeps its shift in its
        sub r0,r1               ; exponent, which is the big one's from here)
        sub r0,REXP(r4)
        mov r1,REXP(r3)
        mov r0,r2
        jsr pc,digitsup
        mov sp,r3               ; the two records' addresses add up to
        asl r3                  ; 2 SP + 14: the other record from the
        add #14,r3              ; registers, not the stack, which is short
        sub r4,r3               ; when fln runs inside fpow
        mov r3,r4
        mov REXP(r4),r2
        jsr pc,digitsdown
        mov r4,r3
        mov sp,r4
        asl r4
        add #14,r4
        sub r3,r4
        mov REXP(r4),REXP(r3)
        cmp RSIGN(r4),RSIGN(r3)
        bne acsubtract
        jmp limbadd
acsubtract:                     ; a dropped digit takes one more off, as the
        mov r0,-(sp)            ; truncated difference must
        jsr pc,limbcmp
        bhis acordered2
        mov r3,r0
        mov r4,r3
        mov r0,r4
acordered2:
        clr r2
        tst (sp)+
        beq acsub
        inc r2
acsub:  jmp limbsub
acdone: sub #RSIZE,r4
        rts pc

; fcmp: compares x with y: Z when equal, N when x < y, V and C clear.
; Changes R0 and R1 only.
fcmp:   cmp (r0),(r1)
        bne fcmpdiffer
        cmp 2(r0),2(r1)
        bne fcmplimb
        cmp 4(r0),4(r1)
        bne fcmplimb
        cmp 6(r0),6(r1)
        bne fcmplimb
        clr r0
        rts pc
fcmplimb:                       ; one sign, one exponent
        blo fcmpsmaller
        tst (r0)
        bmi fcmplt
        br fcmpgt
fcmpsmaller:
        tst (r0)
        bmi fcmpgt
fcmplt: mov #-1,r0
        tst r0
        rts pc
fcmpgt: mov #1,r0
        tst r0
        rts pc
fcmpdiffer:
        tst (r0)
        bmi fcmpxneg
        tst (r1)
        bmi fcmpgt
        tst (r0)
        beq fcmplt              ; 0 < y
        tst (r1)
        beq fcmpgt              ; x > 0
        br fcmpslow
fcmpxneg:
        tst (r1)
        bpl fcmplt
fcmpslow:                       ; one sign: the first digits' exponents
        mov r2,-(sp)            ; decide, when they differ
        mov r3,-(sp)
        mov r4,-(sp)
        jsr pc,numfirst
        mov r2,r4
        mov r1,-(sp)
        mov r0,r1
        jsr pc,numfirst
        mov (sp)+,r1
        sub r4,r2
        beq fcmpalign
        bgt fcmpbigger
        mov #-1,r2
        br fcmpfar
fcmpbigger:
        mov #1,r2
fcmpfar:
        tst (r0)
        bpl fcmpfarsign
        neg r2
fcmpfarsign:
        mov r2,r0
        mov (sp)+,r4
        mov (sp)+,r3
        mov (sp)+,r2
        tst r0
        rts pc
fcmpalign:
        mov (sp)+,r4
        mov (sp)+,r3
        mov (sp)+,r2
        jsr r5,fsave
        mov r0,r5
        sub #RSIZE+RSIZE,sp
        mov #8000,r2
        jsr pc,addcore
        jsr pc,coefdigits
        tst r0
        beq fcmpsame
        mov #1,r0
        tst RSIGN(r4)
        bpl fcmpsame
        neg r0
fcmpsame:
        add #RSIZE+RSIZE,sp
        mov (sp)+,r2
        mov (sp)+,r3
        mov (sp)+,r4
        mov (sp)+,r5
        tst r0
        rts pc

; numfirst: R2 = the exponent of the first digit of the nonzero number at
; R1. Changes R3.
numfirst:
        mov (r1),r2
        bic #8000,r2
        sub #EBIAS+1,r2
        mov r1,r3
        tst (r3)+
        tst (r3)+
        bne nffound
        sub #4,r2
        tst (r3)+
        bne nffound
        sub #4,r2
        tst (r3)+
nffound:
        add #9.,r2
        cmp -(r3),#10.
        blo nfdone
        inc r2
        cmp (r3),#100.
        blo nfdone
        inc r2
        cmp (r3),#1000.
        blo nfdone
        inc r2
nfdone: rts pc

; --- Multiplying and dividing ---

; fmul: x := x * y.
fmul:   jsr r5,fsave
        mov r0,-(sp)
        sub #RSIZE,sp
        mov sp,r4
        jsr pc,mulrecord
        mov RSIZE(sp),r0
        jsr pc,numpack
        add #RSIZE+2,sp
        jmp fret

; fmulsplit: x := the exact product x * y cut after its first twelve
; digits, y := the rest, so that x + y is the product itself: coefmul's 24
; digits, raised to the top, in two halves. FEOVERFLOW leaves y as it was.
fmulsplit:
        jsr r5,fsave
        mov r1,-(sp)
        mov r0,-(sp)
        sub #RSIZE,sp
        mov sp,r4
        jsr pc,mulrecord
        jsr pc,coefdigits       ; the first digit to the top
        tst r0
        beq fmstop
        neg r0
        add #24.,r0
        sub r0,REXP(r4)
        mov r0,r2
        jsr pc,digitsup
fmstop: mov RL5(r4),-(sp)       ; the low half aside
        mov RL4(r4),-(sp)
        mov RL3(r4),-(sp)
        mov REXP(r4),-(sp)
        clr RL3(r4)
        clr RL4(r4)
        clr RL5(r4)
        mov RSIZE+8.(sp),r0
        jsr pc,numpack
        tst r0
        bne fmsover
        mov (sp)+,REXP(r4)
        mov (sp)+,RL3(r4)
        mov (sp)+,RL4(r4)
        mov (sp)+,RL5(r4)
        clr RL0(r4)
        clr RL1(r4)
        clr RL2(r4)
        mov RSIZE+2(sp),r0
        jsr pc,numpack
        br fmsend
fmsover:
        add #8.,sp
fmsend: add #RSIZE+4,sp
        jmp fret

; mulrecord: the record at R4 := x * y, exact. Changes R0 to R3.
mulrecord:
        mov r0,r2
        add #2,r2
        mov r1,r3
        add #2,r3
        clr RL0(r4)             ; for a zero factor the product is 0
        clr RL1(r4)
        clr RL2(r4)
        clr RL3(r4)
        clr RL4(r4)
        clr RL5(r4)
        tst (r0)
        beq mrzero
        tst (r1)
        beq mrzero
        mov (r0),r0
        mov (r1),r1
        mov r0,RSIGN(r4)
        xor r1,RSIGN(r4)
        bic #7FFF,RSIGN(r4)
        bic #8000,r0
        bic #8000,r1
        add r1,r0
        sub #EBIAS+EBIAS,r0
        mov r0,REXP(r4)
        jmp coefmul
mrzero: rts pc

; coefmul: the limbs of the record at R4 := the three limbs at R2 times the
; three limbs at R3, all 24 digits. Changes R0 and R1.
coefmul:
        mov r5,-(sp)
        mov r3,r5
        mov r4,-(sp)
        add #RSIZE,(sp)         ; where the next product limb goes, from
        mov r2,r4               ; the end down
        mov r3,-(sp)
        mov r2,-(sp)
        clr r2                  ; R2:R3 sums a column
        clr r3
        mov 4(r4),r0            ; 10^0
        mul 4(r5),r0
        jsr pc,cmadd
        jsr pc,cmlimb
        mov 2(r4),r0            ; 10^4
        mul 4(r5),r0
        jsr pc,cmadd
        mov 4(r4),r0
        mul 2(r5),r0
        jsr pc,cmadd
        jsr pc,cmlimb
        mov (r4),r0             ; 10^8
        mul 4(r5),r0
        jsr pc,cmadd
        mov 2(r4),r0
        mul 2(r5),r0
        jsr pc,cmadd
        mov 4(r4),r0
        mul (r5),r0
        jsr pc,cmadd
        jsr pc,cmlimb
        mov (r4),r0             ; 10^12
        mul 2(r5),r0
        jsr pc,cmadd
        mov 2(r4),r0
        mul (r5),r0
        jsr pc,cmadd
        jsr pc,cmlimb
        mov (r4),r0             ; 10^16
        mul (r5),r0
        jsr pc,cmadd
        jsr pc,cmlimb
        sub #2,4(sp)            ; 10^20: the last carry
        mov r3,@4(sp)
        mov (sp)+,r2
        mov (sp)+,r3
        mov (sp)+,r4
        sub #RL0,r4
        mov (sp)+,r5
        rts pc
cmadd:  add r1,r3
        adc r2
        add r0,r2
        rts pc
cmlimb: div #10000.,r2          ; a column sum stays below 327,680,000
        sub #2,6(sp)
        mov r3,@6(sp)
        mov r2,r3
        clr r2
        rts pc

; fdiv: x := x / y, by long division in limbs (Knuth's algorithm D): both
; coefficients are shifted to a nonzero top limb and scaled so that the
; divisor's top limb is at least 5000; then each quotient limb, guessed from
; two limbs by one, is at most two too large. Five quotient limbs give at
; least 13 digits, truncated, which round as the exact quotient would.
DV = -22                        ; the divisor's three limbs
DQ = -1C                        ; a work record: its limbs from RL1 on are
                                ; the dividend's eight, which the quotient
                                ; limbs replace one by one
fdiv:   jsr r5,fsave
        mov sp,r5
        mov r0,-(sp)
        sub #20,sp              ; down to DV
        tst (r1)
        bne fdivnonzero
        mov #FEDIVZERO,r0
        jmp fdivend
fdivnonzero:
        tst (r0)
        bne fdivgo
        clr r0                  ; 0 / y = 0
        jmp fdivend
fdivgo: mov (r0),r2
        mov (r1),r3
        mov r2,r4
        xor r3,r4
        bic #7FFF,r4
        mov r4,DQ+RSIGN(r5)
        bic #8000,r2
        bic #8000,r3
        sub r3,r2
        sub #16.,r2             ; the dividend gets four zero limbs
        mov r2,DQ+REXP(r5)
        clr DQ+RL0(r5)
        mov 2(r1),r2
        mov 4(r1),r3
        mov 6(r1),r4
fdivvtop:
        tst r2
        bne fdivvset
        mov r3,r2
        mov r4,r3
        clr r4
        add #4,DQ+REXP(r5)
        br fdivvtop
fdivvset:
        mov r2,DV(r5)
        mov r3,DV+2(r5)
        mov r4,DV+4(r5)
        mov 2(r0),r2
        mov 4(r0),r3
        mov 6(r0),r4
fdivutop:
        tst r2
        bne fdivuset
        mov r3,r2
        mov r4,r3
        clr r4
        sub #4,DQ+REXP(r5)
        br fdivutop
fdivuset:
        mov r2,DQ+RL2(r5)
        mov r3,DQ+RL3(r5)
        mov r4,DQ+RL4(r5)
        clr DQ+RL5(r5)
        clr DQ+RL5+2(r5)
        clr DQ+RL5+4(r5)
        clr DQ+RL5+6(r5)
        mov DV(r5),r2           ; the scale: 10000 / (top limb + 1)
        inc r2
        clr r0
        mov #10000.,r1
        div r2,r0
        mov r0,r2
        mov r5,r4
        add #DV+6,r4
        mov #3,r3
        jsr pc,limbmul
        mov r5,r4
        add #DQ+RL5,r4
        mov #3,r3
        jsr pc,limbmul
        mov r0,DQ+RL1(r5)
        mov r5,r2
        add #DQ+RL1,r2          ; R2 -> the window's top limb
fdivlimb:
        mov (r2),r0             ; the guess
        mul #10000.,r0
        add 2(r2),r1
        adc r0
        div DV(r5),r0
        cmp r0,#9999.
        blos fdivguess
        mov #9999.,r0
fdivguess:
        mov r0,r3
        clr r4                  ; the window -= guess * divisor
        mul DV+4(r5),r0
        jsr pc,fdivsub
        sub r1,6(r2)
        bge fdivsub1
        add #10000.,6(r2)
        inc r4
fdivsub1:
        mov r3,r0
        mul DV+2(r5),r0
        jsr pc,fdivsub
        sub r1,4(r2)
        bge fdivsub2
        add #10000.,4(r2)
        inc r4
fdivsub2:
        mov r3,r0
        mul DV(r5),r0
        jsr pc,fdivsub
        sub r1,2(r2)
        bge fdivsub3
        add #10000.,2(r2)
        inc r4
fdivsub3:
        sub r4,(r2)
        bge fdivkept
fdivback:                       ; one too many: add the divisor back
        dec r3
        add DV+4(r5),6(r2)
        cmp 6(r2),#10000.
        blo fdivback1
        sub #10000.,6(r2)
        inc 4(r2)
fdivback1:
        add DV+2(r5),4(r2)
        cmp 4(r2),#10000.
        blo fdivback2
        sub #10000.,4(r2)
        inc 2(r2)
fdivback2:
        add DV(r5),2(r2)
        cmp 2(r2),#10000.
        blo fdivback3
        sub #10000.,2(r2)
        inc (r2)
fdivback3:
        tst (r2)
        blt fdivback
fdivkept:
        mov r3,(r2)+
        mov r5,r0
        add #DQ+RL5+2,r0
        cmp r2,r0
        blo fdivlimb
        mov -2(r5),r0
        mov r5,r4
        add #DQ,r4
        jsr pc,numpack
fdivend:
        mov r5,sp
        jmp fret
; fdivsub: R0:R1, a product, plus the carry R4 becomes the carry R4 and the
; limb to subtract R1.
fdivsub:
        add r4,r1
        adc r0
        div #10000.,r0
        mov r0,r4
        rts pc

; --- One operand ---

; fclr: x := 0.
fclr:   clr (r0)
        clr 2(r0)
        clr 4(r0)
        clr 6(r0)
        clc
        rts pc

; fneg: x := -x (0 stays 0).
fneg:   tst (r0)
        beq fnegdone
        mov #8000,r1
        xor r1,(r0)
fnegdone:
        clc
        rts pc

; fabs: x := |x|.
fabs:   bic #8000,(r0)
        clc
        rts pc

; fsgn: x := -1, 0 or 1.
fsgn:   tst (r0)
        beq fsgndone
        bic #7FFF,(r0)
        bis #EBIAS,(r0)
        clr 2(r0)
        clr 4(r0)
        mov #1,6(r0)
fsgndone:
        clc
        rts pc

; fmove: the number at R1 is copied to R0.
fmove:  mov (r1)+,(r0)+
        mov (r1)+,(r0)+
        mov (r1)+,(r0)+
        mov (r1),(r0)
        sub #6,r0
        clc
        rts pc

; fromint: x := R1, a signed integer.
fromint:
        clr 2(r0)
        mov #EBIAS,(r0)
        tst r1
        beq fromzero
        bpl frompositive
        bis #8000,(r0)
        neg r1                  ; -32768 becomes 32768, unsigned
frompositive:
        mov r0,-(sp)
        clr r0
        div #10000.,r0
        mov r1,-(sp)
        mov r0,r1
        mov 2(sp),r0
        mov r1,4(r0)
        mov (sp)+,6(r0)
        tst (sp)+
        clc
        rts pc
fromzero:
        clr (r0)
        clr 4(r0)
        clr 6(r0)
        clc
        rts pc

; toint: R1 := x truncated toward zero, or FEOVERFLOW when it lies outside
; -32768 to 32767. x is unchanged.
toint:  jsr r5,fsave
        sub #RSIZE,sp
        mov sp,r4
        mov r0,r1
        jsr pc,numunpack
        mov REXP(r4),r2
        bgt tioverflow          ; at least 10^12
        neg r2
        jsr pc,digitsdown
        tst RL3(r4)
        bne tioverflow
        mov RL4(r4),r1
        cmp r1,#3
        bhi tioverflow
        mul #10000.,r1
        add RL5(r4),r1          ; at most 39999, an unsigned word
        tst RSIGN(r4)
        bne tinegative
        tst r1
        bmi tioverflow
        br tidone
tinegative:
        cmp r1,#8000
        bhi tioverflow
        neg r1
tidone: clr r0
        br tiend
tioverflow:
        mov #FEOVERFLOW,r0
tiend:  add #RSIZE,sp
        jmp fret

; fint: x := the largest integer not above x.
fint:   jsr r5,fsave
        mov r0,-(sp)
        sub #RSIZE,sp
        mov sp,r4
        mov r0,r1
        jsr pc,numunpack
        clr r0
        mov REXP(r4),r2
        bge fintend             ; 0 and the integers stay
        neg r2
        clr REXP(r4)
        jsr pc,digitsdown
        tst r0
        beq fintpack
        tst RSIGN(r4)
        beq fintpack
        inc RL5(r4)             ; below a negative fraction; a carry out of
        cmp RL5(r4),#10000.     ; the last limb goes one further at most,
        blo fintpack            ; as the integer part has at most 11 digits
        clr RL5(r4)
        inc RL4(r4)
        cmp RL4(r4),#10000.
        blo fintpack
        clr RL4(r4)
        inc RL3(r4)
fintpack:
        mov RSIZE(sp),r0
        jsr pc,numpack
fintend:
        add #RSIZE+2,sp
        jmp fret

; --- Text ---

; fparse: x := the unsigned decimal number in the text at R1: digits with at
; most one ".", at least one digit, then perhaps E, a sign and one or two
; digits (an E without them is not part of the number). Beyond the 16th
; significant digit the digits only count, and the number is rounded to
; twelve. R1 -> past the number. No number there: C set, R0 = 0 and R1 as
; it was; too large: FEOVERFLOW.
PFLAGS = RSIZE                  ; 1 once a digit is read, 2 once the point
fparse: jsr r5,fsave
        mov r0,-(sp)
        mov r1,-(sp)
        clr -(sp)
        sub #RSIZE,sp
        mov sp,r4
        mov r4,r0
        mov #8,r2               ; the record and the flags
pclear: clr (r0)+
        sob r2,pclear
        clr r2                  ; digits in the group being gathered
        clr r3                  ; the group: four digits make a limb
        clr r5                  ; significant digits kept
pnext:  movb (r1),r0
        cmpb r0,#'.'
        bne pdigit
        bit #2,PFLAGS(r4)
        bne pmantissa           ; a second point is not ours
        bis #2,PFLAGS(r4)
        inc r1
        br pnext
pdigit: sub #'0',r0
        cmp r0,#9
        bhi pmantissa
        inc r1
        bis #1,PFLAGS(r4)
        tst r5
        bne psignificant
        tst r0
        bne psignificant
        tst r2
        bne psignificant
        bit #2,PFLAGS(r4)       ; a leading zero counts only after the point
        beq pnext
        dec REXP(r4)
        br pnext
psignificant:
        cmp r5,#16.
        blo pkeep
        bit #2,PFLAGS(r4)       ; a digit past those kept counts only before
        bne pnext               ; the point
        inc REXP(r4)
        br pnext
pkeep:  inc r5
        bit #2,PFLAGS(r4)
        beq pkept
        dec REXP(r4)
pkept:  mul #10.,r3
        add r0,r3
        inc r2
        cmp r2,#4
        blo pnext
        mov RL1(r4),RL0(r4)
        mov RL2(r4),RL1(r4)
        mov RL3(r4),RL2(r4)
        mov RL4(r4),RL3(r4)
        mov RL5(r4),RL4(r4)
        mov r3,RL5(r4)
        clr r2
        clr r3
        br pnext
pmantissa:
        bit #1,PFLAGS(r4)
        bne pfound
        mov RSIZE+2(r4),r1
        add #RSIZE+6,sp
        clr r0
        sec
        jmp frestore
pfound: tst r2
        beq pexponent
        mov r1,-(sp)
        mov r3,-(sp)
        jsr pc,digitsup
        add (sp)+,RL5(r4)
        mov (sp)+,r1
pexponent:
        cmpb (r1),#'E'
        bne ppack
        mov r1,r0
        inc r0
        clr r2
        cmpb (r0),#'+'
        beq psign
        cmpb (r0),#'-'
        bne pexpdigit
        inc r2
psign:  inc r0
pexpdigit:
        movb (r0)+,r3
        sub #'0',r3
        cmp r3,#9
        bhi ppack
        movb (r0),r5
        sub #'0',r5
        cmp r5,#9
        bhi pexpread
        inc r0
        mul #10.,r3
        add r5,r3
pexpread:
        mov r0,r1
        tst r2
        beq pexpadd
        neg r3
pexpadd:
        add r3,REXP(r4)
ppack:  mov RSIZE+4(r4),r0
        mov r1,-(sp)
        jsr pc,numpack
        mov (sp)+,r1
        add #RSIZE+6,sp
        jmp fret

; fformat: the text of x at R1, at most 12 characters and a zero byte; R1 ->
; the zero byte. Ten significant digits at most, rounded, without trailing
; zeros: below 10^10 plainly ("-1234567890", "3.141592654", "0.3"); a
; number below 1 plainly too when all its digits fit in the 12 characters
; or at least six of them do; else with an exponent, with the digits that
; fit ("1.2345679E15", "-1.2345E-12").
FOUT = -2                       ; the frame: where the text goes
FX = -4                         ; the exponent of the first digit, rounded
FX0 = -6                        ; and before rounding
FSG = -8                        ; 1 for a negative number
FCOEF = -0E                        ; the coefficient, twelve digits
FBUF = -1A                      ; twelve digits of it, rounded
FREC = -2A                      ; a work record
fformat:
        jsr r5,fsave
        mov sp,r5
        mov r1,-(sp)
        sub #28,sp
        tst (r0)
        bne fmtnonzero
        movb #'0',(r1)+
        jmp fmtdone
fmtnonzero:
        mov r0,r1
        mov r5,r4
        add #FREC,r4
        jsr pc,numunpack
        clr FSG(r5)
        tst RSIGN(r4)
        beq fmtpositive
        inc FSG(r5)
fmtpositive:
        jsr pc,coefdigits
        mov REXP(r4),r1
        add r0,r1
        dec r1
        mov r1,FX0(r5)
        mov #12.,r2
        sub r0,r2
        jsr pc,digitsup
        mov RL3(r4),FCOEF(r5)
        mov RL4(r4),FCOEF+2(r5)
        mov RL5(r4),FCOEF+4(r5)
        mov #10.,r2
        jsr pc,fmtdigits
        cmp FX(r5),#10.
        bge fmtexponent
        tst FX(r5)
        bge fmtplain
        mov #11.,r0             ; below 1: the digits that fit after "0."
        sub FSG(r5),r0          ; and the zeros
        add FX(r5),r0
        cmp r3,r0
        ble fmtplain
        cmp r0,#6
        blt fmtexponent
        mov r0,r2
        jsr pc,fmtdigits
fmtplain:
        mov FOUT(r5),r1
        tst FSG(r5)
        beq fmtplainsign
        movb #'-',(r1)+
fmtplainsign:
        mov FX(r5),r0
        blt fmtfraction
        inc r0                  ; the digits before the point
fmtwhole:
        tst r3
        beq fmtwholezero
        movb (r2)+,(r1)+
        dec r3
        br fmtwholenext
fmtwholezero:
        movb #'0',(r1)+
fmtwholenext:
        sob r0,fmtwhole
        tst r3
        beq fmtdone
        movb #'.',(r1)+
fmtafter:
        movb (r2)+,(r1)+
        sob r3,fmtafter
        br fmtdone
fmtfraction:
        movb #'0',(r1)+
        movb #'.',(r1)+
        neg r0
        dec r0
        beq fmtsignificant
fmtzero:
        movb #'0',(r1)+
        sob r0,fmtzero
fmtsignificant:
        movb (r2)+,(r1)+
        sob r3,fmtsignificant
        br fmtdone
fmtexponent:
        mov #9.,r0              ; the digits that fit beside the sign, the
        sub FSG(r5),r0          ; point, the E and the exponent's digit
        mov FX(r5),r1
        bge fmtexppositive
        dec r0
        neg r1
fmtexppositive:
        cmp r1,#10.
        blo fmtexpdigits
        dec r0
fmtexpdigits:
        cmp r3,r0
        ble fmtmantissa
        mov r0,-(sp)
        mov r0,r2
        jsr pc,fmtdigits
        mov (sp)+,r0
        cmp FX(r5),#100.        ; rounded up past the largest: the nines
        bne fmtmantissa         ; below it instead
        mov #99.,FX(r5)
        mov r0,r3
        mov r5,r2
        add #FBUF+12.,r2
        sub r0,r2
        mov r2,r1
fmtnines:
        movb #'9',(r1)+
        sob r0,fmtnines
fmtmantissa:
        mov FOUT(r5),r1
        tst FSG(r5)
        beq fmtmantissasign
        movb #'-',(r1)+
fmtmantissasign:
        movb (r2)+,(r1)+
        dec r3
        beq fmte
        movb #'.',(r1)+
fmtmantissadigit:
        movb (r2)+,(r1)+
        sob r3,fmtmantissadigit
fmte:   movb #'E',(r1)+
        mov FX(r5),r3
        bge fmtepositive
        movb #'-',(r1)+
        neg r3
fmtepositive:
        clr r2
        div #10.,r2
        tst r2
        beq fmteunits
        add #'0',r2
        movb r2,(r1)+
fmteunits:
        add #'0',r3
        movb r3,(r1)+
fmtdone:
        clrb (r1)
        clr r0
        mov r5,sp
        jmp fret

; fmtdigits: the coefficient rounded to R2 digits, in the buffer: R2 -> the
; first, R3 = how many without trailing zeros; FX is the exponent of the
; first. Changes R0, R1 and R4.
fmtdigits:
        mov r5,r4
        add #FREC,r4
        clr RL0(r4)
        clr RL1(r4)
        clr RL2(r4)
        mov FCOEF(r5),RL3(r4)
        mov FCOEF+2(r5),RL4(r4)
        mov FCOEF+4(r5),RL5(r4)
        mov FX0(r5),FX(r5)
        mov r2,-(sp)
        neg r2
        add #12.,r2
        beq fdround
        jsr pc,roundoff
fdround:
        mov r5,r2
        add #FBUF,r2
        add #RL3,r4
        mov #3,r3
fdlimb: mov (r4)+,r1
        clr r0
        div #1000.,r0
        add #'0',r0
        movb r0,(r2)+
        clr r0
        div #100.,r0
        add #'0',r0
        movb r0,(r2)+
        clr r0
        div #10.,r0
        add #'0',r0
        movb r0,(r2)+
        add #'0',r1
        movb r1,(r2)+
        sob r3,fdlimb
        sub (sp)+,r2            ; -> the first of the digits asked for
        cmpb -1(r2),#'0'
        beq fdcarried
        dec r2                  ; rounded up to a power of ten
        inc FX(r5)
fdcarried:
        mov r5,r3
        add #FBUF+12.,r3
fdtrailing:
        cmpb -(r3),#'0'
        bne fdcount
        cmp r3,r2
        bhi fdtrailing          ; never before the first, whatever x holds
fdcount:
        sub r2,r3
        inc r3
        rts pc

; --- Random numbers ---

; frnd: x := the next pseudo-random number, 0 <= x < 1, ten digits. rndseed
; holds twelve digits s, three limbs; s := (s * RNDA + RNDC) mod 10^12, a
; linear congruential generator of full period, as RNDA - 1 is a multiple of
; 20 and RNDC is prime to 10; x is the top ten digits of s, whose period is
; the whole one. A seed with a limb above 9999 is folded back first.
RNDC = 7
frnd:   jsr r5,fsave
        mov r0,-(sp)
        sub #RSIZE,sp
        mov sp,r4
        mov #rndseed,r2
        mov #3,r3
rndfold:
        mov (r2),r1
        clr r0
        div #10000.,r0
        mov r1,(r2)+
        sob r3,rndfold
        mov #rndseed,r2
        mov #rnda,r3
        jsr pc,coefmul
        add #RNDC,RL5(r4)
        cmp RL5(r4),#10000.
        blo rndcarried
        sub #10000.,RL5(r4)
        inc RL4(r4)
        cmp RL4(r4),#10000.
        blo rndcarried
        sub #10000.,RL4(r4)
        inc RL3(r4)
        cmp RL3(r4),#10000.
        blo rndcarried
        sub #10000.,RL3(r4)
rndcarried:
        mov RL3(r4),rndseed
        mov RL4(r4),rndseed+2
        mov RL5(r4),rndseed+4
        clr RL0(r4)
        clr RL1(r4)
        clr RL2(r4)
        clr RSIGN(r4)
        mov #2,r2
        jsr pc,digitsdown
        mov #-10.,REXP(r4)
        mov RSIZE(sp),r0
        jsr pc,numpack
        add #RSIZE+2,sp
        jmp fret
rnda:   .word 7384., 2916., 1621.

; --- Square root ---

; fsqr: x := the square root of x, correctly rounded; FEARGUMENT when x < 0.
; With x = A * 10^e, A of twelve digits, take T = A * 10^12 or A * 10^11,
; whichever leaves an even power 10^2q with x = T * 10^2q; the root is then
; R * 10^q for the whole number R nearest the root of T. Four digits of it
; come from the top of T by Newton's method in whole numbers, two Newton
; steps on numbers bring twelve, and then R is made exact: R is right when
; R^2 - R < T <= R^2 + R, which is (R - 1/2)^2 < T < (R + 1/2)^2 for a
; whole T.
SQX = -2                        ; the frame: x
SQQ = -4                        ; q
SQY = -0C                       ; the root so far
SQT = -14                       ; a term of Newton's step
SQR = -24                       ; then three records: R,
SQP = -34                       ; R^2
SQT2 = -44                      ; and T
fsqr:   jsr r5,fsave
        mov sp,r5
        mov r0,-(sp)
        sub #12,sp
        tst (r0)
        bpl sqrpositive
        mov #FEARGUMENT,r0
        jmp sqrend
sqrpositive:
        bne sqrnonzero
        clr r0
        jmp sqrend
sqrnonzero:
        mov r5,r4
        add #SQR,r4
        mov r5,sp
        add #SQR,sp
        jsr pc,sqrtrecord
        mov RL0(r4),r0          ; its top seven or eight digits
        mul #10000.,r0
        add RL1(r4),r1
        adc r0
        mov #10000.,r2          ; Newton from above in whole numbers: every
sqrguess:                       ; step is at least the root, so t / s has
        mov r0,-(sp)            ; four digits
        mov r1,-(sp)
        div r2,r0
        add r2,r0
        asr r0
        cmp r0,r2
        bhis sqrguessed
        mov r0,r2
        mov (sp)+,r1
        mov (sp)+,r0
        br sqrguess
sqrguessed:
        cmp (sp)+,(sp)+
        clr RL0(r4)             ; y := s * 10^(q + 8)
        clr RL1(r4)
        clr RL2(r4)
        clr RL3(r4)
        clr RL4(r4)
        mov r2,RL5(r4)
        clr RSIGN(r4)
        mov SQQ(r5),REXP(r4)
        add #8,REXP(r4)
        mov r5,r0
        add #SQY,r0
        jsr pc,numpack
        mov r5,sp
        add #SQT,sp
        mov r5,r3
        add #SQT,r3
        mov r5,r4
        add #SQY,r4
        mov #2,r2
sqrnewton:                      ; y := (y + x / y) / 2
        mov r3,r0
        mov SQX(r5),r1
        jsr pc,fmove
        mov r3,r0
        mov r4,r1
        jsr pc,fdiv
        mov r3,r0
        mov r4,r1
        jsr pc,fadd
        mov r3,r0
        mov #half,r1
        jsr pc,fmul
        mov r4,r0
        mov r3,r1
        jsr pc,fmove
        sob r2,sqrnewton
        mov r5,sp
        add #SQT2,sp
        mov r5,r4               ; R: y * 10^-q, to the nearest whole number
        add #SQR,r4
        mov r5,r1
        add #SQY,r1
        jsr pc,numunpack
        mov REXP(r4),r2
        sub SQQ(r5),r2
        clr REXP(r4)
        tst r2
        bge sqrup
        neg r2
        jsr pc,roundoff
        br sqrcheck
sqrup:  jsr pc,digitsup
sqrcheck:
        mov r5,r4               ; R^2
        add #SQP,r4
        mov r5,r2
        add #SQR+RL3,r2
        mov r2,r3
        jsr pc,coefmul
        mov r5,r4
        add #SQT2,r4
        jsr pc,sqrtrecord
        mov r5,r3               ; T against R^2
        add #SQP,r3
        jsr pc,limbcmp
        blo sqrbelow
        mov r5,r3               ; T - R^2 <= R?
        add #SQP,r3
        clr r2
        jsr pc,limbsub
        mov r5,r3
        add #SQR,r3
        jsr pc,limbcmp
        blos sqrright
        mov r5,r4               ; too small: R + 1
        add #SQR,r4
        inc RL5(r4)
        cmp RL5(r4),#10000.
        blo sqrcheck
        clr RL5(r4)
        inc RL4(r4)
        cmp RL4(r4),#10000.
        blo sqrcheck
        clr RL4(r4)
        inc RL3(r4)
        br sqrcheck
sqrbelow:
        mov r4,r3               ; R^2 - T < R?
        mov r5,r4
        add #SQP,r4
        clr r2
        jsr pc,limbsub
        mov r5,r3
        add #SQR,r3
        jsr pc,limbcmp
        blo sqrright
        mov r5,r4               ; too large: R - 1
        add #SQR,r4
        dec RL5(r4)
        bge sqrcheck
        add #10000.,RL5(r4)
        dec RL4(r4)
        bge sqrcheck
        add #10000.,RL4(r4)
        dec RL3(r4)
        br sqrcheck
sqrright:
        mov r5,r4
        add #SQR,r4
        mov SQQ(r5),REXP(r4)
        clr RSIGN(r4)
        mov SQX(r5),r0
        jsr pc,numpack
sqrend: mov r5,sp
        jmp fret

; sqrtrecord: T of fsqr's x into the record at R4, and q. Changes R0 to R3.
sqrtrecord:
        mov SQX(r5),r1
        jsr pc,numunpack
        jsr pc,coefdigits
        mov #12.,r2             ; A of twelve digits
        sub r0,r2
        sub r2,REXP(r4)
        jsr pc,digitsup
        mov #12.,r2
        bit #1,REXP(r4)
        beq sqrteven
        dec r2
sqrteven:
        mov REXP(r4),r0
        sub r2,r0
        asr r0
        mov r0,SQQ(r5)
        jmp digitsup

; --- Powers and logarithms ---

; horner: x (R4) := P(z) - 1 for the polynomial P, in the number at R3,
; whose coefficients lie at R2, the highest first, the last a 1 that a 0
; follows. The terms are small enough never to overflow. The 1 is left out
; as its sum would round away digits of the rest: a caller takes y P as y +
; y (P - 1). Changes R0 to R2.
horner: mov r4,r0
        mov r2,r1
        jsr pc,fmove
hornerstep:
        add #FSIZE,r2
        tst FSIZE(r2)
        beq hornerend
        mov r4,r0
        mov r3,r1
        jsr pc,fmul
        mov r4,r0
        mov r2,r1
        jsr pc,fadd
        br hornerstep
hornerend:
        mov r4,r0
        mov r3,r1
        jmp fmul

; fexp: x := e^x. With k the whole number nearest x / ln 10, e^x = 10^k *
; e^r for r = x - k ln 10, taken in two parts so that k times the first is
; exact; then with n the whole number nearest 8r, e^r = e^(n/8) * e^(r -
; n/8), the first from a table and the second, below 1/16, nine terms of
; its series, taken as e^(n/8) + e^(n/8) (its series - 1).
EXK = -2                        ; the frame: k
EXT = -0A                       ; a number
EXC = -0C                       ; -> the small addend
EXN = -0E                       ; n, once k ln 10 is off
fexp:   mov #fzero,r1
; fexpplus: x := e^(x + c) for the small number c at R1, below 1E-8 of x,
; which joins r: fpow's way to more than twelve digits of x.
fexpplus:
        jsr r5,fsave
        mov sp,r5
        sub #0C,sp
        mov r1,EXC(r5)
        mov r0,r4               ; R4 -> x, R3 -> t
        mov r5,r3
        add #EXT,r3
        mov r3,r0
        mov r4,r1
        jsr pc,fmove
        mov r3,r0
        mov #log10e,r1
        jsr pc,fmul
        mov r3,r0               ; the nearest whole number: INT(t + 1/2)
        mov #half,r1
        jsr pc,fadd
        mov r3,r0
        jsr pc,fint
        mov r3,r0
        jsr pc,toint
        bcs expfar
        cmp r1,#101.
        bgt expfar
        cmp r1,#-101.
        blt expfar
        mov r1,EXK(r5)
        mov #ln10hi,r2          ; x -= k ln 10, in two parts
        jsr pc,expminus
        mov #ln10lo,r2
        jsr pc,expminus
        mov r4,r0
        mov EXC(r5),r1
        jsr pc,fadd
        mov r3,r0               ; n
        mov r4,r1
        jsr pc,fmove
        mov r3,r0
        mov #eight,r1
        jsr pc,fmul
        mov r3,r0
        mov #half,r1
        jsr pc,fadd
        mov r3,r0
        jsr pc,fint
        mov r3,r0
        jsr pc,toint
        mov r1,-(sp)
        mov r3,r0               ; x -= n/8
        jsr pc,fromint
        mov r3,r0
        mov #eighth,r1
        jsr pc,fmul
        mov r4,r0
        mov r3,r1
        jsr pc,fsub
        mov r3,r0               ; e^x by its series
        mov r4,r1
        jsr pc,fmove
        mov #expseries,r2
        jsr pc,horner
        mov EXN(r5),r3          ; times e^(n/8)
        add #9.,r3
        mul #FSIZE,r3
        add #expeighths,r3
        mov r4,r0
        mov r3,r1
        jsr pc,fmul
        mov r4,r0
        mov r3,r1
        jsr pc,fadd
        mov r4,r0               ; times 10^k
        mov EXK(r5),r1
        jsr pc,scale10
        br expend
expfar: tst (r4)                ; |x| of 230 or more
        bmi expzero
        mov #FEOVERFLOW,r0
        br expend
expzero:
        mov r4,r0
        jsr pc,fclr
        clr r0
expend: mov r5,sp
        jmp fret
; expminus: x (R4) -= k * the constant at R2, with t (R3).
expminus:
        mov r3,r0
        mov EXK(r5),r1
        jsr pc,fromint
        mov r3,r0
        mov r2,r1
        jsr pc,fmul
        mov r4,r0
        mov r3,r1
        jmp fsub

; scale10: x (R0) := x * 10^R1; R0 = 0 or FEOVERFLOW. Changes R1 to R3.
scale10:
        mov r4,-(sp)
        mov r0,-(sp)
        sub #RSIZE,sp
        mov sp,r4
        mov r1,-(sp)
        mov r0,r1
        jsr pc,numunpack
        add (sp)+,REXP(r4)
        mov RSIZE(sp),r0
        jsr pc,numpack
        add #RSIZE+2,sp
        mov (sp)+,r4
        rts pc

; fln: x := ln x; flog: x := the logarithm of x to the base 10; FEARGUMENT
; for x <= 0. Near 1, from 1/2 to 2, ln x = 2 (s + s^3/3 + s^5/5 ...) for
; s = (x - 1) / (x + 1), below 1/3. Elsewhere x = m * 10^k, m from 1 to 10,
; and with j the whole part of m, ln x = k ln 10 + ln j + ln (m / j), the
; last again by the series, s = (m - j) / (m + j): no digits cancel, and
; the logarithm of a power of ten comes out whole. k ln 10 + ln j is taken
; in a part that is exact and the rest. lnsplit, fpow's entry, also leaves
; what ln x has beyond its rounding in a number whose address fpow pushed.
; The frame is kept small, k and j in R2, as fpow calls this with its own
; frame below: R2 has k in its low byte, j in bits 8 to 11, bit 14 set for
; lnsplit and bit 15 for flog; R4 -> x.
LNZ = -8                        ; the frame: a number: j, m + j, then s^2
LNS = -10                       ; s, once the divisions are done
fln:    jsr r5,fsave
        mov #100,r2             ; j = 1, k = 0
        br lnstart
flog:   jsr r5,fsave
        mov #8100,r2
        br lnstart
lnsplit:
        jsr r5,fsave
        mov #4100,r2
lnstart:
        mov sp,r5
        sub #8,sp
        mov r0,r4
        tst (r0)
        bgt lnpositive
        mov #FEARGUMENT,r0
        jmp lnend
lnpositive:
        mov #half,r1
        jsr pc,fcmp
        blt lnscale
        mov r4,r0
        mov #two,r1
        jsr pc,fcmp
        blt lnnear
lnscale:                        ; m := x * 10^-k
        mov r2,-(sp)
        sub #RSIZE,sp
        mov r4,r1
        mov r4,-(sp)
        mov sp,r4
        add #2,r4
        jsr pc,numunpack
        jsr pc,coefdigits
        add REXP(r4),r0
        dec r0
        sub r0,REXP(r4)
        mov r0,-(sp)
        mov 2(sp),r0
        jsr pc,numpack
        mov (sp)+,r3            ; k
        mov (sp)+,r4
        add #RSIZE,sp
        mov (sp)+,r2
        bic #0FFF,r2
        bic #0FF00,r3
        bis r3,r2
        mov r4,r0               ; j
        jsr pc,toint
        mov r1,r3
        swab r3
        bis r3,r2
lnnear: mov r5,r0               ; x := s = (m - j) / (m + j), m - j exact
        add #LNZ,r0
        jsr pc,lnj
        mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fsub
        mov r5,r0
        add #LNZ,r0
        mov r0,r1
        jsr pc,fadd
        mov r5,r0
        add #LNZ,r0
        mov r4,r1
        jsr pc,fadd
        bit #4000,r2
        beq lndivide
        jsr pc,lnexact
        br lndivided
lndivide:
        mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fdiv
lndivided:
        sub #8,sp               ; s aside, z := s^2
        mov r5,r0
        add #LNS,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #LNZ,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #LNZ,r0
        mov r0,r1
        jsr pc,fmul
        mov r2,-(sp)            ; x := s (1 + z/3 + z^2/5 ...)
        mov r5,r3
        add #LNZ,r3
        mov #lnseries,r2
        jsr pc,horner
        mov (sp)+,r2
        mov r4,r0
        mov r5,r1
        add #LNS,r1
        jsr pc,fmul
        mov r2,r3               ; R3 -> ln j in two parts, its first eight
        swab r3                 ; decimals and the rest
        bic #0FFF0,r3
        dec r3
        asl r3
        asl r3
        asl r3
        add #lnwhole,r3
        bit #4000,r2
        beq lnrounded
        jsr pc,lnexactsum
        br lnend
lnrounded:
        mov r4,r0
        mov r5,r1
        add #LNS,r1
        jsr pc,fadd
        add #8,sp
        mov r4,r0               ; times 2
        mov #two,r1
        jsr pc,fmul
        mov r4,r0
        mov r3,r1
        add #9.*FSIZE,r1
        jsr pc,fadd
        tst r2
        bmi lnbase10
        mov #ln10lo,r1          ; + k ln 10 in two parts: the small one,
        jsr pc,lnktimes         ; then the large one, k ln10hi + ln j, exact
        mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fadd
        jsr pc,lnlarge
lnsum:  mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fadd
        br lnend
lnbase10:                       ; + ln j's large part, / ln 10, + k
        mov r4,r0
        mov r3,r1
        jsr pc,fadd
        mov r4,r0
        mov #log10e,r1
        jsr pc,fmul
        mov r5,r0
        add #LNZ,r0
        movb r2,r1
        jsr pc,fromint
        mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fadd
lnend:  mov r5,sp
        jmp fret
; lnlarge: z := k ln10hi + ln j's first eight decimals, exact.
lnlarge:
        mov #ln10hi,r1
        jsr pc,lnktimes
        mov r5,r0
        add #LNZ,r0
        mov r3,r1
        jmp fadd

; lnexactsum: for fpow, x := ln x rounded, and o := the rest, to about 24
; digits: x holds s (P - 1) and o what s lost. The small terms are summed
; in o, the large ones, s twice and the part of k ln 10 + ln j that is
; exact, in x with their rounding errors (Fast2Sum, and 2Sum where either
; may be the larger) added to o; then o goes into x likewise. R3 -> ln j.
lnexactsum:
        mov r4,r0               ; o += 2 s (P - 1), ln j's and k ln 10's
        mov r4,r1               ; small parts
        jsr pc,fadd
        mov 0A(r5),r0
        mov r4,r1
        jsr pc,fadd
        mov 0A(r5),r0
        mov r3,r1
        add #9.*FSIZE,r1
        jsr pc,fadd
        mov #ln10lo,r1
        jsr pc,lnktimes
        mov 0A(r5),r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fadd
        jsr pc,lnlarge          ; z := the large part, A
        mov r4,r0               ; x := s + s
        mov r5,r1
        add #LNS,r1
        jsr pc,fmove
        mov r5,r1
        add #LNS,r1
        jsr pc,lnbig
        mov r3,r0               ; x += A by 2Sum, with w (R3) and s's
        mov r4,r1               ; place: w := x, x += A, s := x - A,
        jsr pc,fmove            ; w -= s; s -= x, A += s, w += A
        mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fadd
        mov r5,r0
        add #LNS,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #LNS,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fsub
        mov r3,r0
        mov r5,r1
        add #LNS,r1
        jsr pc,fsub
        mov r5,r0
        add #LNS,r0
        mov r4,r1
        jsr pc,fsub
        mov r5,r0
        add #LNZ,r0
        mov r5,r1
        add #LNS,r1
        jsr pc,fadd
        mov r3,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fadd
        mov 0A(r5),r0
        mov r3,r1
        jsr pc,fadd
        mov r5,r0               ; x += o, o := the rounding error
        add #LNS,r0
        mov 0A(r5),r1
        jsr pc,fmove
        mov 0A(r5),r0
        jsr pc,fclr
        mov r5,r1
        add #LNS,r1
; lnbig: x += the number y at R1, o += the rounding error, exact when x is
; the larger: w (R3 -> it) := x, x += y, w -= x, w += y.
lnbig:  mov r1,-(sp)
        mov 0A(r5),r3
        sub #FSIZE,r3
        mov r3,r0
        mov r4,r1
        jsr pc,fmove
        mov r4,r0
        mov (sp),r1
        jsr pc,fadd
        mov r3,r0
        mov r4,r1
        jsr pc,fsub
        mov r3,r0
        mov (sp)+,r1
        jsr pc,fadd
        mov 0A(r5),r0
        mov r3,r1
        jmp fadd

; lnj: the number at R0 := j.
lnj:    mov r2,r1
        swab r1
        bic #0FFF0,r1
        jmp fromint

; lnexact: for fpow, x := s = (m - j) / (m + j) as the rest of fln takes it,
; and the number o at 0A(R5), where fpow wants what ln x has beyond the
; rounded sum, := what s lost, twice (as ln x takes 2 s): with D the
; rounded m + j and j' = D - m, e = j' - j is exact, s = (m - j') / D with
; D exact, and ln j' = ln j + e/j; the remainder of the division, exact
; from fmulsplit, gives the digits beyond s. The number w just below o is
; fpow's too. R4 -> m - j, z = D. Changes R0, R1 and R3.
lnexact:
        mov 0A(r5),r3           ; R3 -> w := 2j
        sub #FSIZE,r3
        mov r3,r0
        jsr pc,lnj
        mov r3,r0
        mov r3,r1
        jsr pc,fadd
        mov 0A(r5),r0           ; o := D - 2j - (m - j) = e
        mov r5,r1
        add #LNZ,r1
        jsr pc,fmove
        mov 0A(r5),r0
        mov r3,r1
        jsr pc,fsub
        mov 0A(r5),r0
        mov r4,r1
        jsr pc,fsub
        mov r4,r0               ; x := m - j'
        mov 0A(r5),r1
        jsr pc,fsub
        mov r3,r0               ; o := e/j
        jsr pc,lnj
        mov 0A(r5),r0
        mov r3,r1
        jsr pc,fdiv
        mov r3,r0               ; w := m - j'; x := s, rounded
        mov r4,r1
        jsr pc,fmove
        mov r4,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fdiv
        sub #FSIZE,sp           ; z and a number on the stack := s D
        mov sp,r0               ; exactly, in two parts
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #LNZ,r0
        mov sp,r1
        jsr pc,fmulsplit
        mov r3,r0               ; w := m - j' - s D, the remainder
        mov r5,r1
        add #LNZ,r1
        jsr pc,fsub
        mov r3,r0
        mov sp,r1
        jsr pc,fsub
        add #FSIZE,sp
        tst (r4)
        beq lnexactend
        mov r3,r0               ; o += 2 (remainder / D), D taken as (s D) / s
        mov r4,r1
        jsr pc,fmul
        mov r3,r0
        mov r5,r1
        add #LNZ,r1
        jsr pc,fdiv
        mov r3,r0
        mov r3,r1
        jsr pc,fadd
        mov 0A(r5),r0
        mov r3,r1
        jsr pc,fadd
lnexactend:
        rts pc

; lnktimes: z := k times the constant at R1.
lnktimes:
        mov r1,-(sp)
        mov r5,r0
        add #LNZ,r0
        movb r2,r1
        jsr pc,fromint
        mov r5,r0
        add #LNZ,r0
        mov (sp)+,r1
        jmp fmul

; fpow: x := x^y. A whole power below 32768 of x = c 10^e, c whole, by
; repeated squaring of c while c^n stays below 10^12, so exact; other powers of a positive x as e^(y ln x); a
; whole power of a negative x so too, with the sign its oddness gives.
; FEARGUMENT for a negative x to a power not whole and for 0 to a negative
; power. It leaves R2 and R3 alone and saves only R4 and R5: it calls fln
; with its frame below, and that chain uses the most stack. R4 -> x.
PWN = -2                        ; the frame: the whole power; or 1 for an odd
                                ; one, and bit 15 the sign of ln |x|
PWY = -0A                       ; y
PWBITS = -0C                    ; the power's bits not yet used
PWB = -14                       ; the base being squared
PWR = -1C                       ; the power so far
PWE = -1E                       ; the exponent of x's digits
PWL = -12                       ; or: ln |x| beyond its first twelve digits
fpow:   mov r5,-(sp)
        mov r4,-(sp)
        mov sp,r5
        sub #0A,sp
        mov r0,r4
        mov r5,r0
        add #PWY,r0
        jsr pc,fmove
        mov r5,r0
        add #PWY,r0
        tst (r0)                ; x^0 = 1
        bne pownonzero
        mov r4,r0
        mov #one,r1
        jsr pc,fmove
        jmp powok
pownonzero:
        mov (r0),r1
        bic #8000,r1
        cmp r1,#EBIAS
        bhis powwholeish
        jmp powreal             ; not whole
powwholeish:
        jsr pc,toint
        bcc powword
        jmp powbig
powword:
        mov r1,PWN(r5)
        bpl powwhole
        tst (r4)                ; a negative power: 0 has none
        bne powwhole
        mov #FEARGUMENT,r0
        jmp powend
powwhole:
        sub #14,sp
        mov PWN(r5),PWBITS(r5)
        bpl powbase
        neg PWBITS(r5)          ; 32768 stays, unsigned
powbase:                        ; x = c 10^e, c whole without trailing zeros
        mov r5,r0
        add #PWB,r0
        mov r4,r1
        jsr pc,fmove
        mov (r4),r0
        bic #8000,r0
        sub #EBIAS,r0
        mov r0,PWE(r5)
        mov r2,-(sp)
        mov r3,-(sp)
        mov r4,-(sp)
powstrip:
        tst PWB(r5)
        beq powstripped
        cmp PWE(r5),#99.        ; no number has more zeros
        bgt powstripped
        mov PWB+6(r5),r1
        clr r0
        div #10.,r0
        tst r1
        bne powstripped
        mov r5,r4
        add #PWB+2,r4
        mov #3,r3
        mov #10.,r2
        jsr pc,limbdiv
        inc PWE(r5)
        br powstrip
powstripped:
        mov (sp)+,r4
        mov (sp)+,r3
        mov (sp)+,r2
        bic #7FFF,PWB(r5)
        bis #EBIAS,PWB(r5)
        mov r5,r0               ; c^n while it stays whole below 10^12,
        add #PWR,r0             ; which it is exactly; else e^(y ln x)
        mov #one,r1
        jsr pc,fmove
powbit: clc                     ; the lowest bit of the power
        ror PWBITS(r5)
        bcc powsquare
        mov r5,r0
        add #PWR,r0
        mov r5,r1
        add #PWB,r1
        jsr pc,fmul
        bcs powinexact
        mov PWR(r5),r0
        bic #8000,r0
        cmp r0,#EBIAS
        bne powinexact
powsquare:
        tst PWBITS(r5)
        beq powscale
        mov r5,r0
        add #PWB,r0
        mov r0,r1
        jsr pc,fmul
        bcs powinexact
        mov PWB(r5),r0
        bic #8000,r0
        cmp r0,#EBIAS
        beq powbit
powinexact:
        mov r5,sp
        sub #0A,sp
        bic #0FFFE,PWN(r5)      ; whether the power is odd, which matters
        tst (r4)                ; for a negative x only
        bmi powinexactlog
        clr PWN(r5)
powinexactlog:
        jmp powlog
powscale:                       ; x := c^n 10^(e n)
        mov r4,r0
        mov r5,r1
        add #PWR,r1
        jsr pc,fmove
        mov PWN(r5),r1
        bpl powpositive
        neg r1
        bpl powpositive
        dec r1                  ; 32767 for 32768: beyond the range too
powpositive:
        mul PWE(r5),r1
        cmp r1,#-1000.          ; so far beyond the range that the exact
        bge powabove            ; power does not matter
        mov #-1000.,r1
powabove:
        tst r0
        bmi powscaled
        bne powfar
        cmp r1,#1000.
        ble powscaled
powfar: mov #1000.,r1
powscaled:
        mov r2,-(sp)
        mov r3,-(sp)
        mov r4,r0
        jsr pc,scale10
        mov (sp)+,r3
        mov (sp)+,r2
        tst r0
        beq powdone
powover:
        tst PWN(r5)             ; 1 / (too large) is 0
        bmi powoverzero
        jmp powend
powoverzero:
        jmp powzero
powdone:
        tst PWN(r5)
        bmi powinverse
        jmp powok
powinverse:
        mov r5,r0               ; 1 / x^n
        add #PWB,r0
        mov r4,r1
        jsr pc,fmove
        mov r4,r0
        mov #one,r1
        jsr pc,fmove
        mov r4,r0
        mov r5,r1
        add #PWB,r1
        jsr pc,fdiv
        bcc powok
        mov #FEOVERFLOW,r0      ; 1 / (too small)
        br powend
powbig: clr PWN(r5)             ; a whole power beyond a word: odd when
        tst (r4)                ; its exponent is 0 and its last digit odd,
        bpl powlog              ; which matters for a negative x only
        mov PWY(r5),r1
        bic #8000,r1
        cmp r1,#EBIAS
        bne powlog
        bit #1,PWY+6(r5)
        beq powlog
        inc PWN(r5)
        br powlog
powreal:
        clr PWN(r5)
        tst (r4)
        bpl powlog
        mov #FEARGUMENT,r0
        br powend
powlog: mov r4,r0               ; |x|^y = e^(y ln |x|)
        jsr pc,fabs
        tst (r4)
        bne powln
        tst PWY(r5)             ; 0 to a positive power
        bpl powok
        mov #FEARGUMENT,r0
        br powend
powln:  sub #FSIZE+FSIZE,sp       ; ln |x| to more than twelve digits, a
        mov r5,-(sp)            ; rounded part and the rest, with a number
        add #PWL,(sp)           ; below for fln's own use
        mov r4,r0
        jsr pc,lnsplit
        tst (sp)+
        mov (r4),r1
        bic #7FFF,r1
        bis r1,PWN(r5)
        mov r5,r0               ; y times the rest
        add #PWL,r0
        mov r5,r1
        add #PWY,r1
        jsr pc,fmul
        mov r4,r0               ; y times the rounded part, exact in two
        mov r5,r1               ; parts: e^(x + t) for t = what y held plus
        add #PWY,r1             ; the product before, below 1E-9 of x
        jsr pc,fmulsplit
        bcs powlarge
        mov r5,r0
        add #PWY,r0
        mov r5,r1
        add #PWL,r1
        jsr pc,fadd
        mov r4,r0               ; e^(x + t)
        mov r5,r1
        add #PWY,r1
        jsr pc,fexpplus
        bcs powend
        bit #1,PWN(r5)          ; an odd power of a negative x
        beq powok
        mov r4,r0
        jsr pc,fneg
        br powok
powlarge:
        mov PWY(r5),r0          ; y ln |x| too large: beyond the range, or 0
        mov PWN(r5),r1
        xor r0,r1
        bmi powzero
        mov #FEOVERFLOW,r0
        br powend
powzero:
        mov r4,r0
        jsr pc,fclr
powok:  clr r0
powend: mov r5,sp
        mov (sp)+,r4
        mov (sp)+,r5
        tst r0
        beq powreturn
        sec
powreturn:
        rts pc

; --- Circular functions ---

; fsin, fcos, ftan: x := the sine, cosine or tangent of the angle x in
; radians; FEARGUMENT when x is so large that its quarter turns do not fit a
; word (about 51000). With k the whole number nearest x / (pi/2), r = x -
; k pi/2, pi/2 taken in two parts so that k times the first is exact, and r
; is at most pi/4; sin r and cos r are their series in r^2, and k mod 4
; picks which of them, and the sign.
TRK = -2                        ; the frame: k
TRF = -4                        ; 0 for sin, 1 for cos, 2 for tan
TRT = -0C                       ; a number
TRZ = -14                       ; r^2
fsin:   jsr r5,fsave
        clr r2
        br trigstart
fcos:   jsr r5,fsave
        mov #1,r2
        br trigstart
ftan:   jsr r5,fsave
        mov #2,r2
trigstart:
        mov sp,r5
        sub #14,sp
        mov r2,TRF(r5)
        mov r0,r4               ; R4 -> x
        mov r5,r3
        add #TRT,r3
        mov r3,r0               ; k
        mov r4,r1
        jsr pc,fmove
        mov r3,r0
        mov #twooverpi,r1
        jsr pc,fmul
        mov r3,r0
        mov #half,r1
        jsr pc,fadd
        mov r3,r0
        jsr pc,fint
        mov r3,r0
        jsr pc,toint
        bcs trigfar
        mov r1,TRK(r5)
        beq trignear
        jsr pc,trigreduce
trignear:
        mov r5,r0               ; r^2
        add #TRZ,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #TRZ,r0
        mov r0,r1
        jsr pc,fmul
        cmp TRF(r5),#2
        beq trigtan
        mov TRK(r5),r2          ; the quarter turn: cos x = sin (x + pi/2)
        add TRF(r5),r2
        bit #1,r2
        bne trigcos
        jsr pc,trigsine
        br trigsign
trigcos:
        jsr pc,trigcosine
trigsign:
        mov TRK(r5),r2
        add TRF(r5),r2
        bit #2,r2
        beq trigok
        mov r4,r0
        jsr pc,fneg
trigok: clr r0
        br trigend
trigtan:                        ; tan r, or -1/tan r in an odd quarter
        jsr pc,trigsine
        mov r4,-(sp)
        mov r5,r4
        add #TRT,r4
        mov r5,r3
        add #TRZ,r3
        mov #cosseries,r2
        jsr pc,horner
        mov (sp)+,r4
        mov r5,r0
        add #TRT,r0
        mov #one,r1
        jsr pc,fadd
        bit #1,TRK(r5)
        bne trigcot
        mov r4,r0
        mov r5,r1
        add #TRT,r1
        jsr pc,fdiv
        br trigend
trigcot:
        mov r5,r0
        add #TRZ,r0
        mov r4,r1
        jsr pc,fmove
        mov r4,r0
        mov r5,r1
        add #TRT,r1
        jsr pc,fmove
        mov r4,r0
        mov r5,r1
        add #TRZ,r1
        jsr pc,fdiv
        bcs trigend
        mov r4,r0
        jsr pc,fneg
        br trigok
trigfar:
        mov #FEARGUMENT,r0
trigend:
        mov r5,sp
        jmp fret
; trigreduce: x := r = x - k pi/2, pi/2 taken in four parts: k times each
; of the first three is exact, and so is each difference while r is small,
; so that near a multiple of pi/2 the digits that cancel are right ones.
; The last part falls through into trigminus.
trigreduce:
        mov #halfpi1,r2
        jsr pc,trigminus
        mov #halfpi2,r2
        jsr pc,trigminus
        mov #halfpi3,r2
        jsr pc,trigminus
        mov #halfpi4,r2
; trigminus: x -= k * the constant at R2, with t.
trigminus:
        mov r5,r0
        add #TRT,r0
        mov TRK(r5),r1
        jsr pc,fromint
        mov r5,r0
        add #TRT,r0
        mov r2,r1
        jsr pc,fmul
        mov r4,r0
        mov r5,r1
        add #TRT,r1
        jmp fsub
; trigsine: x := sin x, x being r; trigcosine: x := cos r.
trigsine:
        mov r4,-(sp)
        mov r5,r4
        add #TRT,r4
        mov r5,r3
        add #TRZ,r3
        mov #sinseries,r2
        jsr pc,horner
        mov (sp)+,r4
        mov r5,r0
        add #TRT,r0
        mov r4,r1
        jsr pc,fmul
        mov r4,r0
        mov r5,r1
        add #TRT,r1
        jmp fadd
trigcosine:
        mov r5,r3
        add #TRZ,r3
        mov #cosseries,r2
        jsr pc,horner
        mov r4,r0
        mov #one,r1
        jmp fadd

; fatn: x := the angle in radians, from -pi/2 to pi/2, whose tangent is x.
; For a = |x| above 1, atn a = pi/2 - atn(1/a); above tan 15 degrees, atn a
; = pi/6 + atn((a sqr 3 - 1) / (a + sqr 3)); below that, a - a^3/3 + a^5/5
; ..., lnseries's polynomial in -a^2.
ATF = -2                        ; the frame: 1 once 1/a is taken, 2 once
                                ; pi/6 is to be added, 8000 for x < 0
ATT = -0A                       ; a number
ATA = -12                       ; a
fatn:   jsr r5,fsave
        mov sp,r5
        sub #12,sp
        mov r0,r4
        mov (r0),ATF(r5)
        bic #7FFF,ATF(r5)
        jsr pc,fabs
        mov r4,r0
        mov #one,r1
        jsr pc,fcmp
        ble atnbelow1
        mov r5,r0               ; a := 1 / a
        add #ATT,r0
        mov r4,r1
        jsr pc,fmove
        mov r4,r0
        mov #one,r1
        jsr pc,fmove
        mov r4,r0
        mov r5,r1
        add #ATT,r1
        jsr pc,fdiv
        inc ATF(r5)
atnbelow1:
        mov r4,r0
        mov #tan15,r1
        jsr pc,fcmp
        ble atnsmall
        mov r5,r0               ; a := (a sqr 3 - 1) / (a + sqr 3)
        add #ATT,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #ATT,r0
        mov #sqrt3,r1
        jsr pc,fadd
        mov r4,r0
        mov #sqrt3,r1
        jsr pc,fmul
        mov r4,r0
        mov #one,r1
        jsr pc,fsub
        mov r4,r0
        mov r5,r1
        add #ATT,r1
        jsr pc,fdiv
        bis #2,ATF(r5)
atnsmall:
        mov r5,r0               ; a aside, and -a^2
        add #ATA,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #ATT,r0
        mov r4,r1
        jsr pc,fmove
        mov r5,r0
        add #ATT,r0
        mov r0,r1
        jsr pc,fmul
        mov r5,r0
        add #ATT,r0
        jsr pc,fneg
        mov r5,r3
        add #ATT,r3
        mov #lnseries,r2
        jsr pc,horner
        mov r4,r0
        mov r5,r1
        add #ATA,r1
        jsr pc,fmul
        mov r4,r0
        mov r5,r1
        add #ATA,r1
        jsr pc,fadd
        bit #2,ATF(r5)
        beq atnturn
        mov r4,r0
        mov #sixthpi,r1
        jsr pc,fadd
atnturn:
        bit #1,ATF(r5)
        beq atnsign
        mov r4,r0               ; pi/2 - atn(1/a)
        jsr pc,fneg
        mov r4,r0
        mov #halfpi,r1
        jsr pc,fadd
atnsign:
        tst ATF(r5)
        bpl atndone
        mov r4,r0
        jsr pc,fneg
atndone:
        clr r0
        mov r5,sp
        jmp fret

; Constants.
fzero:  .word 0, 0, 0, 0
one:    .word 80, 0., 0., 1.
two:    .word 80, 0., 0., 2.
half:   .word 7F, 0., 0., 5.
eighth: .word 7D, 0., 0., 125.
eight:  .word 80, 0., 0., 8.
ln10hi: .word 78, 2., 3025., 8509.      ; ln 10 in nine digits,
ln10lo: .word 6C, 2994., 456., 8402.    ; and the rest
log10e: .word 74, 4342., 9448., 1903.   ; 1 / ln 10
twooverpi:
        .word 74, 6366., 1977., 2368.   ; 2 / pi
halfpi: .word 75, 1570., 7963., 2679.
halfpi1:                                ; pi/2 to 33 digits in four parts,
        .word 7A, 0., 157., 796.        ; k times each of the first three
halfpi2:                                ; exact for k below 10^5
        .word 73, 0., 326., 7948.
halfpi3:
        .word 6C, 0., 966., 1923.
halfpi4:
        .word 60, 1321., 6916., 3975.
sixthpi:
        .word 74, 5235., 9877., 5598.
sqrt3:  .word 75, 1732., 508., 757.
tan15:  .word 74, 2679., 4919., 2431.   ; tan 15 degrees, 2 - sqr 3
sinseries:                              ; -1/15! up to 1/1!, then a 0
        .word 8068, 7647., 1637., 3182.
        .word 6B, 1605., 9043., 8368.
        .word 806D, 2505., 2108., 3854.
        .word 70, 275., 5731., 9224.
        .word 8071, 1984., 1269., 8413.
        .word 72, 8333., 3333., 3333.
        .word 8074, 1666., 6666., 6667.
        .word 80, 0., 0., 1.
        .word 0
cosseries:                              ; 1/16! up to 1/0!, then a 0
        .word 67, 4779., 4773., 3239.
        .word 806A, 1147., 745., 5977.
        .word 6C, 2087., 6756., 9879.
        .word 806F, 275., 5731., 9224.
        .word 70, 2480., 1587., 3016.
        .word 8072, 1388., 8888., 8889.
        .word 73, 4166., 6666., 6667.
        .word 807F, 0., 0., 5.
        .word 80, 0., 0., 1.
        .word 0
expseries:                              ; 1/8! down to 1/0!, then a 0
        .word 70, 2480., 1587., 3016.
        .word 71, 1984., 1269., 8413.
        .word 72, 1388., 8888., 8889.
        .word 72, 8333., 3333., 3333.
        .word 73, 4166., 6666., 6667.
        .word 74, 1666., 6666., 6667.
        .word 7F, 0., 0., 5.
        .word 80, 0., 0., 1.
        .word 80, 0., 0., 1.
        .word 0
expeighths:                             ; e^(-9/8) to e^(9/8)
        .word 74, 3246., 5246., 7358.
        .word 74, 3678., 7944., 1171.
        .word 74, 4168., 6201., 9679.
        .word 74, 4723., 6655., 2741.
        .word 74, 5352., 6142., 8519.
        .word 74, 6065., 3065., 9713.
        .word 74, 6872., 8927., 8791.
        .word 74, 7788., 78., 3071.
        .word 74, 8824., 9690., 2585.
        .word 80, 0., 0., 1.
        .word 75, 1133., 1484., 5307.
        .word 75, 1284., 254., 1669.
        .word 75, 1454., 9914., 1462.
        .word 76, 164., 8721., 2707.
        .word 75, 1868., 2459., 5743.
        .word 75, 2117., 0., 1661.
        .word 75, 2398., 8752., 9397.
        .word 75, 2718., 2818., 2846.
        .word 75, 3080., 2168., 4892.
lnseries:                               ; 1/25, 1/23 down to 1/1
        .word 7E, 0., 0., 4.
        .word 73, 4347., 8260., 8696.
        .word 74, 476., 1904., 7619.
        .word 73, 5263., 1578., 9474.
        .word 73, 5882., 3529., 4118.
        .word 73, 6666., 6666., 6667.
        .word 73, 7692., 3076., 9231.
        .word 73, 9090., 9090., 9091.
        .word 74, 1111., 1111., 1111.
        .word 74, 1428., 5714., 2857.
        .word 7F, 0., 0., 2.
        .word 74, 3333., 3333., 3333.
        .word 80, 0., 0., 1.
lnwhole:                                ; ln 1 (0: the end of lnseries) to ln 9
        .word 0, 0., 0., 0.             ; to eight decimals,
        .word 78, 0., 6931., 4718.
        .word 78, 1., 986., 1228.
        .word 78, 1., 3862., 9436.
        .word 78, 1., 6094., 3791.
        .word 78, 1., 7917., 5946.
        .word 78, 1., 9459., 1014.
        .word 78, 2., 794., 4154.
        .word 78, 2., 1972., 2457.
        .word 0, 0., 0., 0.             ; and the rest
        .word 6B, 5599., 4530., 9417.
        .word 6D, 866., 8109., 6914.
        .word 6C, 1119., 8906., 1883.
        .word 6D, 243., 4100., 3746.
        .word 6C, 9228., 550., 81.
        .word 6C, 9055., 3133., 511.
        .word 6C, 1679., 8359., 2825.
        .word 6C, 7336., 2193., 8279.
