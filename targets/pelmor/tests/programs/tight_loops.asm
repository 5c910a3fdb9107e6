; Loops inside the three bytes after a breakpoint's address, for runs that step off a breakpoint
; and never leave its bytes.
        .area   CODE (ABS)
        .org    0x1000
; A jump to itself one byte after 0x1000: a step there leaves the PC where it was.
start:  nop
self:   sjmp    self

        .org    0x1010
; The PC passes back and forth between 0x1011 and 0x1012, never back at 0x1010.
pair:   nop
back:   nop
        sjmp    back
