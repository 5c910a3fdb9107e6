// A loadhost session: one loader plug-in, the port record handed to it, simulated boards on
// virtual ports, driven by the lines of a script, with every callback and result printed.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "boards/board.h"
#include "hostscript/board_set.h"
#include "hostscript/clock_switches.h"
#include "hostscript/script_output.h"
#include "hostscript/words.h"
#include "loader/loader_abi.h"
#include "plugin_exports.h"
#include "w32/types.h"

namespace loadhost {

using hostscript::Word;

// The port numbers of the record and of the boards: COM1 to COM256 (0 to 255 in the record).
constexpr int kLastPortNumber = 255;

class Session : private hostscript::ScriptOutput {
public:
    // The numbers a script word may give a command: from `low` to `high`, both included.
    struct NumberRange {
        int64_t low;
        int64_t high;
    };

    // One session at a time receives the callbacks of the plug-in.
    explicit Session(std::ostream& out);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs the script line by line: each command is echoed as "> <line>" before its output.
    void RunScript(std::istream& script);
    void RunLine(const std::string& line, int number);
    // Ends the session: closes the port the host held, takes the boards off their ports, unloads
    // the plug-in. Returns the exit code: 0, or 1 when a line failed, a download left its port
    // open, or the plug-in called back when no download was running; 2 when the script could
    // not be read to its end (a line too long).
    int Finish();

    // The host's callback lands here (on whichever thread the plug-in called it).
    void OnCallback(int code, ProgressRecord* record);

private:
    enum class Call { None, Download, SetMode, Copyright };
    typedef void (Session::*Handler)(const std::vector<Word>&);
    struct Command {
        const char* name;
        Handler handler;
        int minWords;  // the command word included
        int maxWords;  // -1: any number
        const char* usage;
    };
    static const Command kCommands[];

    void Line(const std::string& text) override;
    void Error(const std::string& text) override;
    void Result(int result);
    // The number `digits` (of the script word `word`, which an error names) when it lies in
    // `range`; otherwise an error line and false.
    bool Number(const Word& word, const std::string& digits, NumberRange range, uint32_t* value);
    bool NeedExport(const FoundExport& found, const char* what);
    // Runs an export with its callbacks numbered from 1 and prints its result.
    int CallExport(Call call, const std::function<int()>& run);
    enum class PortState { Open, Closed, Refused, Unknown };
    // Whether the port of the record is open, asking the board on it or else trying to open it
    // (Refused: no board on it, and ports without one are refused).
    PortState RecordPortState();
    // After an export: whether the port of the record is closed. While the host holds the port
    // itself (handle=open) only a plug-in that closed the host's handle is reported, and the
    // handle is dropped from the record.
    void ReportPort();
    void ReportTime(uint64_t startMicros);
    boards::Board* BoardOnRecordPort();
    void CloseHeldPort();

    // Plug-in and calls (session.cpp).
    void DoPlugin(const std::vector<Word>& words);
    void DoPort(const std::vector<Word>& words);
    void DoVirtualTime(const std::vector<Word>& words);
    void DoRealPorts(const std::vector<Word>& words);
    void DoCancelAt(const std::vector<Word>& words);
    void DoCancelOn(const std::vector<Word>& words);
    void DoDownload(const std::vector<Word>& words);
    void DoHddDownload(const std::vector<Word>& words);
    void DoSetMode(const std::vector<Word>& words);
    void DoCopyright(const std::vector<Word>& words);
    // Boards (session_boards.cpp).
    void DoBoard(const std::vector<Word>& words);
    void DoBoardLog(const std::vector<Word>& words);
    void DoBoardCheck(const std::vector<Word>& words);

    std::ostream& m_out;
    HMODULE m_module = nullptr;
    std::string m_word;
    LoaderExports m_exports;

    HostPortRecord m_record;
    std::string m_runCommand;
    HANDLE m_heldPort = nullptr;  // the port the host opened for handle=open

    // Each board stays attached until Finish.
    hostscript::BoardSet m_boards;

    uint32_t m_cancelAt = 0;  // callback number to answer with a cancel, 0 none
    std::string m_cancelOn;   // answer a cancel to messages holding this text, empty none

    std::atomic<Call> m_call{Call::None};
    int m_callbacks = 0;
    hostscript::ClockSwitches m_clock;
    bool m_unreadable = false;  // the script could not be read to its end
    int m_line = 0;
    int m_errors = 0;
    bool m_finished = false;
};

}  // namespace loadhost
