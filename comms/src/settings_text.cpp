// Port settings from a text such as "COM2: baud=9600 parity=N data=8 stop=1".
#include <cctype>
#include <climits>
#include <cstdlib>

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

// The decimal number at `p` as sscanf's %d or %lu finds it (blanks skipped, a sign allowed),
// held to the range of a long long; false when there is none.
bool ReadNumber(const char* p, long long* value) {
    while (std::isspace(static_cast<unsigned char>(*p))) {
        ++p;
    }
    const char* digits = (*p == '-' || *p == '+') ? p + 1 : p;
    if (!std::isdigit(static_cast<unsigned char>(*digits))) {
        return false;
    }
    *value = std::strtoll(p, nullptr, 10);
    return true;
}

}  // namespace

int CComms::SetCommPort(const char* text) {
    comm_settings s{};
    GetCommPort(&s);
    if (text == nullptr) {
        return SetCommPort(&s);
    }
    // A number that does not fit its setting changes nothing: a COM number whose port number is
    // no int names no port that can be opened; a baud rate beyond 32 bits or data bits beyond an
    // int make a framing no port takes.
    long long number = 0;
    const char* p = FindNoCase(text, "COM");
    if (p != nullptr && ReadNumber(p, &number)) {
        if (number <= INT_MIN || number > static_cast<long long>(INT_MAX) + 1) {
            return COMMS_OPEN_FAILED;
        }
        s.port = static_cast<int>(number - 1);
    }
    p = FindNoCase(text, "BAUD=");
    if (p != nullptr && ReadNumber(p, &number)) {
        if (number < 0 || number > 0xFFFFFFFFll) {
            return COMMS_SET_STATE_FAILED;
        }
        s.baud = static_cast<DWORD>(number);
    }
    p = FindNoCase(text, "DATA=");
    if (p != nullptr && ReadNumber(p, &number)) {
        if (number < INT_MIN || number > INT_MAX) {
            return COMMS_SET_STATE_FAILED;
        }
        s.dataBits = static_cast<int>(number);
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
