// Reading and writing a serial port as text, for the serial tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "w32/serial.h"

// What one ReadFile of up to `count` bytes brings.
inline std::string ReadText(HANDLE port, DWORD count) {
    std::string buffer(count, '\0');
    DWORD got = 0;
    EXPECT_TRUE(w32::ReadFile(port, &buffer[0], count, &got, nullptr));
    buffer.resize(got);
    return buffer;
}

// One WriteFile of the whole text, which must all go out.
inline void WriteText(HANDLE port, const std::string& text) {
    DWORD written = 0;
    ASSERT_TRUE(
        w32::WriteFile(port, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    ASSERT_EQ(written, text.size());
}
