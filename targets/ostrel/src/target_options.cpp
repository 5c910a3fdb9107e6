// Parsing of the host's option text.
#include "target_options.h"

#include <cctype>
#include <cstring>

namespace ostrel {

namespace {

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

}  // namespace

ExtMemMode ParseExtMemOption(const char* options) {
    static const char kPrefix[] = "ExtMem=";
    const size_t prefixLength = sizeof(kPrefix) - 1;
    if (options == nullptr || std::strncmp(options, kPrefix, prefixLength) != 0) {
        return ExtMemMode::None;
    }
    const char* value = options + prefixLength;
    if (EqualsIgnoringCase(value, "Overlapped")) {
        return ExtMemMode::Overlapped;
    }
    if (EqualsIgnoringCase(value, "Separate")) {
        return ExtMemMode::Separate;
    }
    return ExtMemMode::None;
}

}  // namespace ostrel
