// The text loaders' shared steps.
#include "bytestream/text_steps.h"

#include "boardloader/board_loader.h"
#include "loader/relay.h"
#include "w32/errors.h"

namespace bytestream {

int WriteCommand(CComms& port, BYTE command) {
    int result = port.Write(command);
    if (result != 0) {
        loaderMessageNoCancel("Error writing to port, ec=%d", result);
        return LDR_ERR_PORT_WRITE;
    }
    return 0;
}

int WriteCommandLine(CComms& port, BYTE letter) {
    int result = WriteCommand(port, letter);
    return result != 0 ? result : WriteCommand(port, LD_WAKE);
}

int ProgramModeFailed(int code) {
    DWORD error = w32::GetLastError();
    char system[256];
    systemErrorText(error, system, sizeof system);
    loaderMessageNoCancel("Error changing to Program Mode, ec=%d, WIN32 Error=%d(%s)", code,
                          static_cast<int>(error), system);
    return LDR_ERR_PROGRAM_MODE;
}

int ReadFileAndHoldProgramMode(loader::Download& download, const char* hexPath,
                               int (CComms::*raiseLine)()) {
    int result = download.ReadWholeFile(hexPath);
    if (result != 0) {
        return result;
    }
    download.OpenPort();
    result = (download.Port().*raiseLine)();
    return result != 0 ? ProgramModeFailed(result) : 0;
}

int SendFile(loader::Download& download, const char* failureFormat, bool* cancelled) {
    const unsigned char* data = download.FileData();
    const unsigned long count = download.FileLength();
    for (unsigned long i = 0; i < count; ++i) {
        int result = download.Port().Write(static_cast<BYTE>(data[i]));
        if (result != 0) {
            loaderMessageNoCancel(failureFormat, result);
            return LDR_ERR_DOWNLOAD;
        }
        if (download.AfterByte(i, count)) {
            *cancelled = true;
            return 0;
        }
    }
    return 0;
}

int ModeSwitchResult(LoaderMode mode, int code) {
    if (code == 0) {
        return 0;
    }
    if (mode == LOADER_MODE_PROGRAM) {
        loaderMessageNoCancel("\nError changing to pgm mode, ec=%d", code);
        return LDR_ERR_PROGRAM_MODE;
    }
    loaderMessageNoCancel("\nError changing to run mode, ec=%d", code);
    return LDR_ERR_RUN_MODE;
}

}  // namespace bytestream
