/* A program for the 8051 board's RAM, loaded at 0x0100 by its program monitor: it counts
   timer 0 overflows and shows the count on port 1. */
#include <8051.h>

static volatile unsigned char overflows;

void timer0(void) __interrupt(1) {
    ++overflows;
}

void main(void) {
    TMOD = 0x02; /* 8-bit auto-reload */
    TH0 = 0x00;
    ET0 = 1;
    EA = 1;
    TR0 = 1;
    for (;;) {
        P1 = overflows;
    }
}
