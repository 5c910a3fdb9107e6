// Last-error codes are per thread, and the system's texts come out as the system writes them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "w32/errors.h"

namespace {

TEST(Errors, LastErrorBelongsToTheCallingThread) {
    // The two threads take turns through atomics only: any system call may reset the code.
    std::atomic<int> step{0};
    DWORD seenByOther = 0;
    std::thread other([&] {
        w32::SetLastError(ERROR_ACCESS_DENIED);
        step = 1;
        while (step != 2) {
        }
        seenByOther = w32::GetLastError();
    });
    while (step != 1) {
    }
    w32::SetLastError(ERROR_FILE_NOT_FOUND);
    step = 2;
    other.join();
    EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// The layer's own texts are the system's wording; under an emulated system only the shape holds.
#if defined(_WIN32)
#define EXPECT_SYSTEM_TEXT(actual, expected)                 \
    do {                                                     \
        std::string m_text(actual);                          \
        EXPECT_GT(m_text.size(), 2u);                        \
        EXPECT_EQ(m_text.substr(m_text.size() - 2), "\r\n"); \
    } while (0)
#else
#define EXPECT_SYSTEM_TEXT(actual, expected) EXPECT_EQ(std::string(actual), expected)
#endif

TEST(Errors, SystemTextOfACodeEndsWithALineBreak) {
    char* text = nullptr;
    DWORD n = w32::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, ERROR_FILE_NOT_FOUND, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<LPSTR>(&text), 0, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_SYSTEM_TEXT(text, "The system cannot find the file specified.\r\n");
    EXPECT_EQ(n, std::string(text).size());
    w32::LocalFree(text);

    char buffer[256];
    n = w32::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            ERROR_ACCESS_DENIED, 0, buffer, sizeof buffer, nullptr);
    EXPECT_SYSTEM_TEXT(std::string(buffer, n), "Access is denied.\r\n");
}

}  // namespace
