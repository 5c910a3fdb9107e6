// The common-controls version as the toolkit reads it: major << 16 | minor, 4.0 when the
// library cannot tell, asked once per process (rules without windows).
#pragma once

#include <cstdint>
#include <functional>

namespace xtdock {

const std::uint32_t kDefaultComCtlVersion = 0x40000;  // 4.0

// What the library's version export answered: nothing (no export), a failure, or a version.
struct ComCtlAnswer {
    bool hasExport = false;
    bool succeeded = false;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};
std::uint32_t ComposeComCtlVersion(const ComCtlAnswer& answer);

// A value computed on first use and kept, also when it is the default.
class VersionCache {
public:
    std::uint32_t Get(const std::function<std::uint32_t()>& compute) {
        if (m_value < 0) {
            m_value = compute();
        }
        return static_cast<std::uint32_t>(m_value);
    }

private:
    std::int64_t m_value = -1;  // not yet known
};

}  // namespace xtdock
