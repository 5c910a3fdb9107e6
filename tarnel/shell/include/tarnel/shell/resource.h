// Resource ids of the device programmer's shell: dialogs, their controls and the hex editor's
// popup commands (definitions only, for the resource compiler too).
#pragma once

#include "tarnel/core/pic_config_controls.h"

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

// PIC configuration-word dialogs (their control ids: tarnel/core/pic_config_controls.h).
#define IDD_PIC16F877A 156
#define IDD_PIC18F4XX 168

// The hex editor's popup menu.
#define ID_HEX_WORD_MODE 0x4000
#define ID_HEX_BYTE_MODE 0x4001
#define ID_HEX_REMOVE_MARKS 0x4002
