// Files, archives and the number rules of dialog fields, on any platform.
#include "classlib/portable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A scratch file name of its own for each test, removed afterwards.
class ScratchFile : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        path_ =
            (std::filesystem::temp_directory_path() /
             ("classlib_file_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "_" + std::to_string(++counter) + ".dat"))
                .string();
        std::remove(path_.c_str());
    }
    void TearDown() override { std::remove(path_.c_str()); }
    void WriteRaw(const std::string& bytes) {
        std::ofstream out(path_, std::ios::binary);
        out << bytes;
    }
    std::string ReadRaw() {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const char* Path() const { return path_.c_str(); }
    std::string path_;
};

TEST_F(ScratchFile, WritesSeeksAndReadsBackWithItsLengthAndNames) {
    {
        CFile file(Path(), CFile::modeCreate | CFile::modeReadWrite);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetLength(), 10u);
        EXPECT_EQ(file.Seek(3, CFile::begin), 3);
        char buffer[8] = {};
        EXPECT_EQ(file.Read(buffer, 4), 4u);
        EXPECT_EQ(std::string(buffer, 4), "3456");
        EXPECT_EQ(file.GetPosition(), 7u);
        // Near the end only the bytes that are there come back.
        EXPECT_EQ(file.Read(buffer, 8), 3u);
        EXPECT_EQ(file.Read(buffer, 8), 0u);
        file.SetLength(4);
        EXPECT_EQ(file.GetLength(), 4u);
        std::string name = std::filesystem::path(path_).filename().string();
        EXPECT_EQ(std::string(file.GetFileName()), name);
        EXPECT_EQ(std::string(file.GetFileTitle()), name.substr(0, name.size() - 4));
    }
    EXPECT_EQ(ReadRaw(), "0123");
}

TEST_F(ScratchFile, CreatingTruncatesUnlessAskedToKeepTheContents) {
    WriteRaw("keep me");
    {
        CFile file(Path(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.Write("K", 1);
    }
    EXPECT_EQ(ReadRaw(), "Keep me");
    { CFile file(Path(), CFile::modeCreate | CFile::modeWrite); }
    EXPECT_EQ(ReadRaw(), "");
}

TEST_F(ScratchFile, AMissingFileIsReportedByCauseAndName) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(Path(), CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_NE(error.m_strFileName.Find(std::filesystem::path(path_).filename().string().c_str()),
              -1);
    char text[512];
    ASSERT_TRUE(error.GetErrorMessage(text, sizeof(text)));
    EXPECT_NE(std::string(text).find("was not found"), std::string::npos);

    // The constructor that opens raises the same report.
    try {
        CFile opened(Path(), CFile::modeRead);
        ADD_FAILURE() << "a missing file opened";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
    EXPECT_THROW(CFile::Remove(Path()), CFileException);
}

TEST_F(ScratchFile, StatusGivesSizeAndModificationTimeAndFailsForMissingFiles) {
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus(Path(), status));
    WriteRaw("12345");
    CTime before = CTime::GetCurrentTime();
    ASSERT_TRUE(CFile::GetStatus(Path(), status));
    EXPECT_EQ(status.m_size, 5);
    // The file was written a moment ago (file systems round times, allow some slack).
    EXPECT_LE(std::llabs(status.m_mtime.GetTime() - before.GetTime()), 5);
    EXPECT_FALSE(status.m_attribute & CFile::directory);

    // A later write moves the time forward.
    auto later = std::filesystem::last_write_time(path_) + std::chrono::seconds(30);
    std::filesystem::last_write_time(path_, later);
    CFileStatus after;
    ASSERT_TRUE(CFile::GetStatus(Path(), after));
    EXPECT_GE(after.m_mtime.GetTime() - status.m_mtime.GetTime(), 29);
}

TEST_F(ScratchFile, ArchivedValuesAndTextsOfEveryLengthComeBackUnchanged) {
    const CString texts[] = {CString(""), CString('a', 254), CString('b', 255), CString('c', 70000),
                             CString("line\r\nwith breaks")};
    {
        CFile file(Path(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 512);  // small buffer: texts span several fills
        ar << static_cast<BYTE>(0xA5) << static_cast<WORD>(0xBEEF) << static_cast<short>(-2)
           << -123456 << 4000000000u << 2.5f << -0.125;
        for (const CString& t : texts) {
            ar << t;
        }
        ar.Close();
    }
    EXPECT_EQ(ReadRaw().substr(0, 3), "\xA5\xEF\xBE");  // little-endian on disk
    CFile file(Path(), CFile::modeRead);
    CArchive ar(&file, CArchive::load, 512);
    BYTE by = 0;
    WORD w = 0;
    short s = 0;
    int i = 0;
    unsigned u = 0;
    float f = 0;
    double d = 0;
    ar >> by >> w >> s >> i >> u >> f >> d;
    EXPECT_EQ(by, 0xA5);
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(i, -123456);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(d, -0.125);
    for (const CString& t : texts) {
        CString back;
        ar >> back;
        EXPECT_EQ(back, t) << "length " << t.GetLength();
    }
    // Past the end: the archive says so instead of inventing data.
    try {
        ar >> i;
        ADD_FAILURE() << "read past the end";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST_F(ScratchFile, TextLinesEndAtLineFeedsWithOrWithoutCarriageReturns) {
    WriteRaw(":10000000\r\n:00000001FF\nlast");
    CFile file(Path(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    CString line;
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_EQ(line, ":10000000");
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_EQ(line, ":00000001FF");
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(ar.ReadString(line));
}

TEST_F(ScratchFile, ArchivesRefuseTheWrongDirectionAndGiveUnreadBytesBack) {
    WriteRaw("abcdef");
    CFile file(Path(), CFile::modeReadWrite);
    {
        CArchive ar(&file, CArchive::load);
        char c = 0;
        ar >> c;
        EXPECT_EQ(c, 'a');
        try {
            ar << 'x';
            ADD_FAILURE() << "wrote through a loading archive";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
        }
        ar.Close();  // the buffered "bcdef" go back to the file
    }
    EXPECT_EQ(file.GetPosition(), 1u);
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_THROW(ar.Read(nullptr, 1), CArchiveException);
        ar.WriteString("Z");
    }  // flushed on destruction
    file.Close();
    EXPECT_EQ(ReadRaw(), "aZcdef");
}

TEST(WholeNumbers, FieldsHoldOnlyNumbersOfTheirKind) {
    struct Case {
        const char* text;
        AfxWholeKind kind;
        bool ok;
        long long value;
    };
    const Case cases[] = {
        {"7", AfxWholeKind::Byte, true, 7},
        {" 255 ", AfxWholeKind::Byte, true, 255},
        {"256", AfxWholeKind::Byte, false, 0},
        {"-1", AfxWholeKind::Byte, false, 0},
        {"-1", AfxWholeKind::UInt, false, 0},
        {"4294967295", AfxWholeKind::DWord, true, 4294967295LL},
        {"4294967296", AfxWholeKind::UInt, false, 0},
        {"-2147483648", AfxWholeKind::Int, true, -2147483648LL},
        {"2147483648", AfxWholeKind::Int, false, 0},
        {"99999999999999999999999", AfxWholeKind::Int, false, 0},
        {"+12", AfxWholeKind::Int, true, 12},
        {"1F", AfxWholeKind::Int, false, 0},
        {"12 3", AfxWholeKind::Int, false, 0},
        {"", AfxWholeKind::Int, false, 0},
        {"-", AfxWholeKind::Int, false, 0},
        {"32768", AfxWholeKind::Short, false, 0},
    };
    for (const Case& c : cases) {
        long long value = -99;
        EXPECT_EQ(AfxParseWholeNumber(c.text, c.kind, &value) != FALSE, c.ok)
            << "'" << c.text << "'";
        EXPECT_EQ(value, c.ok ? c.value : -99) << "'" << c.text << "'";
    }
}

TEST(PromptFormatting, NumberedPlaceholdersTakeTheirTexts) {
    LPCTSTR args[] = {"0", "255"};
    CString out;
    AfxFormatStrings(out, "Enter a whole number from %1 to %2 (100%).", args, 2);
    EXPECT_EQ(out, "Enter a whole number from 0 to 255 (100%).");
    AfxFormatStrings(out, "%2-%1-%3", args, 2);
    EXPECT_EQ(out, "255-0-");
}

}  // namespace
