// Resource and command ids of the flat toolbar tests.
#pragma once

#define IDR_TEST_TOOLBAR 500
#define IDR_DROPDOWN_MENU 510
#define ID_TOOLBAR_BAR 0xE810

#define ID_TB_OPEN 520
#define ID_TB_PRINT 521
#define ID_TB_FIND 522
#define ID_TB_FIRST 530
#define ID_TB_SECOND 531
