// The AT89S8252/53 back-end: the board programs the chip from its block packets.
#include "chip_backend.h"

namespace {

class BoardChipBackend : public ChipBackend {
public:
    using ChipBackend::ChipBackend;

    int Enter(CJobRun& run, JobRequest& /*job*/) override { return m_chip.SetChipType(run.Port()); }
    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        return m_chip.WriteBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                 job.area + block.first);
    }
    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        return m_chip.ReadBlock(run.Port(), static_cast<WORD>(c), *cells, job.area + c);
    }
    int VerifyBlock(CJobRun& run, JobRequest& /*job*/, DWORD start, const CellBlock& block,
                    BYTE* chip, DWORD* cells) override {
        *cells = block.count;
        return m_chip.ReadBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                chip);
    }
    int Erase(CJobRun& run, JobRequest& /*job*/) override { return m_chip.Erase(run.Port()); }
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeBoardChipBackend(JobObjects& objects) {
    return std::make_unique<BoardChipBackend>(objects);
}
