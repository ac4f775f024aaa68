        .radix 16
; The evaluator: an integer expression on signed 16-bit numbers, by
; recursive descent:
;   sum     = product { (+ or -) product }
;   product = factor { (* or /) factor }
;   factor  = (+ or -) factor, or ( sum ), or a number, or ANS
; Blanks may stand between the parts. R5 walks the line, R0 carries values.
; A fault unwinds the recursion at once, through the stack pointer saved on
; entry.

; evaluate: C clear and R0 = the value; or C set, R0 = the message and R1 =
; the position in the line where evaluation stopped.
evaluate:
        mov sp,evalstack
        mov #line,r5
        jsr pc,sum
        jsr pc,nextchar
        tstb r1
        bne badsyntax           ; something follows the expression
        clc
        rts pc

; nextchar: R1 = the next character that is not a blank, R5 on it.
nextchar:
        movb (r5),r1
        cmpb r1,#' '
        bne gotchar
        inc r5
        br nextchar
gotchar:
        rts pc

sum:    jsr pc,product
sumnext:
        jsr pc,nextchar
        cmpb r1,#'+'
        beq plus
        cmpb r1,#'-'
        beq minus
        rts pc
plus:   inc r5
        mov r0,-(sp)
        jsr pc,product
        add (sp)+,r0
        bvs overflow
        br sumnext
minus:  inc r5
        mov r0,-(sp)
        jsr pc,product
        mov r0,r1
        mov (sp)+,r0
        sub r1,r0
        bvs overflow
        br sumnext

product:
        jsr pc,factor
productnext:
        jsr pc,nextchar
        cmpb r1,#'*'
        beq times
        cmpb r1,#'/'
        beq divide
        rts pc
times:  inc r5
        mov r0,-(sp)
        jsr pc,factor
        mul (sp)+,r0            ; C when the product needs more than 16 bits
        bcs overflow
        mov r1,r0
        br productnext
divide: inc r5
        mov r0,-(sp)
        jsr pc,factor
        mov r0,r2
        beq divbyzero
        mov (sp)+,r1
        sxt r0                  ; the dividend widened to R0:R1
        div r2,r0               ; V for 8000 / -1
        bvs overflow
        br productnext

; The faults, in the middle where every branch reaches them.
badsyntax:
        mov #syntaxtext,r0
        br failed
overflow:
        mov #overflowtext,r0
        br failed
divbyzero:
        mov #divbyzerotext,r0
failed: mov evalstack,sp
        mov r5,r1
        sub #line,r1
        sec
        rts pc

factor: jsr pc,nextchar
        cmpb r1,#'-'
        beq negative
        cmpb r1,#'+'
        beq positive
        cmpb r1,#'('
        beq bracket
        cmpb r1,#'A'             ; ANS
        beq answerword
        sub #'0',r1
        cmp r1,#9
        blos number
        br badsyntax
negative:
        inc r5
        jsr pc,factor
        neg r0
        bvs overflow            ; -8000 has no positive
        rts pc
positive:
        inc r5
        br factor
bracket:
        inc r5
        jsr pc,sum
        jsr pc,nextchar
        cmpb r1,#')'
        bne badsyntax
        inc r5
        rts pc
answerword:
        cmpb 1(r5),#'N'
        bne badsyntax
        cmpb 2(r5),#'S'
        bne badsyntax
        add #3,r5
        mov answer,r0
        rts pc
number: clr r3
numberdigit:
        mul #10.,r3             ; an odd register keeps the low word; C when
        bcs overflow            ; the product does not fit
        add r1,r3
        bvs overflow
        inc r5
        movb (r5),r1
        sub #'0',r1
        cmp r1,#9
        blos numberdigit
        mov r3,r0
        rts pc

syntaxtext:
        .ascii "  BAD SYNTAX"
divbyzerotext:
        .ascii " DIV BY ZERO"
overflowtext:
        .ascii "    OVERFLOW"
