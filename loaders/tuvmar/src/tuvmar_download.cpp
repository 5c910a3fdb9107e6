// Tuvmar's download and run command: the ROM monitor is woken, told to load, and sent the file.
#include "tuvmar_download.h"

#include "bytestream/text_steps.h"
#include "comms/utilities.h"
#include "loader/relay.h"
#include "w32/clock.h"

namespace tuvmar {

using bytestream::LD_LOAD;
using bytestream::LD_WAKE;

int RunTuvmarDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    int result = download.ReadWholeFile(hexPath);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Read hex file '%s' (%d bytes)", path,
                          static_cast<int>(download.FileLength()));
    // The monitor has no program-mode line: it is always there to be talked to.
    download.OpenPort();
    download.SendStartNotice();
    CComms& port = download.Port();
    loaderMessageNoCancel("Sending Carriage return character");
    result = bytestream::WriteCommand(port, LD_WAKE);
    if (result != 0) {
        return result;
    }
    SleepMsec(500);
    loaderMessageNoCancel("Sending Load command...");
    result = bytestream::WriteCommandLine(port, LD_LOAD);
    if (result != 0) {
        return result;
    }
    SleepMsec(500);
    loaderMessageNoCancel("Downloading '%s'...", path);
    // A cancel only stops the bytes: the download still counts as done.
    bool cancelled = false;
    return bytestream::SendFile(download, "\nError downloading program, ec=%d", &cancelled);
}

int SwitchTuvmarMode(CComms& port, LoaderMode mode, const HostPortRecord& host) {
    if (mode == LOADER_MODE_PROGRAM) {
        return 0;
    }
    int result = 0;
    w32::Sleep(1000);
    loaderMessageNoCancel("\nToggling the board from Program Mode to Run Mode");
    // No run command from the host is an empty one: the monitor gets the CR alone.
    const char* command = host.runCommand != nullptr ? host.runCommand : "";
    for (const char* c = command; *c != '\0'; ++c) {
        int written = port.Write(static_cast<BYTE>(*c));
        if (written != 0) {
            loaderMessageNoCancel("\nError sending run command to PELMOR, ec=%d", written);
            loaderMessageNoCancel("\nError changing to run mode");
            result = LDR_ERR_RUN_MODE;
            break;
        }
    }
    if (result == 0) {
        port.Write(LD_WAKE);
    }
    // A port the object opened itself is closed here; the host's own handle stays the host's.
    if (host.port == nullptr || host.port == INVALID_HANDLE_VALUE) {
        port.Deinstall();
    }
    return result;
}

}  // namespace tuvmar
