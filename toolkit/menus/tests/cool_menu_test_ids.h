// Resource and command ids of the owner-drawn menu tests.
#pragma once

#define IDR_TEST_MENU 300
#define IDR_TOOLBAR_MAIN 200
#define IDR_TOOLBAR_MORE 201
#define IDR_TOOLBAR_BIG 202
#define IDR_TOOLBAR_NO_BITMAP 203
#define IDB_LOOSE_IMAGES 210

#define ID_TEST_OPEN 100
#define ID_TEST_PRINT 101
#define ID_TEST_PREVIEW 102
#define ID_TEST_PROPERTIES 103
#define ID_TEST_EXIT 104
#define ID_TEST_MORE 105
#define ID_TEST_BIG 106
#define ID_TEST_LOOSE 107
