// Resource identifiers of the toolkit frames (res/frames.rc, linked into every program that uses
// them) and the commands their bar context menu sends.
#pragma once

#include "menus/resource.h"  // XT_IDS_CUSTOMIZE, "Customize..."

// Texts of the bar context menu.
#define XT_IDS_DOCKWINDOW 4518
#define XT_IDS_TOOLBAR 4520
#define XT_IDS_STATUSBAR 4522

// "Customize...": the toolbar right-clicked last opens its customise dialog. Its string is the
// command's prompt and tooltip.
#define XT_IDC_CUSTOMIZE 52780

// Bars whose identifiers lie in this range are shown and hidden by the command of their
// identifier, and their menu item is checked while they are visible.
#define XT_IDC_BAR_FIRST 17000
#define XT_IDC_BAR_LAST 17500
