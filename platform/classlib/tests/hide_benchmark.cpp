// Measures how long hiding and destroying a visible top-level window take in this prefix and
// under this X server; prints the figures (milliseconds) and judges nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

HWND ShowOne() {
    HWND hWnd = ::CreateWindowExA(0, "Static", "hide benchmark", WS_OVERLAPPEDWINDOW, 100, 100, 300,
                                  200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::ShowWindow(hWnd, SW_SHOW);
    ::UpdateWindow(hWnd);
    Pump();
    return hWnd;
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-8s n=%zu  min %.2f ms  median %.2f ms  max %.2f ms\n", what, times.size(),
                times.front(), times[times.size() / 2], times.back());
}

}  // namespace

int main() {
    const int rounds = 20;
    std::vector<double> hides;
    std::vector<double> destroys;
    for (int i = 0; i < rounds; ++i) {
        HWND hWnd = ShowOne();
        double t0 = NowMs();
        ::ShowWindow(hWnd, SW_HIDE);
        Pump();
        hides.push_back(NowMs() - t0);
        ::ShowWindow(hWnd, SW_SHOW);
        Pump();
        t0 = NowMs();
        ::DestroyWindow(hWnd);
        Pump();
        destroys.push_back(NowMs() - t0);
    }
    Report("hide", hides);
    Report("destroy", destroys);
    return 0;
}
