// Windows version classes, and which of conredir's two modes each class runs in.
#pragma once

#include <functional>

namespace conredir {

// Platform identifiers as the system reports them with its version.
constexpr unsigned long kPlatformWin32s = 0;
constexpr unsigned long kPlatformWindows = 1;
constexpr unsigned long kPlatformNt = 2;

struct OsVersion {
    unsigned long platformId = 0;
    unsigned long major = 0;
    unsigned long minor = 0;
};

// 0 unknown, 1 Win32s, 2/3/4 Windows 4.0/4.10/4.90, 5 NT 4 or older, 6/7/8 NT 5.0/5.1/5.2, 9
// NT 6.x.
int ClassifyVersion(const OsVersion& version);

// Asks `query` for the version, first with the extended record (`extended` true), then with the
// plain one; the class of the first answer, or 0 when both fail.
using VersionQuery = std::function<bool(bool extended, OsVersion& version)>;
int QueryVersionClass(const VersionQuery& query);

enum class Mode {
    Direct,   // the child inherits conredir's standard handles
    Capture,  // the child writes into a screen buffer that conredir copies out
};
Mode ModeForVersionClass(int versionClass);

}  // namespace conredir
