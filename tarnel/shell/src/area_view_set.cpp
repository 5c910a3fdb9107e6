// The area editors of a .hex document's view: modified switches, selection, go-to and marks.
#include "tarnel/shell/area_views.h"

#include "tarnel/images/image_areas.h"
#include "tarnel/images/memory_image.h"
#include "tarnel/shell/hex_view.h"

CHexView* CAreaViewSet::AreaView(int area) const {
    switch (area) {
        case 0:
            return m_pCodeView;
        case 1:
            return m_pDataView;
        case 2:
            return m_pSpecialView;
        default:
            return nullptr;
    }
}

CHexView* CAreaViewSet::ActiveView() { return AreaView(GetActiveArea()); }

BOOL CAreaViewSet::IsModified() {
    for (int area = 0; area < 3; ++area) {
        CHexView* view = AreaView(area);
        if (view != nullptr && view->IsModified()) {
            return TRUE;
        }
    }
    return FALSE;
}

void CAreaViewSet::SetModified(BOOL bModified) {
    for (int area = 0; area < 3; ++area) {
        if (CHexView* view = AreaView(area)) {
            view->SetModified(bModified);
        }
    }
}

void CAreaViewSet::GetSelection(int& first, int& last) {
    first = -1;
    last = -1;
    if (CHexView* view = ActiveView()) {
        first = view->GetSelFirst();
        last = view->GetSelLast();
    }
}

BOOL CAreaViewSet::HasSelection() {
    CHexView* view = ActiveView();
    return view != nullptr && view->HasSelection();
}

void CAreaViewSet::GoToAddress(int address) {
    const int area = GetActiveArea();
    if (CHexView* view = AreaView(area)) {
        view->GoToCell(GoToCellOf(area, address, m_bCodeWordCells != FALSE));
    }
}

void CAreaViewSet::MarkCell(int address, int kind) {
    const AreaCells target = HexMismatchCells(kind, address);
    if (CHexView* view = AreaView(target.area)) {
        for (int cell : target.cells) {
            view->SetCellMark(cell, kMarkMismatch);
        }
    }
}

void CAreaViewSet::RemoveMarks() {
    for (int area = 0; area < 3; ++area) {
        if (CHexView* view = AreaView(area)) {
            view->RemoveMarks();
        }
    }
}

void CAreaViewSet::ResetViews() {
    for (int area = 0; area < 3; ++area) {
        if (CHexView* view = AreaView(area)) {
            view->ResetState(TRUE);
        }
    }
}
