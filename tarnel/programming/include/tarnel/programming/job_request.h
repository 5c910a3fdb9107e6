// One board operation as the documents and the main frame queue it, and its operation codes.
#pragma once

#include <atomic>

#include "w32/types.h"

enum JobOp : DWORD {
    kJobCheckConnection = 0,
    kJobReadBoardId = 1,
    kJobSetChipType = 2,
    kJobRead = 3,
    kJobWrite = 4,
    kJobErase = 5,
    kJobBlankCheck = 6,  // counts the free cells of an area
    kJobVerify = 7,
    kJobSetSecurityBits = 8,
};

// The program's cancel word: the progress dialog's STOP sets it while the programming thread reads
// it, so it is atomic; the documents clear it before they queue a job.
typedef std::atomic<int> CancelWord;

// A plain heap record, built by whoever queues it and owned by the job queue from StartJob on.
// The area and its marks stay the document's; they must outlive the job.
struct JobRequest {
    DWORD op;           // JobOp
    BYTE* area;         // the area written from, read into or compared with
    BYTE* marks;        // one mark byte per cell; null: every cell of the range counts
    DWORD size;         // bytes of the area
    HWND statusWindow;  // where the statuses of this job are posted
    BYTE memoryKind;    // MemoryKind: 1 data, 2 code, 4 special
    BYTE loaderChoice;  // the HC908 chip's resident loader: 1 or 2; 0 for other chips
    BYTE reserved[2];   // always 0
    // The first cell of the range (0 for a whole area); for a blank check the chip's size of the
    // area in bytes instead.
    DWORD startCell;
    CancelWord* cancel;  // the program's cancel word
    DWORD deviceCode;    // DeviceCode of the chip; only the low byte counts
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(JobRequest) == 36, "a job is nine 32-bit words");
#endif
