// Tests of the hex editor's layout, hit tests, caret moves, selection and keyboard editing.
#include "tarnel/frame_rules/hex_editor_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "tarnel/images/memory_image.h"

namespace {

using Key = HexEditorModel::Key;
using Scroll = HexEditorModel::Scroll;

// A model over an area of its own: cells 0, 1, 2 ... with data in every cell.
class EditorTest : public ::testing::Test {
protected:
    void Open(int size, bool wordMode = false) {
        cells_.assign(static_cast<size_t>(size), 0);
        marks_.assign(static_cast<size_t>(size), kMarkData);
        for (int i = 0; i < size; ++i) {
            cells_[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        }
        model_.SetWordMode(wordMode);
        model_.SetData(cells_.data(), marks_.data(), size);
        model_.SetViewCells(4, 80);
    }
    void Press(Key key, int times = 1, bool shift = false, bool ctrl = false) {
        for (int i = 0; i < times; ++i) {
            model_.KeyDown(key, shift, ctrl);
        }
    }
    void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) {
            model_.Char(static_cast<unsigned char>(*c));
        }
    }
    // The hit of the middle of a character cell.
    HexEditorModel::Hit At(int column, int row) const {
        return model_.HitTest(column * kW + kW / 2, row * kH + kH / 2, kW, kH);
    }

    static constexpr int kW = 8;
    static constexpr int kH = 16;
    std::vector<uint8_t> cells_;
    std::vector<uint8_t> marks_;
    HexEditorModel model_;
};

TEST_F(EditorTest, ByteRowsShowAddressHexAndCharacterColumnsAtTheirColumns) {
    Open(40);
    EXPECT_EQ(model_.CellsPerRow(), 16);
    EXPECT_EQ(model_.HexWidth(), 48);
    EXPECT_EQ(model_.RowWidth(), 74);
    EXPECT_EQ(model_.RowCount(), 3);
    EXPECT_EQ(model_.HexColumn(0), 9);
    EXPECT_EQ(model_.HexColumn(15), 54);
    EXPECT_EQ(model_.CharColumn(0), 57);
    EXPECT_EQ(model_.CharColumn(15), 72);
    EXPECT_EQ(model_.LastColumn(), 72);
    EXPECT_EQ(model_.RowAddress(2), 32u);
    model_.SetDisplay(true, true, true, 0x10);
    EXPECT_EQ(model_.RowAddress(2), 0x30u);
}

TEST_F(EditorTest, WordRowsPairCellsIntoFourDigitsAndCountAddressesInWords) {
    Open(40, true);
    EXPECT_EQ(model_.CellsPerRow(), 32);
    EXPECT_EQ(model_.HexWidth(), 80);
    EXPECT_EQ(model_.RowWidth(), 16 + 96 + 10);
    EXPECT_EQ(model_.HexColumn(0), 9);
    EXPECT_EQ(model_.HexColumn(1), 11);  // the word's second cell follows without a blank
    EXPECT_EQ(model_.HexColumn(2), 14);
    EXPECT_EQ(model_.CharColumn(0), 89);
    EXPECT_EQ(model_.LastColumn(), 80 + 32 + 8);
    EXPECT_EQ(model_.RowAddress(1), 16u);
}

TEST_F(EditorTest, WordModeTwiceKeepsThirtyTwoCellsAndByteModeHalvesThem) {
    Open(64);
    model_.SetWordMode(true);
    model_.SetWordMode(true);
    EXPECT_EQ(model_.CellsPerRow(), 32);
    model_.SetWordMode(false);
    EXPECT_EQ(model_.CellsPerRow(), 16);
    model_.SetWordMode(false);
    EXPECT_EQ(model_.CellsPerRow(), 16);
}

TEST_F(EditorTest, CellsShowDigitsDashesAndPrintableCharacters) {
    Open(0x80);
    marks_[3] = kMarkEmpty;
    EXPECT_EQ(model_.CellDigits(0x41), "41");
    EXPECT_EQ(model_.CellChar(0x41), 'A');
    EXPECT_EQ(model_.CellChar(0x7F), '.');
    EXPECT_EQ(model_.CellChar(0x1F), '.');
    EXPECT_EQ(model_.CellDigits(3), "--");
    EXPECT_EQ(model_.CellChar(3), '-');
    EXPECT_EQ(model_.CellDigits(0x80), "  ");  // beyond the area: blank
}

TEST_F(EditorTest, ClickRightOfAPartialLastRowPutsTheCaretOnTheLastCellsLowDigit) {
    Open(20);
    model_.ButtonDown(At(40, 1));  // hex column of cell 16 + 10, which does not exist
    EXPECT_EQ(model_.Cursor(), 19);
    EXPECT_EQ(model_.Nibble(), 1);
    EXPECT_TRUE(model_.HexPane());
}

TEST_F(EditorTest, HitTestFindsCellAndDigitInBothColumnsAndModes) {
    Open(64);
    auto hit = At(9 + 3 * 5 + 1, 1);  // low digit of cell 5 in row 1
    EXPECT_EQ(hit.cell, 21);
    EXPECT_EQ(hit.nibble, 1);
    hit = At(9 + 3 * 5 + 2, 0);  // the blank behind it counts as its low digit
    EXPECT_EQ(hit.cell, 5);
    EXPECT_EQ(hit.nibble, 1);
    hit = At(0, 0);  // the address column reaches the row's first cell
    EXPECT_EQ(hit.cell, 0);
    EXPECT_EQ(hit.nibble, 0);
    hit = At(57 + 7, 2);  // character column
    EXPECT_FALSE(hit.hexPane);
    EXPECT_EQ(hit.cell, 39);

    model_.SetWordMode(true);
    hit = At(9 + 5 + 2, 0);  // second word, third digit: cell 3, high digit
    EXPECT_EQ(hit.cell, 3);
    EXPECT_EQ(hit.nibble, 0);
    hit = At(9 + 5 + 4, 0);  // the blank behind the word: its second cell's low digit
    EXPECT_EQ(hit.cell, 3);
    EXPECT_EQ(hit.nibble, 1);
}

TEST_F(EditorTest, EndGoesToTheRowsLastCellOrTheAreasLastAndPageDownStaysInside) {
    Open(20);
    model_.GoToCell(17);
    Press(Key::kEnd);
    EXPECT_EQ(model_.Cursor(), 19);
    EXPECT_EQ(model_.Nibble(), 1);
    model_.GoToCell(2);
    Press(Key::kEnd);
    EXPECT_EQ(model_.Cursor(), 15);

    model_.SetViewCells(3, 80);  // two rows a page: a step of 32 cells does not fit
    model_.GoToCell(0);
    Press(Key::kPageDown);
    EXPECT_EQ(model_.Cursor(), 16);
    Press(Key::kPageDown, 3);
    EXPECT_EQ(model_.Cursor(), 16);
    Press(Key::kPageUp);
    EXPECT_EQ(model_.Cursor(), 0);

    model_.SetViewCells(1, 80);  // a page of one row moves nothing
    model_.GoToCell(3);
    Press(Key::kPageDown);
    EXPECT_EQ(model_.Cursor(), 3);
}

TEST_F(EditorTest, HomeEndAndTheirControlFormsSetTheDigitToo) {
    Open(100);
    model_.GoToCell(37);
    Press(Key::kHome);
    EXPECT_EQ(model_.Cursor(), 32);
    EXPECT_EQ(model_.Nibble(), 0);
    Press(Key::kEnd, 1, false, true);
    EXPECT_EQ(model_.Cursor(), 99);
    EXPECT_EQ(model_.Nibble(), 1);
    Press(Key::kHome, 1, false, true);
    EXPECT_EQ(model_.Cursor(), 0);
    EXPECT_EQ(model_.Nibble(), 0);
}

TEST_F(EditorTest, RightAndLeftWalkDigitsAndStopAtTheEnds) {
    Open(3);
    Press(Key::kLeft);
    EXPECT_EQ(model_.Cursor(), 0);
    EXPECT_EQ(model_.Nibble(), 0);
    Press(Key::kRight);
    EXPECT_EQ(model_.Nibble(), 1);
    Press(Key::kRight);
    EXPECT_EQ(model_.Cursor(), 1);
    EXPECT_EQ(model_.Nibble(), 0);
    Press(Key::kRight, 10);
    EXPECT_EQ(model_.Cursor(), 2);
    EXPECT_EQ(model_.Nibble(), 1);
    Press(Key::kLeft, 2);
    EXPECT_EQ(model_.Cursor(), 1);
    EXPECT_EQ(model_.Nibble(), 1);

    model_.Char('\t');  // the character column moves by whole cells
    EXPECT_FALSE(model_.HexPane());
    Press(Key::kRight);
    EXPECT_EQ(model_.Cursor(), 2);
    Press(Key::kLeft, 5);
    EXPECT_EQ(model_.Cursor(), 0);
}

TEST_F(EditorTest, UpAndDownMoveOnlyWhenTheRowExists) {
    Open(40);
    model_.GoToCell(30);
    Press(Key::kDown);
    EXPECT_EQ(model_.Cursor(), 30);  // 46 is beyond the area
    Press(Key::kUp);
    EXPECT_EQ(model_.Cursor(), 14);
    Press(Key::kUp);
    EXPECT_EQ(model_.Cursor(), 14);
}

TEST_F(EditorTest, ShiftMovesSelectFromTheAnchorAndPlainMovesDropTheSelection) {
    Open(64);
    model_.GoToCell(5);
    model_.Char('\t');
    Press(Key::kRight, 3, true);
    EXPECT_EQ(model_.SelFirst(), 5);
    EXPECT_EQ(model_.SelLast(), 8);
    Press(Key::kDown, 1, true);
    EXPECT_EQ(model_.SelFirst(), 5);
    EXPECT_EQ(model_.SelLast(), 24);
    Press(Key::kUp, 1, true);
    EXPECT_EQ(model_.SelFirst(), 5);
    EXPECT_EQ(model_.SelLast(), 8);
    Press(Key::kLeft, 5, true);  // past the anchor the range turns round it
    EXPECT_EQ(model_.Cursor(), 3);
    EXPECT_EQ(model_.SelFirst(), 3);
    EXPECT_EQ(model_.SelLast(), 5);
    Press(Key::kLeft);
    EXPECT_FALSE(model_.HasSelection());
}

TEST_F(EditorTest, ShiftOnTheHighDigitSelectsTheCursorCellAndTheNextMoveExtends) {
    Open(64);
    model_.GoToCell(10);
    auto change = model_.KeyDown(Key::kRight, true, false);
    EXPECT_TRUE(change.redraw);
    EXPECT_EQ(model_.SelFirst(), 10);
    EXPECT_EQ(model_.SelLast(), 10);
    Press(Key::kRight, 1, true);
    EXPECT_EQ(model_.SelFirst(), 10);
    EXPECT_EQ(model_.SelLast(), 11);
}

TEST_F(EditorTest, AnyOtherKeyButShiftAndCtrlDropsTheSelection) {
    Open(64);
    Press(Key::kRight, 4, true);
    ASSERT_TRUE(model_.HasSelection());
    Press(Key::kShift);
    EXPECT_TRUE(model_.HasSelection());
    Press(Key::kControl, 1, false, true);  // the key-down of Ctrl before its C
    EXPECT_EQ(model_.SelFirst(), 0);
    EXPECT_EQ(model_.SelLast(), 2);
    Press(Key::kOther);
    EXPECT_FALSE(model_.HasSelection());
}

TEST_F(EditorTest, ShiftCtrlEndAndHomeExtendTheSelectionFromItsAnchor) {
    Open(64);
    model_.GoToCell(20);
    Press(Key::kRight, 4, true);  // cells 20 to 22, anchored at 20
    ASSERT_EQ(model_.SelFirst(), 20);
    Press(Key::kShift, 1, true);
    Press(Key::kControl, 1, true, true);
    Press(Key::kEnd, 1, true, true);
    EXPECT_EQ(model_.SelFirst(), 20);
    EXPECT_EQ(model_.SelLast(), 63);
    Press(Key::kControl, 1, true, true);
    Press(Key::kHome, 1, true, true);
    EXPECT_EQ(model_.SelFirst(), 0);
    EXPECT_EQ(model_.SelLast(), 20);
}

TEST_F(EditorTest, DeleteClearsTheCellAndStepsOnButStaysOnTheLastCell) {
    Open(4);
    model_.GoToCell(2);
    auto change = model_.KeyDown(Key::kDelete, false, false);
    EXPECT_TRUE(change.edited);
    EXPECT_EQ(marks_[2], kMarkEmpty);
    EXPECT_EQ(model_.Cursor(), 3);
    model_.KeyDown(Key::kDelete, false, false);
    EXPECT_EQ(marks_[3], kMarkEmpty);
    EXPECT_EQ(model_.Cursor(), 3);
    EXPECT_TRUE(model_.Modified());
}

TEST_F(EditorTest, BackspaceClearsThePreviousCellAndNothingOnTheFirst) {
    Open(4);
    model_.Char('\b');
    EXPECT_FALSE(model_.Modified());
    model_.GoToCell(2);
    auto change = model_.Char('\b');
    EXPECT_TRUE(change.edited);
    EXPECT_EQ(model_.Cursor(), 1);
    EXPECT_EQ(marks_[1], kMarkEmpty);
    EXPECT_EQ(marks_[2], kMarkData);
}

TEST_F(EditorTest, ADigitOnAnEmptyCellMakesItDataAndKeepsTheOtherDigit) {
    Open(4);
    cells_[1] = 0x5A;
    marks_[1] = kMarkEmpty;
    model_.GoToCell(1);
    auto change = model_.Char('c');
    EXPECT_TRUE(change.edited);
    EXPECT_EQ(cells_[1], 0xCA);
    EXPECT_EQ(marks_[1], kMarkData);
    EXPECT_EQ(model_.Nibble(), 1);
    model_.Char('3');
    EXPECT_EQ(cells_[1], 0xC3);
    EXPECT_EQ(model_.Cursor(), 2);
    EXPECT_EQ(model_.Nibble(), 0);
}

TEST_F(EditorTest, TheLastCellsLowDigitReturnsToItsHighDigit) {
    Open(2);
    model_.GoToCell(1);
    Type("AB");
    EXPECT_EQ(cells_[1], 0xAB);
    EXPECT_EQ(model_.Cursor(), 1);
    EXPECT_EQ(model_.Nibble(), 0);
}

TEST_F(EditorTest, OtherCharactersInTheHexColumnAreLeftToTheWindow) {
    Open(2);
    auto change = model_.Char('g');
    EXPECT_FALSE(change.handled);
    EXPECT_EQ(cells_[0], 0);
    EXPECT_FALSE(model_.Modified());
}

TEST_F(EditorTest, TheCharacterColumnStoresCharacterCodes) {
    Open(3);
    model_.Char('\t');
    Type("Hi!");
    EXPECT_EQ(cells_[0], 'H');
    EXPECT_EQ(cells_[1], 'i');
    EXPECT_EQ(cells_[2], '!');
    EXPECT_EQ(model_.Cursor(), 2);
}

TEST_F(EditorTest, WordModeEditsSettleTheOtherHalfOfTheWord) {
    Open(6, true);
    marks_[1] = kMarkMismatch;
    cells_[3] = 0x77;
    marks_[3] = kMarkEmpty;
    model_.GoToCell(0);
    Type("1");
    EXPECT_EQ(marks_[1], kMarkData);
    EXPECT_EQ(cells_[1], 1);  // the mismatching byte keeps its value
    model_.GoToCell(2);
    Type("2");
    EXPECT_EQ(marks_[3], kMarkData);
    EXPECT_EQ(cells_[3], 0);  // a cell without data joins the word as 0
}

TEST_F(EditorTest, WordModeWithAnOddSizeTouchesNothingBeyondTheArea) {
    std::vector<uint8_t> cells(6, 0xEE);
    std::vector<uint8_t> marks(6, kMarkEmpty);
    model_.SetWordMode(true);
    model_.SetData(cells.data(), marks.data(), 5);
    model_.GoToCell(4);
    Type("9");
    EXPECT_EQ(cells[4], 0x9E);
    EXPECT_EQ(cells[5], 0xEE);
    EXPECT_EQ(marks[5], kMarkEmpty);
}

TEST_F(EditorTest, NothingHappensWithoutAnArea) {
    auto change = model_.KeyDown(Key::kDelete, false, false);
    EXPECT_FALSE(change.handled);
    change = model_.Char('1');
    EXPECT_FALSE(change.handled);
    change = model_.ButtonDown(At(10, 0));
    EXPECT_FALSE(change.handled);
}

TEST_F(EditorTest, DraggingSelectsFromTheCursorAndButtonUpMovesOnlyTheCursor) {
    Open(64);
    model_.ButtonDown(At(9 + 3 * 2, 0));
    model_.DragTo(At(9 + 3 * 4, 1));
    EXPECT_EQ(model_.SelFirst(), 2);
    EXPECT_EQ(model_.SelLast(), 20);
    model_.ButtonUp(At(9 + 3 * 4, 1));
    EXPECT_EQ(model_.Cursor(), 20);
    EXPECT_EQ(model_.SelFirst(), 2);
    model_.ButtonDown(At(9, 3));
    EXPECT_FALSE(model_.HasSelection());
}

TEST_F(EditorTest, AMismatchInTheSelectionKeepsItsColourOverTheHighlight) {
    Open(32);
    marks_[3] = kMarkMismatch;
    Press(Key::kRight, 10, true);
    EXPECT_EQ(model_.Look(3), HexEditorModel::CellLook::kSelectedMismatch);
    EXPECT_EQ(model_.Look(4), HexEditorModel::CellLook::kSelected);
    Press(Key::kOther);
    EXPECT_EQ(model_.Look(3), HexEditorModel::CellLook::kMismatch);
    model_.RemoveMarks();
    EXPECT_EQ(marks_[3], kMarkData);
    EXPECT_FALSE(model_.SetCellMark(32, kMarkMismatch));
    EXPECT_TRUE(model_.SetCellMark(31, kMarkMismatch));
    EXPECT_EQ(marks_[31], kMarkMismatch);
}

TEST_F(EditorTest, TheCursorIsScrolledIntoViewAsTheLastFullRowOrTheFirst) {
    Open(16 * 20);
    model_.SetViewCells(4, 80);
    auto change = model_.GoToCell(16 * 10);
    EXPECT_EQ(change.rowsScrolled, 7);
    EXPECT_EQ(model_.FirstRow(), 7);  // row 10 is the last of rows 7 to 10
    change = model_.GoToCell(16 * 2 + 3);
    EXPECT_EQ(change.rowsScrolled, -5);
    EXPECT_EQ(model_.FirstRow(), 2);
}

TEST_F(EditorTest, ScrollBarsMoveTheFirstRowAndColumnWithinTheirRanges) {
    Open(16 * 10);
    model_.SetViewCells(4, 20);
    EXPECT_EQ(model_.VScroll(Scroll::kLineBack, 0).moved, 0);
    EXPECT_EQ(model_.VScroll(Scroll::kLineForward, 0).moved, -1);
    auto page = model_.VScroll(Scroll::kPageForward, 0);
    EXPECT_TRUE(page.repaint);
    EXPECT_EQ(model_.FirstRow(), 5);
    model_.VScroll(Scroll::kPageForward, 0);
    model_.VScroll(Scroll::kPageForward, 0);
    EXPECT_EQ(model_.FirstRow(), 10);
    EXPECT_EQ(model_.VScroll(Scroll::kThumbTrack, 3).moved, 7);
    model_.VScroll(Scroll::kThumbTrack, 99);
    EXPECT_EQ(model_.FirstRow(), 10);
    model_.VScroll(Scroll::kStart, 0);
    EXPECT_EQ(model_.FirstRow(), 0);

    model_.HScroll(Scroll::kEnd, 0);
    EXPECT_EQ(model_.FirstColumn(), 74);
    EXPECT_EQ(model_.HScroll(Scroll::kLineForward, 0).moved, 0);
    model_.HScroll(Scroll::kThumbTrack, -4);
    EXPECT_EQ(model_.FirstColumn(), 0);
    model_.HScroll(Scroll::kPageForward, 0);
    EXPECT_EQ(model_.FirstColumn(), 1);
}

TEST_F(EditorTest, ScrolledHitsAndCaretCountFromTheAreasStart) {
    Open(16 * 10);
    model_.VScroll(Scroll::kThumbTrack, 3);
    model_.HScroll(Scroll::kThumbTrack, 2);
    auto hit = model_.HitTest(7 * kW + 1, 1 * kH + 1, kW, kH);  // column 9, row 4 of the area
    EXPECT_EQ(hit.cell, 64);
    model_.ButtonDown(hit);
    EXPECT_EQ(model_.CaretRow(), 4);
    EXPECT_EQ(model_.CaretColumn(), 9);
}

TEST_F(EditorTest, ResetEmptiesTheViewAndRestoresTheDisplayUnlessKept) {
    Open(64);
    model_.SetWordMode(true);
    model_.SetDisplay(false, true, false, 16);
    Press(Key::kRight, 3, true);
    model_.Char('\t');
    model_.ResetState(true);
    EXPECT_FALSE(model_.HasData());
    EXPECT_FALSE(model_.HasSelection());
    EXPECT_TRUE(model_.HexPane());
    EXPECT_EQ(model_.CellsPerRow(), 32);
    EXPECT_FALSE(model_.ShowAddress());
    model_.ResetState(false);
    EXPECT_EQ(model_.CellsPerRow(), 16);
    EXPECT_TRUE(model_.ShowAddress());
    EXPECT_TRUE(model_.ShowChars());
    EXPECT_FALSE(model_.WordMode());
}

TEST_F(EditorTest, ASmallerAreaPullsTheCursorAndSelectionBackInside) {
    Open(64);
    model_.GoToCell(50);
    Press(Key::kRight, 4, true);
    model_.SetData(cells_.data(), marks_.data(), 10);
    EXPECT_EQ(model_.Cursor(), 9);
    EXPECT_FALSE(model_.HasSelection());
}

}  // namespace
