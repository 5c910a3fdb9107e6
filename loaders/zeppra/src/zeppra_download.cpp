// Zeppra's download, step by step: program mode, the PIC's chip type with its tries and cancels,
// the resident program's commands, the file, and the end command.
#include "zeppra_download.h"

#include <cstdio>

#include "boardloader/board_loader.h"
#include "bytestream/text_steps.h"
#include "bytestream/wake_unlock.h"
#include "comms/utilities.h"
#include "loader/relay.h"
#include "w32/clock.h"

namespace zeppra {
namespace {

using bytestream::LD_END;

constexpr BYTE kResidentProgramType = 3;
constexpr int kSetTypeTries = 10;

// How the chip-type step ended.
enum class TypeStep {
    Done,       // the PIC took the type
    Cancelled,  // a cancel answered to a try's text: the commands go on, the file does not
    Failed,     // the step's result ends the download
};

TypeStep SetChipType(loader::Download& download, int* result) {
    for (int attempt = 1;; ++attempt) {
        int tried = SetChipTypeThree(download.Port(), download.MessageBuffer());
        if (loaderMessage("%s", download.MessageBuffer())) {
            return TypeStep::Cancelled;
        }
        if (tried == 0) {
            return TypeStep::Done;
        }
        if (loaderMessage("Retrying set type, ec=%d", tried)) {
            *result = tried;
            return TypeStep::Failed;
        }
        if (attempt == kSetTypeTries) {
            loaderMessage("Error setting microcontroller type, ec=%d", tried);
            *result = LDR_ERR_SET_TYPE;
            return TypeStep::Failed;
        }
    }
}

}  // namespace

int SetChipTypeThree(CComms& port, char* text) {
    BYTE reply[3] = {};
    int result = exchangeSetTypeViaPic(port, kResidentProgramType, reply);
    if (result == 0) {
        BYTE sum = 0;
        additiveChecksum(reply, 2, &sum);
        if (reply[0] != PIC_SET_TYPE) {
            result = LDR_ERR_PIC_VERSION;
        } else if (sum != reply[2]) {
            result = LDR_ERR_CHECKSUM;
        } else if (reply[1] != 0) {
            // The PIC answered, and refused: the try failed like any other.
            result = LDR_ERR_SET_TYPE;
        }
    }
    if (result != 0) {
        std::snprintf(text, kBoardTextSize, "*** Set type Error ***, buffer[0]=%02X", reply[0]);
        return result;
    }
    std::snprintf(text, kBoardTextSize, "Success setting type");
    return 0;
}

int RunZeppraDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    int result = download.ReadWholeFile(hexPath);
    if (result != 0) {
        return result;
    }
    CComms& port = download.Port();
    download.OpenPort();
    port.Initialize();
    result = port.SetRTS();
    if (result != 0) {
        return bytestream::ProgramModeFailed(result);
    }
    loaderMessage("Waiting for board to initialize...");
    SleepMsec(500);
    result = port.PurgeRcvBuffer();
    if (result != 0) {
        loaderMessage("Error purging receive buffer, ec=%d", result);
        return LDR_ERR_PURGE;
    }
    TypeStep step = SetChipType(download, &result);
    if (step == TypeStep::Failed) {
        return result;
    }
    w32::Sleep(200);
    download.SendStartNotice();
    // A cancel asked in these lines goes unheard: the chip-type step's was the last one taken.
    result = bytestream::WakeUnlockLoad(
        port, {"Sending Carriage return", "Sending 'L' (load start) command...",
               "Waiting 0.5 seconds..."});
    if (result != 0) {
        return result;
    }
    bool cancelled = step == TypeStep::Cancelled;
    if (!cancelled) {
        loaderMessage("Downloading '%s'...", path);
        result = bytestream::SendFile(download, "Error downloading program, ec=%d", &cancelled);
        if (result != 0) {
            return result;  // no end command after a failed byte
        }
    }
    loaderMessage("Sending 'H' for end of download...");
    result = bytestream::WriteCommand(port, LD_END);
    if (cancelled) {
        loaderMessage("Download is cancelled by the users request.");
    }
    return result;
}

int SwitchZeppraMode(CComms& port, LoaderMode mode, const HostPortRecord&) {
    port.Initialize();
    return bytestream::ModeSwitchResult(
        mode, mode == LOADER_MODE_PROGRAM ? port.SetRTS() : port.ResetRTS());
}

}  // namespace zeppra
