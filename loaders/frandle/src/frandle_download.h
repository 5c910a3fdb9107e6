// Frandle's download: the board reset into its boot loader until the '>' prompt answers, its
// registers written, its flash erased, and the HEX file sent line by line, each line answered by
// one character.
#pragma once

#include "loader/download.h"

namespace frandle {

// The protocol of _FRANDLE_Download on the frame's Download.
int RunFrandleDownload(loader::Download& download, const char* hexPath);

// _FRANDLE_SetMode: RTS on for program mode, off for run mode.
int SwitchFrandleMode(CComms& port, LoaderMode mode, const HostPortRecord& host);

}  // namespace frandle
