// The message relay and the plug-in's stored callback.
#include "loader/relay.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

// One per plug-in: the frame is linked into each plug-in, and this variable is internal to it.
// Atomic so that a second download on another thread takes the first one's messages over as
// described, without a torn read.
std::atomic<ProgressCallback> g_callback{nullptr};

// Formats the line and hands it over; TRUE when the host asked to stop during the call.
BOOL Relay(const char* format, va_list arguments) {
    ProgressCallback callback = g_callback.load();
    if (callback == nullptr) {
        return FALSE;
    }
    char line[kRelayLineSize];
    std::vsnprintf(line, sizeof line, format, arguments);
    ProgressRecord record = {};
    record.text = line;
    callback(kProgressMessage, &record);
    return record.cancel != 0 ? TRUE : FALSE;
}

}  // namespace

BOOL loaderMessage(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    BOOL cancel = Relay(format, arguments);
    va_end(arguments);
    return cancel;
}

void loaderMessageNoCancel(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Relay(format, arguments);
    va_end(arguments);
}

namespace loader {

ProgressCallback StoredCallback() { return g_callback.load(); }

void StoreCallback(ProgressCallback callback) { g_callback.store(callback); }

}  // namespace loader
