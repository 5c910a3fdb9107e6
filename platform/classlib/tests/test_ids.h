// Resource ids of the class library's test programs.
#pragma once

#define IDR_TESTFRAME 100
#define IDS_GREETING 101
#define IDS_LONG_TEXT 102
#define ID_PAINT_RED 32800
#define ID_PAINT_BLUE 32801
#define ID_NO_HANDLER 32802
#define ID_DISABLED 32803
#define ID_CHECKED 32804
