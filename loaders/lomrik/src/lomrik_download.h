// Lomrik's download: a program as raw HEX text into the resident program of the kit's board, which
// DTR holds in program mode.
#pragma once

#include "loader/download.h"

namespace lomrik {

// The protocol of _LOMRIK_Download on the frame's Download.
int RunLomrikDownload(loader::Download& download, const char* hexPath);

// _LOMRIK_SetMode: DTR on holds the board in program mode, off lets it run.
int SwitchLomrikMode(CComms& port, LoaderMode mode, const HostPortRecord& host);

}  // namespace lomrik
