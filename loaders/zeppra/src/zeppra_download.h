// Zeppra's download: the board PIC told to pass the line through (type 3), then a program as raw
// HEX text into the board's resident program.
#pragma once

#include "loader/download.h"

namespace zeppra {

// The protocol of _ZEPPRA_Download on the frame's Download.
int RunZeppraDownload(loader::Download& download, const char* hexPath);

// _ZEPPRA_SetMode: RTS on holds the board in program mode, off lets it run.
int SwitchZeppraMode(CComms& port, LoaderMode mode, const HostPortRecord& host);

// Zeppra's set type on the board PIC: the frame 01 03 sum, its 3-byte reply. 0; a failed write or
// read passes its code on; the reply's command byte not 01: LDR_ERR_PIC_VERSION; its sum wrong:
// LDR_ERR_CHECKSUM; its status not 0 (the PIC refused the type): LDR_ERR_SET_TYPE. The text (at
// most 80 characters with its terminator):
// "Success setting type" or "*** Set type Error ***, buffer[0]=%02X".
int SetChipTypeThree(CComms& port, char* text);

}  // namespace zeppra
