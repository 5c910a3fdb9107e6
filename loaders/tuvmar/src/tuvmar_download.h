// Tuvmar's download: a program as raw HEX text into the 8051 board through its ROM monitor's load
// command, and the monitor's run command for run mode.
#pragma once

#include "loader/download.h"

namespace tuvmar {

// The protocol of _TUVMAR_Download on the frame's Download.
int RunTuvmarDownload(loader::Download& download, const char* hexPath);

// _TUVMAR_SetMode: program mode needs nothing; run mode sends the host's run command to the
// monitor. Either way the port is closed afterwards, the host's own handle included.
int SwitchTuvmarMode(CComms& port, LoaderMode mode, const HostPortRecord& host);

}  // namespace tuvmar
