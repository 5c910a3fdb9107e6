// CNewBinFileDlg: "New Bin File", the length of a new .bin image.
#pragma once

#include "tarnel/shell/choice_dlg.h"

class CNewBinFileDlg : public CChoiceDlg {
public:
    explicit CNewBinFileDlg(CWnd* pParent = nullptr);

    // Read after OK: a whole number, not checked against any range here.
    UINT GetLength() const { return m_nLength; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    UINT m_nLength = 1024;
};
