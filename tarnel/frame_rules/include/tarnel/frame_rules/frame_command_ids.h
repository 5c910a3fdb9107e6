// Command ids of the device programmer's main frame: its menu, toolbar and accelerators
// (definitions only, for the resource compiler too).
#pragma once

// Board commands.
#define ID_CHIP_WRITE 32783
#define ID_CHIP_READ 32785
#define ID_CHIP_BLANK_CHECK 32787
#define ID_CHECK_CONNECTION 32789
#define ID_CHIP_ERASE 32790
#define ID_SPECIAL_FEATURES 32791
#define ID_BOARD_INFO 32794
#define ID_CHIP_VERIFY 32797
#define ID_SET_MODE 32804
#define ID_SET_SECURITY_BITS 32806
#define ID_AUTO_SEQUENCE 32807

// Window and edit commands.
#define ID_VIEW_MESSAGES 32792
#define ID_CLEAR_MESSAGES 32795
#define ID_VIEW_SETTINGS 32798
#define ID_EDIT_FILL 32801
#define ID_EDIT_GOTO_ADDRESS 32802

// Commands that have a text and no handler.
#define ID_UNUSED_32771 32771
#define ID_UNUSED_32772 32772
#define ID_UNUSED_32773 32773
#define ID_UNUSED_32774 32774
#define ID_UNUSED_32775 32775
#define ID_UNUSED_32776 32776
#define ID_UNUSED_32784 32784
#define ID_UNUSED_32786 32786
#define ID_UNUSED_32796 32796
