// The serial-port key of the registry, answered from the ports this machine has.
#include "w32/registry.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "com_devices_posix.h"
#include "vport_open.h"

namespace w32 {
namespace {

const char kSerialCommKey[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

using Values = std::vector<std::pair<std::string, std::string>>;  // name, data

struct OpenKeys {
    std::mutex lock;
    std::map<HKEY, Values> keys;
    uintptr_t next = 0x2000;
};

OpenKeys& Keys() {
    static OpenKeys* keys = new OpenKeys;  // outlives every static destructor
    return *keys;
}

bool StartsWith(const std::string& s, const char* prefix, std::string* rest) {
    size_t n = std::strlen(prefix);
    if (s.compare(0, n, prefix) != 0) {
        return false;
    }
    *rest = s.substr(n);
    return !rest->empty() && rest->find_first_not_of("0123456789") == std::string::npos;
}

// The name the system's driver would give the device.
std::string DriverName(const std::string& device, int comNumber) {
    std::string base = device.substr(device.find_last_of('/') + 1);
    std::string unit;
    if (StartsWith(base, "ttyS", &unit)) {
        return "\\Device\\Serial" + unit;
    }
    if (StartsWith(base, "ttyUSB", &unit)) {
        return "\\Device\\VCP" + unit;
    }
    if (StartsWith(base, "ttyACM", &unit)) {
        char name[32];
        std::snprintf(name, sizeof name, "\\Device\\USBSER%03d", std::atoi(unit.c_str()));
        return name;
    }
    return "\\Device\\ComPort" + std::to_string(comNumber);
}

Values SerialPortValues() {
    std::map<int, std::string> names;  // COM number -> value name
    std::set<std::string> taken;
    for (int com : vport::AttachedPorts()) {
        names[com] = "\\Device\\VirtualSerial" + std::to_string(com);
    }
    for (const serial::PresentPort& port : serial::PresentPorts()) {
        if (names.count(port.comNumber) != 0) {
            continue;  // a virtual port takes the number over
        }
        std::string name = DriverName(port.device, port.comNumber);
        if (taken.count(name) != 0) {
            name = "\\Device\\ComPort" + std::to_string(port.comNumber);
        }
        names[port.comNumber] = name;
        taken.insert(name);
    }
    Values values;
    for (const auto& entry : names) {
        values.emplace_back(entry.second, "COM" + std::to_string(entry.first));
    }
    return values;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if (key != HKEY_LOCAL_MACHINE || subKey == nullptr || strcasecmp(subKey, kSerialCommKey) != 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    Values values = SerialPortValues();
    OpenKeys& k = Keys();
    std::lock_guard<std::mutex> lock(k.lock);
    HKEY h = reinterpret_cast<HKEY>(k.next);
    k.next += 4;
    k.keys[h] = std::move(values);
    *result = h;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    OpenKeys& k = Keys();
    std::lock_guard<std::mutex> lock(k.lock);
    return k.keys.erase(key) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryInfoKeyA(HKEY key, LPSTR className, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                      LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                      LPDWORD securityDescriptorLength, PFILETIME lastWriteTime) {
    OpenKeys& k = Keys();
    std::lock_guard<std::mutex> lock(k.lock);
    auto it = k.keys.find(key);
    if (it == k.keys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD longestName = 0;
    DWORD longestData = 0;
    for (const auto& value : it->second) {
        longestName = std::max<DWORD>(longestName, static_cast<DWORD>(value.first.size()));
        longestData = std::max<DWORD>(longestData, static_cast<DWORD>(value.second.size() + 1));
    }
    if (className != nullptr && classLength != nullptr && *classLength > 0) {
        className[0] = '\0';
    }
    for (LPDWORD zero :
         {classLength, subKeys, maxSubKeyLength, maxClassLength, securityDescriptorLength}) {
        if (zero != nullptr) {
            *zero = 0;
        }
    }
    if (values != nullptr) {
        *values = static_cast<DWORD>(it->second.size());
    }
    if (maxValueNameLength != nullptr) {
        *maxValueNameLength = longestName;
    }
    if (maxValueLength != nullptr) {
        *maxValueLength = longestData;
    }
    if (lastWriteTime != nullptr) {
        *lastWriteTime = FILETIME{};
    }
    return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD, LPDWORD type,
                   LPBYTE data, LPDWORD dataLength) {
    if (name == nullptr || nameLength == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    OpenKeys& k = Keys();
    std::lock_guard<std::mutex> lock(k.lock);
    auto it = k.keys.find(key);
    if (it == k.keys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    if (index >= it->second.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    const auto& value = it->second[index];
    DWORD nameSize = static_cast<DWORD>(value.first.size());
    DWORD dataSize = static_cast<DWORD>(value.second.size() + 1);
    if (*nameLength <= nameSize) {
        *nameLength = nameSize;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && (dataLength == nullptr || *dataLength < dataSize)) {
        if (dataLength != nullptr) {
            *dataLength = dataSize;
        }
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, value.first.c_str(), nameSize + 1);
    *nameLength = nameSize;
    if (type != nullptr) {
        *type = REG_SZ;
    }
    if (data != nullptr) {
        std::memcpy(data, value.second.c_str(), dataSize);
    }
    if (dataLength != nullptr) {
        *dataLength = dataSize;
    }
    return ERROR_SUCCESS;
}

}  // namespace w32
