// Colour requests: every WM_CTLCOLOR* message reaches the one colour entry with its control kind,
// in the parent's map and, reflected, in the control's own.
#include "classlib/classlib.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The seven colour requests in the order of their CTLCOLOR_* kinds.
const UINT kRequests[] = {WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                          WM_CTLCOLORBTN,    WM_CTLCOLORDLG,  WM_CTLCOLORSCROLLBAR,
                          WM_CTLCOLORSTATIC};
const std::vector<UINT> kKinds = {CTLCOLOR_MSGBOX, CTLCOLOR_EDIT, CTLCOLOR_LISTBOX,
                                  CTLCOLOR_BTN,    CTLCOLOR_DLG,  CTLCOLOR_SCROLLBAR,
                                  CTLCOLOR_STATIC};

class CColourParent : public CWnd {
public:
    std::vector<UINT> kinds;
    HBRUSH brush = nullptr;

protected:
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor) {
        kinds.push_back(nCtlColor);
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourParent, CWnd)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class CColourControl : public CStatic {
public:
    std::vector<UINT> kinds;
    HBRUSH brush = nullptr;

protected:
    HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        kinds.push_back(nCtlColor);
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourControl, CStatic)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

LRESULT Request(CWnd& parent, UINT message, CDC& dc, CWnd& control) {
    return parent.SendMessage(message, reinterpret_cast<WPARAM>(dc.m_hDC),
                              reinterpret_cast<LPARAM>(control.m_hWnd));
}

TEST(ColourRequests, TheParentsEntryLearnsTheKindOfEveryRequest) {
    CColourParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr));
    CStatic label;
    ASSERT_TRUE(label.Create("label", WS_CHILD, CRect(0, 0, 80, 20), &parent, 7));
    CBrush green(RGB(0, 255, 0));
    parent.brush = green;
    CClientDC dc(&label);
    for (UINT message : kRequests) {
        EXPECT_EQ(reinterpret_cast<HBRUSH>(Request(parent, message, dc, label)),
                  static_cast<HBRUSH>(green));
    }
    EXPECT_EQ(parent.kinds, kKinds);
}

TEST(ColourRequests, AControlAnswersItsReflectedRequestsWithTheirKinds) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr));
    CColourControl label;
    ASSERT_TRUE(label.Create("label", WS_CHILD, CRect(0, 0, 80, 20), &parent, 7));
    CBrush blue(RGB(0, 0, 255));
    label.brush = blue;
    CClientDC dc(&label);
    for (UINT message : kRequests) {
        EXPECT_EQ(reinterpret_cast<HBRUSH>(Request(parent, message, dc, label)),
                  static_cast<HBRUSH>(blue));
    }
    EXPECT_EQ(label.kinds, kKinds);
}

}  // namespace
