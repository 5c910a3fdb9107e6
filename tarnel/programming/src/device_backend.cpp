// The choice of a job's back-end from its device's facts row, and the back-end of an unknown
// device.
#include "device_backend.h"

#include "job_objects.h"

namespace {

// An unknown device: its mode cannot be entered and every block fails.
class NoBackend : public DeviceBackend {
public:
    using DeviceBackend::DeviceBackend;

    int Enter(CJobRun& /*run*/, JobRequest& /*job*/) override {
        m_objects.SetText("Unknown Program Mode");
        return BOARD_LINE_FAILED;
    }
    int WriteBlock(CJobRun&, JobRequest&, DWORD, const CellBlock&) override {
        return BOARD_LINE_FAILED;
    }
    int ReadBlock(CJobRun&, JobRequest&, DWORD, DWORD*) override { return BOARD_LINE_FAILED; }
    int VerifyBlock(CJobRun&, JobRequest&, DWORD, const CellBlock&, BYTE*, DWORD*) override {
        return BOARD_LINE_FAILED;
    }
};

}  // namespace

std::unique_ptr<DeviceBackend> MakeNoBackend(JobObjects& objects) {
    return std::make_unique<NoBackend>(objects);
}

std::unique_ptr<DeviceBackend> MakeDeviceBackend(const DeviceFacts& facts, JobObjects& objects) {
    switch (facts.backend) {
        case BackendKind::Pic:
            return MakePicBackend(objects);
        case BackendKind::BoardChip:
            return MakeBoardChipBackend(objects);
        case BackendKind::KestrixBoard:
            return MakeKestrixBackend(objects);
        case BackendKind::SerialEeprom:
            return MakeEepromBackend(objects);
        case BackendKind::FlashBoard:
            return MakeFlashBoardBackend(objects);
        case BackendKind::BootLoader:
            return MakeBootLoaderBackend(objects);
        case BackendKind::MemoryBoard:
            return MakeMemoryBoardBackend(objects);
        case BackendKind::None:
            break;
    }
    return MakeNoBackend(objects);
}
