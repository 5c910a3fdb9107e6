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

namespace {

// Run mode: the host's run command and a CR to the monitor, a second after the call.
int SendRunCommand(CComms& port, const HostPortRecord& host) {
    w32::Sleep(1000);
    loaderMessageNoCancel("\nToggling the board from Program Mode to Run Mode");
    // No run command from the host is an empty one: the monitor gets the CR alone.
    const char* command = host.runCommand != nullptr ? host.runCommand : "";
    for (const char* c = command; *c != '\0'; ++c) {
        int written = port.Write(static_cast<BYTE>(*c));
        if (written != 0) {
            loaderMessageNoCancel("\nError sending run command to PELMOR, ec=%d", written);
            loaderMessageNoCancel("\nError changing to run mode");
            return LDR_ERR_RUN_MODE;
        }
    }
    port.Write(LD_WAKE);
    return 0;
}

}  // namespace

int SwitchTuvmarMode(CComms& port, LoaderMode mode, const HostPortRecord& host) {
    const int result = mode == LOADER_MODE_PROGRAM ? 0 : SendRunCommand(port, host);
    // Unlike the other loaders, Tuvmar closes the port after every call, also when the handle
    // was the host's: its host counts on that and opens the port again by number.
    port.Deinstall();
    return result;
}

}  // namespace tuvmar
