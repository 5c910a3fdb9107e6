// The link object's construction and its message line.
#include <cstdio>

#include "boardloader/kernel_link.h"

CKernelLink::CKernelLink(LinkMessageSink& sink) : m_sink(sink) {}

void CKernelLink::Message(int level, const char* format, ...) {
    char line[kLinkMessageSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    m_sink.OutputMessage(level, line);
}

bool CKernelLink::Reopen(CComms& comms, DWORD baud) {
    comm_settings settings = {};
    comms.GetCommPort(&settings);
    comms.Deinstall();
    settings.baud = baud;
    comms.SetCommPort(&settings);
    return comms.IsInitialized() != FALSE;
}

void CKernelLink::ReportLineFailure(int code, DWORD systemError) {
    char system[256];
    systemErrorText(systemError, system, sizeof system);
    if (systemError == ERROR_FILE_NOT_FOUND) {
        Message(1, "Error changing to Program Mode, ec=%d, COM Port may not exist", code);
    } else if (systemError == ERROR_ACCESS_DENIED) {
        Message(1,
                "Error changing to Program Mode, ec=%d, COM Port may be in use by another program",
                code);
    } else {
        Message(1, "Error changing to Program Mode, ec=%d, WIN32 Error=%d %s", code,
                static_cast<int>(systemError), system);
    }
}
