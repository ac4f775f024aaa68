        .radix 16
; The RAM layout. Nothing here puts a byte into the ROM image; the labels
; only give the addresses names.

LINEMAX = 40.                   ; characters in a line
KEPTLINE = LINEMAX+2            ; a line of the history: its length, the
                                ; characters and a spare byte to keep it even
HISTORYLINES = 4                ; lines in the history

; What the machine keeps between sessions comes first: a signature and a
; checksum guard the last result and the history, so that an empty image, or
; one written by another program, is recognised and started afresh.
        .org 8000
signature:
        .blkb 4                 ; "VXC1"
checksum:
        .blkb 2                 ; over answer to keptend
answer: .blkb 2                 ; the last result, ANS
answerknown:
        .blkb 1                 ; 1 once a result has been kept
keptlines:
        .blkb 1                 ; lines in the history so far
history:                        ; HISTORYLINES lines, the newest first
        .blkb KEPTLINE+KEPTLINE+KEPTLINE+KEPTLINE
keptend:

; The working state, set up afresh at every start.
        .org 8100
line:   .blkb LINEMAX+2         ; the line being edited, the zero byte that
                                ; ends it for the evaluator, and a spare
linelen:
        .blkb 1
cursor: .blkb 1                 ; 0 to linelen
firstshown:
        .blkb 1                 ; the first character in view
overwrite:
        .blkb 1                 ; 0 while typing inserts, 1 while it overwrites
showing:
        .blkb 1                 ; 1 while a result or a message is shown
recalled:
        .blkb 1                 ; the history line on show, FF for none
errorat:
        .blkb 1                 ; where the cursor goes back to from a result
        .blkb 1
indicators:
        .blkb 0C                ; copies of the write-only bytes 8k of the
                                ; display, for cells 0 to 11
screen: .blkb 0C                ; the characters the line editor shows
shown:  .blkb 0C                ; a result or a message
heldkey:
        .blkb 2                 ; the key index taken as held, 0 for none
repeatin:
        .blkb 2                 ; key scans until a held key repeats
awakefor:
        .blkb 2                 ; key scans before the processor sleeps again
evalstack:
        .blkb 2                 ; the stack pointer an evaluation unwinds to
haltsave:
        .blkb 10                ; R0 to R5, SP and the control port of the
                                ; program that halt mode interrupted
haltstack:
        .blkb 40
haltstacktop:
rndseed:
        .blkb 8                 ; the state of RND's generator (float.s)
workend:
        .org 8800
stacktop:
