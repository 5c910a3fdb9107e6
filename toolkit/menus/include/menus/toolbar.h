// CXTToolBar: the toolkit's flat toolbar over the toolbar control: its own separators and
// checked buttons, drop-down buttons with menus, controls in place of buttons, customisation
// through the control's dialog, and the button layout kept in the registry.
#pragma once

#include "docking/control_bar.h"

#include <memory>
#include <vector>

// Sent to the owner for a drop-down button without a menu: wParam the notification record
// (NMTOOLBAR), lParam the button's rectangle in screen coordinates.
#define XT_WM_TBDROPDOWN 0x7F8

// A drop-down button's command and the menu resource of its menu (0: none).
struct XT_DROPDOWNBUTTON {
    UINT idButton = 0;
    UINT idMenu = 0;
};

class CXTToolBar : public CXTControlBar {
    DECLARE_DYNAMIC(CXTToolBar)
public:
    CXTToolBar();
    ~CXTToolBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL GetItemRect(int nIndex, LPRECT lpRect);
    virtual void OnDropDown(NMTOOLBAR* pNotify, UINT nCommand, CRect rcButton);
    virtual BOOL PlaceControl(CWnd* pControl);
    virtual void DrawSeparators(CDC* pDC);
    virtual BOOL DrawButtonImage(CDC* pDC, NMCUSTOMDRAW* pDraw);
    virtual void FillSeparatorGaps(CDC* pDC);
    virtual void DrawBar();

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // Sizes: stored before the window exists, given to the control afterwards.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    void SetHeight(int cyHeight);
    // A toolbar resource and its bitmap; then every button is kept for the customise dialog and
    // the saved layout restored.
    BOOL LoadToolBar(UINT nIDResource);
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL SetBitmap(HBITMAP hbmImageWell);
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    int GetButtonCount() const;
    void GetButton(int nIndex, TBBUTTON* pButton) const;
    void SetButton(int nIndex, const TBBUTTON& button);
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    CString GetButtonText(int nIndex) const;
    // Makes the command's button a drop-down button whose arrow opens the menu resource's first
    // popup (0: tells the owner instead).
    void AddDropDownButton(UINT nIDButton, UINT nIDMenu);

    // The control's own layout store under HKEY_CURRENT_USER\<state subkey>, <value name>.
    void SaveState();
    void RestoreState();
    const CString& GetStateSubKey() const { return m_strSubKey; }
    const CString& GetStateValueName() const { return m_strValueName; }

    void SetOwner(CWnd* pOwnerWnd);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT OnCustomDraw(NMCUSTOMDRAW* pDraw);
    // Shrinks the bar's window rectangle to the area the control lays its buttons out in (its
    // client area): the borders and the gripper go.
    virtual void CalcButtonArea(CRect& rect);
    // Sends a size or font message with the flat styles on, which the control sizes by.
    LRESULT SendWithFlatStyle(UINT message, WPARAM wParam, LPARAM lParam);
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    void Layout();
    void MoveControls();

    BOOL m_bDelayedButtonLayout = TRUE;
    CSize m_sizeImage{16, 15};
    CSize m_sizeButton{23, 22};
    HINSTANCE m_hInstImageWell = nullptr;
    HRSRC m_hRsrcImageWell = nullptr;
    HBITMAP m_hbmImageWell = nullptr;
    std::unique_ptr<CMapStringToPtr> m_pStringMap;
    CString m_strSubKey;
    CString m_strValueName;
    std::vector<XT_DROPDOWNBUTTON> m_dropDownButtons;
    std::vector<TBBUTTON> m_buttonSnapshot;
};

// Update state of a toolkit toolbar button: Enable, SetCheck (2: indeterminate); SetText does
// nothing.
class CXTToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override;
    void SetCheck(int nCheck) override;
    void SetText(LPCTSTR lpszText) override;
};
