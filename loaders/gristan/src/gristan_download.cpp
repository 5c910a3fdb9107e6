// Gristan's download, step by step: RTS, the resident program's commands with their pauses, the
// file, and the line that tells of a cancel.
#include "gristan_download.h"

#include "bytestream/text_steps.h"
#include "comms/utilities.h"
#include "loader/relay.h"

namespace gristan {

using bytestream::LD_LOAD;
using bytestream::LD_UNLOCK;
using bytestream::LD_WAKE;

int RunGristanDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    int result = download.ReadWholeFile(hexPath);
    if (result != 0) {
        return result;
    }
    CComms& port = download.Port();
    download.OpenPort();
    result = port.SetRTS();
    if (result != 0) {
        return bytestream::ProgramModeFailed(result);
    }
    loaderMessageNoCancel("Sleeping 0.5 seconds to give target board time to initialize...");
    SleepMsec(500);
    download.SendStartNotice();
    loaderMessageNoCancel("Sending Carriage return");
    result = bytestream::WriteCommand(port, LD_WAKE);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Waiting 0.5 seconds...");
    SleepMsec(500);
    loaderMessageNoCancel("Sending 'U' (unlock) command...");
    result = bytestream::WriteCommandLine(port, LD_UNLOCK);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Waiting 0.2 seconds...");
    SleepMsec(200);
    loaderMessageNoCancel("Sending 'L' (load start) command...");
    result = bytestream::WriteCommandLine(port, LD_LOAD);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Sleeping for 1/2 of a second...");
    SleepMsec(500);
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
