// CDialog: a dialog box from a dialog-template resource, modal (its own message loop, the owner
// disabled meanwhile) or modeless; CDataExchange with the DDX_/DDV_ functions that move values
// between a dialog's fields and its members.
#pragma once

#include "classlib/ddx_numbers.h"
#include "classlib/hooks.h"
#include "classlib/wnd.h"

#include <commdlg.h>

#include <string>

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless: creates the dialog (shown when its template says WS_VISIBLE); FALSE when the
    // template is missing or creation failed.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    // Modal: shows the dialog and runs its loop until EndDialog; the owner's top-level window
    // is disabled meanwhile. The EndDialog value, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Ends a modal dialog's loop with the value (a modeless dialog is hidden).
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();  // default: UpdateData(FALSE)
    virtual void OnOK();          // default: UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();      // default: EndDialog(IDCANCEL)

    BOOL PreTranslateMessage(MSG* pMsg) override;

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    // The modal loop: messages through the thread's pre-translation; while idle the window gets
    // WM_KICKIDLE (wParam MSGF_DIALOGBOX, lParam the idle count) and, at the start of each idle
    // spell, its owner WM_ENTERIDLE. Returns the value given to EndModalLoop.
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    UINT m_nIDHelp = 0;
    LPCTSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    void OnCommandOK() { OnOK(); }
    void OnCommandCancel() { OnCancel(); }

protected:
    // Creates the window from a template in memory, owned by hWndOwner.
    BOOL CreateIndirect(const void* lpDialogTemplate, HWND hWndOwner);
    // The template's bytes from the resources, empty when absent.
    std::string LoadTemplate() const;

    int m_nModalResult = -1;
    BOOL m_bContinueModal = FALSE;
    BOOL m_bInModalLoop = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    CString m_strTemplateName;
};

// One exchange between a dialog's fields and its members, in one direction.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: fields to members, with validation
    CWnd* m_pDlgWnd;

    // The control's window, remembered as the one a failure points the user to.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Gives the last prepared control the focus (an edit field's text selected) and ends the
    // exchange with CUserException. The caller has already told the user why.
    [[noreturn]] void Fail();

    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// Fields holding whole numbers: a text that is no number of the member's kind shows the
// library's number prompt (a BYTE field's says 0 to 255) and fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Check box: 0, 1 or 2 (indeterminate).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A group of radio buttons starting at nIDC: the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Combo and list boxes: the index of the selection, -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Binds (subclasses) the control to the object the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Range checks after the field's DDX_Text: out of range shows the library's range prompt and
// fails the exchange. Only when saving.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// Text of a string resource with %1 (and %2) replaced.
void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);

// The system's open and save dialogs. The filter list is "name|pattern|...|" as the library
// writes it; m_ofn holds the whole request and, after IDOK, the answer.
class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                         LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    OPENFILENAMEA m_ofn;

    // IDOK or IDCANCEL (through the file-dialog hook when one is set).
    INT_PTR DoModal() override;
    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

private:
    BOOL m_bOpenFileDialog;
    std::string m_filter;  // pieces separated by NULs
    CString m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};
};
