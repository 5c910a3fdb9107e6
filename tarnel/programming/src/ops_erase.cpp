// Erasing the chip (or the memory board) as a whole, through the device's back-end.
#include "device_backend.h"
#include "job_objects.h"
#include "programming_operations.h"

int EraseJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Erase Error");
    DeviceBackend& device = objects.Backend();
    // A device without an erase kind (the serial EEPROM, the Kestrix board) fails the erase.
    int result = BOARD_LINE_FAILED;
    if (objects.m_facts.erase != EraseKind::None) {
        result = device.Erase(run, job);
    }
    device.Leave(run);
    if (result != BOARD_OK) {
        objects.PostError();
        return 0;
    }
    return 1;
}
