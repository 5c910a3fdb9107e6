/* A beacon for the Zeppra board: one pin of port 1 blinks at a pace read from a table, chosen by
   port 3's low bits. */
#include <8051.h>

static const unsigned char paces[4] = {2, 4, 8, 16};

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
    TMOD = 0x01;
    for (;;) {
        P1_0 = !P1_0;
        wait_ticks(paces[P3 & 3]);
    }
}
