// Base of the simulated boards that tests put on the far end of a virtual serial port.
//
// A board model derives from Board, overrides the handlers it needs and answers with Send:
//
//     class PromptBoard : public boards::Board {          // answers "go" with "ok\r\n*"
//         std::string m_line;
//         void OnByte(BYTE b, bool garbled) override {
//             if (garbled) return;                         // noise at the wrong baud rate
//             Send({b});                                   // the monitor echoes
//             m_line += static_cast<char>(b);
//             if (b == '\r') {
//                 if (m_line == "go\r") SendAfter(2000, "ok\r\n*");  // 2 ms to think
//                 m_line.clear();
//             }
//         }
//     };
//     PromptBoard board;
//     w32test::vport::Attach(3, &board);                    // "\\.\COM3" now reaches the board
//     ...
//     w32test::vport::Detach(3);                            // before the board goes
//
// Every handler runs at the time of its event: Now() is when the event happened on the wire, and
// Send, SendAfter, After, Listen and SetModemLines count from there. The board listens at its own
// framing (Listen); bytes the host sends while the two framings disagree reach OnByte garbled.
// Every event and every byte sent is kept in Log(), so tests can compare the whole conversation or
// measure pauses between entries. Handlers run one at a time on whichever thread made the host
// call. Any other thread may at any time read Log(), Now() and the host's side as the board saw
// it, and call Send, After, Listen, SetModemLines and FailNext (acting at the clock's time), also
// while a receive thread's host calls run the board's handlers.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "boards/line_damage.h"
#include "boards/transcript.h"
#include "w32test/vport.h"

namespace boards {

using w32test::vport::CallKind;
using w32test::vport::LineSettings;

// "9600 8N1", "19200 7E2", "115200 8O1.5".
std::string FramingText(const LineSettings& line);

class Board : public w32test::vport::Device {
public:
    explicit Board(const LineSettings& listenAt = LineSettings());

    const Transcript& Log() const { return m_log; }
    Transcript& Log() { return m_log; }

    // The host's side as the board last saw it.
    bool HostOpen() const { return m_hostOpen.load(); }
    bool Rts() const { return m_rts.load(); }
    bool Dtr() const { return m_dtr.load(); }
    LineSettings HostLine() const;
    // The framing the board listens and sends at.
    LineSettings BoardLine() const;

    // In a handler, the time of its event; on any other thread (a test setting a board up) the
    // clock's present time, at which these then act.
    uint64_t Now() const;
    void Send(const std::vector<BYTE>& bytes) { SendAt(Now(), bytes); }
    void Send(std::string_view text) { SendAt(Now(), text); }
    void SendAfter(uint64_t delayMicros, const std::vector<BYTE>& bytes) {
        SendAt(Now() + delayMicros, bytes);
    }
    void SendAfter(uint64_t delayMicros, std::string_view text) {
        SendAt(Now() + delayMicros, text);
    }
    // Bytes leave at `atTime` or after the board's earlier bytes, whichever is later.
    void SendAt(uint64_t atTime, const std::vector<BYTE>& bytes);
    void SendAt(uint64_t atTime, std::string_view text);
    // Runs `fn` `delayMicros` after Now(), with Now() reading that time.
    void After(uint64_t delayMicros, std::function<void()> fn);
    // The board's framing from Now() on (after the bytes it has queued so far).
    void Listen(const LineSettings& line);
    // The modem lines the host reads, from Now() on: MS_CTS_ON | MS_DSR_ON | MS_RING_ON |
    // MS_RLSD_ON.
    void SetModemLines(DWORD lines);
    // Makes the host's next `count` calls of `kind` on this board's port fail with the Win32
    // error `error` (see w32test::vport::FailNext); nothing while the board is not attached.
    void FailNext(CallKind kind, DWORD count, DWORD error);
    // The host's write that would carry the `byte`-th byte the board receives (counting from 1
    // since it was made) fails with ERROR_GEN_FAILURE and sends nothing: the first write the host
    // starts once byte-1 bytes have come (a write that carries bytes byte-1 and byte together
    // goes through, and the next one fails). Once. 0: never. Set before the host opens the port.
    void FailWriteAt(uint32_t byte) { m_failWriteAt = byte; }
    // Notes in the log every RTS and DTR call of the host, also one that leaves its line where it
    // was ("dtr 1 (unchanged)"), not only the changes: a test can then see a loader set a line
    // that the port's open already set. Set before the host opens the port.
    void LogEveryLineCall(bool on) { m_logEveryLineCall = on; }
    // Damages the bytes on the line at random from now on, the same way for the same settings:
    // whatever the board's firmware, its answers and what it hears are flipped, lost, held back
    // or cut short as they pass the cable. A byte held back holds the bytes behind it, so the
    // order on the line stays; a truncation loses the rest of the message: the rest of the
    // board's Send, or the host's bytes that follow within two character times of each other.
    // The log notes every harm ("damage: ..."; a flipped byte's entry ends in " damaged"). Set
    // before the host opens the port.
    void DamageLine(const LineDamageSettings& settings);

protected:
    // Handlers, each called at its event's time. The host's lines and framing are already updated
    // when they run.
    virtual void OnOpen() {}
    virtual void OnClose() {}
    virtual void OnByte(BYTE /*byte*/, bool /*garbled*/) {}
    virtual void OnRts(bool /*on*/) {}
    virtual void OnDtr(bool /*on*/) {}
    virtual void OnHostSettings(const LineSettings& /*line*/) {}
    virtual void OnPurge(DWORD /*flags*/) {}

private:
    void Attached(w32test::vport::Cable& cable) final;
    void Detached() final;
    void OnHostEvent(const w32test::vport::HostEvent& event) final;
    void OnTimer(uint64_t time, uint64_t tag) final;
    void SetHostLine(const LineSettings& line);
    // Arms the write fault when the host's next write is the one to fail.
    void ArmWriteFault();
    // A byte of the host as it comes off the cable: damaged, held back or handed on.
    void HostByte(BYTE byte, bool garbled);
    // A byte of the host reaching the board's firmware.
    void ReceiveByte(BYTE byte, bool garbled, bool damaged);
    // SendAt with the line's damage to the board's bytes.
    void SendDamaged(w32test::vport::Cable& cable, uint64_t atTime, std::vector<BYTE> bytes);
    // Runs a handler at `time` on the calling thread: Now() reads `time` there meanwhile.
    template <typename Handler>
    void AtTime(uint64_t time, Handler handler);

    std::atomic<w32test::vport::Cable*> m_cable{nullptr};
    Transcript m_log;
    // The thread running a handler, and the time of its event (read by that thread only).
    std::atomic<std::thread::id> m_handlerThread{};
    uint64_t m_now = 0;
    std::atomic<bool> m_hostOpen{false};
    std::atomic<bool> m_rts{false};
    std::atomic<bool> m_dtr{false};
    // Read and written by the handlers only.
    uint32_t m_received = 0;
    uint32_t m_failWriteAt = 0;
    bool m_logEveryLineCall = false;
    std::unique_ptr<LineDamage> m_toBoardDamage;  // null: the host's bytes pass unharmed
    uint64_t m_heldUntil = 0;  // the host's bytes wait until then behind a held one
    uint64_t m_lostUntil = 0;  // the host's bytes that come until then are lost with the
                               // message cut short before them
    std::mutex m_toHostLock;   // the board's bytes may be sent from any thread
    std::unique_ptr<LineDamage> m_toHostDamage;  // guarded by m_toHostLock

    mutable std::mutex m_lock;
    std::map<uint64_t, std::function<void()>> m_timers;  // guarded: by the cable's tag
    uint64_t m_nextTimer = 0;                            // guarded
    LineSettings m_hostLine;                             // guarded
    LineSettings m_boardLine;                            // guarded
    DWORD m_modemLines = 0;                              // guarded
};

}  // namespace boards
