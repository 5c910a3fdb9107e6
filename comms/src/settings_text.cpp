// Port settings from a text such as "COM2: baud=9600 parity=N data=8 stop=1".
#include <cctype>
#include <cstdio>

#include "comms/comms.h"

namespace {

// The position just behind the first occurrence of `key` in `text`, ignoring case; null if none.
const char* FindNoCase(const char* text, const char* key) {
    for (const char* start = text; *start != '\0'; ++start) {
        const char* t = start;
        const char* k = key;
        while (*k != '\0' && *t != '\0' &&
               std::toupper(static_cast<unsigned char>(*t)) ==
                   std::toupper(static_cast<unsigned char>(*k))) {
            ++t;
            ++k;
        }
        if (*k == '\0') {
            return t;
        }
    }
    return nullptr;
}

}  // namespace

int CComms::SetCommPort(const char* text) {
    comm_settings s{};
    GetCommPort(&s);
    if (text == nullptr) {
        return SetCommPort(&s);
    }
    int number = 0;
    const char* p = FindNoCase(text, "COM");
    if (p != nullptr && std::sscanf(p, "%d", &number) == 1) {
        s.port = number - 1;
    }
    unsigned long baud = 0;
    p = FindNoCase(text, "BAUD=");
    if (p != nullptr && std::sscanf(p, "%lu", &baud) == 1) {
        s.baud = static_cast<DWORD>(baud);
    }
    p = FindNoCase(text, "DATA=");
    if (p != nullptr) {
        std::sscanf(p, "%d", &s.dataBits);
    }
    p = FindNoCase(text, "PARITY=");
    if (p != nullptr) {
        switch (std::toupper(static_cast<unsigned char>(*p))) {
            case 'N':
                s.parity = 0;
                break;
            case 'O':
                s.parity = 1;
                break;
            case 'E':
                s.parity = 2;
                break;
            case 'M':
                s.parity = 3;
                break;
            case 'S':
                s.parity = 4;
                break;
            default:
                return COMMS_BAD_PARITY;
        }
    }
    p = FindNoCase(text, "STOP=");
    if (p != nullptr) {
        if (p[0] == '1' && (p[1] == ' ' || p[1] == '\0')) {
            s.stopBits = 0;
        } else if (p[0] == '1' && p[1] == '.' && p[2] == '5') {
            s.stopBits = 1;
        } else if (p[0] == '2') {
            s.stopBits = 2;
        } else {
            return COMMS_BAD_STOP_BITS;
        }
    }
    return SetCommPort(&s);
}
