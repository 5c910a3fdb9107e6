// The frame's test plug-in: a small byte-stream loader on the frame, for the download host's
// sessions and the frame's tests. Its board (boards/ "loader-test") takes the HEX text while RTS
// is on and answers the end record with 'K' when every line was good.
#include "comms/utilities.h"
#include "loader/download.h"
#include "loader/loader_export.h"
#include "loader/relay.h"

namespace {

const char kBanner[] = "\nTESTLOADER Loader\n" LOADER_COPYRIGHT_LINE;

constexpr DWORD kBoardSettleMs = 100;
constexpr DWORD kReplyTimeoutMs = 1000;

// The host asked to stop: one line that says so, then the download's cancel result.
int Cancelled() {
    loaderMessageNoCancel("\nDownload cancelled by the host");
    return LDR_ERR_DOWNLOAD;
}

int Protocol(loader::Download& download, const char* hexPath) {
    int result = download.ReadWholeFile(hexPath);
    if (result != 0) {
        return result;
    }
    CComms& port = download.Port();
    result = download.OpenPort();
    if (result != 0) {
        loaderMessageNoCancel("\nCannot open COM%d, ec=%d", download.Settings().port + 1, result);
        return LDR_ERR_DOWNLOAD;
    }
    result = port.SetRTS();
    if (result != 0) {
        loaderMessageNoCancel("\nError changing to pgm mode, ec=%d", result);
        return LDR_ERR_PROGRAM_MODE;
    }
    SleepMsec(kBoardSettleMs);
    port.PurgeRcvBuffer();
    if (download.SendStartNotice()) {
        return Cancelled();
    }
    unsigned long count = download.FileLength();
    if (loaderMessage("\nSending '%s', %lu bytes", hexPath, count)) {
        return Cancelled();
    }
    const unsigned char* data = download.FileData();
    for (unsigned long i = 0; i < count; ++i) {
        result = port.Write(static_cast<BYTE>(data[i]));
        if (result != 0) {
            loaderMessageNoCancel("\nError writing to port, ec=%d", result);
            return LDR_ERR_PORT_WRITE;
        }
        if (download.AfterByte(i, count)) {
            return Cancelled();
        }
    }
    port.SetTimeOut(kReplyTimeoutMs);
    BYTE reply = 0;
    result = port.Read(&reply);
    if (result != 0 || reply != 'K') {
        loaderMessageNoCancel("\nThe board did not take the program, ec=%d, reply=%02X", result,
                              reply);
        return LDR_ERR_DOWNLOAD;
    }
    port.ResetRTS();
    loaderMessageNoCancel("\nDownload complete");
    return 0;
}

int SwitchMode(CComms& port, LoaderMode mode, const HostPortRecord&) {
    if (mode == LOADER_MODE_PROGRAM) {
        int result = port.SetRTS();
        if (result != 0) {
            loaderMessage("\nError changing to pgm mode, ec=%d", result);
            return LDR_ERR_PROGRAM_MODE;
        }
        return 0;
    }
    int result = port.ResetRTS();
    if (result != 0) {
        loaderMessage("\nError changing to run mode, ec=%d", result);
        return LDR_ERR_RUN_MODE;
    }
    return 0;
}

}  // namespace

LOADER_EXPORT int WINAPI TESTLOADER_Download(const HostPortRecord* host, const char* hexPath,
                                             ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, Protocol);
}

LOADER_EXPORT int WINAPI TESTLOADER_HDD_Download(const HostPortRecord*, const char*,
                                                 ProgressCallback) {
    return LDR_ERR_UNSUPPORTED;
}

LOADER_EXPORT int WINAPI TESTLOADER_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, SwitchMode);
}

LOADER_EXPORT int WINAPI TESTLOADER_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
