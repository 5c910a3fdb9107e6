// CGotoAddressDlg: the "Go to address" dialog, one address in a hexadecimal and a decimal field
// that follow each other while the user types.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/shell/linked_edit.h"

class CGotoAddressDlg : public CDialog {
public:
    // The address starts as the GotoAddress setting.
    explicit CGotoAddressDlg(CWnd* pParent = nullptr);

    // Read after "Go", which also stores it in the GotoAddress setting.
    DWORD m_dwAddress = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnLinkedKeyUp(WPARAM wParam, LPARAM lParam);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    CLinkedEdit m_editHex;
    CLinkedEdit m_editDec;

    DECLARE_MESSAGE_MAP()
};
