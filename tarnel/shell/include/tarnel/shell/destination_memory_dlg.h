// CDestinationMemoryDlg: "Destination Memory", the areas of the current chip a .hex job covers.
#pragma once

#include "tarnel/images/image_areas.h"
#include "tarnel/shell/choice_dlg.h"

class CDestinationMemoryDlg : public CChoiceDlg {
public:
    explicit CDestinationMemoryDlg(CWnd* pParent = nullptr);

    // Before the dialog runs: the boxes carry the board's own labels (device code 169).
    void UseBoardLabels();
    // Read after OK; an area the current chip lacks is never chosen.
    AreaChoice GetChoices() const;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    int m_nData = 1;
    int m_nCode = 1;
    int m_nSpecial = 1;
    int m_nDeviceCode = 0;
};
