// Resource identifiers of the docking toolkit's window tests.
#pragma once

#define IDB_TEST_COLORS 100    // 16 colours, 5 x 2: black, dark grey, light grey, white, red
#define IDR_TEST_BAR_MENU 101  // two popups; the second has the commands below
#define ID_TEST_ALPHA 40001
#define ID_TEST_BETA 40002
#define ID_TEST_BAR 0xE880  // within the frame's range of bar ids
#define IDI_TEST_ICON 102      // 16 x 16: a black frame one pixel in, transparent corners
#define ID_TEST_BUTTON 1001
#define ID_TEST_LINK 1002
