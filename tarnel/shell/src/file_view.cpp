// The tabbed view of a .hex document: one hex editor per area of the image.
#include "tarnel/shell/file_view.h"

#include "tarnel/images/chip_table.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/hex_view.h"

IMPLEMENT_DYNCREATE(CFileView, CXTTabView)

namespace {

// The board whose code area is its identification and whose data area its configuration.
const char kIdBoardChip[] = "Kestrix";
const DWORD kConfigBaseAddress = 16;
// Chips below this device code (the PIC chips) keep 16-bit words in their code cells.
const int kFirstByteCellDevice = 160;

void GiveArea(CHexView* view, ImageArea& area) {
    view->SetData(area.cells.data(), area.marks.data(), static_cast<int>(area.Size()));
}

}  // namespace

CFileView::CFileView() = default;

CFileView::~CFileView() = default;

CHexView* CFileView::AddAreaView(LPCTSTR lpszLabel) {
    const int tab = GetTabCtrl().GetItemCount();
    if (!AddView(lpszLabel, RUNTIME_CLASS(CHexView), GetDocument())) {
        return nullptr;
    }
    return DYNAMIC_DOWNCAST(CHexView, GetView(tab));
}

void CFileView::OnInitialUpdate() {
    CXTTabView::OnInitialUpdate();
    auto* doc = dynamic_cast<CHexDoc*>(GetDocument());
    if (doc == nullptr) {
        return;
    }
    const CString& chip = DocumentHost().Settings().ChipName();
    const bool idBoard = chip.CompareNoCase(kIdBoardChip) == 0;
    m_bCodeWordCells = ChipTable::GetDeviceCode(chip) < kFirstByteCellDevice;
    MemoryImage& image = doc->GetImage();

    if (image.code.Present()) {
        m_pCodeView = AddAreaView(idBoard ? "ID" : "Code");
        if (m_pCodeView != nullptr) {
            if (idBoard) {
                m_pCodeView->SetDisplay(FALSE, TRUE, TRUE, 0);
            }
            GiveArea(m_pCodeView, image.code);
            if (m_bCodeWordCells) {
                m_pCodeView->SetWordMode(TRUE);
            }
        }
    }
    if (image.data.Present()) {
        m_pDataView = AddAreaView(idBoard ? "Config" : "Data");
        if (m_pDataView != nullptr) {
            if (idBoard) {
                m_pDataView->SetDisplay(TRUE, TRUE, TRUE, kConfigBaseAddress);
            }
            GiveArea(m_pDataView, image.data);
        }
    }
    if (image.special.Present()) {
        m_pSpecialView = AddAreaView("Special");
        if (m_pSpecialView != nullptr) {
            GiveArea(m_pSpecialView, image.special);
            m_pSpecialView->SetWordMode(TRUE);
        }
    }
    if (CFrameWnd* frame = GetParentFrame()) {
        frame->ShowWindow(SW_SHOWMAXIMIZED);
    }
}

void CFileView::OnUpdate(CView*, LPARAM, CObject*) {
    auto* doc = dynamic_cast<CHexDoc*>(GetDocument());
    if (doc == nullptr) {
        return;
    }
    MemoryImage& image = doc->GetImage();
    if (m_pCodeView != nullptr) {
        GiveArea(m_pCodeView, image.code);
        m_pCodeView->Invalidate(TRUE);
    }
    if (m_pDataView != nullptr) {
        GiveArea(m_pDataView, image.data);
        m_pDataView->RedrawWindow();
    }
    if (m_pSpecialView != nullptr) {
        GiveArea(m_pSpecialView, image.special);
        m_pSpecialView->RedrawWindow();
    }
}

void CFileView::OnDraw(CDC*) {}

int CFileView::GetActiveArea() {
    const int selected = GetTabCtrl().GetCurSel();
    int tab = 0;
    for (int area = 0; area < 3; ++area) {
        if (AreaView(area) == nullptr) {
            continue;
        }
        if (tab == selected) {
            return area;
        }
        ++tab;
    }
    return 0;
}
