; A program for the debug board: greets over the serial line, then counts for ever through two
; levels of subroutines, keeping the count in R7 of bank 1, in internal RAM 0x40 and in external
; data at 0x0100.
        .area   CODE (ABS)
        .org    0x0800
        ljmp    main

        .org    0x0830
main:   mov     sp, #0x5F
        mov     dptr, #greeting
greet:  clr     a
        movc    a, @a+dptr
        jz      counting
        acall   putc
        inc     dptr
        sjmp    greet
counting:
        mov     psw, #0x08      ; register bank 1
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

keep:   mov     dptr, #0x0100
        movx    @dptr, a
        ret

putc:   mov     sbuf, a
        jnb     ti, .
        clr     ti
        ret

never:  ljmp    never           ; nothing leads here

greeting:
        .ascii  "Hello\r\n"
        .db     0
