// The child control under a point of its parent.
#include "docking/child_from_point.h"

HWND XTChildWindowFromPoint(HWND hWndParent, POINT ptClient) {
    if (hWndParent == nullptr) {
        return nullptr;
    }
    POINT ptScreen = ptClient;
    ::ClientToScreen(hWndParent, &ptScreen);
    for (HWND hChild = ::GetWindow(hWndParent, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        // The identifier as stored: a static control's -1 is no identifier below 0xFFFF.
        const auto id = static_cast<ULONG_PTR>(::GetWindowLongPtrA(hChild, GWLP_ID));
        if (!(::GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE) || id >= 0xFFFF) {
            continue;
        }
        RECT rect;
        ::GetWindowRect(hChild, &rect);
        if (::PtInRect(&rect, ptScreen)) {
            return hChild;
        }
    }
    return nullptr;
}
