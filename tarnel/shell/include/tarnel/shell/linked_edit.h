// CLinkedEdit: an edit field that tells its parent of every key released in it, so that a
// second field can follow what the user types.
#pragma once

#include "classlib/classlib.h"

// Sent to the parent on each key release in the field: wParam is the field's window handle.
constexpr UINT WM_LINKED_EDIT_KEYUP = WM_USER + 1;

class CLinkedEdit : public CEdit {
public:
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    // The field keeps its own change notifications from its parent.
    void OnChange() {}

protected:
    DECLARE_MESSAGE_MAP()
};
