// The call frames a target shows to the host as its call-stack text.
#pragma once

#include <cstdint>

class CTargetBase;

// Kinds of frame: the opcode of the transfer that made it, or one of the two marks.
enum CallFrameKind : uint8_t {
    kFrameAjmp = 0x01,
    kFrameLjmp = 0x02,
    kFrameAcall = 0x11,
    kFrameLcall = 0x12,
    kFrameJmpDptr = 0x73,
    kFrameSjmp = 0x80,
    kFrameUnmatchedReturn = 254,  // a return that no frame was waiting for
    kFrameRestart = 255,          // the reset of the chip
};

constexpr uint32_t kNoCaller = 0xFFFFFFFFu;

struct CallStackFrame {
    uint32_t address;  // where the transfer went
    uint32_t from;     // return address of a call; kNoCaller when the frame has no caller
    uint32_t sfp;      // SP after the return address was pushed
    uint8_t kind;      // CallFrameKind or another transfer opcode
};

// "LCALL", "RESTART", ... ; "UNKNOWN OPCODE" for a kind without a text of its own.
const char* CallFrameKindText(uint8_t kind);

// The frames, bottom first. The stack holds at most kMaxFrames: a program that calls without
// ever returning (or jumps out of its routines) loses its oldest frames rather than memory.
class CCallStack {
public:
    static constexpr int32_t kMaxFrames = 1024;

    // Adds a frame on top (dropping the bottom frame when the stack is full).
    void Append(const CallStackFrame& frame);
    // Adds a frame unless it closes a loop: a frame whose caller is `address`, or (when `low`
    // and `high` are both not 0xFFFFFFFF) whose caller lies in low..high, is removed with every
    // frame above it instead.
    void Push(uint32_t address, uint32_t from, uint32_t sfp, uint8_t kind, uint32_t low,
              uint32_t high);
    // A return to `returnAddress`: removes the frame waiting for it and every frame above; when
    // none waits, a kFrameUnmatchedReturn frame goes on top instead.
    void PopTo(uint32_t returnAddress);
    void Clear();
    int32_t GetCount() const;
    // Frame `index` counted from the bottom (0), or null.
    const CallStackFrame* GetFrame(int32_t index) const;
    // The top frame, or null when the stack is empty.
    const CallStackFrame* Top() const;
    // The listing, bottom first, one line per frame, named through the target's debug info.
    // Cut at a line boundary when it does not fit; always terminated when length > 0; nothing
    // is written for a length of 0 or below.
    void GetText(CTargetBase& target, char* buffer, int32_t length) const;

private:
    // Removes frame `index` (from the bottom) and every frame above it.
    void CutTo(int32_t index);
    CallStackFrame& At(int32_t index);
    const CallStackFrame& At(int32_t index) const;

    CallStackFrame m_frames[kMaxFrames] = {};
    int32_t m_first = 0;  // ring position of the bottom frame
    int32_t m_count = 0;
};
