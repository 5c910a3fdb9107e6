// The hex editor's state without a window: the row layout in character cells, hit tests, the
// caret, the selection, scrolling and the keyboard editing of one memory area.
#pragma once

#include <cstdint>
#include <string>

// One memory area shown as rows of an address, the cells as hexadecimal digits and the cells as
// characters. Positions are in character cells of a fixed-pitch font; the window that shows the
// model turns them into pixels. The area's cells and marks belong to the document.
class HexEditorModel {
public:
    static constexpr int kDefaultCellsPerRow = 16;
    static constexpr int kFirstCellColumn = 9;  // 8 address digits, then a blank

    // How a cell is drawn.
    enum class CellLook { kNormal, kMismatch, kSelected, kSelectedMismatch };

    // Keys the editor acts on; every other key is kOther. Shift and Ctrl are the modifiers'
    // own key-downs, which arrive before the key they modify.
    enum class Key {
        kRight,
        kLeft,
        kUp,
        kDown,
        kPageUp,
        kPageDown,
        kHome,
        kEnd,
        kDelete,
        kShift,
        kControl,
        kOther
    };

    // Scroll-bar actions.
    enum class Scroll {
        kLineBack,
        kLineForward,
        kPageBack,
        kPageForward,
        kThumbTrack,
        kThumbPosition,
        kStart,
        kEnd,
        kOther
    };

    // Where a point of the view falls.
    struct Hit {
        int cell = 0;
        int nibble = 0;  // 0 high digit, 1 low digit; 0 in the character column
        bool hexPane = true;
    };

    // What an input changed, so that the window knows what to redraw.
    struct Change {
        bool handled = false;  // false: the input is the window's default processing's
        bool redraw = false;   // cells or the selection changed
        bool edited = false;   // the area's bytes or marks changed: the document is modified
        bool caret = false;    // the caret must be placed again
        int rowsScrolled = 0;  // first shown row moved by this many rows (positive: down the area)
    };

    // A scroll-bar action's effect: the window either moves its contents by the difference or
    // repaints everything.
    struct ScrollChange {
        int moved = 0;  // old first row (column) minus the new one
        bool repaint = false;
    };

    HexEditorModel();

    // The area to show; the cells and marks stay the caller's. A cursor or selection beyond a
    // smaller area is pulled back inside it.
    void SetData(uint8_t* cells, uint8_t* marks, int size);
    void SetDisplay(bool showAddress, bool showHex, bool showChars, uint32_t baseAddress);
    // WORD mode shows two cells as one 16-bit word; entering it doubles the cells per row and
    // leaving it halves them; choosing the mode in force changes nothing.
    void SetWordMode(bool on);
    // Empties the view: no area, cursor, scroll position, selection or modified switch, the
    // caret in the hexadecimal column. Without keepDisplay also 16 cells per row, the three
    // columns shown and BYTE mode.
    void ResetState(bool keepDisplay);
    // Scrolls back to the first row and column (after a new layout).
    void ScrollHome();
    // The size of the view's client area in whole character cells.
    void SetViewCells(int visibleRows, int visibleColumns);

    bool HasData() const { return m_cells != nullptr && m_size > 0; }
    int Size() const { return m_size; }
    const uint8_t* Cells() const { return m_cells; }
    const uint8_t* Marks() const { return m_marks; }
    int CellsPerRow() const { return m_cellsPerRow; }
    bool WordMode() const { return m_wordMode; }
    bool ShowAddress() const { return m_showAddress; }
    bool ShowHex() const { return m_showHex; }
    bool ShowChars() const { return m_showChars; }
    uint32_t BaseAddress() const { return m_baseAddress; }

    // Layout in character columns of the unscrolled view.
    int HexWidth() const;    // width of the hexadecimal column
    int RowWidth() const;    // columns of a whole row
    int RowCount() const;    // rows of the area
    int LastColumn() const;  // the last column a click can reach
    int HexColumn(int indexInRow) const;
    int CharColumn(int indexInRow) const;
    uint32_t RowAddress(int row) const;

    // What a cell shows: two digits or "--", a character or '-'.
    std::string CellDigits(int cell) const;
    char CellChar(int cell) const;
    CellLook Look(int cell) const;

    // Caret, cursor and scroll position.
    bool HexPane() const { return m_hexPane; }
    int Cursor() const { return m_cursor; }
    int Nibble() const { return m_nibble; }
    int CaretColumn() const;  // unscrolled character column
    int CaretRow() const;
    int FirstRow() const { return m_firstRow; }
    int FirstColumn() const { return m_firstColumn; }
    int VisibleRows() const { return m_visibleRows; }

    // Selection: first and last cell, -1 when none.
    int SelFirst() const { return m_selFirst; }
    int SelLast() const { return m_selLast; }
    bool HasSelection() const { return m_selFirst >= 0 && m_selLast >= 0; }
    bool IsSelected(int cell) const;

    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // The cell under a client point (pixels), given the size of a character cell.
    Hit HitTest(int x, int y, int cellWidth, int cellHeight) const;
    Change ButtonDown(const Hit& hit);
    Change DragTo(const Hit& hit);
    Change ButtonUp(const Hit& hit);

    Change KeyDown(Key key, bool shift, bool ctrl);
    Change Char(unsigned ch);

    ScrollChange VScroll(Scroll action, int trackPos);
    ScrollChange HScroll(Scroll action, int trackPos);

    // Makes the cell (clamped into the area) the cursor and scrolls it into view.
    Change GoToCell(int cell);
    // A mark for a cell inside the area; false (nothing stored) outside it.
    bool SetCellMark(int cell, uint8_t mark);
    // Every mark above 1 becomes 1.
    void RemoveMarks();

private:
    void ClearSelection();
    void MoveKey(Key key, bool ctrl);
    int ScrollCursorIntoView();
    void EnsureInside();
    void StoreCell(int cell, uint8_t value);

    uint8_t* m_cells = nullptr;
    uint8_t* m_marks = nullptr;
    int m_size = 0;
    int m_cellsPerRow = kDefaultCellsPerRow;
    bool m_showAddress = true;
    bool m_showHex = true;
    bool m_showChars = true;
    uint32_t m_baseAddress = 0;
    bool m_hexPane = true;
    bool m_wordMode = false;
    int m_cursor = 0;
    int m_nibble = 0;
    bool m_modified = false;
    int m_firstRow = 0;
    int m_firstColumn = 0;
    int m_visibleRows = 0;
    int m_visibleColumns = 0;
    int m_selFirst = -1;
    int m_selLast = -1;
    int m_anchor = -1;
};
