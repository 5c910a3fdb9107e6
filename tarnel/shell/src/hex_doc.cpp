// The .hex document: a chip's areas, their records, fills and clipboard copy, the save of
// over-long images and the read, write and verify requests.
#include "tarnel/shell/hex_doc.h"

#include <new>
#include <utility>
#include <string>

#include "tarnel/images/chip_table.h"
#include "tarnel/images/hex_writer.h"
#include "tarnel/images/image_areas.h"
#include "tarnel/images/image_jobs.h"
#include "tarnel/images/image_save.h"
#include "tarnel/shell/area_views.h"
#include "tarnel/shell/cell_clipboard.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/hex_view.h"
#include "tarnel/shell/job_builder.h"

IMPLEMENT_DYNCREATE(CHexDoc, CQuilletDocument)

namespace {

constexpr uint8_t kDeviceBoardLabels = kDeviceKestrixBoard;

}  // namespace

// The reader's chip-selection step, answered as a new document answers it.
class CHexDoc::ChipStep : public ChipSelector {
public:
    explicit ChipStep(CHexDoc& doc) : m_doc(doc) {}
    bool SelectChip(ChipChoice& choice) override { return m_doc.AskChip(choice) != FALSE; }

private:
    CHexDoc& m_doc;
};

CHexDoc::CHexDoc() = default;

CHexDoc::~CHexDoc() = default;

BOOL CHexDoc::AskChip(ChipChoice& choice) {
    IDocumentHost& host = DocumentHost();
    CString name;
    AreaSizes lengths;
    for (;;) {
        if (!host.Choices().SelectChip(name, lengths)) {
            return FALSE;
        }
        if (IsAreaLengthAllowed(lengths.code) && IsAreaLengthAllowed(lengths.data) &&
            IsAreaLengthAllowed(lengths.special)) {
            break;
        }
        ReportLengthRange(0, LargestAreaSize());
    }
    host.SetCurrentChip(name);
    choice.chipName = name.str();
    choice.sizes = lengths;
    return TRUE;
}

BOOL CHexDoc::OnNewDocument() {
    if (!CQuilletDocument::OnNewDocument()) {
        return FALSE;
    }
    ChipChoice choice;
    if (!AskChip(choice)) {
        return FALSE;
    }
    if (!CreateBlankImage(m_image, choice.sizes,
                          ChipTable::GetDeviceCode(choice.chipName.c_str()))) {
        ReportImageFileResult(OutOfMemoryFailure());
        return FALSE;
    }
    m_strChipName = DocumentHost().Settings().ChipName();
    return TRUE;
}

BOOL CHexDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    RememberFolder(lpszPathName);
    if (!CQuilletDocument::OnOpenDocument(lpszPathName)) {
        return FALSE;
    }
    // An empty file is not read, so nothing chose a chip for it: the image takes the current one,
    // as a read would, and the chip list locked to it keeps showing it.
    if (m_strChipName.IsEmpty()) {
        m_strChipName = DocumentHost().Settings().ChipName();
    }
    return TRUE;
}

BOOL CHexDoc::PrepareStore() {
    m_pendingStore.clear();
    if (NeedsBinSave(m_image)) {
        const std::vector<uint8_t>& bytes = m_image.data.cells;
        m_pendingStore.assign(bytes.begin(), bytes.end());
        return TRUE;
    }
    const int format = HexFormatOfChoice(DocumentHost().Choices().ChooseHexFormat());
    if (format == 0) {
        AfxMessageBox("UNKNOWN HEX FORMAT", MB_ICONSTOP);
        return FALSE;
    }
    m_nFormat = format;
    // The layout is the image's own chip: another image's chip may be the current one when
    // this image is saved from the save question of File New, File Open or exit.
    const ImageFileResult result = WriteHexImage(m_image, m_strChipName, format, m_pendingStore);
    if (!result.ok()) {
        ReportImageFileResult(result);
        m_pendingStore.clear();
        return FALSE;
    }
    return TRUE;
}

BOOL CHexDoc::OnSaveDocument(LPCTSTR lpszPathName) {
    // The format is asked and the records built before the file is opened: opening creates it
    // empty and exclusive, and a dialog run meanwhile would let the watcher's message ask to
    // reload a 0-byte file that cannot even be read.
    if (!PrepareStore()) {
        return FALSE;
    }
    m_storePrepared = true;
    const BOOL saved = CQuilletDocument::OnSaveDocument(lpszPathName);
    m_storePrepared = false;
    m_pendingStore.clear();
    return saved;
}

void CHexDoc::Serialize(CArchive& ar) {
    if (!ar.IsStoring()) {
        std::string text;
        try {
            text.resize(static_cast<size_t>(ar.GetFile()->GetLength()));
        } catch (const std::bad_alloc&) {
            ReportImageFileResult(OutOfMemoryFailure());
            AfxThrowUserException();
        }
        const UINT read = text.empty() ? 0 : ar.Read(&text[0], static_cast<UINT>(text.size()));
        text.resize(read);
        ChipStep step(*this);
        const ImageFileResult result = ReadHexImage(text, step, m_image);
        if (!result.ok()) {
            ReportImageFileResult(result);  // a cancelled chip choice has no text
            AfxThrowUserException();
        }
        m_strChipName = DocumentHost().Settings().ChipName();
        return;
    }

    // A store outside OnSaveDocument prepares its bytes here.
    if (!m_storePrepared && !PrepareStore()) {
        AfxThrowUserException();
    }
    if (!m_pendingStore.empty()) {
        ar.Write(m_pendingStore.data(), static_cast<UINT>(m_pendingStore.size()));
    }
    SetViewsModified(FALSE);
}

void CHexDoc::DeleteContents() {
    m_image.Clear();
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        if (auto* views = dynamic_cast<IAreaViews*>(GetNextView(pos))) {
            views->ResetViews();
        }
    }
    CQuilletDocument::DeleteContents();
}

void CHexDoc::TakeContents(CQuilletDocument& source) {
    auto& read = static_cast<CHexDoc&>(source);
    m_image = std::move(read.m_image);
    m_strChipName = read.m_strChipName;
}

BOOL CHexDoc::IsModified() {
    if (CQuilletDocument::IsModified()) {
        return TRUE;
    }
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        if (auto* views = dynamic_cast<IAreaViews*>(view)) {
            if (views->IsModified()) {
                return TRUE;
            }
        } else if (auto* editor = dynamic_cast<CHexView*>(view)) {
            if (editor->IsModified()) {
                return TRUE;
            }
        }
    }
    return FALSE;
}

void CHexDoc::SetViewsModified(BOOL bModified) {
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        if (auto* views = dynamic_cast<IAreaViews*>(view)) {
            views->SetModified(bModified);
        } else if (auto* editor = dynamic_cast<CHexView*>(view)) {
            editor->SetModified(bModified);
        }
    }
}

BOOL CHexDoc::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    const bool raw = NeedsBinSave(m_image);
    CString newName = lpszPathName;
    if (newName.IsEmpty()) {
        CDocTemplate* tmpl = GetDocTemplate();
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            CString ext;
            if (!raw && tmpl != nullptr) {
                tmpl->GetDocString(ext, CDocTemplate::filterExt);
            }
            newName = ProposedSaveName(m_strTitle.str(), raw ? ".BIN" : ext.str()).c_str();
        }
        CWinApp* app = AfxGetApp();
        if (app == nullptr ||
            !app->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, tmpl)) {
            return FALSE;
        }
    }
    if (raw) {
        if (AfxMessageBox("Document is too long to be saved in HEX format. Do you want to save "
                          "it as BIN?",
                          MB_YESNO) != IDYES) {
            return FALSE;
        }
        if (BinSaveDropsAreas(m_image) &&
            AfxMessageBox("A BIN file holds the data area only: the code and special areas "
                          "will not be saved.\nDo you want to save it as BIN all the same?",
                          MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            return FALSE;
        }
        newName = BinSavePath(newName.str()).c_str();
    }
    return CQuilletDocument::DoSave(newName, bReplace);
}

BOOL CHexDoc::IsFileUpToDate() {
    if (NeedsBinSave(m_image)) {
        return TRUE;
    }
    return CQuilletDocument::IsFileUpToDate();
}

IAreaViews* CHexDoc::GetAreaViews() const {
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        if (auto* views = dynamic_cast<IAreaViews*>(GetNextView(pos))) {
            return views;
        }
    }
    return nullptr;
}

ImageArea* CHexDoc::GetArea(int nArea) {
    switch (nArea) {
        case 0:
            return &m_image.code;
        case 1:
            return &m_image.data;
        case 2:
            return &m_image.special;
        default:
            return nullptr;
    }
}

int CHexDoc::ActiveArea() const {
    IAreaViews* views = GetAreaViews();
    return views != nullptr ? views->GetActiveArea() : 0;
}

void CHexDoc::FillRange(int nFirst, int nLast, BYTE value) {
    if (ImageArea* area = GetArea(ActiveArea())) {
        FillCells(*area, nFirst, nLast, value, true);
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

void CHexDoc::FillSelection(BYTE value) {
    IAreaViews* views = GetAreaViews();
    if (views == nullptr || !views->HasSelection()) {
        return;
    }
    int first = -1;
    int last = -1;
    views->GetSelection(first, last);
    FillRange(first, last, value);
}

void CHexDoc::FillAll(BYTE value) {
    ImageArea* area = GetArea(ActiveArea());
    FillRange(0, area != nullptr ? static_cast<int>(area->Size()) - 1 : -1, value);
}

void CHexDoc::GoToAddress(int nAddress) {
    if (IAreaViews* views = GetAreaViews()) {
        views->GoToAddress(nAddress);
    }
}

void CHexDoc::CopySelection() {
    IAreaViews* views = GetAreaViews();
    ImageArea* area = GetArea(ActiveArea());
    int first = -1;
    int last = -1;
    if (views != nullptr && views->HasSelection()) {
        views->GetSelection(first, last);
    }
    CopyCellsToClipboard(AfxGetMainWnd(), area != nullptr ? area->cells.data() : nullptr, first,
                         last);
}

BOOL CHexDoc::HasSelection() {
    IAreaViews* views = GetAreaViews();
    return views != nullptr && views->HasSelection();
}

void CHexDoc::MarkMismatch(int nCell, int nKind) {
    if (IAreaViews* views = GetAreaViews()) {
        views->MarkCell(nCell, nKind);
    }
}

BOOL CHexDoc::QueueKindJob(int nKind, JobOp operation) {
    ImageArea* area = m_image.Area(static_cast<MemoryKind>(nKind));
    if (area == nullptr) {
        AfxMessageBox("Bad Type Memory", MB_ICONSTOP);
        return FALSE;
    }
    if (!area->Present()) {
        return FALSE;  // the image was made without this area: nothing to send or fill
    }
    AreaJob job;
    job.operation = operation;
    job.cells = area->cells.data();
    job.marks = area->marks.data();
    job.size = static_cast<uint32_t>(area->Size());
    job.kind = static_cast<BYTE>(nKind);
    job.startCell = 0;
    return QueueImageJob(job);
}

void CHexDoc::ReadChip() {
    const CString chip = DocumentHost().Settings().ChipName();
    AreaChoice chosen = ChipAreas(chip);
    if (chosen.data && chosen.code) {
        const bool boardLabels = ChipTable::GetDeviceCode(chip) == kDeviceBoardLabels;
        if (!DocumentHost().Choices().ChooseDestination(boardLabels, chosen)) {
            OnCloseDocument();  // deletes this document
            return;
        }
    }
    BOOL queued = FALSE;
    for (MemoryKind kind : HexJobKinds(chosen)) {
        if (QueueKindJob(kind, kJobRead)) {
            queued = TRUE;
        }
    }
    // The cells read from the chip are offered for saving like any edit.
    if (queued) {
        SetModifiedFlag(TRUE);
    }
}

void CHexDoc::QueueWriteOrVerify(JobOp operation, BOOL bAskAreas) {
    const CString chip = DocumentHost().Settings().ChipName();
    const AreaChoice areas = ChipAreas(chip);
    AreaChoice chosen = HexDefaultWriteAreas(areas);
    if (HexAsksDestination(areas, bAskAreas != FALSE)) {
        const bool boardLabels = ChipTable::GetDeviceCode(chip) == kDeviceBoardLabels;
        if (!DocumentHost().Choices().ChooseDestination(boardLabels, chosen)) {
            return;
        }
    }
    if (operation == kJobVerify) {
        // The marks of the last verify go before a new one.
        for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
            if (auto* views = dynamic_cast<IAreaViews*>(GetNextView(pos))) {
                views->RemoveMarks();
            }
        }
    }
    for (MemoryKind kind : HexJobKinds(chosen)) {
        QueueKindJob(kind, operation);
    }
}

void CHexDoc::WriteChip(BOOL bAskAreas) { QueueWriteOrVerify(kJobWrite, bAskAreas); }

void CHexDoc::VerifyChip(BOOL bAskAreas) { QueueWriteOrVerify(kJobVerify, bAskAreas); }
