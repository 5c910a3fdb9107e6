// The links' message line.
#include "boardlink/board_link.h"

#include <cstdio>

void CBoardLink::Message(int level, const char* format, ...) {
    char line[kLinkMessageSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    m_sink.OutputMessage(level, line);
}
