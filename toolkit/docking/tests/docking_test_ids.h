// Resource identifiers of the docking toolkit's window tests.
#pragma once

#define IDB_TEST_COLORS 100  // 16 colours, 5 x 2: black, dark grey, light grey, white, red
