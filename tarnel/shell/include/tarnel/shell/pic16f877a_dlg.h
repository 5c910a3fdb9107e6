// CPic16F877ADlg: the "PIC16F877A" dialog, the chip's configuration word in the special area of
// the active .hex image as radio buttons and check boxes.
#pragma once

#include "classlib/classlib.h"

class CHexDoc;

class CPic16F877ADlg : public CDialog {
public:
    // pDoc: the active image, or null (default controls, OK writes nothing).
    explicit CPic16F877ADlg(CHexDoc* pDoc, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    // Rebuilds the word from the controls, writes it to cells 14 and 15 as data and marks the
    // image modified; only closes when the special area cannot hold the word.
    void OnOK() override;
    void OnBrownOutClicked();

protected:
    // Brown-out reset needs the power-up timer: its box is then checked and locked.
    void FollowBrownOut();

    CHexDoc* m_pDoc;

    DECLARE_MESSAGE_MAP()
};
