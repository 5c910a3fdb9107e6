// CMemoryOptionsDlg: "Memory settings", the memory kind and base address of a .bin job.
#pragma once

#include "tarnel/shell/choice_dlg.h"

class CMemoryOptionsDlg : public CChoiceDlg {
public:
    // Only the areas present can be chosen; the base can be typed only when allowed.
    CMemoryOptionsDlg(BOOL bDataPresent, BOOL bCodePresent, BOOL bSpecialPresent, BOOL bBaseAllowed,
                      CWnd* pParent = nullptr);

    // Read after OK: MemoryKind 1, 2 or 4, and the base address.
    BYTE GetMemoryType() const { return m_nMemoryType; }
    UINT GetBaseAddress() const { return m_nBaseAddress; }

    BOOL OnInitDialog() override;
    // Closes only with a base address inside the chosen area of the current chip.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    BOOL m_bDataPresent;
    BOOL m_bCodePresent;
    BOOL m_bSpecialPresent;
    BOOL m_bBaseAllowed;
    BYTE m_nMemoryType = 1;
    UINT m_nBaseAddress = 0;
};
