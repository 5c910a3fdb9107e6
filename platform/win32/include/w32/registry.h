// Reading registry values: the system's registry on Windows; on Linux the one key the tool-set
// reads, HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, answered from the serial ports present.
//
// On Linux that key lists, as on Windows, one REG_SZ value per serial port with the port's name
// ("COM3") as data: the COM ports whose device exists (see w32/serial.h for how COM numbers map to
// devices) and the COM ports with a virtual port attached. Value names follow the system's
// driver names ("\Device\Serial0" for ttyS0, "\Device\VCP0" for ttyUSB0, "\Device\USBSER000" for
// ttyACM0, "\Device\VirtualSerial<n>" for a virtual port). The list is taken when the key opens.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

#if !defined(_WIN32)
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
typedef FILETIME* PFILETIME;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002u)))

#define KEY_QUERY_VALUE 0x0001u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_READ 0x20019u

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#endif

namespace w32 {

#if defined(_WIN32)
using ::RegCloseKey;
using ::RegEnumValueA;
using ::RegOpenKeyExA;
using ::RegQueryInfoKeyA;
#else
// ERROR_FILE_NOT_FOUND for every key but the serial-port key under HKEY_LOCAL_MACHINE.
W32_API LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
W32_API LONG RegCloseKey(HKEY key);
// Counts and longest lengths (value names without their terminator, data in bytes with it);
// every pointer may be null.
W32_API LONG RegQueryInfoKeyA(HKEY key, LPSTR className, LPDWORD classLength, LPDWORD reserved,
                              LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength,
                              LPDWORD values, LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                              LPDWORD securityDescriptorLength, PFILETIME lastWriteTime);
// Value `index` of the key; ERROR_NO_MORE_ITEMS past the last, ERROR_MORE_DATA when a buffer is
// too small (the lengths then say what is needed).
W32_API LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                           LPDWORD type, LPBYTE data, LPDWORD dataLength);
#endif

}  // namespace w32
