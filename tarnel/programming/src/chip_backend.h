// The base of the back-ends that speak through the chip protocol (the board's chip packets or a
// boot loader's lines): the protocol object with the chip type of the device's row.
#pragma once

#include "device_backend.h"
#include "job_objects.h"
#include "tarnel/protocols/chip_protocol.h"

class ChipBackend : public DeviceBackend {
public:
    explicit ChipBackend(JobObjects& objects) : DeviceBackend(objects), m_chip(objects.m_device) {
        if (objects.m_facts.chipType != 0) {
            m_chip.SetType(objects.m_facts.chipType);
        }
    }

    void SelectArea(const JobRequest& job, Transfer transfer) override {
        device_rules::SetMemorySelector(m_chip, job, transfer);
    }

protected:
    CChipProtocol m_chip;
};
