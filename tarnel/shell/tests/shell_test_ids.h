// Resource ids of the shell's window tests: the main frame, the two document kinds and a dialog
// holding buttons for the icon-button tests.
#pragma once

#define IDR_TEST_MAINFRAME 600
#define IDR_TEST_BINTYPE 601
#define IDR_TEST_HEXTYPE 602

#define IDD_TEST_BUTTONS 610
#define IDC_TEST_BUTTON 611
#define IDC_TEST_OTHER 612
#define IDC_TEST_EDIT 613
