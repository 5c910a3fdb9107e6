// The hex editor view on the screen: real keys and mouse, the caret, WORD and BYTE display from
// its popup menu, the colours of marked and selected cells, scrolling and the clipboard.
#include <map>

#include "guitest/capture.h"
#include "guitest/input.h"
#include "shell_test_support.h"
#include "tarnel/shell/resource.h"

namespace shell_test {
namespace {

class HexViewTest : public ShellTest {
protected:
    // A .bin image of `size` cells 'A', 'B', ... shown in its maximised view, which has the focus.
    CHexView* Show(UINT size) {
        m_pDoc = NewBin(size);
        if (m_pDoc == nullptr) {
            return nullptr;
        }
        for (size_t i = 0; i < m_pDoc->GetArea().Size(); ++i) {
            m_pDoc->GetArea().cells[i] = static_cast<uint8_t>('A' + i % 26);
        }
        CHexView* view = FirstHexView(m_pDoc);
        view->Invalidate();
        guitest::PumpPending();
        if (!guitest::BringToForeground(m_pFrame)) {
            return nullptr;
        }
        view->SetFocus();
        guitest::PumpPending();
        return view;
    }

    // Where the caret should stand for the view's cursor (client pixels).
    static CPoint ExpectedCaret(CHexView* view) {
        const HexEditorModel& m = view->Model();
        const CSize cell = view->GetCharSize();
        return CPoint((m.CaretColumn() - m.FirstColumn()) * cell.cx,
                      (m.CaretRow() - m.FirstRow()) * cell.cy);
    }

    static CPoint Caret() {
        POINT p = {-1, -1};
        ::GetCaretPos(&p);
        return CPoint(p.x, p.y);
    }

    static CPoint CellCentre(CHexView* view, int cell) {
        const CRect r = view->CellHexRect(cell);
        return guitest::ClientToScreenPoint(view,
                                            CPoint(r.left + r.Width() / 4, r.CenterPoint().y));
    }

    CBinDoc* m_pDoc = nullptr;
};

TEST_F(HexViewTest, EndPageKeysAndDeleteStayInsideAPartialLastRow) {
    CHexView* view = Show(20);
    ASSERT_NE(view, nullptr);
    view->GoToCell(17);
    guitest::PressKey(VK_END);
    ASSERT_TRUE(guitest::WaitUntil([&] { return view->Model().Cursor() == 19; }));
    EXPECT_EQ(view->Model().Nibble(), 1);
    guitest::WaitUntil([&] { return Caret() == ExpectedCaret(view); });
    EXPECT_EQ(Caret(), ExpectedCaret(view));
    EXPECT_EQ(Caret(), CPoint((view->Model().HexColumn(3) + 1) * view->GetCharSize().cx,
                              view->GetCharSize().cy));

    guitest::PressKey(VK_NEXT);
    guitest::PressKey(VK_NEXT);
    guitest::PumpFor(50);
    EXPECT_EQ(view->Model().Cursor(), 19);
    guitest::PressKey(VK_PRIOR);
    ASSERT_TRUE(guitest::WaitUntil([&] { return view->Model().Cursor() == 3; }));

    view->GoToCell(19);
    guitest::PressKey(VK_DELETE);
    ASSERT_TRUE(guitest::WaitUntil([&] { return m_pDoc->GetArea().marks[19] == kMarkEmpty; }));
    EXPECT_EQ(view->Model().Cursor(), 19);
    EXPECT_TRUE(m_pDoc->IsModified());

    // A digit on the "--" cell makes it data and keeps the other digit of its byte ('T', 0x54).
    guitest::TypeText("9");
    ASSERT_TRUE(guitest::WaitUntil([&] { return m_pDoc->GetArea().marks[19] == kMarkData; }));
    EXPECT_EQ(m_pDoc->GetArea().cells[19], 0x94);
    EXPECT_EQ(view->Model().Nibble(), 1);
}

TEST_F(HexViewTest, AClickRightOfThePartialLastRowPutsTheCaretOnTheLastCellsLowDigit) {
    CHexView* view = Show(20);
    ASSERT_NE(view, nullptr);
    const CSize cell = view->GetCharSize();
    const CPoint beyond(
        (view->Model().HexColumn(10) - view->Model().FirstColumn()) * cell.cx + cell.cx / 2,
        cell.cy + cell.cy / 2);
    guitest::Click(guitest::ClientToScreenPoint(view, beyond));
    ASSERT_TRUE(guitest::WaitUntil([&] { return view->Model().Cursor() == 19; }));
    EXPECT_EQ(view->Model().Nibble(), 1);
    guitest::WaitUntil([&] { return Caret() == ExpectedCaret(view); });
    EXPECT_EQ(Caret(), CPoint((view->Model().HexColumn(3) + 1) * cell.cx, cell.cy));
}

TEST_F(HexViewTest, ADragSelectsTheCellsBetweenAndCopyPutsThemOnTheClipboard) {
    CHexView* view = Show(64);
    ASSERT_NE(view, nullptr);
    guitest::Drag(CellCentre(view, 2), CellCentre(view, 18));
    ASSERT_TRUE(guitest::WaitUntil([&] { return view->GetSelLast() == 18; }));
    EXPECT_EQ(view->GetSelFirst(), 2);
    EXPECT_EQ(view->Model().Cursor(), 18);
    m_pDoc->CopySelection();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    std::string text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    EXPECT_EQ(text, "CDEFGHIJKLMNOPQRS");
}

TEST_F(HexViewTest, WordModeFromThePopupTwiceKeepsThirtyTwoCellsAndByteModeGivesSixteen) {
    CHexView* view = Show(64);
    ASSERT_NE(view, nullptr);
    guitest::PopupMenuAnswers menus;
    menus.Choose(ID_HEX_WORD_MODE).Choose(ID_HEX_WORD_MODE).Choose(ID_HEX_BYTE_MODE);
    const CPoint at = guitest::ClientToScreenPoint(view, CPoint(40, 40));
    auto popup = [&] {
        view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd),
                          MAKELPARAM(at.x, at.y));
        guitest::PumpPending();
    };
    popup();
    EXPECT_EQ(view->Model().CellsPerRow(), 32);
    EXPECT_TRUE(view->Model().WordMode());
    popup();
    EXPECT_EQ(view->Model().CellsPerRow(), 32);
    popup();
    EXPECT_EQ(view->Model().CellsPerRow(), 16);
    EXPECT_FALSE(view->Model().WordMode());

    ASSERT_EQ(menus.Seen().size(), 3u);
    const auto& first = menus.Seen()[0];
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].text, "WORD Mode");
    EXPECT_EQ(first[1].text, "BYTE Mode");
    EXPECT_EQ(first[2].text, "Remove marks");
    EXPECT_FALSE(first[0].checked);
    EXPECT_TRUE(first[1].checked);
    EXPECT_TRUE(menus.Seen()[1][0].checked);
    EXPECT_FALSE(menus.Seen()[1][1].checked);
}

TEST_F(HexViewTest, RemoveMarksFromThePopupSettlesEveryMismatch) {
    CHexView* view = Show(32);
    ASSERT_NE(view, nullptr);
    m_pDoc->MarkMismatch(4, kMemoryCode);
    ASSERT_EQ(m_pDoc->GetArea().marks[8], kMarkMismatch);
    guitest::PopupMenuAnswers menus;
    menus.Choose(ID_HEX_REMOVE_MARKS);
    view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(-1, -1));
    guitest::PumpPending();
    EXPECT_EQ(m_pDoc->GetArea().marks[8], kMarkData);
    EXPECT_EQ(m_pDoc->GetArea().marks[9], kMarkData);
}

// The colours of a rectangle of the view: how many pixels of each.
std::map<COLORREF, int> ColoursIn(const guitest::ClientPixels& pixels, const CRect& r) {
    std::map<COLORREF, int> counts;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            ++counts[pixels.At(x, y)];
        }
    }
    return counts;
}

COLORREF MostOf(const std::map<COLORREF, int>& counts) {
    COLORREF most = CLR_INVALID;
    int best = 0;
    for (const auto& [colour, count] : counts) {
        if (count > best) {
            best = count;
            most = colour;
        }
    }
    return most;
}

int CountOf(const std::map<COLORREF, int>& counts, COLORREF colour) {
    auto it = counts.find(colour);
    return it != counts.end() ? it->second : 0;
}

TEST_F(HexViewTest, AMismatchCellIsDrawnRedOnTheWindowOrOnTheHighlightWhenSelected) {
    CHexView* view = Show(64);
    ASSERT_NE(view, nullptr);
    m_pDoc->MarkMismatch(5, kMemoryData);
    m_pDoc->MarkMismatch(20, kMemoryData);
    view->GoToCell(3);
    SetKeyHeld(VK_SHIFT, true);
    for (int i = 0; i < 9; ++i) {
        SendKey(view, VK_RIGHT);
    }
    SetKeyHeld(VK_SHIFT, false);
    ASSERT_EQ(view->GetSelFirst(), 3);
    ASSERT_EQ(view->GetSelLast(), 7);
    m_pFrame->SetFocus();  // the caret goes with the focus: nothing blinks over the cells
    view->Invalidate();
    view->UpdateWindow();
    guitest::PumpPending();

    const guitest::ClientPixels pixels(view);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF red = RGB(255, 0, 0);
    ASSERT_NE(window, highlight);

    const auto selectedMismatch = ColoursIn(pixels, view->CellHexRect(5));
    EXPECT_EQ(MostOf(selectedMismatch), highlight);
    EXPECT_GT(CountOf(selectedMismatch, red), 0);
    const auto selected = ColoursIn(pixels, view->CellHexRect(4));
    EXPECT_EQ(MostOf(selected), highlight);
    EXPECT_EQ(CountOf(selected, red), 0);
    const auto mismatch = ColoursIn(pixels, view->CellHexRect(20));
    EXPECT_EQ(MostOf(mismatch), window);
    EXPECT_GT(CountOf(mismatch, red), 0);
    const auto plain = ColoursIn(pixels, view->CellHexRect(21));
    EXPECT_EQ(MostOf(plain), window);
    EXPECT_EQ(CountOf(plain, red), 0);
    // The character column follows the same colours.
    EXPECT_EQ(MostOf(ColoursIn(pixels, view->CellCharRect(5))), highlight);
    EXPECT_GT(CountOf(ColoursIn(pixels, view->CellCharRect(20)), red), 0);
}

TEST_F(HexViewTest, KeysScrollALargeAreaSoThatTheCursorRowStaysInView) {
    CHexView* view = Show(0x80000);
    ASSERT_NE(view, nullptr);
    const int rows = view->Model().RowCount();
    ASSERT_EQ(rows, 0x8000);
    const int visible = view->Model().VisibleRows();
    ASSERT_GT(visible, 2);
    SetKeyHeld(VK_CONTROL, true);
    SendKey(view, VK_END);
    SetKeyHeld(VK_CONTROL, false);
    EXPECT_EQ(view->Model().Cursor(), 0x7FFFF);
    EXPECT_EQ(view->Model().FirstRow(), rows - visible);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), rows - visible);
    EXPECT_EQ(Caret(), ExpectedCaret(view));
    EXPECT_EQ(Caret().y, (visible - 1) * view->GetCharSize().cy);

    SetKeyHeld(VK_CONTROL, true);
    SendKey(view, VK_HOME);
    SetKeyHeld(VK_CONTROL, false);
    EXPECT_EQ(view->Model().FirstRow(), 0);
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(view->Model().FirstRow(), visible);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), visible);
    view->SendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(view->Model().FirstRow(), visible - 1);
}

}  // namespace
}  // namespace shell_test
