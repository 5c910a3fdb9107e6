// CFillDlg: the "Fill" dialog, what to fill (all, the selection or a range) with which byte.
#pragma once

#include "classlib/classlib.h"

class CFillDlg : public CDialog {
public:
    enum FillMode { kFillAll = 0, kFillSelection = 1, kFillRange = 2 };

    explicit CFillDlg(CWnd* pParent = nullptr);

    // Read after OK.
    int m_nMode = kFillAll;
    BYTE m_byFill = 255;
    DWORD m_dwFrom = 0;
    DWORD m_dwTo = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnModeClicked();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void EnableRange();

    DECLARE_MESSAGE_MAP()
};
