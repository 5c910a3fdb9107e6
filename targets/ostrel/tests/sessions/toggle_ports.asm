; A program on a board's ports: toggles P1 and copies what the pins of P3 read into P2.
        .area   CODE (ABS)
        .org    0x0000
loop:   mov     p1, #0x55
        mov     p1, #0xAA
        mov     a, p3
        mov     p2, a
        cpl     p1.0
        sjmp    loop
