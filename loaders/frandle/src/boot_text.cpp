// Replies up to the boot loader's prompt, and the file's lines.
#include "boot_text.h"

#include <cstring>

#include "loader/loader_abi.h"

namespace frandle {
namespace {

constexpr BYTE kPrompt = '>';

// The end of the line from `offset` (its LF, or the end of the data) and the length of its text
// without the line end.
unsigned long LineEnd(const unsigned char* data, unsigned long length, unsigned long offset,
                      unsigned long* textLength) {
    const void* lf = std::memchr(data + offset, '\n', length - offset);
    unsigned long end =
        lf != nullptr ? static_cast<unsigned long>(static_cast<const unsigned char*>(lf) - data)
                      : length;
    unsigned long text = end - offset;
    if (lf != nullptr && text > 0 && data[end - 1] == '\r') {
        --text;
    }
    *textLength = text;
    return end;
}

}  // namespace

int readUntilPrompt(CComms& port, char* reply, size_t* count) {
    size_t at = 0;
    for (unsigned long read = 0; read < kPromptSearchLimit; ++read) {
        BYTE byte = 0;
        int result = port.Read(&byte);
        if (result != 0 || byte == kPrompt) {
            reply[at] = '\0';
            *count = at;
            return result;
        }
        reply[at] = static_cast<char>(byte);
        at = (at + 1) % kReplySize;
    }
    reply[at] = '\0';
    *count = at;
    return LDR_ERR_DOWNLOAD;
}

long nextHexLine(char* line, const unsigned char* data, unsigned long length,
                 unsigned long offset) {
    if (data == nullptr || offset >= length) {
        return -1;
    }
    unsigned long text = 0;
    unsigned long end = LineEnd(data, length, offset, &text);
    size_t stored = text < kLongestLine ? text : kLongestLine;
    std::memcpy(line, data + offset, stored);
    line[stored] = '\0';
    return static_cast<long>((end < length ? end + 1 : end) - offset);
}

unsigned long FirstLongLine(const unsigned char* data, unsigned long length) {
    unsigned long number = 0;
    for (unsigned long offset = 0; data != nullptr && offset < length;) {
        ++number;
        unsigned long text = 0;
        unsigned long end = LineEnd(data, length, offset, &text);
        if (text > kLongestLine) {
            return number;
        }
        offset = end + 1;
    }
    return 0;
}

}  // namespace frandle
