// simhost commands that load and run the program: load, reset, stop, break, the steps and runs,
// the instruction trace and the breakpoint table.
#include <cstdio>

#include "session.h"

namespace simhost {

void Session::DoLoad(const std::vector<Word>& words) {
    Status(m_target->LoadProgram(words[1].text.c_str()));
}

void Session::DoReset(const std::vector<Word>&) { RunStatus(m_target->Reset()); }

void Session::DoStop(const std::vector<Word>&) { Status(m_target->Stop()); }

void Session::DoBreak(const std::vector<Word>&) { Status(m_target->RequestBreak()); }

void Session::DoStep(const std::vector<Word>&) { RunStatus(m_target->StepInstruction()); }

void Session::DoRun(const std::vector<Word>& words) {
    uint32_t count = 0;
    if (Number(words[1], &count)) {
        RunStatus(m_target->RunSteps(static_cast<int32_t>(count)));
    }
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
    RunStatus(m_target->StepUntil(stop, end, known, relative, transfer));
}

void Session::DoOver(const std::vector<Word>& words) {
    uint8_t whole = 1;
    if (Flag(words, 1, 1, &whole)) {
        RunStatus(m_target->StepOver(whole));
    }
}

void Session::DoOut(const std::vector<Word>& words) {
    uint8_t whole = 1;
    if (Flag(words, 1, 1, &whole)) {
        RunStatus(m_target->StepOut(whole));
    }
}

// One line per instruction: the address it was fetched from, then NAME=VALUE of every register
// asked for (all registers of the target by default) as they are after it, values in upper-case
// hex of at least two digits.
void Session::DoTrace(const std::vector<Word>& words) {
    uint32_t count = 0;
    if (!Number(words[1], &count)) {
        return;
    }
    std::vector<std::string> names;
    for (size_t i = 2; i < words.size(); ++i) {
        names.push_back(words[i].text);
    }
    if (names.empty()) {
        int32_t registers = m_target->GetRegisterCount();
        for (int32_t i = 0; i < registers; ++i) {
            const char* name = m_target->GetRegisterName(i);
            names.push_back(name != nullptr ? name : "");
        }
    }
    for (uint32_t n = 0; n < count; ++n) {
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
            std::snprintf(text, sizeof text, "%02X", m_target->GetRegister(name.c_str()));
            line += " " + name + "=" + text;
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
    if (withValue && !Number(words[2], &value)) {
        return;
    }
    int32_t index = static_cast<int32_t>(value);
    if (action == "add") {
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
