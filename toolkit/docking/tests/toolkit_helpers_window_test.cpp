// The helpers the toolkit offers, on real windows and objects: a dialog rescaled to a new font,
// an item identifier list carried in a variant, and the child control under a point.
#include "docking/child_from_point.h"
#include "docking/dialog_font.h"
#include "docking/shell_variant.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog template without items, in "MS Sans Serif" 8 point, 200 x 120 dialog units.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE head = {};
    head.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    head.cx = 200;
    head.cy = 120;
    std::memcpy(words.data(), &head, sizeof head);
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.push_back(0);  // no title
    words.push_back(8);  // point size
    for (const char* c = "MS Sans Serif"; *c != '\0'; ++c) {
        words.push_back(static_cast<WORD>(*c));
    }
    words.push_back(0);
    return words;
}

CSize CharSize(HWND hWnd, HFONT hFont) {
    HDC dc = ::GetDC(hWnd);
    HGDIOBJ old = ::SelectObject(dc, hFont);
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(hWnd, dc);
    return CSize(metrics.tmAveCharWidth, metrics.tmHeight);
}

CRect RectInParent(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

CRect Scaled(const CRect& rect, const CSize& from, const CSize& to) {
    return CRect(::MulDiv(rect.left, to.cx, from.cx), ::MulDiv(rect.top, to.cy, from.cy),
                 ::MulDiv(rect.right, to.cx, from.cx), ::MulDiv(rect.bottom, to.cy, from.cy));
}

}  // namespace

TEST(DialogFont, TheDialogAndEachChildScaleByTheFontsCharacterSizes) {
    std::vector<WORD> words = DialogTemplate();
    HWND hDialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                                reinterpret_cast<LPCDLGTEMPLATEA>(words.data()),
                                                nullptr, &PlainDialogProc, 0);
    ASSERT_NE(hDialog, nullptr);
    auto hOldFont = reinterpret_cast<HFONT>(::SendMessageA(hDialog, WM_GETFONT, 0, 0));
    ASSERT_NE(hOldFont, nullptr);
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 100, 25,
                                     hDialog, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    HWND hCombo = ::CreateWindowExA(
        0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT, 10, 50,
        150, 150, hDialog, reinterpret_cast<HMENU>(2), nullptr, nullptr);
    ASSERT_NE(hButton, nullptr);
    ASSERT_NE(hCombo, nullptr);
    for (HWND hChild : {hButton, hCombo}) {
        ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(hOldFont), FALSE);
    }
    CRect clientBefore;
    ::GetClientRect(hDialog, &clientBefore);
    CRect windowBefore;
    ::GetWindowRect(hDialog, &windowBefore);
    const CRect buttonBefore = RectInParent(hButton);
    CRect droppedBefore;
    ::SendMessageA(hCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&droppedBefore));
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&droppedBefore), 2);

    CFont font;
    LOGFONT logFont = {};
    logFont.lfHeight = -26;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(logFont.lfFaceName, "Arial", LF_FACESIZE);
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    const CSize from = CharSize(hDialog, hOldFont);
    const CSize to = CharSize(hDialog, static_cast<HFONT>(font.m_hObject));
    ASSERT_GT(to.cy, from.cy);
    XTChangeDialogFont(CWnd::FromHandle(hDialog), &font);

    // The client area scales, the frame and the position stay.
    CRect client;
    ::GetClientRect(hDialog, &client);
    EXPECT_EQ(client.Width(), ::MulDiv(clientBefore.Width(), to.cx, from.cx));
    EXPECT_EQ(client.Height(), ::MulDiv(clientBefore.Height(), to.cy, from.cy));
    CRect window;
    ::GetWindowRect(hDialog, &window);
    EXPECT_EQ(window.TopLeft(), windowBefore.TopLeft());
    EXPECT_EQ(window.Width() - client.Width(), windowBefore.Width() - clientBefore.Width());

    // Each child: its rectangle scaled, the new font set.
    EXPECT_EQ(RectInParent(hButton), Scaled(buttonBefore, from, to));
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(hButton, WM_GETFONT, 0, 0)),
              static_cast<HFONT>(font.m_hObject));
    // The combo box by its open list: the list keeps its length in lines.
    CRect dropped;
    ::SendMessageA(hCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&dropped), 2);
    const CRect expected = Scaled(droppedBefore, from, to);
    const CRect combo = RectInParent(hCombo);
    EXPECT_EQ(combo.TopLeft(), expected.TopLeft());
    EXPECT_EQ(combo.right, expected.right);
    EXPECT_EQ(dropped.TopLeft(), expected.TopLeft());
    // Measured by its closed field the list would shrink to a few pixels; the library may
    // keep the field's height out of the list's, so the list's length is compared loosely.
    EXPECT_GT(dropped.Height(), expected.Height() * 3 / 4);
    EXPECT_LE(dropped.Height(), expected.Height());
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(hCombo, WM_GETFONT, 0, 0)),
              static_cast<HFONT>(font.m_hObject));

    // Without a font nothing changes.
    XTChangeDialogFont(CWnd::FromHandle(hDialog), nullptr);
    ::GetClientRect(hDialog, &clientBefore);
    EXPECT_EQ(clientBefore, client);
    ::DestroyWindow(hDialog);
}

TEST(ShellVariant, TheWholeListBecomesAByteArray) {
    const std::uint8_t list[] = {5, 0, 'a', 'b', 'c', 3, 0, 'd', 0, 0};
    VARIANT variant;
    ASSERT_TRUE(XTItemIdListToVariant(reinterpret_cast<LPCITEMIDLIST>(list), &variant));
    EXPECT_EQ(variant.vt, VT_ARRAY | VT_UI1);
    ASSERT_NE(variant.parray, nullptr);
    EXPECT_EQ(::SafeArrayGetDim(variant.parray), 1u);
    LONG lower = -1;
    LONG upper = -1;
    ::SafeArrayGetLBound(variant.parray, 1, &lower);
    ::SafeArrayGetUBound(variant.parray, 1, &upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, static_cast<LONG>(sizeof list) - 1);  // the terminator too
    void* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(::SafeArrayAccessData(variant.parray, &data)));
    EXPECT_EQ(std::memcmp(data, list, sizeof list), 0);
    ::SafeArrayUnaccessData(variant.parray);
    EXPECT_TRUE(SUCCEEDED(::VariantClear(&variant)));

    VARIANT none;
    none.vt = VT_I4;
    EXPECT_FALSE(XTItemIdListToVariant(nullptr, &none));
    EXPECT_EQ(none.vt, VT_EMPTY);
}

TEST(ChildFromPoint, TheFirstVisibleChildWithAControlIdentifierUnderThePoint) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE,
                                CRect(50, 50, 350, 250), nullptr, 0));
    auto child = [&](const char* text, int x, int y, INT_PTR id, bool visible) {
        return ::CreateWindowExA(0, "STATIC", text, WS_CHILD | (visible ? WS_VISIBLE : 0), x, y, 60,
                                 40, parent.m_hWnd, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    };
    // Created in this order, the first one is on top of the Z order.
    HWND hidden = child("hidden", 10, 10, 11, false);
    HWND first = child("first", 10, 10, 12, true);
    HWND disabled = child("disabled", 40, 30, 13, true);
    HWND noId = child("static", 150, 10, -1, true);
    HWND largeId = child("large", 150, 100, 0x10000, true);
    HWND below = child("below", 150, 100, 0xFFFE, true);
    ::EnableWindow(disabled, FALSE);
    ASSERT_TRUE(hidden && first && disabled && noId && largeId && below);

    EXPECT_EQ(XTChildWindowFromPoint(parent.m_hWnd, POINT{20, 20}), first);
    // Where two overlap, the one above in Z order; a disabled child counts.
    EXPECT_EQ(XTChildWindowFromPoint(parent.m_hWnd, POINT{45, 35}), first);
    EXPECT_EQ(XTChildWindowFromPoint(parent.m_hWnd, POINT{90, 60}), disabled);
    // A static control's -1 and identifiers from 0xFFFF up are not controls to find.
    EXPECT_EQ(XTChildWindowFromPoint(parent.m_hWnd, POINT{160, 20}), nullptr);
    EXPECT_EQ(XTChildWindowFromPoint(parent.m_hWnd, POINT{160, 110}), below);
    EXPECT_EQ(XTChildWindowFromPoint(parent.m_hWnd, POINT{280, 180}), nullptr);
    parent.DestroyWindow();
}
