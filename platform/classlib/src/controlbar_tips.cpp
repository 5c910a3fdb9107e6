// Tooltips and status-bar help of control bars: the item under the mouse gets a tip whose text
// the owner gives, and (CBRS_FLYBY) its prompt in the owner's status bar while the mouse rests
// on it.
#include "classlib/classlib.h"

namespace {

// The status help waits this long on an item before showing, then checks this often whether
// the mouse has left.
const UINT_PTR kTimerWait = 0xE000;
const UINT_PTR kTimerCheck = 0xE001;
const UINT kWaitMs = 300;
const UINT kCheckMs = 200;

}  // namespace

void CControlBar::ResetTimer(UINT_PTR nEvent, UINT nTime) {
    KillTimer(nEvent);
    SetTimer(nEvent, nTime);
}

void CControlBar::FilterToolTipMessage(MSG* pMsg) {
    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    INT_PTR nHit = OnToolHitTest(point, &ti);
    if (m_dwStyle & CBRS_TOOLTIPS) {
        RelayToolTip(pMsg, nHit, ti);
    }
    if (m_dwStyle & CBRS_FLYBY) {
        UpdateStatusHelp(pMsg, nHit);
    }
}

void CControlBar::RelayToolTip(MSG* pMsg, INT_PTR nHit, const TOOLINFO& ti) {
    if (m_pToolTip == nullptr || m_pToolTip->m_hWnd == nullptr) {
        m_pToolTip = std::make_unique<CToolTipCtrl>();
        if (!m_pToolTip->Create(this, TTS_ALWAYSTIP)) {
            m_pToolTip.reset();
            return;
        }
        m_pToolTip->Activate(TRUE);
        m_nToolHit = -1;
        m_uToolId = 0;
    }
    // One tool at a time: the item under the mouse, with the text asked for when shown.
    if (nHit != m_nToolHit || (nHit != -1 && ti.uId != m_uToolId)) {
        if (m_nToolHit != -1) {
            TOOLINFOA old = {};
            old.cbSize = sizeof(old);
            old.hwnd = m_hWnd;
            old.uId = m_uToolId;
            m_pToolTip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&old));
        }
        if (nHit != -1) {
            TOOLINFOA add = ti;
            add.cbSize = sizeof(add);
            add.hwnd = m_hWnd;
            add.uFlags &= ~(TTF_NOTBUTTON | TTF_CENTERTIP);
            add.lpszText = LPSTR_TEXTCALLBACKA;
            m_pToolTip->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&add));
        }
        m_nToolHit = nHit;
        m_uToolId = nHit != -1 ? ti.uId : 0;
    }
    // The tip follows the mouse in the coordinates of the tool's window.
    MSG relay = *pMsg;
    HWND toolWnd =
        (nHit != -1 && (ti.uFlags & TTF_IDISHWND)) ? reinterpret_cast<HWND>(ti.uId) : m_hWnd;
    CPoint point = pMsg->pt;
    ::ScreenToClient(toolWnd, &point);
    relay.hwnd = toolWnd;
    relay.lParam = MAKELPARAM(point.x, point.y);
    if (relay.message >= WM_NCMOUSEMOVE && relay.message <= WM_NCMBUTTONDBLCLK) {
        relay.message += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
    }
    m_pToolTip->RelayEvent(&relay);
}

void CControlBar::UpdateStatusHelp(MSG* pMsg, INT_PTR nHit) {
    AFX_THREAD_STATE* state = AfxGetThreadState();
    BOOL buttonHeld = ::GetKeyState(VK_LBUTTON) < 0;
    if (pMsg->message == WM_LBUTTONUP) {
        // A click runs the command, whose own messages come next.
        SetStatusText(-1);
        KillTimer(kTimerCheck);
        m_nFlyByHit = -1;
        return;
    }
    if (buttonHeld && pMsg->message != WM_LBUTTONDOWN) {
        return;  // the help stays as it was while the button is held
    }
    if (nHit < 0) {
        SetStatusText(-1);
        KillTimer(kTimerCheck);
    } else if ((m_nStateFlags & statusSet) && state->m_pLastStatus == this) {
        SetStatusText(nHit);  // moving from item to item keeps the help showing
    } else if (nHit != m_nFlyByHit) {
        ResetTimer(kTimerWait, kWaitMs);
    }
    m_nFlyByHit = nHit;
}

BOOL CControlBar::SetStatusText(INT_PTR nHit) {
    CWnd* owner = GetOwner();
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (nHit == -1) {
        KillTimer(kTimerWait);
        BOOL shown = (m_nStateFlags & statusSet) != 0;
        m_nStateFlags &= ~statusSet;
        if (state->m_pLastStatus != this) {
            return FALSE;  // another bar's help shows now: leave it
        }
        state->m_pLastStatus = nullptr;
        state->m_nLastStatus = -1;
        if (shown && owner != nullptr) {
            owner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
            return TRUE;
        }
        return FALSE;
    }
    if ((m_nStateFlags & statusSet) && state->m_pLastStatus == this &&
        state->m_nLastStatus == nHit) {
        return FALSE;
    }
    state->m_pLastStatus = this;
    state->m_nLastStatus = nHit;
    m_nStateFlags |= statusSet;
    if (owner != nullptr) {
        owner->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
    }
    ResetTimer(kTimerCheck, kCheckMs);
    return TRUE;
}

void CControlBar::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kTimerWait && nIDEvent != kTimerCheck) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (::GetKeyState(VK_LBUTTON) < 0) {
        return;
    }
    // What lies under the mouse now, within this bar and its window family only.
    CPoint screen;
    ::GetCursorPos(&screen);
    INT_PTR nHit = -1;
    HWND under = ::WindowFromPoint(screen);
    if (under == m_hWnd || ::IsChild(m_hWnd, under)) {
        CPoint client = screen;
        ScreenToClient(&client);
        nHit = OnToolHitTest(client, nullptr);
    }
    CWnd* top = GetTopLevelOwner();
    if (top != nullptr && !top->IsWindowEnabled()) {
        nHit = -1;  // a modal dialog is up
    }
    if (nIDEvent == kTimerWait) {
        KillTimer(kTimerWait);
        if (nHit >= 0) {
            SetStatusText(nHit);
        } else {
            m_nFlyByHit = -1;
        }
        return;
    }
    if (nHit < 0) {
        KillTimer(kTimerCheck);
        SetStatusText(-1);
        m_nFlyByHit = -1;
    }
}
