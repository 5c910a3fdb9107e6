// CDialogBar: a bar made from a dialog template (a child dialog without caption): its controls
// notify the bar's own map first and then the bar's owner, and are updated from the owner's
// handlers at idle time.
#pragma once

#include "classlib/controlbar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();
    ~CDialogBar() override;

    // nStyle: the bar's CBRS_* style (its alignment decides where it docks); nID its control
    // id. The template's size is the bar's size. FALSE when the template is missing or
    // creation failed.
    virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);
    virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

    // As high (docked top or bottom) or wide as the template, across the frame when stretched.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    CSize m_sizeDefault;

protected:
    LPCTSTR m_lpszTemplateName = nullptr;

    DECLARE_MESSAGE_MAP()
};
