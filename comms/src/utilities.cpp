// The plain utility functions of the comms library: pause, whole-file read, free.
#include "comms/utilities.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

#include "w32/clock.h"

namespace {

enum ReadFileError {
    kReadOk = 0,
    kBadArguments = 1,
    kCannotOpen = 2,
    kCannotRead = 3,
    kNoMemory = 4,
};

int Fail(int code, char* errorText, int errorTextSize, const char* format, const char* path,
         const char* reason) {
    if (errorText != nullptr && errorTextSize > 0) {
        std::snprintf(errorText, static_cast<size_t>(errorTextSize), format,
                      path != nullptr ? path : "", reason);
    }
    return code;
}

}  // namespace

extern "C" {

void WINAPI SleepMsec(unsigned long milliseconds) { w32::Sleep(static_cast<DWORD>(milliseconds)); }

int WINAPI readFileData(const char* path, unsigned char** data, unsigned long* length,
                        char* errorText, int errorTextSize) {
    if (path == nullptr || data == nullptr || length == nullptr) {
        return Fail(kBadArguments, errorText, errorTextSize, "Cannot read file '%s': %s", path,
                    "bad arguments");
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return Fail(kCannotOpen, errorText, errorTextSize, "Cannot open file '%s': %s", path,
                    std::strerror(errno));
    }
    // Only a file has a size to read; a folder that opens (as on Linux) tells an absurd one.
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return Fail(kCannotOpen, errorText, errorTextSize, "Cannot open file '%s': %s", path,
                    "not a file");
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
    }
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return Fail(kCannotRead, errorText, errorTextSize, "Cannot read file '%s': %s", path,
                    "cannot tell its size");
    }
    auto* buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) + 1));
    if (buffer == nullptr) {
        std::fclose(file);
        return Fail(kNoMemory, errorText, errorTextSize, "Cannot read file '%s': %s", path,
                    "out of memory");
    }
    size_t got = std::fread(buffer, 1, static_cast<size_t>(size), file);
    bool failed = std::ferror(file) != 0 || got != static_cast<size_t>(size);
    std::fclose(file);
    if (failed) {
        std::free(buffer);
        return Fail(kCannotRead, errorText, errorTextSize, "Cannot read file '%s': %s", path,
                    "read error");
    }
    buffer[size] = 0;
    *data = buffer;
    *length = static_cast<unsigned long>(size);
    return kReadOk;
}

void WINAPI commsUtilFree(void* data) { std::free(data); }
}
