// The virtual cable: host calls become stamped events for the device, device bytes become host
// input when their time comes.
#include "vport_cable.h"

#include <algorithm>
#include <chrono>

#include "read_timeouts.h"
#include "w32/clock.h"
#include "w32/errors.h"

namespace w32 {
namespace vport {
namespace {

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

VirtualCable::VirtualCable(std::shared_ptr<Device> device) : device_(std::move(device)) {
    dcb_ = DefaultDcb();
}

// ---- the device's side ----

void VirtualCable::SendToHost(const BYTE* data, size_t count, uint64_t atTime, uint64_t* arrivals) {
    std::lock_guard<std::mutex> lock(lock_);
    uint64_t at = std::max({atTime, deviceNow_, deviceSendEnd_});
    for (size_t i = 0; i < count; ++i) {
        LineSettings framing = deviceLine_.At(at);
        at += CharacterMicros(framing);
        if (open_ && device_ != nullptr) {
            toHost_.push_back({at, data[i], framing});
        }
        if (arrivals != nullptr) {
            arrivals[i] = at;
        }
    }
    deviceSendEnd_ = at;
    changed_.notify_all();
}

uint64_t VirtualCable::SetDeviceLine(const LineSettings& line, uint64_t atTime) {
    std::lock_guard<std::mutex> lock(lock_);
    uint64_t from = std::max({atTime, deviceNow_, deviceSendEnd_});
    deviceLine_.Set(from, line);
    return from;
}

void VirtualCable::SetModemStatus(DWORD bits, uint64_t atTime) {
    std::lock_guard<std::mutex> lock(lock_);
    modem_.Set(std::max(atTime, deviceNow_), bits);
}

void VirtualCable::At(uint64_t atTime, std::function<void(uint64_t)> fn) {
    std::lock_guard<std::mutex> lock(lock_);
    if (device_ == nullptr) {
        return;
    }
    timers_.emplace(TimerKey(std::max(atTime, deviceNow_), timerOrder_++), std::move(fn));
    changed_.notify_all();
}

void VirtualCable::Disconnect() {
    std::shared_ptr<Device> device;
    {
        std::lock_guard<std::mutex> deliver(deliverLock_);
        std::lock_guard<std::mutex> lock(lock_);
        device = std::move(device_);
        device_ = nullptr;
        timers_.clear();
        toHost_.clear();
        changed_.notify_all();
    }
    if (device != nullptr) {
        device->Detached();
    }
}

// ---- handing events and timers to the device ----

void VirtualCable::Deliver(std::vector<Pending>& events) {
    for (Pending& p : events) {
        FireTimersUpTo(p.event.time);
        std::shared_ptr<Device> device;
        {
            std::lock_guard<std::mutex> lock(lock_);
            device = device_;
            deviceNow_ = std::max(deviceNow_, p.event.time);
            if (p.event.kind == EventKind::Byte) {
                // Read at the framing the device has when the byte's last bit arrives.
                p.event.byte = Receive(p.event.byte, p.framing, deviceLine_.At(p.event.time),
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
        std::function<void(uint64_t)> fn;
        uint64_t when;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (timers_.empty() || timers_.begin()->first.first > time || device_ == nullptr) {
                return;
            }
            when = timers_.begin()->first.first;
            fn = std::move(timers_.begin()->second);
            timers_.erase(timers_.begin());
            deviceNow_ = std::max(deviceNow_, when);
        }
        fn(when);
    }
}

void VirtualCable::FireDueTimers() {
    std::lock_guard<std::mutex> deliver(deliverLock_);
    FireTimersUpTo(clock::NowMicros());
}

// ---- state helpers (lock_ held) ----

uint64_t VirtualCable::HostEventTime() const {
    // A line change or purge waits for the host's bytes already on the wire.
    return std::max(clock::NowMicros(), hostSendEnd_);
}

void VirtualCable::Settle(uint64_t now) {
    while (!toHost_.empty() && toHost_.front().arrival <= now) {
        OnWire b = toHost_.front();
        toHost_.pop_front();
        bool garbled = false;
        BYTE value = Receive(b.byte, b.framing, hostLine_.At(b.arrival), &garbled);
        if (garbled) {
            errors_ |= CE_FRAME;
        }
        if (received_.size() >= inQueue_) {
            errors_ |= CE_RXOVER;
            continue;
        }
        received_.push_back({b.arrival, value});
        rxEvent_ = true;
    }
    hostLine_.Forget(now);
    modem_.Forget(now);
}

uint64_t VirtualCable::NextScheduled() const {
    uint64_t next = kNoDeadline;
    if (!toHost_.empty()) {
        next = toHost_.front().arrival;
    }
    if (!timers_.empty() && device_ != nullptr) {
        next = std::min(next, timers_.begin()->first.first);
    }
    return next;
}

void VirtualCable::SetHostLine(bool* line, bool on, EventKind kind, uint64_t time,
                               std::vector<Pending>* events) {
    if (*line == on) {
        return;
    }
    *line = on;
    HostEvent e = MakeEvent(kind, time);
    e.on = on;
    events->push_back({e, LineSettings()});
}

void VirtualCable::WaitUntil(std::unique_lock<std::mutex>& lock, uint64_t time) {
    if (clock::IsVirtual()) {
        lock.unlock();
        clock::AdvanceToMicros(time);
        lock.lock();
        return;
    }
    using namespace std::chrono;
    changed_.wait_until(lock, steady_clock::time_point(microseconds(time)));
}

// ---- the host's side ----

template <typename Change>
BOOL VirtualCable::ChangeFromHost(Change change) {
    std::lock_guard<std::mutex> deliver(deliverLock_);
    std::vector<Pending> events;
    {
        std::lock_guard<std::mutex> lock(lock_);
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
    std::lock_guard<std::mutex> deliver(deliverLock_);
    std::vector<Pending> events;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (device_ == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (open_) {
            return ERROR_ACCESS_DENIED;
        }
        open_ = true;
        uint64_t t = HostEventTime();
        dcb_ = DefaultDcb();
        hostLine_.Set(t, FramingOf(dcb_));
        rts_ = false;
        dtr_ = false;
        toHost_.clear();
        received_.clear();
        inQueue_ = kDefaultInQueue;
        errors_ = 0;
        mask_ = 0;
        rxEvent_ = false;
        HostEvent e = MakeEvent(EventKind::Open, t);
        e.settings = FramingOf(dcb_);
        events.push_back({e, LineSettings()});
    }
    Deliver(events);
    return 0;
}

void VirtualCable::Close() {
    std::lock_guard<std::mutex> deliver(deliverLock_);
    std::vector<Pending> events;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (!Usable()) {
            open_ = false;
            return;
        }
        // Closing drops both lines, as the system's driver does.
        uint64_t t = HostEventTime();
        SetHostLine(&dtr_, false, EventKind::Dtr, t, &events);
        SetHostLine(&rts_, false, EventKind::Rts, t, &events);
        events.push_back({MakeEvent(EventKind::Close, t), LineSettings()});
        open_ = false;
        // The device's bytes still on the wire are lost with the port, and its transmitter is
        // free for the next open.
        toHost_.clear();
        deviceSendEnd_ = std::min(deviceSendEnd_, t);
        received_.clear();
        ++maskChanges_;
        changed_.notify_all();
    }
    Deliver(events);
}

BOOL VirtualCable::Setup(DWORD inQueue) {
    std::lock_guard<std::mutex> lock(lock_);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    if (inQueue != 0) {
        inQueue_ = inQueue;
    }
    return TRUE;
}

BOOL VirtualCable::GetState(DCB* dcb) {
    std::lock_guard<std::mutex> lock(lock_);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    *dcb = dcb_;
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
        uint64_t t = HostEventTime();
        LineSettings line = FramingOf(dcb);
        if (line != hostLine_.Latest()) {
            hostLine_.Set(t, line);
            HostEvent e = MakeEvent(EventKind::Settings, t);
            e.settings = line;
            events->push_back({e, LineSettings()});
        }
        SetHostLine(&dtr_, dcb.fDtrControl == DTR_CONTROL_ENABLE, EventKind::Dtr, t, events);
        SetHostLine(&rts_, dcb.fRtsControl == RTS_CONTROL_ENABLE, EventKind::Rts, t, events);
        dcb_ = dcb;
        dcb_.DCBlength = sizeof(DCB);
        return TRUE;
    });
}

BOOL VirtualCable::Purge(DWORD flags) {
    FireDueTimers();
    return ChangeFromHost([&](std::vector<Pending>* events) {
        Settle(clock::NowMicros());
        if (flags & PURGE_RXCLEAR) {
            received_.clear();  // bytes still on the wire arrive later
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
        switch (function) {
            case SETRTS:
            case CLRRTS:
                SetHostLine(&rts_, function == SETRTS, EventKind::Rts, t, events);
                return TRUE;
            case SETDTR:
            case CLRDTR:
                SetHostLine(&dtr_, function == SETDTR, EventKind::Dtr, t, events);
                return TRUE;
            default:
                return Fail(ERROR_NOT_SUPPORTED);
        }
    });
}

BOOL VirtualCable::ModemStatus(DWORD* status) {
    FireDueTimers();
    std::lock_guard<std::mutex> lock(lock_);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    *status = modem_.At(clock::NowMicros());
    return TRUE;
}

BOOL VirtualCable::ClearError(DWORD* errors, COMSTAT* status) {
    FireDueTimers();
    std::lock_guard<std::mutex> lock(lock_);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    Settle(clock::NowMicros());
    if (errors != nullptr) {
        *errors = errors_;
    }
    errors_ = 0;
    if (status != nullptr) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(received_.size());
        status->cbOutQue = 0;  // writes return when their bytes have left
    }
    return TRUE;
}

BOOL VirtualCable::Read(BYTE* buffer, DWORD count, DWORD* got, const COMMTIMEOUTS& timeouts) {
    *got = 0;
    uint64_t start = clock::NowMicros();
    serial::ReadTimeouts limits(timeouts, count, start);
    uint64_t lastByte = start;
    for (;;) {
        FireDueTimers();
        std::unique_lock<std::mutex> lock(lock_);
        if (!Usable()) {
            return Fail(ERROR_GEN_FAILURE);
        }
        uint64_t now = clock::NowMicros();
        Settle(now);
        while (*got < count && !received_.empty()) {
            buffer[(*got)++] = received_.front().byte;
            lastByte = received_.front().time;
            received_.pop_front();
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
        uint64_t now = clock::NowMicros();
        uint64_t limit = kNoDeadline;
        if (timeouts.WriteTotalTimeoutMultiplier != 0 || timeouts.WriteTotalTimeoutConstant != 0) {
            uint64_t ms = static_cast<uint64_t>(timeouts.WriteTotalTimeoutMultiplier) * count +
                          timeouts.WriteTotalTimeoutConstant;
            limit = now + ms * 1000;
        }
        uint64_t at = std::max(now, hostSendEnd_);
        LineSettings framing = hostLine_.At(at);
        uint64_t character = CharacterMicros(framing);
        for (DWORD i = 0; i < count && at + character <= limit; ++i) {
            at += character;
            HostEvent e = MakeEvent(EventKind::Byte, at);
            e.byte = data[i];
            events->push_back({e, framing});
            ++*written;
        }
        hostSendEnd_ = std::max(hostSendEnd_, at);
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
    std::lock_guard<std::mutex> lock(lock_);
    if (!Usable()) {
        return Fail(ERROR_GEN_FAILURE);
    }
    mask_ = mask;
    rxEvent_ = false;
    ++maskChanges_;
    changed_.notify_all();
    return TRUE;
}

BOOL VirtualCable::WaitEvent(DWORD* events) {
    uint64_t changes;
    {
        std::lock_guard<std::mutex> lock(lock_);
        changes = maskChanges_;
    }
    for (;;) {
        FireDueTimers();
        std::unique_lock<std::mutex> lock(lock_);
        if (!Usable()) {
            return Fail(ERROR_GEN_FAILURE);
        }
        if (maskChanges_ != changes) {
            *events = 0;
            return TRUE;
        }
        if (mask_ == 0) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        Settle(clock::NowMicros());
        if ((mask_ & EV_RXCHAR) && rxEvent_) {
            rxEvent_ = false;
            *events = EV_RXCHAR;
            return TRUE;
        }
        uint64_t next = NextScheduled();
        if (next != kNoDeadline) {
            WaitUntil(lock, next);
        } else {
            // Only another thread can change anything now; it notifies, the time-out is a
            // safety net.
            changed_.wait_for(lock, std::chrono::milliseconds(100));
        }
    }
}

}  // namespace vport
}  // namespace w32
