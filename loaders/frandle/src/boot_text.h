// The text the Frandle loader exchanges with the boot loader: replies read up to the '>' prompt,
// and the HEX file taken line by line.
#pragma once

#include <cstddef>

#include "comms/comms.h"

namespace frandle {

// The reply buffer, which is also the line buffer: a line of the file has at most one character
// fewer (the terminator).
constexpr size_t kReplySize = 256;
constexpr size_t kLongestLine = kReplySize - 1;
// A board that talks this long without a prompt is given up on.
constexpr unsigned long kPromptSearchLimit = 4096;

// Reads one byte at a time until the prompt '>' (not stored), a failed read (its code is the
// result), or kPromptSearchLimit bytes without a prompt (LDR_ERR_DOWNLOAD). Every other byte is
// stored at the next position of `reply` (kReplySize bytes), the position wrapping to 0 after the
// last; *count is the number of bytes stored modulo kReplySize, and the text is terminated there.
int readUntilPrompt(CComms& port, char* reply, size_t* count);

// The next line of the file from `offset`: -1 when the offset is at or past the end; otherwise the
// line's characters go to `line` (kReplySize bytes) without its LF and a CR just before it,
// terminated, and the result is the number of bytes consumed, LF included. Characters beyond
// kLongestLine are not stored (FirstLongLine keeps such files away).
long nextHexLine(char* line, const unsigned char* data, unsigned long length, unsigned long offset);

// The number (from 1) of the first line of the file longer than kLongestLine characters without
// its line end, as nextHexLine would take it; 0 when every line fits.
unsigned long FirstLongLine(const unsigned char* data, unsigned long length);

}  // namespace frandle
