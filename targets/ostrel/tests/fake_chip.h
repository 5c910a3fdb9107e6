// A register file's surroundings for tests: the chip side it calls and a log of space messages.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "register_file.h"
#include "simtarget/memory_segment.h"

namespace ostrel::testing {

class MessageLog : public ISegmentOwner {
public:
    void OutputMessage(int32_t, const char* text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

class FakeChip : public IRegisterFileHost {
public:
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
    void SerialTransmit(uint8_t value) override { transmitted.push_back(value); }
    bool SimulateSerial() override { return simulateSerial; }
    uint8_t ReadExternalData(uint16_t address) override { return external[address]; }
    bool WriteExternalData(uint16_t address, uint8_t value) override {
        external[address] = value;
        return true;
    }

    bool portsActive = false;
    bool boardAnswers = true;
    bool simulateSerial = false;
    std::map<uint8_t, uint8_t> boardPins;
    std::vector<uint8_t> boardReads;
    std::vector<std::pair<uint8_t, uint8_t>> boardWrites;
    std::vector<uint8_t> transmitted;
    std::map<uint16_t, uint8_t> external;
};

// A register file over 256 SFR bytes and an internal RAM of `ramSize` bytes.
struct RegisterBench {
    explicit RegisterBench(uint32_t ramSize = 256)
        : ram(ramSize, &log), sfrs(256, &log), registers(ram, sfrs, chip) {}

    MessageLog log;
    FakeChip chip;
    CMemorySegment ram;
    CMemorySegment sfrs;
    CRegisterFile registers;
};

}  // namespace ostrel::testing
