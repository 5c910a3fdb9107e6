// The target base's breakpoint table: indices, growth, duplicates, refusals and free entries.
#include <gtest/gtest.h>

#include <vector>

#include "fake_target.h"

namespace {

const uint8_t kNops[] = {0x00, 0x00, 0x00, 0x00};

// A target that refuses breakpoints at chosen addresses and records what it was told.
class RecordingTarget : public CFakeTarget {
public:
    RecordingTarget() : CFakeTarget("") {}
    bool ValidateBreakpoint(int32_t index, uint32_t address) override {
        validated.push_back(index);
        return address != refused;
    }
    bool BreakpointRemoved(int32_t index) override {
        removed.push_back(index);
        return true;
    }
    uint32_t refused = 0xDEAD;
    std::vector<int32_t> validated;
    std::vector<int32_t> removed;
};

class BreakpointTable : public ::testing::Test {
protected:
    void Load() { ASSERT_TRUE(target.LoadImage(0, kNops, sizeof kNops)); }
    int32_t Add(uint32_t address) {
        int32_t index = -1;
        EXPECT_EQ(target.AddBreakpoint(address, &index), SIM_OK) << address;
        return index;
    }
    uint32_t AddressOf(int32_t index) {
        uint32_t address = 0;
        uint8_t enabled = 0;
        EXPECT_EQ(target.GetBreakpoint(index, &address, &enabled), SIM_OK);
        return address;
    }
    bool EnabledOf(int32_t index) {
        uint32_t address = 0;
        uint8_t enabled = 0;
        EXPECT_EQ(target.GetBreakpoint(index, &address, &enabled), SIM_OK);
        return enabled != 0;
    }
    RecordingTarget target;
};

TEST_F(BreakpointTable, AddingWorksBeforeLoadingAndIndicesStartAtOne) {
    EXPECT_EQ(target.GetMaxBreakpoints(), 2147483647);
    EXPECT_EQ(Add(0x100), 1);
    EXPECT_EQ(Add(0x200), 2);
    EXPECT_EQ(target.validated, (std::vector<int32_t>{1, 2}));
    // Everything else about the table waits for a program.
    uint32_t address = 0;
    uint8_t enabled = 0;
    EXPECT_EQ(target.GetBreakpoint(1, &address, &enabled), SIM_NOT_LOADED);
    EXPECT_EQ(target.EnableBreakpoint(1), SIM_NOT_LOADED);
    EXPECT_EQ(target.DisableBreakpoint(1), SIM_NOT_LOADED);
    EXPECT_EQ(target.RemoveBreakpoint(1), SIM_NOT_LOADED);
    EXPECT_EQ(target.DisableAllBreakpoints(), SIM_NOT_LOADED);
    EXPECT_EQ(target.RemoveAllBreakpoints(), SIM_NOT_LOADED);
    EXPECT_EQ(target.GetBreakpointCount(), 2);
}

TEST_F(BreakpointTable, AnAddressAlreadyInTheTableIsADuplicateEvenWhenDisabled) {
    Load();
    Add(0x100);
    ASSERT_EQ(target.DisableBreakpoint(1), SIM_OK);
    int32_t index = 77;
    EXPECT_EQ(target.AddBreakpoint(0x100, &index), SIM_DUPLICATE_BREAKPOINT);
    EXPECT_EQ(index, 77);
    EXPECT_EQ(target.GetBreakpointCount(), 1);
}

TEST_F(BreakpointTable, TheTwentyFirstBreakpointGrowsTheTableByTwentyKeepingTheFirst) {
    Load();
    for (uint32_t i = 0; i < 20; ++i) {
        Add(0x1000 + i);
    }
    ASSERT_EQ(target.DisableBreakpoint(7), SIM_OK);
    EXPECT_EQ(target.GetBreakpointCapacity(), 20);
    EXPECT_EQ(Add(0x2000), 21);
    EXPECT_EQ(target.GetBreakpointCapacity(), 40);
    for (int32_t i = 1; i <= 20; ++i) {
        EXPECT_EQ(AddressOf(i), 0x1000u + static_cast<uint32_t>(i) - 1);
        EXPECT_EQ(EnabledOf(i), i != 7) << i;
    }
    EXPECT_EQ(AddressOf(21), 0x2000u);
    // The new entries behind the used ones are free.
    EXPECT_EQ(target.GetBreakpointAddress(21), 0xFFFFFFFFu);
    EXPECT_FALSE(target.IsBreakpointEnabled(39));
}

TEST_F(BreakpointTable, IndicesOutsideOneToCountAreBadAndChangeNothing) {
    Load();
    Add(0x10);
    Add(0x20);
    Add(0x30);
    for (int32_t bad : {0, 4, -1}) {
        uint32_t address = 0;
        uint8_t enabled = 0;
        EXPECT_EQ(target.GetBreakpoint(bad, &address, &enabled), SIM_BAD_INDEX) << bad;
        EXPECT_EQ(target.EnableBreakpoint(bad), SIM_BAD_INDEX);
        EXPECT_EQ(target.DisableBreakpoint(bad), SIM_BAD_INDEX);
        EXPECT_EQ(target.RemoveBreakpoint(bad), SIM_BAD_INDEX);
    }
    EXPECT_TRUE(target.removed.empty());
    EXPECT_EQ(target.GetBreakpointCount(), 3);
}

TEST_F(BreakpointTable, RemovingMovesTheLaterBreakpointsDownAndFreesTheLastEntry) {
    Load();
    Add(0x10);
    Add(0x20);
    Add(0x30);
    ASSERT_EQ(target.DisableBreakpoint(3), SIM_OK);
    ASSERT_EQ(target.RemoveBreakpoint(2), SIM_OK);
    EXPECT_EQ(target.removed, (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(target.GetBreakpointCount(), 2);
    EXPECT_EQ(AddressOf(2), 0x30u);
    EXPECT_FALSE(EnabledOf(2));
    EXPECT_EQ(target.GetBreakpointAddress(2), 0xFFFFFFFFu);
    EXPECT_FALSE(target.IsBreakpointEnabled(2));
    EXPECT_EQ(target.RemoveBreakpoint(3), SIM_BAD_INDEX);
}

TEST_F(BreakpointTable, ARefusedBreakpointIsNotAddedAndARefusedEnableKeepsItDisabled) {
    Load();
    target.refused = 0x40;
    int32_t index = 0;
    EXPECT_EQ(target.AddBreakpoint(0x40, &index), SIM_BAD_INDEX);
    EXPECT_EQ(target.GetBreakpointCount(), 0);

    target.refused = 0xDEAD;
    Add(0x40);
    ASSERT_EQ(target.DisableBreakpoint(1), SIM_OK);
    target.refused = 0x40;
    EXPECT_EQ(target.EnableBreakpoint(1), SIM_BAD_INDEX);
    EXPECT_FALSE(EnabledOf(1));
    target.refused = 0xDEAD;
    EXPECT_EQ(target.EnableBreakpoint(1), SIM_OK);
    EXPECT_TRUE(EnabledOf(1));
}

TEST_F(BreakpointTable, OnlyEnabledEntriesMatchAnAddressAndMinusOneNeverDoes) {
    Load();
    Add(0x10);
    Add(0xFFFFFFFF);
    Add(0x30);
    EXPECT_TRUE(target.IsBreakpointAt(0x10));
    EXPECT_FALSE(target.IsBreakpointAt(0xFFFFFFFF));
    EXPECT_EQ(target.FindEnabledBreakpoint(0x30), 3);
    ASSERT_EQ(target.DisableBreakpoint(1), SIM_OK);
    EXPECT_FALSE(target.IsBreakpointAt(0x10));
    EXPECT_EQ(target.FindEnabledBreakpoint(0x10), 0);
}

TEST_F(BreakpointTable, DisableAllKeepsTheAddressesAndRemoveAllEmptiesTheTable) {
    Load();
    for (uint32_t i = 0; i < 25; ++i) {
        Add(i);
    }
    ASSERT_EQ(target.DisableAllBreakpoints(), SIM_OK);
    EXPECT_TRUE(target.removed.empty());
    EXPECT_EQ(AddressOf(25), 24u);
    EXPECT_FALSE(EnabledOf(25));
    EXPECT_FALSE(target.IsBreakpointAt(3));

    ASSERT_EQ(target.RemoveAllBreakpoints(), SIM_OK);
    EXPECT_EQ(target.GetBreakpointCount(), 0);
    EXPECT_EQ(target.GetBreakpointCapacity(), 0);
    uint32_t address = 0;
    uint8_t enabled = 0;
    EXPECT_EQ(target.GetBreakpoint(1, &address, &enabled), SIM_BAD_INDEX);
    // The table grows again from nothing by the same step.
    EXPECT_EQ(Add(5), 1);
    EXPECT_EQ(target.GetBreakpointCapacity(), 20);
}

}  // namespace
