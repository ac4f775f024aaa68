        .radix 16
; The RAM layout, 2 KiB in all. Nothing here puts a byte into the ROM image;
; the labels only give the addresses names. Included after the number
; module, whose FSIZE gives the size of a number.

LINEMAX = 48.                   ; characters in a line
OUTMAX = 48.                    ; characters in a line of output
HISTMAX = LINEMAX+2            ; bytes of the history of lines
PROGSIZE = 1200.                ; bytes for the program
FORDEPTH = 4                    ; FOR loops open at once
GOSUBDEPTH = 8                  ; GOSUBs open at once
FLOATSTACK = 120.               ; the most stack a number routine takes

; What the machine keeps between sessions comes first, under a signature
; and two checks (CRC-16): one over the numbers and the history, which change
; all the time, and one over the program; each is sealed when the processor
; goes to sleep after a change, and the program when a run starts too, so
; that EXE costs no check. A program that is running when the emulator closes
; keeps its program; only its variables may be lost. An image that is empty, damaged or written by another program is
; recognised at power-on and started afresh (kept.s).
        .org 8000
signature:
        .blkb 4                 ; "VXB2"
keptsum:
        .blkb 2                 ; over answer to varsend
answer: .blkb FSIZE             ; ANS, the last value an expression showed
rndseed:
        .blkb FSIZE             ; the state of RND's generator (float.s)
answerknown:
        .blkb 1                 ; 1 once a value has been kept as ANS
histbytes:
        .blkb 1                 ; bytes of history in use
history:                        ; lines as a length byte and the characters,
        .blkb HISTMAX           ; the newest first
vars:   .blkb 26.*FSIZE         ; the variables A to Z
varsend:
progsum:
        .blkb 2                 ; over progend to the end of the program
progend:
        .blkb 2                 ; the end of the program
program:                        ; the program's lines, in order: see program.s
        .blkb PROGSIZE
progtop:

; The working state, set up afresh at every start.
line:   .blkb LINEMAX+2         ; the line being edited; when run, its tokens
                                ; and the zero byte that ends them
outbuf: .blkb OUTMAX            ; a line of output, a value or a message; also
                                ; where a line is made text again for editing
indicators:
        .blkb CELLS             ; copies of the write-only bytes 8k of the
                                ; display, for cells 0 to 11
heldkey:
        .blkw 1                 ; the key index taken as held, 0 for none
repeatin:
        .blkw 1                 ; key scans until a held key repeats
awakefor:
        .blkw 1                 ; key scans before the processor sleeps again
keyscans:
        .blkw 1                 ; key scans since power-on, for RND's seed
curline:
        .blkw 1                 ; the program line running, 0 for the line typed
stmtstart:
        .blkw 1                 ; where the statement running began
errsp:  .blkw 1                 ; the stack an error unwinds to (errors.s)
errpos: .blkw 1                 ; where in its line the run stopped, 0 for its end
errline:
        .blkw 1                 ; the program line it stopped in, 0 for the line typed
conttext:
        .blkw 1                 ; where CONT goes on, in contline
contline:
        .blkw 1
contentry:
        .blkw 1                 ; the point of the statement loop it goes on at
forsp:  .blkw 1                 ; the next free entry of forstack
gosubsp:
        .blkw 1                 ; the next free entry of gosubstack
listing:
        .blkw 1                 ; the program line listed, 0 when not listing
showline:
        .blkw 1                 ; the line number shown with the output, 0 for none
linelen:
        .blkb 1
cursor: .blkb 1                 ; fixedlen to linelen
firstshown:
        .blkb 1                 ; the first character in view
overwrite:
        .blkb 1                 ; 0 while typing inserts, 1 while it overwrites
showing:
        .blkb 1                 ; 1 while output is shown instead of the line
recalled:
        .blkb 1                 ; the history line on show, FF for none
fixedlen:
        .blkb 1                 ; characters at the start of the line that are
                                ; not the user's: the prompt of INPUT
listedit:
        .blkb 1                 ; 1 once the listed line is being edited
shifted:
        .blkb 1                 ; 1 after the shift key, until the next key
heldshift:
        .blkb 1                 ; the shift that the held key went down with
outlen: .blkb 1                 ; characters in outbuf
outscroll:
        .blkb 1                 ; the first one in view
cancont:
        .blkb 1                 ; 1 when CONT can go on
linefull:
        .blkb 1                 ; 1 when the line refused the last key
progchanged:
        .blkb 1                 ; 1 when the program changed since it was sealed
keptchanged:
        .blkb 1                 ; whether a line runs or ran since the numbers
                                ; were sealed (kept.s)
        .even
FORENTRY = 6+FSIZE+FSIZE
forstack:                       ; FOR loops: the variable (bit 0 set for a
        .blkb FORDEPTH*FORENTRY ; negative step), the text and the line after
forend:                         ; the FOR, the limit and the step
gosubstack:                     ; GOSUBs: the text and the line after each
        .blkw GOSUBDEPTH*2
gosubend:
haltsave:
        .blkw 8                 ; R0 to R5, SP and the control port of the
                                ; program that halt mode interrupted
        .blkb 12.               ; its stack: two calls deep
haltstacktop:
workend:
; The processor's stack takes the rest. The evaluator, which recurses,
; stops with an error before it would leave less than a number routine
; needs and the few words it pushes on the way (expression.s).
stacklimit = workend+FLOATSTACK+20.
        .org 8800
stacktop:
