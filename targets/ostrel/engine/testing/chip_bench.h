// A chip on the test bench: the engine's CChip over memory of the test's own, with a host that
// records what the chip tells it (accesses outside memory, messages, calls, serial bytes, board
// ports) and a few steps to drive it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel::testing {

class ChipBench;

class FakeChipHost : public IChipHost {
public:
    struct Access {
        ChipSpace space;
        uint32_t address;
        bool operator==(const Access& other) const {
            return space == other.space && address == other.address;
        }
    };
    struct Call {
        uint16_t destination;
        uint16_t from;
        CallKind kind;
    };

    uint8_t ReadOutside(ChipSpace space, uint32_t address) override {
        outside.push_back({space, address});
        return 0;
    }
    bool WriteOutside(ChipSpace space, uint32_t address, uint8_t) override {
        outside.push_back({space, address});
        return false;
    }
    void ChipMessage(int32_t, const char* text) override { messages.emplace_back(text); }
    void Called(uint16_t destination, uint16_t from, CallKind kind) override {
        calls.push_back({destination, from, kind});
    }
    void Returned(uint16_t address) override { returns.push_back(address); }
    void SerialTransmit(uint8_t value) override { transmitted.push_back(value); }
    bool HardwarePortsActive() override { return portsActive; }
    bool ReadBoardPort(uint8_t address, uint8_t* value) override {
        boardReads.push_back(address);
        if (!boardAnswers) {
            return false;
        }
        *value = boardPins[address];
        return true;
    }
    void WriteBoardPort(uint8_t address, uint8_t value) override {
        boardWrites.emplace_back(address, value);
    }
    bool ResizeCodeAndData(uint32_t codeSize, uint32_t dataSize) override;

    ChipBench* bench = nullptr;
    std::vector<Access> outside;
    std::vector<std::string> messages;
    std::vector<Call> calls;
    std::vector<uint16_t> returns;
    std::vector<uint8_t> transmitted;
    bool portsActive = false;
    bool boardAnswers = true;
    std::map<uint8_t, uint8_t> boardPins;
    std::vector<uint8_t> boardReads;
    std::vector<std::pair<uint8_t, uint8_t>> boardWrites;
};

class ChipBench {
public:
    // A powered-on chip of `family` with `ramSize` bytes of internal RAM, 8 KB of program
    // memory and 64 KB of external data.
    explicit ChipBench(ChipFamily family = ChipFamily::k8051, uint32_t ramSize = 256)
        : ram(ramSize), chip(family, host), registers(chip.Registers()) {
        host.bench = this;
        Bind();
        chip.PowerOn();
    }
    ChipBench(const ChipBench&) = delete;
    ChipBench& operator=(const ChipBench&) = delete;

    void Bind() {
        chip.BindMemory({sfr.data(), static_cast<uint32_t>(sfr.size())},
                        {code.data(), static_cast<uint32_t>(code.size())},
                        {ram.data(), static_cast<uint32_t>(ram.size())},
                        {xdata.data(), static_cast<uint32_t>(xdata.size())});
    }
    // Program bytes from `address` on; the PC goes there.
    void Program(uint16_t address, const std::vector<uint8_t>& bytes) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            code[address + i] = bytes[i];
        }
        registers.SetPc(address);
    }
    // Steps that must all succeed.
    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            const SimStatus status = chip.Step();
            if (status != SIM_OK) {
                failures.push_back(status);
            }
        }
    }
    // One machine cycle of every part, as the `index`th cycle of an instruction of `cycleClass`.
    void Cycle(int cycleClass = 1, int index = 1) {
        chip.SetCycleClass(cycleClass);
        chip.BringUpToDate();
        chip.RunMachineCycle(1, index);
    }
    void Cycles(int count) {
        for (int i = 0; i < count; ++i) {
            Cycle();
        }
    }
    uint8_t Sfr(uint8_t address) const { return sfr[address]; }
    void SetSfr(uint8_t address, uint8_t value) { sfr[address] = value; }

    FakeChipHost host;
    std::vector<uint8_t> sfr = std::vector<uint8_t>(256);
    std::vector<uint8_t> code = std::vector<uint8_t>(0x2000);
    std::vector<uint8_t> ram;
    std::vector<uint8_t> xdata = std::vector<uint8_t>(0x10000);
    CChip chip;
    CRegisterFile& registers;
    std::vector<SimStatus> failures;
};

inline bool FakeChipHost::ResizeCodeAndData(uint32_t codeSize, uint32_t dataSize) {
    bench->code.assign(codeSize, 0);
    bench->xdata.assign(dataSize, 0);
    bench->Bind();
    return true;
}

}  // namespace ostrel::testing
