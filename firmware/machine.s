        .radix 16
; The machine: the display memory and the ports, between the vectors and the
; code. Nothing here puts a byte into the ROM image; the labels only give the
; addresses names.

; The display memory, write-only: twelve cells of eight bytes. Byte 8k holds
; indicator and segment bits, bytes 8k+1 to 8k+7 the dot rows of cell k, top
; first, bit 0 the leftmost dot. Then the cursor byte: the cell in bits 0-3
; (12 to 15 show none), bit 4 set for an underline, clear for a block.
        .org 80
lcd:    .blkb 60
lcdcursor:
        .blkb 20
CELLS = 0C
NOCURSOR = 0F
UNDERLINE = 10

; The ports. Writing column bits (2, 4, 8) to keyout selects key columns;
; keyin then gives the two return lines of a held key of those columns.
; In ctrl, the run bit (400) stops the processor when cleared, until a key is
; held, and the speed bit (800) makes every step eight times cheaper, so
; that the run loop's 10 ms give 250 steps instead of 32.
keyin:  .blkb 2
keyout: .blkb 2
ctrl:   .blkb 4
ALLCOLUMNS = 0E
WORKING = 0C00                  ; run and speed

; Waits are counted in steps of the fast mode.
HALFSECOND = 12500.
SECOND = 25000.
