// The steps the four text loaders share: their command bytes, the file sent byte for byte, the
// failed program-mode line, and the answer of a _SetMode that switches a line.
#pragma once

#include "comms/comms.h"
#include "loader/download.h"
#include "loader/loader_abi.h"

namespace bytestream {

// The resident program's command bytes, each written alone.
constexpr BYTE LD_WAKE = 0x0D;   // CR
constexpr BYTE LD_UNLOCK = 'U';  // followed by CR
constexpr BYTE LD_LOAD = 'L';    // followed by CR
constexpr BYTE LD_END = 'H';

// Writes one command byte. A failed write relays "Error writing to port, ec=%d" and answers
// LDR_ERR_PORT_WRITE; otherwise 0.
int WriteCommand(CComms& port, BYTE command);
// A command letter and the CR that closes it, stopping at the first failed write (as
// WriteCommand).
int WriteCommandLine(CComms& port, BYTE letter);

// The program-mode line could not be set (`code` from CComms): relays "Error changing to Program
// Mode, ec=%d, WIN32 Error=%d(%s)" with the system's error and its text; LDR_ERR_PROGRAM_MODE.
int ProgramModeFailed(int code);

// The opening of a download whose board a single line holds in program mode: reads the file,
// opens the port and raises the line with `raiseLine` (such as &CComms::SetRTS). Answers 0, the
// file's failure, or ProgramModeFailed's answer when the line could not be raised.
int ReadFileAndHoldProgramMode(loader::Download& download, const char* hexPath,
                               int (CComms::*raiseLine)());

// Writes the download's file byte for byte, with the percent rule after each byte. A failed write
// relays `failureFormat` (one %d: the code) and answers LDR_ERR_DOWNLOAD; a cancel the host set
// in a percent call stops the bytes, sets *cancelled and answers 0.
int SendFile(loader::Download& download, const char* failureFormat, bool* cancelled);

// The answer of a _SetMode that switched its line for `mode` with the result `code`: 0; or,
// relayed first, "\nError changing to pgm mode, ec=%d" and LDR_ERR_PROGRAM_MODE for mode 0,
// "\nError changing to run mode, ec=%d" and LDR_ERR_RUN_MODE for any other.
int ModeSwitchResult(LoaderMode mode, int code);

}  // namespace bytestream
