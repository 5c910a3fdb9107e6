// Lomrik's download, step by step: DTR, the resident program's commands with their pauses, and the
// file.
#include "lomrik_download.h"

#include "bytestream/text_steps.h"
#include "bytestream/wake_unlock.h"
#include "comms/utilities.h"
#include "loader/relay.h"

namespace lomrik {

int RunLomrikDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    int result = bytestream::ReadFileAndHoldProgramMode(download, hexPath, &CComms::SetDTR);
    if (result != 0) {
        return result;
    }
    SleepMsec(500);
    download.SendStartNotice();
    // Lomrik says nothing of the wake, of the load, or of the pause after it.
    result = bytestream::WakeUnlockLoad(download.Port(), {nullptr, nullptr, nullptr});
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Downloading '%s'...", path);
    // A cancel only stops the bytes: the download still counts as done.
    bool cancelled = false;
    return bytestream::SendFile(download, "\nError downloading program, ec=%d", &cancelled);
}

int SwitchLomrikMode(CComms& port, LoaderMode mode, const HostPortRecord&) {
    return bytestream::ModeSwitchResult(
        mode, mode == LOADER_MODE_PROGRAM ? port.SetDTR() : port.ResetDTR());
}

}  // namespace lomrik
