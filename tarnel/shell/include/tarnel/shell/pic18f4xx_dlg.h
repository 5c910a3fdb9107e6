// CPic18F4xxDlg: the "PIC18F4XX" dialog, the configuration registers CONFIG1H to CONFIG7L in the
// special area of the active .hex image as radio buttons and check boxes.
#pragma once

#include "classlib/classlib.h"

class CHexDoc;

class CPic18F4xxDlg : public CDialog {
public:
    // pDoc: the active image, or null (default controls, OK writes nothing).
    explicit CPic18F4xxDlg(CHexDoc* pDoc, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    // Rebuilds the eleven registers the dialog covers, writes them as data and marks the image
    // modified; CONFIG1L, CONFIG3L and CONFIG4H stay as they are.
    void OnOK() override;

protected:
    CHexDoc* m_pDoc;
};
