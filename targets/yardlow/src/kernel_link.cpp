// The link object's construction and the board loader's port and line helpers.
#include "boardloader/kernel_link.h"

CKernelLink::CKernelLink(LinkMessageSink& sink) : CBoardLink(sink), m_port(INVALID_HANDLE_VALUE) {
    // A freshly built link holds a zero register block but for the reset's stack pointer.
    m_context.sp = 7;
}

void CKernelLink::ReceiveText(const uint8_t* data, uint32_t count) {
    if (count != 0) {
        Sink().TerminalOutput(data, count);
    }
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
