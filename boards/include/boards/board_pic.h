// The debug board's PIC co-processor as a simulated board: its frames (set type, write, read,
// version) at its own baud rate, and the pass-through that hands the line to the chip behind it.
// Boards that carry this PIC derive from it and say what sits behind it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/catalogue.h"

namespace boards {

// What the PIC is told to do wrong; applies to the replies of one frame command (or of all).
struct PicSettings {
    enum class Fault { None, BadSum, BadCommand, BadStatus, Short };
    std::string version = "1.05";  // the four characters of the version reply
    Fault fault = Fault::None;
    uint32_t faultFrame = 0;  // the command byte whose replies are spoilt; 0: every frame
    uint32_t faultCount = 0;  // how many replies are spoilt; 0: all of them
    uint32_t silentAt = 0;    // from the k-th byte the board receives, nothing answers
};

// Takes the PIC's keys out of a board's options: pic-version=CCCC,
// pic-fault=bad-sum|bad-command|bad-status|short, pic-frame=1|2|3|5, pic-faults=N, silent-at=N.
bool TakePicSettings(BoardOptions& options, PicSettings* settings, std::string* error);

// Frames (host to PIC; "sum" is the 8-bit sum of every byte before it):
//   01 type sum                          -> 01 status sum
//   02 space count lo hi data... sum     -> 02 status sum
//   03 space count lo hi sum             -> 03 status data... sum
//   05                                   -> 05 c c c c sum
// Status 0 is success. Space 1 holds 0x0000-0x1FFF, space 5 0x2000-0x2FFF; a block of 1 to 32
// bytes stays inside its space. Writes and reads need the PIC to serve the chip itself (an
// accepted type 1). The PIC stores a write frame's bytes as they come: it needs 7 ms before
// bytes 1, 5, 15 and 25; a byte that comes sooner is missed and the frame fails (status 1, and a
// "pic:" line in the board's log).
//
// The host's RTS line drives the chip's reset: on holds the chip (program mode), off lets it run
// its program. The PIC answers its frames whatever RTS says, and an accepted type holds the chip
// for it. A type that passes the line through (PassesThrough) gives the line to the chip until
// the host asks it back: an 'R' at the PIC's rate, or a run command the chip took, followed by
// RTS off (the chip then runs). Until then RTS changes, and closing and reopening the port, leave
// the pass-through as it is.
//
// The board listens at whatever framing the host uses, so that each part can tell for itself
// whether the host talks at its rate: the PIC ignores bytes at another rate than its own.
class BoardPic : public Board {
public:
    BoardPic(const LineSettings& picLine, const PicSettings& settings);

    enum class Mode { Run, Program, PassThrough };
    Mode CurrentMode() const {
        return m_passThrough ? Mode::PassThrough : m_running ? Mode::Run : Mode::Program;
    }
    const LineSettings& PicLine() const { return m_picLine; }

protected:
    // What sits behind the PIC. SetType answers the status of PIC_SET_TYPE.
    virtual BYTE SetType(BYTE type) = 0;
    virtual bool PassesThrough(BYTE /*type*/) const { return false; }
    // The pass-through begins (after the set-type reply): the chip is reset into its loader.
    virtual void EnterPassThrough(BYTE /*type*/) {}
    virtual void PassThroughByte(BYTE /*byte*/, const LineSettings& /*host*/) {}
    // Whether the chip itself took a command to run once released.
    virtual bool ChipAsksToRun() const { return false; }
    // Program memory of a chip the PIC serves itself (after an accepted type 1): a status.
    virtual BYTE WriteProgram(unsigned /*address*/, const std::vector<BYTE>& /*data*/) { return 1; }
    virtual BYTE ReadProgram(unsigned /*address*/, std::vector<BYTE>* /*data*/) { return 1; }
    // The chip runs its program (RTS off, or the pass-through ended), and what it is sent while it
    // runs.
    virtual void Released() {}
    virtual void RunningByte(BYTE /*byte*/, const LineSettings& /*host*/) {}
    // The chip that ran is held in reset again (RTS on, or a set type the PIC accepted).
    virtual void Held() {}
    // Whether the running chip has taken the line for itself (a debug kernel talking at the
    // PIC's own rate): the PIC then reads no frames until the chip is held again.
    virtual bool ChipOwnsLine() const { return false; }

    void OnOpen() override;
    void OnHostSettings(const LineSettings& line) override;
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;

    // True from the board's silent-at byte on.
    bool Silent() const { return m_silent; }

private:
    void FollowHost();
    void Release();
    void Hold();
    void TakeFrameByte(BYTE byte);
    void CarryOutFrame();
    // Whether this reply is one the settings spoil (counting it).
    bool Spoils(BYTE command);
    void Reply(std::vector<BYTE> reply, bool spoil, uint64_t delayMicros);
    BYTE CheckBlock(BYTE space, unsigned count, unsigned address) const;

    LineSettings m_picLine;
    PicSettings m_settings;
    bool m_running = true;
    bool m_passThrough = false;
    BYTE m_servedType = 0;
    bool m_runAsked = false;
    std::vector<BYTE> m_frame;
    size_t m_frameLength = 0;
    bool m_frameLate = false;
    uint64_t m_lastByteTime = 0;
    uint32_t m_received = 0;
    uint32_t m_spoilt = 0;
    bool m_silent = false;
};

}  // namespace boards
