// The configuration bits of the PIC chips as the check boxes and radio buttons of their dialogs,
// and where the configuration words stand in an image's special area.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "tarnel/images/memory_image.h"

// Checked state of every control of a configuration dialog, by control id.
using ConfigControls = std::map<int, bool>;

// A check box standing for one bit of a configuration register.
struct ConfigBox {
    int reg;
    int bit;
    bool checkedWhenSet;  // false: the box is checked when the bit is 0
    int controlId;
};

// A group of radio buttons standing for a field of a register: controlIds[value] is checked.
struct ConfigChoice {
    int reg;
    int shift;
    int width;
    int controlIds[8];
};

// The controls of one dialog over its configuration registers. Bits that no control covers are
// written as fixedOnes gives them (else 0).
struct ConfigLayout {
    std::vector<ConfigBox> boxes;
    std::vector<ConfigChoice> choices;
    int regCount;
    std::vector<uint16_t> fixedOnes;  // per register
};

// PIC16F877A: register 0 is the configuration word (bits 12, 5 and 4 always 1).
const ConfigLayout& Pic16F877ALayout();
// PIC18F4x2/8: register n is special-area cell n (CONFIG1H at 0 ... CONFIG7L at 13).
const ConfigLayout& Pic18F4xxLayout();

// Every control of the layout checked or not by the registers; in each radio group exactly the
// button of the field's value is checked.
ConfigControls DecodeConfig(const ConfigLayout& layout, const std::vector<uint16_t>& regs);
// Registers rebuilt from nothing by the controls; a radio group with no button checked gives 0.
std::vector<uint16_t> EncodeConfig(const ConfigLayout& layout, const ConfigControls& controls);

// The PIC16 configuration word: cells 14 (high byte) and 15 (low byte) of the special area.
constexpr int kPic16ConfigCell = 14;
// False (nothing read) when the area cannot hold both cells.
bool ReadPic16ConfigWord(const ImageArea& special, uint16_t& word);
// Writes both cells and marks them as data; false (nothing written) when they do not fit.
bool WritePic16ConfigWord(ImageArea& special, uint16_t word);

// The PIC18 configuration registers: cells 0 to 13 of the special area.
constexpr int kPic18ConfigCells = 14;
// The cells the dialog rebuilds; CONFIG1L, CONFIG3L and CONFIG4H (cells 1, 5, 6) stay as they are.
const std::vector<int>& Pic18WrittenCells();
// Registers from the cells that the area holds (others read as 0).
std::vector<uint16_t> ReadPic18Config(const ImageArea& special);
// Writes the rebuilt cells that the area holds and marks them as data; the number written.
int WritePic18Config(ImageArea& special, const std::vector<uint16_t>& regs);
