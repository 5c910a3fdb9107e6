// How the programming operations tell the device codes apart, and what each sets in its protocol
// objects.
#pragma once

#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/programming/job_request.h"

namespace device_rules {

// PIC16 (9) and PIC18 (10): programmed through the board, code and special areas in 16-bit words.
bool IsPic(BYTE device);
// AT89S8252, AT89S53 (160, 161) and the Kestrix board (169): programmed by the board itself.
bool IsBoardChip(BYTE device);
// The 8051 flash chips programmed through their own boot loader: 163, 165 to 168, 170, 171.
bool IsBootLoaderChip(BYTE device);
// The boot-loader chips the board brings into the loader, and that leave it again: 163, 168,
// 170, 171.
bool LeavesLoaderMode(BYTE device);
// The memory board (253) and the drive (254).
bool IsMemoryBoard(BYTE device);

// The job's device code as the operations compare it: its low byte.
inline BYTE DeviceOf(const JobRequest& job) { return static_cast<BYTE>(job.deviceCode); }
// The PIC areas of 16-bit words: code and special.
bool IsWordArea(const JobRequest& job);
// The job's cells: its size, halved for the code and special areas below device code 160.
DWORD CellCount(const JobRequest& job);

// Sets the chip type of the device's row (9: 14, 10: 16, 160 and 161: 1, 163: 2, 165 and 167: 8,
// 166: 9, 168: 10, 169: 11, 170: 12, 171: 15); other codes keep the object's default.
void SetChipType(CChipProtocol& chip, BYTE device);

enum class Transfer { ReadOrVerify, Write };
// Sets the memory selector: PIC areas by kind and direction, the data area of the other chips 5;
// the other areas keep the object's default.
void SetMemorySelector(CChipProtocol& chip, const JobRequest& job, Transfer transfer);

// The area code of a mismatch status: 5 code, 1 data, 4 special.
DWORD MismatchAreaCode(BYTE memoryKind);

}  // namespace device_rules
