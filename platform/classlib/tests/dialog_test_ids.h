// Resource ids of the class library's dialog tests.
#pragma once

#define IDD_FIELDS 200
#define IDC_BYTE 201
#define IDC_COUNT 202
#define IDC_NAME 203
#define IDC_RADIO1 204
#define IDC_RADIO2 205
#define IDC_RADIO3 206
#define IDC_CHECK 207
#define IDC_COMBO 208
#define IDC_APPLY 209
#define IDS_DIALOG_APP 210
