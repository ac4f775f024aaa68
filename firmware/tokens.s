        .radix 16
; Tokens: a line is stored and run with each keyword as one byte from 80 up,
; its token; everything else stays the characters typed (20 to 5F), blanks
; and numbers too, so that a line lists as it was typed. Text in double
; quotes and after REM is never made tokens. The keywords are found wherever
; their letters stand, outside quotes: variables are single letters, so
; "FORI=1TO9" reads as FOR I=1 TO 9.

; The tokens. The statements come first, up to TLASTSTATEMENT, and those
; added since at the end, from TDELETE; "?" is PRINT written short and lists
; as typed. A new keyword takes the next number, so that the tokens of kept
; programs keep their meaning.
TPRINT = 80
TINPUT = 81
TLET = 82
TIF = 83
TGOTO = 84
TGOSUB = 85
TRETURN = 86
TFOR = 87
TNEXT = 88
TEND = 89
TSTOP = 8A
TREM = 8B
TRUN = 8C
TLIST = 8D
TNEW = 8E
TCONT = 8F
TQUESTION = 90
TLASTSTATEMENT = TQUESTION
TTHEN = 91
TTO = 92
TSTEP = 93
TAND = 94
TOR = 95
TNOT = 96
TABS = 97                       ; the functions that take an argument, from
TINT = 98                       ; TABS to TATN, in the order of mathfunctions
TSGN = 99                       ; (expression.s)
TSQR = 9A
TLN = 9B
TLOG = 9C
TEXP = 9D
TSIN = 9E
TCOS = 9F
TTAN = 0A0
TATN = 0A1
TRND = 0A2                      ; the values without one
TMEM = 0A3
TANS = 0A4
TPI = 0A5
TDELETE = 0A6                   ; statements added after the first set, from
TRANDOMIZE = 0A7                ; TDELETE to TLASTLATER, in the order of
TLASTLATER = TRANDOMIZE         ; laterstatements (statements.s)
        .assert TLASTSTATEMENT == TQUESTION & TTHEN == TLASTSTATEMENT+1, "the statements come first"
        .assert TABS == TNOT+1 & TRND == TATN+1 & TPI == TANS+1, "the function and value tokens follow one another"
        .assert TDELETE == TPI+1, "later statements take the numbers after every first keyword"

; Each keyword after its token. The tokeniser takes the first keyword whose
; letters stand in the text, so a keyword comes before any other that is its
; beginning; the order is otherwise free.
keywords:
        .byte TPRINT
        .asciz "PRINT"
        .byte TINPUT
        .asciz "INPUT"
        .byte TLET
        .asciz "LET"
        .byte TIF
        .asciz "IF"
        .byte TGOTO
        .asciz "GOTO"
        .byte TGOSUB
        .asciz "GOSUB"
        .byte TRETURN
        .asciz "RETURN"
        .byte TFOR
        .asciz "FOR"
        .byte TNEXT
        .asciz "NEXT"
        .byte TEND
        .asciz "END"
        .byte TSTOP
        .asciz "STOP"
        .byte TREM
        .asciz "REM"
        .byte TRUN
        .asciz "RUN"
        .byte TLIST
        .asciz "LIST"
        .byte TNEW
        .asciz "NEW"
        .byte TCONT
        .asciz "CONT"
        .byte TQUESTION
        .asciz "?"
        .byte TTHEN
        .asciz "THEN"
        .byte TTO
        .asciz "TO"
        .byte TSTEP
        .asciz "STEP"
        .byte TAND
        .asciz "AND"
        .byte TOR
        .asciz "OR"
        .byte TNOT
        .asciz "NOT"
        .byte TABS
        .asciz "ABS"
        .byte TINT
        .asciz "INT"
        .byte TSGN
        .asciz "SGN"
        .byte TSQR
        .asciz "SQR"
        .byte TLN
        .asciz "LN"
        .byte TLOG
        .asciz "LOG"
        .byte TEXP
        .asciz "EXP"
        .byte TSIN
        .asciz "SIN"
        .byte TCOS
        .asciz "COS"
        .byte TTAN
        .asciz "TAN"
        .byte TATN
        .asciz "ATN"
        .byte TRND
        .asciz "RND"
        .byte TMEM
        .asciz "MEM"
        .byte TANS
        .asciz "ANS"
        .byte TPI
        .asciz "PI"
        .byte TDELETE
        .asciz "DELETE"
        .byte TRANDOMIZE
        .asciz "RANDOMIZE"
        .byte 0                 ; the end of the table
        .even

; tokenise: makes the text at R1, which ends in a zero byte, tokens in
; place; tokens never take more room than their text. Returns R2 at the
; zero byte that ends them. Changes R0 to R4.
tokenise:
        mov r5,-(sp)
        mov r1,r2
tokennext:
        movb (r1),r0
        beq tokensdone
        cmpb r0,#'"'
        beq quoted
        cmpb r0,#'?'
        beq keyword
        cmpb r0,#'A'
        blo tokenchar
        cmpb r0,#'Z'
        bhi tokenchar
keyword:                        ; a keyword that starts here, or none
        mov #keywords,r3
1$:     movb (r3)+,r4           ; its token
        beq tokenchar           ; the end of the table: none
        mov r1,r5
2$:     tstb (r3)
        beq 4$                  ; every letter of the keyword matched
        cmpb (r3)+,(r5)+
        beq 2$
3$:     tstb (r3)+              ; on to the next keyword
        bne 3$
        br 1$
4$:     movb r4,(r2)+
        mov r5,r1
        cmpb r4,#TREM
        bne tokennext
remark: movb (r1)+,(r2)+        ; the rest of the line is text
        bne remark
        dec r2
        br tokensdone
quoted: movb (r1)+,(r2)+        ; text in quotes, with them, to the closing
1$:     movb (r1),r0            ; one or the end of the line
        beq tokensdone
        movb (r1)+,(r2)+
        cmpb r0,#'"'
        bne 1$
        br tokennext
tokenchar:
        movb (r1)+,(r2)+
        br tokennext
tokensdone:
        clrb (r2)
        mov (sp)+,r5
        rts pc

; detokenise: writes the text of the tokens at R1, up to their zero byte, at
; R2, at most R3 characters (R3 at least 1); a token this firmware does not
; know shows as "?". R4 -> a place in the tokens: returns R4 -> where its
; text begins, or the end of the text when the place is not met. Returns R2
; past the text. Changes R0 to R4.
detokenise:
        mov r5,-(sp)
        mov r4,r5
        mov r2,r4               ; where the place is met; the end, till then
detoknext:
        cmp r1,r5
        bne 1$
        mov r2,r4
1$:     movb (r1)+,r0
        beq detokdone
        bmi detokword
        movb r0,(r2)+
        sob r3,detoknext
        br detokdone
detokword:
        mov r1,-(sp)
        mov #keywords,r1
2$:     tstb (r1)
        beq 5$                  ; past the table
        cmpb (r1)+,r0
        beq 4$                  ; the keyword of this token
3$:     tstb (r1)+
        bne 3$
        br 2$
4$:     movb (r1)+,(r2)+        ; its letters
        dec r3
        beq 6$
        tstb (r1)
        bne 4$
        br 7$
5$:     movb #'?',(r2)+
        dec r3
        beq 6$
7$:     mov (sp)+,r1
        br detoknext
6$:     mov (sp)+,r1
detokdone:
        mov (sp)+,r5
        rts pc
