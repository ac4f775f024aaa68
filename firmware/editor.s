        .radix 16
; The line editor. A line holds up to LINEMAX characters; the twelve cells
; show the part around the cursor, whose column the digits show. EXE runs
; the line (statements.s). Instead of the line the display may show output
; (output.s): typing then starts a new line, an operator first puts ANS
; before itself, and ◄ or ► scroll the output and then go back to the line
; it came from, the cursor where the run stopped. While LIST shows a program
; line, ▲ and ▼ (and EXE) step through the program, and the cursor keys or
; typing start editing it; EXE then stores it. During INPUT the start of
; the line is the prompt (fixedlen characters), which the keys leave alone.
; These routines keep R5, the interpreter's place.

; dokey: acts on the key code in R0.
dokey:  clrb linefull
        cmp r0,#KLEFT
        bhis 1$
        jmp typed
1$:     sub #KLEFT,r0
        cmp r0,#KEXECUTE-KLEFT
        bhi 2$
        asl r0
        jmp @keyfunctions(r0)
2$:     rts pc
keyfunctions:                   ; by code, from KLEFT
        .word cursorleft, cursorright, upkey, downkey, deletechar
        .word backspace, switchmode, clearline, execute

; redraw: shows the line with the cursor and its column, or the output.
redraw: bicb #WRT,indicators+1
        tstb overwrite
        beq 1$
        bisb #WRT,indicators+1
1$:     tstb showing
        bne redrawshown
        movb cursor,r0          ; keep the cursor in view
        movb firstshown,r1
        cmp r0,r1
        bge 2$
        mov r0,r1
2$:     mov r0,r2
        sub r1,r2
        cmp r2,#CELLS-1
        ble 3$
        mov r0,r1
        sub #CELLS-1,r1
3$:     movb r1,firstshown
        sub r1,r0               ; the cursor's cell
        tst listing             ; a listed line shows no cursor until it
        beq 4$                  ; is edited
        tstb listedit
        bne 4$
        movb #NOCURSOR,@#lcdcursor
        mov #-1,r1
        br 5$
4$:     jsr pc,putcursor
        tstb linefull
        beq 6$
        jsr pc,showfull         ; instead of the column
        br 7$
6$:     movb cursor,r1          ; the column, counted from 1
        inc r1
5$:     jsr pc,digits
7$:     movb firstshown,r0
        mov #line,r3
        add r0,r3
        movb linelen,r4
        sub r0,r4
        jmp draw
redrawshown:
        movb #NOCURSOR,@#lcdcursor
        mov showline,r1
        bne 1$
        dec r1                  ; no number: dark digits
1$:     jsr pc,digits
        movb outscroll,r0
        mov #outbuf,r3
        add r0,r3
        movb outlen,r4
        sub r0,r4
        jmp draw

; putcursor: puts the cursor on cell R0: an underline while typing inserts,
; a block while it overwrites.
putcursor:
        tstb overwrite
        bne 1$
        bis #UNDERLINE,r0
1$:     movb r0,@#lcdcursor
        rts pc

; typed: puts the character in R0 at the cursor. On output, or on a listed
; line not being edited, it starts a new line.
typed:  tst listing
        beq 1$
        tstb listedit
        bne 2$
        mov r0,-(sp)
        jsr pc,clearline
        mov (sp)+,r0
1$:     tstb showing
        beq 2$
        mov r0,-(sp)            ; a new line, after ANS for an operator
        jsr pc,clearline
        mov (sp)+,r0
        tstb answerknown
        beq 2$
        mov #operators,r1
8$:     tstb (r1)
        beq 2$
        cmpb r0,(r1)+
        bne 8$
        movb #'A',line
        movb #'N',line+1
        movb #'S',line+2
        movb #3,linelen
        movb #3,cursor
2$:     movb linelen,r1
        movb cursor,r2
        tstb overwrite
        beq 3$
        cmp r2,r1
        blo 5$                  ; overwrite within the line
3$:     cmp r1,#LINEMAX
        bhis 9$
        mov #line,r3
        add r1,r3
        mov r1,r4
        sub r2,r4               ; characters after the cursor move right
        beq 4$
7$:     movb -(r3),1(r3)
        sob r4,7$
4$:     incb linelen
5$:     movb r0,line(r2)
        incb cursor
        rts pc
9$:     movb #1,linefull        ; the line is full: the digits say so
        rts pc
operators:
        .asciz "+-*/^"
        .even

; editing: a listed line that a key changes is being edited.
editing:
        tst listing
        beq 1$
        movb #1,listedit
1$:     rts pc

; back: leaves the output for the line it came from. Gives Z clear when it
; did so.
back:   tstb showing
        beq 1$
        mov errline,r1
        mov errpos,r4
        jsr pc,openline
        clear z
1$:     rts pc

cursorleft:
        tstb showing
        beq 1$
        jsr pc,scrollleft
        bne 2$
        br back
1$:     jsr pc,editing
        cmpb cursor,fixedlen
        blos 2$
        decb cursor
2$:     rts pc

cursorright:
        tstb showing
        beq 1$
        jsr pc,scrollright
        bne 2$
        br back
1$:     jsr pc,editing
        cmpb cursor,linelen
        bhis 2$
        incb cursor
2$:     rts pc

; deletechar: removes the character under the cursor, or at the end of the
; line the one before it. On output, clears the line.
deletechar:
        tstb showing
        bne clearline
        jsr pc,editing
        movb cursor,r2
        cmpb r2,linelen
        blo removeat
        cmpb r2,fixedlen
        blos removed
        dec r2
        decb cursor
removeat:
        movb linelen,r4
        mov #line,r3
        add r2,r3
        sub r2,r4
        dec r4                  ; characters after it move left
        beq 1$
2$:     movb 1(r3),(r3)+
        sob r4,2$
1$:     decb linelen
removed:
        rts pc

; backspace: removes the character before the cursor.
backspace:
        tstb showing
        bne clearline
        jsr pc,editing
        movb cursor,r2
        cmpb r2,fixedlen
        blos removed
        dec r2
        decb cursor
        br removeat

switchmode:
        comb overwrite
        bicb #-2,overwrite
        rts pc

; clearline: an empty line (but for INPUT's prompt), no listing, no output.
clearline:
        clrb showing
        clrb linefull
        clr listing
        clrb listedit
        movb fixedlen,linelen
        movb fixedlen,cursor
        clrb firstshown
        movb #-1,recalled
        rts pc

; openline: puts into the line the text of program line R1 (its number, then
; its tokens), or of the tokens of the line typed when R1 is 0; the cursor
; goes where the text of the tokens at R4 begins, or to the end. Changes R0
; to R4.
openline:
        mov #outbuf,r2          ; the text is made in outbuf
        mov #LINEMAX,r3
        tst r1
        bne 1$
        mov #line,r1
        br 2$
1$:     mov (r1),r0
        mov r1,-(sp)
        jsr pc,putdecimal
        mov (sp)+,r1
        add #LINEHEAD,r1
        mov r2,r3
        sub #outbuf,r3
        neg r3
        add #LINEMAX,r3
2$:     jsr pc,detokenise
        sub #outbuf,r2
        movb r2,linelen
        sub #outbuf,r4
        movb r4,cursor
        mov #outbuf,r0
        mov #line,r1
        tst r2
        beq 4$
3$:     movb (r0)+,(r1)+
        sob r2,3$
4$:     clrb showing
        clrb firstshown
        clrb fixedlen
        movb #-1,recalled
        rts pc

; upkey, downkey: while listing, the program line before or after; else the
; history.
upkey:  tst listing
        beq 2$
        jmp listprevious
2$:     tstb fixedlen
        bne 1$
        movb recalled,r1
        inc r1
        jsr pc,historyline
        bcc recall
1$:     rts pc
downkey:
        tst listing
        beq 2$
        jmp listnext
2$:     tstb fixedlen
        bne 1$
        movb recalled,r1
        bmi 1$
        dec r1
        bmi clearline
        jsr pc,historyline
        bcc recall
1$:     rts pc

; recall: puts history line R1 (its length byte at R0) into the line.
recall: movb r1,recalled
        clrb showing
        movb (r0)+,r2
        movb r2,linelen
        movb r2,cursor
        clrb firstshown
        mov #line,r3
        tst r2
        beq 2$
1$:     movb (r0)+,(r3)+
        sob r2,1$
2$:     rts pc

; historyline: R0 -> the length byte of history line R1 (0 the newest), C
; set when there is no such line. Changes R2, R3.
historyline:
        mov #history,r0
        movb histbytes,r2
        bic #0FF00,r2
        add r0,r2
        mov r1,r3
1$:     cmp r0,r2
        bhis 3$
        dec r3
        bmi 2$
        movb (r0)+,-(sp)
        bic #0FF00,(sp)
        add (sp)+,r0
        br 1$
2$:     clc
        rts pc
3$:     sec
        rts pc

; keepline: puts the line in front of the history, the oldest lines falling
; out to make room. Changes R0 to R4.
keepline:
        movb linelen,r3
        mov r3,r4
        inc r4                  ; the room it takes
        mov #history+HISTMAX,r2
        sub r4,r2               ; the lines kept must end below this
        mov #history,r1
        movb histbytes,r0
        bic #0FF00,r0
        add r1,r0
1$:     cmp r1,r0               ; find the last line that still fits
        bhis 2$
        movb (r1),-(sp)
        bic #0FF00,(sp)
        add r1,(sp)
        inc (sp)                ; where the line after it begins
        cmp (sp),r2
        bhi 3$
        mov (sp)+,r1
        br 1$
3$:     tst (sp)+
2$:     mov r1,r0               ; the lines kept end at R0; they move up
        add r4,r1
        sub #history,r1
        movb r1,histbytes
        mov r0,r1
        add r4,r1
4$:     cmp r0,#history
        blos 5$
        movb -(r0),-(r1)
        br 4$
5$:     movb r3,(r0)+           ; the new line in front
        mov #line,r1
        tst r3
        beq 7$
6$:     movb (r1)+,(r0)+
        sob r3,6$
7$:     rts pc

; execute: runs the line, or while listing goes on to the next line. What
; the line changes is sealed whenever the processor sleeps while it runs
; (at PRINT and INPUT) and the first time after (kept.s).
execute:
        tstb showing
        bne 1$
        tst listing
        beq 2$
        tstb listedit
        beq listnext
2$:     tstb linelen
        beq 1$
        jsr pc,keepline
        movb #KEPTRUNNING,keptchanged
        movb #-1,recalled
        movb linelen,r0
        clrb line(r0)           ; the tokeniser stops at the zero byte
        jsr pc,enterline
        movb #KEPTRAN,keptchanged
1$:     rts pc

; listat: lists the first program line numbered R0 or more; with none,
; stops listing.
listat: jsr pc,findfirst
listfrom:
        cmp r1,progend
        bhis stoplisting
        mov r1,listing
        clrb listedit
        mov r1,r4
        add #LINEHEAD,r4        ; the cursor after the line number
        jsr pc,openline
        clrb firstshown
        rts pc
stoplisting:
        jmp clearline

listnext:
        mov listing,r1
        jsr pc,nextline
        br listfrom

listprevious:
        mov #program,r1
        mov r1,r3
1$:     cmp r1,listing          ; R3 -> the line before R1
        bhis 2$
        mov r1,r3
        jsr pc,nextline
        br 1$
2$:     mov r3,r1
        br listfrom
