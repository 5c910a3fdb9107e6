// Tests of the .hex reader: lines, records, checksums, area selection and its failure messages.
#include "tarnel/images/hex_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "image_test_support.h"

namespace {

using namespace test_chips;

const char* const kEnd = ":00000001FF";

// The record with its last checksum digit changed.
std::string Corrupt(std::string line) {
    line.back() = line.back() == '0' ? '1' : '0';
    return line;
}

TEST(HexReaderLines, EndsALineAtLfCrLfOrALoneCr) {
    const std::string text = IntelRecord(0, 0, {1, 2}) + "\n" + IntelRecord(2, 0, {3, 4}) + "\r\n" +
                             IntelRecord(4, 0, {5, 6}) + "\r" + IntelRecord(6, 0, {7, 8}) + "\r" +
                             kEnd;
    MemoryImage image;
    const ImageFileResult result = ReadAs(kAt89S53, text, image);
    ASSERT_TRUE(result.ok()) << result.message;
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(image.code.cells[i], i + 1);
        EXPECT_EQ(image.code.marks[i], kMarkData);
    }
    EXPECT_EQ(image.code.marks[8], kMarkEmpty);
}

TEST(HexReaderLines, CountsLinesEndedByLoneCrs) {
    MemoryImage image;
    const ImageFileResult result =
        ReadAs(kAt89S53, IntelRecord(0, 0, {1}) + "\r" + IntelRecord(1, 0, {2}) + "\rX1\r", image);
    EXPECT_EQ(result.status, ImageFileStatus::kInvalidLine);
    EXPECT_EQ(result.message, "Invalid HEX file : line 3 X1");
    EXPECT_EQ(result.icon, MessageIcon::kError);
    EXPECT_EQ(result.line, 3);
}

TEST(HexReaderLines, RefusesAnEmptyLineAndAnUnknownFirstCharacter) {
    MemoryImage image;
    ImageFileResult result =
        ReadAs(kAt89S53, IntelRecord(0, 0, {1}) + "\r\n\r\n" + IntelRecord(1, 0, {2}), image);
    EXPECT_EQ(result.message, "Invalid HEX file : line 2 ");

    result = ReadAs(kAt89S53, "s1040000FFFC\r\n", image);
    EXPECT_EQ(result.message, "Invalid HEX file : line 1 s1040000FFFC");
}

TEST(HexReaderLines, RefusesARecordWhoseLengthDisagreesWithItsCount) {
    MemoryImage image;
    std::string longer = IntelRecord(0, 0, {1, 2}) + "0";
    ImageFileResult result = ReadAs(kAt89S53, longer + "\r\n" + kEnd, image);
    EXPECT_EQ(result.message, "Invalid HEX file : line 1 " + longer);

    std::string shorter = SRecord(1, 0, {1, 2});
    shorter.pop_back();
    result = ReadAs(kAt89S53, shorter, image);
    EXPECT_EQ(result.message, "Invalid HEX file : line 1 " + shorter);
}

TEST(HexReaderLines, RefusesAnSRecordTooShortForItsAddressAndChecksum) {
    MemoryImage image;
    const ImageFileResult result = ReadAs(kAt89S53, "S1020000\r\n", image);
    EXPECT_EQ(result.message, "Invalid HEX file : line 1 S1020000");
}

TEST(HexReaderLines, TakesAtMost1023CharactersAsOneLine) {
    const std::string huge = ":" + std::string(1100, 'F');
    MemoryImage image;
    const ImageFileResult result = ReadAs(kAt89S53, IntelRecord(0, 0, {1}) + "\n" + huge, image);
    EXPECT_EQ(result.message, "Invalid HEX file : line 2 " + huge.substr(0, 1023));
}

TEST(HexReaderLines, RefusesARecordWithACharacterThatIsNotAHexDigit) {
    // Each would otherwise read: a field stops at its first non-digit, which here balances the
    // checksum, reads a count of 0 (the end of the file) or leaves a trailing character unseen.
    const std::string cases[] = {
        ":02000000ZZ01FD",         ":0Z",          "Some text",
        "S1 4000000FFFC",          ":00000001FF ", IntelRecord(0, 0, {1, 2}).replace(9, 1, "g"),
        SRecord(9, 0, {}) + "\x1A"};
    for (const std::string& bad : cases) {
        SCOPED_TRACE(bad);
        MemoryImage image;
        const ImageFileResult result =
            ReadAs(kAt89S53, IntelRecord(0, 0, {1}) + "\r\n" + bad + "\r\n" + kEnd, image);
        EXPECT_EQ(result.status, ImageFileStatus::kInvalidLine);
        EXPECT_EQ(result.message, "Invalid HEX file : line 2 " + bad);
        EXPECT_EQ(result.line, 2);
        EXPECT_FALSE(image.code.Present());
    }
}

TEST(HexReaderLines, ReadsLowerCaseDigits) {
    std::string record = IntelRecord(0, 0, {0xAB, 0xCD});
    for (char& c : record) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kAt89S53, record, image).ok());
    EXPECT_EQ(image.code.cells[0], 0xAB);
    EXPECT_EQ(image.code.cells[1], 0xCD);
}

TEST(HexReaderEnd, StopsAtACountOfZeroOrAnEndRecordAndReadsNothingBehind) {
    for (const char* end :
         {":", ":00000001FF", ":000000FF", "S9030000FC", "S00", ":01000001FFFF"}) {
        SCOPED_TRACE(end);
        MemoryImage image;
        const ImageFileResult result =
            ReadAs(kAt89S53, IntelRecord(0, 0, {0x55}) + "\r\n" + end + "\r\nrubbish\r\n", image);
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(image.code.cells[0], 0x55);
    }
}

TEST(HexReaderEnd, AcceptsAFileWithoutEndRecord) {
    MemoryImage image;
    const ImageFileResult result = ReadAs(
        kAt89S53, IntelRecord(0x10, 0, {1}) + "\r\n" + IntelRecord(0x20, 0, {2}) + "\r\n", image);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(image.code.cells[0x10], 1);
    EXPECT_EQ(image.code.cells[0x20], 2);
}

TEST(HexReaderEnd, ReadsIntelType9AndS1AsDataNotAsTheEnd) {
    MemoryImage image;
    const std::string text =
        IntelRecord(0x10, 9, {0xAB}) + "\r\n" + SRecord(1, 0x11, {0xCD}) + "\r\n" + kEnd;
    ASSERT_TRUE(ReadAs(kAt89S53, text, image).ok());
    EXPECT_EQ(image.code.cells[0x10], 0xAB);
    EXPECT_EQ(image.code.cells[0x11], 0xCD);
}

TEST(HexReaderChecksum, NamesTheAreaOfTheFailingRecord) {
    struct Case {
        const char* chip;
        unsigned address;
        std::string prefix;
        bool withText;
    };
    const Case cases[] = {
        {kAt89S8252, 0x0000, "Invalid CHECKSUM in HEX file: line 2 ", true},
        {kAt89S8252, 0x2000, "Invalid CHECKSUM in HEX file: line 2 ", true},
        {kPic16, 0x0000, "Invalid CHECKSUM in HEX file (CODE SECTION): line 2 ", true},
        {kPic16, 0x4200, "Invalid CHECKSUM in HEX file (DATA SECTION): line 2 ", true},
        {kPic16, 0x4000, "Invalid CHECKSUM in HEX file (SPEC SECTION): line 2 ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        const std::string bad = Corrupt(IntelRecord(c.address, 0, {0x12, 0x00}));
        MemoryImage image;
        const ImageFileResult result =
            ReadAs(c.chip, IntelRecord(c.address, 0, {1, 0}) + "\r\n" + bad + "\r\n" + kEnd, image);
        EXPECT_EQ(result.status, ImageFileStatus::kBadChecksum);
        EXPECT_EQ(result.message, c.prefix + (c.withText ? bad : ""));
        EXPECT_FALSE(image.code.Present());
    }
}

TEST(HexReaderChecksum, CoversTheSkippedSecondByteOfPicDataWords) {
    std::string record = IntelRecord(0x4200, 0, {0x11, 0x00});
    record[12] = '1';  // second data byte 00 -> 01, checksum left as it was
    MemoryImage image;
    const ImageFileResult result = ReadAs(kPic16, record, image);
    EXPECT_EQ(result.message, "Invalid CHECKSUM in HEX file (DATA SECTION): line 1 " + record);
}

TEST(HexReaderChecksum, ChecksS1RecordsWithTheOnesComplement) {
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kAt89S53, "S1061234010203AD", image).ok());
    EXPECT_EQ(image.code.cells[0x1234], 1);
    EXPECT_EQ(image.code.cells[0x1236], 3);
    // The same record with a two's-complement checksum is refused.
    EXPECT_EQ(ReadAs(kAt89S53, "S1061234010203AE", image).status, ImageFileStatus::kBadChecksum);
}

TEST(HexReaderSRecords, SkipsAHeaderAndARecordCountAfterTestingTheirChecksums) {
    // A header and a count whose addresses fall on cells of the code area store nothing there.
    const std::string text = SRecord(0, 0, {'h', 'd', 'r'}) + "\r\n" +
                             SRecord(1, 0x10, {0xAB, 0xCD}) + "\r\n" + SRecord(5, 1, {}) + "\r\n" +
                             SRecord(9, 0, {});
    MemoryImage image;
    const ImageFileResult result = ReadAs(kAt89S53, text, image);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(image.code.cells[0x10], 0xAB);
    EXPECT_EQ(image.code.cells[0x11], 0xCD);
    EXPECT_EQ(image.code.marks[0], kMarkEmpty);
    EXPECT_EQ(image.code.marks[1], kMarkEmpty);

    // A damaged one fails with the message of no area, on a PIC chip's special area too.
    const std::string header = Corrupt(SRecord(0, 0, {'h', 'd', 'r'}));
    EXPECT_EQ(ReadAs(kAt89S53, header, image).message,
              "Invalid CHECKSUM in HEX file: line 1 " + header);
    const std::string count = Corrupt(SRecord(5, 0x4000, {}));
    const ImageFileResult damaged =
        ReadAs(kPic16, SRecord(1, 0, {1, 2}) + "\r\n" + count + "\r\n" + kEnd, image);
    EXPECT_EQ(damaged.message, "Invalid CHECKSUM in HEX file: line 2 " + count);
    EXPECT_EQ(damaged.line, 2);
}

TEST(HexReaderSRecords, RefusesS2S3S7AndS8) {
    MemoryImage image;
    for (unsigned type : {2u, 3u, 7u, 8u}) {
        SCOPED_TRACE(type);
        const std::string record = SRecord(type, 0x10, {1, 2});
        EXPECT_EQ(ReadAs(kAt89S53, record, image).message,
                  "Invalid CHECKSUM in HEX file: line 1 " + record);
    }
    // Outside every area of the chip.
    EXPECT_EQ(ReadAs(kAt89S53, SRecord(7, 0x3000, {}), image).message,
              "Invalid address in file. Probably it was created for enother chip.");
}

TEST(HexReaderAddress, RefusesARecordOutsideEveryAreaWithMessage4047) {
    MemoryImage image;
    const ImageFileResult result =
        ReadAs(kAt89S53, IntelRecord(0, 0, {1}) + "\r\n" + IntelRecord(0x3000, 0, {1}), image);
    EXPECT_EQ(result.status, ImageFileStatus::kInvalidAddress);
    EXPECT_EQ(result.message, "Invalid address in file. Probably it was created for enother chip.");
    EXPECT_EQ(result.line, 2);
    EXPECT_EQ(kInvalidAddressMessageId, 4047u);
}

TEST(HexReaderAddress, RefusesARecordRunningPastTheEndOfItsArea) {
    MemoryImage image;
    EXPECT_EQ(ReadAs(kAt89S53, IntelRecord(0x2FFF, 0, {1, 2}), image).status,
              ImageFileStatus::kInvalidAddress);
    EXPECT_EQ(ReadAs(kAt89S8252, IntelRecord(0x27FF, 0, {1, 2}), image).status,
              ImageFileStatus::kInvalidAddress);
    // PIC data: the last cell (word at 0x43FE) takes one word, not two.
    EXPECT_TRUE(ReadAs(kPic16, IntelRecord(0x43FE, 0, {1, 0}), image).ok());
    EXPECT_EQ(ReadAs(kPic16, IntelRecord(0x43FE, 0, {1, 0, 2, 0}), image).status,
              ImageFileStatus::kInvalidAddress);
    EXPECT_EQ(ReadAs(kPic16, IntelRecord(0x400E, 0, {1, 2, 3, 4}), image).status,
              ImageFileStatus::kInvalidAddress);
    EXPECT_FALSE(image.code.Present());
}

TEST(HexReaderAddress, UsesTheAreaSizesOfTheChipChoice) {
    FixedChipSelector selector(kAt89S53, {0x100, 0, 0});
    MemoryImage image;
    EXPECT_TRUE(ReadHexImage(IntelRecord(0xFF, 0, {1}), selector, image).ok());
    EXPECT_EQ(image.code.Size(), 0x100u);
    EXPECT_EQ(ReadHexImage(IntelRecord(0x100, 0, {1}), selector, image).status,
              ImageFileStatus::kInvalidAddress);
}

TEST(HexReaderAddress, PutsDataBeforeCodeForAn8051WithBothAreas) {
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kAt89S8252,
                       IntelRecord(0x1FFF, 0, {0x11}) + "\n" + IntelRecord(0x2000, 0, {0x22}) +
                           "\n" + IntelRecord(0x27FF, 0, {0x33}),
                       image)
                    .ok());
    EXPECT_EQ(image.code.cells[0x1FFF], 0x11);
    EXPECT_EQ(image.data.cells[0], 0x22);
    EXPECT_EQ(image.data.cells[0x7FF], 0x33);
    EXPECT_EQ(image.data.marks[1], kMarkEmpty);
}

TEST(HexReaderPic, FillsAllThreePic16AreasFromTheUsualLayout) {
    const std::string text = IntelRecord(0x0000, 0, {0x12, 0x28, 0x34, 0x30}) + "\r\n" +
                             IntelRecord(0x400E, 0, {0x32, 0x3F}) + "\r\n" +
                             IntelRecord(0x4200, 0, {0xAB, 0x00, 0xCD, 0x00}) + "\r\n" + kEnd;
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kPic16, text, image).ok());
    // Code words high byte first; untouched words erased to 0x3FFF.
    EXPECT_EQ(image.code.cells[0], 0x28);
    EXPECT_EQ(image.code.cells[1], 0x12);
    EXPECT_EQ(image.code.cells[2], 0x30);
    EXPECT_EQ(image.code.cells[3], 0x34);
    EXPECT_EQ(image.code.cells[4], 0x3F);
    EXPECT_EQ(image.code.cells[5], 0xFF);
    // The configuration word in cells 14 and 15, the other special words erased.
    EXPECT_EQ(image.special.cells[14], 0x3F);
    EXPECT_EQ(image.special.cells[15], 0x32);
    EXPECT_EQ(image.special.cells[0], 0x3F);
    EXPECT_EQ(image.special.cells[1], 0xFF);
    // Zero-extended EEPROM bytes, one cell each.
    EXPECT_EQ(image.data.cells[0], 0xAB);
    EXPECT_EQ(image.data.cells[1], 0xCD);
    EXPECT_EQ(image.data.cells[2], 0xFF);
    for (const ImageArea* area : {&image.code, &image.data, &image.special}) {
        for (uint8_t mark : area->marks) {
            ASSERT_EQ(mark, kMarkData);
        }
    }
}

TEST(HexReaderPic, PairsAnOddLastCodeByteOnlyWithACellInsideTheArea) {
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kPic16, IntelRecord(0, 0, {0x12, 0x34, 0x56}), image).ok());
    EXPECT_EQ(image.code.cells[0], 0x34);
    EXPECT_EQ(image.code.cells[1], 0x12);
    EXPECT_EQ(image.code.cells[2], 0xFF);  // the erased low byte of word 1
    EXPECT_EQ(image.code.cells[3], 0x56);

    ASSERT_TRUE(ReadAs(kPic16, IntelRecord(0x3FFF, 0, {0x77}), image).ok());
    EXPECT_EQ(image.code.cells[0x3FFF], 0x77);
    EXPECT_EQ(image.code.Size(), 0x4000u);
}

TEST(HexReaderPic, PutsPic18RecordsBelowTheCodeEndIntoCodeWithoutExtendedAddresses) {
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kPic18F442, IntelRecord(0x3000, 0, {0x01, 0x02}), image).ok());
    EXPECT_EQ(image.code.cells[0x3000], 0x02);
    EXPECT_EQ(image.code.cells[0x3001], 0x01);
    EXPECT_EQ(image.special.cells[0], 0xFF);
    EXPECT_EQ(image.special.cells[1], 0xFF);
    // Above the code end the special area takes it; beyond that nothing does.
    FixedChipSelector small(kPic18F442, {0x2000, 0x100, 0x10});
    ASSERT_TRUE(ReadHexImage(IntelRecord(0x3000, 0, {0x01, 0x02}), small, image).ok());
    EXPECT_EQ(image.special.cells[0], 0x02);
    EXPECT_EQ(image.special.cells[1], 0x01);
    EXPECT_EQ(ReadAs(kPic18F442, IntelRecord(0x4000, 0, {1, 2}), image).status,
              ImageFileStatus::kInvalidAddress);
}

TEST(HexReaderPic, SwitchesPic18AreasAtEachExtendedLinearAddressRecord) {
    const std::string text = std::string(":020000040000FA\r\n") +
                             IntelRecord(0x0010, 0, {0x34, 0x12}) + "\r\n" + ":0200000400F00A\r\n" +
                             IntelRecord(0x0004, 0, {0x5A, 0x00}) + "\r\n" + ":020000040030CA\r\n" +
                             IntelRecord(0x0002, 0, {0xFE, 0xCA}) + "\r\n" + kEnd;
    MemoryImage image;
    const ImageFileResult result = ReadAs(kPic18F452, text, image);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(image.code.cells[0x10], 0x12);
    EXPECT_EQ(image.code.cells[0x11], 0x34);
    EXPECT_EQ(image.data.cells[2], 0x5A);
    EXPECT_EQ(image.special.cells[2], 0xCA);
    EXPECT_EQ(image.special.cells[3], 0xFE);
}

TEST(HexReaderAddressRecords, SkipsStartAddressRecordsInsteadOfStoringThemOverCode) {
    const std::string text = IntelRecord(0, 0, {1, 2, 3, 4}) + "\r\n" +
                             IntelRecord(0, 5, {0x00, 0x00, 0x12, 0x34}) + "\r\n" +
                             IntelRecord(0, 3, {0x00, 0x00, 0x00, 0x00}) + "\r\n" +
                             IntelRecord(0x10, 5, {0xAA, 0xBB, 0xCC, 0xDD}) + "\r\n" + kEnd;
    MemoryImage image;
    ASSERT_TRUE(ReadAs(kAt89S53, text, image).ok());
    EXPECT_EQ(image.code.cells[0], 1);
    EXPECT_EQ(image.code.cells[3], 4);
    EXPECT_EQ(image.code.cells[0x10], 0);
    EXPECT_EQ(image.code.marks[0x10], kMarkEmpty);
}

TEST(HexReaderAddressRecords, SkipsSegmentZeroAndRefusesAnyOtherSegment) {
    MemoryImage image;
    ASSERT_TRUE(
        ReadAs(kAt89S53, IntelRecord(0, 2, {0, 0}) + "\n" + IntelRecord(0, 0, {7}), image).ok());
    EXPECT_EQ(image.code.cells[0], 7);
    const ImageFileResult result =
        ReadAs(kAt89S53, IntelRecord(0, 2, {0x10, 0x00}) + "\n" + IntelRecord(0, 0, {7}), image);
    EXPECT_EQ(result.status, ImageFileStatus::kInvalidAddress);
    EXPECT_EQ(result.line, 1);
}

TEST(HexReaderAddressRecords, ChecksTheChecksumOfAddressRecords) {
    for (unsigned type : {2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(type);
        const std::string bad =
            Corrupt(IntelRecord(0, type,
                                type == 4 || type == 2 ? std::vector<uint8_t>{0, 0}
                                                       : std::vector<uint8_t>{0, 0, 0, 0}));
        MemoryImage image;
        EXPECT_EQ(ReadAs(kAt89S53, bad + "\r\n" + kEnd, image).message,
                  "Invalid CHECKSUM in HEX file: line 1 " + bad);
    }
}

TEST(HexReaderAddressRecords, RefusesRecordsBehindAnExtendedAddressOfNoArea) {
    // PIC18 ID locations (linear 0x200000) and a second 64 KB bank of an 8051 file.
    struct Case {
        const char* chip;
        const char* extended;
    };
    for (const Case& c :
         {Case{kPic18F452, ":020000040020DA"}, Case{kPic18F452, ":020000040001F9"},
          Case{kAt89S53, ":020000040001F9"}, Case{kMemoryBoard, ":020000040001F9"}}) {
        SCOPED_TRACE(c.extended);
        const std::string text = std::string(":020000040000FA\r\n") + IntelRecord(0, 0, {1, 2}) +
                                 "\r\n" + c.extended + "\r\n" + IntelRecord(0, 0, {3, 4}) + "\r\n" +
                                 kEnd;
        MemoryImage image;
        const ImageFileResult result = ReadAs(c.chip, text, image);
        EXPECT_EQ(result.status, ImageFileStatus::kInvalidAddress);
        EXPECT_EQ(result.line, 4);
        EXPECT_FALSE(image.code.Present() || image.data.Present());
    }
}

TEST(HexReaderAddressRecords, PlacesRecordsBehindExtendedAddressZeroAsWithoutIt) {
    struct Case {
        const char* chip;
        std::string records;
    };
    const Case cases[] = {
        // 8051 code and data, a memory board's data.
        {kAt89S8252, IntelRecord(0x10, 0, {9}) + "\n" + IntelRecord(0x2000, 0, {8})},
        {kMemoryBoard, IntelRecord(0xFFFF, 0, {9})},
        // PIC16 code, configuration and EEPROM.
        {kPic16, IntelRecord(0, 0, {1, 2}) + "\n" + IntelRecord(0x400E, 0, {3, 4}) + "\n" +
                     IntelRecord(0x4200, 0, {5, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chip);
        MemoryImage plain;
        ASSERT_TRUE(ReadAs(c.chip, c.records, plain).ok());
        MemoryImage extended;
        const ImageFileResult result =
            ReadAs(c.chip, std::string(":020000040000FA\n") + c.records, extended);
        ASSERT_TRUE(result.ok()) << result.message;
        for (MemoryKind kind : {kMemoryCode, kMemoryData, kMemorySpecial}) {
            EXPECT_EQ(extended.Area(kind)->cells, plain.Area(kind)->cells) << kind;
            EXPECT_EQ(extended.Area(kind)->marks, plain.Area(kind)->marks) << kind;
        }
    }
}

TEST(HexReaderAddressRecords, ReturnsToPlacementByAddressAtExtendedAddressZero) {
    const std::string text = std::string(":0200000400F00A\n") + IntelRecord(0, 0, {6, 0}) +
                             "\n:020000040000FA\n" + IntelRecord(0x10, 0, {7, 8}) +
                             "\n:0200000400F00A\n" + IntelRecord(2, 0, {9, 0});
    MemoryImage image;
    const ImageFileResult result = ReadAs(kPic18F452, text, image);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(image.data.cells[0], 6);
    EXPECT_EQ(image.code.cells[0x10], 8);
    EXPECT_EQ(image.code.cells[0x11], 7);
    EXPECT_EQ(image.data.cells[1], 9);
}

TEST(HexReaderSpecial, MarksAnOddSpecialRunFromTheCellBeforeItButNeverBeforeCellZero) {
    // A chip unknown to the table has all bases 0; with only a special area every record goes
    // there, and its marks are not pre-set.
    FixedChipSelector selector("no such chip", {0, 0, 8});
    MemoryImage image;
    ASSERT_TRUE(ReadHexImage(IntelRecord(3, 0, {0xAA}), selector, image).ok());
    EXPECT_EQ(image.special.marks[2], kMarkData);
    EXPECT_EQ(image.special.marks[3], kMarkEmpty);
    EXPECT_EQ(image.special.cells[2], 0xAA);  // words turned high byte first at the end
    ASSERT_TRUE(ReadHexImage(IntelRecord(0, 0, {0xBB}), selector, image).ok());
    EXPECT_EQ(image.special.marks[0], kMarkData);
    EXPECT_EQ(image.special.marks[1], kMarkEmpty);
    EXPECT_EQ(image.special.cells[1], 0xBB);
}

TEST(HexReaderChoice, AsksForTheChipFirstAndFailsSilentlyOnCancel) {
    FixedChipSelector selector(kAt89S53);
    selector.cancel = true;
    MemoryImage image;
    image.code.Allocate(4);
    const ImageFileResult result = ReadHexImage("not a hex file", selector, image);
    EXPECT_EQ(selector.calls, 1);
    EXPECT_EQ(result.status, ImageFileStatus::kCancelled);
    EXPECT_TRUE(result.message.empty());
    EXPECT_FALSE(image.code.Present());
}

TEST(HexReaderChoice, LeavesNoAreasAfterAFailedRead) {
    FixedChipSelector selector(kPic16);
    MemoryImage image;
    image.code.Allocate(4);
    ASSERT_FALSE(ReadHexImage(IntelRecord(0, 0, {1, 2}) + "\nbad", selector, image).ok());
    EXPECT_FALSE(image.code.Present());
    EXPECT_FALSE(image.data.Present());
    EXPECT_FALSE(image.special.Present());
}

}  // namespace
