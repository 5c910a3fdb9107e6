// The system's serial ports, from the registry key where the system lists them.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "comms/comms.h"
#include "w32/errors.h"
#include "w32/registry.h"

int CComms::ListCommPorts(int* ports, int max) {
    if (ports == nullptr || max < 2) {
        return 0;
    }
    ports[0] = 0;
    HKEY key = nullptr;
    if (w32::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0,
                           KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (w32::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        w32::RegCloseKey(key);
        return 0;
    }
    // Room for the terminators the lengths leave out.
    char* name = static_cast<char*>(std::malloc(longestName + 1));
    BYTE* data = static_cast<BYTE*>(std::malloc(longestData + 1));
    if (name == nullptr || data == nullptr) {
        std::free(name);
        std::free(data);
        w32::RegCloseKey(key);
        w32::SetLastError(ERROR_OUTOFMEMORY);
        return 0;
    }
    // The caller's array holds max entries with the closing 0: at most max - 1 ports.
    int count = 0;
    for (DWORD index = 0; count < max - 1; ++index) {
        DWORD nameLength = longestName + 1;
        DWORD dataLength = longestData;
        DWORD type = 0;
        if (w32::RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS) {
            break;
        }
        data[std::min(dataLength, longestData)] = 0;
        if (type == REG_SZ && std::strlen(reinterpret_cast<char*>(data)) > 3) {
            ports[count++] = std::atoi(reinterpret_cast<char*>(data) + 3);
        }
    }
    std::free(name);
    std::free(data);
    w32::RegCloseKey(key);
    ports[count] = 0;
    std::sort(ports, ports + count);
    return count;
}
