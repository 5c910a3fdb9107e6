/* A light chaser for the T89C51Rx2 on the debug board: one lit LED walks along port 1, its
   pace set by timer 0; port 3's low bits choose the pattern. */
#include <8051.h>

static const unsigned char patterns[4] = {0x01, 0x03, 0x05, 0x0F};

static void wait_ticks(unsigned char ticks) {
    while (ticks-- != 0) {
        TH0 = 0x4C; /* 50 ms at 11.0592 MHz */
        TL0 = 0x00;
        TF0 = 0;
        TR0 = 1;
        while (!TF0) {
        }
        TR0 = 0;
    }
}

void main(void) {
    unsigned char lit;
    TMOD = 0x01;
    for (;;) {
        lit = patterns[P3 & 3];
        while (lit != 0) {
            P1 = (unsigned char)~lit;
            wait_ticks(4);
            lit <<= 1;
        }
    }
}
