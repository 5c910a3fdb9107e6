/* A counter for the 8051 board under its ROM monitor (user code from 0x1000): port 1 shows a
   count that timer 0 advances every 50 ms. */
#include <8051.h>

void main(void) {
    unsigned char count = 0;
    TMOD = 0x01;
    for (;;) {
        TH0 = 0x4C; /* 50 ms at 11.0592 MHz */
        TL0 = 0x00;
        TF0 = 0;
        TR0 = 1;
        while (!TF0) {
        }
        TR0 = 0;
        P1 = (unsigned char)~++count;
    }
}
