// The shipped program from outside, as a user meets it: started as a process of its own, found by
// its window title, its About box opened and closed, closed from its window, and what it left in
// the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "session_probes.h"

namespace {

constexpr UINT kAboutCommand = 0xE140;  // the About item of the Help menu
constexpr DWORD kStartMs = 30000;

HWND WaitForWindow(DWORD process, const char* title, DWORD ms) {
    return e2e::WaitForTopWindow(process, title, false, ms);
}

bool WaitUntilGone(HWND window, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::IsWindow(window)) {
        if (::GetTickCount() - start > ms) {
            return false;
        }
        ::Sleep(50);
    }
    return true;
}

class TarnelProgram : public ::testing::Test {
protected:
    void SetUp() override {
        m_registry.Remove();  // a first start: nothing stored yet
        std::string command = "\"" + e2e::BesideProgram("tarnel.exe") + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &startup, &m_process))
            << "cannot start " << command << ": error " << ::GetLastError();
        ::CloseHandle(m_process.hThread);
        m_started = true;
    }
    void TearDown() override {
        if (m_started) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(m_process.hProcess, 99);
            }
            ::CloseHandle(m_process.hProcess);
        }
        m_registry.Remove();
    }

    e2e::RegistryProbe m_registry{"Software\\Velcor\\Tarnel"};
    PROCESS_INFORMATION m_process{};
    bool m_started = false;
};

TEST_F(TarnelProgram, StartsShowsItsAboutBoxAndEndsCleanlyWhenClosed) {
    HWND main = WaitForWindow(m_process.dwProcessId, "Tarnel", kStartMs);
    ASSERT_NE(main, nullptr) << "no window titled \"Tarnel\" appeared";

    ASSERT_TRUE(::PostMessageA(main, WM_COMMAND, kAboutCommand, 0));
    HWND about = WaitForWindow(m_process.dwProcessId, "About Tarnel", 10000);
    ASSERT_NE(about, nullptr) << "the About box did not open";
    EXPECT_EQ(::GetWindow(about, GW_OWNER), main);
    EXPECT_FALSE(::IsWindowEnabled(main)) << "the About box is modal";
    ASSERT_TRUE(::PostMessageA(about, WM_COMMAND, IDOK, 0));
    ASSERT_TRUE(WaitUntilGone(about, 10000)) << "OK did not close the About box";
    EXPECT_TRUE(::IsWindowEnabled(main));

    ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0)
        << "the program did not end after WM_CLOSE";
    DWORD code = 99;
    ASSERT_TRUE(::GetExitCodeProcess(m_process.hProcess, &code));
    EXPECT_EQ(code, 0u);

    // The settings record with its defaults, and the window's placement, written at the end.
    DWORD number = 0;
    std::string text;
    EXPECT_TRUE(m_registry.ReadDword("Settings", "BPR", &number));
    EXPECT_EQ(number, 16u);
    EXPECT_TRUE(m_registry.ReadDword("Settings", "AlphaMode", &number));
    EXPECT_EQ(number, 1u);
    EXPECT_TRUE(m_registry.ReadString("Settings", "CommPort", &text));
    EXPECT_EQ(text, "COM1");
    EXPECT_TRUE(m_registry.ReadString("Settings", "ChipName", &text));
    EXPECT_EQ(text, "");
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_TRUE(m_registry.ValueExists("Settings", "Placement", &type, &size));
    EXPECT_GT(size, 0u);
}

}  // namespace
