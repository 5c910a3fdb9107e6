// The rules of a job that follow from its device's facts row: its cells, word areas and the
// area selector of the chip protocol.
#pragma once

#include "device_facts.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/programming/job_request.h"

namespace device_rules {

// The job's device code as the operations look it up: its low byte.
inline BYTE DeviceOf(const JobRequest& job) { return static_cast<BYTE>(job.deviceCode); }
inline const DeviceFacts& FactsOfJob(const JobRequest& job) { return FactsOf(DeviceOf(job)); }
// The PIC areas of 16-bit words: code and special of a device with word areas.
bool IsWordArea(const JobRequest& job);
// The job's cells: its size, halved for the code and special areas counted in words.
DWORD CellCount(const JobRequest& job);

enum class Transfer { ReadOrVerify, Write };
// Sets the memory selector: areas of word-area devices by kind and direction, the data area of
// the other chips 5; the other areas keep the object's default.
void SetMemorySelector(CChipProtocol& chip, const JobRequest& job, Transfer transfer);

// The area code of a mismatch status: 5 code, 1 data, 4 special.
DWORD MismatchAreaCode(BYTE memoryKind);

}  // namespace device_rules
