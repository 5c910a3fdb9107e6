// Message maps and command targets: static tables of handlers searched from a class up through
// its bases, command routing (OnCmdMsg) and the command-update object CCmdUI.
#pragma once

#include "classlib/ids.h"
#include "classlib/object.h"

#include <commctrl.h>
#include <windows.h>

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

// What one handler call receives; which fields are set depends on the kind of entry.
struct AFX_MSGCALL {
    UINT nMessage;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;          // command or control id (commands, notifications, ranges)
    void* pExtra;      // CCmdUI* for update handlers, AFX_NOTIFY* for notifications
    LRESULT* pResult;  // window messages: the message's result
    BOOL* pbHandled;   // commands and notifications: an _EX handler's answer
};

typedef void (*AFX_MSGTHUNK)(CCmdTarget* pTarget, const AFX_MSGCALL& call);

// One row of a message map. Window messages: (message, 0, 0, 0). Commands: (WM_COMMAND, code,
// first id, last id). Notifications: (WM_NOTIFY, low word of the code, first id, last id).
// Reflected messages carry WM_REFLECT_BASE + the parent's message.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_MSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled instead of calling the handler when a caller only asks whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Looks the command up in this object's map and its bases' maps; TRUE when a handler took
    // it. nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra: CCmdUI*), a control notification
    // code, or MAKELONG(notification code, WM_NOTIFY) (pExtra: AFX_NOTIFY*). With pHandlerInfo
    // only the existence of a handler is reported.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry for a window or thread message, searched from this class up.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    friend class CWnd;
    friend class CWinThread;
};

// Sets the enabled, checked and text state of one user-interface item (menu item, control or
// bar button) for a command; the handler that owns the command decides.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    // Called by an update handler that wants the next target on the route to decide as well.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's route for the item's state; without any update handler, and with
    // bDisableIfNoHndler, an item whose command nobody handles is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;     // set for menu items
    CMenu* m_pSubMenu = nullptr;  // set for an item that opens a popup
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr;  // set for controls and bars
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, nullptr }                                                                       \
    }                                                                                             \
    ;                                                                                             \
    static_assert(sizeof(ThisClass) > 0, "complete class");                                       \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// The handler call of one entry: `self_` is the object as its own class, `c_` the call.
#define CLASSLIB_THUNK(...)                                   \
    [](CCmdTarget* pTarget_, const AFX_MSGCALL& c_) {         \
        ThisClass* self_ = static_cast<ThisClass*>(pTarget_); \
        (void)self_;                                          \
        (void)c_;                                             \
        __VA_ARGS__;                                          \
    }

// Commands, their update handlers and notifications.
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), CLASSLIB_THUNK(self_->memberFxn())},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), CLASSLIB_THUNK(self_->memberFxn(c_.nID))},
// Handlers that answer whether they took the command: FALSE lets the search go on to the next
// entry and the next target on the route.
#define ON_COMMAND_EX(id, memberFxn)                 \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), \
     CLASSLIB_THUNK(*c_.pbHandled = self_->memberFxn(c_.nID))},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)       \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), \
     CLASSLIB_THUNK(*c_.pbHandled = self_->memberFxn(c_.nID))},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                          \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), \
     CLASSLIB_THUNK(self_->memberFxn(static_cast<CCmdUI*>(c_.pExtra)))},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), \
     CLASSLIB_THUNK(self_->memberFxn(static_cast<CCmdUI*>(c_.pExtra)))},
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), CLASSLIB_THUNK(self_->memberFxn())},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                           \
    {                                                                            \
        WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(id),                   \
            CLASSLIB_THUNK(AFX_NOTIFY* n_ = static_cast<AFX_NOTIFY*>(c_.pExtra); \
                           self_->memberFxn(n_->pNMHDR, n_->pResult))            \
    }                                                                            \
    ,
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                             \
    {                                                                            \
        WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(idLast),               \
            CLASSLIB_THUNK(AFX_NOTIFY* n_ = static_cast<AFX_NOTIFY*>(c_.pExtra); \
                           self_->memberFxn(c_.nID, n_->pNMHDR, n_->pResult))    \
    }                                                                            \
    ,

#define ON_NOTIFY_EX(code, id, memberFxn)                                                     \
    {                                                                                         \
        WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(id),                                \
            CLASSLIB_THUNK(AFX_NOTIFY* n_ = static_cast<AFX_NOTIFY*>(c_.pExtra);              \
                           *c_.pbHandled = self_->memberFxn(c_.nID, n_->pNMHDR, n_->pResult)) \
    }                                                                                         \
    ,
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn)                                       \
    {                                                                                         \
        WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(idLast),                            \
            CLASSLIB_THUNK(AFX_NOTIFY* n_ = static_cast<AFX_NOTIFY*>(c_.pExtra);              \
                           *c_.pbHandled = self_->memberFxn(c_.nID, n_->pNMHDR, n_->pResult)) \
    }                                                                                         \
    ,

// Messages a control gets back from its parent.
#define ON_NOTIFY_REFLECT(code, memberFxn)                                       \
    {                                                                            \
        WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(code), 0, 0,                   \
            CLASSLIB_THUNK(AFX_NOTIFY* n_ = static_cast<AFX_NOTIFY*>(c_.pExtra); \
                           self_->memberFxn(n_->pNMHDR, n_->pResult))            \
    }                                                                            \
    ,
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, CLASSLIB_THUNK(self_->memberFxn())},
#define ON_WM_CTLCOLOR_REFLECT()                                             \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                 \
     CLASSLIB_THUNK(*c_.pResult = reinterpret_cast<LRESULT>(self_->CtlColor( \
                        CDC::FromHandle(reinterpret_cast<HDC>(c_.wParam)), c_.nID)))},

// Any window message by number, and thread messages in an application's map.
#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0,         \
     CLASSLIB_THUNK(*c_.pResult = static_cast<LRESULT>(self_->memberFxn(c_.wParam, c_.lParam)))},
#define ON_THREAD_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, CLASSLIB_THUNK(self_->memberFxn(c_.wParam, c_.lParam))},
