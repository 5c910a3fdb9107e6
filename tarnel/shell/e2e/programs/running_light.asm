; A running light on port 1: one lit LED steps along the port, its pattern and pace taken from
; a table, for the device programmer's end-to-end session to write into a chip and read back.
        .area   CODE (ABS)
        .org    0x0000
        ljmp    main

        .org    0x0030
main:   mov     sp, #0x5F
again:  mov     dptr, #pattern
        mov     r6, #(pattern_end - pattern)
step:   clr     a
        movc    a, @a+dptr
        cpl     a               ; the LEDs light on a low pin
        mov     p1, a
        inc     dptr
        lcall   pause
        djnz    r6, step
        sjmp    again

; About 100 ms at 12 MHz: 200 x 250 x 2 cycles.
pause:  mov     r5, #200
outer:  mov     r4, #250
inner:  djnz    r4, inner
        djnz    r5, outer
        ret

        .org    0x0100
pattern:
        .db     0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80
        .db     0x40, 0x20, 0x10, 0x08, 0x04, 0x02
pattern_end:

        .org    0x0180
banner:
        .ascii  "Running light for the programmer board's chip, version 1.0"
        .db     0
