// The "Messages" window: a docking window holding the running log of one-line messages, each
// with the icon of its kind, fed by records posted from any thread.
#pragma once

#include <cstddef>

#include "classlib/classlib.h"
#include "docking/dock_window.h"

// A line handed to the log. The poster builds it on the heap; it belongs to the list once the
// post has succeeded, and the list frees the text and the record whatever the kind.
struct MessageLine {
    char* pszText;  // a kMessageTextSize-byte buffer, NUL-terminated
    int nKind;      // kMessage* below; other values add nothing
};

constexpr std::size_t kMessageTextSize = 256;

// Kinds 0 to 5 are also the image index of the line's icon.
constexpr int kMessagePlain = 0;
constexpr int kMessageInformation = 1;
constexpr int kMessageSuccess = 2;
constexpr int kMessageErrorDetail = 3;
constexpr int kMessageFailure = 4;  // also sounds the warning beep
constexpr int kMessageAdvice = 5;
constexpr int kMessageClearAll = 99;

// The message that carries a MessageLine* in lParam (wParam 0).
constexpr UINT WM_ADD_MESSAGE_LINE = WM_USER + 1;

// The log keeps at most this many lines more than the oldest it drops.
constexpr int kMessageListLimit = 200;

// Builds a record (the text cut to 255 characters) and posts it to the list's window; the record
// is freed here when the post fails, so a line is never leaked. FALSE then.
BOOL PostMessageLine(HWND hList, const char* text, int nKind);

class CMessageList : public CListCtrl {
    DECLARE_DYNAMIC(CMessageList)
public:
    CMessageList();
    ~CMessageList() override;

    // A visible report list with a border and no header: one untitled column 1500 pixels wide,
    // the kinds' icons, flat scroll bars.
    BOOL Create(CWnd* pParentWnd, UINT nID);

    LRESULT OnAddLine(WPARAM wParam, LPARAM lParam);

protected:
    // Presses neither select nor take the focus: the log is read, not worked with.
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);

    CImageList m_images;

    DECLARE_MESSAGE_MAP()
};

class CMessageBar : public CXTDockWindow {
    DECLARE_DYNAMIC(CMessageBar)
public:
    CMessageBar();
    ~CMessageBar() override;

    CMessageList& List() { return m_wndList; }

protected:
    int OnCreate(LPCREATESTRUCT lpcs);

    CMessageList m_wndList;

    DECLARE_MESSAGE_MAP()
};
