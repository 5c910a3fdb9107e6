// The in-memory screen buffer: cursor movement, wrapping and scrolling of a text console.
#include "fake_screen.h"

#include <algorithm>

namespace conredir_test {

namespace {
// A loop that never ends would hang the test run; the child is forced to end instead, and the
// pass count shows it.
constexpr int kPassLimit = 10000;
}  // namespace

FakeScreen::FakeScreen(int width, int height)
    : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height, 0) {}

void FakeScreen::Write(const std::string& text) {
    for (char c : text) {
        Put(c);
    }
}

void FakeScreen::Put(char c) {
    if (c == '\r') {
        cursor_.column = 0;
    } else if (c == '\n') {
        cursor_.column = 0;
        NextRow();
    } else {
        cells_[Index(cursor_)] = c;
        if (++cursor_.column == width_) {
            cursor_.column = 0;
            NextRow();
        }
    }
}

void FakeScreen::NextRow() {
    if (cursor_.row + 1 < height_) {
        ++cursor_.row;
        return;
    }
    std::copy(cells_.begin() + width_, cells_.end(), cells_.begin());
    std::fill(cells_.end() - width_, cells_.end(), ' ');
    ++scrolls;
}

std::size_t FakeScreen::Index(CellPos pos) const {
    return static_cast<std::size_t>(pos.row) * width_ + pos.column;
}

bool FakeScreen::AllCellsEmpty() const {
    return std::all_of(cells_.begin(), cells_.end(), [](char c) { return c == 0; });
}

bool FakeScreen::ChildHasEnded() {
    ++passes;
    cursorReadsThisPass_ = 0;
    auto action = atStart_.find(passes);
    if (action != atStart_.end()) {
        action->second();
    }
    if (passes >= kPassLimit) {
        ended_ = true;
    }
    return ended_;
}

bool FakeScreen::ReadState(conredir::BufferState& state) {
    if (++cursorReadsThisPass_ == 2) {
        auto action = beforeSecondRead_.find(passes);
        if (action != beforeSecondRead_.end()) {
            action->second();
        }
    }
    if (cursorUnreadable) {
        state = conredir::BufferState{CellPos{5, 3}, width_, height_};
        return false;
    }
    state = conredir::BufferState{cursor_, width_, height_};
    return true;
}

std::size_t FakeScreen::ReadCells(CellPos from, char* cells, std::size_t count) {
    if (cellsUnreadable) {
        return 0;
    }
    const std::size_t start = Index(from);
    const std::size_t n = std::min(count, cells_.size() - start);
    std::copy_n(cells_.begin() + start, n, cells);
    return n;
}

void FakeScreen::ClearCells(CellPos from, std::size_t count) {
    const std::size_t start = Index(from);
    std::fill_n(cells_.begin() + start, std::min(count, cells_.size() - start), 0);
}

void FakeScreen::MoveCursorHome() {
    (timeCritical ? homesWhileTimeCritical : homesAtNormalPriority)++;
    cursor_ = CellPos{};
}

}  // namespace conredir_test
