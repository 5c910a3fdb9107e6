// Wendra's download: a program into the flash of a T89C51Rx2 through its boot loader, reached
// through the board PIC's pass-through.
#pragma once

#include "loader/download.h"

namespace wendra {

// The protocol of _WENDRA_Download on the frame's Download.
int RunWendraDownload(loader::Download& download, const char* hexPath);

// _WENDRA_SetMode: RTS on holds the board in program mode, off lets it run.
int SwitchWendraMode(CComms& port, LoaderMode mode, const HostPortRecord& host);

}  // namespace wendra
