// The one-line result text the board-loader routines leave in their caller's buffer.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "boardloader/board_loader.h"

namespace boardloader {

#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
inline void
SetText(char* text, const char* format, ...) {
    if (text == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, kBoardTextSize, format, arguments);
    va_end(arguments);
}

}  // namespace boardloader
