// The HC908 flash board back-end: the board's block packets, its set-type tries with the user's
// power reconnection, and its RAM-resident loader.
#include "device_backend.h"
#include "job_objects.h"
#include "tarnel/protocols/board_protocol.h"
#include "w32/clock.h"

namespace {

const int kTriesPerRound = 5;
const BYTE kFlashBoardType = 3;
const BYTE kResidentLoaderChoice = 2;

class FlashBoardBackend : public DeviceBackend {
public:
    using DeviceBackend::DeviceBackend;

    // Five set-type tries per round; after a refused round the user may reconnect the board's
    // power and have another. Then, with the resident-loader choice, the resident loader.
    int Enter(CJobRun& run, JobRequest& job) override {
        CComms& port = run.Port();
        m_board.SetType(kFlashBoardType);
        int result = BOARD_OK;
        for (;;) {
            for (int attempt = 0; attempt < kTriesPerRound; ++attempt) {
                result = m_board.SetChipType(port);
                if (result == BOARD_OK) {
                    break;
                }
                PostText(job.statusWindow, kStatusAdviceText, "Initialization. Please wait...");
                w32::Sleep(500);
            }
            if (result == BOARD_OK) {
                break;
            }
            m_objects.SetText("Set Type Error.");
            port.ResetRTS();
            w32::Sleep(200);
            port.SetRTS();
            w32::Sleep(200);
            if (!run.Ask(IProgrammingQuestions::kReconnectPower)) {
                return result;
            }
            port.PurgeRcvBuffer();
        }
        if (job.loaderChoice == kResidentLoaderChoice) {
            return ActivateResidentLoader(run, job, m_board);
        }
        return BOARD_OK;
    }

    // The user may have the flash erased before the write.
    bool BeforeWrite(CJobRun& run, JobRequest& job) override {
        if (!m_objects.m_facts.asksEraseFirst ||
            !run.Ask(IProgrammingQuestions::kEraseFlashFirst)) {
            return true;
        }
        if (m_board.Erase(run.Port()) != BOARD_OK) {
            PostText(job.statusWindow, kStatusErrorText, "Erase error ");
            return false;
        }
        PostText(job.statusWindow, kStatusInfoText, "Erase success ");
        return true;
    }
    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        CComms& port = run.Port();
        port.SetTimeOut(m_objects.m_facts.writeTimeOut);
        return m_board.WriteBlock(port, static_cast<WORD>(start + block.first), block.count,
                                  job.area + block.first);
    }
    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        return m_board.ReadBlock(run.Port(), static_cast<WORD>(c), *cells, job.area + c);
    }
    int VerifyBlock(CJobRun& run, JobRequest& /*job*/, DWORD start, const CellBlock& block,
                    BYTE* chip, DWORD* cells) override {
        *cells = block.count;
        return m_board.ReadBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                 chip);
    }
    // With the resident loader the erase ends without the progress dialog.
    int Erase(CJobRun& run, JobRequest& job) override {
        int result = m_board.Erase(run.Port());
        if (job.loaderChoice == kResidentLoaderChoice) {
            PostStatus(job.statusWindow, kStatusHideProgress);
        }
        return result;
    }

private:
    CBoardProtocol m_board;
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeFlashBoardBackend(JobObjects& objects) {
    return std::make_unique<FlashBoardBackend>(objects);
}
