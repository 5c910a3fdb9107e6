// CIconButton: the flat owner-drawn push button with an icon of the program's dialogs, whose icon
// and caption colour change while the mouse is over it.
#pragma once

#include "classlib/classlib.h"

class CIconButton : public CButton {
    DECLARE_DYNAMIC(CIconButton)
public:
    enum IconPosition { kIconLeft = 0, kIconAbove = 1 };

    CIconButton();
    ~CIconButton() override;

    // Loads both icons at cx x cy from the program's resources: the one shown while the mouse is
    // over the button or it is pressed, and the normal one (0: the same picture); repaints at
    // once. FALSE when an icon is missing (the button then shows none in that state).
    BOOL SetIcon(UINT nIdOver, UINT nIdNormal, int cx, int cy);
    // The caption colour while the mouse is over the button.
    void SetOverCaptionColor(COLORREF color, BOOL bRepaint = TRUE);
    void SetIconPosition(int nPosition);
    // A flat button shows an edge only while the mouse is over it; a raised one always.
    void SetFlat(BOOL bFlat);
    // The cursor over the button, owned by the button from here on; null for the class cursor.
    void SetButtonCursor(HCURSOR hCursor);

    BOOL IsMouseOver() const { return m_bMouseOver; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    void OnMouseMove(UINT nFlags, CPoint point);
    void OnKillFocus(CWnd* pNewWnd);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

protected:
    // The button draws itself: owner-drawn whatever its template said.
    void PreSubclassWindow() override;
    void RepaintNow();
    void DrawFace(CDC& dc, const CRect& item, UINT state);

    int m_nIconPosition = kIconLeft;
    BOOL m_bDrawBorder = TRUE;
    BOOL m_bFlat = TRUE;
    BOOL m_bMouseOver = FALSE;
    HCURSOR m_hCursor = nullptr;
    HICON m_hIconOver = nullptr;
    HICON m_hIconNormal = nullptr;
    int m_cxIcon = 0;
    int m_cyIcon = 0;
    COLORREF m_crNormalBack;
    COLORREF m_crNormalText;
    COLORREF m_crOverBack;
    COLORREF m_crOverText;

    DECLARE_MESSAGE_MAP()
};

// The buttons as every choice dialog and the progress dialog set them up: OK (a red caption
// under the mouse), Cancel and STOP (blue), and the progress dialog's Exit (red).
void SetUpOkButton(CIconButton& button);
void SetUpCancelButton(CIconButton& button);
void SetUpExitButton(CIconButton& button);
