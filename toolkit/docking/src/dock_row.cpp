// Length sharing, expansion, growth and splitter limits of a dock bar's row.
#include "docking/dock_row.h"

#include <algorithm>
#include <cstdlib>

namespace xtdock {

namespace {

bool IsDockWindow(const XT_ROW_BAR& bar) { return bar.bVisible && bar.bDockWindow; }

void SetLength(XT_ROW_BAR& bar, XTDockSide side, int nLength) {
    XTSetDockedSize(bar.sizes, side,
                    XTSizeOf(nLength, XTThicknessOf(bar.sizes.sizeCurrent, side), side));
}

int CurrentLength(const XT_ROW_BAR& bar, XTDockSide side) {
    return XTLengthOf(bar.sizes.sizeCurrent, side);
}

}  // namespace

int XTRowDockWindowCount(const XTDockRow& row) {
    return static_cast<int>(std::count_if(row.begin(), row.end(), IsDockWindow));
}

std::vector<BOOL> XTRowStripsBefore(const XTDockRow& row) {
    std::vector<BOOL> strips(row.size(), FALSE);
    int nLeft = XTRowDockWindowCount(row);  // docking windows from the current bar on
    bool bPlaced = false;                   // a docking window lies before the current bar
    const XT_ROW_BAR* pPrev = nullptr;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const XT_ROW_BAR& bar = row[i];
        if (!bar.bVisible) {
            continue;
        }
        const bool bAfterWindow = pPrev != nullptr && pPrev->bDockWindow && nLeft > 0;
        const bool bWindowAfterWindow = bar.bDockWindow && bPlaced;
        strips[i] = bAfterWindow || bWindowAfterWindow;
        if (bar.bDockWindow) {
            bPlaced = true;
            --nLeft;
        }
        pPrev = &bar;
    }
    return strips;
}

int XTRowBarLength(const XT_ROW_BAR& bar, XTDockSide side) {
    return bar.bDockWindow ? CurrentLength(bar, side) : XTLengthOf(bar.sizeFixed, side);
}

int XTRowBarDockedLength(const XT_ROW_BAR& bar, XTDockSide side) {
    if (!bar.bDockWindow) {
        return XTLengthOf(bar.sizeFixed, side);
    }
    return XTLengthOf(side == XTDockSide::Vert ? bar.sizes.sizeVertDock : bar.sizes.sizeHorzDock,
                      side);
}

int XTRowBarDockedThickness(const XT_ROW_BAR& bar, XTDockSide side) {
    if (!bar.bDockWindow) {
        return XTThicknessOf(bar.sizeFixed, side);
    }
    return XTThicknessOf(side == XTDockSide::Vert ? bar.sizes.sizeVertDock : bar.sizes.sizeHorzDock,
                         side);
}

int XTRowLength(const XTDockRow& row, XTDockSide side) {
    const std::vector<BOOL> strips = XTRowStripsBefore(row);
    int nLength = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i].bVisible) {
            nLength += XTRowBarLength(row[i], side) + (strips[i] ? XT_SPLITTER_SIZE : 0);
        }
    }
    return nLength;
}

int XTRowExpandedIndex(const XTDockRow& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (IsDockWindow(row[i]) && row[i].sizes.bExpanded) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void XTExpandInRow(XTDockRow& row, XTDockSide side, int nIndex) {
    XT_ROW_BAR& target = row[static_cast<std::size_t>(nIndex)];
    int nLength = XTRowBarDockedLength(target, side);
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (static_cast<int>(i) != nIndex && IsDockWindow(row[i])) {
            nLength += XTContractToCaption(row[i].sizes, side);
        }
    }
    XTExpandToSize(target.sizes, side, nLength);
}

void XTContractRow(XTDockRow& row, XTDockSide side) {
    for (XT_ROW_BAR& bar : row) {
        if (IsDockWindow(bar)) {
            XTRestoreSize(bar.sizes, side);
        }
    }
}

void XTFitRow(XTDockRow& row, XTDockSide side, int nLength) {
    const int nWindows = XTRowDockWindowCount(row);
    if (nWindows == 0 || XTRowLength(row, side) == nLength) {
        return;
    }
    int nNew = -1;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (IsDockWindow(row[i]) && row[i].bNewlyDocked) {
            nNew = static_cast<int>(i);
            row[i].bNewlyDocked = FALSE;
            break;
        }
    }
    const int nExpanded = XTRowExpandedIndex(row);
    if (nExpanded >= 0) {
        XTContractRow(row, side);
    }

    // What the row has to give (negative) or to spare once the newly docked window has its
    // docked length and everything else its length now.
    const std::vector<BOOL> strips = XTRowStripsBefore(row);
    int d = nLength;
    std::vector<int> others;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const XT_ROW_BAR& bar = row[i];
        if (!bar.bVisible) {
            continue;
        }
        d -= strips[i] ? XT_SPLITTER_SIZE : 0;
        if (!bar.bDockWindow) {
            d -= XTLengthOf(bar.sizeFixed, side);
        } else if (static_cast<int>(i) == nNew) {
            d -= XTRowBarDockedLength(bar, side);
        } else {
            d -= CurrentLength(bar, side);
            others.push_back(static_cast<int>(i));
        }
    }

    for (std::size_t k = 0; k < others.size(); ++k) {
        XT_ROW_BAR& bar = row[static_cast<std::size_t>(others[k])];
        const int nToGo = static_cast<int>(others.size() - k);
        int share = d / nToGo;
        if (d < 0) {
            // The part of the shrink that the windows after this one cannot take (they stop at
            // their captions) is this one's too.
            int nAbsorb = 0;
            for (std::size_t j = k + 1; j < others.size(); ++j) {
                nAbsorb += std::max(
                    CurrentLength(row[static_cast<std::size_t>(others[j])], side) - XT_CAPTION_SIZE,
                    0);
            }
            const int nRest = d - share;
            if (-nRest > nAbsorb) {
                share += nRest + nAbsorb;
            }
        }
        const int nOld = CurrentLength(bar, side);
        const int nNewLength = std::max(nOld + share, XT_CAPTION_SIZE);
        d -= nNewLength - nOld;
        SetLength(bar, side, nNewLength);
    }

    if (nNew >= 0) {
        XT_ROW_BAR& bar = row[static_cast<std::size_t>(nNew)];
        const int nNewLength = std::max(XTRowBarDockedLength(bar, side) + d, XT_CAPTION_SIZE);
        XTSetDockedSize(bar.sizes, side,
                        XTSizeOf(nNewLength, XTRowBarDockedThickness(bar, side), side));
    }
    if (nExpanded >= 0) {
        XTExpandInRow(row, side, nNew >= 0 ? nNew : nExpanded);
    }
}

int XTSetRowThickness(XTDockRow& row, XTDockSide side, int nThickness) {
    for (XT_ROW_BAR& bar : row) {
        if (IsDockWindow(bar)) {
            XTSetDockedSize(bar.sizes, side,
                            XTSizeOf(XTRowBarDockedLength(bar, side), nThickness, side));
        }
    }
    return nThickness;
}

namespace {

// Gives d to the docking windows at the indexes in order, each down to its caption at most.
int Grow(XTDockRow& row, XTDockSide side, const std::vector<int>& order, int d) {
    for (int i : order) {
        if (d == 0) {
            break;
        }
        XT_ROW_BAR& bar = row[static_cast<std::size_t>(i)];
        if (!IsDockWindow(bar)) {
            continue;
        }
        const int nLength = CurrentLength(bar, side);
        const int delta = nLength + d <= XT_CAPTION_SIZE ? XT_CAPTION_SIZE - nLength : d;
        SetLength(bar, side, nLength + delta);
        d -= delta;
    }
    return d;
}

bool HasDockWindow(const XTDockRow& row, int nFirst, int nEnd) {
    for (int i = std::max(nFirst, 0); i < nEnd && i < static_cast<int>(row.size()); ++i) {
        if (IsDockWindow(row[static_cast<std::size_t>(i)])) {
            return true;
        }
    }
    return false;
}

}  // namespace

int XTGrowBefore(XTDockRow& row, XTDockSide side, int nIndex, int d) {
    if (d == 0 || !HasDockWindow(row, 0, nIndex)) {
        return d;
    }
    std::vector<int> order;
    for (int i = nIndex - 1; i >= 0; --i) {
        order.push_back(i);
    }
    return Grow(row, side, order, d);
}

int XTGrowAfter(XTDockRow& row, XTDockSide side, int nIndex, int d) {
    const int nSize = static_cast<int>(row.size());
    if (d == 0 || !HasDockWindow(row, nIndex, nSize)) {
        return d;
    }
    std::vector<int> order;
    for (int i = nIndex; i < nSize; ++i) {
        order.push_back(i);
    }
    return Grow(row, side, order, d);
}

int XTRowThickness(const XTDockRow& row, XTDockSide side, int nIndex) {
    int nThickness = 0;
    for (std::size_t i = static_cast<std::size_t>(std::max(nIndex, 0)); i < row.size(); ++i) {
        if (row[i].bVisible) {
            nThickness = std::max(nThickness, XTRowBarDockedThickness(row[i], side));
        }
    }
    return nThickness;
}

int XTRowMinThickness(const XTDockRow& row, XTDockSide side) {
    int nThickness = 2;
    for (const XT_ROW_BAR& bar : row) {
        if (bar.bVisible && !bar.bDockWindow) {
            nThickness = std::max(nThickness, XTThicknessOf(bar.sizeFixed, side));
        }
    }
    return nThickness;
}

int XTRowSplitterMin(const XTDockRow& row, XTDockSide side, int nIndex) {
    const std::vector<BOOL> strips = XTRowStripsBefore(row);
    int nMin = 0;
    for (int i = 0; i < nIndex && i < static_cast<int>(row.size()); ++i) {
        const XT_ROW_BAR& bar = row[static_cast<std::size_t>(i)];
        if (!bar.bVisible) {
            continue;
        }
        nMin += strips[static_cast<std::size_t>(i)] ? XT_SPLITTER_SIZE : 0;
        nMin += bar.bDockWindow ? XT_CAPTION_SIZE : XTLengthOf(bar.sizeFixed, side);
    }
    return nMin;
}

int XTRowSplitterMax(const XTDockRow& row, XTDockSide side, int nIndex, int nPosition) {
    int nMax = nPosition;
    for (std::size_t i = static_cast<std::size_t>(std::max(nIndex, 0)); i < row.size(); ++i) {
        if (IsDockWindow(row[i])) {
            nMax += CurrentLength(row[i], side) - XT_CAPTION_SIZE;
        }
    }
    return nMax;
}

CSize XTTrackSplitter(XT_SPLITTER_TRACK& track, CPoint pt, BOOL bAlongY, BOOL bReversed) {
    int d = bAlongY ? pt.y - track.ptLast.y : pt.x - track.ptLast.x;
    if (bReversed) {
        d = -d;
    }
    if (track.nCurrent + d > track.nMax) {
        d = track.nMax - track.nCurrent;
    }
    if (track.nCurrent + d < track.nMin) {
        d = track.nMin - track.nCurrent;
    }
    track.nCurrent += d;
    const int screen = bReversed ? -d : d;
    const CSize move = bAlongY ? CSize(0, screen) : CSize(screen, 0);
    track.ptLast.x += move.cx;
    track.ptLast.y += move.cy;
    return move;
}

}  // namespace xtdock
