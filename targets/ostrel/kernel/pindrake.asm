; Pindrake, the simulation kernel: runs on the board's 8051 and serves the simulator's reads and
; writes of its special function registers (the ports above all) over the serial line.
;
; Commands, one byte each, no framing:
;   0x7F            probe: answered by the version text, five characters
;   0x00 to 0x7E    read of the register at (byte OR 0x80): answered by its value
;   0x80 to 0xFF    write of the register at that address: the value byte follows, no answer
;
; The serial port is used as the boot loader left it (mode 1, its baud rate, the receiver on):
; the kernel answers at the rate it was loaded at, which is why the simulator tries that rate too.
; The registers the kernel works with itself (ACC, PSW, SP, DPL, DPH) read as they are while it
; serves the command.
        .area   CODE (ABS)

        .org    0x0000
        ljmp    start

        .org    0x0030
start:  mov     sp, #0x2F
        setb    ren
        clr     ri
next:   acall   receive
        cjne    a, #0x7F, command
        mov     dptr, #version
        mov     r6, #5
probe:  clr     a
        movc    a, @a+dptr
        acall   send
        inc     dptr
        djnz    r6, probe
        sjmp    next
command:
        jb      acc.7, write
        acall   readsfr
        acall   send
        sjmp    next
write:  mov     r5, a
        acall   receive
        mov     r7, a
        mov     a, r5
        acall   writesfr
        sjmp    next

; The next received byte in A.
receive:
        jnb     ri, receive
        mov     a, sbuf
        clr     ri
        ret

; Sends A and waits until it is out.
send:   mov     sbuf, a
sent:   jnb     ti, sent
        clr     ti
        ret

; A holds a register address (bit 7 ignored): its value in A. The registers cannot be reached
; indirectly, so each one has its own four-byte routine in a table; bit 6 picks the half.
readsfr:
        mov     dptr, #readlow
        jnb     acc.6, readat
        mov     dptr, #readhigh
readat: anl     a, #0x3F
        rl      a
        rl      a
        jmp     @a+dptr

; A holds a register address, R7 the value to write there.
writesfr:
        mov     dptr, #writelow
        jnb     acc.6, writeat
        mov     dptr, #writehigh
writeat:
        anl     a, #0x3F
        rl      a
        rl      a
        jmp     @a+dptr

version:
        .ascii  "V1.00"

        .org    0x0100
readlow:
        register = 0x80
        .rept   64
        mov     a, register
        ret
        nop
        register = register + 1
        .endm
readhigh:
        .rept   64
        mov     a, register
        ret
        nop
        register = register + 1
        .endm
writelow:
        register = 0x80
        .rept   64
        mov     register, r7
        ret
        nop
        register = register + 1
        .endm
writehigh:
        .rept   64
        mov     register, r7
        ret
        nop
        register = register + 1
        .endm
