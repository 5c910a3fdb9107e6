// Tests of the PIC configuration words as dialog controls and of their place in the special area.
#include "tarnel/images/pic_config.h"

#include <gtest/gtest.h>

#include "tarnel/images/pic_config_controls.h"

namespace {

ImageArea SpecialArea(size_t size, uint8_t fill) {
    ImageArea area;
    area.Allocate(size);
    std::fill(area.cells.begin(), area.cells.end(), fill);
    return area;
}

TEST(Pic16Config, ShowsHsOscillatorBrownOutAndWriteProtectionOffOfATypicalWord) {
    // HS oscillator (2), watchdog and power-up timer bits clear, brown-out set, bits 10-9 set,
    // unimplemented bits 12, 5, 4 and code protection bit 13 set.
    const uint16_t word = 0x3000 | 0x0600 | 0x0030 | 0x0040 | 0x0002;
    ConfigControls controls = DecodeConfig(Pic16F877ALayout(), {word});
    EXPECT_TRUE(controls[IDC_PIC16_OSC_HS]);
    EXPECT_FALSE(controls[IDC_PIC16_OSC_RC]);
    EXPECT_FALSE(controls[IDC_PIC16_OSC_XT]);
    EXPECT_FALSE(controls[IDC_PIC16_OSC_LP]);
    EXPECT_TRUE(controls[IDC_PIC16_BOREN]);
    EXPECT_TRUE(controls[IDC_PIC16_PWRT]);  // enabled when its bit is 0
    EXPECT_FALSE(controls[IDC_PIC16_WDT]);
    EXPECT_TRUE(controls[IDC_PIC16_WRT_OFF]);
    EXPECT_FALSE(controls[IDC_PIC16_CP]);    // bit 13 set: not protected
    EXPECT_TRUE(controls[IDC_PIC16_CPD]);    // bit 8 clear: data protected
    EXPECT_TRUE(controls[IDC_PIC16_DEBUG]);  // bit 11 clear: debugger on
    EXPECT_EQ(EncodeConfig(Pic16F877ALayout(), controls)[0], word);
}

TEST(Pic16Config, RebuildsTheWholeWordFromTheControlsWithUnimplementedBitsSet) {
    for (unsigned word = 0; word < 0x4000; word += 0x35) {
        const uint16_t implemented = static_cast<uint16_t>(word & ~0x1030u);
        auto controls = DecodeConfig(Pic16F877ALayout(), {static_cast<uint16_t>(word)});
        EXPECT_EQ(EncodeConfig(Pic16F877ALayout(), controls)[0], implemented | 0x1030)
            << std::hex << word;
    }
    ConfigControls none;  // no radio button checked: both fields 0
    EXPECT_EQ(EncodeConfig(Pic16F877ALayout(), none)[0],
              0x1030 | 0x0100 | 0x0008 | 0x0800 | 0x2000);
}

TEST(Pic16Config, TheWordStandsHighByteFirstInCells14And15AndOnlyWhereItFits) {
    ImageArea special = SpecialArea(16, 0xFF);
    special.marks[14] = kMarkEmpty;
    ASSERT_TRUE(WritePic16ConfigWord(special, 0x3F72));
    EXPECT_EQ(special.cells[14], 0x3F);
    EXPECT_EQ(special.cells[15], 0x72);
    EXPECT_EQ(special.marks[14], kMarkData);
    EXPECT_EQ(special.marks[15], kMarkData);
    uint16_t word = 0;
    ASSERT_TRUE(ReadPic16ConfigWord(special, word));
    EXPECT_EQ(word, 0x3F72);

    ImageArea shortArea = SpecialArea(15, 0x11);
    EXPECT_FALSE(ReadPic16ConfigWord(shortArea, word));
    EXPECT_FALSE(WritePic16ConfigWord(shortArea, 0));
    EXPECT_EQ(shortArea.cells[14], 0x11);
}

TEST(Pic18Config, DecodesEveryFieldFromItsRegister) {
    std::vector<uint16_t> regs(14, 0);
    regs[0] = 0x20 | 6;         // CONFIG1H: OSCSEN option, HS with PLL
    regs[2] = 5 << 1;           // CONFIG2H: postscale 1:32, watchdog off
    regs[3] = 0x02 | (1 << 2);  // CONFIG2L: brown-out on at 4.2V
    regs[7] = 0x84;             // CONFIG4L: debugger disabled, LVP on
    regs[9] = 0x05;             // CONFIG5L: blocks 0 and 2 not protected
    regs[12] = 0x40;            // CONFIG7H
    auto controls = DecodeConfig(Pic18F4xxLayout(), regs);
    EXPECT_TRUE(controls[IDC_PIC18_OSCSEN]);
    EXPECT_TRUE(controls[IDC_PIC18_OSC_HSPLL]);
    EXPECT_FALSE(controls[IDC_PIC18_OSC_HS]);
    EXPECT_TRUE(controls[IDC_PIC18_WDTPS_32]);
    EXPECT_FALSE(controls[IDC_PIC18_WDT]);
    EXPECT_TRUE(controls[IDC_PIC18_BOREN]);
    EXPECT_FALSE(controls[IDC_PIC18_PWRT]);
    EXPECT_TRUE(controls[IDC_PIC18_BORV_42]);
    EXPECT_TRUE(controls[IDC_PIC18_DEBUG]);
    EXPECT_TRUE(controls[IDC_PIC18_LVP]);
    EXPECT_FALSE(controls[IDC_PIC18_STVR]);
    EXPECT_TRUE(controls[IDC_PIC18_CP0]);
    EXPECT_FALSE(controls[IDC_PIC18_CP1]);
    EXPECT_TRUE(controls[IDC_PIC18_CP2]);
    EXPECT_TRUE(controls[IDC_PIC18_EBTRB]);
    EXPECT_FALSE(controls[IDC_PIC18_EBTR0]);
}

TEST(Pic18Config, OkRebuildsElevenCellsAndLeavesConfig1LConfig3LAndConfig4HAlone) {
    ImageArea special = SpecialArea(16, 0xFF);
    std::fill(special.marks.begin(), special.marks.end(), kMarkEmpty);
    auto regs = ReadPic18Config(special);
    auto controls = DecodeConfig(Pic18F4xxLayout(), regs);
    ASSERT_EQ(WritePic18Config(special, EncodeConfig(Pic18F4xxLayout(), controls)), 11);
    // Bits without a control come back as 0.
    EXPECT_EQ(special.cells[0], 0x27);
    EXPECT_EQ(special.cells[2], 0x0F);
    EXPECT_EQ(special.cells[3], 0x0F);
    EXPECT_EQ(special.cells[4], 0x01);
    EXPECT_EQ(special.cells[7], 0x85);
    EXPECT_EQ(special.cells[8], 0xC0);
    EXPECT_EQ(special.cells[9], 0x0F);
    EXPECT_EQ(special.cells[10], 0xE0);
    EXPECT_EQ(special.cells[11], 0x0F);
    EXPECT_EQ(special.cells[12], 0x40);
    EXPECT_EQ(special.cells[13], 0x0F);
    for (int untouched : {1, 5, 6, 14, 15}) {
        EXPECT_EQ(special.cells[static_cast<size_t>(untouched)], 0xFF) << untouched;
        EXPECT_EQ(special.marks[static_cast<size_t>(untouched)], kMarkEmpty) << untouched;
    }
    for (int cell : Pic18WrittenCells()) {
        EXPECT_EQ(special.marks[static_cast<size_t>(cell)], kMarkData) << cell;
    }
}

TEST(Pic18Config, AShortSpecialAreaIsReadAndWrittenOnlyWhereItHasCells) {
    ImageArea special = SpecialArea(4, 0x21);
    auto regs = ReadPic18Config(special);
    EXPECT_EQ(regs[3], 0x21);
    EXPECT_EQ(regs[4], 0);
    EXPECT_EQ(WritePic18Config(special, std::vector<uint16_t>(14, 0)), 3);  // cells 0, 2, 3
    EXPECT_EQ(special.cells[1], 0x21);
}

}  // namespace
