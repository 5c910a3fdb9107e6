// Erasing the chip (or the memory board) as a whole.
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"

int EraseJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Erase Error");
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    if (device != 169) {
        device_rules::SetChipType(objects.m_chip, device);
    }
    int result = BOARD_LINE_FAILED;  // the serial EEPROM and the Kestrix board cannot be erased
    if (device_rules::IsPic(device) || device == 160 || device == 161) {
        result = objects.m_chip.Erase(port);
    } else if (device_rules::IsBootLoaderChip(device)) {
        PostText(job.statusWindow, kStatusInfoText, "It takes few seconds.Please wait...");
        result = objects.m_chip.EraseChip(port, objects.Text());
    } else if (device == 164) {
        result = objects.m_board.Erase(port);
        if (job.loaderChoice == 2) {
            PostStatus(job.statusWindow, kStatusHideProgress);
        }
    } else if (device_rules::IsMemoryBoard(device)) {
        result = objects.m_memory.Erase(port);
    }
    objects.LeaveLoaderMode(run);
    if (result != BOARD_OK) {
        objects.PostError();
        return 0;
    }
    return 1;
}
