// CStatusBar: the status bar along a frame's bottom, a row of panes over the system's status
// control: the message pane (usually the first, stretching) and indicator panes whose texts
// come from the string table and whose update handlers show or blank them.
#pragma once

#include "classlib/controlbar.h"

#include <vector>

// Pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000  // the pane's text is not shown
#define SBPS_STRETCH 0x08000000   // the pane takes the room the others leave

struct AFX_STATUSPANE {
    UINT nID = 0;
    UINT nStyle = 0;
    int cxText = 0;  // width of the text area (without the pane's border)
    CString strText;
    BOOL bDirty = FALSE;  // the text changed since the control got it
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                          UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id: ID_SEPARATOR gives an empty pane (the first one stretches and has no
    // border), any other id a pane as wide as its string, which it shows. FALSE when a string
    // is missing.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;  // -1 when no pane has the id
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneText(int nIndex, CString& rString) const;
    CString GetPaneText(int nIndex) const;
    // bUpdate FALSE keeps the control's text until the next update of the panes.
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    // Re-spreads the panes over the bar and (bUpdateText) gives the control the texts that
    // changed.
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // The window text is the first pane's.
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);

    int m_nMinHeight = 0;

protected:
    AFX_STATUSPANE* Pane(int nIndex);
    const AFX_STATUSPANE* Pane(int nIndex) const;
    // Gives the control the pane's text now (empty while the pane is disabled).
    void SendPaneText(int nIndex);

    std::vector<AFX_STATUSPANE> m_panes;

    DECLARE_MESSAGE_MAP()
};

// Update state of a status-bar pane: Enable shows or blanks it, SetCheck pops it out, SetText
// sets its text.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override;
    void SetCheck(int nCheck) override;
    void SetText(LPCTSTR lpszText) override;
};
