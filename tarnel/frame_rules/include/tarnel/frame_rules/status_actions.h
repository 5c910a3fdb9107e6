// What one operation status means: the message lines, progress-dialog steps, cell mark and
// redraw that the main frame carries out for it, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tarnel/frame_rules/status_strings.h"

// One step of a status's handling.
enum class StatusStep {
    kLine,          // a Messages line: the string-table text `stringId`, or `text` when it is 0
    kShowProgress,  // the progress dialog is shown
    kHideProgress,
    kSetMode,      // ProgressMode `number`
    kSetFileLine,  // the file line of the dialog's mode, with the active document's file
    kSetStatus,    // the status line: `text`
    kSetPos,       // `number`
    kSetRange,     // `number`
    kEnableExit,
    kDisableExit,
    kClearCancel,   // the program's cancel word is lowered
    kMarkMismatch,  // cell `number` of memory kind `kind` of the active document failed a verify
    kRedrawViews,   // every view of the active document
};

struct StatusAction {
    StatusStep step;
    unsigned stringId = 0;
    std::string text;
    int kind = 0;  // a line's message kind; the memory kind of a mark
    int number = 0;
};

struct StatusActions {
    std::vector<StatusAction> actions;
    // The value was a heap block of this one status (a text or the board identity record): its
    // contents are copied into the actions, and the receiver frees it after reading them.
    bool freesBlock = false;
};

// The message kinds of the lines (the Messages window's icons).
enum StatusLineKind {
    kLinePlain = 0,
    kLineInformation = 1,
    kLineSuccess = 2,
    kLineErrorDetail = 3,
    kLineFailure = 4,  // the window also beeps
    kLineAdvice = 5,
};

// The actions of status `code` with its value (lParam, a number or a block's address). Codes
// without a meaning give no actions and never take the value for a block. A null block gives no
// line.
StatusActions DescribeOperationStatus(unsigned code, std::intptr_t value);
