// The main frame's command-enable rules: idle and while the programming thread runs, and over
// every chip of the shipped table.
#include <gtest/gtest.h>

#include <string>

#include "tarnel/images/chip_table.h"
#include "tarnel/frame_rules/frame_command_ids.h"
#include "tarnel/frame_rules/frame_commands.h"

namespace {

constexpr int kCopy = 57634;

FrameCommandState WithChip(const char* chip) {
    FrameCommandState state;
    SetCurrentChip(state, chip);
    return state;
}

// A .hex image of the chip is active, with cells selected.
FrameCommandState WithHexImage(const char* chip) {
    FrameCommandState state = WithChip(chip);
    state.activeDocument = state.activeHexDocument = state.childActive = true;
    state.hasSelection = true;
    return state;
}

bool Enabled(unsigned id, const FrameCommandState& state) {
    return IsFrameCommandEnabled(id, state);
}

TEST(FrameCommandsTest, IdleWithAnImageOfAProgrammableChip) {
    const FrameCommandState s = WithHexImage("Brontal-P: PIC16F877A");
    for (int id : {ID_CHIP_READ, ID_CHIP_WRITE, ID_CHIP_VERIFY, ID_SPECIAL_FEATURES, ID_CHIP_ERASE,
                   ID_SET_MODE, ID_BOARD_INFO, ID_CLEAR_MESSAGES, ID_VIEW_MESSAGES,
                   ID_VIEW_SETTINGS, ID_EDIT_FILL, ID_EDIT_GOTO_ADDRESS, kCopy}) {
        EXPECT_TRUE(Enabled(id, s)) << id;
    }
    for (int id :
         {ID_AUTO_SEQUENCE, ID_CHIP_BLANK_CHECK, ID_SET_SECURITY_BITS, ID_CHECK_CONNECTION}) {
        EXPECT_FALSE(Enabled(id, s)) << id;
    }
}

TEST(FrameCommandsTest, WhileRunningOnlyTheWindowAndModeCommandsStayEnabled) {
    FrameCommandState s = WithHexImage("Brontal-A2(22 MHZ): (A)T89C51RX2");
    ASSERT_TRUE(Enabled(ID_SET_SECURITY_BITS, s));
    s.running = true;
    for (int id :
         {ID_CHIP_READ, ID_CHIP_WRITE, ID_CHIP_VERIFY, ID_AUTO_SEQUENCE, ID_CHIP_BLANK_CHECK,
          ID_SPECIAL_FEATURES, ID_CHIP_ERASE, ID_SET_SECURITY_BITS, ID_CHECK_CONNECTION}) {
        EXPECT_FALSE(Enabled(id, s)) << id;
    }
    for (int id : {ID_SET_MODE, ID_BOARD_INFO, ID_CLEAR_MESSAGES, ID_VIEW_MESSAGES,
                   ID_VIEW_SETTINGS, ID_EDIT_FILL, ID_EDIT_GOTO_ADDRESS, kCopy}) {
        EXPECT_TRUE(Enabled(id, s)) << id;
    }
}

TEST(FrameCommandsTest, FillIsOffWhileTheProgrammingThreadUsesTheActiveImage) {
    FrameCommandState s = WithHexImage("Brontal-A: AT89S8252");
    s.running = true;
    s.activeDocumentInUse = true;
    EXPECT_FALSE(Enabled(ID_EDIT_FILL, s));
    for (int id : {ID_EDIT_GOTO_ADDRESS, kCopy, ID_VIEW_MESSAGES}) {
        EXPECT_TRUE(Enabled(id, s)) << id;
    }
}

TEST(FrameCommandsTest, WithoutADocumentWriteVerifyAndTheEditCommandsAreOff) {
    const FrameCommandState s = WithChip("Brontal-A: AT89S8252");
    EXPECT_TRUE(Enabled(ID_CHIP_READ, s));
    EXPECT_TRUE(Enabled(ID_CHIP_ERASE, s));
    for (int id : {ID_CHIP_WRITE, ID_CHIP_VERIFY, ID_SPECIAL_FEATURES, ID_EDIT_FILL,
                   ID_EDIT_GOTO_ADDRESS, kCopy}) {
        EXPECT_FALSE(Enabled(id, s)) << id;
    }
}

TEST(FrameCommandsTest, NoChipHasNoDeviceCodeAndNothingToErase) {
    const FrameCommandState none = WithChip("");
    EXPECT_EQ(none.deviceCode, -1);
    EXPECT_EQ(none.modeByte, 255);
    EXPECT_FALSE(Enabled(ID_CHIP_ERASE, none));
    EXPECT_FALSE(Enabled(ID_CHIP_BLANK_CHECK, none));
    EXPECT_TRUE(Enabled(ID_CHIP_READ, none));
    EXPECT_EQ(WithChip("brontal-p: pic16f877a").deviceCode, -1);
    EXPECT_EQ(WithChip(nullptr).deviceCode, -1);
}

TEST(FrameCommandsTest, OverTheShippedTableBlankCheckAutoSequenceAndCheckConnectionStayOff) {
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        const char* name = ChipTable::GetEntry(i)->chipName;
        const FrameCommandState s = WithHexImage(name);
        EXPECT_FALSE(Enabled(ID_CHIP_BLANK_CHECK, s)) << name;
        EXPECT_FALSE(Enabled(ID_AUTO_SEQUENCE, s)) << name;
        EXPECT_FALSE(Enabled(ID_CHECK_CONNECTION, s)) << name;
        const int code = s.deviceCode;
        EXPECT_EQ(Enabled(ID_SET_SECURITY_BITS, s), code == 167 || code == 171) << name;
        EXPECT_EQ(Enabled(ID_SPECIAL_FEATURES, s), code != 253 && code != 254 && code != 162)
            << name;
        EXPECT_EQ(Enabled(ID_CHIP_ERASE, s), ChipTable::IsProgrammable(name)) << name;
    }
}

TEST(FrameCommandsTest, BlankCheckAndAutoSequenceFollowTheirDeviceCodes) {
    FrameCommandState s = WithHexImage("Brontal-P: PIC16F877A");
    for (int code : {0, 8, 11, 64}) {
        s.deviceCode = code;
        EXPECT_TRUE(Enabled(ID_CHIP_BLANK_CHECK, s)) << code;
    }
    for (int code : {9, 10, 65, 169, -1}) {
        s.deviceCode = code;
        EXPECT_FALSE(Enabled(ID_CHIP_BLANK_CHECK, s)) << code;
    }
    s.deviceCode = 169;
    EXPECT_TRUE(Enabled(ID_AUTO_SEQUENCE, s));
    s.activeDocument = false;
    EXPECT_FALSE(Enabled(ID_AUTO_SEQUENCE, s));
    s.deviceCode = 170;
    EXPECT_TRUE(Enabled(ID_SET_SECURITY_BITS, s));
}

TEST(FrameCommandsTest, SpecialFeaturesWantsAHexImageAndAModeBelow254) {
    FrameCommandState s = WithHexImage("Brontal-A: AT89S8252");
    EXPECT_TRUE(Enabled(ID_SPECIAL_FEATURES, s));
    s.activeHexDocument = false;  // a .bin image
    EXPECT_FALSE(Enabled(ID_SPECIAL_FEATURES, s));
    s.activeHexDocument = true;
    s.modeByte = 254;
    EXPECT_FALSE(Enabled(ID_SPECIAL_FEATURES, s));
    s.modeByte = 253;
    EXPECT_TRUE(Enabled(ID_SPECIAL_FEATURES, s));
}

TEST(FrameCommandsTest, CommandsOfOtherPartsOfTheProgramAreNotDecidedHere) {
    bool known = true;
    EXPECT_FALSE(IsFrameCommandEnabled(57603, WithHexImage("Brontal-A: AT89S8252"), &known));
    EXPECT_FALSE(known);
    IsFrameCommandEnabled(ID_CHECK_CONNECTION, FrameCommandState(), &known);
    EXPECT_TRUE(known);
}

}  // namespace
