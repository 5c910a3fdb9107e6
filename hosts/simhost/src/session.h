// A simhost session: a debugger plug-in, its factory and one target at a time, driven by the
// lines of a script, with every answer written to the transcript.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "boards/board.h"
#include "host_objects.h"
#include "hostscript/board_set.h"
#include "hostscript/clock_switches.h"
#include "hostscript/script_output.h"
#include "script_words.h"
#include "simtarget/sim_interfaces.h"
#include "step_limit.h"
#include "stopper.h"
#include "target_family.h"
#include "transcript.h"
#include "w32/types.h"

namespace simhost {

class Session : private hostscript::ScriptOutput {
public:
    explicit Session(std::ostream& out);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Relative paths in the script's lines are taken from `folder` (as ScriptFolderOf gives it;
    // "" is the current folder, the default).
    void SetScriptFolder(const std::string& folder) { m_scriptFolder = folder; }
    // Runs the script line by line: each command is echoed as "> <line>" before its output.
    void RunScript(std::istream& script);
    void RunLine(const std::string& line, int number);
    // Ends the session: destroys the target and the factory, unloads the plug-in and checks
    // that every host object handed to a target was released exactly once. Returns the exit
    // code: 0, or 1 when a line failed or a host object was not released as it should be; 2 when
    // the script could not be read to its end (a line too long).
    int Finish();

private:
    struct HostObjectSet;
    typedef void (Session::*Handler)(const std::vector<Word>&);
    struct Command {
        const char* name;
        Handler handler;
        int minWords;  // the command word included
        int maxWords;  // -1: any number
        bool needsTarget;
        const char* usage;
        // Takes a last word "limit=N": the run stops after at most N instructions.
        bool takesStepLimit = false;
    };
    static const Command kCommands[];

    void Line(const std::string& text) override { m_transcript.Line(text); }
    void Error(const std::string& text) override;
    void Status(SimStatus status, const std::string& extra = std::string());
    // The status with the PC appended when the target answers it.
    void RunStatus(SimStatus status);
    bool Number(const Word& word, uint32_t* value);
    // A number from `low` to `high`; one outside them is an error line that names the word and
    // what it stands for.
    bool NumberIn(const Word& word, uint32_t low, uint32_t high, const char* what, uint32_t* value);
    bool Flag(const std::vector<Word>& words, size_t index, uint8_t fallback, uint8_t* flag);
    void DestroyTarget();
    void PrintMultiline(const char* text);
    // A path named by the script, as seen from the current folder.
    std::string ScriptPath(const std::string& path) const;
    // The port observer the script has switched on, or null.
    ISimPortObserver* ScriptObserver() const;
    void PrintOptions();

    // Runs (session_run.cpp): a run of the target that Ctrl-C can break into, its end reported
    // ("interrupted", or the step limit as an error) before its status line.
    SimStatus RunInterruptible(const std::function<SimStatus()>& run, bool* interrupted);
    // `limitMicros`: the limit's time, when the limit's time ended the run.
    void ReportRun(SimStatus status, bool interrupted, StepLimit::Reached limit,
                   uint64_t limitMicros = 0);
    // A run operation that stops at the step limit by counting instructions (StepUntil,
    // StepOver, StepOut).
    void RunCounted(const std::function<SimStatus()>& run);
    bool AtEnabledBreakpoint(uint32_t pc);
    // The size of the target's program memory, 0 when it has none by that name or it is empty.
    uint32_t ProgramMemorySize();

    // Registers and spaces by name (session_inspect.cpp); an unknown one is an error line.
    bool KnownRegister(const std::string& name);
    bool SpaceOf(const Word& word, int32_t* space);

    // Plug-in and factory (session.cpp).
    void DoPlugin(const std::vector<Word>& words);
    void DoFactory(const std::vector<Word>& words);
    void DoChips(const std::vector<Word>& words);
    void DoTargetType(const std::vector<Word>& words);
    void DoCreate(const std::vector<Word>& words);
    void DoDestroy(const std::vector<Word>& words);
    void DoSettings(const std::vector<Word>& words);
    void DoGetSettings(const std::vector<Word>& words);
    void DoVirtualTime(const std::vector<Word>& words);
    void DoRealPorts(const std::vector<Word>& words);
    void DoSymbols(const std::vector<Word>& words);
    void DoObserver(const std::vector<Word>& words);
    // Loading and running (session_run.cpp).
    void DoLoad(const std::vector<Word>& words);
    void DoReset(const std::vector<Word>& words);
    void DoStop(const std::vector<Word>& words);
    void DoBreak(const std::vector<Word>& words);
    void DoStep(const std::vector<Word>& words);
    void DoRun(const std::vector<Word>& words);
    void DoUntil(const std::vector<Word>& words);
    void DoOver(const std::vector<Word>& words);
    void DoOut(const std::vector<Word>& words);
    void DoTrace(const std::vector<Word>& words);
    void DoBreakpoint(const std::vector<Word>& words);
    // Looking at the target (session_inspect.cpp).
    void DoRegisters(const std::vector<Word>& words);
    void DoRegister(const std::vector<Word>& words);
    void DoDump(const std::vector<Word>& words);
    void DoSpaces(const std::vector<Word>& words);
    void DoRead(const std::vector<Word>& words);
    void DoWrite(const std::vector<Word>& words);
    void DoCallStack(const std::vector<Word>& words);
    void DoPC(const std::vector<Word>& words);
    void DoSP(const std::vector<Word>& words);
    void DoFrame(const std::vector<Word>& words);
    void DoIsCall(const std::vector<Word>& words);
    void DoIsReturn(const std::vector<Word>& words);
    void DoNext(const std::vector<Word>& words);
    void DoPeripherals(const std::vector<Word>& words);
    void DoPeripheral(const std::vector<Word>& words);
    void DoOptions(const std::vector<Word>& words);
    void DoOption(const std::vector<Word>& words);
    void DoCapability(const std::vector<Word>& words);
    void DoSerialIn(const std::vector<Word>& words);
    // Boards on virtual ports and the stop from another thread (session_boards.cpp).
    void DoBoard(const std::vector<Word>& words);
    void DoBoardLog(const std::vector<Word>& words);
    void DoStopAfter(const std::vector<Word>& words);
    // Ends stop-after's thread; says so when its stop was not made.
    void CancelStopper();
    // The stop stop-after made, with its status, once (after the command during which it came).
    void ReportStopper();

    Transcript m_transcript;
    std::string m_scriptFolder;
    SymbolTable m_symbols;
    TargetFamily m_family;
    HMODULE m_module = nullptr;
    ISimFactory* m_factory = nullptr;
    ISimTarget* m_target = nullptr;
    int m_targetCount = 0;
    std::vector<std::unique_ptr<HostObjectSet>> m_handedOut;
    std::unique_ptr<HostPortObserver> m_observer;
    hostscript::BoardSet m_boards;
    std::unique_ptr<Stopper> m_stopper;
    hostscript::ClockSwitches m_clock;
    bool m_unreadable = false;  // the script could not be read to its end
    int m_line = 0;
    uint32_t m_stepLimit = 0;  // of the command being run, 0 for none
    int m_errors = 0;
    bool m_finished = false;
};

// The name of a status code ("OK", "SIM_NOT_LOADED", ...), empty for a code of another layer.
const char* StatusName(int32_t status);

}  // namespace simhost
