// The monitor debugger's target where a session transcript cannot show it: the board's memory
// after a download, a download that fails, registers reaching the monitor, and failures of the
// monitor turned into the target's results.
#include <gtest/gtest.h>

#include <map>

#include "monitor_fixture.h"
#include "hexfile/hex_reader.h"
#include "w32/clock.h"

namespace {

using monitortest::MonitorSession;
using monitortest::ProgramPath;

int32_t StoreCells(void* context, uint32_t address, uint32_t count, const uint8_t* bytes) {
    auto& cells = *static_cast<std::map<uint32_t, uint8_t>*>(context);
    for (uint32_t i = 0; i < count; ++i) {
        cells[address + i] = bytes[i];
    }
    return kHexOk;
}

std::map<uint32_t, uint8_t> FileCells(const char* name) {
    std::map<uint32_t, uint8_t> cells;
    EXPECT_EQ(ReadHexFile(&cells, ProgramPath(name).c_str(), kHexFormatIntel, StoreCells, nullptr),
              kHexOk);
    return cells;
}

class Target : public MonitorSession {};

TEST_F(Target, TheBoardHoldsEachFileItWasSent) {
    for (const char* name : {"count.hex", "big.hex"}) {
        SCOPED_TRACE(name);
        if (m_target != nullptr) {
            m_target->Destroy(kSimDestroyFree);
            m_target = nullptr;
            w32test::vport::Detach(monitortest::kCom);
        }
        Load("", name);
        const std::map<uint32_t, uint8_t> file = FileCells(name);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(Board().LoadedCells(), file);
        // The chip runs what the monitor stored from its first step on.
        ASSERT_EQ(m_target->StepInstruction(), SIM_OK) << Messages();
        for (const auto& cell : file) {
            ASSERT_EQ(Board().Monitor().Chip().Code()[cell.first], cell.second)
                << std::hex << cell.first;
        }
    }
}

TEST_F(Target, AFailedDownloadIsAFailedLoadAndTheLastPurgeGivesUp) {
    Attach("monitor-fault=vanish monitor-fault-at=1");
    EXPECT_EQ(m_target->LoadProgram(ProgramPath("count.hex").c_str()), SIM_LOAD_FAILED);
    const std::vector<std::string> texts = MessageTexts();
    int purges = 0;
    for (const std::string& text : texts) {
        purges += text.compare(0, 29, "Error purging receive buffer,") == 0 ? 1 : 0;
    }
    EXPECT_EQ(purges, kFinalPurgeTries) << Messages();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().compare(0, 46, "Cannot download program into the board, Error:"), 0)
        << texts.back();
    EXPECT_NE(Messages().find("Error downloading program, ec="), std::string::npos);
    EXPECT_EQ(Messages().find("Download complete..."), std::string::npos);
    EXPECT_EQ(m_target->StepInstruction(), SIM_NOT_LOADED);
}

TEST_F(Target, RegistersSetByNameReachTheMonitorAndComeBackAfterAStep) {
    Load("");
    m_target->SetRegister("R3", 0x55);
    m_target->SetRegister("ACC", 0x0F);
    m_target->SetRegister("DPTR", 0x2345);
    EXPECT_EQ(Board().Monitor().Chip().InternalRam()[3], 0x55);
    EXPECT_EQ(Board().Monitor().Chip().Registers().Acc(), 0x0F);
    EXPECT_EQ(Board().Monitor().Chip().Registers().Dptr(), 0x2345);
    // The first instruction sets SP only: the rest comes back as set.
    ASSERT_EQ(m_target->StepInstruction(), SIM_OK);
    EXPECT_EQ(m_target->GetRegister("R3"), 0x55u);
    EXPECT_EQ(m_target->GetRegister("ACC"), 0x0Fu);
    EXPECT_EQ(m_target->GetRegister("DPTR"), 0x2345u);
    EXPECT_EQ(m_target->GetRegister("SP"), 0x5Fu);
    // Names outside the monitor debugger's nineteen are neither read nor set.
    m_board->Log().Clear();
    m_target->SetRegister("IE", 0x85);
    EXPECT_EQ(m_target->GetRegister("IE"), 0u);
    EXPECT_EQ(Sent(true), "");
}

TEST_F(Target, AWorkingRegisterOfTheSelectedBankReachesThatBanksByteOnly) {
    Load("");
    m_target->SetRegister("PSW", 0x08);  // bank 1: R7 is internal RAM 0x0F
    m_target->SetRegister("R7", 0x55);
    EXPECT_EQ(Board().Monitor().Chip().InternalRam()[0x0F], 0x55);
    EXPECT_EQ(Board().Monitor().Chip().InternalRam()[0x07], 0x00);
    // The first instruction sets SP only: R7 is still the user's value after it.
    ASSERT_EQ(m_target->StepInstruction(), SIM_OK);
    EXPECT_EQ(m_target->GetRegister("R7"), 0x55u);
    BYTE bank0R7 = 0xEE;
    ASSERT_EQ(m_target->ReadMemory(0x07, &bank0R7, 1, nullptr, pelmor::kSpaceInternalRam), SIM_OK);
    EXPECT_EQ(bank0R7, 0x00);
}

TEST_F(Target, AResetRegainsTheBoardFromAProgramThatIsStillRunning) {
    Load("");
    // A run the host gave up on: the program loops on the board with no breakpoint to stop it.
    const BYTE go[] = {'G', ' '};
    ASSERT_TRUE(Link().WriteRaw(go, 2));
    w32::Sleep(100);
    ASSERT_TRUE(Board().Monitor().Chip().Running());
    ASSERT_EQ(m_target->Reset(), SIM_OK) << Messages();
    EXPECT_FALSE(Board().Monitor().Chip().Running());
    EXPECT_EQ(Board().Monitor().Chip().Registers().Pc(), 0x1000);
    ASSERT_EQ(m_target->StepInstruction(), SIM_OK);
    EXPECT_EQ(Board().Monitor().Chip().Registers().Pc(), 0x1003);
}

TEST_F(Target, AMonitorThatFailsAWriteLeavesTheCopyAndSaysSo) {
    // Silent from the first command after the load and the reset (eleven commands).
    Load("monitor-fault=silent monitor-fault-at=12");
    const BYTE byte = 0x99;
    uint32_t written = 7;
    EXPECT_EQ(m_target->WriteMemory(0x40, &byte, 1, &written, pelmor::kSpaceInternalRam),
              SIM_EXECUTION_STOPPED);
    EXPECT_EQ(written, 0u);
    BYTE read = 0xEE;
    ASSERT_EQ(m_target->ReadMemory(0x40, &read, 1, nullptr, pelmor::kSpaceInternalRam), SIM_OK);
    EXPECT_EQ(read, 0x00);
    EXPECT_EQ(m_target->Reset(), SIM_EXECUTION_STOPPED);
}

TEST_F(Target, StepOutSendsNothingAndTheFrameIsAlwaysNone) {
    Load("");
    EXPECT_EQ(m_target->StepOut(1), SIM_OK);
    EXPECT_EQ(m_target->StepOut(0), SIM_OK);
    EXPECT_EQ(Sent(true), "");
    uint32_t pc = 0;
    uint32_t frame = 0;
    ASSERT_EQ(m_target->GetPCAndFrame(&pc, &frame), SIM_OK);
    EXPECT_EQ(pc, 0x1000u);
    EXPECT_EQ(frame, 0xFFFFFFFFu);
}

TEST_F(Target, AResetSetsTheEnabledBreakpointsAgain) {
    Load("");
    int32_t index = 0;
    ASSERT_EQ(m_target->AddBreakpoint(0x1019, &index), SIM_OK);
    ASSERT_EQ(m_target->AddBreakpoint(0x1013, &index), SIM_OK);
    ASSERT_EQ(m_target->DisableBreakpoint(2), SIM_OK);
    ASSERT_EQ(m_target->Reset(), SIM_OK);
    EXPECT_EQ(Board().Monitor().Breakpoint(0), 0x1019);
    EXPECT_EQ(Board().Monitor().Breakpoint(1), 0);
    ASSERT_EQ(m_target->RunSteps(-1), SIM_OK);
    uint32_t pc = 0;
    m_target->GetPC(&pc);
    EXPECT_EQ(pc, 0x1019u);
}

}  // namespace
