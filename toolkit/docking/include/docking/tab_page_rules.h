// Where a tab view lays its pages for each placement of the tab strip, and which font its tab
// labels need after a style change (rules without windows; the tab view applies them).
#pragma once

#include "classlib/geometry.h"

namespace xtdock {

// The tab control's placement bits (the common control's own values).
const DWORD kTabsBottom = 0x0002;  // horizontal tabs: strip along the bottom
const DWORD kTabsRight = 0x0002;   // vertical tabs: strip along the right side
const DWORD kTabsVertical = 0x0080;

// Thickness of the tab strip, and the inset of the page from the control's other sides.
const int kTabStripThickness = 26;
const int kTabPageInset = 3;

// The page rectangle inside the tab control's client rectangle for its style: the strip's side
// loses the strip's thickness, the other three sides the inset.
CRect TabPageRect(const CRect& client, DWORD tabStyle);

// The label font a style change asks for.
struct TabFontChange {
    bool rebuild = false;  // false: the current font stays
    int escapement = 0;    // tenths of a degree, also the orientation
};

// Adding the vertical style to a control that is not vertical yet turns the labels (270 degrees
// with the strip on the right, else 90); taking it away from a vertical control sets them
// upright again. Any other change keeps the font.
TabFontChange TabFontForStyleChange(DWORD currentStyle, DWORD addedStyles);

}  // namespace xtdock
