// Host objects for tests of targets: they record what a target tells them and count releases.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "simtarget/sim_interfaces.h"

class RecordingSink : public ISimMessageSink {
public:
    void SIM_CALL Output(int32_t level, const char* text) override {
        messages.emplace_back(level, text != nullptr ? text : "(null)");
    }
    void SIM_CALL Release() override { ++releases; }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages) {
            texts.push_back(message.second);
        }
        return texts;
    }

    std::vector<std::pair<int32_t, std::string>> messages;
    int releases = 0;
};

// Knows the symbols it is given; may answer an address range for chosen addresses.
class SymbolTable : public ISimDebugInfo {
public:
    const char* SIM_CALL ResolveAddress(uint32_t address, uint32_t, uint8_t* found, uint32_t* low,
                                        uint32_t* high) override {
        auto range = ranges.find(address);
        if (range != ranges.end() && low != nullptr && high != nullptr) {
            *low = range->second.first;
            *high = range->second.second;
        }
        auto symbol = symbols.find(address);
        if (found != nullptr) {
            *found = symbol != symbols.end() ? 1 : 0;
        }
        return symbol != symbols.end() ? symbol->second.c_str() : "";
    }
    uint8_t SIM_CALL IsKnownAddress(uint32_t address) override {
        return symbols.count(address) != 0 ? 1 : 0;
    }
    void SIM_CALL Release() override { ++releases; }
    std::map<uint32_t, std::string> symbols;
    std::map<uint32_t, std::pair<uint32_t, uint32_t>> ranges;
    int releases = 0;
};

class RecordingTerminal : public ISimSerialTerminal {
public:
    void SIM_CALL Transmit(int32_t channel, const uint8_t* bytes, uint32_t count) override {
        for (uint32_t i = 0; i < count; ++i) {
            sent.emplace_back(channel, bytes[i]);
        }
    }
    void SIM_CALL Release() override { ++releases; }
    std::vector<std::pair<int32_t, uint8_t>> sent;
    int releases = 0;
};

class RecordingObserver : public ISimPortObserver {
public:
    void SIM_CALL UpdateValues(const char* const* names, const uint32_t* values,
                               int32_t count) override {
        std::vector<std::pair<std::string, uint32_t>> update;
        for (int32_t i = 0; i < count; ++i) {
            update.emplace_back(names[i], values[i]);
        }
        updates.push_back(update);
    }
    int32_t SIM_CALL IsActive() override { return active; }

    std::vector<std::vector<std::pair<std::string, uint32_t>>> updates;
    int32_t active = 1;
};
