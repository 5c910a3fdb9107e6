// Page rectangles and label fonts of the tab view.
#include "docking/tab_page_rules.h"

namespace xtdock {

CRect TabPageRect(const CRect& client, DWORD tabStyle) {
    CRect page(client.left + kTabPageInset, client.top + kTabPageInset,
               client.right - kTabPageInset, client.bottom - kTabPageInset);
    const bool stripAtFarSide = (tabStyle & kTabsRight) != 0;  // also kTabsBottom
    if ((tabStyle & kTabsVertical) != 0) {
        if (stripAtFarSide) {
            page.right = client.right - kTabStripThickness;
        } else {
            page.left = client.left + kTabStripThickness;
        }
    } else if (stripAtFarSide) {
        page.bottom = client.bottom - kTabStripThickness;
    } else {
        page.top = client.top + kTabStripThickness;
    }
    return page;
}

TabFontChange TabFontForStyleChange(DWORD currentStyle, DWORD addedStyles) {
    const bool vertical = (currentStyle & kTabsVertical) != 0;
    const bool addsVertical = (addedStyles & kTabsVertical) != 0;
    TabFontChange change;
    if (addsVertical && !vertical) {
        change.rebuild = true;
        change.escapement = (addedStyles & kTabsRight) != 0 ? 2700 : 900;
    } else if (!addsVertical && vertical) {
        change.rebuild = true;
        change.escapement = 0;
    }
    return change;
}

}  // namespace xtdock
