// The main frame's handling of an operation status: the lines, progress steps, cell marks and
// redraws that one status posted by the programming thread stands for.
#pragma once

#include "classlib/classlib.h"

class CProgressDlg;
class CQuilletDocument;

// What a status acts on; the main frame implements it.
class IStatusTarget {
public:
    // Posts a line of the string table (kind: kMessage* of message_bar.h) to the Messages window.
    virtual void PostMessageId(UINT nStringId, int nKind) = 0;
    // Posts any text as a line.
    virtual void PostMessageText(LPCTSTR pszText, int nKind) = 0;
    virtual CProgressDlg& GetProgressDialog() = 0;
    // The image document of the active child window; nullptr when there is none.
    virtual CQuilletDocument* GetActiveQuilletDocument() = 0;
    // Lowers the program's cancel word (a STOP of the operation that just ended).
    virtual void ClearCancelRequest() = 0;

protected:
    ~IStatusTarget() = default;
};

// Acts on one WM_OPERATION_STATUS (code in wParam, value in lParam). The heap block that comes
// with the text statuses and the board identity is freed here, once; statuses without a meaning
// are ignored (and their value is never taken for a block).
void HandleOperationStatus(IStatusTarget& target, WPARAM code, LPARAM value);
