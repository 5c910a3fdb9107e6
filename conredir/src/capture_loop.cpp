// The capture loop: cursor arithmetic over the screen buffer and the empty-cell to line-break rule.
#include "capture_loop.h"

#include <new>
#include <string>
#include <vector>

namespace conredir {

namespace {

long long CellIndex(CellPos pos, int width) {
    return static_cast<long long>(width) * pos.row + pos.column;
}

// Characters go out as they are; a run of k empty cells stands for the ends of ceil(k / width)
// rows. A run ends with the copied cells, so the next pass starts a run of its own.
void WriteCellsAsText(const std::vector<char>& cells, int width, CaptureConsole& console) {
    std::size_t i = 0;
    while (i < cells.size()) {
        const std::size_t start = i;
        if (cells[i] != 0) {
            while (i < cells.size() && cells[i] != 0) {
                ++i;
            }
            console.WriteOutput(cells.data() + start, i - start);
            continue;
        }
        while (i < cells.size() && cells[i] == 0) {
            ++i;
        }
        const std::size_t rowWidth = static_cast<std::size_t>(width);
        const std::size_t rows = (i - start + rowWidth - 1) / rowWidth;
        std::string breaks;
        for (std::size_t r = 0; r < rows; ++r) {
            breaks += "\r\n";
        }
        console.WriteOutput(breaks.data(), breaks.size());
    }
}

// The first written cell on `pos`'s row before it, or `pos` itself: where a copy that would start
// at `pos` starts when the child went back to the row's start ('\r') and wrote it again. Copied
// cells are cleared, so a character there can only be such a rewrite; the cursor alone does not
// show it when the new text ends where the old one did (a progress line, a spinner).
CellPos RewriteStart(CaptureConsole& console, CellPos pos) {
    if (pos.column <= 0) {
        return pos;
    }
    std::vector<char> row(static_cast<std::size_t>(pos.column));
    if (console.ReadCells(CellPos{0, pos.row}, row.data(), row.size()) != row.size()) {
        return pos;
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] != 0) {
            return CellPos{static_cast<int>(i), pos.row};
        }
    }
    return pos;
}

}  // namespace

void RunCaptureLoop(CaptureConsole& console) {
    CellPos last;
    for (;;) {
        const bool ended = console.ChildHasEnded();
        // A pass that finds nothing to copy waits before the next one, or ends the loop.
        const auto quietPass = [&console, ended] {
            console.Pause(kPollMilliseconds);
            return ended;
        };
        BufferState state;
        // A buffer that cannot be read this time is treated as holding nothing new: its cursor
        // would otherwise be a position nobody wrote.
        if (!console.ReadState(state) || state.width <= 0) {
            if (quietPass()) {
                return;
            }
            continue;
        }

        // A cursor before the copied position means the child cleared the screen or moved up:
        // everything it shows now lies between the top and the cursor.
        const CellPos cursor = state.cursor;
        const int width = state.width;
        CellPos from = last;
        long long count = CellIndex(cursor, width) - CellIndex(from, width);
        if (count < 0 && cursor.row == last.row) {
            // A shorter rewrite of the row: only what it wrote there is new.
            from = RewriteStart(console, cursor);
            count = CellIndex(cursor, width) - CellIndex(from, width);
        } else if (count < 0) {
            from = CellPos{};
            count = CellIndex(cursor, width);
        } else {
            from = RewriteStart(console, last);
            count = CellIndex(cursor, width) - CellIndex(from, width);
            if (count == 0) {
                if (quietPass()) {
                    return;
                }
                continue;
            }
        }

        // Cells that cannot be copied are not cleared either, so the next pass tries them again.
        std::vector<char> cells;
        try {
            cells.resize(static_cast<std::size_t>(count));
        } catch (const std::bad_alloc&) {
            cells.clear();
        }
        if (cells.size() != static_cast<std::size_t>(count) ||
            (count > 0 && console.ReadCells(from, cells.data(), cells.size()) != cells.size())) {
            if (quietPass()) {
                return;
            }
            continue;
        }
        if (count > 0) {
            console.ClearCells(from, cells.size());
        }

        last = cursor;
        if (cursor.row >= state.height / 2) {
            // Whatever the child writes between the second cursor read and the move lands where
            // nobody copies it. The highest priority keeps that window short, and keeping the
            // move for the lower half of a tall buffer makes it rare.
            console.SetTimeCritical(true);
            BufferState again;
            if (console.ReadState(again) && again.cursor == cursor) {
                console.MoveCursorHome();
                last = CellPos{};
            }
            console.SetTimeCritical(false);
        }

        WriteCellsAsText(cells, width, console);
        if (ended) {
            return;
        }
    }
}

}  // namespace conredir
