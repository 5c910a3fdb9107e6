// The plain utility functions as the plug-ins use them: linked by name and looked up by name.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "comms/utilities.h"
#include "w32test/clock.h"
#include "w32/modules.h"

namespace {

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

TEST(Utilities, SleepMsecPausesOnTheLayerClock) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto start = std::chrono::steady_clock::now();
    uint64_t before = w32test::clock::NowMicros();
    SleepMsec(500);
    SleepMsec(1000);
    EXPECT_EQ(w32test::clock::NowMicros() - before, 1500000u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Utilities, ReadFileDataReadsTheWholeFile) {
    std::string path = TempPath("comms_read_whole.bin");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const char content[] = "line 1\r\n\0binary";
    std::fwrite(content, 1, sizeof content - 1, f);
    std::fclose(f);

    unsigned char* data = nullptr;
    unsigned long length = 0;
    char error[256] = {};
    ASSERT_EQ(readFileData(path.c_str(), &data, &length, error, sizeof error), 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, sizeof content - 1);
    EXPECT_EQ(std::memcmp(data, content, length), 0);
    EXPECT_STREQ(error, "");
    commsUtilFree(data);
    commsUtilFree(nullptr);
    std::remove(path.c_str());
}

TEST(Utilities, ReadFileDataExplainsAFailureWithinTheTextSize) {
    unsigned char* data = nullptr;
    unsigned long length = 0;
    char error[256] = {};
    std::string missing = TempPath("comms_no_such_file.hex");
    EXPECT_NE(readFileData(missing.c_str(), &data, &length, error, sizeof error), 0);
    EXPECT_EQ(data, nullptr);
    EXPECT_NE(std::strstr(error, "comms_no_such_file.hex"), nullptr);
    char tiny[8];
    std::memset(tiny, 'x', sizeof tiny);
    EXPECT_NE(readFileData(missing.c_str(), &data, &length, tiny, sizeof tiny), 0);
    EXPECT_EQ(tiny[7], '\0');
}

TEST(Utilities, ReadFileDataRefusesAFolder) {
    unsigned char* data = nullptr;
    unsigned long length = 7;
    char error[256] = {};
    EXPECT_EQ(readFileData(::testing::TempDir().c_str(), &data, &length, error, sizeof error), 2);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(std::strncmp(error, "Cannot open file", 16), 0) << error;
}

TEST(Utilities, PlugInsFindTheUtilitiesByTheirExportNames) {
    HMODULE comms = w32::LoadLibraryA("comms");
    ASSERT_NE(comms, nullptr);
#if defined(_WIN32) && defined(_WIN64)
    const char* names[] = {"SleepMsec", "readFileData", "commsUtilFree"};
#else
    // The shipped names carry the stdcall decoration of their argument bytes.
    const char* names[] = {"_SleepMsec@4", "_readFileData@20", "_commsUtilFree@4"};
#endif
    for (const char* name : names) {
        EXPECT_NE(w32::GetProcAddress(comms, name), nullptr) << name;
    }
    w32::FreeLibrary(comms);
}

}  // namespace
