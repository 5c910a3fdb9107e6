// Loading programs: chip checks, HEX errors, the vector redirection and reloading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_host.h"
#include "target_variants.h"
#include "w32test/clock.h"

namespace ostrel {
namespace {

using testing::HexRecord;
using testing::kEndRecord;
using testing::RecordingSink;
using testing::TempFile;

class ProgramLoadingTest : public ::testing::Test {
protected:
    template <typename Target = C8051Target, typename... Args>
    std::unique_ptr<Target> Make(Args... args) {
        auto target = std::make_unique<Target>(args...);
        target->SetMessageSink(&sink_);
        return target;
    }

    std::vector<uint8_t> Program(C8051Target& target, uint32_t address, uint32_t count) {
        std::vector<uint8_t> bytes(count);
        uint32_t read = 0;
        EXPECT_EQ(target.ReadMemory(address, bytes.data(), count, &read, kSpaceProgram), SIM_OK);
        bytes.resize(read);
        return bytes;
    }

    w32test::clock::VirtualTimeScope virtualTime_;
    RecordingSink sink_;
};

TEST_F(ProgramLoadingTest, AnnouncesTheChipAndLoadsTheRecords) {
    TempFile file("load.hex", HexRecord(0x0000, {0x02, 0x00, 0x40}) +
                                  HexRecord(0x0040, {0x74, 0x55, 0x80, 0xFE}) + kEndRecord);
    auto target = Make("AT89C52", "");
    EXPECT_EQ(target->LoadProgram(file.path()), SIM_OK);
    ASSERT_FALSE(sink_.messages.empty());
    EXPECT_EQ(sink_.messages[0], std::make_pair(0, std::string("\nChip Type: AT89C52 "
                                                               "Manufacturer: Atmel")));
    EXPECT_EQ(Program(*target, 0, 3), (std::vector<uint8_t>{0x02, 0x00, 0x40}));
    EXPECT_EQ(Program(*target, 0x40, 4), (std::vector<uint8_t>{0x74, 0x55, 0x80, 0xFE}));
    EXPECT_EQ(target->ProgramMemory()->GetLowest(), 0u);
    EXPECT_EQ(target->ProgramMemory()->GetHighest(), 0x44u);
}

TEST_F(ProgramLoadingTest, RomlessAndTinyChipsCannotLoad) {
    TempFile file("romless.hex", HexRecord(0, {0}) + kEndRecord);
    auto romless = Make("80C31BH", "");  // 4 KB
    EXPECT_EQ(romless->LoadProgram(file.path()), SIM_OK);
    for (const char* id : {"DS80C310", "P80C31", "TSC80C31"}) {
        sink_.messages.clear();
        auto target = Make(id, "");
        EXPECT_EQ(target->LoadProgram(file.path()), SIM_LOAD_FAILED) << id;
        EXPECT_EQ(sink_.messages.size(), 1u) << id;  // the chip line only
        EXPECT_FALSE(target->IsLoaded());
    }
}

TEST_F(ProgramLoadingTest, RecordsBeyondProgramMemoryFailTheLoad) {
    TempFile file("toohigh.hex", HexRecord(0x0FFE, {1, 2, 3}) + kEndRecord);
    auto target = Make("AT89C51", "");  // 4 KB
    EXPECT_EQ(target->LoadProgram(file.path()), SIM_LOAD_FAILED);
    EXPECT_FALSE(target->IsLoaded());
    EXPECT_EQ(sink_.Texts().back(),
              "Address in hex file is out of range for the selected processor or toolkit");
    EXPECT_EQ(sink_.messages.back().first, 1);
}

TEST_F(ProgramLoadingTest, BrokenOrMissingFilesFailTheLoad) {
    TempFile noEnd("noend.hex", HexRecord(0, {1}));
    auto target = Make("8051", "");
    EXPECT_EQ(target->LoadProgram(noEnd.path()), SIM_LOAD_FAILED);
    EXPECT_EQ(target->LoadProgram(nullptr), SIM_LOAD_FAILED);
    EXPECT_EQ(target->LoadProgram("/no/such/file.hex"), SIM_LOAD_FAILED);
    EXPECT_FALSE(target->IsLoaded());
}

TEST_F(ProgramLoadingTest, AFailedReloadKeepsTheProgramLoadedBefore) {
    TempFile good("good.hex", HexRecord(0, {0x12, 0x34}) + kEndRecord);
    TempFile bad("bad.hex", HexRecord(0, {0x56}) + ":0100000057A7\n" + kEndRecord);
    auto target = Make("8051", "");
    ASSERT_EQ(target->LoadProgram(good.path()), SIM_OK);
    target->SetRegister("B", 0x42);
    EXPECT_EQ(target->LoadProgram(bad.path()), SIM_LOAD_FAILED);
    EXPECT_EQ(Program(*target, 0, 2), (std::vector<uint8_t>{0x12, 0x34}));
    EXPECT_EQ(target->GetRegister("B"), 0x42u);
}

TEST_F(ProgramLoadingTest, AReloadBuildsFreshSpaces) {
    TempFile first("first.hex", HexRecord(0, {0x11}) + HexRecord(0x100, {0x22}) + kEndRecord);
    TempFile second("second.hex", HexRecord(0, {0x33}) + kEndRecord);
    auto target = Make("8051", "ExtMem=Separate");
    ASSERT_EQ(target->LoadProgram(first.path()), SIM_OK);
    const uint8_t ramByte = 0x99;
    uint32_t written = 0;
    ASSERT_EQ(target->WriteMemory(0x30, &ramByte, 1, &written, kSpaceInternalRam), SIM_OK);
    ASSERT_EQ(target->LoadProgram(second.path()), SIM_OK);
    EXPECT_EQ(Program(*target, 0, 1), std::vector<uint8_t>{0x33});
    EXPECT_EQ(Program(*target, 0x100, 1), std::vector<uint8_t>{0x00});
    uint8_t byte = 0xFF;
    uint32_t read = 0;
    ASSERT_EQ(target->ReadMemory(0x30, &byte, 1, &read, kSpaceInternalRam), SIM_OK);
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(target->GetRegister("SP"), 7u);
}

TEST_F(ProgramLoadingTest, ProgramAboveTheVectorTableGetsJumpsAtEveryVector) {
    TempFile file("high.hex", HexRecord(0x2000, {0x80, 0xFE}) + kEndRecord);
    auto target = Make("8051", "");
    ASSERT_EQ(target->LoadProgram(file.path()), SIM_OK);
    std::vector<uint8_t> expected(43, 0);
    for (uint32_t at : {0x00u, 0x03u, 0x0Bu, 0x13u, 0x1Bu, 0x23u}) {
        const uint32_t to = 0x2000 + at;
        expected[at] = 0x02;
        expected[at + 1] = static_cast<uint8_t>(to >> 8);
        expected[at + 2] = static_cast<uint8_t>(to & 0xFF);
    }
    EXPECT_EQ(Program(*target, 0, 43), expected);
    // No jump for Timer 2 on a chip without it.
    EXPECT_EQ(Program(*target, 0x2B, 3), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(target->ProgramMemory()->GetLowest(), 0u);
    EXPECT_EQ(Program(*target, 0x2000, 2), (std::vector<uint8_t>{0x80, 0xFE}));
}

TEST_F(ProgramLoadingTest, Timer2ChipsAlsoGetTheTimer2Vector) {
    TempFile file("high2.hex", HexRecord(0x0800, {0x00}) + kEndRecord);
    for (const char* id : {"8052", "AT89S53"}) {
        std::unique_ptr<C8051Target> target;
        if (std::string(id) == "8052") {
            target = Make<C8052Target>("");
        } else {
            target = Make<CAT89S53Target>("");
        }
        ASSERT_EQ(target->LoadProgram(file.path()), SIM_OK) << id;
        EXPECT_EQ(Program(*target, 0x23, 3), (std::vector<uint8_t>{0x02, 0x08, 0x23})) << id;
        EXPECT_EQ(Program(*target, 0x2B, 3), (std::vector<uint8_t>{0x02, 0x08, 0x2B})) << id;
        EXPECT_EQ(Program(*target, 0x2E, 2), (std::vector<uint8_t>{0, 0})) << id;
    }
}

TEST_F(ProgramLoadingTest, ProgramsStartingAtOrBelow49KeepTheirOwnVectors) {
    TempFile at49("at49.hex", HexRecord(0x0031, {0xAA}) + kEndRecord);
    TempFile at50("at50.hex", HexRecord(0x0032, {0xAA}) + kEndRecord);
    auto target = Make("8051", "");
    ASSERT_EQ(target->LoadProgram(at49.path()), SIM_OK);
    EXPECT_EQ(Program(*target, 0, 3), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(target->ProgramMemory()->GetLowest(), 0x31u);
    ASSERT_EQ(target->LoadProgram(at50.path()), SIM_OK);
    EXPECT_EQ(Program(*target, 0, 3), (std::vector<uint8_t>{0x02, 0x00, 0x32}));
}

TEST_F(ProgramLoadingTest, ProgramWithoutDataRecordsGetsNoRedirection) {
    TempFile empty("empty.hex", kEndRecord);
    auto target = Make("8051", "");
    ASSERT_EQ(target->LoadProgram(empty.path()), SIM_OK);
    EXPECT_EQ(Program(*target, 0, 43), std::vector<uint8_t>(43, 0));
    EXPECT_EQ(target->ProgramMemory()->GetLowest(), 0xFFFFFFFFu);
    // Started, it runs from the reset vector.
    ASSERT_EQ(target->Reset(), SIM_OK);
    EXPECT_EQ(target->GetRegister("PC"), 0u);
}

}  // namespace
}  // namespace ostrel
