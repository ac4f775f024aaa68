        .radix 16
; A stand-in for the number module, with its calls: whole numbers from
; -32768 to 32767 in the first word of the eight bytes, the rest 0.
FSIZE = 8
FEOVERFLOW = 2
FEDIVZERO = 4
FEARGUMENT = 6

fadd:   add (r1),(r0)
        bvs fover
fok:    clc
        rts pc
fover:  mov #FEOVERFLOW,r0
        sec
        rts pc
fsub:   sub (r1),(r0)
        bvs fover
        br fok
fmul:   mov r3,-(sp)
        mov (r0),r3
        mul (r1),r3
        bcs 1$
        mov r3,(r0)
        mov (sp)+,r3
        br fok
1$:     mov (sp)+,r3
        br fover
fdiv:   tst (r1)
        bne 1$
        mov #FEDIVZERO,r0
        sec
        rts pc
1$:     mov r2,-(sp)
        mov r3,-(sp)
        mov (r0),r3
        sxt r2
        div (r1),r2
        bvs 2$
        mov r2,(r0)
        mov (sp)+,r3
        mov (sp)+,r2
        br fok
2$:     mov (sp)+,r3
        mov (sp)+,r2
        br fover
fpow:   mov r2,-(sp)
        mov r3,-(sp)
        mov (r1),r2
        mov (r0),r3
        mov #1,(r0)
        tst r2
        ble 2$
1$:     mov r3,-(sp)
        mov (r0),r1
        mul r3,r1
        mov (sp)+,r3
        bcs 3$
        mov r1,(r0)
        sob r2,1$
2$:     mov (sp)+,r3
        mov (sp)+,r2
        br fok
3$:     mov (sp)+,r3
        mov (sp)+,r2
        br fover
fcmp:   cmp (r0),(r1)
        beq 1$
        blt 2$
        mov #1,r0
        clc
1$:     rts pc
2$:     mov #-1,r0
        clc
        rts pc
fclr:   clr (r0)+
        clr (r0)+
        clr (r0)+
        clr (r0)
        br fok
fneg:   neg (r0)
        br fok
fabs:   tst (r0)
        bpl fok
        br fneg
fsgn:   tst (r0)
        beq fok
        bmi 1$
        mov #1,(r0)
        br fok
1$:     mov #-1,(r0)
        br fok
fint:   br fok
fsqr:   tst (r0)
        bpl 1$
        mov #FEARGUMENT,r0
        sec
        rts pc
1$:     clr r1
2$:     inc r1
        mov r1,-(sp)
        mul r1,r1
        cmp r1,(r0)
        mov (sp)+,r1
        blos 2$
        dec r1
        mov r1,(r0)
        br fok
frnd:   clr (r0)
        br fok
fmove:  mov (r1)+,(r0)+
        mov (r1)+,(r0)+
        mov (r1)+,(r0)+
        mov (r1),(r0)
        br fok
fromint:
        mov r1,(r0)+
        clr (r0)+
        clr (r0)+
        clr (r0)
        br fok
toint:  mov (r0),r1
        br fok
fok2:   clc
        rts pc
fover2: mov #FEOVERFLOW,r0
        sec
        rts pc
fparse: mov r2,-(sp)
        mov r3,-(sp)
        mov r1,r2
        clr r3
        cmpb (r2),#'0'
        blo 4$
        cmpb (r2),#'9'
        bhi 4$
1$:     movb (r2),r1
        sub #'0',r1
        cmp r1,#9
        bhi 2$
        mul #10.,r3
        bcs 6$
        add r1,r3
        bvs 6$
        inc r2
        br 1$
2$:     cmpb (r2),#'.'
        bne 3$
7$:     inc r2
        cmpb (r2),#'0'
        blo 3$
        cmpb (r2),#'9'
        blos 7$
3$:     mov r3,(r0)+
        clr (r0)+
        clr (r0)+
        clr (r0)
        mov r2,r1
        mov (sp)+,r3
        mov (sp)+,r2
        br fok2
4$:     mov (sp)+,r3
        mov (sp)+,r2
        clr r0
        sec
        rts pc
6$:     mov (sp)+,r3
        mov (sp)+,r2
        br fover2
fformat:
        mov r2,-(sp)
        mov r3,-(sp)
        mov (r0),r3
        bpl 1$
        movb #'-',(r1)+
        neg r3
1$:     clr -(sp)
2$:     clr r2
        div #10.,r2
        add #'0',r3
        mov r3,-(sp)
        mov r2,r3
        bne 2$
3$:     mov (sp)+,r3
        beq 4$
        movb r3,(r1)+
        br 3$
4$:     clrb (r1)
        mov (sp)+,r3
        mov (sp)+,r2
        br fok2
