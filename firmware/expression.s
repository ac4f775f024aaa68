        .radix 16
; The evaluator: the value of an expression, by precedence climbing. The
; operators, from the loosest:
;   OR   AND   NOT x   = <> < > <= >=   + -   * /   -x   ^
; each binding tighter than the ones before it, and those of one level from
; the left: 2^3^2 is 64, -2^2 is -4, NOT A=B is NOT (A=B). A comparison, AND,
; OR and NOT give 1 for true and 0 for false; any number but 0 is true.
; Values are numbers on the stack, the left operand's where R4 points while
; the right one is worked out below it. Every level of recursion checks the
; stack first, so a deep expression stops with TOO DEEP, never runs into
; the program.

; The operators, as numbers that index their precedence and routine.
OPOR = 1
OPAND = 2
OPEQ = 3
OPLT = 4
OPGT = 5
OPADD = 6
OPSUB = 7
OPMUL = 8
OPDIV = 9
OPPOW = 0A
OPLE = 0B
OPNE = 0C
OPGE = 0D
PNOT = 4                        ; NOT's operand binds as tightly as this
PNEG = 8                        ; and the operand of -x

precedences:                    ; by operator
        .byte 0, 1, 2, 4, 4, 4, 5, 5, 6, 6, 8, 4, 4, 4
        .assert . == precedences+OPGE+1, "one precedence for each operator"
        .even
routines:                       ; by operator, from OPOR
        .word orop, andop, eqop, ltop, gtop, fadd, fsub, fmul, fdiv, fpow
        .word leop, neop, geop
        .assert . == routines+2*OPGE, "one routine for each operator"

; The operator each character or token stands for, 0 for none.
optable:
        .org optable+'='
        .byte OPEQ
        .org optable+'<'
        .byte OPLT
        .org optable+'>'
        .byte OPGT
        .org optable+'+'
        .byte OPADD
        .org optable+'-'
        .byte OPSUB
        .org optable+'*'
        .byte OPMUL
        .org optable+'/'
        .byte OPDIV
        .org optable+'^'
        .byte OPPOW
        .org optable+TAND
        .byte OPAND
        .org optable+TOR
        .byte OPOR
        .org optable+100

; The functions of one argument, by token from TABS.
mathfunctions:
        .word fabs, fint, fsgn, fsqr, fln, flog, fexp, fsin, fcos, ftan, fatn
        .assert . == mathfunctions+2*(TATN-TABS+1), "one routine for each function token"

; expression: the value of the expression at R5 into the number at R4; R5
; past it. Keeps R4; changes R0 to R3.
expression:
        mov #1,r3
; binary: the operands and the operators that bind at least as tightly as
; R3, into (R4). Its frame is one word, the minimum in its low byte and the
; operator waiting for its right operand in its high byte; a waiting
; operator adds the left operand's address and room for the right one, 14
; bytes in all, and a bracket 4.
binary: cmp sp,#stacklimit
        bhis 1$
        jmp toodeep
1$:     mov r3,-(sp)
2$:     movb (r5)+,r0           ; the first operand: its signs and NOTs,
        cmpb r0,#' '            ; a bracket, or a primary
        beq 2$
        cmpb r0,#'+'
        beq 2$
        cmpb r0,#'-'
        beq 12$
        cmpb r0,#'('
        beq 14$
        cmpb r0,#TNOT
        beq 13$
        dec r5
        jsr pc,primary
3$:     movb (r5),r0            ; an operator next?
        cmpb r0,#' '
        bne 4$
        inc r5
        br 3$
4$:     bic #0FF00,r0
        movb optable(r0),r0
        beq 9$
        cmpb precedences(r0),(sp)
        blt 9$
        inc r5
        cmp r0,#OPLT            ; < may be <= or <>, > may be >=
        beq 10$
        cmp r0,#OPGT
        beq 11$
5$:     movb r0,1(sp)           ; the operator waits
        mov r4,-(sp)            ; with the left operand
        sub #FSIZE,sp           ; and the right one, binding tighter
        mov sp,r4
        movb precedences(r0),r3
        inc r3
        jsr pc,binary
        mov r4,r1
        mov FSIZE(sp),r4
        movb FSIZE+3(sp),r0
        asl r0
        mov routines-2(r0),r2
        mov r4,r0
        jsr pc,(r2)             ; (R0 = R4) op (R1) into (R4)
        bcs 8$
        add #FSIZE+2,sp
        br 3$
8$:     jmp error
9$:     tst (sp)+
        rts pc
10$:    cmpb (r5),#'='
        bne 6$
        mov #OPLE,r0
        inc r5
        br 5$
6$:     cmpb (r5),#'>'
        bne 5$
        mov #OPNE,r0
        inc r5
        br 5$
11$:    cmpb (r5),#'='
        bne 5$
        mov #OPGE,r0
        inc r5
        br 5$
12$:    mov #PNEG,r3            ; -x
        jsr pc,binary
        mov r4,r0
        jsr pc,fneg
        br 3$
13$:    mov #PNOT,r3            ; NOT x
        jsr pc,binary
        mov r4,r0
        jsr pc,iszero
        beq 7$
        jsr pc,setfalse
        br 3$
7$:     jsr pc,settrue
        br 3$
14$:    mov #1,r3               ; ( expression )
        jsr pc,binary
        mov #')',r0
        jsr pc,expect
        br 3$

; primary: a number, a variable, a function or a value without an argument,
; into (R4).
primary:
        movb (r5)+,r0
        cmpb r0,#' '
        beq primary
        mov r0,r1               ; A to Z: a variable
        sub #'A',r1
        cmp r1,#25.
        bhi 1$
        ash #3,r1
        add #vars,r1
        mov r4,r0
        jmp fmove
1$:     mov r0,r1
        sub #'0',r1
        cmp r1,#9
        blos 3$
        cmpb r0,#'.'
        beq 3$
        bic #0FF00,r0
        cmp r0,#TABS
        blo 2$
        cmp r0,#TATN
        blos 6$
        cmp r0,#TRND
        beq 7$
        cmp r0,#TMEM
        beq 8$
        cmp r0,#TANS
        beq 9$
        cmp r0,#TPI
        beq 12$
2$:     dec r5
        jmp syntaxerror
3$:     dec r5                  ; a number
        mov r4,r0
        mov r5,r1
        jsr pc,fparse
        bcs 4$
        mov r1,r5
        rts pc
4$:     tst r0
        beq 2$                  ; no number after all, as "."
        jmp error
6$:     sub #TABS,r0            ; a function of one argument
        asl r0
        mov mathfunctions(r0),-(sp)
        jsr pc,argument
        mov (sp)+,r1
        mov r4,r0
        jsr pc,(r1)
        bcs 10$
        rts pc
10$:    jmp error
7$:     jsr pc,skipblanks       ; RND, or RND(x) with x not looked at
        cmpb r0,#'('
        bne 11$
        jsr pc,argument
11$:    mov rndseed,r1          ; a seed never set, as on a fresh machine,
        bis rndseed+2,r1        ; is set first
        bis rndseed+4,r1
        bne 13$
        jsr pc,seedrnd
13$:    mov r4,r0
        jmp frnd
8$:     mov #progtop,r1         ; MEM: the bytes free for the program
        sub progend,r1
        mov r4,r0
        jmp fromint
9$:     mov r4,r0               ; ANS
        mov #answer,r1
        jmp fmove
12$:    mov r4,r0               ; PI, to the twelve digits a number keeps
        mov #pitext,r1
        jmp fparse
pitext: .asciz "3.14159265359"
        .even

; seedrnd: adds the key scans counted since power-on (keyboard.s) to the
; seed of RND: the timing of every key changes them. Changes R0.
seedrnd:
        mov keyscans,r0
        bic #8000,r0            ; the limb stays below 65536: frnd folds it
        add r0,rndseed+4
        rts pc

; argument: "(" expression ")" into (R4).
argument:
        mov #'(',r0
        jsr pc,expect
        mov #1,r3
        jsr pc,binary
        mov #')',r0
        jmp expect

; The operators that the number module does not do. Each gets R0 = R4 ->
; the left operand, which receives the result, and R1 -> the right one.
eqop:   jsr pc,fcmp
        beq settrue
        br setfalse
neop:   jsr pc,fcmp
        bne settrue
        br setfalse
ltop:   jsr pc,fcmp
        blt settrue
        br setfalse
leop:   jsr pc,fcmp
        ble settrue
        br setfalse
gtop:   jsr pc,fcmp
        bgt settrue
        br setfalse
geop:   jsr pc,fcmp
        bge settrue
        br setfalse
andop:  mov r1,r2
        jsr pc,iszero
        beq setfalse
        mov r2,r0
        jsr pc,iszero
        beq setfalse
        br settrue
orop:   mov r1,r2
        jsr pc,iszero
        bne settrue
        mov r2,r0
        jsr pc,iszero
        bne settrue
setfalse:
        mov r4,r0
        jmp fclr
settrue:
        mov r4,r0
        mov #1,r1
        jmp fromint

; iszero: Z set when the number at R0 is 0, whose only form is eight zero
; bytes. Changes R0.
iszero: tst (r0)+
        bne 1$
        tst (r0)+
        bne 1$
        tst (r0)+
        bne 1$
        tst (r0)
1$:     rts pc
