// The _Download and _SetMode skeletons on a virtual port: what is built on entry and undone on
// every exit, the null port record, the start notice and percent calls, the banner.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

#include "boards/board.h"
#include "loader/download.h"
#include "loader/relay.h"
#include "recording_host.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

using loadertest::RecordingHost;

constexpr int kCom = 4;

class TempFile {
public:
    TempFile(const std::string& name, const std::string& contents) {
#if defined(_WIN32)
        std::string token = std::to_string(_getpid());
#else
        std::string token = std::to_string(getpid());
#endif
        m_path = std::string(::testing::TempDir()) + token + "_" + name;
        std::ofstream(m_path, std::ios::binary) << contents;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

class Skeleton : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::Reset();
        ASSERT_TRUE(w32test::vport::Attach(kCom, &m_board));
        m_host = HostPortRecord();
        m_host.settings.port = kCom - 1;
        m_host.settings.baud = 9600;
        m_host.settings.dataBits = 8;
    }
    void TearDown() override {
        w32test::vport::Detach(kCom);
        loader::StoreCallback(nullptr);
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    boards::Board m_board;
    HostPortRecord m_host;
};

// What a protocol saw of the frame, for the checks after the download returned.
struct Seen {
    bool callbackStored = false;
    bool portOpen = false;
    int fileResult = -1;
};
Seen g_seen;

// Leaves at the step given by the download's path: "file" after reading the file, "open" after
// opening the port, "message" after a message; each with its own result.
int LeaveEarly(loader::Download& download, const char* path) {
    g_seen = Seen();
    g_seen.callbackStored = loader::StoredCallback() != nullptr;
    g_seen.fileResult = download.ReadWholeFile(path);
    if (g_seen.fileResult != 0) {
        return 100;
    }
    download.OpenPort();
    download.Port().SetRTS();
    g_seen.portOpen = download.Port().IsInitialized() != FALSE;
    loaderMessage("\nhalf way");
    return 7;
}

TEST_F(Skeleton, EveryExitClosesThePortAndForgetsTheCallback) {
    TempFile file("exit.hex", ":00000001FF\r\n");
    EXPECT_EQ(loader::RunDownload(&m_host, file.Path(), RecordingHost::Callback, LeaveEarly), 7);
    EXPECT_TRUE(g_seen.callbackStored);
    EXPECT_TRUE(g_seen.portOpen);
    EXPECT_FALSE(m_board.HostOpen());
    EXPECT_EQ(m_board.Log().Events().find("close"), m_board.Log().Events().rfind("close"));
    EXPECT_NE(m_board.Log().Events().find("close"), std::string::npos);
    EXPECT_EQ(loader::StoredCallback(), nullptr);
    // A message after the return (as from a later _SetMode) reaches nobody.
    size_t calls = RecordingHost::Calls().size();
    EXPECT_FALSE(loaderMessage("\nafter the return"));
    EXPECT_EQ(RecordingHost::Calls().size(), calls);
}

TEST_F(Skeleton, AFileThatCannotBeReadRelaysTheReadersTextAndCode) {
    int result =
        loader::RunDownload(&m_host, "no-such-file.hex", RecordingHost::Callback, LeaveEarly);
    EXPECT_EQ(result, 100);
    EXPECT_NE(g_seen.fileResult, 0);
    ASSERT_EQ(RecordingHost::Calls().size(), 1u);
    EXPECT_NE(RecordingHost::Calls()[0].text.find("no-such-file.hex"), std::string::npos);
    EXPECT_TRUE(m_board.Log().Events().empty());
    EXPECT_EQ(loader::StoredCallback(), nullptr);
}

int MustNotRun(loader::Download&, const char*) {
    ADD_FAILURE() << "the protocol ran on a null port record";
    return 0;
}

int MustNotSwitch(CComms&, LoaderMode, const HostPortRecord&) {
    ADD_FAILURE() << "the mode switch ran on a null port record";
    return 0;
}

TEST_F(Skeleton, ANullPortRecordFailsWithoutOpeningAnything) {
    EXPECT_EQ(loader::RunDownload(nullptr, "x.hex", RecordingHost::Callback, MustNotRun),
              LDR_ERR_DOWNLOAD);
    ASSERT_EQ(RecordingHost::Calls().size(), 1u);
    EXPECT_TRUE(RecordingHost::Calls()[0].hasText);
    EXPECT_EQ(loader::StoredCallback(), nullptr);
    EXPECT_EQ(loader::RunDownload(nullptr, "x.hex", nullptr, MustNotRun), LDR_ERR_DOWNLOAD);

    EXPECT_EQ(loader::RunSetMode(nullptr, LOADER_MODE_PROGRAM, MustNotSwitch),
              LDR_ERR_PROGRAM_MODE);
    EXPECT_EQ(loader::RunSetMode(nullptr, LOADER_MODE_RUN, MustNotSwitch), LDR_ERR_RUN_MODE);
    EXPECT_EQ(loader::RunSetMode(nullptr, static_cast<LoaderMode>(7), MustNotSwitch),
              LDR_ERR_RUN_MODE);
    EXPECT_TRUE(m_board.Log().Events().empty());
}

int NoticeAndPercents(loader::Download& download, const char*) {
    EXPECT_TRUE(download.SendStartNotice());  // the host answers the first call with a cancel
    EXPECT_EQ(download.Record().startMarker, 0);
    download.Record().cancel = 0;
    EXPECT_FALSE(download.ReportPercent(0));
    EXPECT_FALSE(download.ReportPercent(250));
    download.ReportPercentWithoutRecord(40);
    // 300 bytes: a report after every third byte.
    EXPECT_FALSE(download.AfterByte(149, 300));
    EXPECT_FALSE(download.AfterByte(150, 300));
    return 0;
}

TEST_F(Skeleton, StartNoticeAndPercentCallsHaveTheirShapes) {
    RecordingHost::CancelAt() = 1;
    EXPECT_EQ(loader::RunDownload(&m_host, "", RecordingHost::Callback, NoticeAndPercents), 0);
    const std::vector<loadertest::Call>& calls = RecordingHost::Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].code, -1);
    EXPECT_TRUE(calls[0].hasRecord);
    EXPECT_FALSE(calls[0].hasText);
    EXPECT_EQ(calls[0].startMarker, -1);
    EXPECT_TRUE(calls[0].otherWordsZero);
    EXPECT_EQ(calls[1].code, 1);
    EXPECT_EQ(calls[1].startMarker, 0);
    EXPECT_EQ(calls[2].code, 99);
    EXPECT_EQ(calls[3].code, 40);
    EXPECT_FALSE(calls[3].hasRecord);
    EXPECT_EQ(calls[4].code, 50);
    EXPECT_TRUE(calls[4].hasRecord);
}

TEST_F(Skeleton, TheDownloadsRecordCarriesTheCancelToTheByteLoop) {
    RecordingHost::CancelAt() = 2;
    auto protocol = [](loader::Download& download, const char*) {
        unsigned long sent = 0;
        for (unsigned long i = 0; i < 500; ++i) {
            ++sent;
            if (download.AfterByte(i, 500)) {
                break;
            }
        }
        return static_cast<int>(sent);
    };
    // Reports after bytes 0, 5, 10, ...: the cancel in the second report ends the loop there.
    EXPECT_EQ(loader::RunDownload(&m_host, "", RecordingHost::Callback, protocol), 6);
}

TEST_F(Skeleton, SetModeWorksOnTheHostsHandleAndLeavesItOpen) {
    HANDLE held = w32::CreateFileA("\\\\.\\COM4", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    m_host.port = held;
    auto raise = [](CComms& port, LoaderMode, const HostPortRecord&) { return port.SetRTS(); };
    EXPECT_EQ(loader::RunSetMode(&m_host, LOADER_MODE_PROGRAM, raise), 0);
    EXPECT_TRUE(m_board.Rts());
    EXPECT_TRUE(m_board.HostOpen());
    // Still the host's: a byte written through it arrives.
    DWORD written = 0;
    EXPECT_TRUE(w32::WriteFile(held, "A", 1, &written, nullptr));
    EXPECT_NE(m_board.Log().Events().find("host> 41 'A'"), std::string::npos);
    w32::CloseHandle(held);
}

TEST_F(Skeleton, SetModeWithoutAHandleOpensThePortByNumberAndClosesIt) {
    static bool openDuring = false;
    auto check = [](CComms& port, LoaderMode, const HostPortRecord&) {
        openDuring = port.IsInitialized() != FALSE;
        // No download runs: the message is dropped.
        EXPECT_FALSE(loaderMessage("\nError changing to run mode, ec=%d", 1042));
        return 0;
    };
    EXPECT_EQ(loader::RunSetMode(&m_host, LOADER_MODE_RUN, check), 0);
    EXPECT_TRUE(openDuring);
    EXPECT_FALSE(m_board.HostOpen());
    EXPECT_TRUE(RecordingHost::Calls().empty());
}

TEST(Banner, TheExportStoresTheAddressOfTheStaticText) {
    static const char kText[] = "\nX Loader\n";
    const char* banner = nullptr;
    EXPECT_EQ(loader::StoreBanner(&banner, kText), 0);
    EXPECT_EQ(banner, kText);
    EXPECT_EQ(loader::StoreBanner(nullptr, kText), 0);
}

}  // namespace
