// The serial ports the device programmer offers, and the folder part of a file path.
#pragma once

#include "classlib/cstring.h"

// TRUE for the indexes 0 to 3 (COM1 to COM4): the settings bar always lists those four.
BOOL IsComPortAvailable(int index);
// The name compared exactly with "COM1" to "COM4"; for a match IsComPortAvailable of its index.
// FALSE for any other name (null included).
BOOL IsComPortNameAvailable(const char* name);
// The drive and folder of `path`, with the folder's last separator ('\\' or '/'): "C:\a\b.hex"
// gives "C:\a\"; a bare file name gives an empty text.
CString GetPathFolder(const char* path);
