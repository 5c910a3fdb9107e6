// The HEX program reader: the three formats, every parse failure with its messages in order,
// the store callback's answers and the file-level edge cases.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hexfile/hex_reader.h"

namespace {

struct Stored {
    uint32_t address;
    std::vector<uint8_t> bytes;
    bool operator==(const Stored& other) const {
        return address == other.address && bytes == other.bytes;
    }
};

struct Collector {
    std::vector<Stored> stored;
    std::vector<std::string> messages;
    int32_t answer = 0;  // what the store callback answers
};

int32_t Store(void* context, uint32_t address, uint32_t count, const uint8_t* bytes) {
    auto* c = static_cast<Collector*>(context);
    c->stored.push_back({address, std::vector<uint8_t>(bytes, bytes + count)});
    return c->answer;
}

void Note(void* context, int32_t level, const char* text) {
    EXPECT_EQ(level, 1);
    static_cast<Collector*>(context)->messages.push_back(text);
}

// An Intel HEX record with its checksum.
std::string Intel(uint32_t address, uint8_t type, const std::vector<uint8_t>& data) {
    char text[600];
    int n = std::snprintf(text, sizeof text, ":%02X%04X%02X", static_cast<unsigned>(data.size()),
                          address, type);
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    for (uint8_t b : data) {
        n += std::snprintf(text + n, sizeof text - n, "%02X", b);
        sum += b;
    }
    std::snprintf(text + n, sizeof text - n, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return text;
}

// A Motorola S1 record with its checksum.
std::string S1(uint32_t address, const std::vector<uint8_t>& data) {
    char text[600];
    unsigned count = static_cast<unsigned>(data.size()) + 3;
    int n = std::snprintf(text, sizeof text, "S1%02X%04X", count, address);
    unsigned sum = count + (address >> 8) + (address & 0xFF);
    for (uint8_t b : data) {
        n += std::snprintf(text + n, sizeof text - n, "%02X", b);
        sum += b;
    }
    std::snprintf(text + n, sizeof text - n, "%02X", ~sum & 0xFF);
    return text;
}

class HexReader : public ::testing::Test {
protected:
    // Writes `content` to a file of this test and reads it in `format`.
    int32_t Read(const std::string& content, int32_t format = kHexFormatIntel) {
        std::string name = std::string("hex_reader_") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".hex";
        std::FILE* file = std::fopen(name.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
        int32_t result = ReadHexFile(&c, name.c_str(), format, Store, Note);
        std::remove(name.c_str());
        return result;
    }
    using Messages = std::vector<std::string>;
    Collector c;
};

TEST_F(HexReader, AnEndRecordAloneLoadsWithoutStoring) {
    EXPECT_EQ(Read(":00000001FF\n"), kHexOk);
    EXPECT_TRUE(c.stored.empty());
    EXPECT_TRUE(c.messages.empty());
}

TEST_F(HexReader, DataRecordsReachTheStoreWithTheirAddressesWhateverTheLineEnds) {
    std::string lf =
        Intel(0x0100, 0, {1, 2, 3}) + "\n" + Intel(0xFFF0, 0, {0xAA}) + "\n" + ":00000001FF\n";
    std::string crlf =
        Intel(0x0100, 0, {1, 2, 3}) + "\r\n" + Intel(0xFFF0, 0, {0xAA}) + "\r\n:00000001FF\r\n";
    std::vector<Stored> expected = {{0x0100, {1, 2, 3}}, {0xFFF0, {0xAA}}};
    EXPECT_EQ(Read(lf), kHexOk);
    EXPECT_EQ(c.stored, expected);
    c.stored.clear();
    EXPECT_EQ(Read(crlf), kHexOk);
    EXPECT_EQ(c.stored, expected);
    c.stored.clear();
    // The end record needs no line end; lower-case digits and trailing characters are fine.
    EXPECT_EQ(Read(":0201000001fffd  ; comment\n:00000001ff"), kHexOk);
    EXPECT_EQ(c.stored, (std::vector<Stored>{{0x0100, {0x01, 0xFF}}}));
    EXPECT_TRUE(c.messages.empty());
}

TEST_F(HexReader, AFileWithoutAnEndRecordDoesNotLoad) {
    EXPECT_EQ(Read(Intel(0x0100, 0, {1}) + "\n"), kHexError);
    EXPECT_EQ(c.messages, Messages{"Error loading the file."});
    EXPECT_EQ(c.stored.size(), 1u);  // stored before the failure, and left to the caller
}

TEST_F(HexReader, AWrongChecksumSendsItsMessagesInOrder) {
    EXPECT_EQ(Read(":0300000002003C00\r\n:00000001FF\n"), kHexError);
    EXPECT_EQ(c.messages, (Messages{"Calculated checksum does not match to the read one.",
                                    "Error parsing the line.", ":0300000002003C00",
                                    "Error loading the file."}));
    EXPECT_TRUE(c.stored.empty());
}

TEST_F(HexReader, EachUnreadableFieldOfAnIntelLineHasItsOwnMessage) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"00000001FF", "Line should start with ':' character"},
        {":G0000001FF", "Cannot read number of bytes for the line"},
        {":000X0001FF", "Cannot read data address for the line"},
        {":0000000", "Cannot read record type for the line"},
        {":00000006FA", "Invalid value for the record type"},
        {":0200000001", "Cannot read data byte from the hex file line"},
        {":01000000AA", "Cannot read checksum byte for the line"},
    };
    for (const Case& k : cases) {
        c.messages.clear();
        EXPECT_EQ(Read(std::string(k.line) + "\n:00000001FF\n"), kHexError) << k.line;
        EXPECT_EQ(c.messages, (Messages{k.message, "Error parsing the line.", k.line,
                                        "Error loading the file."}));
    }
}

TEST_F(HexReader, AnEmptyLineBeforeTheEndFailsAndLinesAfterTheEndAreNeverRead) {
    EXPECT_EQ(Read("\n:00000001FF\n"), kHexError);
    EXPECT_EQ(c.messages[0], "Line should start with ':' character");
    c.messages.clear();
    EXPECT_EQ(Read(":00000001FF\nthis is not a record\n"), kHexOk);
    EXPECT_TRUE(c.messages.empty());
}

TEST_F(HexReader, ALineLongerThanTheBufferIsReadInTwoPieces) {
    std::string line = Intel(0x0000, 0, {0x12}) + std::string(4200, ' ') + "\n";
    EXPECT_EQ(Read(line + ":00000001FF\n"), kHexError);
    EXPECT_EQ(c.stored.size(), 1u);  // the first piece is a good record
    EXPECT_EQ(c.messages[0], "Line should start with ':' character");
    EXPECT_EQ(c.messages[1], "Error parsing the line.");
}

TEST_F(HexReader, TheStoresAnswerEndsTheRead) {
    std::string file = Intel(0x0100, 0, {1}) + "\n" + Intel(0x0200, 0, {2}) + "\n:00000001FF\n";
    c.answer = kHexOutOfRange;
    EXPECT_EQ(Read(file), kHexOutOfRange);
    EXPECT_EQ(c.stored.size(), 1u);
    EXPECT_EQ(
        c.messages,
        Messages{"Address in hex file is out of range for the selected processor or toolkit"});
    c = Collector();
    c.answer = 7;
    EXPECT_EQ(Read(file), 7);
    EXPECT_EQ(c.messages, Messages{"Error loading the file."});
}

TEST_F(HexReader, AddressRecordsAreCheckedAndStoreNothingInThePlainFormat) {
    std::string file = Intel(0, 3, {0, 0, 0x01, 0x00}) + "\n" + Intel(0, 5, {0, 0, 0, 0}) + "\n" +
                       Intel(0, 4, {0x00, 0x00}) + "\n" + Intel(0x0010, 0, {9}) + "\n" +
                       ":00000001FF\n";
    EXPECT_EQ(Read(file), kHexOk);
    EXPECT_EQ(c.stored, (std::vector<Stored>{{0x0010, {9}}}));
}

TEST_F(HexReader, DataAboveTheFirst64KBIsOutOfRangeNotFoldedIntoIt) {
    std::string linear =
        Intel(0, 4, {0x00, 0x01}) + "\n" + Intel(0x0010, 0, {9}) + "\n" + ":00000001FF\n";
    EXPECT_EQ(Read(linear), kHexOutOfRange);
    EXPECT_TRUE(c.stored.empty());
    EXPECT_EQ(
        c.messages,
        Messages{"Address in hex file is out of range for the selected processor or toolkit"});
    c = Collector();
    std::string segment =
        Intel(0, 2, {0x10, 0x00}) + "\n" + Intel(0x0010, 0, {9}) + "\n" + ":00000001FF\n";
    EXPECT_EQ(Read(segment, kHexFormatIntel), kHexOutOfRange);
    c = Collector();
    EXPECT_EQ(Read(linear, kHexFormatIntelSegments), kHexOutOfRange);
    // Back to the first 64 KB, data loads again.
    c = Collector();
    std::string back = Intel(0, 4, {0x00, 0x01}) + "\n" + Intel(0, 4, {0x00, 0x00}) + "\n" +
                       Intel(0x0010, 0, {9}) + "\n:00000001FF\n";
    EXPECT_EQ(Read(back), kHexOk);
    EXPECT_EQ(c.stored.size(), 1u);
}

TEST_F(HexReader, SegmentRecordsMoveTheFollowingDataInTheSegmentFormat) {
    std::string file = Intel(0x0010, 0, {1}) + "\n" + ":020000021000EC\n" + Intel(0x0010, 0, {2}) +
                       "\n" + Intel(0, 2, {0x00, 0x00}) + "\n" + Intel(0x0020, 0, {3}) +
                       "\n:00000001FF\n";
    EXPECT_EQ(Read(file, kHexFormatIntelSegments), kHexOk);
    EXPECT_EQ(c.stored, (std::vector<Stored>{{0x0010, {1}}, {0x10010, {2}}, {0x0020, {3}}}));
}

TEST_F(HexReader, AddressRecordsWiderThanSixteenBitsPutDataOutOfRangeInsteadOfWrapping) {
    // Read as a 32-bit number times 16, these segments would wrap to 0x00000 and 0x00010.
    std::string wide = Intel(0, 2, {0x10, 0x00, 0x00, 0x00, 0x00}) + "\n" + Intel(0x0010, 0, {9}) +
                       "\n:00000001FF\n";
    EXPECT_EQ(Read(wide, kHexFormatIntelSegments), kHexOutOfRange);
    EXPECT_TRUE(c.stored.empty());
    c = Collector();
    std::string wideLinear =
        Intel(0, 4, {0x01, 0x00, 0x00}) + "\n" + Intel(0x0010, 0, {9}) + "\n:00000001FF\n";
    EXPECT_EQ(Read(wideLinear), kHexOutOfRange);
    // Leading zero bytes are not wide: the value still fits.
    c = Collector();
    std::string padded =
        Intel(0, 2, {0x00, 0x00, 0x10, 0x00}) + "\n" + Intel(0x0010, 0, {9}) + "\n:00000001FF\n";
    EXPECT_EQ(Read(padded, kHexFormatIntelSegments), kHexOk);
    EXPECT_EQ(c.stored, (std::vector<Stored>{{0x10010, {9}}}));
}

TEST_F(HexReader, MotorolaFilesHoldS1DataAndEndWithS9) {
    std::string file = S1(0x0100, {0xDE, 0xAD}) + "\r\n" + S1(0x0000, {}) + "\nS9030000FC\n";
    EXPECT_EQ(Read(file, kHexFormatMotorola), kHexOk);
    EXPECT_EQ(c.stored, (std::vector<Stored>{{0x0100, {0xDE, 0xAD}}}));
    EXPECT_TRUE(c.messages.empty());
    c = Collector();
    EXPECT_EQ(Read("s9030000fc\n", kHexFormatMotorola), kHexError);
    EXPECT_EQ(c.messages[0], "Line should start with ':' character");
}

TEST_F(HexReader, EachUnreadableFieldOfAnSRecordHasItsOwnMessage) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {":00000001FF", "Line should start with ':' character"},
        {"S0030000FC", "Invalid value for the record type"},
        {"S2040000000B", "Invalid value for the record type"},
        {"S1020000FD", "Cannot read number of bytes for the line"},
        {"S1XX0000FC", "Cannot read number of bytes for the line"},
        {"S1030Z00FC", "Cannot read data address for the line"},
        {"S1050000AA", "Cannot read data byte from the hex file line"},
        {"S1040000AA", "Cannot read checksum byte for the line"},
        {"S1040000AA00", "Calculated checksum does not match to the read one."},
    };
    for (const Case& k : cases) {
        c.messages.clear();
        EXPECT_EQ(Read(std::string(k.line) + "\nS9030000FC\n", kHexFormatMotorola), kHexError)
            << k.line;
        EXPECT_EQ(c.messages, (Messages{k.message, "Error parsing the line.", k.line,
                                        "Error loading the file."}));
    }
}

TEST_F(HexReader, BadArgumentsAndMissingFilesAreReportedWithoutAStore) {
    EXPECT_EQ(ReadHexFile(&c, "x.hex", 4, Store, Note), kHexError);
    EXPECT_EQ(ReadHexFile(&c, "x.hex", 0, Store, Note), kHexError);
    EXPECT_EQ(ReadHexFile(&c, "", 1, Store, Note), kHexError);
    EXPECT_EQ(ReadHexFile(&c, nullptr, 1, Store, Note), kHexError);
    EXPECT_EQ(ReadHexFile(&c, "no_such_file_here.hex", 1, Store, Note), kHexError);
    EXPECT_EQ(c.messages, (Messages{"Unkown value for paramater fileFormat",
                                    "Unkown value for paramater fileFormat",
                                    "hexFile parameter should point to a valid file name.",
                                    "hexFile parameter should point to a valid file name.",
                                    "Cannot open hexFile for reading."}));
    // Without a message callback the failures are silent.
    EXPECT_EQ(ReadHexFile(&c, "no_such_file_here.hex", 1, Store, nullptr), kHexError);
    EXPECT_EQ(c.messages.size(), 5u);
}

}  // namespace
