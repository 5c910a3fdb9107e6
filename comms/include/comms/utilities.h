// The plain utility functions that the plug-ins import from the comms library.
#pragma once

#include "comms/api.h"

extern "C" {

// Pauses the calling thread for `milliseconds` (on the platform layer's clock).
COMMS_FUNC_API void WINAPI SleepMsec(unsigned long milliseconds);

// Reads the whole file at `path` into a buffer of the library (free it with commsUtilFree).
// 0 on success with *data and *length set; otherwise a non-zero code and a one-line message of at
// most errorTextSize characters (terminator included) in errorText. The buffer carries one
// terminating 0 behind the data, not counted in *length.
COMMS_FUNC_API int WINAPI readFileData(const char* path, unsigned char** data,
                                       unsigned long* length, char* errorText, int errorTextSize);

// Frees a buffer returned by readFileData; null is ignored.
COMMS_FUNC_API void WINAPI commsUtilFree(void* data);
}
