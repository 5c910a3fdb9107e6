// The program-file reader: Intel HEX, Motorola S1/S9 and Intel HEX with segment records.
#include "hexfile/hex_reader.h"

#include <cstdio>
#include <cstring>

#include "hexdigits/hex_digits.h"

namespace {

constexpr size_t kLineBufferSize = 4096;

// One parsed line.
struct HexRecord {
    uint32_t address = 0;
    uint32_t count = 0;  // data bytes to store
    uint8_t data[255] = {};
    bool end = false;
    // Intel record type; for an extended address record (type 2 or 4) the base it announces,
    // and whether its value is wider than the 16 bits such a record holds (a base that no
    // 32-bit address reaches without wrapping).
    uint8_t type = 0;
    uint32_t extendedBase = 0;
    bool extendedTooWide = false;
};

class HexFileReader {
public:
    HexFileReader(void* context, HexWriteBytesFn writeFn, HexMessageFn messageFn)
        : m_context(context), m_writeFn(writeFn), m_messageFn(messageFn) {}

    int32_t Read(const char* path, int32_t format);

private:
    void Message(const char* text) {
        if (m_messageFn != nullptr) {
            m_messageFn(m_context, 1, text);
        }
    }
    // Parsers: true with the record, or false after sending the reason.
    bool ReadDataAndChecksum(const char* text, uint32_t count, HexRecord* record, uint8_t* sum,
                             uint8_t* checksum);
    bool ParseIntel(const char* line, HexRecord* record);
    bool ParseMotorola(const char* line, HexRecord* record);
    int32_t ReadLines(std::FILE* file, int32_t format);

    void* m_context;
    HexWriteBytesFn m_writeFn;
    HexMessageFn m_messageFn;
};

// The data bytes of a line, added to *sum, and the checksum byte after them.
bool HexFileReader::ReadDataAndChecksum(const char* text, uint32_t count, HexRecord* record,
                                        uint8_t* sum, uint8_t* checksum) {
    for (uint32_t i = 0; i < count; ++i, text += 2) {
        if (!ReadHexByte(text, &record->data[i])) {
            Message("Cannot read data byte from the hex file line");
            return false;
        }
        *sum = static_cast<uint8_t>(*sum + record->data[i]);
    }
    if (!ReadHexByte(text, checksum)) {
        Message("Cannot read checksum byte for the line");
        return false;
    }
    return true;
}

bool HexFileReader::ParseIntel(const char* line, HexRecord* record) {
    if (line[0] != ':') {
        Message("Line should start with ':' character");
        return false;
    }
    uint8_t count = 0;
    if (!ReadHexByte(line + 1, &count)) {
        Message("Cannot read number of bytes for the line");
        return false;
    }
    uint16_t address = 0;
    if (!ReadHexWord(line + 3, &address)) {
        Message("Cannot read data address for the line");
        return false;
    }
    uint8_t type = 0;
    if (!ReadHexByte(line + 7, &type)) {
        Message("Cannot read record type for the line");
        return false;
    }
    if (type > 5) {
        Message("Invalid value for the record type");
        return false;
    }
    uint8_t sum = static_cast<uint8_t>(count + (address >> 8) + (address & 0xFF) + type);
    uint8_t checksum = 0;
    if (!ReadDataAndChecksum(line + 9, count, record, &sum, &checksum)) {
        return false;
    }
    if (static_cast<uint8_t>(sum + checksum) != 0) {
        Message("Calculated checksum does not match to the read one.");
        return false;
    }
    record->address = address;
    record->count = type == 0 ? count : 0;
    record->end = type == 1;
    record->type = type;
    if (type == 2 || type == 4) {
        uint32_t value = 0;
        record->extendedTooWide = false;
        for (uint32_t i = 0; i < count; ++i) {
            if (value > 0xFF) {
                record->extendedTooWide = true;
            }
            value = ((value << 8) | record->data[i]) & 0xFFFFu;
        }
        record->extendedBase = type == 2 ? value << 4 : value << 16;
    }
    return true;
}

bool HexFileReader::ParseMotorola(const char* line, HexRecord* record) {
    if (line[0] != 'S') {
        Message("Line should start with ':' character");
        return false;
    }
    if (line[1] != '1' && line[1] != '9') {
        Message("Invalid value for the record type");
        return false;
    }
    uint8_t count = 0;
    if (!ReadHexByte(line + 2, &count) || count <= 2) {
        Message("Cannot read number of bytes for the line");
        return false;
    }
    uint16_t address = 0;
    if (!ReadHexWord(line + 4, &address)) {
        Message("Cannot read data address for the line");
        return false;
    }
    uint32_t dataCount = count - 3u;
    uint8_t sum = static_cast<uint8_t>((address >> 8) + (address & 0xFF) + count);
    uint8_t checksum = 0;
    if (!ReadDataAndChecksum(line + 8, dataCount, record, &sum, &checksum)) {
        return false;
    }
    if (checksum != static_cast<uint8_t>(~sum)) {
        Message("Calculated checksum does not match to the read one.");
        return false;
    }
    record->address = address;
    record->end = line[1] == '9';
    record->count = record->end ? 0 : dataCount;
    return true;
}

int32_t HexFileReader::ReadLines(std::FILE* file, int32_t format) {
    char line[kLineBufferSize];
    uint32_t segmentBase = 0;
    // Set by a non-zero extended address record that the format does not place data with: the
    // data after it lies above the 64 KB that record addresses reach, so it is out of range
    // rather than folded into the bottom of the space.
    bool beyondReach = false;
    while (std::fgets(line, static_cast<int>(sizeof line), file) != nullptr) {
        HexRecord record;
        bool parsed =
            format == kHexFormatMotorola ? ParseMotorola(line, &record) : ParseIntel(line, &record);
        if (!parsed) {
            Message("Error parsing the line.");
            line[std::strcspn(line, "\r\n")] = '\0';
            Message(line);
            return kHexError;
        }
        if (format != kHexFormatMotorola && (record.type == 2 || record.type == 4)) {
            if (format == kHexFormatIntelSegments && record.type == 2) {
                // A segment wider than 16 bits lies beyond the 1 MB that segments reach.
                beyondReach = record.extendedTooWide;
                segmentBase = record.extendedTooWide ? 0 : record.extendedBase;
            } else {
                beyondReach = record.extendedBase != 0 || record.extendedTooWide;
            }
        }
        if (record.count > 0 && m_writeFn != nullptr) {
            if (beyondReach) {
                return kHexOutOfRange;
            }
            int32_t answer =
                m_writeFn(m_context, record.address + segmentBase, record.count, record.data);
            if (answer != 0) {
                return answer;
            }
        }
        if (record.end) {
            return kHexOk;
        }
    }
    if (!std::feof(file)) {
        Message("Error reading from the hex file.");
    }
    return kHexError;
}

int32_t HexFileReader::Read(const char* path, int32_t format) {
    if (format != kHexFormatIntel && format != kHexFormatMotorola &&
        format != kHexFormatIntelSegments) {
        Message("Unkown value for paramater fileFormat");
        return kHexError;
    }
    if (path == nullptr || path[0] == '\0') {
        Message("hexFile parameter should point to a valid file name.");
        return kHexError;
    }
    // Binary reading: a line's CR before its LF is one of the characters after the checksum,
    // so files with either line end read alike on every system.
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        Message("Cannot open hexFile for reading.");
        return kHexError;
    }
    int32_t result = ReadLines(file, format);
    std::fclose(file);
    if (result != kHexOk) {
        Message(result == kHexOutOfRange
                    ? "Address in hex file is out of range for the selected processor or toolkit"
                    : "Error loading the file.");
    }
    return result;
}

}  // namespace

int32_t ReadHexFile(void* context, const char* path, int32_t format, HexWriteBytesFn writeFn,
                    HexMessageFn messageFn) {
    HexFileReader reader(context, writeFn, messageFn);
    return reader.Read(path, format);
}
