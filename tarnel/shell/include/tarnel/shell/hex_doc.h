// CHexDoc: the document of a .hex file, the whole memory of one chip as up to three areas (code,
// data, special), with the chip's name and the record format it was last written in.
#pragma once

#include <string>

#include "tarnel/images/hex_reader.h"
#include "tarnel/programming/job_request.h"
#include "tarnel/images/memory_image.h"
#include "tarnel/shell/quillet_document.h"

class IAreaViews;

class CHexDoc : public CQuilletDocument {
    DECLARE_DYNCREATE(CHexDoc)
public:
    CHexDoc();
    ~CHexDoc() override;

    // Asks the chip and the area lengths ("Select chip"); Cancel fails the new document.
    BOOL OnNewDocument() override;
    // Keeps the file's folder as LastDir; an empty file opens without areas, for the current chip.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // Asks the format and builds the file's bytes first, then opens and writes the file.
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    // Loading asks the chip, then reads the records; storing writes records in the format the
    // user chooses, laid out for the image's own chip, or the data area's raw bytes when an area
    // is too long for records.
    void Serialize(CArchive& ar) override;
    // Frees the areas and empties the area views.
    void DeleteContents() override;
    // Edits count whether they raised the framework's flag or a view's modified switch.
    BOOL IsModified() override;
    // The framework's save, with the raw save of over-long images asked first.
    BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE) override;

    void WriteChip(BOOL bAskAreas) override;
    void ReadChip() override;
    void FillRange(int nFirst, int nLast, BYTE value) override;
    void FillSelection(BYTE value) override;
    void FillAll(BYTE value) override;
    void GoToAddress(int nAddress) override;
    void CopySelection() override;
    BOOL HasSelection() override;
    // An image with an area too long for records counts as up to date.
    BOOL IsFileUpToDate() override;
    void VerifyChip(BOOL bAskAreas) override;

    // A verify mismatch the programming thread reported for a cell of a memory kind.
    void MarkMismatch(int nCell, int nKind);

    // The chip that was current when the image was created or read.
    const CString& GetChipName() const { return m_strChipName; }
    // 1 Intel HEX, 2 Motorola S-records (0 until written).
    int GetFormat() const { return m_nFormat; }
    MemoryImage& GetImage() { return m_image; }
    // The area of an area view's number: 0 code, 1 data, 2 special.
    ImageArea* GetArea(int nArea);
    // The first view that shows the areas, or null.
    IAreaViews* GetAreaViews() const;

protected:
    // The areas and the chip; the format the image was last written in stays.
    void TakeContents(CQuilletDocument& source) override;
    // The chip-selection step of a new image and of a read: asks until the lengths fit, then
    // makes the chip the current one. FALSE on Cancel.
    BOOL AskChip(ChipChoice& choice);
    // The area the user works on (the area views' active tab; code without views).
    int ActiveArea() const;
    // A write (4) or verify (7) of the chosen areas.
    void QueueWriteOrVerify(JobOp operation, BOOL bAskAreas);
    // Queues one area's job; FALSE when none was queued.
    BOOL QueueKindJob(int nKind, JobOp operation);
    void SetViewsModified(BOOL bModified);
    // The bytes a store writes, into m_pendingStore; FALSE (after its box) when there are none.
    BOOL PrepareStore();

    MemoryImage m_image;
    int m_nFormat = 0;
    CString m_strChipName;
    std::string m_pendingStore;
    bool m_storePrepared = false;

    class ChipStep;
};
