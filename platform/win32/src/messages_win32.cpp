// Message-only windows of the system, each with the caller's window procedure.
#include "w32/messages.h"

namespace w32 {
namespace {

const char kClassName[] = "FwtMessageWindow";

bool RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

HWND CreateMessageWindow(WNDPROC procedure) {
    if (procedure == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!RegisterOnce()) {
        return nullptr;
    }
    HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    }
    return window;
}

BOOL DestroyMessageWindow(HWND window) { return DestroyWindow(window); }

}  // namespace w32
