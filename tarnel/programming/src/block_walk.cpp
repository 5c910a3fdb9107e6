// The byte order and the packets of the PIC word areas.
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

WordSpan WordSpanOf(DWORD start, DWORD jobSize, DWORD first) {
    const DWORD address = (start + first) & ~1u;
    const DWORD jobEnd = (start + jobSize + 1) & ~1u;  // past the word of the job's last cell
    const DWORD end = jobEnd - address < kBlockCells ? jobEnd : address + kBlockCells;
    return WordSpan{address, end - address};
}

bool CellAtPlace(DWORD start, DWORD jobSize, const WordSpan& span, DWORD place, DWORD* cell) {
    const DWORD at = (span.address + place) ^ 1u;
    if (at < start || at - start >= jobSize) {
        return false;
    }
    *cell = at - start;
    return true;
}
