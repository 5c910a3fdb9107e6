// How the image documents hand an area job to the programming thread's queue.
#pragma once

#include <cstdint>

#include "classlib/classlib.h"
#include "tarnel/programming/job_request.h"

// One area job as a document describes it.
struct AreaJob {
    JobOp operation = kJobRead;
    BYTE* cells = nullptr;
    BYTE* marks = nullptr;  // none for a .bin image: every cell of the range counts
    uint32_t size = 0;      // bytes
    BYTE kind = 0;          // MemoryKind
    uint32_t startCell = 0;
};

// The resident loader the HC908 board chip (device code 164) runs, chosen by the user: 2 for the
// first choice, 1 for the second, 0 for every other chip. FALSE when the user cancelled.
BOOL ChooseResidentLoader(uint8_t deviceCode, BYTE& residentLoader);

// Queues the job for the current chip (its device code, the status window and the cancel word,
// which is cleared first) after the resident-loader choice; FALSE when that choice dropped it.
// The job's cells and marks stay the document's and must outlive it.
BOOL QueueAreaJob(const AreaJob& job);
