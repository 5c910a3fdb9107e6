// The .bin document's view: the document's one image in a hex editor.
#include "tarnel/shell/bin_view.h"

#include "tarnel/shell/bin_doc.h"

IMPLEMENT_DYNCREATE(CBinView, CHexView)

void CBinView::OnInitialUpdate() {
    CHexView::OnInitialUpdate();
    if (CFrameWnd* frame = GetParentFrame()) {
        frame->ShowWindow(SW_SHOWMAXIMIZED);
    }
}

void CBinView::OnUpdate(CView*, LPARAM, CObject*) {
    auto* doc = dynamic_cast<CBinDoc*>(GetDocument());
    if (doc == nullptr || !doc->GetArea().Present()) {
        return;
    }
    ImageArea& area = doc->GetArea();
    SetData(area.cells.data(), area.marks.data(), static_cast<int>(area.Size()));
    if (m_hWnd != nullptr) {
        UpdateWindow();
    }
}

void CBinView::OnDraw(CDC* pDC) { CHexView::OnDraw(pDC); }
