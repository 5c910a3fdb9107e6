// The 8051 board whose flash boot loader talks in text and ends every answer with the prompt '>'
// (the Frandle loader's board), as a simulated board that can be told to misbehave.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/program_store.h"

namespace boards {

struct PromptBootLoaderSettings {
    std::string version = "Brontal-E Boot Loader 1.0";
    // The boot loader starts only after a reset pulse (RTS low) of at most this many ms; the
    // largest value: after any.
    uint32_t pulseMaxMs = 0xFFFFFFFF;
    bool prompt = true;            // false: its answers never end with '>'
    bool chatter = false;          // once started it talks on and on and never prompts
    uint32_t silentAt = 0;         // from the k-th byte it receives it answers nothing (0: never)
    uint32_t replyAt = 0;          // the k-th line of a load is answered with `reply` (0: none)
    char reply = 'X';              // and not carried out ('T' also ends the load)
    uint32_t bootWindowMs = 1000;  // how long after a reset it waits for the host (see below)
    uint32_t startMs = 50;         // from the release of the reset to the boot loader's start
};

// Takes the board's keys out of its options: pulse-max=MS, prompt=0, chatter=1, silent-at=K,
// reply-at=K with reply=X|E|T|C (any one character), boot-window=MS. False with a reason.
bool TakePromptBootLoaderSettings(BoardOptions& options, PromptBootLoaderSettings* settings,
                                  std::string* error);

// RTS is the board's reset: low holds it (and stops whatever it did); rising releases it, and
// the boot loader starts, announces itself ("\r\n" version "\r\n>") and takes commands. Commands
// have no line end; each is answered by text ending with '>':
//   CR              "\r\n" version "\r\n>"
//   RR hh           read register hh: "vv\r\n>"
//   RW hh vv        write register hh: "\r\n>"
//   M aaaa          the address the erase starts from: "\r\n>"
//   E               erase the flash from there to its end (300 ms): "\r\n>"
//   L               load: no answer; Intel HEX records follow without line ends
//   anything else   "?\r\n>"
// In a load each record (known whole by its count) is answered by one character: '.' written,
// 'E' its checksum (or a digit) wrong, 'X' it cannot be written (a cell not erased, an address past
// the 64 KB flash, a record type it does not know), 'T' for the end record, which ends the load.
// Extended address records (02, 04) move the base; start address records (03, 05) are taken.
// Characters between records (CR, LF) are ignored.
//
// The downloaded program: a reset after a completed load (its 'T') hands the line to the program
// when no byte comes within the boot window; the board notes "program runs" and calls
// ProgramStarted. A board whose program talks back (a kernel) derives from this one.
class PromptBootLoaderBoard : public Board, public ProgramStore {
public:
    PromptBootLoaderBoard(const LineSettings& line, const PromptBootLoaderSettings& settings);

    // The cells loads wrote since the last erase.
    const std::map<uint32_t, uint8_t>& LoadedCells() const override { return m_written; }
    const std::vector<BYTE>& Flash() const { return m_flash; }
    BYTE Register(BYTE address) const { return m_registers[address]; }
    bool LoaderRunning() const { return m_loaderRunning; }
    bool ProgramRunning() const { return m_programRunning; }

protected:
    // Cells put into the flash as a completed load leaves them (a board that comes with its
    // program already in the flash).
    void Preload(const std::map<uint32_t, uint8_t>& cells);
    // From the silent-at byte on the board answers nothing, its program included.
    bool Silent() const { return m_silent; }

    // The downloaded program has the line from now on (see above); its bytes come to ProgramByte.
    virtual void ProgramStarted() {}
    virtual void ProgramByte(BYTE /*byte*/, bool /*garbled*/) {}

    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;

private:
    void Start();
    void Answer(const std::string& text, uint64_t delayMicros = kQuickMicros);
    void Chatter(uint32_t epoch);
    void TakeCommand(BYTE byte);
    void TakeRecordByte(BYTE byte);
    void CarryOutRecord();
    char WriteRecord(const std::vector<BYTE>& bytes);
    uint64_t CharacterMicros() const;

    static constexpr uint64_t kQuickMicros = 200;
    static constexpr uint64_t kNoFall = UINT64_MAX;

    PromptBootLoaderSettings m_settings;
    uint32_t m_epoch = 0;  // counts resets: a timer of an earlier run does nothing
    uint64_t m_rtsFellAt = kNoFall;
    bool m_loaderRunning = false;
    bool m_programRunning = false;
    bool m_heardSinceStart = false;
    bool m_silent = false;
    uint32_t m_received = 0;
    std::string m_command;
    bool m_loading = false;
    std::string m_record;
    uint32_t m_records = 0;
    uint32_t m_base = 0;
    bool m_loadComplete = false;
    std::vector<BYTE> m_flash;
    std::map<uint32_t, uint8_t> m_written;
    std::vector<BYTE> m_registers;
    uint32_t m_eraseFrom = 0;
};

// The catalogue's maker: at the options' framing (the loader talks at 19200 8N1), with the keys of
// TakePromptBootLoaderSettings.
std::unique_ptr<Board> MakePromptBootLoaderBoard(BoardOptions& options, std::string* error);

}  // namespace boards
