// The registry's serial-port key, as the tool-set reads it to list ports.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "boards/board.h"
#include "w32/registry.h"
#include "w32test/vport.h"

#if !defined(_WIN32)
#include <cstdlib>
#endif

namespace {

std::map<std::string, std::string> SerialPortKey() {
    std::map<std::string, std::string> values;
    HKEY key = nullptr;
    EXPECT_EQ(w32::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0,
                                 KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    EXPECT_EQ(w32::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &count, &longestName, &longestData, nullptr, nullptr),
              ERROR_SUCCESS);
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[256];
        DWORD nameLength = longestName + 1;
        DWORD dataLength = longestData;
        DWORD type = 0;
        LONG r = w32::RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength);
        if (r == ERROR_NO_MORE_ITEMS) {
            EXPECT_EQ(i, count);
            break;
        }
        EXPECT_EQ(r, ERROR_SUCCESS);
        if (r != ERROR_SUCCESS) {
            break;
        }
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        values[std::string(name, nameLength)] = reinterpret_cast<char*>(data);
    }
    EXPECT_EQ(w32::RegCloseKey(key), ERROR_SUCCESS);
    return values;
}

TEST(SerialPortKey, EveryValueNamesAComPort) {
    for (const auto& value : SerialPortKey()) {
        EXPECT_EQ(value.second.compare(0, 3, "COM"), 0) << value.first;
    }
}

#if !defined(_WIN32)
TEST(SerialPortKey, ListsAttachedBoardsAndMappedDevices) {
    setenv("COM9", "/dev/null", 1);
    boards::Board board;
    ASSERT_TRUE(w32test::vport::Attach(37, &board));
    std::map<std::string, std::string> values = SerialPortKey();
    w32test::vport::Detach(37);
    unsetenv("COM9");
    EXPECT_EQ(values["\\Device\\VirtualSerial37"], "COM37");
    EXPECT_EQ(values["\\Device\\ComPort9"], "COM9");
    EXPECT_EQ(SerialPortKey().count("\\Device\\VirtualSerial37"), 0u);
}

TEST(SerialPortKey, AnswersOnlyThatKeyAndSaysWhenABufferIsShort) {
    HKEY key = nullptr;
    EXPECT_EQ(w32::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velcor", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        w32::RegOpenKeyExA(HKEY_CURRENT_USER, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
    boards::Board board;
    ASSERT_TRUE(w32test::vport::Attach(37, &board));
    ASSERT_EQ(w32::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "hardware\\devicemap\\serialcomm", 0, KEY_READ,
                                 &key),
              ERROR_SUCCESS);
    w32test::vport::Detach(37);
    char name[4];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(w32::RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(w32::RegEnumValueA(key, 1000, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(w32::RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(w32::RegCloseKey(key), ERROR_INVALID_HANDLE);
}
#endif

}  // namespace
