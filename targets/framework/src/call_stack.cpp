// The call frames of a target and their listing.
#include "simtarget/call_stack.h"

#include <cstdio>

#include "simtarget/target_base.h"

const char* CallFrameKindText(uint8_t kind) {
    switch (kind) {
        case kFrameAjmp:
            return "AJMP";
        case kFrameLjmp:
            return "LJMP";
        case kFrameAcall:
            return "ACALL";
        case kFrameLcall:
            return "LCALL";
        case kFrameJmpDptr:
            return "JMPDPTR";
        case kFrameSjmp:
            return "SJMP";
        case kFrameUnmatchedReturn:
            return "Cannot find callstack frame to remove";
        case kFrameRestart:
            return "RESTART";
        default:
            return "UNKNOWN OPCODE";
    }
}

CallStackFrame& CCallStack::At(int32_t index) { return m_frames[(m_first + index) % kMaxFrames]; }

const CallStackFrame& CCallStack::At(int32_t index) const {
    return m_frames[(m_first + index) % kMaxFrames];
}

void CCallStack::Append(const CallStackFrame& frame) {
    if (m_count == kMaxFrames) {
        m_first = (m_first + 1) % kMaxFrames;
        --m_count;
    }
    At(m_count) = frame;
    ++m_count;
}

void CCallStack::CutTo(int32_t index) { m_count = index; }

void CCallStack::Push(uint32_t address, uint32_t from, uint32_t sfp, uint8_t kind, uint32_t low,
                      uint32_t high) {
    for (int32_t i = m_count - 1; i >= 0; --i) {
        if (At(i).from == address) {
            CutTo(i);
            return;
        }
    }
    if (low != kNoCaller && high != kNoCaller) {
        for (int32_t i = m_count - 1; i >= 0; --i) {
            if (At(i).from >= low && At(i).from <= high) {
                CutTo(i);
                return;
            }
        }
    }
    Append(CallStackFrame{address, from, sfp, kind});
}

void CCallStack::PopTo(uint32_t returnAddress) {
    for (int32_t i = m_count - 1; i >= 0; --i) {
        if (At(i).from == returnAddress) {
            CutTo(i);
            return;
        }
    }
    Append(CallStackFrame{returnAddress, kNoCaller, 0xFFFFFFFFu, kFrameUnmatchedReturn});
}

void CCallStack::Clear() {
    m_first = 0;
    m_count = 0;
}

int32_t CCallStack::GetCount() const { return m_count; }

const CallStackFrame* CCallStack::GetFrame(int32_t index) const {
    if (index < 0 || index >= m_count) {
        return nullptr;
    }
    return &At(index);
}

const CallStackFrame* CCallStack::Top() const { return GetFrame(m_count - 1); }

void CCallStack::GetText(CTargetBase& target, char* buffer, int32_t length) const {
    if (buffer == nullptr || length <= 0) {
        return;
    }
    buffer[0] = '\0';
    size_t used = 0;
    size_t room = static_cast<size_t>(length);
    for (int32_t i = 0; i < m_count; ++i) {
        const CallStackFrame& frame = At(i);
        uint8_t found = 0;
        const char* name = target.ResolveAddress(frame.address, frame.from, &found);
        if (name == nullptr) {
            name = "";
        }
        int n;
        if (static_cast<int32_t>(frame.from) < 0) {
            n = std::snprintf(buffer + used, room - used, "0x%04X:(%s)\r\n", frame.address, name);
        } else {
            n = std::snprintf(buffer + used, room - used,
                              "0x%04X:(%s %s from 0x%04X, SFP:0x%04X)\r\n", frame.address, name,
                              CallFrameKindText(frame.kind), frame.from, frame.sfp);
        }
        // A line that leaves no room for the terminating zero does not fit: the listing stops
        // before it.
        if (n < 0 || static_cast<size_t>(n) >= room - used) {
            buffer[used] = '\0';
            buffer[room - 1] = '\0';
            return;
        }
        used += static_cast<size_t>(n);
    }
}
