// The PIC configuration layouts and their translation to and from dialog controls.
#include "tarnel/images/pic_config.h"

#include "tarnel/images/pic_config_controls.h"

const ConfigLayout& Pic16F877ALayout() {
    static const ConfigLayout layout{
        {
            {0, 2, true, IDC_PIC16_WDT},
            {0, 3, false, IDC_PIC16_PWRT},
            {0, 6, true, IDC_PIC16_BOREN},
            {0, 7, true, IDC_PIC16_LVP},
            {0, 8, false, IDC_PIC16_CPD},
            {0, 11, false, IDC_PIC16_DEBUG},
            {0, 13, false, IDC_PIC16_CP},
        },
        {
            {0, 0, 2, {IDC_PIC16_OSC_LP, IDC_PIC16_OSC_XT, IDC_PIC16_OSC_HS, IDC_PIC16_OSC_RC}},
            {0,
             9,
             2,
             {IDC_PIC16_WRT_0FFF, IDC_PIC16_WRT_07FF, IDC_PIC16_WRT_00FF, IDC_PIC16_WRT_OFF}},
        },
        1,
        {0x1030},  // unimplemented bits 12, 5 and 4 read as 1
    };
    return layout;
}

const ConfigLayout& Pic18F4xxLayout() {
    static const ConfigLayout layout{
        {
            {0, 5, true, IDC_PIC18_OSCSEN},  // CONFIG1H
            {2, 0, true, IDC_PIC18_WDT},     // CONFIG2H
            {3, 0, true, IDC_PIC18_PWRT},    // CONFIG2L
            {3, 1, true, IDC_PIC18_BOREN},   //
            {4, 0, true, IDC_PIC18_CCP2MX},  // CONFIG3H
            {7, 0, true, IDC_PIC18_STVR},    // CONFIG4L
            {7, 2, true, IDC_PIC18_LVP},     //
            {7, 7, true, IDC_PIC18_DEBUG},   //
            {8, 7, true, IDC_PIC18_CPD},     // CONFIG5H
            {8, 6, true, IDC_PIC18_CPB},     //
            {9, 0, true, IDC_PIC18_CP0},     // CONFIG5L
            {9, 1, true, IDC_PIC18_CP1},     //
            {9, 2, true, IDC_PIC18_CP2},     //
            {9, 3, true, IDC_PIC18_CP3},     //
            {10, 7, true, IDC_PIC18_WRTD},   // CONFIG6H
            {10, 6, true, IDC_PIC18_WRTB},   //
            {10, 5, true, IDC_PIC18_WRTC},   //
            {11, 0, true, IDC_PIC18_WRT0},   // CONFIG6L
            {11, 1, true, IDC_PIC18_WRT1},   //
            {11, 2, true, IDC_PIC18_WRT2},   //
            {11, 3, true, IDC_PIC18_WRT3},   //
            {12, 6, true, IDC_PIC18_EBTRB},  // CONFIG7H
            {13, 0, true, IDC_PIC18_EBTR0},  // CONFIG7L
            {13, 1, true, IDC_PIC18_EBTR1},  //
            {13, 2, true, IDC_PIC18_EBTR2},  //
            {13, 3, true, IDC_PIC18_EBTR3},  //
        },
        {
            {0,
             0,
             3,
             {IDC_PIC18_OSC_LP, IDC_PIC18_OSC_XT, IDC_PIC18_OSC_HS, IDC_PIC18_OSC_RC,
              IDC_PIC18_OSC_DIV4, IDC_PIC18_OSC_ECIO, IDC_PIC18_OSC_HSPLL, IDC_PIC18_OSC_RCIO}},
            {2,
             1,
             3,
             {IDC_PIC18_WDTPS_1, IDC_PIC18_WDTPS_2, IDC_PIC18_WDTPS_4, IDC_PIC18_WDTPS_8,
              IDC_PIC18_WDTPS_16, IDC_PIC18_WDTPS_32, IDC_PIC18_WDTPS_64, IDC_PIC18_WDTPS_128}},
            {3, 2, 2, {IDC_PIC18_BORV_45, IDC_PIC18_BORV_42, IDC_PIC18_BORV_27, IDC_PIC18_BORV_20}},
        },
        kPic18ConfigCells,
        std::vector<uint16_t>(kPic18ConfigCells, 0),
    };
    return layout;
}

ConfigControls DecodeConfig(const ConfigLayout& layout, const std::vector<uint16_t>& regs) {
    ConfigControls controls;
    auto reg = [&](int index) -> unsigned {
        return index < static_cast<int>(regs.size()) ? regs[static_cast<size_t>(index)] : 0u;
    };
    for (const ConfigBox& box : layout.boxes) {
        const bool set = ((reg(box.reg) >> box.bit) & 1u) != 0;
        controls[box.controlId] = set == box.checkedWhenSet;
    }
    for (const ConfigChoice& choice : layout.choices) {
        const unsigned count = 1u << choice.width;
        const unsigned value = (reg(choice.reg) >> choice.shift) & (count - 1);
        for (unsigned v = 0; v < count; ++v) {
            controls[choice.controlIds[v]] = v == value;
        }
    }
    return controls;
}

std::vector<uint16_t> EncodeConfig(const ConfigLayout& layout, const ConfigControls& controls) {
    std::vector<uint16_t> regs(static_cast<size_t>(layout.regCount), 0);
    for (size_t i = 0; i < regs.size() && i < layout.fixedOnes.size(); ++i) {
        regs[i] = layout.fixedOnes[i];
    }
    auto checked = [&](int id) {
        auto it = controls.find(id);
        return it != controls.end() && it->second;
    };
    for (const ConfigBox& box : layout.boxes) {
        if (checked(box.controlId) == box.checkedWhenSet) {
            regs[static_cast<size_t>(box.reg)] |= static_cast<uint16_t>(1u << box.bit);
        }
    }
    for (const ConfigChoice& choice : layout.choices) {
        const unsigned count = 1u << choice.width;
        for (unsigned v = 0; v < count; ++v) {
            if (checked(choice.controlIds[v])) {
                regs[static_cast<size_t>(choice.reg)] |= static_cast<uint16_t>(v << choice.shift);
                break;
            }
        }
    }
    return regs;
}

bool ReadPic16ConfigWord(const ImageArea& special, uint16_t& word) {
    if (special.Size() < kPic16ConfigCell + 2) {
        return false;
    }
    word = static_cast<uint16_t>(special.cells[kPic16ConfigCell] << 8 |
                                 special.cells[kPic16ConfigCell + 1]);
    return true;
}

bool WritePic16ConfigWord(ImageArea& special, uint16_t word) {
    if (special.Size() < kPic16ConfigCell + 2) {
        return false;
    }
    special.cells[kPic16ConfigCell] = static_cast<uint8_t>(word >> 8);
    special.cells[kPic16ConfigCell + 1] = static_cast<uint8_t>(word & 0xFF);
    special.marks[kPic16ConfigCell] = kMarkData;
    special.marks[kPic16ConfigCell + 1] = kMarkData;
    return true;
}

const std::vector<int>& Pic18WrittenCells() {
    static const std::vector<int> cells{0, 2, 3, 4, 7, 8, 9, 10, 11, 12, 13};
    return cells;
}

std::vector<uint16_t> ReadPic18Config(const ImageArea& special) {
    std::vector<uint16_t> regs(kPic18ConfigCells, 0);
    for (size_t cell = 0; cell < regs.size() && cell < special.Size(); ++cell) {
        regs[cell] = special.cells[cell];
    }
    return regs;
}

int WritePic18Config(ImageArea& special, const std::vector<uint16_t>& regs) {
    int written = 0;
    for (int cell : Pic18WrittenCells()) {
        const size_t index = static_cast<size_t>(cell);
        if (index >= special.Size() || index >= regs.size()) {
            continue;
        }
        special.cells[index] = static_cast<uint8_t>(regs[index]);
        special.marks[index] = kMarkData;
        ++written;
    }
    return written;
}
