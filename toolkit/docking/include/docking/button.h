// CXTButton: the toolkit's owner-drawn push button: its own face, border, text, icon or
// bitmap, flat with hot tracking (a raised border while the mouse is over it), painted without
// flicker.
#pragma once

#include "classlib/classlib.h"
#include "docking/button_layout.h"

// Style flags (SetStyleFlags).
#define BS_XT_FLAT 0x0001L
#define BS_XT_THIN 0x0002L
#define BS_XT_IMAGE_ABOVE 0x0004L
#define BS_XT_FOCUS_RECT 0x0008L

class CXTButton : public CButton {
    DECLARE_DYNAMIC(CXTButton)
public:
    CXTButton();
    // Destroys the icons and deletes the bitmaps it holds.
    ~CXTButton() override;

    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    // Colours kept over system colour changes from now on; no redraw.
    virtual void SetColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow,
                           COLORREF clrText);
    // Icons from the application's resources at the given size; the images held before are
    // freed first. FALSE when an icon does not load.
    virtual BOOL SetIcon(int cx, int cy, LPCTSTR lpszNormal, LPCTSTR lpszPushed = nullptr,
                         BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(int cx, int cy, UINT nID, UINT nIDPushed = 0);
    // Takes the handles as they are and owns them from now on (the ones held before are not
    // freed). TRUE.
    virtual BOOL SetIcon(int cx, int cy, HICON hIcon, HICON hIconPushed = nullptr,
                         BOOL bRedraw = TRUE);
    // A 16-colour bitmap resource in the system's button colours, and its monochrome form for
    // the disabled look; the images held before are freed first. FALSE when it does not load.
    virtual BOOL SetBitmap(int cx, int cy, UINT nID, BOOL bRedraw = TRUE);
    // Puts the image and the text at fixed client points from now on. TRUE.
    virtual BOOL SetFixedPositions(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
    virtual void DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rect);
    virtual void DrawButtonText(CDC* pDC, UINT nState, const CRect& rect);
    virtual void DrawButtonBitmap(CDC* pDC, UINT nState, const CRect& rect);

    // BS_XT_* flags; returns the previous ones.
    DWORD SetStyleFlags(DWORD dwStyle, BOOL bRedraw = TRUE);

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSysColorChange();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();

    // Owner drawing and the toolkit's font, on creation or when an existing control is taken.
    void Initialize();
    // One hot-tracking step; true while the mouse is over the button and it is not pressed.
    bool TrackHot();
    void FreeImages();
    void RedrawIf(BOOL bRedraw);
    xtdock::ButtonLayout Layout() const;
    COLORREF ToneColor(xtdock::ButtonTone tone) const;

    HICON m_hIcon = nullptr;
    HICON m_hIconPushed = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HBITMAP m_hBitmapDisabled = nullptr;
    CSize m_sizeImage{0, 0};
    CPoint m_ptImage{0, 0};
    CPoint m_ptText{0, 0};
    int m_nMargin = 4;
    int m_nGap = 8;
    DWORD m_dwxStyle = BS_XT_FLAT | BS_XT_IMAGE_ABOVE;
    BOOL m_bDither = FALSE;
    BOOL m_bFixedPositions = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bUserColors = FALSE;
    BOOL m_bHot = FALSE;
    COLORREF m_clrText;
    COLORREF m_clrFace;
    COLORREF m_clrHilite;
    COLORREF m_clrShadow;

private:
    BOOL m_bCreating = FALSE;  // inside Create: WM_CREATE does the set-up

    DECLARE_MESSAGE_MAP()
};
