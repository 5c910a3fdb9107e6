// The virtual cable: host calls become stamped events for the device, device bytes become host
// input when their time comes.
#include "vport_cable.h"

#include <algorithm>
#include <chrono>

#include "clock_wait.h"
#include "control_lines.h"
#include "read_timeouts.h"
#include "w32test/clock.h"
#include "w32/errors.h"

namespace w32 {
namespace vport {
namespace {

namespace clock = w32test::clock;

using serial::kNoDeadline;

const DWORD kDefaultInQueue = 4096;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// A port as it comes out of the box: 9600 8N1, no flow control, both lines off.
DCB DefaultDcb() {
    DCB d{};
    d.DCBlength = sizeof(DCB);
    d.BaudRate = 9600;
    d.fBinary = 1;
    d.fTXContinueOnXoff = 1;
    d.fDtrControl = DTR_CONTROL_DISABLE;
    d.fRtsControl = RTS_CONTROL_DISABLE;
    d.XonLim = 2048;
    d.XoffLim = 512;
    d.ByteSize = 8;
    d.Parity = NOPARITY;
    d.StopBits = ONESTOPBIT;
    d.XonChar = 0x11;
    d.XoffChar = 0x13;
    return d;
}

LineSettings FramingOf(const DCB& d) {
    LineSettings line;
    line.baud = d.BaudRate;
    line.dataBits = d.ByteSize;
    line.parity = d.Parity;
    line.stopBits = d.StopBits;
    return line;
}

HostEvent MakeEvent(EventKind kind, uint64_t time) {
    HostEvent e;
    e.kind = kind;
    e.time = time;
    return e;
}

}  // namespace

VirtualCable::VirtualCable(Device* device) : m_device(device) { m_dcb = DefaultDcb(); }

// ---- the device's side ----

void VirtualCable::SendToHost(const BYTE* data, size_t count, uint64_t atTime, uint64_t* arrivals) {
    std::lock_guard<std::mutex> lock(m_lock);
    uint64_t at = std::max({atTime, m_deviceNow, m_deviceSendEnd});
    for (size_t i = 0; i < count; ++i) {
        LineSettings framing = m_deviceLine.At(at);
        at += CharacterMicros(framing);
        if (m_open && m_device != nullptr) {
            m_toHost.push_back({at, data[i], framing});
        }
        if (arrivals != nullptr) {
            arrivals[i] = at;
        }
    }
    m_deviceSendEnd = at;
    Changed();
}

uint64_t VirtualCable::SetDeviceLine(const LineSettings& line, uint64_t atTime) {
    std::lock_guard<std::mutex> lock(m_lock);
    uint64_t from = std::max({atTime, m_deviceNow, m_deviceSendEnd});
    m_deviceLine.Set(from, line);
    return from;
}

void VirtualCable::SetModemStatus(DWORD bits, uint64_t atTime) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_modem.Set(std::max(atTime, m_deviceNow), bits);
}

void VirtualCable::At(uint64_t atTime, uint64_t tag) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_device == nullptr) {
        return;
    }
    m_timers.emplace(TimerKey(std::max(atTime, m_deviceNow), m_timerOrder++), tag);
    Changed();
}

void VirtualCable::FailNext(CallKind kind, DWORD count, DWORD error) {
    std::lock_guard<std::mutex> lock(m_lock);
    uint32_t index = static_cast<uint32_t>(kind);
    if (index < w32test::vport::kCallKinds) {
        m_faults[index] = Fault{count, error};
    }
}

bool VirtualCable::TakeFault(CallKind kind) {
    Fault& fault = m_faults[static_cast<uint32_t>(kind)];
    if (fault.remaining == 0) {
        return false;
    }
    --fault.remaining;
    SetLastError(fault.error);
    return true;
}

void VirtualCable::Disconnect() {
    Device* device;
    {
        std::lock_guard<std::mutex> deliver(m_deliverLock);
        std::lock_guard<std::mutex> lock(m_lock);
        device = m_device;
        m_device = nullptr;
        m_timers.clear();
        m_toHost.clear();
        Changed();
    }
    if (device != nullptr) {
        device->Detached();
    }
}

// ---- handing events and timers to the device ----

void VirtualCable::Deliver(std::vector<Pending>& events) {
    for (Pending& p : events) {
        FireTimersUpTo(p.event.time);
        Device* device;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            device = m_device;
            m_deviceNow = std::max(m_deviceNow, p.event.time);
            if (p.event.kind == EventKind::Byte) {
                // Read at the framing the device has when the byte's last bit arrives.
                p.event.byte = Receive(p.event.byte, p.framing, m_deviceLine.At(p.event.time),
                                       &p.event.garbled);
            }
        }
        if (device != nullptr) {
            device->OnHostEvent(p.event);
        }
    }
}

void VirtualCable::FireTimersUpTo(uint64_t time) {
    for (;;) {
        Device* device;
        uint64_t tag;
        uint64_t when;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_timers.empty() || m_timers.begin()->first.first > time || m_device == nullptr) {
                return;
            }
            when = m_timers.begin()->first.first;
            device = m_device;
            tag = m_timers.begin()->second;
            m_timers.erase(m_timers.begin());
            m_deviceNow = std::max(m_deviceNow, when);
        }
        device->OnTimer(when, tag);
    }
}

void VirtualCable::FireDueTimers() {
    std::lock_guard<std::mutex> deliver(m_deliverLock);
    FireTimersUpTo(clock::NowMicros());
}

// ---- state helpers (m_lock held) ----

uint64_t VirtualCable::HostEventTime() const {
    // A line change or purge waits for the host's bytes already on the wire.
    return std::max(clock::NowMicros(), m_hostSendEnd);
}

void VirtualCable::Settle(uint64_t now) {
    while (!m_toHost.empty() && m_toHost.front().arrival <= now) {
        OnWire b = m_toHost.front();
        m_toHost.pop_front();
        bool garbled = false;
        BYTE value = Receive(b.byte, b.framing, m_hostLine.At(b.arrival), &garbled);
        if (garbled) {
            m_errors |= CE_FRAME;
        }
        if (m_received.size() >= m_inQueue) {
            m_errors |= CE_RXOVER;
            continue;
        }
        m_received.push_back({b.arrival, value});
        m_rxEvent = true;
    }
    m_hostLine.Forget(now);
    m_modem.Forget(now);
}

uint64_t VirtualCable::NextScheduled() const {
    uint64_t next = kNoDeadline;
    if (!m_toHost.empty()) {
        next = m_toHost.front().arrival;
    }
    if (!m_timers.empty() && m_device != nullptr) {
        next = std::min(next, m_timers.begin()->first.first);
    }
    return next;
}

void VirtualCable::SetHostLine(bool* line, bool on, EventKind kind, uint64_t time,
                               std::vector<Pending>* events, bool reportUnchanged) {
    if (*line == on && !reportUnchanged) {
        return;
    }
    HostEvent e = MakeEvent(kind, time);
    e.on = on;
    e.unchanged = *line == on;
    *line = on;
    events->push_back({e, LineSettings()});
}

void VirtualCable::Changed() {
    ++m_generation;
    m_changed.notify_all();
    clockwait::WakeWaiters();
}

void VirtualCable::WaitUntil(std::unique_lock<std::mutex>& lock, uint64_t time) {
    if (clock::IsVirtual()) {
        // A wait on the virtual clock, which ends early when anything changes on the cable.
        struct Watch {
            const std::atomic<uint64_t>* generation;
            uint64_t seen;
        } watch{&m_generation, m_generation.load()};
        lock.unlock();
        clockwait::WaitVirtualUntil(
            time,
            [](const void* w) {
                auto* watch = static_cast<const Watch*>(w);
                return watch->generation->load() != watch->seen;
            },
            &watch);
        lock.lock();
        return;
    }
    using namespace std::chrono;
    if (time == kNoDeadline) {
        // Only another thread can change anything now; it notifies, the time-out is a safety
        // net.
        m_changed.wait_for(lock, milliseconds(100));
        return;
    }
    m_changed.wait_until(lock, steady_clock::time_point(microseconds(time)));
}

// ---- the host's side ----

template <typename Change>
BOOL VirtualCable::ChangeFromHost(Change change) {
    std::lock_guard<std::mutex> deliver(m_deliverLock);
    std::vector<Pending> events;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!Usable()) {
            return Fail(ERROR_GEN_FAILURE);
        }
        if (!change(&events)) {
            return FALSE;
        }
    }
    Deliver(events);
    return TRUE;
}

DWORD VirtualCable::Open() {
    std::lock_guard<std::mutex> deliver(m_deliverLock);
    std::vector<Pending> events;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_device == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (TakeFault(CallKind::Open)) {
            return GetLastError();
        }
        if (m_open) {
            return ERROR_ACCESS_DENIED;
        }
        m_open = true;
        uint64_t t = HostEventTime();
        m_dcb = DefaultDcb();
        m_hostLine.Set(t, FramingOf(m_dcb));
        m_rts = false;
        m_dtr = false;
        m_toHost.clear();
        m_received.clear();
        m_inQueue = kDefaultInQueue;
        m_errors = 0;
        m_mask = 0;
        m_rxEvent = false;
        HostEvent e = MakeEvent(EventKind::Open, t);
        e.settings = FramingOf(m_dcb);
        events.push_back({e, LineSettings()});
    }
    Deliver(events);
    return 0;
}

void VirtualCable::Close() {
    std::lock_guard<std::mutex> deliver(m_deliverLock);
    std::vector<Pending> events;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!Usable()) {
            m_open = false;
            return;
        }
        // Closing drops both lines, as the system's driver does.
        uint64_t t = HostEventTime();
        SetHostLine(&m_dtr, false, EventKind::Dtr, t, &events);
        SetHostLine(&m_rts, false, EventKind::Rts, t, &events);
        events.push_back({MakeEvent(EventKind::Close, t), LineSettings()});
        m_open = false;
        // The device's bytes still on the wire are lost with the port, and its transmitter is
        // free for the next open.
        m_toHost.clear();
        m_deviceSendEnd = std::min(m_deviceSendEnd, t);
        m_received.clear();
        ++m_maskChanges;
        Changed();
    }
    Deliver(events);
}

BOOL VirtualCable::Setup(DWORD inQueue) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    if (inQueue != 0) {
        m_inQueue = inQueue;
    }
    return TRUE;
}

BOOL VirtualCable::GetState(DCB* dcb) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    *dcb = m_dcb;
    return TRUE;
}

BOOL VirtualCable::SetState(const DCB& dcb) {
    // The combinations the system's driver refuses, and the flow controls the cable lacks.
    bool valid = dcb.BaudRate != 0 && dcb.ByteSize >= 5 && dcb.ByteSize <= 8 &&
                 dcb.Parity <= SPACEPARITY && dcb.StopBits <= TWOSTOPBITS &&
                 !(dcb.ByteSize == 5 && dcb.StopBits == TWOSTOPBITS) &&
                 !(dcb.ByteSize != 5 && dcb.StopBits == ONE5STOPBITS);
    if (!valid) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE ||
        dcb.fRtsControl == RTS_CONTROL_TOGGLE) {
        return Fail(ERROR_NOT_SUPPORTED);
    }
    return ChangeFromHost([&](std::vector<Pending>* events) {
        if (TakeFault(CallKind::Settings)) {
            return FALSE;
        }
        uint64_t t = HostEventTime();
        LineSettings line = FramingOf(dcb);
        if (line != m_hostLine.Latest()) {
            m_hostLine.Set(t, line);
            HostEvent e = MakeEvent(EventKind::Settings, t);
            e.settings = line;
            events->push_back({e, LineSettings()});
        }
        // The lines move only with their control mode, as the system's driver moves them.
        serial::ControlLineDrives drives = serial::ControlLineChanges(m_dcb, dcb);
        if (drives.dtr.drive) {
            SetHostLine(&m_dtr, drives.dtr.on, EventKind::Dtr, t, events);
        }
        if (drives.rts.drive) {
            SetHostLine(&m_rts, drives.rts.on, EventKind::Rts, t, events);
        }
        m_dcb = dcb;
        m_dcb.DCBlength = sizeof(DCB);
        return TRUE;
    });
}

BOOL VirtualCable::Purge(DWORD flags) {
    FireDueTimers();
    return ChangeFromHost([&](std::vector<Pending>* events) {
        if (TakeFault(CallKind::Purge)) {
            return FALSE;
        }
        Settle(clock::NowMicros());
        if (flags & PURGE_RXCLEAR) {
            m_received.clear();  // bytes still on the wire arrive later
        }
        HostEvent e = MakeEvent(EventKind::Purge, HostEventTime());
        e.purgeFlags = flags;
        events->push_back({e, LineSettings()});
        return TRUE;
    });
}

BOOL VirtualCable::Escape(DWORD function) {
    return ChangeFromHost([&](std::vector<Pending>* events) {
        uint64_t t = HostEventTime();
        bool lineChange =
            function == SETRTS || function == CLRRTS || function == SETDTR || function == CLRDTR;
        if (lineChange && TakeFault(CallKind::Lines)) {
            return FALSE;
        }
        switch (function) {
            case SETRTS:
            case CLRRTS:
                SetHostLine(&m_rts, function == SETRTS, EventKind::Rts, t, events, true);
                return TRUE;
            case SETDTR:
            case CLRDTR:
                SetHostLine(&m_dtr, function == SETDTR, EventKind::Dtr, t, events, true);
                return TRUE;
            default:
                return Fail(ERROR_NOT_SUPPORTED);
        }
    });
}

BOOL VirtualCable::ModemStatus(DWORD* status) {
    FireDueTimers();
    std::lock_guard<std::mutex> lock(m_lock);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    *status = m_modem.At(clock::NowMicros());
    return TRUE;
}

BOOL VirtualCable::ClearError(DWORD* errors, COMSTAT* status) {
    FireDueTimers();
    std::lock_guard<std::mutex> lock(m_lock);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    Settle(clock::NowMicros());
    if (errors != nullptr) {
        *errors = m_errors;
    }
    m_errors = 0;
    if (status != nullptr) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(m_received.size());
        status->cbOutQue = 0;  // writes return when their bytes have left
    }
    return TRUE;
}

BOOL VirtualCable::Read(BYTE* buffer, DWORD count, DWORD* got, const COMMTIMEOUTS& timeouts) {
    *got = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (Usable() && TakeFault(CallKind::Read)) {
            return FALSE;
        }
    }
    uint64_t start = clock::NowMicros();
    serial::ReadTimeouts limits(timeouts, count, start);
    uint64_t lastByte = start;
    for (;;) {
        FireDueTimers();
        std::unique_lock<std::mutex> lock(m_lock);
        if (!Usable()) {
            return Fail(ERROR_GEN_FAILURE);
        }
        uint64_t now = clock::NowMicros();
        Settle(now);
        while (*got < count && !m_received.empty()) {
            buffer[(*got)++] = m_received.front().byte;
            lastByte = m_received.front().time;
            m_received.pop_front();
        }
        if (*got == count || (*got > 0 && limits.EndsWithAnyByte())) {
            return TRUE;
        }
        uint64_t deadline = limits.Deadline(*got, lastByte);
        if (now >= deadline) {
            return TRUE;  // timed out: success with the bytes so far
        }
        uint64_t next = NextScheduled();
        if (next == kNoDeadline && deadline == kNoDeadline) {
            // Nothing is on the wire, the device has nothing scheduled and the read has no time
            // limit: a real port would wait for ever. Nothing in this process can make a byte
            // arrive by itself, so the read returns with what it has instead of hanging.
            return TRUE;
        }
        WaitUntil(lock, std::min(next, deadline));
    }
}

BOOL VirtualCable::Write(const BYTE* data, DWORD count, DWORD* written,
                         const COMMTIMEOUTS& timeouts) {
    *written = 0;
    uint64_t end = 0;
    BOOL ok = ChangeFromHost([&](std::vector<Pending>* events) {
        if (TakeFault(CallKind::Write)) {
            return FALSE;
        }
        uint64_t now = clock::NowMicros();
        uint64_t limit = kNoDeadline;
        if (timeouts.WriteTotalTimeoutMultiplier != 0 || timeouts.WriteTotalTimeoutConstant != 0) {
            uint64_t ms = static_cast<uint64_t>(timeouts.WriteTotalTimeoutMultiplier) * count +
                          timeouts.WriteTotalTimeoutConstant;
            limit = now + ms * 1000;
        }
        uint64_t at = std::max(now, m_hostSendEnd);
        LineSettings framing = m_hostLine.At(at);
        uint64_t character = CharacterMicros(framing);
        for (DWORD i = 0; i < count && at + character <= limit; ++i) {
            at += character;
            HostEvent e = MakeEvent(EventKind::Byte, at);
            e.byte = data[i];
            events->push_back({e, framing});
            ++*written;
        }
        m_hostSendEnd = std::max(m_hostSendEnd, at);
        end = at;
        return TRUE;
    });
    if (!ok) {
        return FALSE;
    }
    // The write is done when its last byte has left (a write time-out ends it sooner).
    clock::SleepUntilMicros(end);
    return TRUE;
}

BOOL VirtualCable::SetMask(DWORD mask) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    m_mask = mask;
    m_rxEvent = false;
    ++m_maskChanges;
    Changed();
    return TRUE;
}

BOOL VirtualCable::WaitEvent(DWORD* events) {
    uint64_t changes;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        changes = m_maskChanges;
    }
    for (;;) {
        FireDueTimers();
        std::unique_lock<std::mutex> lock(m_lock);
        if (!Usable()) {
            return Fail(ERROR_GEN_FAILURE);
        }
        if (m_maskChanges != changes) {
            *events = 0;
            return TRUE;
        }
        if (m_mask == 0) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        Settle(clock::NowMicros());
        if ((m_mask & EV_RXCHAR) && m_rxEvent) {
            m_rxEvent = false;
            *events = EV_RXCHAR;
            return TRUE;
        }
        WaitUntil(lock, NextScheduled());
    }
}

}  // namespace vport
}  // namespace w32
