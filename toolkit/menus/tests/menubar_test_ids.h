// Resource and command ids of the menu bar tests.
#pragma once

#define IDR_MENUBAR_MENU 700
#define IDR_TWIN_MENU 701

#define ID_MB_NEW 710
#define ID_MB_OPEN 711
#define ID_MB_EXIT 712
#define ID_MB_UNDO 720
#define ID_MB_ROW 721
#define ID_MB_COLUMN 722
#define ID_MB_PASTE 723
#define ID_MB_STATUS 730
#define ID_MB_ABOUT 740

#define IDR_MDI_FRAME 750
