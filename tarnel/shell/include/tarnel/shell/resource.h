// Resource ids of the device programmer's shell: dialogs, their controls, icons, bitmaps and the
// hex editor's popup commands (definitions only, for the resource compiler too).
#pragma once

#include "tarnel/frame_rules/frame_command_ids.h"
#include "tarnel/images/pic_config_controls.h"

// The program's icon (also its main frame's resources: menu, toolbar and its bitmap,
// accelerators, title).
#define IDR_MAINFRAME 128
// The two document templates: their menus and document strings.
#define IDR_BINTYPE 129
#define IDR_HEXTYPE 130

// The Set Mode button's faces: program mode, run mode, the frame's port closed.
#define IDB_MODE_PROGRAM 179
#define IDB_MODE_RUN 180
#define IDB_MODE_CLOSED 181

// The Messages window's bar id.
#define IDW_MESSAGE_BAR 104

// Icons of the icon buttons: OK, Cancel (and STOP), Exit; normal and under the mouse.
#define IDI_OK 138
#define IDI_OK_OVER 139
#define IDI_CANCEL_OVER 142
#define IDI_CANCEL 154
#define IDI_EXIT 150
#define IDI_EXIT_OVER 155

// Pictures of the list-view choices, two images 40 pixels wide each.
#define IDB_FILE_TYPES 152
#define IDB_RESIDENT_LOADERS 182
#define IDB_HEX_FORMATS 183

// About dialog; the two links are placeholders until the link control exists.
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_MAIL 1049
#define IDC_ABOUT_WEB 1050

// Progress dialog.
#define IDD_PROGRESS 144
#define IDC_PROGRESS_FILE 1004
#define IDC_PROGRESS_COUNTER 1005
#define IDC_PROGRESS_BAR 1006
#define IDC_PROGRESS_STOP 1007
#define IDC_PROGRESS_EXIT 1008
#define IDC_PROGRESS_STATUS 1009

// Select chip.
#define IDD_SELECT_CHIP 147
#define IDC_CHIP_LIST 1003
#define IDC_CHIP_DATA_LENGTH 1024
#define IDC_CHIP_SPECIAL_LENGTH 1025
#define IDC_CHIP_CODE_LENGTH 1026
#define IDC_CHIP_BOARDS 1046

// Memory settings.
#define IDD_MEMORY_OPTIONS 145
#define IDC_MEMORY_BASE 1010
#define IDC_MEMORY_DATA 1011
#define IDC_MEMORY_CODE 1012
#define IDC_MEMORY_SPECIAL 1013

// New Bin File.
#define IDD_NEW_BIN_FILE 149
#define IDC_NEW_BIN_LENGTH 1010

// Destination Memory.
#define IDD_DESTINATION_MEMORY 150
#define IDC_DESTINATION_DATA 1027
#define IDC_DESTINATION_CODE 1028
#define IDC_DESTINATION_SPECIAL 1029

// The list-view choices: File New and the resident loader share a template, the HEX format has
// its own (OK only).
#define IDD_SELECT_FILE_TYPE 151
#define IDD_HEX_FORMAT 166
#define IDC_CHOICE_LIST 1030

// Fill dialog.
#define IDD_FILL 163
#define IDC_FILL_FROM 1024
#define IDC_FILL_TO 1025
#define IDC_FILL_SELECTION 1042
#define IDC_FILL_ALL 1043
#define IDC_FILL_RANGE 1044
#define IDC_FILL_VALUE 1045

// Go-to dialog ("Go" is the OK button).
#define IDD_GOTO_ADDRESS 164
#define IDC_GOTO_DEC 1024
#define IDC_GOTO_HEX 1048

// PIC configuration-word dialogs (their control ids: tarnel/images/pic_config_controls.h).
#define IDD_PIC16F877A 156
#define IDD_PIC18F4XX 168

// The hex editor's popup menu.
#define ID_HEX_WORD_MODE 0x4000
#define ID_HEX_BYTE_MODE 0x4001
#define ID_HEX_REMOVE_MARKS 0x4002

// Messages window: the kinds' icons (13 pixels wide each) and its list.
#define IDB_MESSAGE_KINDS 140
#define IDC_MESSAGE_LIST 102

// Settings bar: the port and chip lists, and the refusal of a port the program does not offer.
#define IDD_SETTINGS_BAR 103
#define IDC_SETTINGS_PORTS 1001
#define IDC_SETTINGS_CHIPS 1002
#define IDS_PORT_CANNOT_OPEN 4002

// The texts of the programming statuses (string-table ids 4000 to 4047).
#include "tarnel/frame_rules/status_strings.h"
