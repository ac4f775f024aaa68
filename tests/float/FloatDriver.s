        .radix 16
; The number module on a bench of its own. The test puts the operands in
; RAM, points the registers at them, pushes the address of "returned" and
; starts a routine found in the table at 200; the routine's return lands on
; "returned", where the processor loops until the test looks. Every vector
; leads to "trapped", which a sound routine never reaches.
        .org 0
        .word trapped, 0, trapped, 0, trapped, 0, trapped, 0
        .word trapped, 0, trapped, 0, trapped, 0, trapped, 0
        .org 78
        .word trapped, 0

        .org 1F0
returned:
        br returned
trapped:
        br trapped

; In the order of FloatBench.h.
        .org 200
routines:
        .word fadd, fsub, fmul, fdiv, fcmp
        .word fclr, fneg, fabs, fsgn, fint, fmove, fromint, toint
        .word fparse, fformat, frnd, fsqr, fpow, fln, fexp, flog
        .word fsin, fcos, ftan, fatn, fcheck

        .include "../../firmware/float.s"

        .org 8000
rndseed:
        .blkb 8
