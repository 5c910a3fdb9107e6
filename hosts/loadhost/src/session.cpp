// loadhost sessions: the script loop, the command table, the plug-in and its calls, and the
// host's callback.
#include "session.h"

#include <cstdio>

#include "hostscript/escape.h"
#include "hostscript/script_lines.h"
#include "result_names.h"
#include "w32/errors.h"
#include "w32/handles.h"
#include "w32/modules.h"
#include "w32/serial.h"
#include "w32test/clock.h"

namespace loadhost {
namespace {

// The session that receives the plug-in's callbacks.
std::atomic<Session*> g_session{nullptr};

void WINAPI HostCallback(int code, ProgressRecord* record) {
    Session* session = g_session.load();
    if (session != nullptr) {
        session->OnCallback(code, record);
    }
}

const char* ByName(FoundExport::By by) {
    switch (by) {
        case FoundExport::By::Decorated:
            return "decorated name";
        case FoundExport::By::Plain:
            return "plain name";
        default:
            return "";
    }
}

// An export's address as the function type the host calls it by.
template <typename Fn>
Fn As(FARPROC address) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}

// The rate a port record has unless the script names one: the one the boards listen at unless
// they are told another.
constexpr DWORD kDefaultBaud = 9600;

// The numbers each command takes.
constexpr Session::NumberRange kPortNumbers{0, kLastPortNumber};  // COM1 to COM256
constexpr Session::NumberRange kCallbackNumbers{0, 0xFFFFFFFF};
constexpr Session::NumberRange kModes{0, 1};

// The port record's numbers: the framings the system's serial driver knows.
struct NumberKey {
    const char* name;
    Session::NumberRange range;
    void (*store)(comm_settings& settings, uint32_t value);
};
const NumberKey kNumberKeys[] = {
    {"port", kPortNumbers, [](comm_settings& s, uint32_t v) { s.port = static_cast<int>(v); }},
    {"baud", {1, 0xFFFFFFFF}, [](comm_settings& s, uint32_t v) { s.baud = v; }},
    {"data", {5, 8}, [](comm_settings& s, uint32_t v) { s.dataBits = static_cast<int>(v); }},
    {"parity", {0, 4}, [](comm_settings& s, uint32_t v) { s.parity = static_cast<int>(v); }},
    {"stop", {0, 2}, [](comm_settings& s, uint32_t v) { s.stopBits = static_cast<int>(v); }},
};

std::string ComName(int portNumber) { return "COM" + std::to_string(portNumber + 1); }

std::string ComPath(int portNumber) { return "\\\\.\\" + ComName(portNumber); }

}  // namespace

const Session::Command Session::kCommands[] = {
    {"plugin", &Session::DoPlugin, 2, 2, "plugin PATH"},
    {"board", &Session::DoBoard, 3, -1, "board KIND COMn [OPTIONS]"},
    {"board-log", &Session::DoBoardLog, 1, 1, "board-log"},
    {"board-check", &Session::DoBoardCheck, 2, 2, "board-check HEXFILE"},
    {"port", &Session::DoPort, 1, 8,
     "port [port=N] [baud=N] [data=N] [parity=N] [stop=N] [handle=none|open] [run=TEXT]"},
    {"virtual-time", &Session::DoVirtualTime, 2, 2, "virtual-time on|off"},
    {"real-ports", &Session::DoRealPorts, 2, 2, "real-ports on|off"},
    {"cancel-at", &Session::DoCancelAt, 2, 2, "cancel-at N"},
    {"cancel-on", &Session::DoCancelOn, 2, 2, "cancel-on \"TEXT\""},
    {"download", &Session::DoDownload, 2, 2, "download PATH"},
    {"hdd-download", &Session::DoHddDownload, 2, 2, "hdd-download PATH"},
    {"setmode", &Session::DoSetMode, 2, 2, "setmode 0|1"},
    {"copyright", &Session::DoCopyright, 1, 1, "copyright"},
};

Session::Session(std::ostream& out) : m_out(out), m_record() {
    m_record.settings.baud = kDefaultBaud;
    m_record.settings.dataBits = 8;
    g_session.store(this);
}

Session::~Session() {
    Finish();
    Session* self = this;
    g_session.compare_exchange_strong(self, nullptr);
}

void Session::RunScript(std::istream& script) {
    int tooLong = hostscript::ForEachScriptLine(
        script, [this](const std::string& line, int number) { RunLine(line, number); });
    if (tooLong != 0) {
        m_line = tooLong;
        Error(hostscript::TooLongLineText());
        m_unreadable = true;
    }
}

void Session::RunLine(const std::string& line, int number) {
    m_line = number;
    std::vector<Word> words;
    std::string error;
    bool split = hostscript::SplitWords(line, &words, &error);
    if (split && words.empty()) {
        return;  // blank or comment
    }
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\r' || shown.back() == ' ')) {
        shown.pop_back();
    }
    Line("> " + shown);
    if (!split) {
        Error(error);
        return;
    }
    for (const Command& command : kCommands) {
        if (words[0].quoted || words[0].text != command.name) {
            continue;
        }
        int count = static_cast<int>(words.size());
        if (count < command.minWords || (command.maxWords >= 0 && count > command.maxWords)) {
            Error(std::string("usage: ") + command.usage);
        } else {
            (this->*command.handler)(words);
        }
        m_clock.ReportRefusedPorts(*this);
        return;
    }
    Error("unknown command '" + words[0].text + "'");
}

void Session::Line(const std::string& text) {
    // Every line leaves at once, as simhost's: a reader at the other end of a pipe sees a long
    // download's progress, and a loadhost that is killed has lost nothing it printed.
    m_out << text << '\n' << std::flush;
}

void Session::Error(const std::string& text) {
    ++m_errors;
    Line(m_line > 0 ? "error: line " + std::to_string(m_line) + ": " + text : "error: " + text);
}

void Session::Result(int result) {
    std::string line = "result " + std::to_string(result);
    const char* name = ResultName(result);
    if (name[0] != '\0') {
        line += std::string(" ") + name;
    }
    Line(line);
}

bool Session::Number(const Word& word, const std::string& digits, NumberRange range,
                     uint32_t* value) {
    int64_t number = 0;
    if (word.quoted || !hostscript::ParseNumber(digits, &number)) {
        Error("bad number '" + word.text + "'");
        return false;
    }
    if (number < range.low || number > range.high) {
        Error("'" + word.text + "' out of range (" + std::to_string(range.low) + " to " +
              std::to_string(range.high) + ")");
        return false;
    }
    *value = static_cast<uint32_t>(number);
    return true;
}

bool Session::NeedExport(const FoundExport& found, const char* what) {
    if (m_module == nullptr) {
        Error("no plug-in (load one first)");
        return false;
    }
    if (found.address == nullptr) {
        Error(std::string("the plug-in has no ") + what + " export");
        return false;
    }
    return true;
}

int Session::CallExport(Call call, const std::function<int()>& run) {
    m_callbacks = 0;
    m_call.store(call);
    int result = run();
    m_call.store(Call::None);
    Result(result);
    return result;
}

void Session::OnCallback(int code, ProgressRecord* record) {
    int number = ++m_callbacks;
    std::string line = "callback " + std::to_string(number) + ": ";
    std::string text;
    if (code == kProgressMessage && record != nullptr && record->text != nullptr) {
        text = record->text;
        line += "message \"" + hostscript::Escape(text) + "\"";
    } else if (code == kProgressMessage && record != nullptr && record->startMarker == -1) {
        line += "start notice";
    } else if (code >= 1 && code <= 99) {
        line += "percent " + std::to_string(code);
    } else {
        line += "code " + std::to_string(code);
    }
    if (record == nullptr) {
        line += ", no record";
    }
    bool cancel = (m_cancelAt != 0 && static_cast<uint32_t>(number) == m_cancelAt) ||
                  (!m_cancelOn.empty() && text.find(m_cancelOn) != std::string::npos);
    if (cancel && record != nullptr) {
        record->cancel = 1;
        line += " -> cancel";
    } else if (cancel) {
        line += " -> cancel not delivered (no record)";
    }
    Line(line);
    switch (m_call.load()) {
        case Call::Download:
            break;
        case Call::None:
            Error("callback after the export returned");
            break;
        default:
            Error("callback while no download runs");
            break;
    }
}

void Session::ReportTime(uint64_t startMicros) {
    uint64_t took = w32test::clock::NowMicros() - startMicros;
    char text[64];
    std::snprintf(text, sizeof text, "took %llu.%03llu ms%s",
                  static_cast<unsigned long long>(took / 1000),
                  static_cast<unsigned long long>(took % 1000),
                  w32test::clock::IsVirtual() ? "" : " (real time)");
    Line(text);
}

Session::PortState Session::RecordPortState() {
    if (boards::Board* board = BoardOnRecordPort()) {
        return board->HostOpen() ? PortState::Open : PortState::Closed;
    }
    if (m_clock.Refusing()) {
        return PortState::Refused;  // nothing could have opened it
    }
    // No board to ask: a port that cannot be opened again is still held by someone.
    HANDLE probe =
        w32::CreateFileA(ComPath(m_record.settings.port).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                         nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        w32::CloseHandle(probe);
        return PortState::Closed;
    }
    return w32::GetLastError() == ERROR_ACCESS_DENIED ? PortState::Open : PortState::Unknown;
}

void Session::ReportPort() {
    std::string name = ComName(m_record.settings.port);
    const PortState state = RecordPortState();
    if (m_heldPort != nullptr) {
        if (state != PortState::Closed) {
            // The host's own handle is on it: open whatever the plug-in did.
            Line("port " + name + " held open by the host");
            return;
        }
        // A plug-in that closes the host's handle (Tuvmar's _SetMode does): the handle is gone,
        // so the host neither closes it again nor hands it over; the next call opens by number.
        m_heldPort = nullptr;
        m_record.port = nullptr;
        Line("port " + name + " closed by the plug-in, with the host's handle");
        return;
    }
    if (state == PortState::Refused) {
        Line("port " + name + " closed (no board on it, not opened)");
        return;
    }
    if (state == PortState::Unknown) {
        Line("port " + name + " not checked (no board on it, and it cannot be opened)");
        return;
    }
    if (state == PortState::Closed) {
        Line("port " + name + " closed");
    } else {
        Error("port " + name + " left open");
    }
}

void Session::CloseHeldPort() {
    if (m_heldPort != nullptr) {
        w32::CloseHandle(m_heldPort);
        m_heldPort = nullptr;
    }
    m_record.port = nullptr;
}

int Session::Finish() {
    if (m_finished) {
        return m_unreadable ? 2 : m_errors != 0 ? 1 : 0;
    }
    m_finished = true;
    m_line = 0;
    CloseHeldPort();
    if (m_module != nullptr) {
        w32::FreeLibrary(m_module);
        m_module = nullptr;
    }
    m_boards.DetachAll();
    m_clock.RestoreClock();
    m_clock.ReleasePorts();
    Line("session end: " + std::to_string(m_errors) + (m_errors == 1 ? " error" : " errors"));
    m_out.flush();
    return m_unreadable ? 2 : m_errors != 0 ? 1 : 0;
}

void Session::DoPlugin(const std::vector<Word>& words) {
    if (m_module != nullptr) {
        Error("a plug-in is already loaded");
        return;
    }
    const std::string& path = words[1].text;
    HMODULE module = w32::LoadLibraryA(path.c_str());
    if (module == nullptr) {
        Error("cannot load plug-in '" + path + "' (error " + std::to_string(w32::GetLastError()) +
              ")");
        return;
    }
    m_module = module;
    m_word = PluginWord(path);
    m_exports = FindLoaderExports(module, m_word);
    Line("plug-in loaded: " + path + ", word " + m_word);
    struct {
        const char* what;
        const FoundExport& found;
    } listed[] = {{"Download", m_exports.download},
                  {"HDD_Download", m_exports.hddDownload},
                  {"SetMode", m_exports.setMode},
                  {"Copyright", m_exports.copyright}};
    for (const auto& entry : listed) {
        if (entry.found.address == nullptr) {
            Line(std::string(entry.what) + ": missing");
        } else {
            Line(std::string(entry.what) + ": " + entry.found.name + " (" + ByName(entry.found.by) +
                 ")");
        }
    }
}

void Session::DoPort(const std::vector<Word>& words) {
    HostPortRecord record = {};
    record.settings.baud = kDefaultBaud;
    record.settings.dataBits = 8;
    bool openHandle = false;
    bool hasRun = false;
    std::string run;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& text = words[i].text;
        size_t equals = text.find('=');
        if (equals == std::string::npos) {
            Error("KEY=VALUE expected, not '" + text + "'");
            return;
        }
        std::string key = text.substr(0, equals);
        std::string value = text.substr(equals + 1);
        if (key == "handle") {
            if (value != "none" && value != "open") {
                Error("handle=none or handle=open, not '" + text + "'");
                return;
            }
            openHandle = value == "open";
            continue;
        }
        if (key == "run") {
            hasRun = true;
            run = value;
            continue;
        }
        const NumberKey* numberKey = nullptr;
        for (const NumberKey& k : kNumberKeys) {
            if (key == k.name) {
                numberKey = &k;
            }
        }
        if (numberKey == nullptr) {
            Error("unknown key '" + key + "' (port baud data parity stop handle run)");
            return;
        }
        uint32_t number = 0;
        // A quoted KEY=VALUE word is as good as a bare one.
        if (!Number(Word{text, false}, value, numberKey->range, &number)) {
            return;
        }
        numberKey->store(record.settings, number);
    }
    CloseHeldPort();
    m_record = record;
    m_runCommand = run;
    m_record.runCommand = hasRun ? m_runCommand.c_str() : nullptr;
    const comm_settings& s = m_record.settings;
    std::string line = "port record: " + ComName(s.port) + " " + std::to_string(s.baud) + " data " +
                       std::to_string(s.dataBits) + " parity " + std::to_string(s.parity) +
                       " stop " + std::to_string(s.stopBits);
    if (openHandle) {
        HANDLE port = w32::CreateFileA(ComPath(s.port).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
        if (port == INVALID_HANDLE_VALUE) {
            Error("cannot open " + ComName(s.port) + " for the handle (error " +
                  std::to_string(w32::GetLastError()) + ")");
            return;
        }
        m_heldPort = port;
        m_record.port = port;
        line += ", handle open";
    } else {
        line += ", handle none";
    }
    line += hasRun ? ", run \"" + hostscript::Escape(m_runCommand) + "\"" : ", run none";
    Line(line);
}

void Session::DoVirtualTime(const std::vector<Word>& words) {
    m_clock.VirtualTime(words[1].text, *this);
}

void Session::DoRealPorts(const std::vector<Word>& words) {
    m_clock.RealPorts(words[1].text, *this);
}

void Session::DoCancelAt(const std::vector<Word>& words) {
    uint32_t number = 0;
    if (!Number(words[1], words[1].text, kCallbackNumbers, &number)) {
        return;
    }
    m_cancelAt = number;
    Line(number == 0 ? std::string("cancel at no callback")
                     : "cancel at callback " + std::to_string(number));
}

void Session::DoCancelOn(const std::vector<Word>& words) {
    m_cancelOn = words[1].text;
    Line(m_cancelOn.empty()
             ? std::string("cancel on no message")
             : "cancel on messages holding \"" + hostscript::Escape(m_cancelOn) + "\"");
}

void Session::DoDownload(const std::vector<Word>& words) {
    if (!NeedExport(m_exports.download, "Download")) {
        return;
    }
    auto download = As<LoaderDownloadFn>(m_exports.download.address);
    std::string path = words[1].text;
    uint64_t start = w32test::clock::NowMicros();
    CallExport(Call::Download, [&] { return download(&m_record, path.c_str(), HostCallback); });
    ReportPort();
    ReportTime(start);
}

void Session::DoHddDownload(const std::vector<Word>& words) {
    if (!NeedExport(m_exports.hddDownload, "HDD_Download")) {
        return;
    }
    auto download = As<LoaderDownloadFn>(m_exports.hddDownload.address);
    std::string path = words[1].text;
    uint64_t start = w32test::clock::NowMicros();
    CallExport(Call::Download, [&] { return download(&m_record, path.c_str(), HostCallback); });
    ReportPort();
    ReportTime(start);
}

void Session::DoSetMode(const std::vector<Word>& words) {
    uint32_t mode = 0;
    if (!NeedExport(m_exports.setMode, "SetMode") ||
        !Number(words[1], words[1].text, kModes, &mode)) {
        return;
    }
    auto setMode = As<LoaderSetModeFn>(m_exports.setMode.address);
    CallExport(Call::SetMode,
               [&] { return setMode(&m_record, static_cast<LoaderMode>(static_cast<int>(mode))); });
    // With no handle from the host the plug-in opens the port by number and must close it.
    ReportPort();
}

void Session::DoCopyright(const std::vector<Word>&) {
    if (!NeedExport(m_exports.copyright, "Copyright")) {
        return;
    }
    auto copyright = As<LoaderCopyrightFn>(m_exports.copyright.address);
    const char* banner = nullptr;
    CallExport(Call::Copyright, [&] { return copyright(&banner); });
    Line(banner != nullptr ? "banner: \"" + hostscript::Escape(banner) + "\""
                           : std::string("banner: none"));
}

}  // namespace loadhost
