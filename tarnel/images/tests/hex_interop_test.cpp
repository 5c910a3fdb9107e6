// Checks our .hex files against independent tools of this machine: srec_cat (srecord) and the
// python3 intelhex module. A missing tool fails the test: these checks must not pass unnoticed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "image_test_support.h"
#include "tarnel/images/hex_reader.h"
#include "tarnel/images/hex_writer.h"

namespace {

using namespace test_chips;
namespace fs = std::filesystem;

std::vector<uint8_t> Pattern(size_t size, unsigned seed) {
    ImageArea area;
    area.Allocate(size);
    FillPattern(area, seed);
    return area.cells;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    const std::string text = ReadFile(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Runs a shell command; its output goes to a log file that a failure shows.
bool RunShell(const std::string& command, const fs::path& log) {
    const int status = std::system((command + " >'" + log.string() + "' 2>&1").c_str());
    return status == 0;
}

class HexInterop : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarnel-hex-interop-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        log_ = dir_ / "tool.log";
        ASSERT_TRUE(RunShell("srec_cat -version", log_))
            << "srec_cat is missing: install the Debian package srecord\n"
            << ReadFile(log_);
    }

    void TearDown() override {
        if (!HasFailure()) {
            fs::remove_all(dir_);
        }
    }

    // Debian's python3-intelhex belongs to the system interpreter, which may not be the first
    // python3 on PATH.
    std::string PythonWithIntelHex() {
        for (const char* python : {"/usr/bin/python3", "python3"}) {
            if (RunShell(std::string(python) + " -c 'import intelhex'", log_)) {
                return python;
            }
        }
        return std::string();
    }

    void SrecCat(const std::string& arguments) {
        ASSERT_TRUE(RunShell("cd '" + dir_.string() + "' && srec_cat " + arguments, log_))
            << "srec_cat " << arguments << "\n"
            << ReadFile(log_);
    }

    fs::path dir_;
    fs::path log_;
};

TEST_F(HexInterop, ReadsIntelAndS1FilesMadeBySrecCatIntoTheSameCells) {
    const std::vector<uint8_t> code = Pattern(0x2000, 21);
    const std::vector<uint8_t> data = Pattern(0x800, 22);
    WriteFile(dir_ / "code.bin", code);
    WriteFile(dir_ / "data.bin", data);
    const std::string inputs = "code.bin -binary data.bin -binary -offset 0x2000";
    // The plain forms: 16-bit records only, without linear address, header or record count.
    SrecCat(inputs + " -o image.hex -intel -address-length=2");
    SrecCat(inputs +
            " -o image.s19 -motorola -address-length=2 -disable=header -disable=data-count "
            "-execution-start-address=0");
    for (const char* name : {"image.hex", "image.s19"}) {
        SCOPED_TRACE(name);
        MemoryImage image;
        const ImageFileResult result = ReadAs(kAt89S8252, ReadFile(dir_ / name), image);
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(image.code.cells, code);
        EXPECT_EQ(image.data.cells, data);
        EXPECT_EQ(image.code.marks, std::vector<uint8_t>(code.size(), kMarkData));
        EXPECT_EQ(image.data.marks, std::vector<uint8_t>(data.size(), kMarkData));
    }
}

TEST_F(HexInterop, ReadsSrecCatFilesWithTheirLinearAddressRecordIntoTheOneArea) {
    struct Case {
        const char* chip;
        size_t size;
        bool code;
    };
    for (const Case& c : {Case{kP89C51Rd2, 0x10000, true}, Case{kEeprom, 0x2000, false}}) {
        SCOPED_TRACE(c.chip);
        const std::vector<uint8_t> bytes = Pattern(c.size, 33);
        WriteFile(dir_ / "area.bin", bytes);
        SrecCat("area.bin -binary -o area.hex -intel");
        const std::string text = ReadFile(dir_ / "area.hex");
        ASSERT_EQ(text.rfind(":020000040000FA", 0), 0u) << "srec_cat no longer starts with it";
        MemoryImage image;
        const ImageFileResult result = ReadAs(c.chip, text, image);
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(c.code ? image.code.cells : image.data.cells, bytes);
    }
}

TEST_F(HexInterop, ReadsAPic18FileMadeBySrecCatWithLinearAddressesIntoItsAreas) {
    // File order of the words: low byte first.
    const std::vector<uint8_t> code = Pattern(0x8000, 23);
    const std::vector<uint8_t> data = Pattern(0x100, 24);
    const std::vector<uint8_t> config = Pattern(0x10, 25);
    std::vector<uint8_t> eeprom;
    for (uint8_t byte : data) {
        eeprom.push_back(byte);
        eeprom.push_back(0);
    }
    WriteFile(dir_ / "code.bin", code);
    WriteFile(dir_ / "eeprom.bin", eeprom);
    WriteFile(dir_ / "config.bin", config);
    SrecCat(
        "code.bin -binary config.bin -binary -offset 0x300000 eeprom.bin -binary -offset 0xF00000 "
        "-o pic18.hex -intel");
    MemoryImage image;
    const ImageFileResult result = ReadAs(kPic18F452, ReadFile(dir_ / "pic18.hex"), image);
    ASSERT_TRUE(result.ok()) << result.message;
    for (size_t i = 0; i < code.size(); i += 2) {
        ASSERT_EQ(image.code.cells[i], code[i + 1]) << i;
        ASSERT_EQ(image.code.cells[i + 1], code[i]) << i;
    }
    for (size_t i = 0; i < config.size(); i += 2) {
        ASSERT_EQ(image.special.cells[i], config[i + 1]) << i;
        ASSERT_EQ(image.special.cells[i + 1], config[i]) << i;
    }
    EXPECT_EQ(image.data.cells, data);
}

TEST_F(HexInterop, ReadsSrecCatDefaultIntelFilesAsWithoutTheirLeadingLinearAddressZero) {
    // Code, configuration words and data at the addresses of each chip's usual file layout; PIC
    // data bytes are written zero-extended.
    struct Case {
        const char* chip;
        uint32_t special;
        uint32_t data;
    };
    for (const Case& c : {Case{kAt89S8252, 0, 0x2000}, Case{kPic16, 0x4000, 0x4200},
                          Case{kPic18F452, 0x300000, 0xF00000}}) {
        SCOPED_TRACE(c.chip);
        const bool pic = !UsesByteCells(ChipTable::GetDeviceCode(c.chip));
        const std::vector<uint8_t> data = Pattern(ChipTable::GetDataSize(c.chip), 34);
        std::vector<uint8_t> fileData;
        for (uint8_t byte : data) {
            fileData.push_back(byte);
            if (pic) {
                fileData.push_back(0);
            }
        }
        WriteFile(dir_ / "code.bin", Pattern(ChipTable::GetCodeSize(c.chip), 35));
        WriteFile(dir_ / "data.bin", fileData);
        std::string inputs = "code.bin -binary data.bin -binary -offset " + std::to_string(c.data);
        if (pic) {
            WriteFile(dir_ / "special.bin", Pattern(ChipTable::GetSpecialSize(c.chip), 36));
            inputs += " special.bin -binary -offset " + std::to_string(c.special);
        }
        SrecCat(inputs + " -o image.hex -intel");
        const std::string text = ReadFile(dir_ / "image.hex");
        ASSERT_EQ(text.rfind(":020000040000FA", 0), 0u) << "srec_cat no longer starts with it";
        const std::string without = text.substr(text.find('\n') + 1);

        MemoryImage image;
        ImageFileResult result = ReadAs(c.chip, text, image);
        ASSERT_TRUE(result.ok()) << result.message;
        MemoryImage plain;
        result = ReadAs(c.chip, without, plain);
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(image.data.cells, data);
        for (MemoryKind kind : {kMemoryCode, kMemoryData, kMemorySpecial}) {
            EXPECT_EQ(image.Area(kind)->cells, plain.Area(kind)->cells) << kind;
            EXPECT_EQ(image.Area(kind)->marks, plain.Area(kind)->marks) << kind;
        }
    }
}

TEST_F(HexInterop, ReadsSrecCatDefaultS19FilesLikeTheirDataOnlyForm) {
    for (const char* chip : {kAt89S8252, kPic16}) {
        SCOPED_TRACE(chip);
        WriteFile(dir_ / "code.bin", Pattern(0x1000, 37));
        WriteFile(dir_ / "data.bin", Pattern(0x100, 38));
        // The start address gives the S9 record that a toolchain's file ends with.
        const std::string inputs = std::string("code.bin -binary data.bin -binary -offset ") +
                                   (chip == kPic16 ? "0x4200" : "0x2000") +
                                   " -execution-start-address=0";
        SrecCat(inputs + " -o full.s19 -motorola");
        SrecCat(inputs + " -o bare.s19 -motorola -data-only");
        const std::string full = ReadFile(dir_ / "full.s19");
        ASSERT_EQ(full.rfind("S0", 0), 0u);
        ASSERT_NE(full.find("\nS5"), std::string::npos);
        ASSERT_NE(full.find("\nS9"), std::string::npos);

        MemoryImage image;
        ImageFileResult result = ReadAs(chip, full, image);
        ASSERT_TRUE(result.ok()) << result.message;
        MemoryImage bare;
        result = ReadAs(chip, ReadFile(dir_ / "bare.s19"), bare);
        ASSERT_TRUE(result.ok()) << result.message;
        for (MemoryKind kind : {kMemoryCode, kMemoryData, kMemorySpecial}) {
            EXPECT_EQ(image.Area(kind)->cells, bare.Area(kind)->cells) << kind;
            EXPECT_EQ(image.Area(kind)->marks, bare.Area(kind)->marks) << kind;
        }
    }
}

TEST_F(HexInterop, RefusesSrecCatFilesThatDoNotFitOrAreDamagedAtTheLineAtFault) {
    WriteFile(dir_ / "code.bin", Pattern(0x40, 39));
    WriteFile(dir_ / "empty.bin", std::string());
    const std::string checksum = "Invalid CHECKSUM in HEX file: line ";
    const std::string invalid = "Invalid HEX file : line ";
    // srec_cat writes file f; the reader must refuse line `line` of it, after `edit` (when given)
    // has damaged that line. An empty prefix stands for message 4047, which names no line.
    struct Case {
        const char* arguments;
        int line;
        std::string prefix;
        std::string (*edit)(std::string);
    };
    auto corrupt = [](std::string line) {
        line.back() = line.back() == '0' ? '1' : '0';
        return line;
    };
    auto nonDigit = [](std::string line) { return line.replace(12, 1, "G"); };
    const Case cases[] = {
        // 24- and 32-bit S-records: data, then the end records of a file without data.
        {"code.bin -binary -o f -motorola -address-length=3", 2, checksum, nullptr},
        {"code.bin -binary -o f -motorola -address-length=4", 2, checksum, nullptr},
        {"empty.bin -binary -o f -motorola -address-length=3 -execution-start-address=0x10", 3,
         checksum, nullptr},
        {"empty.bin -binary -o f -motorola -address-length=4 -execution-start-address=0x10", 3,
         checksum, nullptr},
        // A damaged header and a damaged count.
        {"code.bin -binary -o f -motorola", 1, checksum, corrupt},
        {"code.bin -binary -o f -motorola", 4, checksum, corrupt},
        // A character that is not a hexadecimal digit.
        {"code.bin -binary -o f -intel", 2, invalid, nonDigit},
        {"code.bin -binary -o f -motorola", 3, invalid, nonDigit},
        // A second 64 KB bank: no area of the chip, refused at its first record.
        {"code.bin -binary -offset 0x10000 -o f -intel", 2, "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        SrecCat(c.arguments);
        std::vector<std::string> lines;
        std::istringstream file(ReadFile(dir_ / "f"));
        for (std::string line; std::getline(file, line);) {
            lines.push_back(line);
        }
        ASSERT_LT(c.line - 1, static_cast<int>(lines.size()));
        std::string& faulty = lines[c.line - 1];
        if (c.edit != nullptr) {
            faulty = c.edit(faulty);
        }
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        MemoryImage image;
        const ImageFileResult result = ReadAs(kAt89S53, text, image);
        EXPECT_EQ(result.message,
                  c.prefix.empty()
                      ? "Invalid address in file. Probably it was created for enother chip."
                      : c.prefix + std::to_string(c.line) + " " + faulty);
        EXPECT_EQ(result.line, c.line);
    }
}

TEST_F(HexInterop, SrecCatTurnsOurFilesBackIntoTheImage) {
    MemoryImage image;
    ASSERT_TRUE(CreateBlankImage(image, {0x2000, 0x800, 0}, kDeviceAt89S8252));
    FillPattern(image.code, 26);
    FillPattern(image.data, 27);
    std::fill(image.code.marks.begin(), image.code.marks.end(), kMarkData);
    std::fill(image.data.marks.begin(), image.data.marks.end(), kMarkData);
    std::vector<uint8_t> expected = image.code.cells;
    expected.insert(expected.end(), image.data.cells.begin(), image.data.cells.end());

    for (int format : {kHexFormatIntel, kHexFormatMotorola}) {
        SCOPED_TRACE(format);
        std::string text;
        ASSERT_TRUE(WriteHexImage(image, kAt89S8252, format, text).ok());
        const char* input = format == kHexFormatIntel ? "ours.hex -intel" : "ours.s19 -motorola";
        WriteFile(dir_ / (format == kHexFormatIntel ? "ours.hex" : "ours.s19"), text);
        SrecCat(std::string(input) + " -o back.bin -binary");
        EXPECT_EQ(ReadBytes(dir_ / "back.bin"), expected);
    }
}

TEST_F(HexInterop, SrecCatReadsOurPic16WordsLowByteFirst) {
    MemoryImage image;
    ASSERT_TRUE(CreateBlankImage(image, {0x4000, 0x100, 0x10}, kDevicePic16));
    FillPattern(image.code, 28);
    std::string text;
    ASSERT_TRUE(WriteHexImage(image, kPic16, kHexFormatIntel, text).ok());
    WriteFile(dir_ / "pic16.hex", text);
    SrecCat("pic16.hex -intel -crop 0 0x4000 -o code.bin -binary");
    const std::vector<uint8_t> code = ReadBytes(dir_ / "code.bin");
    ASSERT_EQ(code.size(), image.code.Size());
    for (size_t i = 0; i < code.size(); i += 2) {
        ASSERT_EQ(code[i], image.code.cells[i + 1]) << i;
        ASSERT_EQ(code[i + 1], image.code.cells[i]) << i;
    }
}

TEST_F(HexInterop, PythonIntelHexReadsOurIntelFilesWithoutComplaint) {
    const std::string python = PythonWithIntelHex();
    ASSERT_FALSE(python.empty())
        << "python3 with the intelhex module is missing: install the Debian package "
           "python3-intelhex";

    // An 8051 image with gaps and a PIC18 image with its extended linear addresses.
    MemoryImage small;
    ASSERT_TRUE(CreateBlankImage(small, {0x2000, 0x800, 0}, kDeviceAt89S8252));
    FillPattern(small.code, 29);
    for (size_t i = 0; i < small.code.Size(); ++i) {
        small.code.marks[i] = (i / 37) % 3 == 0 ? kMarkEmpty : kMarkData;
    }
    std::string text;
    ASSERT_TRUE(WriteHexImage(small, kAt89S8252, kHexFormatIntel, text).ok());
    WriteFile(dir_ / "small.hex", text);

    MemoryImage pic;
    ASSERT_TRUE(CreateBlankImage(pic, {0x8000, 0x100, 0x10}, kDevicePic18));
    FillPattern(pic.code, 30);
    FillPattern(pic.data, 31);
    FillPattern(pic.special, 32);
    ASSERT_TRUE(WriteHexImage(pic, kPic18F452, kHexFormatIntel, text).ok());
    WriteFile(dir_ / "pic18.hex", text);

    // The script dumps address/value pairs of every byte it read, one per line.
    const std::string script =
        "import sys\n"
        "from intelhex import IntelHex\n"
        "for name in sys.argv[1:]:\n"
        "    ih = IntelHex(name)\n"
        "    with open(name + '.dump', 'w') as out:\n"
        "        for address in ih.addresses():\n"
        "            out.write('%X %02X\\n' % (address, ih[address]))\n";
    WriteFile(dir_ / "dump.py", script);
    ASSERT_TRUE(RunShell(
        "cd '" + dir_.string() + "' && " + python + " -W error dump.py small.hex pic18.hex", log_))
        << ReadFile(log_);

    std::string expected;
    char line[32];
    for (size_t i = 0; i < small.code.Size(); ++i) {
        if (small.code.marks[i] != kMarkEmpty) {
            std::snprintf(line, sizeof line, "%zX %02X\n", i, small.code.cells[i]);
            expected += line;
        }
    }
    EXPECT_EQ(ReadFile(dir_ / "small.hex.dump"), expected);

    expected.clear();
    for (size_t i = 0; i < pic.code.Size(); ++i) {
        std::snprintf(line, sizeof line, "%zX %02X\n", i, pic.code.cells[i ^ 1]);
        expected += line;
    }
    for (size_t i = 0; i < pic.special.Size(); ++i) {
        std::snprintf(line, sizeof line, "%zX %02X\n", 0x300000 + i, pic.special.cells[i ^ 1]);
        expected += line;
    }
    for (size_t i = 0; i < pic.data.Size(); ++i) {
        std::snprintf(line, sizeof line, "%zX %02X\n%zX 00\n", 0xF00000 + 2 * i, pic.data.cells[i],
                      0xF00000 + 2 * i + 1);
        expected += line;
    }
    EXPECT_EQ(ReadFile(dir_ / "pic18.hex.dump"), expected);
}

}  // namespace
