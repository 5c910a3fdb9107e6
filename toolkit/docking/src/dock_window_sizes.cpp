// The sizes of a docking window: layout answers, row changes and the stored record.
#include "docking/dock_window_sizes.h"

#include "classlib/ids.h"

#include <algorithm>

namespace xtdock {

int XTLengthOf(const CSize& size, XTDockSide side) {
    return side == XTDockSide::Vert ? size.cy : size.cx;
}

int XTThicknessOf(const CSize& size, XTDockSide side) {
    return side == XTDockSide::Vert ? size.cx : size.cy;
}

CSize XTSizeOf(int nLength, int nThickness, XTDockSide side) {
    return side == XTDockSide::Vert ? CSize(nThickness, nLength) : CSize(nLength, nThickness);
}

CSize XTDockWindowLayout(XT_DOCK_SIZES& sizes, int nLength, DWORD dwMode) {
    if (dwMode & LM_COMMIT) {
        sizes.sizeFloat = sizes.sizeCurrent;
    }
    if (dwMode & LM_HORZDOCK) {
        return sizes.sizeHorzDock;
    }
    if (dwMode & LM_VERTDOCK) {
        return sizes.sizeVertDock;
    }
    if (dwMode & LM_MRUWIDTH) {
        return sizes.sizeFloat;
    }
    // A floating frame being sized asks for one length at a time.
    if (dwMode == LM_HORZ) {
        sizes.sizeCurrent.cx = std::max(nLength, XT_MIN_FLOAT_SIZE);
    } else if (dwMode == (LM_HORZ | LM_LENGTHY)) {
        sizes.sizeCurrent.cy = std::max(nLength, XT_MIN_FLOAT_SIZE);
    }
    return sizes.sizeCurrent;
}

void XTSetDockedSize(XT_DOCK_SIZES& sizes, XTDockSide side, const CSize& size) {
    sizes.sizeCurrent = size;
    switch (side) {
        case XTDockSide::Horz:
            sizes.sizeHorzDock = size;
            break;
        case XTDockSide::Vert:
            sizes.sizeVertDock = size;
            break;
        case XTDockSide::Floating:
            sizes.sizeFloat = size;
            break;
    }
}

void XTRestoreSize(XT_DOCK_SIZES& sizes, XTDockSide side) {
    if (side == XTDockSide::Horz) {
        sizes.sizeCurrent = sizes.sizeHorzDock;
    } else if (side == XTDockSide::Vert) {
        sizes.sizeCurrent = sizes.sizeVertDock;
    }
    sizes.bExpanded = FALSE;
}

int XTContractToCaption(XT_DOCK_SIZES& sizes, XTDockSide side) {
    sizes.bExpanded = FALSE;
    if (side == XTDockSide::Horz) {
        sizes.sizeCurrent.cx = XT_CAPTION_SIZE;
        return sizes.sizeHorzDock.cx - XT_CAPTION_SIZE;
    }
    if (side == XTDockSide::Vert) {
        sizes.sizeCurrent.cy = XT_CAPTION_SIZE;
        return sizes.sizeVertDock.cy - XT_CAPTION_SIZE;
    }
    return 0;
}

void XTExpandToSize(XT_DOCK_SIZES& sizes, XTDockSide side, int nLength) {
    if (side == XTDockSide::Horz) {
        sizes.sizeCurrent.cx = nLength;
    } else if (side == XTDockSide::Vert) {
        sizes.sizeCurrent.cy = nLength;
    }
    sizes.bExpanded = TRUE;
}

namespace {

void PutValue(BYTE* p, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

int GetValue(const BYTE* p) {
    DWORD value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<DWORD>(p[i]) << (8 * i);
    }
    return static_cast<int>(value);
}

}  // namespace

void XTWriteBarPosition(const XT_DOCK_SIZES& sizes, DWORD dwToolkitStyle,
                        BYTE (&record)[XT_BAR_POSITION_BYTES]) {
    const int values[] = {sizes.sizeVertDock.cx,
                          sizes.sizeVertDock.cy,
                          sizes.sizeHorzDock.cx,
                          sizes.sizeHorzDock.cy,
                          sizes.sizeFloat.cx,
                          sizes.sizeFloat.cy,
                          sizes.sizeCurrent.cx,
                          sizes.sizeCurrent.cy,
                          sizes.bAloneInRow,
                          sizes.bExpanded,
                          static_cast<int>(dwToolkitStyle)};
    for (std::size_t i = 0; i < XT_BAR_POSITION_BYTES / 4; ++i) {
        PutValue(record + 4 * i, static_cast<DWORD>(values[i]));
    }
}

BOOL XTReadBarPosition(const BYTE* pRecord, std::size_t nBytes, XT_DOCK_SIZES& sizes) {
    if (pRecord == nullptr || nBytes < XT_BAR_POSITION_READ_BYTES) {
        return FALSE;
    }
    auto at = [pRecord](int i) { return GetValue(pRecord + 4 * i); };
    sizes.sizeVertDock = CSize(at(0), at(1));
    sizes.sizeHorzDock = CSize(at(2), at(3));
    sizes.sizeFloat = CSize(at(4), at(5));
    sizes.sizeCurrent = CSize(at(6), at(7));
    sizes.bAloneInRow = at(8);
    sizes.bExpanded = at(9);
    return TRUE;
}

namespace {

CSize ClampSize(const CSize& size, int nMin, const CSize& sizeMax) {
    // The least wins when the room is smaller still: a window needs some size to exist at all.
    return CSize(std::max(nMin, std::min<int>(size.cx, sizeMax.cx)),
                 std::max(nMin, std::min<int>(size.cy, sizeMax.cy)));
}

}  // namespace

void XTClampRestoredSizes(XT_DOCK_SIZES& sizes, const CSize& sizeMax) {
    sizes.sizeVertDock = ClampSize(sizes.sizeVertDock, 1, sizeMax);
    sizes.sizeHorzDock = ClampSize(sizes.sizeHorzDock, 1, sizeMax);
    sizes.sizeFloat = ClampSize(sizes.sizeFloat, XT_MIN_FLOAT_SIZE, sizeMax);
    sizes.sizeCurrent = ClampSize(sizes.sizeCurrent, 1, sizeMax);
}

}  // namespace xtdock
