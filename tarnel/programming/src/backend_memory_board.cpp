// The memory board and drive back-end: their block packets, the drive's gathered into sectors.
#include "device_backend.h"
#include "job_objects.h"
#include "tarnel/protocols/memory_board_protocol.h"

namespace {

class MemoryBoardBackend : public DeviceBackend {
public:
    using DeviceBackend::DeviceBackend;

    int Enter(CJobRun& run, JobRequest& /*job*/) override {
        run.Port().SetTimeOut(Facts().enterTimeOut);
        return m_memory.Resync(run.Port());
    }
    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        CComms& port = run.Port();
        port.SetTimeOut(Facts().writeTimeOut);
        return m_memory.WriteBlock(port, start + block.first, static_cast<WORD>(block.count),
                                   job.area + block.first, Facts().writesDirect ? TRUE : FALSE);
    }
    int AfterBlocks(CJobRun& run) override {
        return Facts().flushesAfterWrite ? m_memory.FlushBlocks(run.Port()) : BOARD_OK;
    }
    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        CComms& port = run.Port();
        port.SetTimeOut(Facts().readTimeOut);
        return m_memory.ReadBlock(port, c, static_cast<WORD>(*cells), job.area + c);
    }
    int VerifyBlock(CJobRun& run, JobRequest& /*job*/, DWORD start, const CellBlock& block,
                    BYTE* chip, DWORD* cells) override {
        CComms& port = run.Port();
        *cells = block.count;
        port.SetTimeOut(Facts().readTimeOut);
        return m_memory.ReadBlock(port, start + block.first, static_cast<WORD>(block.count), chip);
    }
    int Erase(CJobRun& run, JobRequest& /*job*/) override { return m_memory.Erase(run.Port()); }

private:
    const DeviceFacts& Facts() const { return m_objects.m_facts; }

    CMemoryBoardProtocol m_memory;
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeMemoryBoardBackend(JobObjects& objects) {
    return std::make_unique<MemoryBoardBackend>(objects);
}
