// The download of a HEX file through the monitor's load command: the board released into run
// mode, 'L' CR, then the file's bytes unchanged (the monitor reads the HEX text itself).
#include <cstdio>

#include "boardloader/board_loader.h"
#include "comms/utilities.h"
#include "pelmor/monitor_link.h"
#include "w32/errors.h"

namespace {

constexpr int kErrorTextSize = 256;
constexpr unsigned long kLoadWaitMs = 500;
constexpr unsigned long kPurgePauseMs = 1000;
constexpr unsigned long kProgressEvery = 1024;

}  // namespace

int CMonitorLink::DownloadFile(CComms& comms, const char* path) {
    unsigned char* data = nullptr;
    unsigned long length = 0;
    char errorText[kErrorTextSize] = {};
    int result = readFileData(path, &data, &length, errorText, sizeof errorText);
    if (result != 0) {
        Message(1, "%s", errorText);
    } else {
        Message(1, "Setting board to RUN mode");
        result = comms.ResetRTS();
        if (result != 0) {
            const DWORD error = w32::GetLastError();
            char systemText[kErrorTextSize];
            systemErrorText(error, systemText, sizeof systemText);
            Message(1, "Error changing to Run Mode, ec=%d, WIN32 Error=%d(%s)", result,
                    static_cast<int>(error), systemText);
        }
    }
    if (result == 0) {
        Message(5, "Perging comm buffers...");
        result = comms.PurgeRcvBuffer();
        if (result != 0) {
            Message(1, "Error purging receive buffer, ec=%d", result);
        }
    }
    if (result == 0) {
        Message(5, "Sending '%c' (load start) command...", 'L');
        result = comms.WriteByte('L');
        if (result == 0) {
            result = comms.WriteByte('\r');
        }
        if (result != 0) {
            Message(6, "Error writing to port, ec=%d", result);
        } else {
            Message(7, "Waiting 0.5 seconds...");
            SleepMsec(kLoadWaitMs);
        }
    }
    if (result == 0) {
        const int total = static_cast<int>(length);
        Message(8, "Downloading '%d' bytes to the target board...", total);
        for (unsigned long i = 0; i < length; ++i) {
            result = comms.WriteByte(data[i]);
            if (result != 0) {
                Message(1, "Error downloading program, ec=%d", result);
                break;
            }
            if (i % kProgressEvery == 0) {
                Message(1, "Downloaded %d of %d bytes...", static_cast<int>(i), total);
            }
        }
        if (result == 0) {
            Message(1, "Download complete...");
        }
    }
    FinalPurge(comms);
    if (data != nullptr) {
        commsUtilFree(data);
    }
    return result;
}

void CMonitorLink::FinalPurge(CComms& comms) {
    // What the monitor answered during the load is dropped. A port whose purge keeps failing is
    // given up after a few tries: the load has already failed or the next exchange will.
    for (int i = 0; i < kFinalPurgeTries; ++i) {
        SleepMsec(kPurgePauseMs);
        const int purged = comms.PurgeRcvBuffer();
        if (purged == 0) {
            return;
        }
        Message(1, "Error purging receive buffer, ec=%d", purged);
    }
}
