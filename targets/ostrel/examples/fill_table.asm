; Example program for the 8051 simulator: fills a table in internal RAM through a subroutine,
; points DPTR at a text, then counts in a loop.
        .area   CODE (ABS)
        .org    0x0000
        ljmp    main

        .org    0x0040
main:   mov     sp, #0x5F
        mov     r0, #0x30
        mov     r7, #8
        mov     a, #1
fill:   lcall   store           ; 0x30..0x37 = 01 02 04 ... 80
        rl      a
        djnz    r7, fill
        mov     dptr, #message
count:  inc     0x40
        sjmp    count

store:  mov     @r0, a
        inc     r0
        ret

message:
        .ascii  "Ostrel"
