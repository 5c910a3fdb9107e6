// The back-end of the 8051 flash chips programmed through their own boot loader: Intel-HEX lines,
// the end record after a write, and the loader left again where the board held the chip in it.
#include "chip_backend.h"
#include "tarnel/protocols/port_reopen.h"
#include "w32/clock.h"

namespace {

const DWORD kBootLoaderBaud = 115200;

class BootLoaderBackend : public ChipBackend {
public:
    using ChipBackend::ChipBackend;

    // The board holds some chips in the loader on its set-type command; the others wait in it.
    // Then the chip finds the rate and, but for the (A)T89C51RX2 loaders, learns the oscillator
    // frequency.
    int Enter(CJobRun& run, JobRequest& /*job*/) override {
        CComms& port = run.Port();
        const DeviceFacts& facts = m_objects.m_facts;
        HWND window = m_objects.m_window;
        if (facts.leavesLoaderMode) {
            port.SetRTS();
            w32::Sleep(200);
            port.PurgeRcvBuffer();
            PostText(window, kStatusInfoText,
                     facts.rx2Board ? "Enter (A)T89C51Rx2 chip to Loader mode"
                                    : "Enter Wendra chip to Loader mode");
            int result = m_chip.SetChipType(port);
            if (result != BOARD_OK) {
                m_objects.SetText(facts.rx2Board ? "Can not enter (A)T89C51RX2 chip to Loader mode"
                                                 : "Can not enter Wendra chip to Loader mode");
                return result;
            }
            if (facts.rx2Board) {
                // These loaders talk at 115200 baud for the rest of the run. The thread's own
                // port object opens again, so that no second object holds its handle.
                ReopenPortAt(port, kBootLoaderBaud);
                port.SetRTS();
                w32::Sleep(200);
                port.PurgeRcvBuffer();
            }
        } else {
            w32::Sleep(200);
            port.PurgeRcvBuffer();
        }
        PostText(window, kStatusInfoText,
                 facts.rx2Loader ? "Check Connection with (A)T89C51RX2"
                                 : "Check Connection with P89C51RXX");
        int result = m_chip.Sync(port, m_objects.Text());
        if (result != BOARD_OK || facts.rx2Loader) {
            return result;
        }
        PostText(window, kStatusInfoText, "Specify Oscillator Frequency");
        return m_chip.SetFrequency(port, m_objects.Text());
    }

    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        return m_chip.WriteHexRecords(run.Port(), static_cast<WORD>(start + block.first),
                                      block.count, job.area + block.first, m_objects.Text());
    }

    // The chip keeps the boot vector and status byte that start the program written, then starts
    // it: by leaving the loader the board held it in, or by an RTS pulse.
    JobOutcome EndWrite(CJobRun& run) override {
        CComms& port = run.Port();
        if (m_objects.m_facts.endRecord == EndRecord::ThenLeaveLoader) {
            if (m_chip.ProgramSpecialBytes(port, m_objects.Text()) != BOARD_OK) {
                m_objects.PostError();  // reported, yet the data are written
            }
            Leave(run);
            return JobOutcome::Done;
        }
        int result = m_chip.ProgramSpecialBytes(port, m_objects.Text());
        w32::Sleep(100);
        port.SetRTS();
        w32::Sleep(100);
        port.ResetRTS();  // the chip starts
        if (result != BOARD_OK) {
            m_objects.PostError();
            return JobOutcome::Failed;
        }
        return JobOutcome::Done;
    }

    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        return m_chip.ReadRecord(run.Port(), static_cast<WORD>(c), *cells, job.area + c,
                                 m_objects.Text());
    }

    int VerifyBlock(CJobRun& run, JobRequest& /*job*/, DWORD start, const CellBlock& block,
                    BYTE* chip, DWORD* cells) override {
        *cells = block.count;
        int result = m_chip.ReadRecord(run.Port(), static_cast<WORD>(start + block.first),
                                       block.count, chip, m_objects.Text());
        if (result != BOARD_OK) {
            m_chip.ResetToRun(run.Port());  // every boot-loader chip starts again
        }
        return result;
    }

    int Erase(CJobRun& run, JobRequest& job) override {
        PostText(job.statusWindow, kStatusInfoText, "It takes few seconds.Please wait...");
        return m_chip.EraseChip(run.Port(), m_objects.Text());
    }

    void Leave(CJobRun& run) override {
        if (m_objects.m_facts.leavesLoaderMode) {
            m_chip.ResetToRun(run.Port());
        }
    }
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeBootLoaderBackend(JobObjects& objects) {
    return std::make_unique<BootLoaderBackend>(objects);
}
