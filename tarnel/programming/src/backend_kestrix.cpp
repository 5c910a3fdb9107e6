// The Kestrix board back-end: board packets, its data behind its ID bytes, a verify that the
// board compares on its side; it restarts on an RTS pulse and cannot be erased.
#include <cstring>

#include "chip_backend.h"
#include "w32/clock.h"

namespace {

const BYTE kReady = 'R';

class KestrixBackend : public ChipBackend {
public:
    using ChipBackend::ChipBackend;

    // The board restarts on an RTS pulse and says 'R' when it is ready. When it does not, the
    // advice for a board that cannot be reached goes out.
    int Enter(CJobRun& run, JobRequest& job) override {
        CComms& port = run.Port();
        port.SetTimeOut(m_objects.m_facts.enterTimeOut);
        port.SetRTS();
        w32::Sleep(100);
        port.ResetRTS();
        w32::Sleep(100);
        port.PurgeRcvBuffer();
        BYTE ready = 0;
        int result = port.Read(&ready);
        if (result != COMMS_OK || ready != kReady) {
            PostNotAccessible(job.statusWindow);
            return result != COMMS_OK ? result : BOARD_LINE_FAILED;
        }
        return m_chip.SetChipType(port);
    }

    // The data area lies behind the board's ID bytes.
    bool BeforeWrite(CJobRun& /*run*/, JobRequest& job) override {
        MoveBehindId(job);
        return true;
    }
    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        return m_chip.WriteBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                 job.area + block.first);
    }
    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        DWORD address = job.memoryKind == kMemoryData ? c + m_objects.m_facts.dataBehindId : c;
        return m_chip.ReadBlock(run.Port(), static_cast<WORD>(address), *cells, job.area + c);
    }
    void BeforeVerify(CJobRun& /*run*/, JobRequest& job) override { MoveBehindId(job); }
    // The board compares on its side and answers with the chip's bytes.
    int VerifyBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block, BYTE* chip,
                    DWORD* cells) override {
        *cells = block.count;
        std::memcpy(chip, job.area + block.first, block.count);
        return m_chip.CompareBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                   chip);
    }

private:
    void MoveBehindId(JobRequest& job) const {
        if (job.memoryKind == kMemoryData) {
            job.startCell = m_objects.m_facts.dataBehindId;
        }
    }

    // Advice texts, and the error text that follows them.
    void PostNotAccessible(HWND window) {
        for (const char* advice :
             {"Target board is not accessible.", "Please make sure the power supply is plugged",
              "and the communications cable is connected.",
              "Also, make sure that you selected the correct communications "
              "port."}) {
            PostText(window, kStatusAdviceText, advice);
        }
        m_objects.SetText("Kestrix error");
    }
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeKestrixBackend(JobObjects& objects) {
    return std::make_unique<KestrixBackend>(objects);
}
