// CXTHyperLink: a text static control shown as a link: link colours and a hand cursor, a
// highlight while the mouse is over it, its target as a tooltip, and a click opens the target
// through the shell (a failure is reported in a message box).
#pragma once

#include "classlib/classlib.h"

class CXTHyperLink : public CStatic {
    DECLARE_DYNAMIC(CXTHyperLink)
public:
    CXTHyperLink();
    ~CXTHyperLink() override;

    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);

    // The target, also the tooltip's text. A text static takes its window text when it is
    // made or taken over.
    virtual void SetTarget(LPCTSTR lpszTarget);
    virtual CString GetTarget() const;
    virtual void SetLinkColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover);
    virtual COLORREF GetLinkColor() const;
    virtual COLORREF GetVisitedColor() const;
    virtual COLORREF GetHoverColor() const;
    virtual void SetVisited(BOOL bVisited = TRUE);
    virtual BOOL IsVisited() const;
    virtual void SetLinkCursor(HCURSOR hCursor);
    virtual HCURSOR GetLinkCursor() const;
    // Underlined font (the default) or the normal one, when the control is made or taken over.
    virtual void SetUnderline(BOOL bUnderline = TRUE);
    virtual BOOL IsUnderlined() const;
    // Opens the target (the stored one when none is given) with the shell's "open" verb; a
    // result of 32 or below is reported in a message box. The link counts as visited either
    // way. Returns the shell's result.
    virtual HINSTANCE OpenTarget(LPCTSTR lpszTarget = nullptr, int nShowCmd = SW_SHOW);
    // A left, centred or right text static (not an icon, bitmap or frame).
    virtual BOOL IsTextStatic() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCT lpcs);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    LRESULT OnNcHitTest(CPoint point);
    void OnClicked();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);

    // The target from the text, notifications, the tooltip and the font.
    void Initialize();

    BYTE m_bUnderline = 1;
    BYTE m_bHover = 0;
    BYTE m_bVisited = 0;
    CString m_strTarget;
    HCURSOR m_hcurLink;
    COLORREF m_clrLink = RGB(0, 0, 0x80);
    COLORREF m_clrHover = RGB(0, 0, 0xFF);
    COLORREF m_clrVisited = RGB(0x80, 0, 0x80);
    CToolTipCtrl m_toolTip;

private:
    BOOL m_bCreating = FALSE;  // inside Create: WM_CREATE does the set-up

    DECLARE_MESSAGE_MAP()
};
