// Wire time of a 64 KB write and verify through the programming thread, on the virtual clock,
// against the line-rate limit of 10 bits a byte each way.
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "boards/memory_board.h"
#include "boards/programmer_board.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/programming/job_queue.h"
#include "tarnel/programming/operation_status.h"
#include "w32/messages.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

const int kCom = 9;
const DWORD kImage = 0x10000;

LRESULT CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM) { return 0; }

class Bench {
public:
    Bench() : m_window(w32::CreateMessageWindow(&Ignore)) {
        m_settings.SetCommPort("COM9");
        ProgrammingEnvironment environment;
        environment.settings = &m_settings;
        environment.mainWindow = m_window;
        m_queue.SetEnvironment(environment);
        m_image.resize(kImage);
        for (DWORD i = 0; i < kImage; ++i) {
            m_image[i] = static_cast<BYTE>(i * 13 + 7);
        }
    }
    ~Bench() { w32::DestroyMessageWindow(m_window); }

    // Runs one job on `board` and returns its virtual seconds; `failed` is set when its end status
    // was not `success`.
    double Time(boards::Board& board, JobOp op, BYTE device, BYTE kind, UINT success,
                bool* failed) {
        auto job = std::make_unique<JobRequest>();
        job->op = op;
        job->area = m_image.data();
        job->size = kImage;
        job->statusWindow = m_window;
        job->memoryKind = kind;
        job->cancel = &m_cancel;
        job->deviceCode = device;
        w32test::vport::Attach(kCom, &board);
        uint64_t start = w32test::clock::NowMicros();
        m_queue.StartJob(std::move(job));
        bool succeeded = false;
        w32test::clock::OutsideWaitScope waiting;  // the thread's time goes on meanwhile
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            succeeded = Drain(success) || succeeded;
        } while (m_queue.IsRunning());
        succeeded = Drain(success) || succeeded;
        double seconds = (w32test::clock::NowMicros() - start) / 1e6;
        w32test::vport::Detach(kCom);
        *failed = *failed || !succeeded;
        return seconds;
    }

private:
    // Takes the posted statuses; true when `success` was among them.
    bool Drain(UINT success) {
        bool seen = false;
        MSG msg;
        while (w32::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            UINT code = static_cast<UINT>(msg.wParam);
            seen = seen || code == success;
            if (code == kStatusVersionText || code == kStatusErrorText || code == kStatusInfoText ||
                code == kStatusAdviceText || code == kStatusSuccessText) {
                FreeStatusBlock(msg.lParam);
            }
        }
        return seen;
    }

    HWND m_window;
    CAppSettings m_settings;
    CancelWord m_cancel{0};
    CJobQueue m_queue;
    std::vector<BYTE> m_image;
};

void Report(const char* what, DWORD baud, double write, double verify, bool failed) {
    double limit = 2 * kImage * 10.0 / baud;
    std::printf(
        "%-38s %6lu baud  write %7.2f s  verify %7.2f s  write+verify %7.2f s  "
        "limit %6.2f s  x%5.2f%s\n",
        what, static_cast<unsigned long>(baud), write, verify, write + verify, limit,
        (write + verify) / limit, failed ? "  FAILED" : "");
}

}  // namespace

int main() {
    w32test::clock::VirtualTimeScope virtualTime;
    Bench bench;
    bool anyFailed = false;
    auto measure = [&](const char* what, DWORD baud, boards::Board& board, BYTE device, BYTE kind) {
        bool failed = false;
        double write = bench.Time(board, kJobWrite, device, kind, kStatusWriteDone, &failed);
        double verify = bench.Time(board, kJobVerify, device, kind, kStatusVerifyDone, &failed);
        Report(what, baud, write, verify, failed);
        anyFailed = anyFailed || failed;
    };
    {
        boards::ProgrammerBoard board;
        measure("board packets (PIC18 code, 10)", 19200, board, 10, kMemoryCode);
    }
    {
        boards::ProgrammerBoardOptions options;
        options.bootLoader = true;
        options.loader.displayAfterZero = true;
        boards::ProgrammerBoard board(options);
        measure("boot-loader lines (P89C51RD2, 163)", 19200, board, 163, kMemoryCode);
    }
    {
        boards::ProgrammerBoardOptions options;
        options.bootLoader = true;
        boards::ProgrammerBoard board(options);
        measure("boot-loader lines ((A)T89C51RX2, 171)", 115200, board, 171, kMemoryCode);
    }
    {
        boards::MemoryBoard board;
        measure("memory board (253)", 115200, board, 253, kMemoryData);
    }
    {
        boards::MemoryBoardOptions options;
        options.drive = true;
        boards::MemoryBoard board(options);
        measure("drive (254)", 115200, board, 254, kMemoryData);
    }
    return anyFailed ? 1 : 0;
}
