// CChoiceDlg: the base of the documents' choice dialogs, whose OK and Cancel are icon buttons.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/shell/icon_button.h"

class CChoiceDlg : public CDialog {
public:
    // Binds and sets up the icon buttons, then puts the members into the fields.
    BOOL OnInitDialog() override;

protected:
    CChoiceDlg(UINT nIDTemplate, CWnd* pParent);

    // The current chip (the settings bar's selection) as the dialog opens.
    static CString CurrentChip();

    // Bound to the template's OK and Cancel when it has them.
    CIconButton m_btnOK;
    CIconButton m_btnCancel;
};
