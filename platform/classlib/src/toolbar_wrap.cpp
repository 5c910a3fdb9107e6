// The toolbar's wrapping rules: row breaks for a width, the size of the wrapped buttons, and the
// searches that fit a bar to a width or a height.
#include "classlib/toolbar_wrap.h"

#include <algorithm>

namespace {

// Wider than any bar: wrapping at it gives one row.
const int kOneRow = 32767;

bool IsPlainSeparator(const AFX_TOOLBOX& box) {
    return box.bSeparator && !box.bControl && !box.bHidden;
}

// Where a row that overflows at box i breaks: its last plain separator up to i, else the last
// box before i that may end a row; -1 when nothing in the row can.
int FindBreak(const std::vector<AFX_TOOLBOX>& boxes, int i) {
    for (int j = i; j >= 0 && !boxes[j].bWrap; --j) {
        if (IsPlainSeparator(boxes[j])) {
            return j;
        }
    }
    for (int j = i - 1; j >= 0 && !boxes[j].bWrap; --j) {
        if (!boxes[j].bHidden && !(boxes[j].bSeparator && boxes[j].bControl)) {
            return j;
        }
    }
    return -1;
}

int HeightAtWidth(std::vector<AFX_TOOLBOX>& boxes, int nWidth, const AFX_TOOLMETRICS& metrics) {
    AfxWrapToolBoxes(boxes, nWidth);
    return AfxMeasureToolBoxes(boxes, metrics).cy;
}

}  // namespace

int AfxWrapToolBoxes(std::vector<AFX_TOOLBOX>& boxes, int nWidth) {
    int count = static_cast<int>(boxes.size());
    for (AFX_TOOLBOX& box : boxes) {
        box.bWrap = FALSE;
    }
    int rows = 1;
    int x = 0;
    for (int i = 0; i < count; ++i) {
        const AFX_TOOLBOX& box = boxes[i];
        if (box.bHidden) {
            continue;
        }
        if (x + box.nWidth <= nWidth) {
            x += box.nWidth;
            continue;
        }
        int at = FindBreak(boxes, i);
        if (at < 0) {
            x += box.nWidth;  // nothing to break at: the row stays too wide
            continue;
        }
        boxes[at].bWrap = TRUE;
        ++rows;
        x = 0;
        i = at;  // the next row starts after the break
    }
    return rows;
}

CSize AfxMeasureToolBoxes(const std::vector<AFX_TOOLBOX>& boxes, const AFX_TOOLMETRICS& metrics) {
    CSize size(0, 0);
    CPoint cur(0, 0);
    for (const AFX_TOOLBOX& box : boxes) {
        if (box.bHidden) {
            continue;
        }
        int below = 0;
        if (box.bSeparator && box.bWrap) {
            if (box.nDepth >= 0) {
                below = box.nDepth;
            } else {
                below = metrics.bFlat ? box.nWidth : box.nWidth * 2 / 3;
            }
            size.cy = std::max<LONG>(size.cy, cur.y + metrics.cyButton + below);
        } else if (box.bSeparator) {
            size.cx = std::max<LONG>(size.cx, cur.x + box.nWidth);
        } else {
            size.cx = std::max<LONG>(size.cx, cur.x + box.nWidth);
            size.cy = std::max<LONG>(size.cy, cur.y + metrics.cyButton);
        }
        cur.x += box.nWidth;
        if (box.bWrap) {
            cur.x = 0;
            cur.y += metrics.cyButton + below;
        }
    }
    return size;
}

void AfxWrapToolBoxesToWidth(std::vector<AFX_TOOLBOX>& boxes, int nLength,
                             const AFX_TOOLMETRICS& metrics) {
    int rows = AfxWrapToolBoxes(boxes, nLength);
    // Rows only grow as the width shrinks: halve towards the narrowest width with no more rows.
    int narrow = 0;
    int wide = std::max(nLength, 0);
    if (AfxWrapToolBoxes(boxes, narrow) <= rows) {
        wide = narrow;
    }
    while (wide - narrow > 1) {
        int mid = narrow + (wide - narrow) / 2;
        if (AfxWrapToolBoxes(boxes, mid) <= rows) {
            wide = mid;
        } else {
            narrow = mid;
        }
    }
    AfxWrapToolBoxes(boxes, wide);
    AfxWrapToolBoxes(boxes, AfxMeasureToolBoxes(boxes, metrics).cx);
}

void AfxWrapToolBoxesToHeight(std::vector<AFX_TOOLBOX>& boxes, int nLength,
                              const AFX_TOOLMETRICS& metrics) {
    // One column is the tallest layout and one row the widest; heights only fall as the width
    // grows, so the narrowest width that fits is found by halving between the two.
    AfxWrapToolBoxes(boxes, 0);
    CSize column = AfxMeasureToolBoxes(boxes, metrics);
    if (column.cy <= nLength) {
        return;
    }
    int narrow = column.cx;
    AfxWrapToolBoxes(boxes, kOneRow);
    CSize row = AfxMeasureToolBoxes(boxes, metrics);
    int wide = row.cx;
    if (row.cy > nLength || wide <= narrow) {
        return;  // even one row is taller: one row it is
    }
    while (wide - narrow > 1) {
        int mid = narrow + (wide - narrow) / 2;
        if (HeightAtWidth(boxes, mid, metrics) <= nLength) {
            wide = mid;
        } else {
            narrow = mid;
        }
    }
    AfxWrapToolBoxes(boxes, wide);
}
