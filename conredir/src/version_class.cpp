// Classifying the reported Windows version and choosing the mode for it.
#include "version_class.h"

namespace conredir {

namespace {

int ClassifyWindows(const OsVersion& v) {
    if (v.major != 4) {
        return 0;
    }
    switch (v.minor) {
        case 0:
            return 2;
        case 10:
            return 3;
        case 90:
            return 4;
        default:
            return 0;
    }
}

int ClassifyNt(const OsVersion& v) {
    if (v.major <= 4) {
        return 5;
    }
    if (v.major == 5) {
        return v.minor <= 2 ? 6 + static_cast<int>(v.minor) : 0;
    }
    return v.major == 6 ? 9 : 0;
}

}  // namespace

int ClassifyVersion(const OsVersion& version) {
    switch (version.platformId) {
        case kPlatformWin32s:
            return 1;
        case kPlatformWindows:
            return ClassifyWindows(version);
        case kPlatformNt:
            return ClassifyNt(version);
        default:
            return 0;
    }
}

int QueryVersionClass(const VersionQuery& query) {
    OsVersion version;
    if (query(true, version) || query(false, version)) {
        return ClassifyVersion(version);
    }
    return 0;
}

Mode ModeForVersionClass(int versionClass) {
    return versionClass == 8 || versionClass == 9 ? Mode::Capture : Mode::Direct;
}

}  // namespace conredir
