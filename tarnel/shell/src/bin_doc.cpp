// The .bin document: one raw area, its fills, clipboard copy and the write and verify requests.
#include "tarnel/shell/bin_doc.h"

#include <new>
#include <utility>
#include <vector>

#include "tarnel/images/bin_image_file.h"
#include "tarnel/images/image_areas.h"
#include "tarnel/images/image_jobs.h"
#include "tarnel/shell/cell_clipboard.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/hex_view.h"
#include "tarnel/shell/job_builder.h"

IMPLEMENT_DYNCREATE(CBinDoc, CQuilletDocument)

CBinDoc::CBinDoc() = default;

CBinDoc::~CBinDoc() = default;

BOOL CBinDoc::OnNewDocument() {
    if (!CQuilletDocument::OnNewDocument()) {
        return FALSE;
    }
    UINT length = 0;
    for (;;) {
        if (!DocumentHost().Choices().NewBinLength(length)) {
            return FALSE;
        }
        if (IsNewBinLengthAllowed(length)) {
            break;
        }
        ReportLengthRange(1, LargestAreaSize());
    }
    if (!m_area.Allocate(length)) {
        ReportImageFileResult(OutOfMemoryFailure());
        return FALSE;
    }
    std::fill(m_area.marks.begin(), m_area.marks.end(), kMarkData);
    return TRUE;
}

BOOL CBinDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    RememberFolder(lpszPathName);
    if (!CQuilletDocument::OnOpenDocument(lpszPathName)) {
        return FALSE;
    }
    if (!m_area.Present()) {
        // The framework hands an empty file over unread.
        ReportImageFileResult(ReadBinImage(nullptr, 0, m_area));
        return FALSE;
    }
    return TRUE;
}

void CBinDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        const std::vector<uint8_t>& bytes = BinImageBytes(m_area);
        if (!bytes.empty()) {
            ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        }
        return;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(ar.GetFile()->GetLength()));
    } catch (const std::bad_alloc&) {
        ReportImageFileResult(OutOfMemoryFailure());
        AfxThrowUserException();
    }
    const UINT read = bytes.empty() ? 0 : ar.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    const ImageFileResult result = ReadBinImage(bytes.data(), read, m_area);
    if (!result.ok()) {
        ReportImageFileResult(result);
        AfxThrowUserException();
    }
}

void CBinDoc::DeleteContents() {
    m_area.Clear();
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        if (auto* view = dynamic_cast<CHexView*>(GetNextView(pos))) {
            view->ResetState(FALSE);
        }
    }
    CQuilletDocument::DeleteContents();
}

void CBinDoc::TakeContents(CQuilletDocument& source) {
    m_area = std::move(static_cast<CBinDoc&>(source).m_area);
}

CHexView* CBinDoc::FirstView() const {
    POSITION pos = GetFirstViewPosition();
    return pos != nullptr ? dynamic_cast<CHexView*>(GetNextView(pos)) : nullptr;
}

void CBinDoc::FillRange(int nFirst, int nLast, BYTE value) {
    FillCells(m_area, nFirst, nLast, value, false);
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CBinDoc::FillSelection(BYTE value) {
    CHexView* view = FirstView();
    if (view == nullptr || !view->HasSelection()) {
        return;
    }
    FillRange(view->GetSelFirst(), view->GetSelLast(), value);
}

void CBinDoc::FillAll(BYTE value) { FillRange(0, static_cast<int>(m_area.Size()) - 1, value); }

void CBinDoc::GoToAddress(int nAddress) {
    if (CHexView* view = FirstView()) {
        view->GoToCell(nAddress);
    }
}

void CBinDoc::CopySelection() {
    CHexView* view = FirstView();
    const bool selected = view != nullptr && view->HasSelection();
    CopyCellsToClipboard(AfxGetMainWnd(), m_area.cells.data(), selected ? view->GetSelFirst() : -1,
                         selected ? view->GetSelLast() : -1);
}

BOOL CBinDoc::HasSelection() {
    CHexView* view = FirstView();
    return view != nullptr && view->HasSelection();
}

void CBinDoc::MarkMismatch(int nCell, int nKind) {
    CHexView* view = FirstView();
    if (view == nullptr) {
        return;
    }
    for (int cell : BinMismatchCells(nKind, nCell)) {
        view->SetCellMark(cell, kMarkMismatch);
    }
}

BOOL CBinDoc::ChooseMemory(BYTE& kind, UINT& base, BOOL bAlwaysAsk) {
    const CString chip = DocumentHost().Settings().ChipName();
    if (chip.IsEmpty()) {
        AfxMessageBox("You must select a chip", MB_OK);
        return FALSE;
    }
    const AreaChoice areas = ChipAreas(chip);
    MemoryKind single = kMemoryData;
    if (SingleDestination(areas, bAlwaysAsk != FALSE, single)) {
        kind = single;
        base = 0;
        return TRUE;
    }
    return DocumentHost().Choices().ChooseMemory(areas, bAlwaysAsk != FALSE, kind, base) ? TRUE
                                                                                         : FALSE;
}

void CBinDoc::WriteChip(BOOL) { QueueChipJob(kJobWrite, "written"); }

void CBinDoc::VerifyChip(BOOL) {
    // The marks of the last verify go before a new one.
    if (CHexView* view = FirstView()) {
        view->RemoveMarks();
    }
    QueueChipJob(kJobVerify, "verified");
}

void CBinDoc::QueueChipJob(JobOp operation, const char* verb) {
    BYTE kind = kMemoryData;
    UINT base = 0;
    if (!ChooseMemory(kind, base, TRUE)) {
        return;
    }
    const CString chip = DocumentHost().Settings().ChipName();
    const BinJobPlan plan =
        PlanBinJob(chip, kind, static_cast<uint32_t>(m_area.Size()), base, verb);
    switch (plan.outcome) {
        case BinJobPlan::Outcome::kRefused:
            AfxMessageBox(plan.text.c_str(), MB_ICONSTOP);
            return;
        case BinJobPlan::Outcome::kAskRange:
            if (AfxMessageBox(plan.text.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
                return;
            }
            break;
        case BinJobPlan::Outcome::kQueue:
            break;
    }
    AreaJob job;
    job.operation = operation;
    job.cells = m_area.cells.data();
    job.marks = nullptr;  // a .bin image sends every cell of its range
    job.size = plan.size;
    job.kind = kind;
    job.startCell = base;
    QueueImageJob(job);
}
