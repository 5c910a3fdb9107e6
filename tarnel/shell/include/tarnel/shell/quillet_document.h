// CQuilletDocument: the base of the image documents, with the file's time and the operations
// through which the main frame's commands act on whichever image is active.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/images/image_file_result.h"
#include "tarnel/shell/job_builder.h"

class CQuilletDocument : public CDocument {
    DECLARE_DYNAMIC(CQuilletDocument)
public:
    // The frame's commands, in this order after the framework's operations; the base bodies do
    // nothing.
    // Queues write jobs for the image (bAskAreas: let the document ask which areas).
    virtual void WriteChip(BOOL bAskAreas);
    // Queues read jobs into the image.
    virtual void ReadChip();
    virtual void FillRange(int nFirst, int nLast, BYTE value);
    virtual void FillSelection(BYTE value);
    virtual void FillAll(BYTE value);
    // Moves the view's cursor to an address.
    virtual void GoToAddress(int nAddress);
    // Puts the selected cells on the clipboard as text.
    virtual void CopySelection();
    virtual BOOL HasSelection();
    // The file on disk is not newer than the document; FALSE when its time cannot be read.
    // An image without a file is up to date.
    virtual BOOL IsFileUpToDate();
    // Queues verify jobs for the image.
    virtual void VerifyChip(BOOL bAskAreas);

    // A job of the programming thread may still read or write this image's buffers: the image
    // queued a job and the run that took it has not ended.
    bool IsInUseByRun();
    // While the image is in use, the box that refuses to close or reload it; TRUE when refused.
    BOOL RefuseWhileInUse();
    // Closing the image (File Close, its child window's close box, the save question of File New,
    // File Open and exit) is refused while it is in use.
    BOOL SaveModified() override;

    // Opening and saving keep the file's time; an open whose time cannot be read fails.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;

    // Reads the document's file again (refused while the image is in use). The file is read into
    // a new document of the same kind first, so a read that fails (after its own box) leaves this
    // image as it was; on success the contents are replaced in place, the file's time is kept and
    // every view is updated.
    BOOL ReloadFile();

    // The modification time kept with the document (whole seconds).
    long GetFileTimeKept() const { return m_fileTime; }
    void SetFileTimeKept(long time) { m_fileTime = time; }

protected:
    // Queues an area job on this image's buffers (QueueAreaJob); the image is in use from then
    // until the run ends.
    BOOL QueueImageJob(const AreaJob& job);

    // Takes over the contents of a document of the same kind that has just read this one's file;
    // this document's contents are already deleted. Every kind with contents of its own takes
    // them; the base holds none.
    virtual void TakeContents(CQuilletDocument& source);

    // The box of a failed image file, with the file rules' own text and icon.
    static void ReportImageFileResult(const ImageFileResult& result);
    // Tells the user that a length must lie within minimum..maximum, as a number field would.
    static void ReportLengthRange(unsigned minimum, unsigned maximum);
    // Stores the folder of a file being opened as the LastDir setting.
    static void RememberFolder(LPCTSTR lpszPathName);

    long m_fileTime = 0;
    // A job on the buffers was queued; cleared once the programming thread is seen idle.
    bool m_lentToRun = false;
};
