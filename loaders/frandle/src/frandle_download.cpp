// Frandle's download, step by step: the forced framing, detection by reset pulses, the version,
// registers and erase, and the lines with their one-character replies.
#include "frandle_download.h"

#include <cstdint>
#include <cstring>

#include "boot_text.h"
#include "comms/utilities.h"
#include "loader/relay.h"

namespace frandle {
namespace {

constexpr BYTE BL_PROMPT = 0x0D;
const char* const BL_WRITE_REGISTERS[] = {"RREA", "RWFB16", "RWFC66", "RWFD56", "RWEFA6", "RWFE63"};
const char* const BL_ERASE[] = {"M0000", "E"};
const char BL_LOAD[] = "L";

constexpr DWORD kBaud = 19200;
constexpr int kFirstPulseMs = 200;
constexpr int kPulseStepMs = 25;

// Writes a command (its result is not looked at: a reply that does not come tells) and reads the
// reply up to the prompt.
int Command(CComms& port, const char* command, char* reply) {
    port.Write(reinterpret_cast<const BYTE*>(command), static_cast<DWORD>(std::strlen(command)));
    size_t count = 0;
    return readUntilPrompt(port, reply, &count);
}

// Resets the board with RTS pulses of falling length until its boot loader answers a CR with the
// prompt: 0, or the last read's code.
int Detect(CComms& port, char* reply) {
    for (int pulse = kFirstPulseMs;; pulse -= kPulseStepMs) {
        port.ResetRTS();
        SleepMsec(static_cast<unsigned long>(pulse));
        port.SetRTS();
        SleepMsec(500);
        port.PurgeRcvBuffer();
        port.Write(BL_PROMPT);
        size_t count = 0;
        int result = readUntilPrompt(port, reply, &count);
        if (result == 0 || pulse <= 0) {
            return result;
        }
    }
}

// The version, the registers and the erase: 0 or the failed read's code (relayed).
int Prepare(CComms& port, char* reply) {
    loaderMessage("Get BootLoader version");
    port.Write(BL_PROMPT);
    size_t count = 0;
    int result = readUntilPrompt(port, reply, &count);
    if (result == 0) {
        loaderMessage("%s", reply);
        loaderMessage("Writing Registers...");
        for (const char* command : BL_WRITE_REGISTERS) {
            if (result == 0) {
                result = Command(port, command, reply);
            }
        }
    }
    if (result == 0) {
        loaderMessage("Erasing Flash Memory...");
        for (const char* command : BL_ERASE) {
            if (result == 0) {
                result = Command(port, command, reply);
            }
        }
    }
    if (result != 0) {
        loaderMessage("Cannot read response from the board. Error code = %d", result);
    }
    return result;
}

// An Intel HEX end record: record type 01 (characters 7 and 8 after the ':').
bool IsEndRecord(const char* line) {
    return line[0] == ':' && std::strlen(line) >= 9 && line[7] == '0' && line[8] == '1';
}

// The lines of the file, each answered by one character: 0 when the board took them (or the host
// asked to stop), else the failure's code.
int SendLines(loader::Download& download, char* line) {
    CComms& port = download.Port();
    const unsigned char* data = download.FileData();
    const unsigned long length = download.FileLength();
    unsigned long consumed = 0;
    unsigned long reported = 0;
    int written = 0;
    for (;;) {
        long taken = nextHexLine(line, data, length, consumed);
        if (taken < 0) {
            return 0;  // the file ended without the board's 'T'
        }
        consumed += static_cast<unsigned long>(taken);
        size_t size = std::strlen(line);
        if (taken == 0 || size == 0) {
            continue;
        }
        port.Write(reinterpret_cast<const BYTE*>(line), static_cast<DWORD>(size));
        BYTE answer = 0;
        int result = port.Read(&answer);
        if (result != 0) {
            loaderMessage("Cannot read response from the board. Error code = %d", result);
            return result;
        }
        switch (answer) {
            case '.':
                if (loaderMessage("Success writing line #%d", ++written)) {
                    return 0;
                }
                if (loader::StoredCallback() != nullptr && consumed > reported) {
                    reported = consumed;
                    int64_t percent = static_cast<int64_t>(consumed) * 100 / length;
                    if (download.ReportPercent(static_cast<int>(percent > 100 ? 100 : percent))) {
                        return 0;
                    }
                }
                break;
            case 'T':
                // Only the end record completes the load: a 'T' to any other line (a board that
                // ends early, or a damaged '.') leaves the rest of the file out of the flash.
                if (!IsEndRecord(line)) {
                    loaderMessage(
                        "Line #%d answered 'T' but is not the end record: download "
                        "incomplete",
                        written + 1);
                    return LDR_ERR_DOWNLOAD;
                }
                loaderMessage("Download Completed Successfully");
                return 0;
            case 'X':
                loaderMessage("Line write ERROR");
                return LDR_ERR_DOWNLOAD;
            case 'E':
                loaderMessage("Line checksum ERROR");
                return LDR_ERR_DOWNLOAD;
            default:
                loaderMessage("Unknown reply from the board");
                return LDR_ERR_DOWNLOAD;
        }
    }
}

}  // namespace

int RunFrandleDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    int result = download.ReadWholeFile(hexPath);
    if (result != 0) {
        return result;
    }
    // A line that does not fit the line buffer would not reach the board whole: the file is
    // refused before anything is opened.
    unsigned long longLine = FirstLongLine(download.FileData(), download.FileLength());
    if (longLine != 0) {
        loaderMessage("Line %lu of '%s' is longer than %u characters: nothing downloaded", longLine,
                      path, static_cast<unsigned>(kLongestLine));
        return LDR_ERR_LOAD_FILE;
    }
    comm_settings& settings = download.Settings();
    settings.baud = kBaud;
    settings.dataBits = 8;
    settings.parity = 0;
    settings.stopBits = 0;
    CComms& port = download.Port();
    port.RtsControlEnable(TRUE);
    port.DtrControlEnable(TRUE);
    download.OpenPort();
    if (!port.IsInitialized()) {
        loaderMessage("WARNING: Can not open %s", port.CurrPortName());
        loaderMessage("Please check COM port under Tools->Options->Loader");
        return LDR_ERR_DOWNLOAD;
    }
    SleepMsec(1000);
    loaderMessage("Serial port opened. Detecting BootLoader ...");
    char* reply = download.MessageBuffer();
    result = Detect(port, reply);
    if (result != 0) {
        loaderMessage("Cannot detect bootloader on the board. Exiting ...");
        return result;
    }
    loaderMessage("BootLoader detected.");
    download.SendStartNotice();
    result = Prepare(port, reply);
    if (result != 0) {
        return result;
    }
    loaderMessage("Downloading %s file...", path);
    port.Write(reinterpret_cast<const BYTE*>(BL_LOAD), 1);
    return SendLines(download, reply);
}

int SwitchFrandleMode(CComms& port, LoaderMode mode, const HostPortRecord&) {
    if (mode == LOADER_MODE_PROGRAM) {
        int result = port.SetRTS();
        if (result != 0) {
            loaderMessage("Error changing to PROGRAM mode, Error code = %d", result);
            return LDR_ERR_PROGRAM_MODE;
        }
        return 0;
    }
    int result = port.ResetRTS();
    if (result != 0) {
        loaderMessage("Error changing to RUN mode, Error code = %d", result);
        return LDR_ERR_RUN_MODE;
    }
    return 0;
}

}  // namespace frandle
