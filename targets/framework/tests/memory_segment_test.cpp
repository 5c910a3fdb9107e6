// Memory segments: bounds (without wrap-around), the bad-address message, the loaded range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simtarget/memory_segment.h"

namespace {

class MessageLog : public ISegmentOwner {
public:
    void OutputMessage(int32_t level, const char* text) override {
        lines.push_back(std::to_string(level) + " " + text);
    }
    std::vector<std::string> lines;
};

TEST(MemorySegment, StartsZeroFilledAndChecksEveryAddressAgainstItsSize) {
    MessageLog log;
    auto segment = CMemorySegment::Create(256, &log);
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->GetSize(), 256u);
    EXPECT_EQ(segment->ReadByte(17), 0);
    EXPECT_TRUE(segment->WriteByte(255, 0x5A));
    EXPECT_EQ(segment->ReadByte(255), 0x5A);
    EXPECT_TRUE(log.lines.empty());

    EXPECT_FALSE(segment->WriteByte(256, 1));
    EXPECT_EQ(segment->ReadByte(256), 0);
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "0 ERROR: trying to access mem segment at address 256. Mem size=256.");
    EXPECT_EQ(log.lines[1], log.lines[0]);
    EXPECT_EQ(segment->CheckedPointer(256), nullptr);
    EXPECT_EQ(segment->CheckedPointer(255), segment->PointerAt(255));
}

TEST(MemorySegment, RangesEndAtTheSizeAndNeverWrapAroundTheAddressSpace) {
    auto segment = CMemorySegment::Create(256, nullptr);
    ASSERT_NE(segment, nullptr);
    EXPECT_TRUE(segment->IsRangeValid(250, 6));
    EXPECT_FALSE(segment->IsRangeValid(250, 7));
    EXPECT_TRUE(segment->IsRangeValid(256, 0));
    EXPECT_FALSE(segment->IsRangeValid(0xFFFFFFFF, 2));
    EXPECT_FALSE(segment->IsRangeValid(0xFFFFFF00, 0x100));
    EXPECT_FALSE(segment->IsRangeValid(1, 0xFFFFFFFF));
    EXPECT_EQ(segment->CheckedPointer(0xFFFFFFF0, 0x20), nullptr);

    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(segment->WriteBlock(0xFFFFFFFC, 8, bytes));
    EXPECT_FALSE(segment->WriteBlock(252, 8, bytes));
    EXPECT_EQ(segment->ReadByte(252), 0);  // a refused block writes nothing
    EXPECT_TRUE(segment->WriteBlock(248, 8, bytes));
    EXPECT_EQ(segment->ReadByte(255), 8);
}

TEST(MemorySegment, AnEmptySegmentFailsQuietly) {
    MessageLog log;
    CMemorySegment segment(0, &log);
    EXPECT_EQ(segment.ReadByte(0), 0);
    EXPECT_FALSE(segment.WriteByte(0, 1));
    EXPECT_EQ(segment.CheckedPointer(0), nullptr);
    EXPECT_TRUE(log.lines.empty());
}

TEST(MemorySegment, FillAndAssignReplaceTheContentsGrowingTheSpaceWhenNeeded) {
    auto segment = CMemorySegment::Create(4, nullptr);
    ASSERT_NE(segment, nullptr);
    segment->Fill(0xFF);
    EXPECT_EQ(segment->ReadByte(3), 0xFF);
    const uint8_t two[2] = {0x11, 0x22};
    ASSERT_TRUE(segment->Assign(two, 2));
    EXPECT_EQ(segment->GetSize(), 4u);
    EXPECT_EQ(segment->ReadByte(1), 0x22);
    EXPECT_EQ(segment->ReadByte(2), 0xFF);

    const uint8_t six[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(segment->Assign(six, 6));
    uint8_t* base = nullptr;
    uint32_t size = 0;
    segment->GetBuffer(&base, &size);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(base[5], 6);
}

TEST(ProgramMemory, RecordsTheLowestAndOnePastTheHighestLoadedAddress) {
    auto memory = CProgramMemory::Create(0x10000, nullptr);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(memory->GetLowest(), 0xFFFFFFFFu);
    EXPECT_EQ(memory->GetHighest(), 0u);
    uint8_t bytes[16] = {};
    ASSERT_TRUE(memory->WriteLoaded(0x0100, 16, bytes));
    ASSERT_TRUE(memory->WriteLoaded(0x0050, 4, bytes));
    EXPECT_EQ(memory->GetLowest(), 0x0050u);
    EXPECT_EQ(memory->GetHighest(), 0x0110u);
    // A refused block leaves the range as it was.
    EXPECT_FALSE(memory->WriteLoaded(0xFFF8, 16, bytes));
    EXPECT_EQ(memory->GetHighest(), 0x0110u);
    // Plain block writes are not loads.
    ASSERT_TRUE(memory->WriteBlock(0x8000, 16, bytes));
    EXPECT_EQ(memory->GetHighest(), 0x0110u);
}

}  // namespace
