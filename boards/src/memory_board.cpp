// The memory board and the drive: resynchronisation, headers, data runs and their replies.
#include "boards/memory_board.h"

#include <algorithm>

namespace boards {
namespace {

const BYTE kResync = 0xA5;
const size_t kHeaderSize = 9;
const uint64_t kForgetMicros = 50000;

BYTE Sum(const BYTE* data, size_t count) {
    BYTE sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum = static_cast<BYTE>(sum + data[i]);
    }
    return sum;
}

}  // namespace

MemoryBoard::MemoryBoard(const MemoryBoardOptions& options)
    : Board(options.line), m_options(options), m_memory(options.size, 0xFF) {}

void MemoryBoard::Misbehave(const Misbehaviour& m) {
    m_shaper.Set(m);
    if (m.fault == Fault::WrongBaud) {
        Listen(LineSettings{m.wrongBaud});
    }
}

void MemoryBoard::Answer(Reply reply) {
    if (m_shaper.Shape(reply)) {
        SendAfter(reply.delayMicros, reply.bytes);
    }
}

void MemoryBoard::Status(BYTE command, BYTE status, uint64_t delayMicros) {
    Reply r;
    r.bytes = {command, status, 0};
    r.check = CheckRule::NegatedSum;
    r.commandAt = 0;
    r.statusAt = 1;
    r.delayMicros = delayMicros;
    ReplyShaper::Recheck(r);
    Answer(r);
}

void MemoryBoard::Forget() {
    m_state = State::Idle;
    m_bytes.clear();
}

void MemoryBoard::OnRts(bool on) {
    if (on) {
        m_rtsRaised = true;
    } else if (m_rtsRaised) {
        m_rtsRaised = false;
        Forget();
        Log().Add(Now(), "reset");
    }
}

void MemoryBoard::OnByte(BYTE byte, bool garbled) {
    if (garbled && m_shaper.Get().fault == Fault::WrongBaud) {
        Send(std::vector<BYTE>{byte});  // what a confused line gives back
        return;
    }
    switch (m_state) {
        case State::Idle:
            if (byte == kResync) {
                Reply r;
                r.bytes = {kResync};
                r.commandAt = 0;
                Answer(r);
                return;
            }
            m_state = State::Header;
            m_bytes.assign(1, byte);
            break;
        case State::Header:
            m_bytes.push_back(byte);
            if (m_bytes.size() == kHeaderSize) {
                TakeHeader();
            }
            break;
        case State::Data:
            if (Now() < m_readyAt) {
                Log().Add(Now(), "lost");
                break;
            }
            m_bytes.push_back(byte);
            if (m_bytes.size() == m_length + 1) {
                TakeData();
            }
            break;
    }
    if (m_state != State::Idle) {
        uint64_t serial = ++m_serial;
        After(kForgetMicros, [this, serial] {
            if (serial == m_serial && m_state != State::Idle) {
                Log().Add(Now(), "packet dropped");
                Forget();
            }
        });
    }
}

void MemoryBoard::TakeHeader() {
    std::vector<BYTE> h;
    h.swap(m_bytes);
    m_state = State::Idle;
    BYTE command = h[0];
    if (Sum(h.data(), h.size()) != 0 || h[1] != 0) {
        Status(command, 1);
        return;
    }
    m_address = static_cast<uint32_t>(h[2] | h[3] << 8 | h[4] << 16) | static_cast<uint32_t>(h[5])
                                                                           << 24;
    m_length = static_cast<size_t>(h[6] | h[7] << 8);
    switch (command) {
        case 2:
            std::fill(m_memory.begin(), m_memory.end(), 0xFF);
            Status(2, 0, m_options.eraseMicros);
            break;
        case 3:
            m_state = State::Data;
            m_readyAt = Now() + m_options.headerBusyMicros;
            break;
        case 4: {
            bool ok = static_cast<uint64_t>(m_address) + m_length <= m_memory.size();
            Reply data;
            data.check = CheckRule::NegatedSum;
            if (ok) {
                data.bytes.assign(m_memory.begin() + m_address,
                                  m_memory.begin() + m_address + m_length);
            } else {
                data.bytes.assign(m_length, 0);
            }
            data.bytes.push_back(0);
            ReplyShaper::Recheck(data);
            Answer(data);
            Status(4, ok ? 0 : 1);
            break;
        }
        default:
            Status(command, 1);
            break;
    }
}

void MemoryBoard::TakeData() {
    std::vector<BYTE> d;
    d.swap(m_bytes);
    m_state = State::Idle;
    bool ok = Sum(d.data(), d.size()) == 0 &&
              static_cast<uint64_t>(m_address) + m_length <= m_memory.size();
    if (m_options.drive && (m_length != kSector || m_address % kSector != 0)) {
        ok = false;
    }
    if (ok) {
        std::copy(d.begin(), d.begin() + m_length, m_memory.begin() + m_address);
        m_writes.push_back({m_address, m_length});
    }
    Status(3, ok ? 0 : 1);
}

// ---- the catalogue's makers ----

namespace {

std::unique_ptr<Board> MakeMemory(BoardOptions& options, std::string* error, bool drive) {
    MemoryBoardOptions m;
    m.drive = drive;
    m.line = options.Framing();
    uint32_t erase = static_cast<uint32_t>(m.eraseMicros);
    uint32_t busy = static_cast<uint32_t>(m.headerBusyMicros);
    uint32_t size = static_cast<uint32_t>(m.size);
    Misconduct faults;
    if (!options.TakeNumber("erase-us", &erase, error) ||
        !options.TakeNumber("busy-us", &busy, error) || !options.TakeNumber("size", &size, error) ||
        !faults.Take(options, error)) {
        return nullptr;
    }
    m.eraseMicros = erase;
    m.headerBusyMicros = busy;
    m.size = size;
    auto board = std::make_unique<MemoryBoard>(m);
    faults.ApplyTo(*board);
    return board;
}

}  // namespace

std::unique_ptr<Board> MakeMemoryBoard(BoardOptions& options, std::string* error) {
    return MakeMemory(options, error, false);
}

std::unique_ptr<Board> MakeDrive(BoardOptions& options, std::string* error) {
    return MakeMemory(options, error, true);
}

}  // namespace boards
