// CToolBar's layout: the buttons wrapped for a docked side, a floating width or a requested
// length, the bar's size around them, and the row breaks written back to the control.
#include "classlib/classlib.h"
#include "classlib/toolbar_control.h"

#include <algorithm>
#include <vector>

namespace {

const int kOneRow = 32767;

}  // namespace

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0));
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    if (AfxIsDockedSideRequest(nLength, dwMode)) {
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    }
    return CalcLayout(dwMode, nLength);
}

CSize CToolBar::CalcLayout(DWORD dwMode, int nLength) {
    int count = static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    std::vector<TBBUTTON> buttons(static_cast<size_t>(std::max(count, 0)));
    std::vector<AFX_TOOLBOX> boxes(buttons.size());
    for (int i = 0; i < count; ++i) {
        GetButton(i, &buttons[i]);
        AFX_TOOLBOX& box = boxes[i];
        box.bSeparator = (buttons[i].fsStyle & TBSTYLE_SEP) != 0;
        box.bControl = box.bSeparator && buttons[i].idCommand != 0;
        box.bHidden = (buttons[i].fsState & TBSTATE_HIDDEN) != 0;
        box.bWrap = (buttons[i].fsState & TBSTATE_WRAP) != 0;
        box.nWidth = box.bSeparator ? buttons[i].iBitmap : m_sizeButton.cx;
    }
    AFX_TOOLMETRICS metrics;
    metrics.cyButton = m_sizeButton.cy;
    metrics.bFlat = (GetStyle() & TBSTYLE_FLAT) != 0;

    CSize size(0, 0);
    if (count > 0) {
        // A bar of fixed size keeps its row breaks; any other is wrapped for the request.
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            BOOL dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            CRect inside(0, 0, 0, 0);
            CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
            if (dynamic && (dwMode & LM_MRUWIDTH)) {
                AfxWrapToolBoxesToWidth(boxes, m_nMRUWidth, metrics);
            } else if (dynamic && (dwMode & LM_HORZDOCK)) {
                AfxWrapToolBoxes(boxes, kOneRow);
            } else if (dynamic && (dwMode & LM_VERTDOCK)) {
                AfxWrapToolBoxes(boxes, 0);
            } else if (dynamic && nLength != -1) {
                // The length is the bar's outside; the buttons get what its borders leave.
                if (dwMode & LM_LENGTHY) {
                    AfxWrapToolBoxesToHeight(boxes, nLength + inside.Height(), metrics);
                } else {
                    AfxWrapToolBoxesToWidth(boxes, nLength + inside.Width(), metrics);
                }
            } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
                AfxWrapToolBoxesToWidth(boxes, m_nMRUWidth, metrics);
            } else {
                AfxWrapToolBoxes(boxes, (dwMode & LM_HORZ) ? kOneRow : 0);
            }
        }
        size = AfxMeasureToolBoxes(boxes, metrics);
        if (dwMode & LM_COMMIT) {
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) {
                m_nMRUWidth = size.cx;
            }
            m_bDelayedButtonLayout = FALSE;
            AfxCommitToolBoxWraps(*this, buttons, boxes);
        }
    }
    // The bar is the buttons plus its borders and gripper, and never smaller than a bar's
    // least size for the request.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
    return AfxToolBarOuterSize(
        size, inside,
        CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0));
}

void CToolBar::Layout() {
    m_bDelayedButtonLayout = FALSE;
    CalcDynamicLayout(0, AfxToolBarLayoutMode(m_dwStyle));
}
