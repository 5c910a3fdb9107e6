// Wendra's download, step by step: the file into the image, the board into program mode, the
// PIC's version and chip type, the boot loader's synchronisation, frequency and erase, the records,
// the boot vector, and the run command that every path ends with once the port was chosen.
#include "wendra_download.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "boardloader/board_loader.h"
#include "comms/utilities.h"
#include "hex_image.h"
#include "loader/relay.h"
#include "w32/errors.h"

namespace wendra {
namespace {

constexpr DWORD kUsualTimeOutMs = 20;
constexpr DWORD kSlowTimeOutMs = 10000;
constexpr DWORD kRecordTimeOutMs = 100;
constexpr int kTries = 3;
constexpr unsigned kRecordSize = 16;
constexpr int kReplyTimedOut = COMMS_READ_TIMEOUT;
constexpr int kReplyCutShort = 1023;

#define ISP_SET_FREQUENCY ":0100000218E5"
#define ISP_ERASE_CHIP ":0100000307F5"
// Wendra writes the special-byte records in lower case.
#define WENDRA_ERASE_BOOT_VECTOR ":020000030400f7"
#define WENDRA_PROGRAM_BOOT_VECTOR ":030000030601fcf7"
#define WENDRA_PROGRAM_STATUS ":03000003060000f4"

// Wendra's own set type: always type 2, and every byte of the reply shown on failure.
int SetChipTypeTwo(CComms& port, char* text) {
    BYTE reply[3] = {};
    int result = exchangeSetTypeViaPic(port, kPicTypePassThrough, reply);
    if (result == 0) {
        BYTE sum = 0;
        additiveChecksum(reply, 2, &sum);
        if (sum != reply[2]) {
            result = LDR_ERR_CHECKSUM;
        } else if (reply[0] != PIC_SET_TYPE || reply[1] != 0) {
            result = LDR_ERR_SET_TYPE;
        }
    }
    if (result != 0) {
        std::snprintf(text, kBoardTextSize,
                      "*** Set type Error ***,buffer[0]=%02X buffer[1]=%02X buffer[2]=%02X",
                      reply[0], reply[1], reply[2]);
        return result;
    }
    std::snprintf(text, kBoardTextSize, "Success setting type");
    return 0;
}

// One download's steps, with the cancel the host asked for on the way.
class WendraSteps {
public:
    WendraSteps(loader::Download& download, const HexImage& hex, const char* path)
        : m_download(download), m_port(download.Port()), m_hex(hex), m_path(path) {}

    // Steps 3 to 11: the download's result.
    int Run();
    // The end of every path once the port was chosen: the run command and an RTS pulse, so that
    // the board leaves program mode whatever happened.
    void Finish();

private:
    int EnterProgramMode();
    int ReadVersion();
    int SetChipType();
    int PrepareLoader();
    // The records; *failed when one failed (then no boot vector is written).
    int SendRecords(bool* failed);
    void ProgramBootVector();
    // Relays the step text in the message buffer; true when the host answered with a cancel.
    bool RelayText() { return loaderMessage("%s", m_download.MessageBuffer()) != FALSE; }

    loader::Download& m_download;
    CComms& m_port;
    const HexImage& m_hex;
    const char* m_path;
    bool m_portChosen = false;
    bool m_cancelled = false;
};

int WendraSteps::Run() {
    int result = EnterProgramMode();
    if (result != 0) {
        return result;
    }
    loaderMessage("Baud Rate is %d bps", static_cast<int>(m_download.Settings().baud));
    m_port.SetTimeOut(kUsualTimeOutMs);
    loaderMessage("Waiting for board to initialize...");
    SleepMsec(200);
    result = m_port.PurgeRcvBuffer();
    if (result != 0) {
        loaderMessage("Error purging receive buffer, ec=%d", result);
        return LDR_ERR_PURGE;
    }
    result = ReadVersion();
    if (result != 0 || m_cancelled) {
        return result;
    }
    SleepMsec(250);
    result = SetChipType();
    if (result != 0 || m_cancelled) {
        return result;
    }
    result = PrepareLoader();
    if (result != 0) {
        return result;
    }
    bool failed = false;
    result = SendRecords(&failed);
    if (failed) {
        return result;
    }
    ProgramBootVector();
    return result;
}

int WendraSteps::EnterProgramMode() {
    m_portChosen = true;
    m_download.OpenPort();
    m_port.Initialize();
    int result = m_port.SetRTS();
    if (result != 0) {
        DWORD error = w32::GetLastError();
        char system[256];
        systemErrorText(error, system, sizeof system);
        loaderMessage("Error changing to Program Mode, ec=%d, WIN32 Error=%d(%s)", result,
                      static_cast<int>(error), system);
        return LDR_ERR_PROGRAM_MODE;
    }
    // The start notice's record is the download's own: a cancel set in it is seen at the first
    // percentage.
    m_download.SendStartNotice();
    return 0;
}

int WendraSteps::ReadVersion() {
    for (int attempt = 1;; ++attempt) {
        int result = readPicVersion(m_port, m_download.MessageBuffer());
        if (RelayText()) {
            m_cancelled = true;
            return result;
        }
        if (result == 0) {
            return 0;
        }
        if (loaderMessage("Retrying get version, ec=%d", result)) {
            m_cancelled = true;
            return result;
        }
        if (attempt == kTries) {
            m_cancelled = loaderMessage("Error retrieving PIC version, ec=%d", result) != FALSE;
            return LDR_ERR_PIC_VERSION;
        }
    }
}

int WendraSteps::SetChipType() {
    for (int attempt = 1;; ++attempt) {
        int result = SetChipTypeTwo(m_port, m_download.MessageBuffer());
        if (RelayText()) {
            m_cancelled = true;
            return result;
        }
        if (result == 0) {
            return 0;
        }
        if (loaderMessage("Retrying set type, ec=%d", result)) {
            m_cancelled = true;
            return result;
        }
        if (attempt == kTries) {
            m_cancelled =
                loaderMessage("Error setting microcontroller type, ec=%d", result) != FALSE;
            return LDR_ERR_SET_TYPE;
        }
    }
}

int WendraSteps::PrepareLoader() {
    char* text = m_download.MessageBuffer();
    int result = syncIspU(m_port, text);
    RelayText();
    if (result != 0) {
        return result;
    }
    result = sendIspRecord(m_port, ISP_SET_FREQUENCY);
    std::snprintf(
        text, kBoardTextSize, "%s",
        result == 0 ? "Success Frequency Specification" : "Invalid Frequency Specification");
    RelayText();
    if (result != 0) {
        return result;
    }
    loaderMessage("Full Chip Erasing.Please waite...");
    m_port.SetTimeOut(kSlowTimeOutMs);
    result = sendIspRecord(m_port, ISP_ERASE_CHIP);
    m_port.SetTimeOut(kUsualTimeOutMs);
    std::snprintf(text, kBoardTextSize, "%s",
                  result == 0 ? "Success Chip Erasing" : "Invalid Chip Erasing ");
    RelayText();
    return result;
}

int WendraSteps::SendRecords(bool* failed) {
    m_port.SetTimeOut(kRecordTimeOutMs);
    loaderMessage("Downloading '%s'...", m_path);
    const uint32_t count = m_hex.byteCount;
    const uint32_t step = std::max<uint32_t>(count / 100, 1);
    uint64_t reported = 0;
    int result = 0;
    for (uint32_t k = 0; uint64_t{k} * kRecordSize < count; ++k) {
        if (m_cancelled) {
            break;
        }
        uint32_t offset = k * kRecordSize;
        int size = static_cast<int>(std::min<uint32_t>(kRecordSize, count - offset));
        result = writeDataIsp(m_port, offset, size, m_hex.image.data() + offset,
                              m_download.MessageBuffer());
        if (RelayText()) {
            m_cancelled = true;
        }
        if (result == kReplyTimedOut || result == kReplyCutShort) {
            // The board took the record; only its reply came short.
            loaderMessage("Warning, reply from the board is not complete, ec=%d", result);
            result = 0;
        } else if (result != 0) {
            loaderMessage("Error downloading program, ec=%d", result);
            *failed = true;
            return LDR_ERR_DOWNLOAD;
        }
        if (!m_cancelled && loader::StoredCallback() != nullptr &&
            reported < uint64_t{k} * kRecordSize) {
            reported += step;
            int64_t percent = int64_t{1600} * k / count;
            if (m_download.ReportPercent(static_cast<int>(std::min<int64_t>(percent, 100)))) {
                m_cancelled = true;
            }
        }
    }
    return result;
}

void WendraSteps::ProgramBootVector() {
    static const struct {
        const char* record;
        const char* failure;
    } kRecords[] = {{WENDRA_ERASE_BOOT_VECTOR, "Invalid Bytes Erasing"},
                    {WENDRA_PROGRAM_BOOT_VECTOR, "Invalid Set Vector"},
                    {WENDRA_PROGRAM_STATUS, "Invalid Status Clear"}};
    loaderMessage("Programming Boot Vector(to FC) and Status Byte(to 00)");
    m_port.SetTimeOut(kSlowTimeOutMs);
    const char* text = "Success Special Bytes Programming";
    for (const auto& record : kRecords) {
        if (sendIspRecord(m_port, record.record) != 0) {
            text = record.failure;
            break;
        }
    }
    loaderMessage("%s", text);
    m_port.SetTimeOut(kUsualTimeOutMs);
}

void WendraSteps::Finish() {
    if (!m_portChosen) {
        // The file did not load: no port was chosen, and a write now would open COM1 for
        // whatever is on it.
        return;
    }
    if (m_cancelled) {
        loaderMessage("Download is cancelled by the users request.");
    }
    m_port.Write(static_cast<BYTE>('R'));
    m_port.ResetRTS();
    SleepMsec(100);
    m_port.SetRTS();
    SleepMsec(100);
    m_port.ResetRTS();
}

}  // namespace

int RunWendraDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    HexImage hex;
    int32_t read = LoadHexImage(hexPath, &hex);
    if (read != 0) {
        loaderMessage("\nError loading file '%s', ec=%d", path, static_cast<int>(read));
        return LDR_ERR_LOAD_FILE;
    }
    AddLongJumps(&hex);
    WendraSteps steps(download, hex, path);
    int result = steps.Run();
    steps.Finish();
    return result;
}

int SwitchWendraMode(CComms& port, LoaderMode mode, const HostPortRecord&) {
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

}  // namespace wendra
