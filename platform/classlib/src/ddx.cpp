// Dialog data exchange: the DDX_ and DDV_ functions and the prompts they show.
#include "classlib/classlib.h"

#include <cstdio>

namespace {

// Tells the user and fails the exchange at the control prepared last.
[[noreturn]] void FailWith(CDataExchange* pDX, UINT nIDPrompt) {
    AfxMessageBox(nIDPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

[[noreturn]] void FailRange(CDataExchange* pDX, UINT nIDPrompt, LPCTSTR low, LPCTSTR high) {
    CString prompt;
    AfxFormatString2(prompt, nIDPrompt, low, high);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

UINT NumberPrompt(AfxWholeKind kind) {
    switch (kind) {
        case AfxWholeKind::Byte:
            return AFX_IDP_PARSE_BYTE;
        case AfxWholeKind::UInt:
        case AfxWholeKind::DWord:
            return AFX_IDP_PARSE_UINT;
        default:
            return AFX_IDP_PARSE_INT;
    }
}

// Loading writes the number as decimal text; saving reads it back by the kind's rules.
template <class T>
void ExchangeWhole(CDataExchange* pDX, int nIDC, T& value, AfxWholeKind kind) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        CWnd::FromHandle(hWndCtrl)->GetWindowText(text);
        long long parsed = 0;
        if (!AfxParseWholeNumber(text, kind, &parsed)) {
            FailWith(pDX, NumberPrompt(kind));
        }
        value = static_cast<T>(parsed);
    } else {
        char text[32];
        std::snprintf(text, sizeof(text), "%lld", static_cast<long long>(value));
        ::SetWindowTextA(hWndCtrl, text);
    }
}

template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, UINT nIDPrompt) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) {
        return;
    }
    char low[32];
    char high[32];
    std::snprintf(low, sizeof(low), "%lld", static_cast<long long>(minVal));
    std::snprintf(high, sizeof(high), "%lld", static_cast<long long>(maxVal));
    FailRange(pDX, nIDPrompt, low, high);
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr) {
        // A missing control is a program error, not the user's.
        AfxThrowNotSupportedException();
    }
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_idLastControl != 0) {
        HWND hWndLast = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
        if (hWndLast != nullptr) {
            ::SetFocus(hWndLast);
            if (m_bEditLastControl) {
                ::SendMessageA(hWndLast, EM_SETSEL, 0, -1);
            }
        }
    }
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ExchangeWhole(pDX, nIDC, value, AfxWholeKind::Int);
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    ExchangeWhole(pDX, nIDC, value, AfxWholeKind::UInt);
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ExchangeWhole(pDX, nIDC, value, AfxWholeKind::Long);
}
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) {
    ExchangeWhole(pDX, nIDC, value, AfxWholeKind::DWord);
}
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
    ExchangeWhole(pDX, nIDC, value, AfxWholeKind::Short);
}
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
    ExchangeWhole(pDX, nIDC, value, AfxWholeKind::Byte);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(hWndCtrl)->GetWindowText(value);
    } else {
        ::SetWindowTextA(hWndCtrl, value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2) {
            value = 0;
        }
        ::SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    // The group runs from nIDC to the next control that starts a group; only radio buttons
    // count.
    int index = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0) {
                    value = index;
                }
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED,
                               0);
            }
            ++index;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != nullptr && !(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(hWndCtrl)->GetWindowText(value);
    } else if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value))) == CB_ERR) {
        ::SetWindowTextA(hWndCtrl, value);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd == nullptr) {
        HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
        if (!rControl.SubclassWindow(hWndCtrl)) {
            AfxThrowNotSupportedException();
        }
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    CheckRange(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
    CheckRange(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
    CheckRange(pDX, value, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    CheckRange(pDX, value, minVal, maxVal, AFX_IDP_PARSE_UINT_RANGE);
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
    CheckRange(pDX, value, minVal, maxVal, AFX_IDP_PARSE_UINT_RANGE);
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
    CheckRange(pDX, value, minVal, maxVal, AFX_IDP_PARSE_UINT_RANGE);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            char count[16];
            std::snprintf(count, sizeof(count), "%d", nChars);
            CString prompt;
            AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, count);
            AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
            pDX->Fail();
        }
    } else if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
        ::SendDlgItemMessageA(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl, EM_LIMITTEXT,
                              static_cast<WPARAM>(nChars), 0);
    }
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1) {
    CString format;
    format.LoadString(nIDS);
    LPCTSTR args[] = {lpsz1};
    AfxFormatStrings(rString, format, args, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2) {
    CString format;
    format.LoadString(nIDS);
    LPCTSTR args[] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, format, args, 2);
}
