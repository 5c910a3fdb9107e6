; A program for the monitor board: greets over the serial line, then counts for ever through two
; levels of subroutines, keeping the count in R7 (bank 0) and in internal RAM 0x40.
        .area   CODE (ABS)
        .org    0x1000
main:   mov     sp, #0x5F
        mov     dptr, #greeting
greet:  clr     a
        movc    a, @a+dptr
        jz      counting
        acall   putc
        inc     dptr
        sjmp    greet
counting:
        mov     r7, #0
        mov     r0, #0x40
again:  lcall   bump
        nop
        sjmp    again

bump:   inc     r7
        mov     a, r7
        mov     @r0, a
        lcall   keep
        ret

keep:   mov     0x30, a
        ret

putc:   mov     sbuf, a
        jnb     ti, .
        clr     ti
        ret

greeting:
        .ascii  "Hi\r\n"
        .db     0
