// The files of loadhost's own transcripts, for tests that name them in session lines.
#pragma once

#include <filesystem>
#include <string>

#include "loadhost/session_support.h"

namespace loadhosttest {

inline std::string TranscriptFile(const std::string& name) {
    return GenericPath(std::filesystem::path(FWT_SOURCE_DIR) / "hosts/loadhost/tests/transcripts" /
                       name);
}

}  // namespace loadhosttest
