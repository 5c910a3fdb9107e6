// Resource and command ids of the class library's bar and docking tests.
#pragma once

#define IDR_BARS_FRAME 100
#define IDR_BARS_TOOLBAR 101
#define IDD_SETTINGS_BAR 102

#define ID_SETTINGS_BAR 103
#define IDC_PORT_LIST 1001
#define IDC_CHIP_LIST 1002

#define ID_TOOL_ONE 40001
#define ID_TOOL_TWO 40002
#define ID_TOOL_THREE 40003
#define ID_TOOL_FOUR 40004
