// Resource identifiers of the docking toolkit (res/docking.rc, linked into every program that
// uses the toolkit) and its private window messages.
#pragma once

// Cursors, in the order the shared UI record loads them.
#define XT_IDC_DRAG 4501
#define XT_IDC_DRAG_COPY 4518
#define XT_IDC_HAND 4520
#define XT_IDC_NO_DROP 4530
#define XT_IDC_SPLITTER 4522
#define XT_IDC_SPLITTER_ROW 4527
#define XT_IDC_MOVE 4524

// Image strips: ten-pixel caption-button pictures and sixteen-pixel pictures; magenta is
// transparent in both.
#define XT_IDB_CAPTION_STRIP 4529
#define XT_IDB_SMALL_STRIP 4532
#define XT_IDI_TOOLKIT 4610
#define XT_IDI_TOOLKIT_IMAGE 4611  // the icon's one image

// What the shell answers when a hyperlink's target cannot be opened.
#define XT_IDS_SE_OUTOFMEMORY 4536
#define XT_IDS_SE_FILENOTFOUND 4537
#define XT_IDS_SE_PATHNOTFOUND 4538
#define XT_IDS_SE_ACCESSDENIED 4539
#define XT_IDS_SE_OOM 4540
#define XT_IDS_SE_BADFORMAT 4541
#define XT_IDS_SE_SHARE 4542
#define XT_IDS_SE_ASSOCINCOMPLETE 4543
#define XT_IDS_SE_DDETIMEOUT 4544
#define XT_IDS_SE_DDEFAIL 4545
#define XT_IDS_SE_DDEBUSY 4546
#define XT_IDS_SE_NOASSOC 4547
#define XT_IDS_SE_DLLNOTFOUND 4548
#define XT_IDS_SE_UNKNOWN 4549

// Sent by a toolkit control bar to its frame on a right click. wParam: POINT* (the click in
// screen coordinates); lParam: the bar (CXTControlBar*).
#define WM_BAR_CONTEXTMENU 0x07F7
