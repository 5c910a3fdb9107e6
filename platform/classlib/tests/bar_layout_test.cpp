// The layout rules of bars apart from windows: toolbar buttons wrapped into rows or a column,
// fitted to a width or a height, and the rows of a dock bar's array.
#include "classlib/portable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Buttons 23 wide, separators 6, as a flat toolbar has them.
AFX_TOOLBOX Button() {
    AFX_TOOLBOX box;
    box.nWidth = 23;
    return box;
}
AFX_TOOLBOX Separator() {
    AFX_TOOLBOX box;
    box.nWidth = 6;
    box.bSeparator = TRUE;
    return box;
}
AFX_TOOLBOX Control(int width) {
    AFX_TOOLBOX box;
    box.nWidth = width;
    box.bSeparator = TRUE;
    box.bControl = TRUE;
    return box;
}

AFX_TOOLMETRICS Metrics(BOOL bFlat = TRUE) {
    AFX_TOOLMETRICS metrics;
    metrics.cyButton = 22;
    metrics.bFlat = bFlat;
    return metrics;
}

// Where the rows end, as a string: '|' after a box that ends a row.
std::string Rows(const std::vector<AFX_TOOLBOX>& boxes) {
    std::string text;
    for (const AFX_TOOLBOX& box : boxes) {
        text += box.bSeparator ? (box.bControl ? 'c' : 's') : 'b';
        if (box.bWrap) {
            text += '|';
        }
    }
    return text;
}

TEST(ToolbarWrap, AWideRowStaysOneRowAndAColumnBreaksAfterEveryButton) {
    std::vector<AFX_TOOLBOX> boxes = {Button(), Button(), Separator(), Button()};
    EXPECT_EQ(AfxWrapToolBoxes(boxes, 32767), 1);
    EXPECT_EQ(Rows(boxes), "bbsb");
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(75, 22));

    // One column: a separator lies across the column between its neighbours.
    EXPECT_EQ(AfxWrapToolBoxes(boxes, 0), 3);
    EXPECT_EQ(Rows(boxes), "b|bs|b");
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(23, 22 * 3 + 6));
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics(FALSE)), CSize(23, 22 * 3 + 4));
}

TEST(ToolbarWrap, ASeparatorWithItsOwnDepthTakesThatRoomBelowItsRow) {
    std::vector<AFX_TOOLBOX> boxes = {Button(), Separator(), Button()};
    boxes[1].nDepth = 19;
    AfxWrapToolBoxes(boxes, 0);
    ASSERT_EQ(Rows(boxes), "bs|b");
    // Whatever the bar's own rule would give, and none at all for a depth of 0.
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics(TRUE)), CSize(23, 22 * 2 + 19));
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics(FALSE)), CSize(23, 22 * 2 + 19));
    boxes[1].nDepth = 0;
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(23, 22 * 2));
    // Within a row the separator keeps its width.
    AfxWrapToolBoxes(boxes, 32767);
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(52, 22));
}

TEST(ToolbarWrap, RowsBreakAtTheLastSeparatorBeforeTheButtonThatDoesNotFit) {
    std::vector<AFX_TOOLBOX> boxes = {Button(), Separator(), Button(), Button(), Button()};
    // 23+6+23+23 = 75 fits, the fifth button does not: the row breaks at the separator.
    EXPECT_EQ(AfxWrapToolBoxes(boxes, 80), 2);
    EXPECT_EQ(Rows(boxes), "bs|bbb");
    // Without a separator the break comes after the button before.
    std::vector<AFX_TOOLBOX> plain = {Button(), Button(), Button()};
    EXPECT_EQ(AfxWrapToolBoxes(plain, 50), 2);
    EXPECT_EQ(Rows(plain), "bb|b");
}

TEST(ToolbarWrap, HiddenBoxesTakeNoRoomAndControlsAreNoPlaceToBreak) {
    std::vector<AFX_TOOLBOX> boxes = {Button(), Button(), Button()};
    boxes[1].bHidden = TRUE;
    EXPECT_EQ(AfxWrapToolBoxes(boxes, 46), 1);
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(46, 22));
    // A control sitting on a separator never ends a row: the break goes before it.
    std::vector<AFX_TOOLBOX> withControl = {Button(), Control(60), Button()};
    EXPECT_EQ(AfxWrapToolBoxes(withControl, 90), 2);
    EXPECT_EQ(Rows(withControl), "b|cb");
    // A single box wider than the width stays where it is.
    std::vector<AFX_TOOLBOX> wide = {Control(200)};
    EXPECT_EQ(AfxWrapToolBoxes(wide, 50), 1);
}

TEST(ToolbarWrap, FittingAWidthNarrowsTheBarAsFarAsItsRowCountAllows) {
    // Seven buttons in 100 pixels: four fit a row, so two rows; three a row would need three
    // rows, so the narrowest two-row bar is four buttons wide.
    std::vector<AFX_TOOLBOX> boxes(7, Button());
    AfxWrapToolBoxesToWidth(boxes, 100, Metrics());
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(92, 44));
    // A width below one button gives one column.
    AfxWrapToolBoxesToWidth(boxes, 5, Metrics());
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(23, 22 * 7));
}

TEST(ToolbarWrap, FittingAHeightTakesTheNarrowestLayoutNoTallerThanAsked) {
    std::vector<AFX_TOOLBOX> boxes(6, Button());
    // Two rows (44) fit in 50: three buttons a row.
    AfxWrapToolBoxesToHeight(boxes, 50, Metrics());
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(69, 44));
    // Room for all six rows: one column.
    AfxWrapToolBoxesToHeight(boxes, 500, Metrics());
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()).cx, 23);
    // Less than one row: one row all the same.
    AfxWrapToolBoxesToHeight(boxes, 10, Metrics());
    EXPECT_EQ(AfxMeasureToolBoxes(boxes, Metrics()), CSize(138, 22));
}

// Dock bar rows.

int g_bars[4];
void* Bar(int i) { return &g_bars[i]; }

std::string Layout(const CPtrArray& arr) {
    std::string text;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i) {
        void* entry = arr[i];
        if (entry == nullptr) {
            text += '|';
        } else if (AfxIsDockPlaceholder(entry)) {
            text += 'p';
        } else {
            text += static_cast<char>('A' + (static_cast<int*>(entry) - g_bars));
        }
    }
    return text;
}

TEST(DockRows, RowsAreAddedRemovedAndFoundWithTheirEnds) {
    CPtrArray arr;
    arr.Add(nullptr);
    EXPECT_EQ(AfxInsertDockRow(arr, arr.GetSize(), Bar(0)), 1);
    EXPECT_EQ(AfxInsertDockRow(arr, arr.GetSize(), Bar(1)), 3);
    EXPECT_EQ(Layout(arr), "|A|B|");
    // Into the second row, after B; and a new first row.
    AfxInsertDockEntry(arr, 4, Bar(2));
    AfxInsertDockRow(arr, 1, Bar(3));
    EXPECT_EQ(Layout(arr), "|D|A|BC|");
    EXPECT_EQ(AfxDockRowStart(arr, AfxFindDockEntry(arr, Bar(2))), 5);
    EXPECT_EQ(AfxDockRowEnd(arr, 5), 7);
    // Leaving a row with others keeps the row; leaving it alone takes the row away.
    AfxRemoveDockEntry(arr, AfxFindDockEntry(arr, Bar(1)));
    EXPECT_EQ(Layout(arr), "|D|A|C|");
    AfxRemoveDockEntry(arr, AfxFindDockEntry(arr, Bar(0)));
    EXPECT_EQ(Layout(arr), "|D|C|");
    EXPECT_EQ(AfxFindDockEntry(arr, Bar(0)), -1);
}

TEST(DockRows, PlaceholdersAreIdsThatKeepARowAndAreNoBars) {
    void* holder = AfxDockPlaceholder(0xE800);
    EXPECT_TRUE(AfxIsDockPlaceholder(holder));
    EXPECT_EQ(AfxDockPlaceholderID(holder), 0xE800u);
    EXPECT_FALSE(AfxIsDockPlaceholder(nullptr));
    EXPECT_FALSE(AfxIsDockPlaceholder(Bar(0)));

    CPtrArray arr;
    arr.Add(nullptr);
    AfxInsertDockRow(arr, 1, holder);
    AfxInsertDockEntry(arr, 2, Bar(1));
    EXPECT_EQ(Layout(arr), "|pB|");
    // Skipping an index finds another copy, or none.
    INT_PTR at = AfxFindDockEntry(arr, holder);
    EXPECT_EQ(at, 1);
    EXPECT_EQ(AfxFindDockEntry(arr, holder, at), -1);
}

TEST(DockRows, TidyingMendsAMalformedArray) {
    CPtrArray arr;
    arr.Add(Bar(0));
    arr.Add(nullptr);
    arr.Add(nullptr);
    arr.Add(Bar(1));
    AfxTidyDockArray(arr);
    EXPECT_EQ(Layout(arr), "|A|B|");
}

}  // namespace
