// The items of the bar context menu a toolkit MDI frame shows when one of its bars is right-
// clicked: docking windows, then toolkit toolbars, then status bars, each checked while visible.
#pragma once

#include "classlib/types.h"
#include "frames/resource.h"

#include <string>
#include <vector>

namespace xtframes {

// What the menu needs to know of one of the frame's bars. Menu bars count as Other: they are
// toolbars the user cannot hide from this menu.
enum class XTBarKind { Other, DockWindow, ToolBar, StatusBar };

struct XTBarEntry {
    XTBarKind kind;
    UINT nID;
    std::string title;  // the bar's window text
    bool visible;
};

// The texts the menu falls back on (they come from the program's string table).
struct XTBarMenuTexts {
    std::string dockWindow;  // a docking window without a title
    std::string toolBar;     // a toolbar without a title
    std::string statusBar;   // every status bar, whatever its title
    std::string customize;   // the item that opens the customisable toolbar's dialog
};

struct XTBarMenuItem {
    bool separator;
    UINT nID;
    std::string text;
    bool checked;
};

// The menu's items in order, from the frame's bars in list order; a separator follows the
// docking windows when there are any. With no bar to list the menu is empty (nothing is shown,
// not even "Customize..."); otherwise bCustomizable adds a separator and "Customize..."
// (XT_IDC_CUSTOMIZE).
std::vector<XTBarMenuItem> XTBuildBarMenu(const std::vector<XTBarEntry>& bars, bool bCustomizable,
                                          const XTBarMenuTexts& texts);

}  // namespace xtframes
