// A screen buffer in memory with a scripted child writing into it, for the capture loop's tests.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "capture_loop.h"

namespace conredir_test {

using conredir::CellPos;

// Rows `width` cells wide; writing past the last row scrolls the buffer up by one row, the way a
// console does, and fills the new row with blanks. The child's actions run at chosen moments of
// the loop: at the start of a pass (before it looks at the child) or just before the second
// cursor read of a pass.
class FakeScreen : public conredir::CaptureConsole {
public:
    FakeScreen(int width, int height);

    // The child's side.
    void Write(const std::string& text);
    void MoveCursor(CellPos pos) { cursor_ = pos; }
    void End() { ended_ = true; }

    // Scripting; passes count from 1.
    void AtPassStart(int pass, std::function<void()> action) { atStart_[pass] = std::move(action); }
    void BeforeSecondCursorRead(int pass, std::function<void()> action) {
        beforeSecondRead_[pass] = std::move(action);
    }
    // The buffer refuses cursor reads while this is set (leaving a believable cursor behind).
    bool cursorUnreadable = false;
    // The buffer refuses to copy cells while this is set.
    bool cellsUnreadable = false;

    // What the loop did.
    std::string output;
    std::vector<unsigned> pauses;
    int passes = 0;
    int scrolls = 0;
    int homesWhileTimeCritical = 0;
    int homesAtNormalPriority = 0;
    bool timeCritical = false;
    CellPos cursor() const { return cursor_; }
    bool AllCellsEmpty() const;

    // CaptureConsole
    bool ChildHasEnded() override;
    bool ReadState(conredir::BufferState& state) override;
    std::size_t ReadCells(CellPos from, char* cells, std::size_t count) override;
    void ClearCells(CellPos from, std::size_t count) override;
    void MoveCursorHome() override;
    void SetTimeCritical(bool on) override { timeCritical = on; }
    void Pause(unsigned milliseconds) override { pauses.push_back(milliseconds); }
    void WriteOutput(const char* text, std::size_t size) override { output.append(text, size); }

private:
    void Put(char c);
    void NextRow();
    std::size_t Index(CellPos pos) const;

    int width_;
    int height_;
    std::vector<char> cells_;
    CellPos cursor_;
    bool ended_ = false;
    int cursorReadsThisPass_ = 0;
    std::map<int, std::function<void()>> atStart_;
    std::map<int, std::function<void()>> beforeSecondRead_;
};

}  // namespace conredir_test
