/* The kit board's port mirror: port 1 follows port 3, inverted, and port 2 counts the changes. */
#include <8051.h>

void main(void) {
    unsigned char last = P3;
    unsigned char changes = 0;
    for (;;) {
        unsigned char now = P3;
        if (now != last) {
            last = now;
            P2 = ++changes;
        }
        P1 = (unsigned char)~now;
    }
}
