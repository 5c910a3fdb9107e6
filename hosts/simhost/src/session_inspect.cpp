// simhost commands that look at and change the target: registers, memory spaces, the call
// stack, PC queries, peripheral items, option words, capabilities and serial input.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "session.h"

namespace simhost {

namespace {

// Text buffers handed to the target for its dump and call-stack texts.
constexpr int32_t kTextBufferSize = 8192;

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool Session::KnownRegister(const std::string& name) {
    // Targets answer 0 for a name they do not know and ignore a write to it: only the list they
    // give tells a mistyped name from a register that holds 0.
    int32_t count = m_target->GetRegisterCount();
    for (int32_t i = 0; i < count; ++i) {
        const char* known = m_target->GetRegisterName(i);
        if (known != nullptr && name == known) {
            return true;
        }
    }
    Error("unknown register '" + Escape(name) + "' (`regs` lists the target's registers)");
    return false;
}

bool Session::SpaceOf(const Word& word, int32_t* space) {
    uint32_t number = 0;
    if (!word.quoted && ParseWord32(word.text, &number)) {
        if (number > kMaxSigned32) {
            Error("'" + word.text + "' is out of range for a space (0x0 to 0x7FFFFFFF)");
            return false;
        }
        *space = static_cast<int32_t>(number);  // the target answers for a number it lacks
        return true;
    }
    std::string list;
    int32_t count = m_target->GetMemorySpaceCount();
    for (int32_t i = 0; i < count; ++i) {
        const char* name = nullptr;
        uint32_t size = 0;
        if (m_target->GetMemorySpaceInfo(i, &name, &size) == 0 || name == nullptr) {
            continue;
        }
        if (SameNameIgnoringCase(word.text, name)) {
            *space = i;
            return true;
        }
        list += (list.empty() ? "" : ", ") + std::to_string(i) + " \"" + Escape(name) + "\"";
    }
    Error("unknown space '" + Escape(word.text) +
          "'; the target's spaces: " + (list.empty() ? std::string("none") : list));
    return false;
}

void Session::DoRegisters(const std::vector<Word>&) {
    int32_t count = m_target->GetRegisterCount();
    for (int32_t i = 0; i < count; ++i) {
        const char* name = m_target->GetRegisterName(i);
        std::string shown = name != nullptr ? name : "";
        m_transcript.Line(Escape(shown) + " = " +
                          m_family.RegisterText(shown, m_target->GetRegister(shown.c_str())));
    }
    if (count <= 0) {
        m_transcript.Line("no registers");
    }
}

void Session::DoRegister(const std::vector<Word>& words) {
    const std::string& name = words[1].text;
    if (!KnownRegister(name)) {
        return;
    }
    if (words.size() > 2) {
        uint32_t value = 0;
        if (!Number(words[2], &value)) {
            return;
        }
        // The target would keep only the low bits without a word.
        int bits = m_family.RegisterBits(name);
        if (bits > 0 && bits < 32 && (value >> bits) != 0) {
            Error(words[2].text + " does not fit " + Escape(name) + " (" + std::to_string(bits) +
                  " bits)");
            return;
        }
        m_target->SetRegister(name.c_str(), value);
    }
    m_transcript.Line(Escape(name) + " = " +
                      m_family.RegisterText(name, m_target->GetRegister(name.c_str())));
}

void Session::DoDump(const std::vector<Word>& words) {
    uint32_t word = 0;
    if (words.size() > 1 && !Number(words[1], &word)) {
        return;
    }
    std::vector<char> text(kTextBufferSize, '\0');
    SimStatus status =
        m_target->GetRegisterDumpText(text.data(), kTextBufferSize, static_cast<int32_t>(word));
    Status(status);
    if (status == SIM_OK) {
        text.back() = '\0';
        PrintMultiline(text.data());
    }
}

void Session::DoSpaces(const std::vector<Word>& words) {
    // One space, or every space the target counts.
    std::vector<int32_t> shown;
    if (words.size() > 1) {
        int32_t space = 0;
        if (!SpaceOf(words[1], &space)) {
            return;
        }
        shown.push_back(space);
    } else {
        int32_t count = m_target->GetMemorySpaceCount();
        m_transcript.Line("spaces: " + std::to_string(count));
        for (int32_t i = 0; i < count; ++i) {
            shown.push_back(i);
        }
    }
    for (int32_t i : shown) {
        const char* name = nullptr;
        uint32_t size = 0;
        if (m_target->GetMemorySpaceInfo(i, &name, &size) == 0) {
            m_transcript.Line("space " + std::to_string(i) + ": not valid");
            continue;
        }
        m_transcript.Line("space " + std::to_string(i) + ": " +
                          Escape(name != nullptr ? std::string(name) : std::string()) + ", " +
                          std::to_string(size) + " bytes");
    }
}

void Session::DoRead(const std::vector<Word>& words) {
    int32_t space = 0;
    uint32_t address = 0;
    uint32_t count = 0;
    if (!SpaceOf(words[1], &space) || !Number(words[2], &address) ||
        !NumberIn(words[3], 0, 0x10000, "a count of bytes read at a time", &count)) {
        return;
    }
    std::vector<uint8_t> bytes(count + 1, 0);
    uint32_t read = 0;
    SimStatus status = m_target->ReadMemory(address, bytes.data(), count, &read, space);
    Status(status, status == SIM_OK ? " read=" + std::to_string(read) : std::string());
    if (status != SIM_OK) {
        return;
    }
    read = read < count ? read : count;
    for (uint32_t row = 0; row < read; row += 16) {
        std::string line = Hex(address + row, 4) + ":";
        for (uint32_t i = row; i < read && i < row + 16; ++i) {
            line += " " + Hex(bytes[i], 2);
        }
        m_transcript.Line(line);
    }
}

void Session::DoWrite(const std::vector<Word>& words) {
    int32_t space = 0;
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!SpaceOf(words[1], &space) || !Number(words[2], &address)) {
        return;
    }
    if (!ParseBytes(words, 3, &bytes, &error)) {
        Error(error);
        return;
    }
    uint32_t written = 0;
    SimStatus status = m_target->WriteMemory(address, bytes.data(),
                                             static_cast<uint32_t>(bytes.size()), &written, space);
    Status(status, " written=" + std::to_string(written));
}

void Session::DoCallStack(const std::vector<Word>&) {
    std::vector<char> text(kTextBufferSize, '\0');
    SimStatus status = m_target->GetCallStackText(text.data(), kTextBufferSize);
    Status(status);
    text.back() = '\0';
    PrintMultiline(text.data());
}

void Session::DoPC(const std::vector<Word>&) {
    uint32_t pc = 0;
    SimStatus status = m_target->GetPC(&pc);
    if (status != SIM_OK) {
        Status(status);
        return;
    }
    m_transcript.Line("pc=" + Hex(pc, 4));
}

void Session::DoSP(const std::vector<Word>&) {
    uint32_t sp = 0;
    SimStatus status = m_target->GetSP(&sp);
    if (status != SIM_OK) {
        Status(status);
        return;
    }
    m_transcript.Line("sp=" + Hex(sp, 2));
}

void Session::DoFrame(const std::vector<Word>&) {
    uint32_t pc = 0;
    uint32_t frame = 0;
    SimStatus status = m_target->GetPCAndFrame(&pc, &frame);
    if (status != SIM_OK) {
        Status(status);
        return;
    }
    m_transcript.Line("pc=" + Hex(pc, 4) + " frame=" + Hex(frame, 2));
}

void Session::DoIsCall(const std::vector<Word>& words) {
    uint32_t address = 0;
    uint8_t result = 0;
    if (Number(words[1], &address)) {
        SimStatus status = m_target->IsCallAt(address, &result);
        Status(status, status == SIM_OK ? " call=" + std::to_string(result) : std::string());
    }
}

void Session::DoIsReturn(const std::vector<Word>& words) {
    uint32_t address = 0;
    uint8_t result = 0;
    if (Number(words[1], &address)) {
        SimStatus status = m_target->IsReturnAt(address, &result);
        Status(status, status == SIM_OK ? " return=" + std::to_string(result) : std::string());
    }
}

void Session::DoNext(const std::vector<Word>& words) {
    uint32_t address = 0;
    uint32_t next = 0;
    if (Number(words[1], &address)) {
        SimStatus status = m_target->GetNextInstructionAddress(address, &next);
        Status(status, status == SIM_OK ? " next=" + Hex(next, 4) : std::string());
    }
}

namespace {

// A fixed text field of a record, read only up to its size.
std::string FieldText(const char* field, size_t size) {
    const void* end = std::memchr(field, '\0', size);
    return std::string(field, end != nullptr ? static_cast<const char*>(end) - field : size);
}

std::string ItemLine(int32_t index, const SimPeripheralItem& item) {
    std::string name = FieldText(item.name, sizeof item.name);
    std::string text = FieldText(item.valueText, sizeof item.valueText);
    return "item " + std::to_string(index) + ": kind " + std::to_string(item.kind) + ", \"" +
           Escape(name) + "\" = " + std::to_string(item.value) + " \"" + Escape(text) + "\"";
}

}  // namespace

void Session::DoPeripherals(const std::vector<Word>&) {
    int32_t count = m_target->GetPeripheralItemCount();
    m_transcript.Line("peripheral items: " + std::to_string(count));
    for (int32_t i = 0; i < count; ++i) {
        SimPeripheralItem item = {};
        m_target->GetPeripheralItemText(i, &item);
        m_transcript.Line(ItemLine(i, item));
    }
}

void Session::DoPeripheral(const std::vector<Word>& words) {
    uint32_t index = 0;
    uint32_t value = 0;
    if (!NumberIn(words[1], 0, kMaxSigned32, "an item index", &index) ||
        !Number(words[2], &value)) {
        return;
    }
    // The edit record is the item as the target shows it, with the new value.
    SimPeripheralItem item = {};
    m_target->GetPeripheralItemText(static_cast<int32_t>(index), &item);
    item.value = static_cast<int32_t>(value);
    m_target->EditPeripheralItem(static_cast<int32_t>(index), &item);
    item = SimPeripheralItem{};
    m_target->GetPeripheralItemText(static_cast<int32_t>(index), &item);
    m_transcript.Line(ItemLine(static_cast<int32_t>(index), item));
}

void Session::DoOptions(const std::vector<Word>&) { PrintOptions(); }

void Session::DoOption(const std::vector<Word>& words) {
    const std::string& name = words[1].text;
    uint32_t value = 0;
    if (!Number(words[2], &value)) {
        return;
    }
    int32_t v = static_cast<int32_t>(value);
    if (name == "timers") {
        m_target->SetSimulateTimers(v);
    } else if (name == "interrupts") {
        m_target->SetSimulateInterrupts(v);
    } else if (name == "serial") {
        m_target->SetSimulateSerial(v);
    } else if (name == "hardware-ports") {
        m_target->SetHardwarePortMode(v);
    } else {
        Error("unknown option '" + name + "'");
        return;
    }
    DoOptions(words);
}

void Session::DoCapability(const std::vector<Word>& words) {
    uint32_t kind = 0;
    if (Number(words[1], &kind)) {
        m_transcript.Line("capability " + std::to_string(kind) + ": " +
                          std::to_string(m_target->HasCapability(static_cast<int32_t>(kind))));
    }
}

void Session::DoSerialIn(const std::vector<Word>& words) {
    uint32_t channel = 0;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!NumberIn(words[1], 0, kMaxSigned32, "a channel", &channel)) {
        return;
    }
    if (!ParseBytes(words, 2, &bytes, &error)) {
        Error(error);
        return;
    }
    // An 8051 whose program has not switched its receiver on takes nothing in, and says nothing
    // about it: the host tells, from the receiver's enable bit as it was when the bytes came.
    bool receiverOff = m_family.Is8051() && (m_target->GetRegister(TargetFamily::kSerialControl) &
                                             TargetFamily::kReceiveEnable) == 0;
    SimStatus status = m_target->PutSerialInput(static_cast<int32_t>(channel), bytes.data(),
                                                static_cast<uint32_t>(bytes.size()));
    Status(status);
    if (status == SIM_OK && receiverOff && !bytes.empty()) {
        m_transcript.Line(std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes") +
                          " dropped: the program's receiver is off (REN in SCON is clear)");
    }
}

}  // namespace simhost
