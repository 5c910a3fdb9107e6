// simhost sessions: the script loop, the command table, and the plug-in, factory, target and
// settings commands.
#include "session.h"

#include <cstdio>
#include <cstring>

#include "plugin_error.h"
#include "hostscript/script_lines.h"
#include "script_files.h"
#include "simtarget/sim_export.h"
#include "w32test/clock.h"
#include "w32/errors.h"
#include "w32/modules.h"

namespace simhost {

// The host objects handed to one CreateTarget call; a target that was created releases each
// once when it is destroyed, a refused creation none.
struct Session::HostObjectSet {
    HostObjectSet(Transcript& transcript, const SymbolTable& symbols)
        : sink(transcript), debugInfo(symbols), terminal(transcript) {}
    int target = 0;  // number of the target created with them, 0 when creation was refused
    bool installed = false;
    HostMessageSink sink;
    HostDebugInfo debugInfo;
    HostSerialTerminal terminal;
};

const Session::Command Session::kCommands[] = {
    {"plugin", &Session::DoPlugin, 2, 2, false, "plugin NAME|PATH"},
    {"factory", &Session::DoFactory, 1, 1, false, "factory"},
    {"chips", &Session::DoChips, 2, 2, false, "chips MANUFACTURER"},
    {"target-type", &Session::DoTargetType, 2, 2, false, "target-type CHIP"},
    {"create", &Session::DoCreate, 2, 3, false, "create CHIP [OPTIONS]"},
    {"destroy", &Session::DoDestroy, 1, 1, true, "destroy"},
    {"settings", &Session::DoSettings, 1, -1, true, "settings [KEY=VALUE...]"},
    {"get-settings", &Session::DoGetSettings, 1, 1, true, "get-settings"},
    {"virtual-time", &Session::DoVirtualTime, 2, 2, false, "virtual-time on|off"},
    {"real-ports", &Session::DoRealPorts, 2, 2, false, "real-ports on|off"},
    {"symbols", &Session::DoSymbols, 2, 2, false, "symbols PATH"},
    {"observer", &Session::DoObserver, 2, 2, true, "observer on|off"},
    {"load", &Session::DoLoad, 2, 2, true, "load PATH"},
    {"reset", &Session::DoReset, 1, 1, true, "reset"},
    {"stop", &Session::DoStop, 1, 1, true, "stop"},
    {"break", &Session::DoBreak, 1, 1, true, "break"},
    {"step", &Session::DoStep, 1, 1, true, "step"},
    {"run", &Session::DoRun, 2, 2, true, "run COUNT [limit=N]", true},
    {"until", &Session::DoUntil, 2, 6, true,
     "until ADDRESS [END [KNOWN RELATIVE TRANSFER]] [limit=N]", true},
    {"over", &Session::DoOver, 1, 2, true, "over [0|1]"},
    {"out", &Session::DoOut, 1, 2, true, "out [0|1] [limit=N]", true},
    {"trace", &Session::DoTrace, 2, -1, true, "trace COUNT [REGISTER...]"},
    {"bp", &Session::DoBreakpoint, 2, 3, true,
     "bp add ADDRESS | bp enable|disable|remove INDEX | bp disable-all|remove-all|list|max"},
    {"regs", &Session::DoRegisters, 1, 1, true, "regs"},
    {"reg", &Session::DoRegister, 2, 3, true, "reg NAME [VALUE]"},
    {"dump", &Session::DoDump, 1, 2, true, "dump [WORD]"},
    {"spaces", &Session::DoSpaces, 1, 2, true, "spaces [SPACE]"},
    {"read", &Session::DoRead, 4, 4, true, "read SPACE ADDRESS COUNT"},
    {"write", &Session::DoWrite, 4, -1, true, "write SPACE ADDRESS BYTE|\"TEXT\"..."},
    {"callstack", &Session::DoCallStack, 1, 1, true, "callstack"},
    {"pc", &Session::DoPC, 1, 1, true, "pc"},
    {"sp", &Session::DoSP, 1, 1, true, "sp"},
    {"frame", &Session::DoFrame, 1, 1, true, "frame"},
    {"is-call", &Session::DoIsCall, 2, 2, true, "is-call ADDRESS"},
    {"is-return", &Session::DoIsReturn, 2, 2, true, "is-return ADDRESS"},
    {"next", &Session::DoNext, 2, 2, true, "next ADDRESS"},
    {"peripherals", &Session::DoPeripherals, 1, 1, true, "peripherals"},
    {"peripheral", &Session::DoPeripheral, 3, 3, true, "peripheral INDEX VALUE"},
    {"options", &Session::DoOptions, 1, 1, true, "options"},
    {"option", &Session::DoOption, 3, 3, true,
     "option timers|interrupts|serial|hardware-ports VALUE"},
    {"capability", &Session::DoCapability, 2, 2, true, "capability KIND"},
    {"serial-in", &Session::DoSerialIn, 3, -1, true, "serial-in CHANNEL BYTE|\"TEXT\"..."},
    {"board", &Session::DoBoard, 3, -1, false, "board KIND COMn [OPTIONS]"},
    {"board-log", &Session::DoBoardLog, 1, 2, false, "board-log [clear]"},
    {"stop-after", &Session::DoStopAfter, 2, 3, true, "stop-after MS [stop|break]"},
};

const char* StatusName(int32_t status) {
    switch (status) {
        case SIM_OK:
            return "OK";
        case SIM_NOT_SUPPORTED:
            return "SIM_NOT_SUPPORTED";
        case SIM_LOAD_FAILED:
            return "SIM_LOAD_FAILED";
        case SIM_OUT_OF_RANGE:
            return "SIM_OUT_OF_RANGE";
        case SIM_NOT_LOADED:
            return "SIM_NOT_LOADED";
        case SIM_UNKNOWN_OPCODE:
            return "SIM_UNKNOWN_OPCODE";
        case SIM_BAD_INDEX:
            return "SIM_BAD_INDEX";
        case SIM_EXECUTION_STOPPED:
            return "SIM_EXECUTION_STOPPED";
        case SIM_DUPLICATE_BREAKPOINT:
            return "SIM_DUPLICATE_BREAKPOINT";
        case SIM_BAD_SPACE:
            return "SIM_BAD_SPACE";
        case SIM_BAD_LENGTH:
            return "SIM_BAD_LENGTH";
        case SIM_STACK_FAULT:
            return "SIM_STACK_FAULT";
        case SIM_EXTERNAL_ADDRESS_FAULT:
            return "SIM_EXTERNAL_ADDRESS_FAULT";
        default:
            return "";
    }
}

Session::Session(std::ostream& out) : m_transcript(out) {}

Session::~Session() { Finish(); }

void Session::RunScript(std::istream& script) {
    int tooLong = hostscript::ForEachScriptLine(
        script, [this](const std::string& line, int number) { RunLine(line, number); });
    if (tooLong != 0) {
        m_line = tooLong;
        Error(hostscript::TooLongLineText());
        m_transcript.Flush();
        m_unreadable = true;
    }
}

void Session::RunLine(const std::string& line, int number) {
    m_line = number;
    std::vector<Word> words;
    std::string error;
    bool split = SplitWords(line, &words, &error);
    if (split && words.empty()) {
        return;  // blank or comment
    }
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\r' || shown.back() == ' ')) {
        shown.pop_back();
    }
    m_transcript.Line("> " + shown);
    if (!split) {
        Error(error);
        return;
    }
    for (const Command& command : kCommands) {
        if (words[0].quoted || words[0].text != command.name) {
            continue;
        }
        m_stepLimit = 0;
        if (command.takesStepLimit && words.size() > 1 && !words.back().quoted &&
            words.back().text.compare(0, 6, "limit=") == 0) {
            int64_t limit = 0;
            if (!ParseNumber(words.back().text.substr(6), &limit) || limit < 1 ||
                limit > 0x7FFFFFFF) {
                Error("bad step limit '" + words.back().text + "' (1 to 0x7FFFFFFF instructions)");
                return;
            }
            m_stepLimit = static_cast<uint32_t>(limit);
            words.pop_back();
        }
        int count = static_cast<int>(words.size());
        if (count < command.minWords || (command.maxWords >= 0 && count > command.maxWords)) {
            Error(std::string("usage: ") + command.usage);
        } else if (command.needsTarget && m_target == nullptr) {
            Error("no target (create one first)");
        } else {
            (this->*command.handler)(words);
        }
        m_clock.ReportRefusedPorts(*this);
        ReportStopper();
        m_transcript.Flush();
        return;
    }
    Error("unknown command '" + words[0].text + "'");
}

void Session::Error(const std::string& text) {
    ++m_errors;
    m_transcript.Line("error: line " + std::to_string(m_line) + ": " + text);
}

void Session::Status(SimStatus status, const std::string& extra) {
    std::string line = "status " + std::to_string(static_cast<int32_t>(status));
    const char* name = StatusName(status);
    if (name[0] != '\0') {
        line += std::string(" ") + name;
    }
    m_transcript.Line(line + extra);
}

void Session::RunStatus(SimStatus status) {
    uint32_t pc = 0;
    if (m_target->GetPC(&pc) != SIM_OK) {
        Status(status);
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, " pc=%04X", pc);
    Status(status, text);
}

bool Session::Number(const Word& word, uint32_t* value) {
    if (word.quoted || !ParseWord32(word.text, value)) {
        Error("bad number '" + word.text + "'");
        return false;
    }
    return true;
}

bool Session::NumberIn(const Word& word, uint32_t low, uint32_t high, const char* what,
                       uint32_t* value) {
    if (!Number(word, value)) {
        return false;
    }
    if (*value < low || *value > high) {
        char range[48];
        std::snprintf(range, sizeof range, " (0x%X to 0x%X)", low, high);
        Error("'" + word.text + "' is out of range for " + what + range);
        return false;
    }
    return true;
}

bool Session::Flag(const std::vector<Word>& words, size_t index, uint8_t fallback, uint8_t* flag) {
    *flag = fallback;
    if (index >= words.size()) {
        return true;
    }
    uint32_t value = 0;
    if (!Number(words[index], &value)) {
        return false;
    }
    *flag = value != 0 ? 1 : 0;
    return true;
}

void Session::PrintMultiline(const char* text) {
    std::string all = text != nullptr ? text : "";
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        std::string line =
            all.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        m_transcript.Line("  " + Escape(line));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

std::string Session::ScriptPath(const std::string& path) const {
    return PathFromScript(m_scriptFolder, path);
}

ISimPortObserver* Session::ScriptObserver() const {
    return m_observer != nullptr && m_observer->IsActive() != 0 ? m_observer.get() : nullptr;
}

void Session::PrintOptions() {
    m_transcript.Line("options: timers=" + std::to_string(m_target->GetSimulateTimers()) +
                      " interrupts=" + std::to_string(m_target->GetSimulateInterrupts()) +
                      " serial=" + std::to_string(m_target->GetSimulateSerial()) +
                      " hardware-ports=" + std::to_string(m_target->GetHardwarePortMode()));
}

void Session::DestroyTarget() {
    if (m_target == nullptr) {
        return;
    }
    CancelStopper();
    int number = m_targetCount;
    m_target->Destroy(kSimDestroyFree);
    m_target = nullptr;
    m_transcript.Line("target " + std::to_string(number) + " destroyed");
}

int Session::Finish() {
    if (m_finished) {
        return m_unreadable ? 2 : m_errors != 0 ? 1 : 0;
    }
    m_finished = true;
    DestroyTarget();
    if (m_factory != nullptr) {
        m_factory->Destroy(kSimDestroyFree);
        m_factory = nullptr;
    }
    if (m_module != nullptr) {
        w32::FreeLibrary(m_module);
        m_module = nullptr;
    }
    // The boards last: the plug-in has closed its ports.
    m_boards.DetachAll();
    m_clock.RestoreClock();
    m_clock.ReportRefusedPorts(*this);
    m_clock.ReleasePorts();

    // Every host object handed to a target that was created must come back once.
    m_line = 0;
    int expected = 0;
    int released = 0;
    for (const auto& set : m_handedOut) {
        struct {
            const char* what;
            int releases;
        } objects[] = {{"message sink", set->sink.GetReleases()},
                       {"debug information", set->debugInfo.GetReleases()},
                       {"serial terminal", set->terminal.GetReleases()}};
        int want = set->installed ? 1 : 0;
        for (const auto& object : objects) {
            expected += want;
            released += object.releases;
            if (object.releases != want) {
                ++m_errors;
                std::string owner = set->installed ? "target " + std::to_string(set->target)
                                                   : std::string("a refused creation");
                m_transcript.Line(std::string("error: ") +
                                  (object.releases < want ? "leak: " : "") + object.what + " of " +
                                  owner + " released " + std::to_string(object.releases) +
                                  " times, expected " + std::to_string(want));
            }
        }
    }
    m_transcript.Line("session end: " + std::to_string(released) + " of " +
                      std::to_string(expected) + " host objects released, " +
                      std::to_string(m_errors) + (m_errors == 1 ? " error" : " errors"));
    m_transcript.Flush();
    return m_unreadable ? 2 : m_errors != 0 ? 1 : 0;
}

void Session::DoPlugin(const std::vector<Word>& words) {
    if (m_module != nullptr) {
        Error("a plug-in is already loaded");
        return;
    }
    // A bare name is the system's to find (beside simhost first); a path is the script's.
    const std::string name = IsBareName(words[1].text) ? words[1].text : ScriptPath(words[1].text);
    HMODULE module = w32::LoadLibraryA(name.c_str());
    if (module == nullptr) {
        DWORD code = w32::GetLastError();
        Error("cannot load plug-in '" + name + "': " + PluginLoadFailure(name, code));
        return;
    }
    auto getFactory = w32::GetProcAs<GetSimFactoryInterfaceFn>(module, kSimFactoryExportName);
    if (getFactory == nullptr) {
        getFactory = w32::GetProcAs<GetSimFactoryInterfaceFn>(module, kSimFactoryPlainName);
    }
    if (getFactory == nullptr) {
        w32::FreeLibrary(module);
        Error("'" + name + "' exports no " + kSimFactoryPlainName);
        return;
    }
    ISimFactory* factory = getFactory();
    if (factory == nullptr) {
        w32::FreeLibrary(module);
        Error(std::string(kSimFactoryPlainName) + " of '" + name + "' returned no factory");
        return;
    }
    m_module = module;
    m_factory = factory;
    const char* family = factory->GetFamilyName();
    m_family = TargetFamily(family != nullptr ? family : "");
    m_transcript.Line("plug-in loaded: " + name);
}

void Session::DoFactory(const std::vector<Word>&) {
    if (m_factory == nullptr) {
        Error("no plug-in (load one first)");
        return;
    }
    auto text = [](const char* t) { return Escape(t != nullptr ? std::string(t) : std::string()); };
    char numbers[96];
    m_transcript.Line("family: " + text(m_factory->GetFamilyName()));
    m_transcript.Line("default chip: " + text(m_factory->GetDefaultChip()));
    m_transcript.Line("manufacturers: " + text(m_factory->GetManufacturers()));
    std::snprintf(numbers, sizeof numbers, "target type: 0x%08X", m_factory->GetTargetType());
    m_transcript.Line(numbers);
    std::snprintf(numbers, sizeof numbers, "flags: %d %d %d", m_factory->QueryFlag8(),
                  m_factory->QueryFlag9(), m_factory->QueryFlag10());
    m_transcript.Line(numbers);
}

void Session::DoChips(const std::vector<Word>& words) {
    if (m_factory == nullptr) {
        Error("no plug-in (load one first)");
        return;
    }
    const char* chips = m_factory->GetChips(words[1].text.c_str());
    m_transcript.Line("chips: " + Escape(chips != nullptr ? std::string(chips) : std::string()));
}

void Session::DoTargetType(const std::vector<Word>& words) {
    if (m_factory == nullptr) {
        Error("no plug-in (load one first)");
        return;
    }
    char text[48];
    std::snprintf(text, sizeof text, "target type: 0x%08X",
                  m_factory->GetTargetTypeForChip(words[1].text.c_str()));
    m_transcript.Line(text);
}

void Session::DoCreate(const std::vector<Word>& words) {
    if (m_factory == nullptr) {
        Error("no plug-in (load one first)");
        return;
    }
    DestroyTarget();
    m_handedOut.push_back(std::make_unique<HostObjectSet>(m_transcript, m_symbols));
    HostObjectSet& set = *m_handedOut.back();
    const char* options = words.size() > 2 ? words[2].text.c_str() : "";
    m_target = m_factory->CreateTarget(&set.sink, &set.debugInfo, &set.terminal,
                                       words[1].text.c_str(), options, 0);
    if (m_target == nullptr) {
        Error("no target created for chip '" + Escape(words[1].text) + "'");
        return;
    }
    set.installed = true;
    set.target = ++m_targetCount;
    m_transcript.Line("target " + std::to_string(set.target) + " created");
    // What a new target simulates: a program that waits for a timer, an interrupt or serial
    // timing waits for ever until its option is switched on.
    PrintOptions();
}

void Session::DoDestroy(const std::vector<Word>&) { DestroyTarget(); }

void Session::DoSettings(const std::vector<Word>& words) {
    // The host's block: 14 little-endian 32-bit words; the first seven are a comm_settings.
    uint8_t block[kSimSerialSettingsSize] = {};
    auto putWord = [&block](uint32_t index, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            block[index * 4 + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    putWord(1, 19200);
    putWord(2, 8);
    static const char* const kNamedWords[] = {"port", "baud", "data", "parity", "stop"};
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& text = words[i].text;
        size_t equals = text.find('=');
        uint32_t value = 0;
        if (equals == std::string::npos || !Number(Word{text.substr(equals + 1), false}, &value)) {
            if (equals == std::string::npos) {
                Error("KEY=VALUE expected, not '" + text + "'");
            }
            return;
        }
        std::string key = text.substr(0, equals);
        bool done = false;
        for (uint32_t w = 0; w < 5 && !done; ++w) {
            if (key == kNamedWords[w]) {
                putWord(w, value);
                done = true;
            }
        }
        uint32_t index = 0;
        if (!done && key.compare(0, 4, "word") == 0 && ParseWord32(key.substr(4), &index) &&
            index < kSimSerialSettingsSize / 4) {
            putWord(index, value);
            done = true;
        }
        if (!done && key.compare(0, 4, "byte") == 0 && ParseWord32(key.substr(4), &index) &&
            index < kSimSerialSettingsSize) {
            if (value > 0xFF) {
                Error("'" + text + "' is out of range for a byte (0x0 to 0xFF)");
                return;
            }
            block[index] = static_cast<uint8_t>(value);
            done = true;
        }
        if (!done) {
            Error("unknown setting '" + text + "'");
            return;
        }
    }
    Status(m_target->SetCommSettings(reinterpret_cast<const comm_settings*>(block)));
}

void Session::DoGetSettings(const std::vector<Word>&) {
    const auto* block = reinterpret_cast<const uint8_t*>(m_target->GetCommSettings());
    if (block == nullptr) {
        m_transcript.Line("settings: none");
        return;
    }
    std::string line = "settings:";
    for (uint32_t w = 0; w < kSimSerialSettingsSize / 4; ++w) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = value << 8 | block[w * 4 + i];
        }
        char text[16];
        std::snprintf(text, sizeof text, " %08X", value);
        line += text;
    }
    m_transcript.Line(line);
}

void Session::DoVirtualTime(const std::vector<Word>& words) {
    m_clock.VirtualTime(words[1].text, *this);
}

void Session::DoRealPorts(const std::vector<Word>& words) {
    m_clock.RealPorts(words[1].text, *this);
}

void Session::DoSymbols(const std::vector<Word>& words) {
    std::string error;
    if (!m_symbols.Load(ScriptPath(words[1].text), &error)) {
        Error(error);
        return;
    }
    m_transcript.Line("symbols: " + std::to_string(m_symbols.Size()));
}

void Session::DoObserver(const std::vector<Word>& words) {
    const std::string& mode = words[1].text;
    if (mode != "on" && mode != "off") {
        Error("usage: observer on|off");
        return;
    }
    if (m_observer == nullptr) {
        m_observer = std::make_unique<HostPortObserver>(m_transcript);
    }
    m_observer->SetActive(mode == "on");
    m_target->SetPortObserver(mode == "on" ? m_observer.get() : nullptr);
    m_transcript.Line("observer " + mode);
}

}  // namespace simhost
