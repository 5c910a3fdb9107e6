// Test control of the serial ports: virtual ports, an in-process cable from a COM port to a
// simulated board.
//
// Attach(n, device) puts a device on the far end of COM n; from then on CreateFileA("\\.\COMn")
// opens a virtual port on Linux and Windows alike, and every serial function of w32/serial.h works
// on it.
//
// Time: everything on the cable is stamped with the layer's clock in microseconds
// (w32test/clock.h), so under a VirtualTimeScope a 10-second read time-out costs no real time, and
// in real time the same code waits on the real clock.
//  - A character takes start bit + data bits + parity bit + stop bits at the sender's baud rate.
//    Bytes written back to back queue behind each other; a byte reaches the far end when its last
//    bit has. A host write returns when its last byte has left.
//  - Host line changes (RTS, DTR), framing changes and purges are stamped no earlier than the end
//    of the host's bytes already on the wire, so the device sees those bytes first.
//  - A byte framed differently at the two ends (baud, data bits, parity or stop bits) arrives
//    garbled: a fixed corruption that never equals the byte sent.
//  - The device sees one ordered stream of HostEvents and answers by queueing bytes for the host
//    at times it chooses. Host reads take the bytes whose time has come; under virtual time a
//    waiting read lets the clock move to the next arrival or to its deadline.
//  - SetCommState drives RTS or DTR only when that line's control mode changes (ENABLE raises
//    it, DISABLE drops it), as the system's driver does: setting the framing again keeps the
//    levels EscapeCommFunction gave the lines.
//  - PurgeComm drops the received bytes that have arrived, not those still on the wire.
//  - Each open starts at 9600 8N1 with RTS and DTR off and no time-outs. Closing drops RTS and
//    DTR (the device sees both), and the device's bytes still on the wire are lost.
//  - A read that has no time limit while nothing is on the wire or scheduled returns with what it
//    has: nothing in the process could make a byte arrive by itself.
//
// Threads: the device is called on the thread of the host call that caused the event (or whose
// wait reached a device timer), one call at a time; it must not call the host's functions. A thread
// blocked in ReadFile or WaitCommEvent wakes when another thread's call queues bytes. Under
// virtual time these waits are waits on the clock (w32test/clock.h): the clock reaches the next
// scheduled arrival once every thread taking part in virtual time waits.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "w32/api.h"
#include "w32/serial.h"
#include "w32/types.h"

#if !W32_TEST_CONTROLS
#error "this build of the platform layer has no test controls"
#endif

// Everything below crosses the layer's library boundary: plain records, integers and interfaces
// of pure virtual functions, nothing whose layout belongs to a C++ library.
namespace w32test {
namespace vport {

// Character framing of one end of the cable.
struct LineSettings {
    DWORD baud = 9600;
    BYTE dataBits = 8;
    BYTE parity = NOPARITY;      // NOPARITY .. SPACEPARITY
    BYTE stopBits = ONESTOPBIT;  // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS

    bool operator==(const LineSettings& o) const {
        return baud == o.baud && dataBits == o.dataBits && parity == o.parity &&
               stopBits == o.stopBits;
    }
    bool operator!=(const LineSettings& o) const { return !(*this == o); }
};

enum class EventKind : uint32_t { Open, Close, Byte, Rts, Dtr, Settings, Purge };

// The host calls a fault can be put on (see FailNext).
enum class CallKind : uint32_t {
    Open,      // CreateFileA of the port
    Write,     // WriteFile
    Read,      // ReadFile
    Purge,     // PurgeComm
    Lines,     // EscapeCommFunction with SETRTS, CLRRTS, SETDTR or CLRDTR
    Settings,  // SetCommState
};
constexpr uint32_t kCallKinds = 6;

// One thing the host did to the port, as the device sees it.
struct HostEvent {
    EventKind kind = EventKind::Open;
    uint64_t time = 0;      // microseconds on the layer clock; a Byte: when its last bit arrived
    BYTE byte = 0;          // Byte: as read at the device's framing
    bool garbled = false;   // Byte: the two ends' framings disagreed
    bool on = false;        // Rts, Dtr: the new level
    LineSettings settings;  // Open, Settings: the host's framing from now on
    DWORD purgeFlags = 0;   // Purge: the PURGE_* flags
    // Rts, Dtr: an EscapeCommFunction call that left the line where it was (devices that follow
    // the level skip these; every other line event is a change).
    bool unchanged = false;
};

// The device's end of the cable, valid from Device::Attached until Device::Detached.
// Times before the event being handled are read as that event's time.
class Cable {
public:
    // Queues bytes for the host: transmission starts at `atTime`, or when the device's earlier
    // bytes have gone; each byte takes one character time at the device's framing. Bytes still on
    // the wire when the host closes the port are lost. `arrivals`, when not null, receives the
    // time each byte reaches the host.
    virtual void SendToHost(const BYTE* data, size_t count, uint64_t atTime,
                            uint64_t* arrivals) = 0;
    // The device's framing from `atTime` on, or from the end of its queued bytes if later;
    // returns the time it takes effect.
    virtual uint64_t SetDeviceLine(const LineSettings& line, uint64_t atTime) = 0;
    // The modem lines the host reads with GetCommModemStatus (MS_CTS_ON | MS_DSR_ON | MS_RING_ON |
    // MS_RLSD_ON) from `atTime` on.
    virtual void SetModemStatus(DWORD bits, uint64_t atTime) = 0;
    // Calls the device's OnTimer with `atTime` and `tag` once the cable's time reaches `atTime`:
    // before any host event stamped later, and when a host read or wait passes that time.
    virtual void At(uint64_t atTime, uint64_t tag) = 0;
    // Makes the host's next `count` calls of `kind` fail with `error`: see vport::FailNext.
    virtual void FailNext(CallKind kind, DWORD count, DWORD error) = 0;

protected:
    ~Cable() = default;
};

// The far end of a virtual port: a simulated board (see boards/ for a base class).
class Device {
public:
    virtual ~Device() = default;
    virtual void Attached(Cable& cable) = 0;
    virtual void Detached() = 0;
    // Events come in the order of their times.
    virtual void OnHostEvent(const HostEvent& event) = 0;
    // A time the device asked for with Cable::At has come.
    virtual void OnTimer(uint64_t time, uint64_t tag) = 0;
};

// Told of each open of a COM port that RefuseRealPorts refused.
class RealPortGuard {
public:
    // On the thread of the CreateFileA that was refused.
    virtual void Refused(int comNumber) = 0;

protected:
    ~RealPortGuard() = default;
};

// While `guard` is set, CreateFileA of a COM port with no device attached fails with
// ERROR_FILE_NOT_FOUND and tells the guard, instead of opening the machine's serial device: a
// test or host session that forgot its board never writes to real hardware. The guard stays the
// caller's until RefuseRealPorts(nullptr) has returned; null lets such opens reach the system
// again (the default).
W32_API void RefuseRealPorts(RealPortGuard* guard);

// Puts `device` on COM port `comNumber` (1 = COM1). The device stays the caller's: it must live
// until Detach has returned, after which the layer never calls it again. FALSE when the number is
// below 1, the device is null, or a device is already attached there.
W32_API BOOL Attach(int comNumber, Device* device);
// Takes the device off; a handle still open on the port fails every call from then on with
// ERROR_GEN_FAILURE. FALSE when nothing was attached.
W32_API BOOL Detach(int comNumber);
W32_API bool IsAttached(int comNumber);

// Fault injection: the next `count` host calls of `kind` on COM `comNumber` fail with `error`,
// which GetLastError then reads (an open: CreateFileA returns INVALID_HANDLE_VALUE). A failed
// call does nothing else and the device hears nothing of it: a write sends no byte, a read takes
// none, a line change or SetCommState leaves lines and framing as they were. Calls that fail for
// a reason of their own (the device detached, a bad argument to the layer) do not use up a
// fault. A later FailNext of the same kind replaces the earlier one; a count of 0 takes it back.
// The faults belong to the attachment and end with Detach. FALSE when nothing is attached there
// or `kind` is not a CallKind.
W32_API BOOL FailNext(int comNumber, CallKind kind, DWORD count, DWORD error);

}  // namespace vport
}  // namespace w32test
