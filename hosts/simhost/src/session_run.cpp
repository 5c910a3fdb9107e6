// simhost commands that load and run the program: load, reset, stop, break, the steps and runs
// (with their step limits and Ctrl-C), the instruction trace and the breakpoint table.
#include <cctype>
#include <cstdio>
#include <memory>

#include "run_interrupt.h"
#include "script_files.h"
#include "session.h"
#include "step_limit.h"
#include "w32test/clock.h"

namespace simhost {

void Session::DoLoad(const std::vector<Word>& words) {
    const std::string path = ScriptPath(words[1].text);
    if (IsFolder(path)) {
        Error("'" + path + "' is a folder, not a program file");
        return;
    }
    SimStatus status = m_target->LoadProgram(path.c_str());
    Status(status);
    if (status != SIM_OK) {
        // The target's own messages above say what was wrong; this says which file it was.
        Error("program not loaded from '" + path + "'");
    }
}

SimStatus Session::RunInterruptible(const std::function<SimStatus()>& run, bool* interrupted) {
    RunInterrupt interrupt(*m_target);
    SimStatus status = run();
    *interrupted = interrupt.Interrupted();
    return status;
}

void Session::ReportRun(SimStatus status, bool interrupted, StepLimit::Reached limit,
                        uint64_t limitMicros) {
    if (interrupted) {
        m_transcript.Line("interrupted by Ctrl-C");
    } else if (limit == StepLimit::Reached::Counted) {
        Error("step limit reached: the run stopped after " + std::to_string(m_stepLimit) +
              " instructions");
    } else if (limit == StepLimit::Reached::Timed) {
        Error(
            "step limit reached: the target counts no instructions, so the run was broken "
            "after the limit's time, " +
            std::to_string(limitMicros / 1000u) + " ms of clock time");
    }
    RunStatus(status);
}

void Session::RunCounted(const std::function<SimStatus()>& run) {
    // The counting observer stands in for the script's own while the run goes on.
    std::unique_ptr<StepLimit> limit;
    if (m_stepLimit != 0) {
        // The limit's time passes only while this thread waits, as with stop-after.
        w32test::clock::TakePart();
        limit = std::make_unique<StepLimit>(*m_target, ScriptObserver(), m_stepLimit);
        m_target->SetPortObserver(limit.get());
    }
    bool interrupted = false;
    SimStatus status = RunInterruptible(run, &interrupted);
    StepLimit::Reached reached = StepLimit::Reached::No;
    uint64_t limitMicros = 0;
    if (limit != nullptr) {
        reached = limit->Finish();
        limitMicros = limit->TimeMicros();
        m_target->SetPortObserver(ScriptObserver());
    }
    ReportRun(status, interrupted, reached, limitMicros);
}

bool Session::AtEnabledBreakpoint(uint32_t pc) {
    for (int32_t i = 1;; ++i) {
        uint32_t address = 0;
        uint8_t enabled = 0;
        if (m_target->GetBreakpoint(i, &address, &enabled) != SIM_OK) {
            return false;
        }
        if (enabled != 0 && address == pc) {
            return true;
        }
    }
}

uint32_t Session::ProgramMemorySize() {
    int32_t count = m_target->GetMemorySpaceCount();
    for (int32_t i = 0; i < count; ++i) {
        const char* name = nullptr;
        uint32_t size = 0;
        if (m_target->GetMemorySpaceInfo(i, &name, &size) == 0 || name == nullptr) {
            continue;
        }
        std::string lower = name;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (lower == "program memory") {
            return size;
        }
    }
    return 0;
}

void Session::DoReset(const std::vector<Word>&) { RunStatus(m_target->Reset()); }

void Session::DoStop(const std::vector<Word>&) { Status(m_target->Stop()); }

void Session::DoBreak(const std::vector<Word>&) { Status(m_target->RequestBreak()); }

void Session::DoStep(const std::vector<Word>&) { RunStatus(m_target->StepInstruction()); }

void Session::DoRun(const std::vector<Word>& words) {
    uint32_t count = 0;
    if (!Number(words[1], &count)) {
        return;
    }
    if (count > kMaxSigned32 && count != 0xFFFFFFFFu) {
        Error("'" + words[1].text + "' is out of range for a run's count (-1 to 0x7FFFFFFF)");
        return;
    }
    // A run of N steps is the target's own bounded run, so the limit costs it nothing; whether
    // the limit ended it shows afterwards: not at a breakpoint, not interrupted, no failure.
    int32_t steps = static_cast<int32_t>(count);
    bool limited = m_stepLimit != 0 && (steps <= 0 || static_cast<uint32_t>(steps) > m_stepLimit);
    if (limited) {
        steps = static_cast<int32_t>(m_stepLimit);
    }
    bool interrupted = false;
    SimStatus status =
        RunInterruptible([this, steps] { return m_target->RunSteps(steps); }, &interrupted);
    uint32_t pc = 0;
    bool limitReached = limited && status == SIM_OK && !interrupted &&
                        m_target->GetPC(&pc) == SIM_OK && !AtEnabledBreakpoint(pc);
    ReportRun(status, interrupted,
              limitReached ? StepLimit::Reached::Counted : StepLimit::Reached::No);
}

void Session::DoUntil(const std::vector<Word>& words) {
    uint32_t stop = 0;
    uint32_t end = 0xFFFFFFFFu;
    uint8_t known = 0;
    uint8_t relative = 0;
    uint8_t transfer = 0;
    if (!Number(words[1], &stop) || (words.size() > 2 && !Number(words[2], &end)) ||
        !Flag(words, 3, 0, &known) || !Flag(words, 4, 0, &relative) ||
        !Flag(words, 5, 0, &transfer)) {
        return;
    }
    RunCounted([this, stop, end, known, relative, transfer] {
        return m_target->StepUntil(stop, end, known, relative, transfer);
    });
}

void Session::DoOver(const std::vector<Word>& words) {
    uint8_t whole = 1;
    if (Flag(words, 1, 1, &whole)) {
        RunCounted([this, whole] { return m_target->StepOver(whole); });
    }
}

void Session::DoOut(const std::vector<Word>& words) {
    uint8_t whole = 1;
    if (Flag(words, 1, 1, &whole)) {
        RunCounted([this, whole] { return m_target->StepOut(whole); });
    }
}

// One line per instruction: the address it was fetched from, then NAME=VALUE of every register
// asked for (all registers of the target by default) as they are after it, values in upper-case
// hex, as many digits as the register is wide (at least two).
void Session::DoTrace(const std::vector<Word>& words) {
    int64_t count = 0;
    if (words[1].quoted || !ParseNumber(words[1].text, &count) || count > 0xFFFFFFFF) {
        Error("bad number '" + words[1].text + "'");
        return;
    }
    if (count < 0) {
        Error("a trace counts its steps: COUNT must not be negative");
        return;
    }
    std::vector<std::string> names;
    for (size_t i = 2; i < words.size(); ++i) {
        if (!KnownRegister(words[i].text)) {
            return;
        }
        names.push_back(words[i].text);
    }
    if (names.empty()) {
        int32_t registers = m_target->GetRegisterCount();
        for (int32_t i = 0; i < registers; ++i) {
            const char* name = m_target->GetRegisterName(i);
            names.push_back(name != nullptr ? name : "");
        }
    }
    // Ctrl-C ends the trace between two steps.
    RunInterrupt interrupt(*m_target);
    for (int64_t n = 0; n < count; ++n) {
        if (interrupt.Interrupted()) {
            ReportRun(SIM_OK, true, StepLimit::Reached::No);
            return;
        }
        uint32_t pc = 0;
        SimStatus status = m_target->GetPC(&pc);
        if (status == SIM_OK) {
            status = m_target->StepInstruction();
        }
        if (status != SIM_OK) {
            RunStatus(status);
            return;
        }
        char text[32];
        std::snprintf(text, sizeof text, "%04X", pc);
        std::string line = text;
        for (const std::string& name : names) {
            line +=
                " " + name + "=" + m_family.RegisterText(name, m_target->GetRegister(name.c_str()));
        }
        m_transcript.Line(line);
    }
    RunStatus(SIM_OK);
}

void Session::DoBreakpoint(const std::vector<Word>& words) {
    const std::string& action = words[1].text;
    uint32_t value = 0;
    bool withValue =
        action == "add" || action == "enable" || action == "disable" || action == "remove";
    if (withValue != (words.size() == 3)) {
        Error(
            "usage: bp add ADDRESS | bp enable|disable|remove INDEX | "
            "bp disable-all|remove-all|list|max");
        return;
    }
    // An index counts from 1 (the target answers for one it lacks); an address is any number.
    if (withValue &&
        !(action == "add" ? Number(words[2], &value)
                          : NumberIn(words[2], 0, kMaxSigned32, "a breakpoint index", &value))) {
        return;
    }
    int32_t index = static_cast<int32_t>(value);
    if (action == "add") {
        // A breakpoint the program can never reach is a mistake worth saying at once.
        uint32_t size = ProgramMemorySize();
        if (size != 0 && value >= size) {
            char text[96];
            std::snprintf(text, sizeof text,
                          "breakpoint address 0x%X is outside the program memory (0 to 0x%X)",
                          value, size - 1);
            Error(text);
            return;
        }
        int32_t added = 0;
        SimStatus status = m_target->AddBreakpoint(value, &added);
        Status(status, status == SIM_OK ? " index=" + std::to_string(added) : std::string());
    } else if (action == "enable") {
        Status(m_target->EnableBreakpoint(index));
    } else if (action == "disable") {
        Status(m_target->DisableBreakpoint(index));
    } else if (action == "remove") {
        Status(m_target->RemoveBreakpoint(index));
    } else if (action == "disable-all") {
        Status(m_target->DisableAllBreakpoints());
    } else if (action == "remove-all") {
        Status(m_target->RemoveAllBreakpoints());
    } else if (action == "max") {
        m_transcript.Line("max breakpoints: " + std::to_string(m_target->GetMaxBreakpoints()));
    } else if (action == "list") {
        // Indices run from 1 until the target answers that one is outside its table.
        for (int32_t i = 1;; ++i) {
            uint32_t address = 0;
            uint8_t enabled = 0;
            SimStatus status = m_target->GetBreakpoint(i, &address, &enabled);
            if (status == SIM_BAD_INDEX) {
                if (i == 1) {
                    m_transcript.Line("no breakpoints");
                }
                break;
            }
            if (status != SIM_OK) {
                Status(status);
                break;
            }
            char text[64];
            std::snprintf(text, sizeof text, "breakpoint %d: %04X %s", i, address,
                          enabled != 0 ? "enabled" : "disabled");
            m_transcript.Line(text);
        }
    } else {
        Error("unknown breakpoint action '" + action + "'");
    }
}

}  // namespace simhost
