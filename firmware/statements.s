        .radix 16
; The interpreter: the line typed runs at once, or goes into the program
; when it starts with a line number; RUN runs the program. R5 points at the
; text being run all the time: the statement loop, the statements and the
; evaluator move it along, and every other routine keeps it. curline is the
; program line running, 0 for the line typed (in line). A statement that
; stops the run (END, STOP, an error, AC) jumps to error, which unwinds to
; the try in enterline.

; enterline: the line typed, ended by EXE. A line number (1 to 9999) with a
; statement after it is a program line; anything else runs at once, so that
; "12*34" is a value, not a line 12, and "5" alone is 5.
enterline:
        mov listing,-(sp)       ; whether it was a listed line
        mov #line,r1
        jsr pc,tokenise
        mov #line,r5
        jsr pc,skipblanks
        jsr pc,linenumber
        bcs direct
        tst r0
        beq direct
        cmp r0,#MAXLINENUMBER
        bhi direct
        mov r5,r1               ; what follows the number
        mov r0,-(sp)
        jsr pc,skipblanks
        tstb r0
        beq 7$                  ; nothing: a value, as on a calculator
        jsr pc,isstatement
        bcc 1$
        mov r1,-(sp)            ; a variable and "=": LET without the word
        jsr pc,variable
        bcs 6$
        jsr pc,skipblanks
        cmpb r0,#'='
        bne 6$
        mov (sp)+,r1
1$:     mov (sp),r0
        jsr pc,storeline
        bcs 3$
        mov (sp)+,r0
        tst (sp)+
        beq 2$
        inc r0                  ; a listed line goes on to the next
        jmp listat
2$:     jmp clearline
3$:     cmp (sp)+,(sp)+
        clr errline             ; back to the line typed, to shorten it
        clr errpos
        jmp showmessage
6$:     tst (sp)+
7$:     tst (sp)+
direct: tst (sp)+
        clr listing
        clrb outlen             ; the output of this line alone
        mov #line,r5
        mov #rundirect,r1
        jsr pc,try
        bcs 1$
        tstb showing            ; a value stays shown, or a listed line
        bne 2$
        tst listing
        bne 2$
        tstb outlen             ; or the output that PRINT left
        bne 3$
        jmp clearline
1$:     jmp stopped
2$:     rts pc
3$:     clr errline             ; back to the line typed, at its end
        clr errpos
        jmp showoutput

rundirect:
        clr curline
        br stmt

; The statement loop: R5 at a statement. Between statements a held key is
; looked at, and AC breaks the run.
stmt:   mov r5,stmtstart
        tst @#keyin             ; all columns are selected: any key answers
        bne keylook
stmtgo: movb (r5)+,r0
        beq endline
        bpl 1$
        cmpb r0,#TLASTSTATEMENT
        bhi 3$
        bic #0FF00,r0
        asl r0
        jsr pc,@statements-(TPRINT*2)(r0)
        br after
3$:     cmpb r0,#TDELETE
        blo 2$                  ; a token that starts no statement
        cmpb r0,#TLASTLATER
        bhi 2$
        bic #0FF00,r0
        asl r0
        jsr pc,@laterstatements-(TDELETE*2)(r0)
        br after
1$:     cmpb r0,#' '
        beq stmtgo
        cmpb r0,#':'
        beq stmt
2$:     dec r5
        jsr pc,assignment
after:  movb (r5)+,r0
        beq endline
        cmpb r0,#':'
        beq stmt
        cmpb r0,#' '
        beq after
        dec r5
        jmp syntaxerror
endline:
        mov curline,r1
        bne 1$
        clc                     ; the line typed is done
        rts pc
1$:     jsr pc,nextline
        cmp r1,progend
        blo 2$
        jmp endprogram
2$:     mov r1,curline
        mov r1,r5
        add #LINEHEAD,r5
        br stmt
keylook:
        jsr pc,scankey
        movb keycodes(r0),r1
        cmpb r1,#KCLEAR
        bne stmtgo
        mov r0,heldkey          ; AC is taken: not again when the run stops
        mov #stmt,contentry     ; CONT runs the statement it stopped before
        mov #EBREAK,r0
        jmp error

statements:                     ; by token, from TPRINT
        .word printstmt, inputstmt, letstmt, ifstmt
        .assert . == statements+2*(TGOTO-TPRINT), "GOTO's routine stands at its token's place"
        .word gotostmt, gosubstmt, returnstmt, forstmt
        .assert . == statements+2*(TNEXT-TPRINT), "NEXT's routine stands at its token's place"
        .word nextstmt, endstmt, stopstmt, remstmt
        .assert . == statements+2*(TRUN-TPRINT), "RUN's routine stands at its token's place"
        .word runstmt, liststmt, newstmt, contstmt
        .assert . == statements+2*(TQUESTION-TPRINT), "?'s routine stands at its token's place"
        .word printstmt
        .assert . == statements+2*(TLASTSTATEMENT-TPRINT+1), "one routine for each statement token"
laterstatements:                ; by token, from TDELETE
        .word deletestmt, randomizestmt
        .assert . == laterstatements+2*(TLASTLATER-TDELETE+1), "one routine for each later statement token"

; isstatement: C clear when the character or token in R0 starts a
; statement.
isstatement:
        cmpb r0,#TPRINT
        blo 2$
        cmpb r0,#TLASTSTATEMENT
        blos 1$
        cmpb r0,#TDELETE
        blo 2$
        cmpb r0,#TLASTLATER
        bhi 2$
1$:     clc
        rts pc
2$:     sec
        rts pc

; skipblanks: R5 past blanks; R0 = the character there.
skipblanks:
        movb (r5),r0
        cmpb r0,#' '
        bne 1$
        inc r5
        br skipblanks
1$:     rts pc

; endsstatement: R5 past blanks, R0 = the character there; Z set when it
; ends the statement: the end of the line or ":".
endsstatement:
        jsr pc,skipblanks
        tstb r0
        beq 1$
        cmpb r0,#':'
1$:     rts pc

; expect: R5 past the character or token in R0, after blanks, or a syntax
; error. Keeps R1, which holds the variable of LET and FOR.
expect: mov r0,-(sp)
        jsr pc,skipblanks
        cmpb r0,(sp)+
        bne 1$
        inc r5
        rts pc
1$:     jmp syntaxerror

; variable: R1 -> the variable named at R5 (after blanks), R5 past it; C
; set when no variable stands there.
variable:
        jsr pc,skipblanks
        sub #'A',r0
        cmp r0,#25.
        bhi 1$
        inc r5
        ash #3,r0
        add #vars,r0
        mov r0,r1
        clc
        rts pc
1$:     sec
        rts pc

; assignment: a variable, "=" and an expression, with or without LET; in
; the line typed, an expression alone shows its value and keeps it as ANS.
assignment:
        mov r5,-(sp)
        jsr pc,variable
        bcs 1$
        jsr pc,skipblanks
        cmpb r0,#'='
        bne 1$
        inc r5
        tst (sp)+
        br letvalue
1$:     mov (sp)+,r5
        tst curline
        beq 2$
        jmp syntaxerror
2$:     sub #FSIZE,sp
        mov sp,r4
        jsr pc,expression
        mov #answer,r0
        mov r4,r1
        jsr pc,fmove
        add #FSIZE,sp
        movb #1,answerknown
        clr errline             ; back to the line typed, at its end
        clr errpos
        mov #answer,r0
        jmp showvalue

letstmt:
        jsr pc,variable
        bcc 1$
        jmp syntaxerror
1$:     mov #'=',r0
        jsr pc,expect
letvalue:                       ; the value of the expression into R1's
        mov r1,-(sp)            ; variable, which keeps its old value if
        sub #FSIZE,sp           ; the expression fails
        mov sp,r4
        jsr pc,expression
        mov FSIZE(sp),r0
        mov r4,r1
        jsr pc,fmove
        add #FSIZE+2,sp
        rts pc

; PRINT: numbers and "text", ";" between them for nothing, "," for a
; blank; two items with neither between them are a syntax error. A number
; that follows other output gets a blank before it, unless one is there,
; so that "1;-2" shows 1 -2. The line of output shows and waits for EXE,
; unless a ";" or "," ends the statement: then the next PRINT or INPUT goes
; on with it. A line longer than OUTMAX shows what it has and goes on after
; EXE.
printstmt:
        clr -(sp)               ; 1 after ";" or ","
1$:     jsr pc,endsstatement
        beq 7$
        inc r5
        mov #1,(sp)
        cmpb r0,#';'
        beq 1$
        cmpb r0,#','
        bne 2$
        mov #' ',r0
        jsr pc,outchar
        br 1$
2$:     clr (sp)
        cmpb r0,#'"'
        bne 5$
3$:     movb (r5),r0            ; text, to the closing quote or the end
        beq 1$
        inc r5
        cmpb r0,#'"'
        beq 9$
        jsr pc,outchar
        br 3$
5$:     dec r5                  ; a number
        sub #FSIZE+14.,sp       ; it, and room for a blank and its text
        mov sp,r4
        jsr pc,expression
        mov r4,r0
        mov sp,r1
        add #FSIZE+1,r1
        jsr pc,fformat
        mov sp,r3               ; its text
        add #FSIZE+1,r3
        movb outlen,r0
        beq 6$
        cmpb outbuf-1(r0),#' '
        beq 6$
        movb #' ',-(r3)
6$:     mov r1,r2               ; a number is not split between two lines
        sub r3,r2
        add r2,r0
        cmp r0,#OUTMAX
        blos 62$
        mov r3,-(sp)
        clr r1
        jsr pc,showwait
        mov (sp)+,r3
        cmpb (r3),#' '          ; at the start of a line, no blank
        bne 62$
        inc r3
62$:    movb (r3)+,r0           ; outchar keeps R3 while the line has room
        beq 63$
        jsr pc,outchar
        br 62$
63$:    add #FSIZE+14.,sp
9$:     jsr pc,endsstatement    ; after an item, a separator or the end
        beq 1$
        cmpb r0,#';'
        beq 1$
        cmpb r0,#','
        beq 1$
        jmp syntaxerror
7$:     tst (sp)+
        bne 8$
        mov #after,r1
        jmp showwait
8$:     rts pc

; outchar: puts R0 at the end of the output line; a full line shows and
; waits first (a break there cannot go on: the statement is half done).
; Changes R0 to R4.
outchar:
        cmpb outlen,#OUTMAX
        blo 1$
        mov r0,-(sp)
        clr r1
        jsr pc,showwait
        mov (sp)+,r0
1$:     movb outlen,r1
        movb r0,outbuf(r1)
        incb outlen
        rts pc

; INPUT ["prompt";] variable: shows the output so far, the prompt and "?",
; and takes a line edited as usual; EXE gives the variable its value. An
; answer that is no expression, or whose value fails, shows its error until
; a key, and is asked again. AC
; breaks the run; CONT asks again. Only in a program: the line typed is
; the one being edited.
inputstmt:
        tst curline
        bne 1$
        mov #EDIRECT,r0
        jmp error
1$:     jsr pc,skipblanks
        cmpb r0,#'"'
        bne 4$
        inc r5
2$:     movb (r5),r0            ; the prompt, after what is there
        beq 4$
        inc r5
        cmpb r0,#'"'
        beq 3$
        cmpb outlen,#LINEMAX-10.
        bhis 2$                 ; room is kept for the answer
        jsr pc,outchar
        br 2$
3$:     jsr pc,skipblanks
        inc r5
        cmpb r0,#';'
        beq 4$
        cmpb r0,#','
        beq 4$
        dec r5
        jmp syntaxerror
4$:     jsr pc,variable
        bcc 5$
        jmp syntaxerror
5$:     mov r1,-(sp)            ; the variable
        movb outlen,r1          ; the prompt: the output so far and "?"
        cmp r1,#LINEMAX-10.
        blos 6$
        mov #LINEMAX-10.,r1
6$:     mov r1,r2
        beq 62$
61$:    movb outbuf-1(r2),line-1(r2)
        sob r2,61$
62$:    movb #'?',line(r1)
        inc r1
        movb r1,fixedlen
        clrb outlen
ask:    jsr pc,clearline
7$:     jsr pc,redraw
        jsr pc,getkey
        cmp r0,#KCLEAR
        beq 8$
        tstb showing            ; a message: the next key starts the answer
        beq 71$                 ; afresh, a character as its first
        clrb outlen
        mov r0,-(sp)
        jsr pc,clearline
        mov (sp)+,r0
        cmp r0,#KLEFT
        bhis 7$
71$:    cmp r0,#KEXECUTE
        beq 9$
        jsr pc,dokey
        br 7$
8$:     clrb fixedlen           ; AC: a break before the INPUT
        jsr pc,clearline
        mov stmtstart,r5
        mov #stmt,contentry
        mov #EBREAK,r0
        jmp error
9$:     cmpb linelen,fixedlen
        beq 7$                  ; no answer yet
        movb linelen,r0
        clrb line(r0)
        movb fixedlen,r1
        add #line,r1
        mov r1,-(sp)
        jsr pc,tokenise
        mov r5,(sp)             ; the statement's place, kept
        movb fixedlen,r5
        add #line,r5
        sub #FSIZE,sp
        mov sp,r4
        mov #answervalue,r1
        jsr pc,try
        bcs 10$
        mov FSIZE+2(sp),r0      ; the variable
        mov r4,r1
        jsr pc,fmove
        add #FSIZE,sp
        mov (sp)+,r5
        tst (sp)+
        clrb fixedlen
        jsr pc,clearline
        movb #NOCURSOR,@#lcdcursor
        rts pc
10$:    add #FSIZE,sp           ; the error shows, without the program's
        mov (sp)+,r5            ; line: the answer is wrong, not the line
        clr errline
        jsr pc,showmessage
        br 7$

; answervalue: the answer to INPUT, an expression and nothing after it.
answervalue:
        jsr pc,expression
        jsr pc,skipblanks
        tstb r0
        beq 1$
        jmp syntaxerror
1$:     clc
        rts pc

; IF condition THEN line or statement (or GOTO line): when the condition is
; 0, the rest of the line is skipped.
ifstmt:
        sub #FSIZE,sp
        mov sp,r4
        jsr pc,expression
        mov r4,r0
        jsr pc,iszero
        beq 3$
        add #FSIZE,sp
        jsr pc,skipblanks
        inc r5
        cmpb r0,#TGOTO
        beq gotostmt
        cmpb r0,#TTHEN
        beq 1$
        dec r5
        jmp syntaxerror
1$:     jsr pc,skipblanks
        sub #'0',r0
        cmp r0,#9
        blos gotostmt
        tst (sp)+               ; a statement: the loop runs it
        jmp stmt
3$:     add #FSIZE,sp
remstmt:
        tstb (r5)+              ; to the end of the line
        bne remstmt
        dec r5
        rts pc

; GOTO line, GOSUB line: the line is a number or an expression.
gotostmt:
        jsr pc,targetline
jumpline:                       ; R1 -> the line to go on at
        tst curline
        bne 1$
        mov r1,-(sp)            ; from the line typed: the program starts
        jsr pc,startrun
        mov (sp)+,r1
1$:     mov r1,curline
        mov r1,r5
        add #LINEHEAD,r5
        tst (sp)+
        jmp stmt

gosubstmt:
        jsr pc,targetline
        mov gosubsp,r2
        cmp r2,#gosubend
        bhis toodeep
        mov r5,(r2)+
        mov curline,(r2)+
        mov r2,gosubsp
        br jumpline

returnstmt:
        mov gosubsp,r2
        cmp r2,#gosubstack
        bhi 1$
        mov #ENOGOSUB,r0
        jmp error
1$:     mov -(r2),curline
        mov -(r2),r5
        mov r2,gosubsp
        rts pc

toodeep:
        mov #EDEEP,r0
        jmp error

; targetline: R1 -> the program line whose number the expression at R5
; gives: a whole number from 1 to 9999, else BAD ARGUMENT; NO LINE when the
; program lacks it. Digits that end the statement are read as they stand,
; the usual case, without the evaluator.
targetline:
        jsr pc,skipblanks
        mov r5,-(sp)
        jsr pc,linenumber
        bcs 1$
        mov r0,r2
        jsr pc,endsstatement
        beq 2$
1$:     mov (sp),r5             ; more than digits: an expression
        sub #FSIZE,sp
        mov sp,r4
        jsr pc,expression
        jsr pc,endsstatement
        beq 7$
        jmp syntaxerror
7$:     mov (r4)+,r0            ; a whole number below 10^12 has the
        mov (r4)+,r1            ; exponent 0 and its value in the limbs
        bis (r4)+,r1
        mov (r4),r2             ; a limb: at most 9999
        add #FSIZE,sp
        cmp r0,#EBIAS
        bne 5$
        tst r1
        bne 5$
2$:     tst (sp)+
        mov r2,r0
        beq 5$
        cmp r0,#MAXLINENUMBER
        bhi 5$
        mov curline,r1          ; forward from the line running
        beq 3$
        cmp r0,(r1)
        bhi 4$
3$:     mov #program,r1
4$:     jsr pc,findline
        cmp r1,progend
        bhis 6$
        cmp (r1),r0
        bne 6$
        rts pc
5$:     mov #EARGUMENT,r0
        jmp error
6$:     mov #ENOLINE,r0
        jmp error

; FOR variable = start TO limit [STEP step]: the loop runs until NEXT finds
; the variable past the limit. A FOR of a variable already looping drops
; that loop and the ones inside it.
forstmt:
        jsr pc,variable
        bcc 1$
        jmp syntaxerror
1$:     mov r1,-(sp)
        mov #'=',r0
        jsr pc,expect
        jsr pc,letvalue
        mov #TTO,r0
        jsr pc,expect
        mov #forstack,r2        ; the loop's entry
2$:     cmp r2,forsp
        bhis 3$
        mov (r2),r0
        bic #1,r0
        cmp r0,(sp)
        beq 4$
        add #FORENTRY,r2
        br 2$
3$:     cmp r2,#forend
        bhis toodeep
4$:     mov r2,-(sp)
        mov r2,r4               ; the limit
        add #6,r4
        jsr pc,expression
        mov (sp),r4             ; the step: 1 unless STEP says
        add #6+FSIZE,r4
        jsr pc,skipblanks
        cmpb r0,#TSTEP
        bne 5$
        inc r5
        jsr pc,expression
        br 6$
5$:     mov r4,r0
        mov #1,r1
        jsr pc,fromint
6$:     mov (sp)+,r2            ; the entry
        mov (sp)+,r3            ; the variable
        clr -(sp)               ; a 0, to tell the step's sign
        clr -(sp)
        clr -(sp)
        clr -(sp)
        mov r2,r0
        add #6+FSIZE,r0
        mov sp,r1
        jsr pc,fcmp             ; keeps R2 and R3
        bge 7$
        inc r3                  ; bit 0: the step is below 0
7$:     add #FSIZE,sp
        mov r3,(r2)+
        mov r5,(r2)+            ; the loop goes round from here
        mov curline,(r2)
        add #FORENTRY-4,r2
        mov r2,forsp
        rts pc

; NEXT [variable]: adds the step to the variable of the innermost loop, or
; of the loop named (the loops inside it end), and goes round again unless
; the variable has passed the limit.
nextstmt:
        mov forsp,r2
        jsr pc,variable
        bcs 2$
1$:     cmp r2,#forstack        ; the loop of the variable named
        blos 9$
        sub #FORENTRY,r2
        mov (r2),r0
        bic #1,r0
        cmp r0,r1
        bne 1$
        br 3$
2$:     cmp r2,#forstack        ; the innermost loop
        blos 9$
        sub #FORENTRY,r2
3$:     mov (r2),r0             ; the number routines keep R2
        bic #1,r0
        mov r2,r1
        add #6+FSIZE,r1
        jsr pc,fadd
        bcs 8$
        mov (r2),r0
        bic #1,r0
        mov r2,r1
        add #6,r1
        jsr pc,fcmp
        beq 4$                  ; at the limit: once more
        blt 5$
        bit #1,(r2)             ; above it: over, unless counting down
        beq 6$
        br 4$
5$:     bit #1,(r2)             ; below it: over when counting down
        bne 6$
4$:     mov 2(r2),r5            ; round again; the loops inside it end
        mov 4(r2),curline
        add #FORENTRY,r2
6$:     mov r2,forsp
        rts pc
8$:     jmp error
9$:     mov #ENOFOR,r0
        jmp error

; END, and the end of the program: what output waits is shown first.
endstmt:
        endprogram:
        tstb outlen
        beq 1$
        mov #after,r1
        jsr pc,showwait
1$:     clr r0
        jmp error

stopstmt:
        mov #after,contentry
        mov #ESTOP,r0
        jmp error

; RUN [line]: the program from its first line, or from the line.
runstmt:
        jsr pc,clearstacks
        clrb cancont
        mov #program,r1
        jsr pc,endsstatement
        beq 1$
        jsr pc,targetline
1$:     cmp r1,progend
        blo 2$
        jmp endprogram
2$:     clr curline             ; jumpline starts the run
        jmp jumpline

; LIST [line]: the program line, or the first, on the display (editor.s).
liststmt:
        clr r0
        jsr pc,skipblanks
        jsr pc,linenumber
        jsr pc,listat
        clr r0
        jmp error

newstmt:
        jsr pc,newprogram
        clr r0
        jmp error

; DELETE line or DELETE first-last: takes the lines out of the program, NO
; LINE when it has none of them. Like NEW, it ends a run.
deletestmt:
        jsr pc,skipblanks
        jsr pc,linenumber
        bcs 3$
        mov r0,-(sp)            ; the first
        mov r0,-(sp)            ; the last
        jsr pc,skipblanks
        cmpb r0,#'-'
        bne 1$
        inc r5
        jsr pc,skipblanks
        jsr pc,linenumber
        bcs 3$
        mov r0,(sp)
        cmp r0,2(sp)
        blo 3$
1$:     mov 2(sp),r0
        jsr pc,findfirst
        mov r1,r3
        mov (sp)+,r0
        inc r0
        jsr pc,findline         ; past the last
        tst (sp)+
        mov r1,r2
        mov r3,r1
        cmp r1,r2
        beq 2$
        jsr pc,takeout
        jsr pc,programchanged
        clr r0
        jmp error
2$:     mov #ENOLINE,r0
        jmp error
3$:     jmp syntaxerror

; RANDOMIZE: a new start for RND (expression.s).
randomizestmt:
        jmp seedrnd

; CONT: goes on after STOP or a break, where the run stopped.
contstmt:
        tstb cancont
        beq 1$
        mov contline,curline
        mov conttext,r5
        jsr pc,startrun
        tst (sp)+
        jmp @contentry
1$:     mov #ECONT,r0
        jmp error

; startrun: a program runs: RUN shows, the display is empty, the program
; sealed as it runs. Changes R0 to R4.
startrun:
        jsr pc,sealnewlines
        bisb #RUN,indicators+1
        clrb outlen
        movb #NOCURSOR,@#lcdcursor
        mov #-1,r1
        jsr pc,digits
        clr r4
        jmp draw

; clearstacks: no FOR loop and no GOSUB open.
clearstacks:
        mov #forstack,forsp
        mov #gosubstack,gosubsp
        rts pc
