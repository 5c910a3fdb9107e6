// The byte order of the PIC word areas.
#include "block_walk.h"

void SwapWordBytes(const BYTE* from, BYTE* to, DWORD count) {
    DWORD i = 0;
    for (; i + 1 < count; i += 2) {
        to[i] = from[i + 1];
        to[i + 1] = from[i];
    }
    if (i < count) {
        to[i] = from[i];
    }
}
