// Host objects for tests: they record what a target sends and count their releases.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

#include "simtarget/sim_interfaces.h"

namespace ostrel::testing {

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

class FakeDebugInfo : public ISimDebugInfo {
public:
    const char* SIM_CALL ResolveAddress(uint32_t, uint32_t, uint8_t* found, uint32_t*,
                                        uint32_t*) override {
        if (found != nullptr) {
            *found = 0;
        }
        return "";
    }
    uint8_t SIM_CALL IsKnownAddress(uint32_t) override { return 0; }
    void SIM_CALL Release() override { ++releases; }

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

// A file in the test's temporary folder, removed when the object goes.
class TempFile {
public:
    // Test programs run side by side and share the temporary folder: each process's files carry
    // a token of their own.
    TempFile(const std::string& name, const std::string& contents)
        : path_(std::string(::testing::TempDir()) + ProcessToken() + "_" + name) {
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char* path() const { return path_.c_str(); }

private:
    static const std::string& ProcessToken() {
#if defined(_WIN32)
        static const std::string token = std::to_string(_getpid());
#else
        static const std::string token = std::to_string(getpid());
#endif
        return token;
    }

    std::string path_;
};

// One Intel HEX data record of `bytes` at `address`.
inline std::string HexRecord(uint16_t address, const std::vector<uint8_t>& bytes) {
    char head[16];
    std::snprintf(head, sizeof(head), ":%02X%04X00", static_cast<unsigned>(bytes.size()), address);
    std::string line = head;
    unsigned sum = static_cast<unsigned>(bytes.size()) + (address >> 8) + (address & 0xFF);
    for (uint8_t b : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02X", b);
        line += digits;
        sum += b;
    }
    char check[3];
    std::snprintf(check, sizeof(check), "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return line + check + "\n";
}

constexpr const char* kEndRecord = ":00000001FF\n";

}  // namespace ostrel::testing
