// Corvane's download: parse, counter to 0x0100, the program written byte by byte, read back,
// compared, the counter set again, and the board let go to run it.
#include "corvane_download.h"

#include <vector>

#include "comms/utilities.h"
#include "loader/relay.h"
#include "traced_hex_parser.h"

namespace corvane {
namespace {

// The monitor's commands and the start of the program in the board's RAM.
constexpr BYTE kMonitorSetCounter[] = {0x04, 0x01, 0x00};
constexpr BYTE kMonitorWriteByte = 0x02;
constexpr BYTE kMonitorReadByte = 0x01;
constexpr BYTE kMonitorAck = '!';
constexpr unsigned kProgramStart = 0x0100;
// The monitor answered with something else than its acknowledgement.
constexpr int kWrongAnswer = 1;

class CorvaneSteps {
public:
    CorvaneSteps(loader::Download& download, const BYTE* image, unsigned count, const char* path)
        : m_download(download),
          m_port(download.Port()),
          m_image(image),
          m_count(count),
          m_path(path) {}

    int Run();
    // Releases the board from program mode, so it runs, once the port was chosen.
    void Finish();

private:
    int SetCounter();
    int WriteProgram();
    int ReadBack(std::vector<BYTE>* readBack);
    int Percent(int base, unsigned i) const {
        return base + static_cast<int>(int64_t{45} * i / m_count);
    }

    loader::Download& m_download;
    CComms& m_port;
    const BYTE* m_image;
    unsigned m_count;
    const char* m_path;
    bool m_portChosen = false;
};

int CorvaneSteps::SetCounter() {
    int result = 0;
    for (BYTE b : kMonitorSetCounter) {
        result = m_port.Write(b);
        if (result != 0) {
            return result;
        }
    }
    BYTE answer = 0;
    result = m_port.Read(&answer);
    if (result == 0 && answer != kMonitorAck) {
        result = kWrongAnswer;
    }
    return result;
}

int CorvaneSteps::WriteProgram() {
    for (unsigned i = 0; i < m_count; ++i) {
        int result = m_port.WriteByte(kMonitorWriteByte);
        if (result == 0) {
            result = m_port.Write(m_image[kProgramStart + i]);
        }
        BYTE answer = 0;
        if (result == 0) {
            result = m_port.Read(&answer);
        }
        if (result == 0 && answer != kMonitorAck) {
            result = kWrongAnswer;
        }
        if (result != 0) {
            return result;
        }
        if (i % 16 == 0) {
            loaderMessageNoCancel("D");
        }
        m_download.ReportPercentWithoutRecord(Percent(10, i));
    }
    return 0;
}

int CorvaneSteps::ReadBack(std::vector<BYTE>* readBack) {
    for (unsigned i = 0; i < m_count; ++i) {
        int result = m_port.Write(kMonitorReadByte);
        if (result == 0) {
            result = m_port.Read(&(*readBack)[i]);
        }
        if (result != 0) {
            return result;
        }
        if (i % 16 == 0) {
            loaderMessageNoCancel("U");
        }
        m_download.ReportPercentWithoutRecord(Percent(55, i));
    }
    return 0;
}

int CorvaneSteps::Run() {
    m_portChosen = true;
    m_download.OpenPort();
    m_port.Initialize();
    int result = m_port.SetRTS();
    if (result != 0) {
        loaderMessageNoCancel("\nError changing to Program Mode, ec=%d", result);
        return LDR_ERR_PROGRAM_MODE;
    }
    m_download.SendStartNotice();
    SleepMsec(1000);
    loaderMessageNoCancel("\nsetting program counter...");
    result = SetCounter();
    if (result != 0) {
        loaderMessageNoCancel("\nError communicating with Brontal-G, ec=%d", result);
        return LDR_ERR_SET_PC;
    }
    m_download.ReportPercentWithoutRecord(10);
    loaderMessageNoCancel("\nDownloading '%s'...", m_path);
    loaderMessageNoCancel("\n");
    result = WriteProgram();
    if (result != 0) {
        loaderMessageNoCancel("\nError downloading program, ec=%d", result);
        return LDR_ERR_DOWNLOAD;
    }
    loaderMessageNoCancel("\nsetting program counter...");
    result = SetCounter();
    if (result != 0) {
        loaderMessageNoCancel("\nError setting program counter, ec=%d", result);
        return LDR_ERR_SET_PC;
    }
    loaderMessageNoCancel("\nuploading '%s'...", m_path);
    loaderMessageNoCancel("\n");
    std::vector<BYTE> readBack(kImageSize, 0);
    result = ReadBack(&readBack);
    if (result != 0) {
        loaderMessageNoCancel("\nError uploading program, ec=%d", result);
        return LDR_ERR_UPLOAD;
    }
    for (unsigned i = 0; i < m_count; ++i) {
        if (readBack[i] != m_image[kProgramStart + i]) {
            loaderMessageNoCancel("\nError verifying program");
            return LDR_ERR_VERIFY;
        }
    }
    loaderMessageNoCancel("\n\n%d bytes verified OK.", static_cast<int>(m_count));
    loaderMessageNoCancel("\nExecuting '%s'...", m_path);
    result = SetCounter();
    if (result != 0) {
        loaderMessageNoCancel("\nError setting program counter, ec=%d", result);
        return LDR_ERR_SET_PC;
    }
    loaderMessageNoCancel("\n'%s' started successfully.", m_path);
    m_download.ReportPercentWithoutRecord(1);
    return 0;
}

void CorvaneSteps::Finish() {
    if (m_portChosen) {
        m_port.ResetRTS();
    }
}

}  // namespace

int RunCorvaneDownload(loader::Download& download, const char* hexPath) {
    const char* path = hexPath != nullptr ? hexPath : "";
    std::vector<BYTE> image(kImageSize, 0);
    ParsedRange range;
    int parsed = parseHexFileTraced(hexPath, image.data(), &range);
    if (parsed != 0) {
        // Nothing goes to the port after this: none was chosen yet, and an RTS change now would
        // open COM1 for whatever is on it.
        loaderMessageNoCancel("\nError loading file '%s', ec=%d", path, parsed);
        return LDR_ERR_LOAD_FILE;
    }
    download.ReportPercentWithoutRecord(1);
    loaderMessageNoCancel("\nhighest addr=%d", range.highest);
    if (range.highest < kProgramStart) {
        loaderMessageNoCancel("\nError in highest addr");
        return LDR_ERR_HIGHEST_ADDR;
    }
    // The program runs from 0x0100 to the end of its highest data, its last line included.
    unsigned count = range.highestEnd - kProgramStart;
    loaderMessageNoCancel("\nnumread=%d", static_cast<int>(count));
    CorvaneSteps steps(download, image.data(), count, path);
    int result = steps.Run();
    steps.Finish();
    return result;
}

}  // namespace corvane
