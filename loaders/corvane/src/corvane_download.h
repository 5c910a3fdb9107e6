// Corvane's download: a program into the RAM of the 8051 board through its program monitor.
#pragma once

#include "loader/download.h"

namespace corvane {

// The protocol of _CORVANE_Download on the frame's Download.
int RunCorvaneDownload(loader::Download& download, const char* hexPath);

}  // namespace corvane
