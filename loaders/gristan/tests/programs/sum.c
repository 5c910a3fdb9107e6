/* A check for the Gristan board: the sum of a table of primes goes out on ports 1 and 2. */
#include <8051.h>

static const unsigned char primes[12] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};

void main(void) {
    unsigned int sum = 0;
    unsigned char i;
    for (i = 0; i < sizeof primes; ++i) {
        sum += primes[i];
    }
    P1 = (unsigned char)sum;
    P2 = (unsigned char)(sum >> 8);
    for (;;) {
    }
}
