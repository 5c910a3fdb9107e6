// The items of the toolkit frame's bar context menu.
#include "frames/bar_menu.h"

namespace xtframes {

namespace {

void AddPass(std::vector<XTBarMenuItem>& items, const std::vector<XTBarEntry>& bars, XTBarKind kind,
             const std::string& fallback, bool bAlwaysFallback) {
    for (const XTBarEntry& bar : bars) {
        if (bar.kind != kind) {
            continue;
        }
        const std::string& text = bAlwaysFallback || bar.title.empty() ? fallback : bar.title;
        items.push_back({false, bar.nID, text, bar.visible});
    }
}

}  // namespace

std::vector<XTBarMenuItem> XTBuildBarMenu(const std::vector<XTBarEntry>& bars, bool bCustomizable,
                                          const XTBarMenuTexts& texts) {
    std::vector<XTBarMenuItem> items;
    AddPass(items, bars, XTBarKind::DockWindow, texts.dockWindow, false);
    const bool bAnyDockWindow = !items.empty();
    if (bAnyDockWindow) {
        items.push_back({true, 0, std::string(), false});
    }
    AddPass(items, bars, XTBarKind::ToolBar, texts.toolBar, false);
    // A status bar's window text is its first pane's text, not a name.
    AddPass(items, bars, XTBarKind::StatusBar, texts.statusBar, true);
    if (items.empty()) {
        return items;
    }
    if (bCustomizable) {
        items.push_back({true, 0, std::string(), false});
        items.push_back({false, XT_IDC_CUSTOMIZE, texts.customize, false});
    }
    return items;
}

}  // namespace xtframes
