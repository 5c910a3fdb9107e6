// Texts written as one line of a host's transcript.
#pragma once

#include <cstddef>
#include <string>

namespace hostscript {

// Text with control characters, quotes, backslashes and bytes above 0x7E written as escapes
// (\r \n \t \" \\ \xNN), so that every message stays on one line of the transcript.
std::string Escape(const char* text, size_t length);
std::string Escape(const std::string& text);

}  // namespace hostscript
