// CXTDockWindow: a sizable control bar that hosts one child window, docks on any side in rows
// that share their length, expands to fill its row, floats, and hides from its caption.
#pragma once

#include "docking/control_bar.h"
#include "docking/dock_window_ids.h"
#include "docking/dock_window_sizes.h"
#include "docking/button.h"

#include <memory>

class CXTDockBar;

// A caption button: a flat button whose icon always shows its normal look, enabled or not.
class CXTBarButton : public CXTButton {
    DECLARE_DYNAMIC(CXTBarButton)
public:
    void DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rect) override;
    // Shows a 10 x 10 picture of the shared caption strip: a copy of it, since buttons destroy
    // the icons they hold; the copy shown before is freed.
    void SetCaptionPicture(UINT nPicture);
};

class CXTDockWindow : public CXTControlBar {
    DECLARE_DYNAMIC(CXTDockWindow)
public:
    CXTDockWindow();
    ~CXTDockWindow() override;

    // Creates the window (width x height in every state) with the control-bar style (its bar
    // bits) and window style (the rest) of dwStyle and the toolkit style.
    virtual BOOL Create(CWnd* pParentWnd, UINT nID, LPCTSTR lpszTitle, int nWidth, int nHeight,
                        DWORD dwStyle, DWORD dwToolkitStyle);
    // The area left for the child window.
    virtual void GetInsideRect(CRect& rect);
    virtual int GetCaptionSize() { return xtdock::XT_CAPTION_SIZE; }
    virtual BOOL IsExpanded() { return m_bExpanded; }
    virtual void SetDockedSize(CSize size);
    virtual void RestoreSize();
    // Shrinks to the caption along the row; answers the length freed.
    virtual int ContractToCaption();
    virtual void ExpandToSize(int nLength);
    virtual int GetCurrentWidth() { return m_sizeCurrent.cx; }
    virtual int GetCurrentHeight() { return m_sizeCurrent.cy; }
    virtual void GetGripRect(CRect& rect);
    virtual void GetButtonRect(CRect& rect);
    virtual void DrawCaptionArea(CDC* pDC);
    // The window filling the client area; placed at the next position change.
    virtual void SetChild(CWnd* pWnd);
    // Takes sizes and flags from a stored "Bar Position" record of nBytes, each size kept
    // between 1 pixel (floating: 50) and the desktop's work area; a record too short to hold
    // them is ignored.
    virtual void SetBarInfo(const BYTE* pRecord, UINT nBytes);
    virtual void DrawCaption(CDC* pDC, const CRect& rect);

    // The "Bar Position" value in the profile section of the frame's bar state.
    void SaveBarPosition(LPCTSTR lpszSection);
    void LoadBarPosition(LPCTSTR lpszSection);

    // The sizes and flags as the row layout sees them, and back.
    xtdock::XT_DOCK_SIZES GetDockSizes() const;
    void SetDockSizes(const xtdock::XT_DOCK_SIZES& sizes);
    xtdock::XTDockSide GetDockSide();
    CXTDockBar* GetXTDockBar() const;
    CWnd* GetChild() const { return m_pChildWnd; }
    CXTBarButton* GetHideButton() const { return m_pHideButton.get(); }
    CXTBarButton* GetExpandButton() const { return m_pExpandButton.get(); }
    DWORD GetCaptionPicture() const { return m_nCaptionPicture; }

    using CControlBar::SetBarInfo;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DelayShow(BOOL bShow) override;
    void DoPaint(CDC* pDC) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ModifyToolkitStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE) override;
    void EraseNonClient() override;
    void DrawBorders(CDC* pDC, CRect& rect) override;

protected:
    // The caption buttons' flat-button flags for the toolkit style.
    DWORD ButtonFlags() const;
    void PlaceButtons();

    int OnCreate(LPCREATESTRUCT lpcs);
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnHideWindow();
    void OnExpandWindow();
    void OnUpdateCaptionButton(CCmdUI* pCmdUI);

    DWORD m_nCaptionPicture = 0;
    CWnd* m_pChildWnd = nullptr;
    std::unique_ptr<CXTBarButton> m_pHideButton;
    std::unique_ptr<CXTBarButton> m_pExpandButton;
    CToolTipCtrl m_wndToolTip;

    DECLARE_MESSAGE_MAP()
};
