// Copying what a child writes into a console screen buffer to conredir's own output, pass by pass.
#pragma once

#include <cstddef>

namespace conredir {

// A cell of the screen buffer; rows are `width` cells long and follow each other without gaps.
struct CellPos {
    int column = 0;
    int row = 0;
};

inline bool operator==(CellPos a, CellPos b) { return a.column == b.column && a.row == b.row; }
inline bool operator!=(CellPos a, CellPos b) { return !(a == b); }

// What a read of the buffer reports: its cursor and its size in cells.
struct BufferState {
    CellPos cursor;
    int width = 0;
    int height = 0;
};

// What the capture loop needs of the screen buffer, of the child writing into it and of
// conredir's own output.
class CaptureConsole {
public:
    virtual ~CaptureConsole() = default;

    // True once the child has ended (or can no longer be waited for).
    virtual bool ChildHasEnded() = 0;
    // The buffer's cursor and size; false when the buffer cannot be read.
    virtual bool ReadState(BufferState& state) = 0;
    // Copies the characters of `count` cells from `from` on, row after row; returns how many
    // cells were copied.
    virtual std::size_t ReadCells(CellPos from, char* cells, std::size_t count) = 0;
    // Writes the character 0 into `count` cells from `from` on.
    virtual void ClearCells(CellPos from, std::size_t count) = 0;
    virtual void MoveCursorHome() = 0;
    // Raises the calling thread to the highest priority, or returns it to normal.
    virtual void SetTimeCritical(bool on) = 0;
    virtual void Pause(unsigned milliseconds) = 0;
    // Passes text on to conredir's own standard output; a failure is not reported.
    virtual void WriteOutput(const char* text, std::size_t size) = 0;
};

// Time between passes while the child writes nothing.
constexpr unsigned kPollMilliseconds = 50;

// Polls the buffer until the pass after the one that saw the child ended. Each pass copies the
// cells between the position reached so far and the cursor, clears them, and writes them out:
// characters unchanged, every run of empty (zero) cells as one line break per row it spans. A row
// the child wrote again from its start ('\r') is copied again, also when the cursor ends where it
// was.
// Once the cursor has passed half of the buffer's rows, it is put back to the top at a moment
// when the child writes nothing, so that the buffer is reused instead of filling up.
void RunCaptureLoop(CaptureConsole& console);

}  // namespace conredir
