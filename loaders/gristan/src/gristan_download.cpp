// Gristan's download, step by step: RTS, the resident program's commands with their pauses, the
// file, and the line that tells of a cancel.
#include "gristan_download.h"

#include "bytestream/text_steps.h"
#include "bytestream/wake_unlock.h"
#include "comms/utilities.h"
#include "loader/relay.h"

namespace gristan {

int RunGristanDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    int result = bytestream::ReadFileAndHoldProgramMode(download, hexPath, &CComms::SetRTS);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Sleeping 0.5 seconds to give target board time to initialize...");
    SleepMsec(500);
    download.SendStartNotice();
    result = bytestream::WakeUnlockLoad(
        download.Port(), {"Sending Carriage return", "Sending 'L' (load start) command...",
                          "Sleeping for 1/2 of a second..."});
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Downloading '%s'...", path);
    bool cancelled = false;
    result = bytestream::SendFile(download, "Error downloading program, ec=%d", &cancelled);
    if (cancelled) {
        // The download still counts as done.
        loaderMessageNoCancel("Download is cancelled by the users request.");
    }
    return result;
}

int SwitchGristanMode(CComms& port, LoaderMode mode, const HostPortRecord&) {
    return bytestream::ModeSwitchResult(
        mode, mode == LOADER_MODE_PROGRAM ? port.SetRTS() : port.ResetRTS());
}

}  // namespace gristan
