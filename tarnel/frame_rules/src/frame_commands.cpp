// The main frame's command-enable rules.
#include "tarnel/frame_rules/frame_commands.h"

#include "tarnel/images/chip_table.h"
#include "tarnel/frame_rules/frame_command_ids.h"

namespace {

// The chips of the board whose memory is counted free, cell by cell.
bool CanBlankCheck(int deviceCode) {
    return deviceCode >= 0 && deviceCode < 65 && deviceCode != kDevicePic16 &&
           deviceCode != kDevicePic18;
}

bool CanSetSecurityBits(int deviceCode) {
    return deviceCode == kDeviceT89C51Rx2Board2 || deviceCode == kDeviceT89C51Rx2Board9600 ||
           deviceCode == kDeviceT89C51Rx2;
}

}  // namespace

void SetCurrentChip(FrameCommandState& state, const char* chipName) {
    if (chipName == nullptr || !ChipTable::Contains(chipName)) {
        state.deviceCode = -1;
        state.modeByte = 255;
        state.programmable = false;
        return;
    }
    state.deviceCode = ChipTable::GetDeviceCode(chipName);
    state.modeByte = ChipTable::GetProgrammingMode(chipName);
    state.programmable = ChipTable::IsProgrammable(chipName);
}

bool IsFrameCommandEnabled(unsigned commandId, const FrameCommandState& s, bool* known) {
    if (known != nullptr) {
        *known = true;
    }
    switch (commandId) {
        case ID_CHIP_READ:
            return !s.running;
        case ID_CHIP_WRITE:
        case ID_CHIP_VERIFY:
            return !s.running && s.activeDocument;
        case ID_AUTO_SEQUENCE:
            return !s.running && s.activeDocument && s.deviceCode == kDeviceKestrixBoard;
        case ID_CHIP_BLANK_CHECK:
            return !s.running && CanBlankCheck(s.deviceCode);
        case ID_SPECIAL_FEATURES:
            return !s.running && s.activeHexDocument && s.modeByte < 254;
        case ID_CHIP_ERASE:
            return !s.running && s.programmable;
        case ID_SET_SECURITY_BITS:
            return !s.running && CanSetSecurityBits(s.deviceCode);
        case ID_SET_MODE:
        case ID_BOARD_INFO:
        case ID_CLEAR_MESSAGES:
        case ID_VIEW_MESSAGES:
        case ID_VIEW_SETTINGS:
            return true;
        case ID_CHECK_CONNECTION:
            return false;
        case ID_EDIT_FILL:
            // Fill would change the bytes the programming thread is sending or comparing.
            return s.childActive && !s.activeDocumentInUse;
        case ID_EDIT_GOTO_ADDRESS:
            return s.childActive;
        case 57634:  // Copy
            return s.hasSelection;
        default:
            if (known != nullptr) {
                *known = false;
            }
            return false;
    }
}
