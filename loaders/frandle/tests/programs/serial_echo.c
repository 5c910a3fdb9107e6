/* A serial echo for the Frandle board: every character received at 19200 baud (timer 1 in mode 2
   at 11.0592 MHz, SMOD set) is sent back, and port 1 shows the last one. */
#include <8051.h>

void main(void) {
    SCON = 0x50;
    TMOD = 0x20;
    TH1 = 0xFD;
    PCON |= 0x80;
    TR1 = 1;
    for (;;) {
        unsigned char c;
        while (!RI) {
        }
        RI = 0;
        c = SBUF;
        P1 = c;
        SBUF = c;
        while (!TI) {
        }
        TI = 0;
    }
}
