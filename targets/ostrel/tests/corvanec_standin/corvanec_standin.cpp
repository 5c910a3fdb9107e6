// A stand-in for the outside "CorvaneC" download plug-in: it keeps what each download was given,
// tells the host so in one message line, and answers the result a test chose. It talks to no
// board.
#include "corvanec_standin.h"

#include <cstdio>
#include <cstring>

#include "loader/loader_export.h"

namespace {

CorvanecStandInCall g_last = {};
int g_result = 0;

}  // namespace

LOADER_EXPORT int WINAPI CORVANEC_Download(const HostPortRecord* host, const char* hexPath,
                                           ProgressCallback callback) {
    ++g_last.calls;
    g_last.record = host != nullptr ? *host : HostPortRecord{};
    std::snprintf(g_last.path, sizeof g_last.path, "%s", hexPath != nullptr ? hexPath : "");
    g_last.callbackGiven = callback != nullptr ? 1 : 0;
    if (callback != nullptr && host != nullptr) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "CorvaneC stand-in: COM%d %lu baud, %d data bits, parity %d, stop bits %d, "
                      "%s, result %d",
                      host->settings.port + 1, static_cast<unsigned long>(host->settings.baud),
                      host->settings.dataBits, host->settings.parity, host->settings.stopBits,
                      host->port == nullptr ? "no handle" : "a handle", g_result);
        ProgressRecord record = {};
        record.text = line;
        callback(kProgressMessage, &record);
        // A percentage comes without a record, as some loaders send it: the host takes that too.
        callback(50, nullptr);
    }
    return g_result;
}

LOADER_EXPORT void CORVANEC_StandInLastCall(CorvanecStandInCall* call) {
    if (call != nullptr) {
        *call = g_last;
    }
}

LOADER_EXPORT void CORVANEC_StandInSetResult(int result) { g_result = result; }
