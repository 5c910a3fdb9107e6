// Feeds arbitrary files to the HEX program reader in each of its formats: every input must end
// in a result code, with stores only inside the records' reach.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "hexfile/hex_reader.h"

namespace {

int32_t Store(void*, uint32_t address, uint32_t count, const uint8_t* bytes) {
    // Record addresses are 16-bit, plus a segment base of at most 0xFFFF0.
    if (count == 0 || count > 255 || address > 0xFFFF0u + 0xFFFFu) {
        std::abort();
    }
    volatile uint8_t sink = bytes[count - 1];
    (void)sink;
    return address > 0x8000 ? kHexOutOfRange : 0;
}

void Message(void*, int32_t level, const char* text) {
    if (level != 1 || text == nullptr) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The reader takes a path: each input goes through one scratch file of this process.
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("fuzz_target_hex_reader." + std::to_string(static_cast<long>(getpid())) + ".hex"))
            .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);
    int32_t format = 1 + data[0] % 3;
    ReadHexFile(nullptr, path.c_str(), format, Store, Message);
    std::remove(path.c_str());
    return 0;
}
