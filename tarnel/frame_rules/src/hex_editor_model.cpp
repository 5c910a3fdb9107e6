// The hex editor's layout, hit tests, caret moves, selection and keyboard editing.
#include "tarnel/frame_rules/hex_editor_model.h"

#include <algorithm>
#include <cstdio>

#include "hexdigits/hex_digits.h"
#include "tarnel/images/memory_image.h"

namespace {

// A typed character as a hex digit, -1 for any other (a wide character is never one).
int HexDigitValue(unsigned ch) {
    uint8_t digit = 0;
    if (ch > 0x7F || !ReadHexDigit(static_cast<char>(ch), &digit)) {
        return -1;
    }
    return digit;
}

bool IsMoveKey(HexEditorModel::Key key) {
    using Key = HexEditorModel::Key;
    switch (key) {
        case Key::kRight:
        case Key::kLeft:
        case Key::kUp:
        case Key::kDown:
        case Key::kPageUp:
        case Key::kPageDown:
        case Key::kHome:
        case Key::kEnd:
            return true;
        default:
            return false;
    }
}

constexpr unsigned kTab = 0x09;
constexpr unsigned kBackspace = 0x08;

}  // namespace

HexEditorModel::HexEditorModel() { ResetState(false); }

void HexEditorModel::SetData(uint8_t* cells, uint8_t* marks, int size) {
    m_cells = cells;
    m_marks = marks;
    m_size = (cells != nullptr && marks != nullptr && size > 0) ? size : 0;
    EnsureInside();
}

void HexEditorModel::EnsureInside() {
    if (m_size == 0) {
        m_cursor = 0;
        m_nibble = 0;
        ClearSelection();
        return;
    }
    if (m_cursor >= m_size) {
        m_cursor = m_size - 1;
    }
    if (m_selLast >= m_size || m_selFirst >= m_size || m_anchor >= m_size) {
        ClearSelection();
    }
}

void HexEditorModel::SetDisplay(bool showAddress, bool showHex, bool showChars,
                                uint32_t baseAddress) {
    m_showAddress = showAddress;
    m_showHex = showHex;
    m_showChars = showChars;
    m_baseAddress = baseAddress;
}

void HexEditorModel::SetWordMode(bool on) {
    if (on && !m_wordMode) {
        m_cellsPerRow *= 2;
    } else if (!on && m_wordMode) {
        m_cellsPerRow /= 2;
    }
    m_wordMode = on;
}

void HexEditorModel::ResetState(bool keepDisplay) {
    m_cells = nullptr;
    m_marks = nullptr;
    m_size = 0;
    m_cursor = 0;
    m_nibble = 0;
    m_firstRow = 0;
    m_firstColumn = 0;
    ClearSelection();
    m_modified = false;
    m_hexPane = true;
    if (!keepDisplay) {
        m_cellsPerRow = kDefaultCellsPerRow;
        m_showAddress = true;
        m_showHex = true;
        m_showChars = true;
        m_wordMode = false;
    }
}

void HexEditorModel::ScrollHome() {
    m_firstRow = 0;
    m_firstColumn = 0;
}

void HexEditorModel::SetViewCells(int visibleRows, int visibleColumns) {
    m_visibleRows = std::max(visibleRows, 0);
    m_visibleColumns = std::max(visibleColumns, 0);
}

int HexEditorModel::HexWidth() const {
    return m_wordMode ? 5 * m_cellsPerRow / 2 : 3 * m_cellsPerRow;
}

int HexEditorModel::RowWidth() const {
    return m_wordMode ? m_cellsPerRow / 2 + 3 * m_cellsPerRow + 10 : 4 * m_cellsPerRow + 10;
}

int HexEditorModel::RowCount() const { return (m_size + m_cellsPerRow - 1) / m_cellsPerRow; }

int HexEditorModel::LastColumn() const {
    return m_wordMode ? 5 * m_cellsPerRow / 2 + m_cellsPerRow + 8 : 4 * m_cellsPerRow + 8;
}

int HexEditorModel::HexColumn(int indexInRow) const {
    return kFirstCellColumn + (m_wordMode ? 5 * indexInRow / 2 : 3 * indexInRow);
}

int HexEditorModel::CharColumn(int indexInRow) const {
    return kFirstCellColumn + HexWidth() + indexInRow;
}

uint32_t HexEditorModel::RowAddress(int row) const {
    const uint32_t units = static_cast<uint32_t>(row) *
                           static_cast<uint32_t>(m_wordMode ? m_cellsPerRow / 2 : m_cellsPerRow);
    return units + m_baseAddress;
}

std::string HexEditorModel::CellDigits(int cell) const {
    if (cell < 0 || cell >= m_size) {
        return "  ";
    }
    if (m_marks[cell] == kMarkEmpty) {
        return "--";
    }
    char text[3];
    std::snprintf(text, sizeof(text), "%02X", m_cells[cell]);
    return text;
}

char HexEditorModel::CellChar(int cell) const {
    if (cell < 0 || cell >= m_size) {
        return ' ';
    }
    if (m_marks[cell] == kMarkEmpty) {
        return '-';
    }
    const uint8_t value = m_cells[cell];
    return (value >= 0x20 && value <= 0x7E) ? static_cast<char>(value) : '.';
}

HexEditorModel::CellLook HexEditorModel::Look(int cell) const {
    const bool mismatch = cell >= 0 && cell < m_size && m_marks[cell] == kMarkMismatch;
    if (IsSelected(cell)) {
        return mismatch ? CellLook::kSelectedMismatch : CellLook::kSelected;
    }
    return mismatch ? CellLook::kMismatch : CellLook::kNormal;
}

int HexEditorModel::CaretColumn() const {
    const int index = m_cursor % m_cellsPerRow;
    return m_hexPane ? HexColumn(index) + m_nibble : CharColumn(index);
}

int HexEditorModel::CaretRow() const { return m_cursor / m_cellsPerRow; }

bool HexEditorModel::IsSelected(int cell) const {
    return HasSelection() && cell >= m_selFirst && cell <= m_selLast;
}

void HexEditorModel::ClearSelection() {
    m_selFirst = -1;
    m_selLast = -1;
    m_anchor = -1;
}

HexEditorModel::Hit HexEditorModel::HitTest(int x, int y, int cellWidth, int cellHeight) const {
    Hit hit;
    if (cellWidth <= 0 || cellHeight <= 0 || !HasData()) {
        return hit;
    }
    const int px = x + m_firstColumn * cellWidth;
    const int py = y + m_firstRow * cellHeight;
    const int column = std::clamp(px / cellWidth, kFirstCellColumn, LastColumn());
    const int row = std::max(py / cellHeight, 0);
    const int p = column - kFirstCellColumn;
    hit.hexPane = px <= (kFirstCellColumn + HexWidth()) * cellWidth;
    long long cell = static_cast<long long>(row) * m_cellsPerRow;
    if (hit.hexPane) {
        if (m_wordMode) {
            cell += 2 * (p / 5) + std::min((p % 5) / 2, 1);
            const int q = (p % 5 == 4) ? 3 : p % 5;
            hit.nibble = q % 2;
        } else {
            cell += p / 3;
            const int q = (p % 3 == 2) ? 1 : p % 3;
            hit.nibble = q % 2;
        }
    } else {
        cell += column - kFirstCellColumn - HexWidth();
        hit.nibble = 0;
    }
    if (cell >= m_size) {
        cell = m_size - 1;
        if (hit.hexPane) {
            hit.nibble = 1;
        }
    }
    hit.cell = static_cast<int>(cell);
    return hit;
}

HexEditorModel::Change HexEditorModel::ButtonDown(const Hit& hit) {
    Change change;
    if (!HasData()) {
        return change;
    }
    change.handled = true;
    change.redraw = HasSelection();
    ClearSelection();
    m_hexPane = hit.hexPane;
    m_nibble = hit.nibble;
    m_cursor = hit.cell;
    change.caret = true;
    return change;
}

HexEditorModel::Change HexEditorModel::DragTo(const Hit& hit) {
    Change change;
    if (!HasData() || hit.cell == m_cursor) {
        return change;
    }
    change.handled = true;
    const int first = std::min(m_cursor, hit.cell);
    const int last = std::max(m_cursor, hit.cell);
    change.redraw = first != m_selFirst || last != m_selLast;
    m_anchor = m_cursor;
    m_selFirst = first;
    m_selLast = last;
    return change;
}

HexEditorModel::Change HexEditorModel::ButtonUp(const Hit& hit) {
    Change change;
    if (!HasData()) {
        return change;
    }
    change.handled = true;
    m_hexPane = hit.hexPane;
    m_nibble = hit.nibble;
    m_cursor = hit.cell;
    change.caret = true;
    return change;
}

void HexEditorModel::MoveKey(Key key, bool ctrl) {
    const int last = m_size - 1;
    const int rowCells = m_cellsPerRow;
    switch (key) {
        case Key::kRight:
            if (m_hexPane && m_nibble == 0) {
                m_nibble = 1;
            } else if (m_cursor < last) {
                ++m_cursor;
                m_nibble = 0;
            } else {
                m_nibble = 1;
            }
            break;
        case Key::kLeft:
            if (!m_hexPane) {
                if (m_cursor > 0) {
                    --m_cursor;
                }
                m_nibble = 0;
            } else if (m_nibble == 1) {
                m_nibble = 0;
            } else if (m_cursor > 0) {
                --m_cursor;
                m_nibble = 1;
            } else {
                m_nibble = 0;
            }
            break;
        case Key::kUp:
            if (m_cursor - rowCells >= 0) {
                m_cursor -= rowCells;
            }
            break;
        case Key::kDown:
            if (m_cursor + rowCells <= last) {
                m_cursor += rowCells;
            }
            break;
        case Key::kPageUp:
        case Key::kPageDown: {
            if (m_visibleRows - 1 <= 0) {
                break;
            }
            const int sign = key == Key::kPageDown ? 1 : -1;
            int step = (m_visibleRows - 1) * rowCells;
            while (step > 0 && (m_cursor + sign * step < 0 || m_cursor + sign * step > last)) {
                step -= rowCells;
            }
            if (step > 0) {
                m_cursor += sign * step;
            }
            break;
        }
        case Key::kHome:
            m_cursor = ctrl ? 0 : m_cursor - m_cursor % rowCells;
            m_nibble = 0;
            break;
        case Key::kEnd:
            m_cursor = ctrl ? last : std::min(m_cursor - m_cursor % rowCells + rowCells - 1, last);
            m_nibble = 1;
            break;
        default:
            break;
    }
}

HexEditorModel::Change HexEditorModel::KeyDown(Key key, bool shift, bool ctrl) {
    Change change;
    if (!HasData()) {
        return change;
    }
    change.handled = true;
    const int oldFirst = m_selFirst;
    const int oldLast = m_selLast;
    const bool move = IsMoveKey(key);
    if (move) {
        if (!shift) {
            ClearSelection();
        } else if (!HasSelection()) {
            m_selFirst = m_cursor;
            m_selLast = m_cursor;
            m_anchor = m_cursor;
        }
    } else if (key != Key::kShift && key != Key::kControl) {
        // The modifiers keep the selection for the key that follows them: Ctrl+C copies it
        // and Shift+Ctrl+Home/End extend it from its anchor.
        ClearSelection();
    }

    if (move) {
        MoveKey(key, ctrl);
        change.caret = true;
    } else if (key == Key::kDelete) {
        m_marks[m_cursor] = kMarkEmpty;
        if (m_cursor < m_size - 1) {
            ++m_cursor;
        }
        m_nibble = 0;
        m_modified = true;
        change.edited = true;
        change.redraw = true;
        change.caret = true;
    }

    if (move && shift && m_cursor != m_selFirst && m_cursor != m_selLast) {
        m_selFirst = std::min(m_anchor, m_cursor);
        m_selLast = std::max(m_anchor, m_cursor);
    }
    if (m_selFirst != oldFirst || m_selLast != oldLast) {
        change.redraw = true;
    }
    change.rowsScrolled = ScrollCursorIntoView();
    if (change.rowsScrolled != 0) {
        change.caret = true;
    }
    return change;
}

void HexEditorModel::StoreCell(int cell, uint8_t value) {
    m_cells[cell] = value;
    m_marks[cell] = kMarkData;
    if (m_wordMode) {
        // The other half of the word becomes data as well: a verify mismatch on it is settled by
        // the edit, and a cell without data joins the word as 0.
        const int other = cell ^ 1;
        if (other < m_size) {
            if (m_marks[other] == kMarkEmpty) {
                m_cells[other] = 0;
                m_marks[other] = kMarkData;
            } else if (m_marks[other] == kMarkMismatch) {
                m_marks[other] = kMarkData;
            }
        }
    }
}

HexEditorModel::Change HexEditorModel::Char(unsigned ch) {
    Change change;
    if (!HasData()) {
        return change;
    }
    const int last = m_size - 1;
    if (ch == kTab) {
        m_hexPane = !m_hexPane;
        change.handled = true;
        change.caret = true;
        return change;
    }
    if (ch == kBackspace) {
        change.handled = true;
        if (m_cursor > 0) {
            --m_cursor;
            m_marks[m_cursor] = kMarkEmpty;
            m_nibble = 0;
            m_modified = true;
            change.edited = true;
            change.redraw = true;
            change.caret = true;
            change.rowsScrolled = ScrollCursorIntoView();
        }
        return change;
    }
    if (m_hexPane) {
        const int digit = HexDigitValue(ch);
        if (digit < 0) {
            return change;  // not ours: default processing
        }
        const uint8_t old = m_cells[m_cursor];
        const uint8_t value = m_nibble == 0 ? static_cast<uint8_t>((digit << 4) | (old & 0x0F))
                                            : static_cast<uint8_t>((old & 0xF0) | digit);
        StoreCell(m_cursor, value);
        if (m_nibble == 0) {
            m_nibble = 1;
        } else {
            if (m_cursor < last) {
                ++m_cursor;
            }
            m_nibble = 0;
        }
    } else {
        StoreCell(m_cursor, static_cast<uint8_t>(ch));
        if (m_cursor < last) {
            ++m_cursor;
        }
    }
    m_modified = true;
    change.handled = true;
    change.edited = true;
    change.redraw = true;
    change.caret = true;
    change.rowsScrolled = ScrollCursorIntoView();
    return change;
}

int HexEditorModel::ScrollCursorIntoView() {
    const int row = CaretRow();
    const int old = m_firstRow;
    if (row < m_firstRow) {
        m_firstRow = row;
    } else if (row >= m_firstRow + m_visibleRows) {
        m_firstRow = std::max(row - std::max(m_visibleRows, 1) + 1, 0);
    }
    return m_firstRow - old;
}

HexEditorModel::ScrollChange HexEditorModel::VScroll(Scroll action, int trackPos) {
    ScrollChange change;
    const int rows = RowCount();
    const int old = m_firstRow;
    switch (action) {
        case Scroll::kLineBack:
            if (m_firstRow > 0) {
                --m_firstRow;
            }
            break;
        case Scroll::kLineForward:
            if (m_firstRow < rows) {
                ++m_firstRow;
            }
            break;
        case Scroll::kPageBack:
            m_firstRow = std::max(m_firstRow - m_visibleRows, 0);
            change.repaint = true;
            break;
        case Scroll::kPageForward:
            m_firstRow = std::min(m_firstRow + m_visibleRows, rows);
            change.repaint = true;
            break;
        case Scroll::kThumbTrack:
            m_firstRow = std::clamp(trackPos, 0, rows);
            break;
        case Scroll::kStart:
            m_firstRow = 0;
            change.repaint = true;
            break;
        case Scroll::kEnd:
            m_firstRow = rows;
            change.repaint = true;
            break;
        default:
            break;
    }
    change.moved = old - m_firstRow;
    return change;
}

HexEditorModel::ScrollChange HexEditorModel::HScroll(Scroll action, int trackPos) {
    ScrollChange change;
    const int width = RowWidth();
    const int old = m_firstColumn;
    switch (action) {
        case Scroll::kLineBack:
            if (m_firstColumn > 0) {
                --m_firstColumn;
            }
            break;
        case Scroll::kLineForward:
            if (m_firstColumn < width) {
                ++m_firstColumn;
            }
            break;
        case Scroll::kPageBack:
            --m_firstColumn;
            change.repaint = true;
            break;
        case Scroll::kPageForward:
            ++m_firstColumn;
            change.repaint = true;
            break;
        case Scroll::kThumbTrack:
            m_firstColumn = trackPos;
            break;
        case Scroll::kStart:
            m_firstColumn = 0;
            change.repaint = true;
            break;
        case Scroll::kEnd:
            m_firstColumn = width;
            change.repaint = true;
            break;
        default:
            break;
    }
    m_firstColumn = std::clamp(m_firstColumn, 0, width);
    change.moved = old - m_firstColumn;
    return change;
}

HexEditorModel::Change HexEditorModel::GoToCell(int cell) {
    Change change;
    if (!HasData()) {
        return change;
    }
    change.handled = true;
    m_cursor = std::clamp(cell, 0, m_size - 1);
    m_nibble = 0;
    change.caret = true;
    change.rowsScrolled = ScrollCursorIntoView();
    return change;
}

bool HexEditorModel::SetCellMark(int cell, uint8_t mark) {
    if (m_marks == nullptr || cell < 0 || cell >= m_size) {
        return false;
    }
    m_marks[cell] = mark;
    return true;
}

void HexEditorModel::RemoveMarks() {
    for (int i = 0; i < m_size; ++i) {
        if (m_marks[i] > kMarkData) {
            m_marks[i] = kMarkData;
        }
    }
}
