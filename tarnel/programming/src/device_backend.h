// The back-end of one job's device: the protocol that takes its blocks, chosen once per job from
// the device's facts row. The operations walk the job's blocks and hand each to it.
#pragma once

#include <memory>

#include "block_walk.h"
#include "device_facts.h"
#include "device_rules.h"
#include "programming_operations.h"

struct JobObjects;

using device_rules::Transfer;

class DeviceBackend {
public:
    explicit DeviceBackend(JobObjects& objects) : m_objects(objects) {}
    virtual ~DeviceBackend() = default;
    DeviceBackend(const DeviceBackend&) = delete;
    DeviceBackend& operator=(const DeviceBackend&) = delete;

    // Brings the chip into its programming mode or loader: BOARD_OK, kLoaderCancelled, or the
    // failing step's code (the result text says why).
    virtual int Enter(CJobRun& run, JobRequest& job) = 0;
    // Chooses the job's area in the protocol object before its blocks.
    virtual void SelectArea(const JobRequest& /*job*/, Transfer /*transfer*/) {}

    // Before the blocks of a write; false when the write failed there (it has said so).
    virtual bool BeforeWrite(CJobRun& /*run*/, JobRequest& /*job*/) { return true; }
    // Sends the block of a write whose first cell lies at address `start`.
    virtual int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) = 0;
    // After the last block of a write that went: BOARD_OK or the failing step's code.
    virtual int AfterBlocks(CJobRun& /*run*/) { return BOARD_OK; }
    // The end of a write whose blocks all went: the boot loaders' end record.
    virtual JobOutcome EndWrite(CJobRun& /*run*/) { return JobOutcome::Done; }

    // Reads `*cells` cells at cell `c` into the area; the back-end may take fewer and says how
    // many in `*cells`.
    virtual int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) = 0;

    // Before the blocks of a verify.
    virtual void BeforeVerify(CJobRun& /*run*/, JobRequest& /*job*/) {}
    // The chip's cells of the block into `chip`; `*cells` is how many it covers.
    virtual int VerifyBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block,
                            BYTE* chip, DWORD* cells) = 0;

    // Erases the chip as a whole (devices whose facts row has an erase kind).
    virtual int Erase(CJobRun& /*run*/, JobRequest& /*job*/) { return BOARD_LINE_FAILED; }
    // Ends the device's loader mode, when the board held it there.
    virtual void Leave(CJobRun& /*run*/) {}

protected:
    JobObjects& m_objects;
};

// The back-end of the device's facts row, serving the job of `objects`.
std::unique_ptr<DeviceBackend> MakeDeviceBackend(const DeviceFacts& facts, JobObjects& objects);

// One maker per back-end kind, each in its own file.
std::unique_ptr<DeviceBackend> MakeNoBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakePicBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakeBoardChipBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakeKestrixBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakeEepromBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakeFlashBoardBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakeBootLoaderBackend(JobObjects& objects);
std::unique_ptr<DeviceBackend> MakeMemoryBoardBackend(JobObjects& objects);
