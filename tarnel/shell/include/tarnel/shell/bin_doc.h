// CBinDoc: the document of a raw .bin file, one memory area as a flat run of byte cells that the
// user places in a chip's area when it is programmed.
#pragma once

#include "tarnel/programming/job_request.h"
#include "tarnel/images/memory_image.h"
#include "tarnel/shell/quillet_document.h"

class CHexView;

class CBinDoc : public CQuilletDocument {
    DECLARE_DYNCREATE(CBinDoc)
public:
    CBinDoc();
    ~CBinDoc() override;

    // Asks the new image's length ("New Bin File"); Cancel fails the new document.
    BOOL OnNewDocument() override;
    // Keeps the file's folder as LastDir and refuses an empty file.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    void Serialize(CArchive& ar) override;
    // Frees the image and empties every view of it.
    void DeleteContents() override;

    void WriteChip(BOOL bAskAreas) override;
    void FillRange(int nFirst, int nLast, BYTE value) override;
    void FillSelection(BYTE value) override;
    void FillAll(BYTE value) override;
    void GoToAddress(int nAddress) override;
    void CopySelection() override;
    BOOL HasSelection() override;
    void VerifyChip(BOOL bAskAreas) override;

    // A verify mismatch the programming thread reported for a cell of a memory kind.
    void MarkMismatch(int nCell, int nKind);

    // Where a write or verify goes: the chip's memory kind and the first cell. FALSE when the
    // user cancelled or no chip is selected (after telling so). Without bAlwaysAsk a chip with
    // one area takes it from cell 0; otherwise the user chooses, with a base address.
    BOOL ChooseMemory(BYTE& kind, UINT& base, BOOL bAlwaysAsk);

    ImageArea& GetArea() { return m_area; }

protected:
    void TakeContents(CQuilletDocument& source) override;
    // A write (4) or verify (7) of the image, ending in a queued job or a box.
    void QueueChipJob(JobOp operation, const char* verb);
    // The document's first view when it is a hex editor.
    CHexView* FirstView() const;

    ImageArea m_area;
};
