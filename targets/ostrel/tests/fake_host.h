// Test helpers of the simulator: the host objects, temporary program files, HEX records.
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

#include "sim_host_fakes.h"
#include "simtarget/sim_interfaces.h"

namespace ostrel::testing {

// The host objects every target test uses; FakeDebugInfo knows no symbols.
using ::RecordingObserver;
using ::RecordingSink;
using ::RecordingTerminal;
using FakeDebugInfo = ::SymbolTable;

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
