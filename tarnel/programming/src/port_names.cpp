// The port names the programmer offers, and the folder of a path.
#include "tarnel/programming/port_names.h"

#include <cstring>

BOOL IsComPortAvailable(int index) { return index >= 0 && index <= 3; }

BOOL IsComPortNameAvailable(const char* name) {
    static const char* const kNames[] = {"COM1", "COM2", "COM3", "COM4"};
    if (name == nullptr) {
        return FALSE;
    }
    for (int i = 0; i < 4; ++i) {
        if (std::strcmp(name, kNames[i]) == 0) {
            return IsComPortAvailable(i);
        }
    }
    return FALSE;
}

CString GetPathFolder(const char* path) {
    if (path == nullptr) {
        return CString();
    }
    // A drive is a letter and a colon in front; the folder runs to the last separator.
    size_t drive = (path[0] != '\0' && path[1] == ':') ? 2 : 0;
    const char* slash = std::strrchr(path + drive, '\\');
    const char* other = std::strrchr(path + drive, '/');
    if (other != nullptr && (slash == nullptr || other > slash)) {
        slash = other;
    }
    size_t end = slash != nullptr ? static_cast<size_t>(slash - path) + 1 : drive;
    return CString(path, static_cast<int>(end));
}
