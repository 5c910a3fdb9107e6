// Gristan's download: a program as raw HEX text into the resident program of the Gristan board,
// which RTS holds in program mode.
#pragma once

#include "loader/download.h"

namespace gristan {

// The protocol of _GRISTAN_Download on the frame's Download.
int RunGristanDownload(loader::Download& download, const char* hexPath);

// _GRISTAN_SetMode: RTS on holds the board in program mode, off lets it run.
int SwitchGristanMode(CComms& port, LoaderMode mode, const HostPortRecord& host);

}  // namespace gristan
