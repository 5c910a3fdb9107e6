// Commands and texts of a docking window's caption buttons (res/dock_window.rc).
#pragma once

#define XT_IDC_BTN_HIDE 5511
#define XT_IDC_BTN_EXPAND 5512
#define XT_IDS_HIDE 5511
#define XT_IDS_EXPAND 5512
#define XT_IDS_CONTRACT 4504
