// The virtual cable of one COM port: both ends' lines, the bytes on the wire, the device's timers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "w32/serial.h"
#include "vport_line.h"

namespace w32 {
namespace vport {

// A value that changes at given times: the value in force at any time.
template <typename T>
class Timeline {
public:
    explicit Timeline(const T& initial) { m_entries.push_back({0, initial}); }

    void Set(uint64_t from, const T& value) {
        auto at = m_entries.end();
        while (at != m_entries.begin() && std::prev(at)->first > from) {
            --at;
        }
        m_entries.insert(at, {from, value});
    }
    T At(uint64_t time) const {
        for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
            if (it->first <= time) {
                return it->second;
            }
        }
        return m_entries.front().second;
    }
    T Latest() const { return m_entries.back().second; }
    // Drops what no time from `now` on can need.
    void Forget(uint64_t now) {
        while (m_entries.size() > 1 && m_entries[1].first <= now) {
            m_entries.pop_front();
        }
    }

private:
    std::deque<std::pair<uint64_t, T>> m_entries;
};

// Serves the host calls of a virtual port (see w32/vport.h for the model) and is the device's
// Cable. Device calls happen under m_deliverLock, one at a time; state is under m_lock.
class VirtualCable final : public Cable {
public:
    explicit VirtualCable(Device* device);

    // The device's side.
    void SendToHost(const BYTE* data, size_t count, uint64_t atTime, uint64_t* arrivals) override;
    uint64_t SetDeviceLine(const LineSettings& line, uint64_t atTime) override;
    void SetModemStatus(DWORD bits, uint64_t atTime) override;
    void At(uint64_t atTime, uint64_t tag) override;
    void FailNext(CallKind kind, DWORD count, DWORD error) override;

    // Takes the device off the cable: it gets Detached, and every host call fails from now on.
    void Disconnect();

    // The host's side: each answers as the Win32 function does; once the device is gone every
    // call fails with ERROR_GEN_FAILURE.
    DWORD Open();  // 0 or the error
    void Close();
    BOOL Setup(DWORD inQueue);
    BOOL GetState(DCB* dcb);
    BOOL SetState(const DCB& dcb);
    BOOL Purge(DWORD flags);
    BOOL Escape(DWORD function);
    BOOL ModemStatus(DWORD* status);
    BOOL ClearError(DWORD* errors, COMSTAT* status);
    BOOL Read(BYTE* buffer, DWORD count, DWORD* got, const COMMTIMEOUTS& timeouts);
    BOOL Write(const BYTE* data, DWORD count, DWORD* written, const COMMTIMEOUTS& timeouts);
    BOOL SetMask(DWORD mask);
    BOOL WaitEvent(DWORD* events);

private:
    struct OnWire {
        uint64_t arrival;
        BYTE byte;             // as sent
        LineSettings framing;  // the sender's
    };
    struct Arrived {
        uint64_t time;
        BYTE byte;
    };
    struct Pending {
        HostEvent event;       // a Byte holds the byte as sent until delivery
        LineSettings framing;  // Byte: the host's framing
    };
    using TimerKey = std::pair<uint64_t, uint64_t>;  // time, order of scheduling

    // Runs `change` on a usable port under m_lock; the events it adds then go to the device in
    // order. `change` returns FALSE, with the last error set, to refuse.
    template <typename Change>
    BOOL ChangeFromHost(Change change);

    // Caller holds m_deliverLock and not m_lock.
    void Deliver(std::vector<Pending>& events);
    void FireTimersUpTo(uint64_t time);
    void FireDueTimers();

    // Caller holds m_lock.
    bool Usable() const { return m_device != nullptr && m_open; }
    // Uses up one fault of `kind` when one is set: the call then fails with its error (set as the
    // last error).
    bool TakeFault(CallKind kind);
    uint64_t HostEventTime() const;
    void Settle(uint64_t now);
    uint64_t NextScheduled() const;
    // Moves a host line; a call that leaves it where it was is an event only when
    // `reportUnchanged` (an explicit line call, which a device may want to see).
    void SetHostLine(bool* line, bool on, EventKind kind, uint64_t time,
                     std::vector<Pending>* events, bool reportUnchanged = false);
    // Until `time` on the layer clock (kNoDeadline: none), or until something changes on the
    // cable. Under virtual time this is a wait on the clock (clock_wait.h).
    void WaitUntil(std::unique_lock<std::mutex>& lock, uint64_t time);
    // Wakes the cable's waiters: something they may wait for has changed.
    void Changed();

    std::mutex m_deliverLock;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::atomic<uint64_t> m_generation{0};  // counts Changed()

    Device* m_device;          // the attacher's; null once detached
    uint64_t m_deviceNow = 0;  // time of the latest event or timer handed to the device
    std::map<TimerKey, uint64_t> m_timers;  // the device's tags
    uint64_t m_timerOrder = 0;

    struct Fault {
        DWORD remaining = 0;
        DWORD error = 0;
    };
    Fault m_faults[w32test::vport::kCallKinds];

    bool m_open = false;
    DCB m_dcb{};
    bool m_rts = false;
    bool m_dtr = false;
    Timeline<LineSettings> m_hostLine{LineSettings()};
    Timeline<LineSettings> m_deviceLine{LineSettings()};
    Timeline<DWORD> m_modem{0};
    uint64_t m_hostSendEnd = 0;
    uint64_t m_deviceSendEnd = 0;
    std::deque<OnWire> m_toHost;
    std::deque<Arrived> m_received;
    DWORD m_inQueue = 4096;
    DWORD m_errors = 0;
    DWORD m_mask = 0;
    bool m_rxEvent = false;
    uint64_t m_maskChanges = 0;
};

}  // namespace vport
}  // namespace w32
