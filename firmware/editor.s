        .radix 16
; The line editor. A line holds up to 40 characters; the twelve cells show
; the part around the cursor. EXE evaluates the line and shows the result
; (or a message) right-aligned, with the cursor waiting in cell 0: typing
; then starts a new line, an operator first puts ANS before itself, and the
; cursor keys go back to the line just evaluated.

; dokey: acts on the key code in R0.
dokey:  cmp r0,#KLEFT
        bhis function
        jmp typed
function:
        sub #KLEFT,r0
        cmp r0,#KEXECUTE-KLEFT
        bhi nofunction
        asl r0
        jmp @functions(r0)
functions:                      ; by code, from KLEFT
        .word cursorleft, cursorright, olderline, newerline
        .word deletechar, switchmode, clearline, execute
nofunction:
        rts pc

; redraw: shows the line with the cursor and its column, or what is shown.
redraw: bicb #WRT,indicators+1
        tstb overwrite
        beq wrtset
        bisb #WRT,indicators+1
wrtset: tstb showing
        bne redrawshown
        movb cursor,r0          ; keep the cursor in view
        movb firstshown,r1
        cmp r0,r1
        bge notleft
        mov r0,r1
notleft:
        mov r0,r2
        sub r1,r2
        cmp r2,#CELLS-1
        ble inview
        mov r0,r1
        sub #CELLS-1,r1
inview: movb r1,firstshown
        mov #screen,r2
        mov #line,r3
        add r1,r3
        movb linelen,r4
        sub r1,r4               ; characters from the first shown on
        mov #CELLS,r5
fillscreen:
        movb #' ',(r2)
        dec r4
        bmi pastend
        movb (r3)+,(r2)
pastend:
        inc r2
        sob r5,fillscreen
        sub r1,r0               ; the cursor's cell
        jsr pc,putcursor
        movb cursor,r1          ; its column, counted from 1
        inc r1
        jsr pc,digits
        mov #screen,r1
        jmp draw
redrawshown:
        clr r0
        jsr pc,putcursor
        mov #-1,r1
        jsr pc,digits
        mov #shown,r1
        jmp draw

; putcursor: puts the cursor on cell R0: an underline while typing inserts,
; a block while it overwrites.
putcursor:
        tstb overwrite
        bne cursorshape
        bis #UNDERLINE,r0
cursorshape:
        movb r0,@#lcdcursor
        rts pc

; typed: puts the character in R0 at the cursor.
typed:  tstb showing
        beq intoline
        clrb showing            ; a new line, after ANS for an operator
        clrb linelen
        clrb cursor
        movb #-1,recalled
        cmp r0,#'*'
        beq afteranswer
        cmp r0,#'+'
        beq afteranswer
        cmp r0,#'-'
        beq afteranswer
        cmp r0,#'/'
        bne intoline
afteranswer:
        tstb answerknown
        beq intoline
        movb #'A',line
        movb #'N',line+1
        movb #'S',line+2
        movb #3,linelen
        movb #3,cursor
intoline:
        movb linelen,r1
        movb cursor,r2
        tstb overwrite
        beq insert
        cmp r2,r1
        blo putchar             ; overwrite within the line
insert: cmp r1,#LINEMAX
        bhis typeddone          ; the line is full
        mov #line,r3
        add r1,r3
        mov r1,r4
        sub r2,r4               ; characters after the cursor move right
        beq grown
moveright:
        movb -(r3),1(r3)
        sob r4,moveright
grown:  incb linelen
putchar:
        movb r0,line(r2)
        incb cursor
typeddone:
        rts pc

; back: leaves a result for the line it came from, the cursor where the
; evaluation stopped. Gives Z clear when it did so.
back:   tstb showing
        beq backdone
        clrb showing
        movb errorat,cursor
        clear z
backdone:
        rts pc

cursorleft:
        jsr pc,back
        bne leftdone
        tstb cursor
        beq leftdone
        decb cursor
leftdone:
        rts pc

cursorright:
        jsr pc,back
        bne rightdone
        cmpb cursor,linelen
        bhis rightdone
        incb cursor
rightdone:
        rts pc

; deletechar: removes the character under the cursor, or at the end of the
; line the one before it.
deletechar:
        tstb showing
        bne clearline
        movb cursor,r2
        movb linelen,r1
        cmp r2,r1
        blo removeat
        tst r2
        beq deleted
        dec r2
        decb cursor
removeat:
        mov #line,r3
        add r2,r3
        mov r1,r4
        sub r2,r4
        dec r4                  ; characters after it move left
        beq shrunk
moveleft:
        movb 1(r3),(r3)+
        sob r4,moveleft
shrunk: decb linelen
deleted:
        rts pc

switchmode:
        comb overwrite
        bicb #-2,overwrite
        rts pc

clearline:
        clrb showing
        clrb linelen
        clrb cursor
        movb #-1,recalled
        rts pc

; olderline, newerline: step through the history. After the newest line
; comes an empty one.
olderline:
        movb recalled,r1
        inc r1
        cmpb r1,keptlines
        bge historydone
        br recall
newerline:
        movb recalled,r1
        bmi historydone
        dec r1
        bmi clearline
recall: movb r1,recalled
        clrb showing
        mul #KEPTLINE,r1        ; R1 keeps the low word: the line's offset
        add #history,r1
        movb (r1)+,r2
        cmp r2,#LINEMAX         ; the kept data was checked, but a line never
        blos lengthok           ; overruns the buffer whatever RAM holds
        mov #LINEMAX,r2
lengthok:
        movb r2,linelen
        movb r2,cursor
        mov #line,r3
        tst r2
        beq historydone
copyline:
        movb (r1)+,(r3)+
        sob r2,copyline
historydone:
        rts pc

; execute: evaluates the line and shows the result or what went wrong; the
; line goes into the history and a result is kept as ANS.
execute:
        tstb showing
        bne executed
        tstb linelen
        beq executed
        jsr pc,keepline
        movb #-1,recalled
        movb linelen,r0
        clrb line(r0)           ; the evaluator stops at the zero byte
        jsr pc,evaluate
        bcs notvalue
        mov r0,answer
        movb #1,answerknown
        movb linelen,errorat
        jsr pc,showvalue
        br sealed
notvalue:
        movb r1,errorat
        jsr pc,showmessage
sealed: jsr pc,sealkept
executed:
        rts pc
