// Where a toolbar's buttons break into rows to fit a width or a height, and the size of the
// wrapped bar: the toolbar's layout rules, apart from the control that shows the buttons.
#pragma once

#include "classlib/geometry.h"

#include <vector>

// One button of a toolbar as the layout sees it.
struct AFX_TOOLBOX {
    int nWidth = 0;  // a button's width, or a separator's
    BOOL bSeparator = FALSE;
    BOOL bControl = FALSE;  // a separator a control sits on (it carries a command)
    BOOL bHidden = FALSE;
    BOOL bWrap = FALSE;  // the row ends after this one
    // A separator that ends a row: the room it takes below the row; -1 leaves it to the bar's
    // rule (AFX_TOOLMETRICS).
    int nDepth = -1;
};

// What every button of one bar shares.
struct AFX_TOOLMETRICS {
    int cyButton = 0;  // height of a row of buttons
    // A separator that ends a row lies across the bar below that row: a flat bar gives it its
    // full width there, other bars two thirds of it.
    BOOL bFlat = TRUE;
};

// Breaks the rows anew so that none is wider than nWidth where that can be helped: a row breaks
// at its last plain separator up to the box that does not fit, else after the last visible box
// before it that is no control; a box that fits nowhere stays where it is. Hidden boxes take no
// room. Returns the number of rows.
int AfxWrapToolBoxes(std::vector<AFX_TOOLBOX>& boxes, int nWidth);

// The size the boxes take as wrapped now.
CSize AfxMeasureToolBoxes(const std::vector<AFX_TOOLBOX>& boxes, const AFX_TOOLMETRICS& metrics);

// Wraps for a width of at most nLength with as many rows as that width needs, then narrows the
// bar as far as it goes without another row (the squarest bar for that row count).
void AfxWrapToolBoxesToWidth(std::vector<AFX_TOOLBOX>& boxes, int nLength,
                             const AFX_TOOLMETRICS& metrics);

// Wraps to the narrowest layout whose height is at most nLength; one row when even that is
// taller.
void AfxWrapToolBoxesToHeight(std::vector<AFX_TOOLBOX>& boxes, int nLength,
                              const AFX_TOOLMETRICS& metrics);
