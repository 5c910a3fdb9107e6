// Owner-drawn menus on a real frame: images taken from toolbar resources, popups converted when
// they open and given back when the menu closes, items measured and drawn (pixels read at
// positions computed from the item's rectangle), and mnemonic keys typed in a real popup.
#include "cool_menu_test_ids.h"
#include "docking/aux_data.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "menus/cool_menu.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class CMenuTestApp : public CWinApp {
public:
    CMenuTestApp() : CWinApp("Menu Test") {}
};
CMenuTestApp theApp;

class MenuEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new MenuEnvironment);

class CMenuTestFrame : public CFrameWnd {
public:
    // The commands have no handlers of the map: the menu keeps them enabled all the same.
    CMenuTestFrame() { m_bAutoMenuEnable = FALSE; }

    std::vector<UINT> m_commands;
    // Runs once when a popup's loop first waits for input (the popup is shown then).
    std::function<void()> m_onMenuIdle;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && m_onMenuIdle) {
            auto once = std::move(m_onMenuIdle);
            m_onMenuIdle = nullptr;
            once();
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) >= ID_TEST_OPEN && LOWORD(wParam) <= ID_TEST_LOOSE) {
            m_commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        return CFrameWnd::OnCommand(wParam, lParam);
    }
};

// A 32-bit picture to draw items into and read back.
class Canvas {
public:
    Canvas(int cx, int cy) : m_dc(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, cx, cy};
        ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ~Canvas() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

constexpr int kFilePopup = 0;
constexpr int kOpenPos = 0;
constexpr int kSeparatorPos = 1;
constexpr int kPrintPos = 2;
constexpr int kPropertiesPos = 4;
constexpr int kExitPos = 5;

class CoolMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new CMenuTestFrame;  // deletes itself with its window
        ASSERT_TRUE(frame_->Create(nullptr, "Menu Test", WS_OVERLAPPEDWINDOW,
                                   CRect(40, 40, 440, 340), nullptr,
                                   MAKEINTRESOURCEA(IDR_TEST_MENU)));
        frame_->ShowWindow(SW_SHOW);
        frame_->UpdateWindow();
        menu_ = std::make_unique<CXTCoolMenu>();
        menu_->Install(frame_);
    }
    void TearDown() override {
        menu_.reset();
        frame_->DestroyWindow();
        guitest::PumpPending();
    }

    HMENU FilePopup() { return ::GetSubMenu(::GetMenu(frame_->m_hWnd), kFilePopup); }
    void OpenPopup(HMENU popup, int index) {
        frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), index);
    }
    void CloseMenu() { frame_->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }
    MENUITEMINFOA Item(HMENU popup, int pos) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STATE;
        ::GetMenuItemInfoA(popup, static_cast<UINT>(pos), TRUE, &info);
        return info;
    }
    CString Text(HMENU popup, int pos) {
        char text[128] = {};
        ::GetMenuStringA(popup, static_cast<UINT>(pos), text, sizeof(text), MF_BYPOSITION);
        return CString(text);
    }
    XT_ITEMDATA* Record(int pos) { return XTFindItemData(Item(FilePopup(), pos).dwItemData); }

    // Draws the item at a position of the File popup into the canvas at rc.
    void Draw(Canvas& canvas, int pos, UINT state, const CRect& rc) {
        MENUITEMINFOA info = Item(FilePopup(), pos);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = info.wID;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = reinterpret_cast<HWND>(FilePopup());
        dis.hDC = canvas.Dc();
        dis.rcItem = rc;
        dis.itemData = info.dwItemData;
        EXPECT_TRUE(frame_->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    }

    CMenuTestFrame* frame_ = nullptr;
    std::unique_ptr<CXTCoolMenu> menu_;
};

}  // namespace

TEST_F(CoolMenuTest, ToolbarsGiveTheirCommandsImagesAndTheFirstImageWins) {
    EXPECT_TRUE(menu_->LoadToolbar(IDR_TOOLBAR_MAIN));
    EXPECT_EQ(menu_->GetButtonSize(), CSize(18, 17));
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_OPEN), 0);
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_PRINT), 1);  // the separator takes none
    const UINT more[] = {IDR_TOOLBAR_MORE};
    EXPECT_TRUE(menu_->LoadToolbars(more, 1));
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_PRINT), 1);  // on both toolbars: the first's
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_MORE), 3);
    EXPECT_EQ(menu_->GetImageList().GetImageCount(), 4);

    // Another image size is refused and adds nothing; so is a toolbar without its bitmap.
    EXPECT_FALSE(menu_->LoadToolbar(IDR_TOOLBAR_BIG));
    EXPECT_FALSE(menu_->LoadToolbar(IDR_TOOLBAR_NO_BITMAP));
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_BIG), -1);
    EXPECT_EQ(menu_->GetImageList().GetImageCount(), 4);

    const UINT loose[] = {ID_TEST_LOOSE, ID_TEST_OPEN};
    EXPECT_TRUE(menu_->AddImages(IDB_LOOSE_IMAGES, loose, 2));
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_LOOSE), 4);
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_OPEN), 0);

    // A colour change reloads the toolbars (not the loose images).
    frame_->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(menu_->GetImageList().GetImageCount(), 4);
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_MORE), 3);
    EXPECT_EQ(menu_->GetImageIndex(ID_TEST_LOOSE), -1);
}

TEST_F(CoolMenuTest, APopupIsConvertedOnceAndGivenBackWhenTheMenuCloses) {
    ASSERT_TRUE(menu_->LoadToolbar(IDR_TOOLBAR_MAIN));
    HMENU popup = FilePopup();
    OpenPopup(popup, kFilePopup);
    for (int pos = 0; pos < ::GetMenuItemCount(popup); ++pos) {
        EXPECT_TRUE(Item(popup, pos).fType & MFT_OWNERDRAW) << pos;
        ASSERT_NE(Record(pos), nullptr) << pos;
    }
    EXPECT_EQ(Record(kOpenPos)->m_strText, "&Open\tCtrl+O");
    EXPECT_EQ(Record(kOpenPos)->m_iImage, 0);
    EXPECT_EQ(Record(kExitPos)->m_iImage, -1);
    EXPECT_TRUE(Record(kSeparatorPos)->IsSeparator());
    XT_ITEMDATA* first = Record(kPrintPos);

    // Opened again before the menu closes: the same records, one entry in the list.
    OpenPopup(popup, kFilePopup);
    EXPECT_EQ(Record(kPrintPos), first);
    EXPECT_EQ(menu_->GetConvertedCount(), 1);

    CloseMenu();
    EXPECT_EQ(menu_->GetConvertedCount(), 0);
    for (int pos = 0; pos < ::GetMenuItemCount(popup); ++pos) {
        MENUITEMINFOA info = Item(popup, pos);
        EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << pos;
        EXPECT_EQ(info.dwItemData, 0u) << pos;
    }
    EXPECT_EQ(Text(popup, kOpenPos), "&Open\tCtrl+O");
    EXPECT_EQ(Text(popup, kExitPos), "E&xit");
    EXPECT_TRUE(Item(popup, kSeparatorPos).fType & MFT_SEPARATOR);
    EXPECT_EQ(XTFindItemData(reinterpret_cast<ULONG_PTR>(first)), nullptr);
}

TEST_F(CoolMenuTest, ItemsOfOtherOwnerDrawnCodeAreLeftAlone) {
    HMENU popup = FilePopup();
    // Item data that points nowhere: reading it as a record would crash.
    MENUITEMINFOA foreign = {};
    foreign.cbSize = sizeof(foreign);
    foreign.fMask = MIIM_FTYPE | MIIM_DATA;
    foreign.fType = MFT_OWNERDRAW;
    foreign.dwItemData = 0x1234;
    ASSERT_TRUE(::SetMenuItemInfoA(popup, kPrintPos, TRUE, &foreign));
    OpenPopup(popup, kFilePopup);
    EXPECT_EQ(Item(popup, kPrintPos).dwItemData, 0x1234u);
    EXPECT_NE(Record(kOpenPos), nullptr);

    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_TEST_PRINT;
    mis.itemData = 0x1234;
    EXPECT_FALSE(menu_->OnMeasureItem(&mis));
    CloseMenu();
    EXPECT_EQ(Item(popup, kPrintPos).dwItemData, 0x1234u);
    EXPECT_TRUE(Item(popup, kPrintPos).fType & MFT_OWNERDRAW);
}

TEST_F(CoolMenuTest, ItemsAreMeasuredInTheToolkitFont) {
    OpenPopup(FilePopup(), kFilePopup);
    const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = Item(FilePopup(), kSeparatorPos).dwItemData;
    EXPECT_TRUE(frame_->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_EQ(mis.itemHeight, static_cast<UINT>(cyMenu / 2));
    EXPECT_EQ(mis.itemWidth, 0u);

    mis.itemData = Item(FilePopup(), kOpenPos).dwItemData;
    EXPECT_TRUE(frame_->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    CClientDC dc(frame_);
    CFont* old = dc.SelectObject(&xtAfxData.m_font);
    const CSize text = dc.GetTextExtent(CString("&Open\tCtrl+O"));
    dc.SelectObject(old);
    EXPECT_EQ(mis.itemHeight, static_cast<UINT>(cyMenu));
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(::GetSystemMetrics(SM_CXSMICON) + text.cx + 7));
}

TEST_F(CoolMenuTest, DrawnItemsShowTheirImageBoxTextAreaAndSeparator) {
    ASSERT_TRUE(menu_->LoadToolbar(IDR_TOOLBAR_MAIN));
    OpenPopup(FilePopup(), kFilePopup);
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF blue = RGB(0, 0, 255);
    Canvas canvas(200, 120);
    const int h = 22;

    // Open, selected: raised box, its image centred in it, the text area in the highlight.
    const CRect open(0, 0, 200, h);
    Draw(canvas, kOpenPos, ODS_SELECTED, open);
    const CSize button = menu_->GetButtonSize();
    const int boxTop = (h - button.cy) / 2;
    const CPoint imageAt(button.cx / 2 - 8, boxTop + (button.cy - 15) / 2);
    EXPECT_EQ(canvas.At(imageAt.x + 8, imageAt.y + 7), red);                  // the image's inside
    EXPECT_EQ(canvas.At(imageAt.x + 0, imageAt.y + 7), xtAfxData.m_clrMenu);  // masked face
    EXPECT_EQ(canvas.At(0, boxTop), xtAfxData.m_clr3DHilight);                // raised edge
    EXPECT_EQ(canvas.At(button.cx - 1, boxTop + button.cy - 1), xtAfxData.m_clr3DShadow);
    EXPECT_EQ(canvas.At(198, 1), xtAfxData.m_clrHighlight);

    // Print, checked and not selected: sunken box with the dither inside, menu-coloured text.
    const CRect print(0, 30, 200, 30 + h);
    Draw(canvas, kPrintPos, ODS_CHECKED, print);
    const int printBox = 30 + boxTop;
    EXPECT_EQ(canvas.At(0, printBox), xtAfxData.m_clr3DShadow);  // sunken edge
    EXPECT_EQ(canvas.At(imageAt.x + 8, 30 + imageAt.y + 7), blue);
    const COLORREF d1 = canvas.At(1, printBox + 1);
    const COLORREF d2 = canvas.At(2, printBox + 1);
    EXPECT_NE(d1, d2);
    EXPECT_TRUE(d1 == xtAfxData.m_clr3DFace || d1 == xtAfxData.m_clr3DHilight);
    EXPECT_TRUE(d2 == xtAfxData.m_clr3DFace || d2 == xtAfxData.m_clr3DHilight);
    EXPECT_EQ(canvas.At(198, 31), xtAfxData.m_clrMenu);

    // Exit, checked without an image: the tick through the box's centre.
    const CRect exitItem(0, 60, 200, 60 + h);
    Draw(canvas, kExitPos, ODS_CHECKED, exitItem);
    const CPoint centre((button.cx) / 2, 60 + boxTop + button.cy / 2);
    EXPECT_EQ(canvas.At(centre.x, centre.y), xtAfxData.m_clr3DDkShadow);

    // The separator: an etched line from its middle, 12 pixels in from each end.
    const CRect separator(0, 90, 200, 100);
    Draw(canvas, kSeparatorPos, 0, separator);
    EXPECT_EQ(canvas.At(12, 95), xtAfxData.m_clr3DShadow);
    EXPECT_EQ(canvas.At(12, 96), xtAfxData.m_clr3DHilight);
    EXPECT_EQ(canvas.At(187, 95), xtAfxData.m_clr3DShadow);
    EXPECT_EQ(canvas.At(11, 95), RGB(0, 0, 0));  // untouched
    EXPECT_EQ(canvas.At(188, 95), RGB(0, 0, 0));
}

TEST_F(CoolMenuTest, ALetterTwoItemsShareMovesTheHighlightBetweenThem) {
    HMENU popup = FilePopup();
    OpenPopup(popup, kFilePopup);
    auto menuChar = [&](char c) {
        return static_cast<UINT>(frame_->SendMessage(WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP),
                                                     reinterpret_cast<LPARAM>(popup)));
    };
    EXPECT_EQ(menuChar('p'), MAKELONG(kPrintPos, MNC_SELECT));
    MENUITEMINFOA hilite = {};
    hilite.cbSize = sizeof(hilite);
    hilite.fMask = MIIM_STATE;
    hilite.fState = MFS_HILITE;
    ::SetMenuItemInfoA(popup, kPrintPos, TRUE, &hilite);
    EXPECT_EQ(menuChar('P'), MAKELONG(kPropertiesPos, MNC_SELECT));
    EXPECT_EQ(menuChar('x'), MAKELONG(kExitPos, MNC_EXECUTE));
    EXPECT_EQ(menuChar('q'), 0u);
    CloseMenu();
}

TEST_F(CoolMenuTest, AUniqueLetterTypedInTheOpenPopupRunsItsCommand) {
    ASSERT_TRUE(menu_->LoadToolbar(IDR_TOOLBAR_MAIN));
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    // The open popup shows Open's image in its box and Open highlighted.
    COLORREF imagePixel = CLR_INVALID;
    COLORREF textAreaPixel = CLR_INVALID;
    frame_->m_onMenuIdle = [&] {
        HWND hPopup = ::FindWindowA("#32768", nullptr);
        RECT item = {};
        if (hPopup == nullptr || !::GetMenuItemRect(frame_->m_hWnd, FilePopup(), kOpenPos, &item)) {
            return;
        }
        POINT origin = {item.left, item.top};
        ::ScreenToClient(hPopup, &origin);
        const int h = item.bottom - item.top;
        const CSize button = menu_->GetButtonSize();
        const int imageLeft = origin.x + button.cx / 2 - 8;
        const int imageTop = origin.y + (h - button.cy) / 2 + (button.cy - 15) / 2;
        HDC dc = ::GetDC(hPopup);
        imagePixel = ::GetPixel(dc, imageLeft + 8, imageTop + 7);
        textAreaPixel = ::GetPixel(dc, origin.x + (item.right - item.left) - 3, origin.y + 1);
        ::ReleaseDC(hPopup, dc);
    };
    {
        guitest::InputScript script;
        script.Foreground(frame_)
            .KeyDown(VK_MENU)
            .KeyDown('F')
            .KeyUp('F')
            .KeyUp(VK_MENU)
            .Pause(300)
            .KeyDown('V')
            .KeyUp('V');
        EXPECT_TRUE(script.Run(60));
    }
    EXPECT_TRUE(guitest::WaitUntil([&] { return !frame_->m_commands.empty(); }, 3000));
    EXPECT_EQ(frame_->m_commands, (std::vector<UINT>{ID_TEST_PREVIEW}));
    EXPECT_EQ(imagePixel, RGB(255, 0, 0));
    EXPECT_EQ(textAreaPixel, xtAfxData.m_clrHighlight);
    // The menu closed: its items are strings again.
    EXPECT_TRUE(guitest::WaitUntil([&] { return menu_->GetConvertedCount() == 0; }, 2000));
    EXPECT_FALSE(Item(FilePopup(), kOpenPos).fType & MFT_OWNERDRAW);
    EXPECT_EQ(Text(FilePopup(), kOpenPos), "&Open\tCtrl+O");
}
