// Resource ids of the shell's window tests: the main frame and the two document kinds.
#pragma once

#define IDR_TEST_MAINFRAME 600
#define IDR_TEST_BINTYPE 601
#define IDR_TEST_HEXTYPE 602
