        .radix 16
; Halt mode, entered through the vector at 78 when the halt key is pressed:
; the STOP indicator shows until a key is pressed and let go, then the
; interrupted program resumes where it stopped, its registers, stack and
; speed as they were. The handler keeps to a stack of its own, so a program
; whose stack pointer is astray can be stopped too.
haltmode:
        mov r0,haltsave
        mov r1,haltsave+2
        mov r2,haltsave+4
        mov r3,haltsave+6
        mov r4,haltsave+8
        mov r5,haltsave+0A
        mov sp,haltsave+0C
        mov @#ctrl,haltsave+0E
        mov #haltstacktop,sp
        mov #WORKING,@#ctrl
        bisb #STOP,indicators+0B
        jsr pc,putindicators
haltwait:
        jsr pc,scankey
        tst r0
        bne haltrelease
        clr @#ctrl              ; sleep until a key is held; the halt key
        mov #WORKING,@#ctrl     ; itself, still down, wakes it at once
        br haltwait
haltrelease:
        jsr pc,scankey
        tst r0
        bne haltrelease
        bicb #STOP,indicators+0B
        jsr pc,putindicators
        mov haltsave+0E,@#ctrl
        mov haltsave,r0
        mov haltsave+2,r1
        mov haltsave+4,r2
        mov haltsave+6,r3
        mov haltsave+8,r4
        mov haltsave+0A,r5
        mov haltsave+0C,sp
        go                      ; PC and PSW from before the halt
