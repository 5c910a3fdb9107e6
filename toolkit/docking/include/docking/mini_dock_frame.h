// CXTMiniDockFrameWnd: the floating frame of toolkit bars. Its caption and borders move and
// size docking windows through their own dock context, and it can be sized from its corners.
#pragma once

#include "classlib/classlib.h"

class CXTMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CXTMiniDockFrameWnd)
public:
    BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;

protected:
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
