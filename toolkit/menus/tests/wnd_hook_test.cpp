// The hook chain on real windows: the order in which hooks and the window's own procedure see a
// message, unhooking in any order, the window's own procedure given back, and the whole chain
// leaving with the window.
#include "menus/wnd_hook.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class CHookTestApp : public CWinApp {
public:
    CHookTestApp() : CWinApp("Hook Test") {}
};
CHookTestApp theApp;

constexpr UINT kProbe = WM_APP + 1;

std::vector<std::string>* g_calls = nullptr;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_calls != nullptr && (message == kProbe || message == WM_NCDESTROY)) {
        g_calls->push_back(message == kProbe ? "window" : "window:ncdestroy");
        if (message == kProbe) {
            return 7;
        }
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

class CRecordingHook : public CXTWndHook {
public:
    explicit CRecordingHook(std::string name) : m_name(std::move(name)) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) {
            g_calls->push_back(m_name);
            // The thread's record describes the message while the hook runs.
            const MSG& current = AfxGetThreadState()->m_lastSentMsg;
            m_sawCurrent = current.message == kProbe && current.hwnd == m_hWnd &&
                           current.wParam == wParam && current.lParam == lParam;
            if (m_swallow) {
                return 99;
            }
        }
        if (message == WM_NCDESTROY) {
            g_calls->push_back(m_name + ":ncdestroy");
        }
        return CXTWndHook::WindowProc(message, wParam, lParam);
    }

    // The hook installed before this one on its window, as the chain links them.
    const CXTWndHook* Next() const { return m_pNext; }

    std::string m_name;
    bool m_swallow = false;
    bool m_sawCurrent = false;
};

class WndHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls = &calls_;
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = &OwnProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "HookTestWindow";
            ASSERT_NE(::RegisterClassA(&wc), 0);
            registered = true;
        }
        hWnd_ = ::CreateWindowExA(0, "HookTestWindow", "hooked", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hWnd_, nullptr);
        ownProc_ = ::GetWindowLongPtrA(hWnd_, GWLP_WNDPROC);
    }
    void TearDown() override {
        if (::IsWindow(hWnd_)) {
            ::DestroyWindow(hWnd_);
        }
        g_calls = nullptr;
    }
    LRESULT Probe() {
        calls_.clear();
        return ::SendMessageA(hWnd_, kProbe, 3, 4);
    }

    std::vector<std::string> calls_;
    HWND hWnd_ = nullptr;
    LONG_PTR ownProc_ = 0;
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(WndHookTest, TheLaterHookSeesEachMessageFirstAndTheWindowLast) {
    CRecordingHook earlier("earlier"), later("later");
    EXPECT_TRUE(earlier.HookWindow(hWnd_));
    EXPECT_TRUE(later.HookWindow(hWnd_));
    EXPECT_TRUE(earlier.IsHooked());
    EXPECT_EQ(XTGetWindowMap().Lookup(hWnd_), &later);
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"later", "earlier", "window"}));
    EXPECT_TRUE(later.m_sawCurrent);
    EXPECT_TRUE(earlier.m_sawCurrent);
    // Outside the hooks the record is back to what it was.
    EXPECT_NE(AfxGetThreadState()->m_lastSentMsg.message, kProbe);
}

TEST_F(WndHookTest, AHookThatAnswersItselfStopsTheChain) {
    CRecordingHook earlier("earlier"), later("later");
    earlier.HookWindow(hWnd_);
    later.HookWindow(hWnd_);
    later.m_swallow = true;
    EXPECT_EQ(Probe(), 99);
    EXPECT_EQ(calls_, (Calls{"later"}));
}

TEST_F(WndHookTest, HookingTheWindowAHookAlreadySitsOnChangesNothing) {
    // Alone on the window: hooked twice, it stays the one hook before the window's own
    // procedure (linked to itself, the first message would recurse until the stack is gone).
    CRecordingHook hook("hook");
    hook.HookWindow(hWnd_);
    EXPECT_TRUE(hook.HookWindow(hWnd_));
    ASSERT_EQ(hook.Next(), nullptr);
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"hook", "window"}));
    // One unhooking is enough to give the window its own procedure back.
    hook.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(::GetWindowLongPtrA(hWnd_, GWLP_WNDPROC), ownProc_);
    EXPECT_EQ(XTGetWindowMap().Lookup(hWnd_), nullptr);

    // Under a later hook: the chain keeps its order and no loop forms.
    CRecordingHook earlier("earlier"), later("later");
    earlier.HookWindow(hWnd_);
    later.HookWindow(hWnd_);
    earlier.HookWindow(hWnd_);
    ASSERT_EQ(later.Next(), &earlier);
    ASSERT_EQ(earlier.Next(), nullptr);
    EXPECT_EQ(XTGetWindowMap().Lookup(hWnd_), &later);
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"later", "earlier", "window"}));
}

TEST_F(WndHookTest, UnhookingInAnyOrderKeepsTheRestOfTheChain) {
    CRecordingHook first("first"), middle("middle"), last("last");
    first.HookWindow(hWnd_);
    middle.HookWindow(hWnd_);
    last.HookWindow(hWnd_);

    middle.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_FALSE(middle.IsHooked());
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"last", "first", "window"}));

    // The earlier of the two goes: the later one passes straight to the window.
    first.HookWindow(static_cast<CWnd*>(nullptr));
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"last", "window"}));
    EXPECT_NE(::GetWindowLongPtrA(hWnd_, GWLP_WNDPROC), ownProc_);

    // The last one gives the window its own procedure back, exactly.
    last.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(::GetWindowLongPtrA(hWnd_, GWLP_WNDPROC), ownProc_);
    EXPECT_EQ(XTGetWindowMap().Lookup(hWnd_), nullptr);
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"window"}));
}

TEST_F(WndHookTest, RemovingTheLaterHookMakesTheEarlierOneFirst) {
    CRecordingHook earlier("earlier"), later("later");
    earlier.HookWindow(hWnd_);
    later.HookWindow(hWnd_);
    later.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(XTGetWindowMap().Lookup(hWnd_), &earlier);
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"earlier", "window"}));
}

TEST_F(WndHookTest, DestroyingTheWindowUnhooksEveryHookBeforeItsOwnProcedureEnds) {
    auto earlier = std::make_unique<CRecordingHook>("earlier");
    auto later = std::make_unique<CRecordingHook>("later");
    earlier->HookWindow(hWnd_);
    later->HookWindow(hWnd_);
    calls_.clear();
    ASSERT_TRUE(::DestroyWindow(hWnd_));
    // The hooks never see the last message; the window's own procedure does.
    EXPECT_EQ(calls_, (Calls{"window:ncdestroy"}));
    EXPECT_FALSE(earlier->IsHooked());
    EXPECT_FALSE(later->IsHooked());
    EXPECT_EQ(XTGetWindowMap().Lookup(hWnd_), nullptr);
    // Their destruction afterwards touches nothing.
    later.reset();
    earlier.reset();
    EXPECT_TRUE(XTGetWindowMap().IsEmpty());
}

TEST_F(WndHookTest, AHookLeavesWithItsObject) {
    {
        CRecordingHook scoped("scoped");
        scoped.HookWindow(hWnd_);
    }
    EXPECT_EQ(::GetWindowLongPtrA(hWnd_, GWLP_WNDPROC), ownProc_);
    EXPECT_EQ(Probe(), 7);
    EXPECT_EQ(calls_, (Calls{"window"}));
}

TEST_F(WndHookTest, HooksSitOnClassLibraryWindowsToo) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "library", WS_OVERLAPPEDWINDOW,
                             CRect(0, 0, 100, 100), nullptr, 0));
    CRecordingHook hook("hook");
    hook.HookWindow(&wnd);
    calls_.clear();
    // The library's window procedure still runs under the hook: the text is set through it.
    wnd.SetWindowText("renamed");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "renamed");
    wnd.SendMessage(kProbe, 3, 4);
    EXPECT_EQ(calls_, (Calls{"hook"}));
    EXPECT_TRUE(hook.m_sawCurrent);
    wnd.DestroyWindow();
    EXPECT_FALSE(hook.IsHooked());
}
