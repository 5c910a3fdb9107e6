// CDialog: creation from templates, the modal loop and the dialog's keyboard handling.
#include "classlib/classlib.h"
#include "dialog_template.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnCommandOK)
ON_COMMAND(IDCANCEL, OnCommandCancel)
END_MESSAGE_MAP()

namespace {

// The dialog manager's procedure: everything reaches the library's window procedure first,
// so nothing is left for it to do.
INT_PTR CALLBACK AfxDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The window a modal dialog belongs to: the given parent's top-level window, else the main
// window; and the top-level window to disable while the dialog runs.
HWND SafeOwner(CWnd* pParent, HWND* phWndTop) {
    HWND hWnd = pParent != nullptr ? pParent->m_hWnd : nullptr;
    if (hWnd == nullptr) {
        CWnd* main = AfxGetMainWnd();
        hWnd = main != nullptr ? main->m_hWnd : nullptr;
    }
    // A popup cannot be owned by a child window.
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) {
        hWnd = ::GetParent(hWnd);
    }
    HWND hWndTop = hWnd;
    for (HWND h = hWnd; h != nullptr; h = ::GetParent(h)) {
        hWndTop = h;
    }
    if (pParent == nullptr && hWnd != nullptr) {
        hWnd = ::GetLastActivePopup(hWnd);
    }
    *phWndTop = hWndTop;
    return hWnd;
}

}  // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate),
      m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)),
      m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_strTemplateName(lpszTemplateName) {
    m_lpszTemplateName = m_strTemplateName;
}

CDialog::~CDialog() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

std::string AfxLoadDialogTemplate(LPCTSTR lpszTemplateName) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, lpszTemplateName, MAKEINTRESOURCEA(5));
    if (found == nullptr) {
        return std::string();
    }
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return std::string();
    }
    return std::string(static_cast<const char*>(bytes), ::SizeofResource(module, found));
}

DWORD* AfxDialogTemplateStyle(std::string& tmpl) {
    auto* words = reinterpret_cast<WORD*>(&tmpl[0]);
    if (tmpl.size() >= 16 && words[0] == 1 && words[1] == 0xFFFF) {
        return reinterpret_cast<DWORD*>(&tmpl[12]);  // extended template
    }
    return reinterpret_cast<DWORD*>(&tmpl[0]);
}

BOOL AfxCreateDialogWindow(CWnd* pWnd, const void* lpDialogTemplate, HWND hWndParent) {
    AfxHookWindowCreate(pWnd);
    HWND hWnd = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(),
                                             static_cast<LPCDLGTEMPLATEA>(lpDialogTemplate),
                                             hWndParent, AfxDialogProc, 0);
    if (!AfxUnhookWindowCreate()) {
        pWnd->PostNcDestroy();
    }
    if (hWnd == nullptr && pWnd->m_hWnd != nullptr) {
        pWnd->Detach();
    }
    return hWnd != nullptr;
}

std::string CDialog::LoadTemplate() const { return AfxLoadDialogTemplate(m_lpszTemplateName); }

BOOL CDialog::CreateIndirect(const void* lpDialogTemplate, HWND hWndOwner) {
    return AfxCreateDialogWindow(this, lpDialogTemplate, hWndOwner);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    return Create(m_lpszTemplateName, pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    if (IS_INTRESOURCE(lpszTemplateName)) {
        m_lpszTemplateName = lpszTemplateName;
    } else {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    }
    if (pParentWnd == nullptr) {
        pParentWnd = AfxGetMainWnd();
    }
    m_pParentWnd = pParentWnd;
    std::string tmpl = LoadTemplate();
    if (tmpl.empty()) {
        return FALSE;
    }
    return CreateIndirect(tmpl.data(), pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr);
}

INT_PTR CDialog::DoModal() {
    std::string tmpl = LoadTemplate();
    if (tmpl.size() < sizeof(DLGTEMPLATE)) {
        return -1;
    }
    // The dialog appears when its loop first goes idle, initialised and laid out.
    *AfxDialogTemplateStyle(tmpl) &= ~static_cast<DWORD>(WS_VISIBLE);

    HWND hWndTop = nullptr;
    HWND hWndOwner = SafeOwner(m_pParentWnd, &hWndTop);
    bool enableOwner = false;
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        enableOwner = true;
    }
    bool enableTop = false;
    if (hWndTop != nullptr && hWndTop != hWndOwner && ::IsWindowEnabled(hWndTop)) {
        ::EnableWindow(hWndTop, FALSE);
        enableTop = true;
    }

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    try {
        if (CreateIndirect(tmpl.data(), hWndOwner)) {
            if (m_bContinueModal) {
                DWORD flags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG) {
                    flags |= MLF_NOIDLEMSG;
                }
                RunModalLoop(flags);
            }
            // Hidden before the owner comes back, so that activation returns to the owner.
            if (m_hWnd != nullptr) {
                SetWindowPos(
                    nullptr, 0, 0, 0, 0,
                    SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
            }
        }
    } catch (...) {
        m_nModalResult = -1;
        if (enableTop) {
            ::EnableWindow(hWndTop, TRUE);
        }
        if (enableOwner) {
            ::EnableWindow(hWndOwner, TRUE);
        }
        if (m_hWnd != nullptr) {
            DestroyWindow();
        }
        throw;
    }
    if (enableTop) {
        ::EnableWindow(hWndTop, TRUE);
    }
    if (enableOwner) {
        ::EnableWindow(hWndOwner, TRUE);
    }
    if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd) {
        ::SetActiveWindow(hWndOwner);
    }
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
    m_bContinueModal = FALSE;
    return m_nModalResult;
}

int CDialog::RunModalLoop(DWORD dwFlags) {
    CWinThread* thread = AfxGetThread();
    MSG* msg = thread != nullptr ? &thread->m_msgCur : nullptr;
    MSG localMsg = {};
    if (msg == nullptr) {
        msg = &localMsg;
    }
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    BOOL bHookDue = TRUE;
    HWND hWndParent = ::GetParent(m_hWnd);
    m_bInModalLoop = TRUE;

    for (;;) {
        while (bIdle && !::PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (bHookDue) {
                // A test driver acts once the dialog stands ready for input.
                bHookDue = FALSE;
                AfxCallModalDialogHook(this);
                if (!ContinueModal()) {
                    goto done;
                }
                continue;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0) {
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX,
                               reinterpret_cast<LPARAM>(m_hWnd));
            }
            if ((dwFlags & MLF_NOKICKIDLE) ||
                !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) {
                bIdle = FALSE;
            }
            if (!ContinueModal()) {
                goto done;
            }
        }
        do {
            BOOL pumped;
            if (thread != nullptr) {
                pumped = thread->PumpMessage();
            } else {
                pumped = ::GetMessageA(msg, nullptr, 0, 0);
                if (pumped && !PreTranslateMessage(msg)) {
                    ::TranslateMessage(msg);
                    ::DispatchMessageA(msg);
                }
            }
            if (!pumped) {
                // The application is quitting: the quit stays for the outer loop.
                AfxPostQuitMessage(static_cast<int>(msg->wParam));
                m_bInModalLoop = FALSE;
                return -1;
            }
            if (bShowIdle && (msg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal()) {
                goto done;
            }
            if (thread == nullptr || thread->IsIdleMessage(msg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE));
    }
done:
    m_bInModalLoop = FALSE;
    return m_nModalResult;
}

BOOL CDialog::ContinueModal() { return m_bContinueModal; }

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = FALSE;
        // Wake the loop should it be waiting for a message.
        PostMessage(WM_NULL);
    }
}

void CDialog::EndDialog(int nResult) {
    if (m_bContinueModal || m_bInModalLoop) {
        EndModalLoop(nResult);
    }
    if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, nResult);
    }
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    // TRUE lets the dialog manager give the focus to the first control.
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;  // the user has been told; the dialog stays
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Keys and mouse clicks of the dialog and its controls: tabbing, Enter, Esc, mnemonics.
    bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                 (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!input || m_hWnd == nullptr) {
        return FALSE;
    }
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

void CDialog::NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }

void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
