// The serial EEPROM back-end: its own block packets; it needs no mode and cannot be erased.
#include "device_backend.h"
#include "job_objects.h"
#include "tarnel/protocols/board_protocol.h"

namespace {

class EepromBackend : public DeviceBackend {
public:
    using DeviceBackend::DeviceBackend;

    int Enter(CJobRun& /*run*/, JobRequest& /*job*/) override { return BOARD_OK; }
    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        return m_eeprom.WriteBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                   job.area + block.first);
    }
    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        return m_eeprom.ReadBlock(run.Port(), static_cast<WORD>(c), *cells, job.area + c);
    }
    int VerifyBlock(CJobRun& run, JobRequest& /*job*/, DWORD start, const CellBlock& block,
                    BYTE* chip, DWORD* cells) override {
        *cells = block.count;
        return m_eeprom.ReadBlock(run.Port(), static_cast<WORD>(start + block.first), block.count,
                                  chip);
    }

private:
    CEepromProtocol m_eeprom;
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeEepromBackend(JobObjects& objects) {
    return std::make_unique<EepromBackend>(objects);
}
