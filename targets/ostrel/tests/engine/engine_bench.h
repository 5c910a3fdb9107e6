// A simulated chip with a small program of the test's own, stepped one instruction at a time.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../fake_host.h"
#include "ostrel/sfr.h"
#include "target_variants.h"
#include "w32test/clock.h"

namespace ostrel::testing {

class EngineTest : public ::testing::Test {
protected:
    // Program pieces by address; the bytes between them are 0 (NOP).
    using Program = std::map<uint16_t, std::vector<uint8_t>>;

    // Loads `program` into a new target of `chipId` with `options` and resets the chip.
    void Load(const Program& program, const char* chipId = "8051",
              const char* options = "ExtMem=Separate") {
        std::string text;
        for (const auto& piece : program) {
            for (size_t at = 0; at < piece.second.size(); at += 16) {
                const size_t end = std::min(piece.second.size(), at + 16);
                text += HexRecord(
                    static_cast<uint16_t>(piece.first + at),
                    std::vector<uint8_t>(piece.second.begin() + at, piece.second.begin() + end));
            }
        }
        file_.reset();  // the same path: the old file goes first
        file_ = std::make_unique<TempFile>("engine.hex", text + kEndRecord);
        target_ = MakeTarget(chipId, options);
        target_->SetMessageSink(&sink_);
        ASSERT_EQ(target_->LoadProgram(file_->path()), SIM_OK);
        ASSERT_EQ(target_->Reset(), SIM_OK);
        sink_.messages.clear();
    }

    // The class the factory gives each chip (and the 80C52's, which the catalogue lacks).
    virtual std::unique_ptr<C8051Target> MakeTarget(const char* chipId, const char* options) {
        using Maker = std::unique_ptr<C8051Target> (*)(const char*);
        static const std::pair<const char*, Maker> kClasses[] = {
            {"8052", Make<C8052Target>},
            {"80C52", Make<C80C52Target>},
            {"AT89S53", Make<CAT89S53Target>},
            {"Gristan-8", Make<CGristan8Target>},
            {"GristanT-8", Make<CGristanT8Target>},
            {"Gristan-32", Make<CGristan32Target>},
            {"GristanT-32", Make<CGristanT32Target>}};
        for (const auto& entry : kClasses) {
            if (std::string(chipId) == entry.first) {
                return entry.second(options);
            }
        }
        return std::make_unique<C8051Target>(chipId, options);
    }
    template <typename T>
    static std::unique_ptr<C8051Target> Make(const char* options) {
        return std::make_unique<T>(options);
    }

    // Timers and interrupts as the host's option words 0 and 1.
    void Simulate(bool timers, bool interrupts) {
        target_->SetSimulateTimers(timers ? 1 : 0);
        target_->SetSimulateInterrupts(interrupts ? 1 : 0);
    }

    // One machine cycle of the peripherals as an instruction of `cycleClass` runs it (the cycle
    // `index` of the instruction), Timer 2 included on the chips that have it.
    void Cycle(int cycleClass = 1, int index = 1) {
        Chip().SetCycleClass(cycleClass);
        target_->AdvanceTimers(1, index);
    }
    void Cycles(int count) {
        for (int i = 0; i < count; ++i) {
            Cycle();
        }
    }
    bool SconBit(uint8_t mask) { return (Sfr(sfr::SCON) & mask) != 0; }
    bool P3Bit(uint8_t mask) { return (Sfr(sfr::P3) & mask) != 0; }

    static constexpr uint8_t kTxd = 0x02;  // P3.1

    // The cycles (counted from 1 after an SBUF write) at which TXD changes, with the level it
    // changes to, until TI rises; the cycle of TI comes last, with level 'T'.
    std::vector<std::pair<int, char>> TxdChanges(int limit) {
        std::vector<std::pair<int, char>> changes;
        bool txd = P3Bit(kTxd);
        for (int cycle = 1; cycle <= limit; ++cycle) {
            Cycle();
            if (P3Bit(kTxd) != txd) {
                txd = !txd;
                changes.emplace_back(cycle, txd ? '1' : '0');
            }
            if (SconBit(sfr::SCON_TI)) {
                changes.emplace_back(cycle, 'T');
                break;
            }
        }
        return changes;
    }

    SimStatus Step() { return target_->StepInstruction(); }
    // Steps `count` instructions, each of which must succeed.
    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(Step(), SIM_OK) << "instruction " << i + 1;
        }
    }

    CChip& Chip() { return target_->Chip(); }
    uint32_t Reg(const char* name) { return target_->GetRegister(name); }
    void SetReg(const char* name, uint32_t value) { target_->SetRegister(name, value); }
    uint32_t Pc() { return Reg("PC"); }
    uint8_t Sfr(uint8_t address) { return target_->Registers()->Sfr(address); }
    void SetSfr(uint8_t address, uint8_t value) { target_->Registers()->SetSfr(address, value); }
    uint8_t Ram(uint32_t address) { return *target_->Space(kSpaceInternalRam)->PointerAt(address); }
    void SetRam(uint32_t address, uint8_t value) {
        *target_->Space(kSpaceInternalRam)->PointerAt(address) = value;
    }
    std::vector<std::string> Messages() const { return sink_.Texts(); }

    w32test::clock::VirtualTimeScope virtualTime_;
    RecordingSink sink_;
    std::unique_ptr<TempFile> file_;
    std::unique_ptr<C8051Target> target_;
};

}  // namespace ostrel::testing
