// CToolBar: a bar of command buttons over the system's toolbar control, loaded from a toolbar
// resource and its bitmap, updated from the owner's handlers at idle time, wrapping its buttons
// into rows or a column as it is docked or floated; CToolBarCtrl is the control's own interface.
#pragma once

#include "classlib/controlbar.h"

// A toolbar button's style word: the control's button style in the low word, its state in the
// high word, where TBBS_DISABLED stands in the place of the control's "enabled" bit.
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_AUTOSIZE MAKELONG(TBSTYLE_AUTOSIZE, 0)
#define TBBS_NOPREFIX MAKELONG(TBSTYLE_NOPREFIX, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)

// The toolbar control's messages as members.
class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl() = default;
    explicit CToolBarCtrl(HWND hWnd) : CWnd(hWnd) {}

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetButtonCount() const;
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const;
    BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons);
    BOOL InsertButton(int nIndex, LPTBBUTTON lpButton);
    BOOL DeleteButton(int nIndex);
    int CommandToIndex(UINT nID) const;
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL GetRect(UINT nID, LPRECT lpRect) const;

    int GetState(int nID) const;  // TBSTATE_* of the button with that command, -1 if none
    BOOL SetState(int nID, UINT nState);
    BOOL EnableButton(int nID, BOOL bEnable = TRUE);
    BOOL CheckButton(int nID, BOOL bCheck = TRUE);
    BOOL PressButton(int nID, BOOL bPress = TRUE);
    BOOL HideButton(int nID, BOOL bHide = TRUE);
    BOOL Indeterminate(int nID, BOOL bIndeterminate = TRUE);
    BOOL IsButtonEnabled(int nID) const;
    BOOL IsButtonChecked(int nID) const;
    BOOL IsButtonPressed(int nID) const;
    BOOL IsButtonHidden(int nID) const;

    // Adds images: nNumButtons images from a bitmap resource of the program, or from a bitmap
    // (which must outlive the control). The index of the first image added, -1 on failure.
    int AddBitmap(int nNumButtons, UINT nBitmapID);
    int AddBitmap(int nNumButtons, CBitmap* pBitmap);
    BOOL ReplaceBitmap(LPTBREPLACEBITMAP pReplaceBitmap);
    int AddString(UINT nStringID);
    int AddStrings(LPCTSTR lpszStrings);
    BOOL SetBitmapSize(CSize size);
    BOOL SetButtonSize(CSize size);
    CSize GetButtonSize() const;
    void SetButtonStructSize(int nSize);
    void AutoSize();
    int GetRows() const;
    void SetRows(int nRows, BOOL bLarger, LPRECT lpRect);
    void SetOwner(CWnd* pWnd);
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pTip);
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwExStyle);
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* pImageList);
    int GetHotItem() const;
    int SetHotItem(int nHot);
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);

    // Button and image sizes; a button is at least its image plus 7 pixels each way.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The bar's height: the room beside the buttons is shared by its top and bottom borders.
    void SetHeight(int cyHeight);
    // A toolbar resource (version, image size, command per button, 0 for a separator) and the
    // bitmap of the same id. FALSE when either is missing or malformed.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource);
    // The images of a bitmap resource, its greys and white mapped to the system's button
    // colours.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource);
    BOOL SetBitmap(HBITMAP hbmImageWell);
    // One button per id (0: a separator), images numbered in order; null ids: blank buttons.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    // For a separator iImage is its width.
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    CString GetButtonText(int nIndex) const;
    void GetButtonText(int nIndex, CString& rString) const;

    CToolBarCtrl& GetToolBarCtrl() const;
    // Where the buttons' notifications and commands go.
    void SetOwner(CWnd* pOwnerWnd);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    BOOL OnNcCreate(LPCREATESTRUCT lpcs);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnPaint();
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnSysColorChange();
    LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);

    CSize m_sizeButton = CSize(23, 22);
    CSize m_sizeImage = CSize(16, 15);
    // The bitmap resource of the images, reloaded when the system's colours change.
    HINSTANCE m_hInstImageWell = nullptr;
    HRSRC m_hRsrcImageWell = nullptr;
    HBITMAP m_hbmImageWell = nullptr;
    BOOL m_bDelayedButtonLayout = TRUE;

protected:
    // The control's record of a button, and a changed record written back (a state change
    // only, or the button replaced).
    void GetButton(int nIndex, TBBUTTON* pButton) const;
    void SetButton(int nIndex, const TBBUTTON& button);
    // Lays the buttons out for the request (LM_* mode, length -1 for none) and, with LM_COMMIT,
    // writes the row breaks to the control.
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    // Commits the layout of the bar's current docking (done before painting when buttons or
    // styles changed).
    void Layout();
    // Sends a size message with the flat styles the control lays buttons out by.
    LRESULT SendSizeMessage(UINT message, WPARAM wParam, LPARAM lParam);

    mutable CToolBarCtrl m_ctrl;  // the control's interface over this window

    DECLARE_MESSAGE_MAP()
};

// Update state of a toolbar button: Enable enables it, SetCheck checks it (2: indeterminate),
// SetRadio checks it alone, SetText does nothing.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override;
    void SetCheck(int nCheck) override;
    void SetText(LPCTSTR lpszText) override;
};

// A bitmap resource with its black, greys and white mapped to the system's button colours
// (bMono: every mapped colour but black becomes white). Null when it cannot be loaded.
HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);
