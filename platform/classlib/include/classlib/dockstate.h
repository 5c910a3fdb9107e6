// The saved layout of a frame's bars: for each bar its visibility, position, docking and last
// docked and floating places, and for each dock bar the order of its bars; kept in the
// application's profile as one section "<name>-Bar<n>" per bar and a "<name>-Summary".
#pragma once

#include "classlib/geometry.h"
#include "classlib/object.h"

#include <memory>
#include <vector>

class CControlBar;
class CDockState;

class CControlBarInfo {
public:
    UINT m_nBarID = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bFloating = FALSE;
    BOOL m_bHorz = TRUE;  // a floating dock bar's orientation
    BOOL m_bDockBar = FALSE;
    CPoint m_pointPos = CPoint(-1, -1);  // top-left in the dock bar (screen for floating frames)
    int m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;  // the bar has a dock context: the four values below are its
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos = CPoint(-1, -1);
    // A dock bar's array as ids: 0 ends a row, a bar's id stands for it, and a placeholder is
    // kept as its id plus kPlaceholderFlag.
    std::vector<DWORD> m_arrBarID;
    CControlBar* m_pBar = nullptr;  // while the state is applied

    static const DWORD kPlaceholderFlag = 0x10000;

    // Section "<name>-Bar<nIndex>"; FALSE (and nothing written) for a dock bar with nothing to
    // remember.
    BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);
    // FALSE when the section names no bar.
    BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState);
};

class CDockState : public CObject {
    DECLARE_DYNAMIC(CDockState)
public:
    CDockState() = default;

    std::vector<std::unique_ptr<CControlBarInfo>> m_arrBarInfo;

    void LoadState(LPCTSTR lpszProfileName);
    void SaveState(LPCTSTR lpszProfileName);
    void Clear() { m_arrBarInfo.clear(); }

    // Positions saved on a screen of another size are scaled to this one.
    void ScalePoint(CPoint& pt) const;
    void ScaleRectPos(CRect& rect) const;
    CSize GetScreenSize() const;
    void SetScreenSize(CSize size);

private:
    CSize m_sizeSaved;
    BOOL m_bScaling = FALSE;
};
