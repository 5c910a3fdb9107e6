// Recognising the names of COM ports among the names CreateFileA is given.
#include "com_names.h"

#include <cctype>
#include <cstring>

namespace w32 {
namespace serial {

int ComNumberOfName(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    if (std::strncmp(name, "\\\\.\\", 4) == 0) {
        name += 4;
    }
    if (std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M') {
        return 0;
    }
    const char* digits = name + 3;
    if (*digits < '1' || *digits > '9') {
        return 0;  // no number, or a leading zero
    }
    long number = 0;
    for (const char* p = digits; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return 0;
        }
        number = number * 10 + (*p - '0');
        if (number > 255) {
            return 0;
        }
    }
    return static_cast<int>(number);
}

}  // namespace serial
}  // namespace w32
