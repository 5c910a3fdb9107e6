/* Compiler-generated code: sorting, a CRC, 32-bit and signed arithmetic, a switch, generic pointers
   and calls through a function pointer. */
// peer: chip=8052 steps=100000
#include <stdint.h>

__xdata uint8_t table[32];
__xdata uint16_t crcs[4];
__xdata int32_t wide[8];
__code const char text[] = "An 8051 walks into a bar.";
uint8_t seed = 0x5D;

/* The end of the run: the comparison stops here. */
void halt(void) __naked
{
    __asm
00001$:
    sjmp 00001$
    __endasm;
}

static uint8_t next_random(void)
{
    seed = (uint8_t)(seed * 109u + 89u);
    return seed;
}

static void sort(__xdata uint8_t *items, uint8_t count)
{
    for (uint8_t i = 0; i + 1 < count; i++) {
        for (uint8_t j = 0; j + 1 < count - i; j++) {
            if (items[j] > items[j + 1]) {
                uint8_t swap = items[j];
                items[j] = items[j + 1];
                items[j + 1] = swap;
            }
        }
    }
}

/* Reads through a generic pointer: code, data and external memory alike. */
static uint16_t crc16(const uint8_t *bytes, uint8_t count)
{
    uint16_t crc = 0xFFFF;
    while (count--) {
        crc ^= (uint16_t)(*bytes++) << 8;
        for (uint8_t bit = 0; bit < 8; bit++) {
            crc = (crc & 0x8000) ? (uint16_t)((crc << 1) ^ 0x1021) : (uint16_t)(crc << 1);
        }
    }
    return crc;
}

static int8_t classify(uint8_t value)
{
    switch (value % 7) {
    case 0: return -3;
    case 1: return 17;
    case 2: return -100;
    case 3: return 42;
    case 4: return 0;
    case 5: return -1;
    default: return 99;
    }
}

typedef int32_t (*binary_op)(int32_t, int32_t) __reentrant;

static int32_t multiply(int32_t a, int32_t b) __reentrant { return a * b; }
static int32_t divide(int32_t a, int32_t b) __reentrant { return b ? a / b : 0; }
static int32_t remainder(int32_t a, int32_t b) __reentrant { return b ? a % b : 0; }
static int32_t shifted(int32_t a, int32_t b) __reentrant { return (a >> (b & 7)) ^ (a << 3); }

static const binary_op operations[] = {multiply, divide, remainder, shifted};

void main(void)
{
    uint8_t local[16];
    for (uint8_t i = 0; i < sizeof table; i++) {
        table[i] = next_random();
    }
    for (uint8_t i = 0; i < sizeof local; i++) {
        local[i] = (uint8_t)(table[i] ^ i);
    }
    crcs[0] = crc16(text, sizeof text - 1);
    crcs[1] = crc16(table, sizeof table);
    sort(table, sizeof table);
    crcs[2] = crc16(table, sizeof table);
    crcs[3] = crc16(local, sizeof local);

    int16_t sum = 0;
    for (uint8_t i = 0; i < sizeof table; i++) {
        sum += classify(table[i]) * (int8_t)(i - 20);
    }
    wide[0] = sum;
    int32_t a = 123456789L;
    int32_t b = -9876L;
    for (uint8_t i = 0; i < 4; i++) {
        wide[1 + i] = operations[i](a, b);
        a = wide[1 + i] + (int32_t)table[i] * 1000;
        b = (b * 3) / 2 + 7;
    }
    wide[5] = (uint32_t)0xDEADBEEF / 12345u;
    wide[6] = (int32_t)((uint32_t)crcs[0] * crcs[1]) >> 5;
    wide[7] = -wide[6] % 1000;
    halt();
}
