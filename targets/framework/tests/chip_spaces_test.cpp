// The four memory spaces of a single-chip target: names and sizes, host-copy reads cut at the
// end of a space, and the order of the checks a write begins with.
#include <gtest/gtest.h>

#include <cstring>

#include "simtarget/chip_spaces.h"

namespace {

using namespace chip_spaces;

class Spaces : public CChipSpaces, public ISegmentOwner {
public:
    Spaces() {
        m_sfrSpace = CMemorySegment::Create(0x100, this);
        m_program = CProgramMemory::Create(0x10000, this);
        m_internalRam = CMemorySegment::Create(0x100, this);
        m_externalData = CMemorySegment::Create(0, this);
    }
    void OutputMessage(int32_t, const char*) override {}
    CMemorySegment& Ram() { return *m_internalRam; }
};

TEST(ChipSpaces, NamesEachSpaceWithItsSizeAndRefusesOthers) {
    Spaces spaces;
    const char* name = nullptr;
    uint32_t size = 1;
    EXPECT_EQ(spaces.SpaceInfo(kSpaceExternalData, &name, &size), 1);
    EXPECT_STREQ(name, "External Data Ram");
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(spaces.SpaceInfo(kSpaceSfr, &name, &size), 1);
    EXPECT_STREQ(name, "Special Function Registers Memory");
    EXPECT_EQ(size, 0x100u);
    EXPECT_EQ(spaces.SpaceInfo(kMemorySpaceCount, &name, &size), 0);
    EXPECT_EQ(spaces.SpaceInfo(-1, nullptr, nullptr), 0);
}

TEST(ChipSpaces, ReadsTheHostCopyCutAtTheEndOfTheSpace) {
    Spaces spaces;
    const uint8_t bytes[] = {1, 2, 3, 4};
    spaces.Ram().WriteBlock(0xFC, 4, bytes);
    uint8_t buffer[8] = {};
    uint32_t read = 99;
    EXPECT_EQ(spaces.ReadHostCopy(false, 0xFC, buffer, 8, &read, kSpaceInternalRam),
              SIM_NOT_LOADED);
    EXPECT_EQ(read, 99u);
    EXPECT_EQ(spaces.ReadHostCopy(true, 0xFC, buffer, 8, &read, kSpaceInternalRam), SIM_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(std::memcmp(buffer, bytes, 4), 0);
    EXPECT_EQ(spaces.ReadHostCopy(true, 0x100, buffer, 1, &read, kSpaceInternalRam),
              SIM_OUT_OF_RANGE);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(spaces.ReadHostCopy(true, 0, buffer, 1, &read, kMemorySpaceCount), SIM_OUT_OF_RANGE);
}

TEST(ChipSpaces, ChecksAWriteForLoadThenSpaceThenLength) {
    uint32_t written = 99;
    EXPECT_EQ(CChipSpaces::BeginWrite(false, &written, -1, 2), SIM_NOT_LOADED);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(CChipSpaces::BeginWrite(true, nullptr, kMemorySpaceCount, 2), SIM_BAD_SPACE);
    EXPECT_EQ(CChipSpaces::BeginWrite(true, nullptr, kSpaceSfr, 2), SIM_BAD_LENGTH);
    EXPECT_EQ(CChipSpaces::BeginWrite(true, nullptr, kSpaceSfr, 1), SIM_OK);
    EXPECT_EQ(CChipSpaces::BeginWrite(true, nullptr, kSpaceInternalRam, 2), SIM_OK);
}

}  // namespace
