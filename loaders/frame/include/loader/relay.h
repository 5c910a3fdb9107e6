// The message relay of the loader plug-ins and the one callback it hands lines to.
#pragma once

#include "loader/loader_abi.h"

#if defined(__GNUC__)
#define LOADER_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define LOADER_PRINTF_FORMAT(f, a)
#endif

// Size of a relayed line, terminator included; longer lines are cut.
constexpr int kRelayLineSize = 512;

// Formats a line and hands it to the callback of the download in progress as a message call,
// with a fresh ProgressRecord whose text points to the line. Without a download in progress the
// line is dropped and the answer is FALSE. Otherwise TRUE when the host set the record's cancel
// word during the call: the loaders that honour a cancel in their messages stop on it.
BOOL loaderMessage(const char* format, ...) LOADER_PRINTF_FORMAT(1, 2);

// The same relay for the loaders that take no cancel request from their messages.
void loaderMessageNoCancel(const char* format, ...) LOADER_PRINTF_FORMAT(1, 2);

namespace loader {

// The plug-in's one module-level variable: the callback of the download in progress, null when
// none runs. A Download stores it on entry and clears it on exit, so _SetMode's messages reach
// the host only while a download runs, and a second download in the same plug-in at the same
// time takes the first one's messages over.
ProgressCallback StoredCallback();
void StoreCallback(ProgressCallback callback);

}  // namespace loader
