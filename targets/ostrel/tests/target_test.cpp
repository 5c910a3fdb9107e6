// The 8051 target around a loaded program: memory spaces, registers through the host's slots,
// start and stop, option words, queries of the run loops and serial input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_host.h"
#include "ostrel/sfr.h"
#include "target_variants.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace ostrel {
namespace {

using testing::HexRecord;
using testing::kEndRecord;
using testing::RecordingObserver;
using testing::RecordingSink;
using testing::RecordingTerminal;
using testing::TempFile;

// LJMP 0x0040 / 0x0040: LCALL 0x0050, SJMP $, RET at 0x0050, ACALL at 0x0060, RETI at 0x0062.
std::string SampleProgram() {
    return HexRecord(0x0000, {0x02, 0x00, 0x40}) +
           HexRecord(0x0040, {0x12, 0x00, 0x50, 0x80, 0xFE}) + HexRecord(0x0050, {0x22}) +
           HexRecord(0x0060, {0x11, 0x50, 0x32, 0xA5, 0x75, 0x90, 0x01}) + kEndRecord;
}

class TargetTest : public ::testing::Test {
protected:
    void Load(const char* chipId = "8051", const char* options = "") {
        target_ = std::make_unique<C8051Target>(chipId, options);
        target_->SetMessageSink(&sink_);
        target_->SetSerialTerminal(&terminal_);
        ASSERT_EQ(target_->LoadProgram(program_.path()), SIM_OK);
        sink_.messages.clear();
    }

    SimStatus Write(int32_t space, uint32_t address, std::vector<uint8_t> bytes,
                    uint32_t* written = nullptr) {
        uint32_t count = 0;
        const SimStatus status = target_->WriteMemory(
            address, bytes.data(), static_cast<uint32_t>(bytes.size()), &count, space);
        if (written != nullptr) {
            *written = count;
        }
        return status;
    }

    std::vector<uint8_t> Read(int32_t space, uint32_t address, uint32_t count,
                              SimStatus* status = nullptr) {
        std::vector<uint8_t> bytes(count + 4, 0xEE);
        uint32_t read = 0xDEAD;
        const SimStatus result = target_->ReadMemory(address, bytes.data(), count, &read, space);
        if (status != nullptr) {
            *status = result;
        }
        bytes.resize(result == SIM_OK ? read : 0);
        return bytes;
    }

    w32test::clock::VirtualTimeScope virtualTime_;
    TempFile program_{"sample.hex", SampleProgram()};
    RecordingSink sink_;
    RecordingTerminal terminal_;
    std::unique_ptr<C8051Target> target_;
};

TEST_F(TargetTest, AnswersNotLoadedBeforeAProgramIsLoaded) {
    C8051Target target("8051", "");
    uint8_t buffer[4];
    uint32_t count = 7;
    uint32_t value = 0;
    uint8_t flag = 0;
    char text[64];
    EXPECT_EQ(target.ReadMemory(0, buffer, 1, &count, kSpaceInternalRam), SIM_NOT_LOADED);
    count = 7;
    EXPECT_EQ(target.WriteMemory(0, buffer, 1, &count, kSpaceInternalRam), SIM_NOT_LOADED);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(target.GetRegisterDumpText(text, sizeof(text), 0), SIM_NOT_LOADED);
    EXPECT_EQ(target.GetPC(&value), SIM_NOT_LOADED);
    EXPECT_EQ(target.GetSP(&value), SIM_NOT_LOADED);
    EXPECT_EQ(target.GetPCAndFrame(&value, &value), SIM_NOT_LOADED);
    EXPECT_EQ(target.GetCallStackText(text, sizeof(text)), SIM_NOT_LOADED);
    EXPECT_EQ(target.IsReturnAt(0, &flag), SIM_NOT_LOADED);
    EXPECT_EQ(target.IsCallAt(0, &flag), SIM_NOT_LOADED);
    EXPECT_EQ(target.GetNextInstructionAddress(0, &value), SIM_NOT_LOADED);
    EXPECT_EQ(target.PutSerialInput(0, buffer, 1), SIM_NOT_LOADED);
    EXPECT_EQ(target.Reset(), SIM_NOT_LOADED);
    EXPECT_EQ(target.StepInstruction(), SIM_NOT_LOADED);
    EXPECT_EQ(target.RunSteps(-1), SIM_NOT_LOADED);
    EXPECT_EQ(target.ExecuteInstruction(), SIM_NOT_LOADED);
    EXPECT_EQ(target.CheckInterrupts(), SIM_NOT_LOADED);
    // The chip's own cycles and ticks do nothing without a chip to run.
    target.AdvanceTimers(1, 1);
    target.AdvanceTimersSecondCycle(1);
    target.AdvanceSerialPort();
    int32_t vector = -1;
    target.CheckExtraInterrupts(&vector, 0);
    EXPECT_EQ(vector, -1);
    // What works at any time.
    EXPECT_EQ(target.GetRegisterCount(), 33);
    EXPECT_STREQ(target.GetRegisterName(0), "ACC");
    EXPECT_EQ(target.GetRegister("SP"), 0u);
    target.SetRegister("SP", 9);
    EXPECT_EQ(target.GetPeripheralItemCount(), 23);
    SimPeripheralItem item;
    std::memset(&item, 0x5A, sizeof(item));
    target.GetPeripheralItemText(0, &item);
    EXPECT_STREQ(item.name, "");
    target.EditPeripheralItem(0, &item);
    EXPECT_EQ(target.GetMemorySpaceCount(), 4);
    const char* name = nullptr;
    uint32_t size = 99;
    EXPECT_TRUE(target.GetMemorySpaceInfo(1, &name, &size));
    EXPECT_STREQ(name, "Program Memory");
    EXPECT_EQ(size, 0u);
    int32_t index = 0;
    EXPECT_EQ(target.AddBreakpoint(0x40, &index), SIM_OK);
    EXPECT_EQ(index, 1);
}

TEST_F(TargetTest, NamesFourSpacesWithTheSizesOfTheChip) {
    Load("AT89C52", "ExtMem=Separate");
    const char* const names[] = {"Special Function Registers Memory", "Program Memory",
                                 "Internal Ram", "External Data Ram"};
    const uint32_t sizes[] = {256, 8192, 256, 65536};
    for (int32_t space = 0; space < 4; ++space) {
        const char* name = nullptr;
        uint32_t size = 0;
        EXPECT_TRUE(target_->GetMemorySpaceInfo(space, &name, &size));
        EXPECT_STREQ(name, names[space]);
        EXPECT_EQ(size, sizes[space]);
    }
    EXPECT_FALSE(target_->GetMemorySpaceInfo(-1, nullptr, nullptr));
    EXPECT_FALSE(target_->GetMemorySpaceInfo(4, nullptr, nullptr));
}

TEST_F(TargetTest, ExternalDataSpaceFollowsTheOption) {
    uint32_t size = 1;
    Load("8051", "");
    target_->GetMemorySpaceInfo(kSpaceExternalData, nullptr, &size);
    EXPECT_EQ(size, 0u);
    SimStatus status = SIM_OK;
    EXPECT_TRUE(Read(kSpaceExternalData, 0, 1, &status).empty());
    EXPECT_EQ(status, SIM_OUT_OF_RANGE);
    EXPECT_EQ(Write(kSpaceExternalData, 0, {1}), SIM_OUT_OF_RANGE);
    EXPECT_TRUE(sink_.messages.empty());  // an absent space fails silently

    Load("AT89C2051", "ExtMem=Separate");  // a chip without external bus
    target_->GetMemorySpaceInfo(kSpaceExternalData, nullptr, &size);
    EXPECT_EQ(size, 0u);
}

TEST_F(TargetTest, OverlappedExternalDataIsProgramMemory) {
    Load("AT89C51", "ExtMem=Overlapped");
    uint32_t size = 0;
    target_->GetMemorySpaceInfo(kSpaceExternalData, nullptr, &size);
    EXPECT_EQ(size, 4096u);
    EXPECT_EQ(Read(kSpaceExternalData, 0x40, 3), (std::vector<uint8_t>{0x12, 0x00, 0x50}));
    ASSERT_EQ(Write(kSpaceExternalData, 0x0100, {0xAB, 0xCD}), SIM_OK);
    EXPECT_EQ(Read(kSpaceProgram, 0x0100, 2), (std::vector<uint8_t>{0xAB, 0xCD}));
    target_->SetRegister("DPTR", 0x0101);
    EXPECT_EQ(target_->GetRegister("DPTR->"), 0xCDu);
    target_->SetRegister("DPTR->", 0x77);
    EXPECT_EQ(Read(kSpaceProgram, 0x0101, 1), std::vector<uint8_t>{0x77});
    // A stop clears data memory, but here that is the program: it stays.
    ASSERT_EQ(target_->Stop(), SIM_OK);
    EXPECT_EQ(Read(kSpaceProgram, 0x40, 1), std::vector<uint8_t>{0x12});
}

TEST_F(TargetTest, ReadsAreCutAtTheEndOfTheSpace) {
    Load();
    SimStatus status = SIM_LOAD_FAILED;
    EXPECT_EQ(Read(kSpaceSfr, 250, 16, &status).size(), 6u);
    EXPECT_EQ(status, SIM_OK);
    EXPECT_EQ(Read(kSpaceInternalRam, 127, 4).size(), 1u);
    Read(kSpaceInternalRam, 128, 1, &status);
    EXPECT_EQ(status, SIM_OUT_OF_RANGE);
    Read(kSpaceProgram, 0x10000, 1, &status);
    EXPECT_EQ(status, SIM_OUT_OF_RANGE);
    Read(7, 0, 1, &status);
    EXPECT_EQ(status, SIM_OUT_OF_RANGE);
    EXPECT_EQ(Read(kSpaceProgram, 0xFFFF, 0).size(), 0u);
}

TEST_F(TargetTest, WritesStopAtTheEndOfTheSpaceCountingWhatWasWritten) {
    Load();
    uint32_t written = 0;
    EXPECT_EQ(Write(kSpaceSfr, 254, {1, 2, 3, 4}, &written), SIM_OUT_OF_RANGE);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(Write(kSpaceInternalRam, 126, {1, 2, 3}, &written), SIM_OUT_OF_RANGE);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(Read(kSpaceInternalRam, 126, 2), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(Write(kSpaceInternalRam, 0xFFFFFFFF, {1}, &written), SIM_OUT_OF_RANGE);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(Write(9, 0, {1}, &written), SIM_OUT_OF_RANGE);
}

TEST_F(TargetTest, ProgramMemoryCannotBeWritten) {
    Load();
    uint32_t written = 5;
    EXPECT_EQ(Write(kSpaceProgram, 0, {1}, &written), SIM_NOT_SUPPORTED);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(Read(kSpaceProgram, 0, 1), std::vector<uint8_t>{0x02});
}

TEST_F(TargetTest, SfrSpaceWritesActLikeDirectWrites) {
    Load();
    ASSERT_EQ(Write(kSpaceSfr, sfr::P1, {0x0F}), SIM_OK);
    EXPECT_EQ(target_->Registers()->PortLatch(1), 0x0F);
    ASSERT_EQ(Write(kSpaceSfr, sfr::SBUF, {'H', 'i'}), SIM_OK);  // SBUF, then 0x9A
    ASSERT_EQ(terminal_.sent.size(), 1u);
    EXPECT_EQ(terminal_.sent[0], std::make_pair(0, uint8_t{'H'}));
    ASSERT_EQ(Write(kSpaceSfr, 0x10, {0x5A}), SIM_OK);  // below 0x80: internal RAM
    EXPECT_EQ(Read(kSpaceInternalRam, 0x10, 1), std::vector<uint8_t>{0x5A});
    ASSERT_EQ(Write(kSpaceSfr, sfr::ACC, {0x01}), SIM_OK);
    EXPECT_EQ(target_->GetRegister("PSW") & 1u, 1u);
    EXPECT_EQ(Read(kSpaceSfr, sfr::ACC, 1), std::vector<uint8_t>{0x01});
}

TEST_F(TargetTest, SfrSpaceWritesBelow80hFailWhereTheChipHasNoRam) {
    Load("AT89C1051");  // 64 bytes of RAM
    uint32_t written = 0;
    EXPECT_EQ(Write(kSpaceSfr, 0x3F, {1, 2}, &written), SIM_OUT_OF_RANGE);
    EXPECT_EQ(written, 1u);
    EXPECT_EQ(sink_.Texts(),
              std::vector<std::string>{
                  "ERROR: trying to access mem segment at address 64. Mem size=64."});
}

TEST_F(TargetTest, ResetStartsAtTheLowestAddressWithARestartFrame) {
    Load();
    target_->SetRegister("IE", 0x82);
    target_->SetRegister("TCON", 0x10);
    target_->SetRegister("PSW", 0x18);
    target_->Chip().Interrupts().SetDelayFlag(kDelayExternal1, true);
    target_->Chip().Interrupts().SetDelayFlag(kDelayTimer0, true);
    ASSERT_EQ(target_->Reset(), SIM_OK);
    EXPECT_EQ(target_->GetRegister("PC"), 0u);
    EXPECT_EQ(target_->GetRegister("SP"), 7u);
    EXPECT_EQ(target_->GetRegister("IE"), 0u);
    EXPECT_EQ(target_->GetRegister("TCON"), 0u);
    EXPECT_EQ(target_->GetRegister("PSW"), 0u);
    for (int flag = 0; flag < kDelayFlagCount; ++flag) {
        EXPECT_FALSE(target_->Chip().Interrupts().DelayFlag(flag)) << flag;
    }
    char text[256];
    ASSERT_EQ(target_->GetCallStackText(text, sizeof(text)), SIM_OK);
    EXPECT_STREQ(text, "0x0000:()\r\n");
    uint32_t pc = 1, frame = 0;
    ASSERT_EQ(target_->GetPCAndFrame(&pc, &frame), SIM_OK);
    EXPECT_EQ(pc, 0u);
    EXPECT_EQ(frame, 7u);
}

TEST_F(TargetTest, ResetOfA8052AlsoClearsTimer2) {
    auto target = std::make_unique<C8052Target>("");
    ASSERT_EQ(target->LoadProgram(program_.path()), SIM_OK);
    for (uint8_t address : sfr::kTimer2Registers) {
        ASSERT_EQ(target->WriteMemory(address, &address, 1, nullptr, kSpaceSfr), SIM_OK);
    }
    ASSERT_EQ(target->Reset(), SIM_OK);
    for (uint8_t address : sfr::kTimer2Registers) {
        EXPECT_EQ(target->Registers()->Sfr(address), 0) << int{address};
    }
}

TEST_F(TargetTest, StopClearsDataMemoryAndRaisesTheBreakRequestAfterAPause) {
    Load("8051", "ExtMem=Separate");
    ASSERT_EQ(target_->Reset(), SIM_OK);
    ASSERT_EQ(Write(kSpaceInternalRam, 0x30, {1, 2}), SIM_OK);
    ASSERT_EQ(Write(kSpaceExternalData, 0x1000, {3}), SIM_OK);
    ASSERT_EQ(Write(kSpaceSfr, sfr::B, {0x44}), SIM_OK);
    const uint64_t before = w32test::clock::NowMicros();
    ASSERT_EQ(target_->Stop(), SIM_OK);
    EXPECT_GE(w32test::clock::NowMicros() - before, 100000u);
    EXPECT_EQ(Read(kSpaceInternalRam, 0x30, 2), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(Read(kSpaceExternalData, 0x1000, 1), std::vector<uint8_t>{0});
    EXPECT_EQ(Read(kSpaceSfr, sfr::B, 1), std::vector<uint8_t>{0x44});
    EXPECT_EQ(target_->GetRegister("PC"), 0xFFFFu);
    EXPECT_TRUE(target_->IsBreakRequested());
    char text[64] = "x";
    ASSERT_EQ(target_->GetCallStackText(text, sizeof(text)), SIM_OK);
    EXPECT_STREQ(text, "");
}

TEST_F(TargetTest, RegisterSlotsReachTheRegisterFile) {
    Load();
    target_->SetRegister("PSW", 0x10);
    target_->SetRegister("R7", 0x7E);
    EXPECT_EQ(Read(kSpaceInternalRam, 0x17, 1), std::vector<uint8_t>{0x7E});
    target_->SetRegister("SP", 0x21);
    uint32_t sp = 0;
    ASSERT_EQ(target_->GetSP(&sp), SIM_OK);
    EXPECT_EQ(sp, 0x21u);
    target_->SetRegister("PC", 0x0040);
    uint32_t pc = 0;
    ASSERT_EQ(target_->GetPC(&pc), SIM_OK);
    EXPECT_EQ(pc, 0x40u);
    target_->PutRegister("B", 3);
    EXPECT_EQ(target_->GetRegister("B"), 3u);
    char text[1024];
    ASSERT_EQ(target_->GetRegisterDumpText(text, sizeof(text), 0), SIM_OK);
    EXPECT_EQ(std::string(text).rfind("8051 Registers:\r\nACC     0x00\r\nB       0x03\r\n", 0),
              0u);
    EXPECT_EQ(target_->GetRegisterDumpText(text, 0, 0), SIM_OK);
}

TEST_F(TargetTest, InstructionQueriesReadTheOpcodes) {
    Load();
    uint8_t flag = 0;
    uint32_t next = 0;
    struct Case {
        uint32_t address;
        bool call, ret;
        uint32_t next;
    };
    const Case cases[] = {{0x0000, false, false, 3},    {0x0040, true, false, 0x43},
                          {0x0043, false, false, 0x45}, {0x0050, false, true, 0x51},
                          {0x0060, true, false, 0x62},  {0x0062, false, true, 0x63},
                          {0x0063, false, false, 0x64}, {0x0064, false, false, 0x67}};
    for (const Case& c : cases) {
        ASSERT_EQ(target_->IsCallAt(c.address, &flag), SIM_OK);
        EXPECT_EQ(flag != 0, c.call) << c.address;
        ASSERT_EQ(target_->IsReturnAt(c.address, &flag), SIM_OK);
        EXPECT_EQ(flag != 0, c.ret) << c.address;
        ASSERT_EQ(target_->GetNextInstructionAddress(c.address, &next), SIM_OK);
        EXPECT_EQ(next, c.next) << c.address;
    }
    EXPECT_TRUE(target_->IsUnconditionalTransferAt(0x0000));   // LJMP
    EXPECT_TRUE(target_->IsUnconditionalTransferAt(0x0043));   // SJMP
    EXPECT_TRUE(target_->IsUnconditionalTransferAt(0x0050));   // RET
    EXPECT_FALSE(target_->IsUnconditionalTransferAt(0x0040));  // LCALL
    EXPECT_TRUE(target_->IsRelativeBranchAt(0x0043));
    EXPECT_FALSE(target_->IsRelativeBranchAt(0x0000));
}

TEST_F(TargetTest, OptionWordsAndCapabilities) {
    Load();
    target_->SetSimulateTimers(1);
    target_->SetSimulateInterrupts(2);
    target_->SetSimulateSerial(3);
    target_->SetHardwarePortMode(4);
    target_->SetHardwarePortsActive(5);
    EXPECT_EQ(target_->GetSimulateTimers(), 1);
    EXPECT_EQ(target_->GetSimulateInterrupts(), 2);
    EXPECT_EQ(target_->GetSimulateSerial(), 3);
    EXPECT_EQ(target_->GetHardwarePortMode(), 4);
    EXPECT_EQ(target_->GetHardwarePortsActive(), 5);
    for (int32_t kind = -1; kind < 8; ++kind) {
        EXPECT_EQ(target_->HasCapability(kind), (kind == 1 || kind == 3 || kind == 4) ? 1 : 0);
    }
}

TEST_F(TargetTest, KeepsACopyOfTheHostsSerialSettings) {
    Load();
    uint8_t block[56];
    for (int i = 0; i < 56; ++i) {
        block[i] = static_cast<uint8_t>(i + 1);
    }
    EXPECT_EQ(target_->SetCommSettings(reinterpret_cast<const comm_settings*>(block)), SIM_OK);
    block[0] = 0xFF;
    const auto* stored = reinterpret_cast<const uint8_t*>(target_->GetCommSettings());
    EXPECT_EQ(stored[0], 1);
    EXPECT_EQ(stored[40], 41);
    EXPECT_EQ(stored[55], 56);
    EXPECT_EQ(target_->SetCommSettings(nullptr), SIM_OK);
    EXPECT_EQ(stored[55], 56);
}

// A device on a virtual COM port that notes the host's opens, closes and baud rate.
class PortWatcher : public w32test::vport::Device {
public:
    void Attached(w32test::vport::Cable&) override {}
    void Detached() override {}
    void OnTimer(uint64_t, uint64_t) override {}
    void OnHostEvent(const w32test::vport::HostEvent& event) override {
        if (event.kind == w32test::vport::EventKind::Open) {
            ++opens;
        } else if (event.kind == w32test::vport::EventKind::Settings) {
            baud = event.settings.baud;
        } else if (event.kind == w32test::vport::EventKind::Close) {
            ++closes;
        }
    }
    int opens = 0;
    DWORD baud = 0;
    int closes = 0;
};

TEST_F(TargetTest, SerialSettingsOpenTheBoardPortOnceAndTheTargetClosesIt) {
    auto watcher = std::make_shared<PortWatcher>();
    ASSERT_TRUE(w32test::vport::Attach(9, watcher.get()));
    Load();
    uint32_t block[14] = {8, 19200, 8, 0, 0};  // COM9
    EXPECT_EQ(target_->SetCommSettings(reinterpret_cast<const comm_settings*>(block)), SIM_OK);
    block[1] = 57600;  // kept for the next open of the port, which is open now
    EXPECT_EQ(target_->SetCommSettings(reinterpret_cast<const comm_settings*>(block)), SIM_OK);
    EXPECT_EQ(watcher->opens, 1);
    EXPECT_EQ(watcher->baud, 19200u);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(target_->GetCommSettings())[1], 57600u);
    target_.reset();
    EXPECT_EQ(watcher->closes, 1);
    w32test::vport::Detach(9);
}

TEST_F(TargetTest, ReportsPortsToTheObserver) {
    Load();
    RecordingObserver observer;
    target_->ReportPorts();  // no observer: nothing
    target_->SetPortObserver(&observer);
    target_->SetRegister("Port2", 0x12);
    target_->ReportPorts();
    ASSERT_EQ(observer.updates.size(), 1u);
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"Port0", 0xFF}, {"Port1", 0xFF}, {"Port2", 0x12}, {"Port3", 0xFF}};
    EXPECT_EQ(observer.updates[0], expected);
}

TEST_F(TargetTest, SerialInputNeedsChannel0AndTheReceiverOn) {
    Load();
    const uint8_t bytes[] = {0x31, 0x32, 0x07};
    EXPECT_EQ(target_->PutSerialInput(1, bytes, 3), SIM_NOT_SUPPORTED);
    EXPECT_EQ(target_->PutSerialInput(0, bytes, 3), SIM_OK);
    EXPECT_EQ(target_->GetRegister("SCON"), 0u);  // REN clear: dropped
    target_->SetRegister("SCON", 0x50);           // mode 1, REN
    EXPECT_EQ(target_->PendingSerialInput(), 0u);
    EXPECT_EQ(target_->PutSerialInput(0, bytes, 3), SIM_OK);
    EXPECT_EQ(target_->GetRegister("SBUF"), 0x31u);
    EXPECT_EQ(target_->GetRegister("SCON"), 0x55u);  // RI and the stop bit in RB8
    EXPECT_EQ(target_->LastSerialInput(), 0x31);
    EXPECT_EQ(target_->PendingSerialInput(), 2u);
}

TEST_F(TargetTest, NinthBitOfReceivedBytesFollowsTheHostsParity) {
    Load();
    uint32_t block[14] = {0xFFFFFFFFu};  // no port: only the parity word matters here
    const uint8_t odd = 0x07, even = 0x03;
    for (uint32_t parity : {0u, 1u, 2u}) {
        block[3] = parity;
        target_->SetCommSettings(reinterpret_cast<const comm_settings*>(block));
        for (uint8_t byte : {odd, even}) {
            target_->Registers()->ReadDirect(sfr::SBUF);  // the program took the byte before
            target_->SetRegister("SCON", 0xD4);           // mode 3, REN, RB8 left over
            ASSERT_EQ(target_->PutSerialInput(0, &byte, 1), SIM_OK);
            const bool rb8 = (target_->GetRegister("SCON") & sfr::SCON_RB8) != 0;
            const bool expected = (parity == 2 && byte == odd) || (parity == 1 && byte == even);
            EXPECT_EQ(rb8, expected) << parity << " " << int{byte};
        }
    }
    target_->Registers()->ReadDirect(sfr::SBUF);
    target_->SetRegister("SCON", 0x14);  // mode 0 leaves RB8
    ASSERT_EQ(target_->PutSerialInput(0, &odd, 1), SIM_OK);
    EXPECT_EQ(target_->GetRegister("SCON"), 0x15u);
}

}  // namespace
}  // namespace ostrel
