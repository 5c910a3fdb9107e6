// The record of everything that happened on a virtual cable, as a simulated board saw it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace boards {

// One entry: when (microseconds on the layer clock) and what, in the words of Transcript::Text.
struct Record {
    uint64_t time = 0;
    std::string what;
};

// Entries as a board records them: host events when it handles them, its own bytes when they will
// reach the host. Text() puts them in time order, so a test can compare a whole conversation.
// Any thread may read it while another adds to it.
//
// A conversation that never ends must not take the host's memory with it: the record keeps the
// first `head` and the last `tail` entries added since it was made or cleared, and in place of
// those between them one entry, at the time of the first it dropped, that reads
// "(N entries dropped: the log keeps its first H and last T)". Both are 262144 unless Bound says
// otherwise, far more than any one test's conversation.
class Transcript {
public:
    // Sentinel of TimeOf: no such entry.
    static constexpr uint64_t kNever = UINT64_MAX;
    static constexpr size_t kKeptAtEachEnd = 262144;

    // How many entries are kept at each end (at least 1 each); set before the first Add.
    void Bound(size_t head, size_t tail);
    void Add(uint64_t time, std::string what);
    void Clear();
    // Entries dropped since the last Clear.
    uint64_t Dropped() const;

    // Entries in time order (entries of one time keep the order they were added in).
    std::vector<Record> Records() const;

    // One line per entry, "<ms since the first entry, 3 decimals> <what>\n", e.g.
    //     "   0.000 open 9600 8N1\n   1.042 host> 41 'A'\n   2.083 board> 41 'A'\n"
    // Entries read: "open <framing>", "close", "settings <framing>", "rts 1", "dtr 0",
    // "purge rx|tx", "host> <hex> ['c']" (with " garbled" when the framings disagreed),
    // "board> <hex> ['c']" at the byte's arrival at the host, "listen <framing>" and
    // "modem CTS DSR RING RLSD" (the lines that are on) for the board's own changes.
    std::string Text() const;
    // The same without times: just what happened, in order.
    std::string Events() const;

    // Time of the first entry at or after `from` whose text starts with `prefix`; kNever if none.
    uint64_t TimeOf(const std::string& prefix, uint64_t from = 0) const;

private:
    mutable std::mutex m_lock;
    size_t m_headSize = kKeptAtEachEnd;  // guarded by m_lock
    size_t m_tailSize = kKeptAtEachEnd;  // guarded
    std::vector<Record> m_records;       // guarded: the head
    std::deque<Record> m_tail;           // guarded: the latest entries once the head is full
    uint64_t m_dropped = 0;              // guarded
    uint64_t m_firstDropped = 0;         // guarded: the time of the first entry dropped
};

}  // namespace boards
