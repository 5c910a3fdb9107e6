// The test machine's instructions, spaces, registers and host-facing operations.
#include "fake_target.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "hexfile/hex_reader.h"

namespace {

const char* const kRegisterNames[] = {"A", "SP", "PC"};
const char* const kPortNames[] = {"Port0", "Port1", "Port2", "Port3"};
constexpr uint8_t kSbuf = 0x99;

uint32_t LengthOf(uint8_t opcode) {
    switch (opcode) {
        case 0x02:
        case 0x12:
            return 3;
        case 0x70:
        case 0x74:
        case 0x80:
        case 0xE5:
        case 0xF5:
            return 2;
        default:
            return 1;
    }
}

}  // namespace

CFakeTarget::CFakeTarget(const char* options) {
    if (options != nullptr) {
        std::snprintf(m_options, sizeof m_options, "%s", options);
    }
}

CFakeTarget::~CFakeTarget() {
    if (std::strcmp(m_options, "ForgetSink") == 0) {
        SetMessageSink(nullptr);
    }
}

void* CFakeTarget::Destroy(uint32_t flags) {
    // The destructor is virtual from here on, so both forms reach a derived test target too.
    if ((flags & kSimDestroyFree) != 0) {
        delete this;
    } else {
        this->~CFakeTarget();
    }
    return this;
}

bool CFakeTarget::CreateSpaces() {
    m_data = CMemorySegment::Create(kDataSize, this);
    m_program = CProgramMemory::Create(kProgramSize, this);
    m_callStack.reset(new (std::nothrow) CCallStack);
    return m_data != nullptr && m_program != nullptr && m_callStack != nullptr;
}

bool CFakeTarget::LoadImage(uint32_t address, const uint8_t* bytes, uint32_t count) {
    if (!CreateSpaces() || !m_program->WriteLoaded(address, count, bytes)) {
        return false;
    }
    SetLoaded(true);
    return true;
}

int32_t CFakeTarget::StoreRecord(void* context, uint32_t address, uint32_t count,
                                 const uint8_t* bytes) {
    auto* target = static_cast<CFakeTarget*>(context);
    return target->m_program->WriteLoaded(address, count, bytes) ? 0 : kHexOutOfRange;
}

void CFakeTarget::RelayMessage(void* context, int32_t level, const char* text) {
    static_cast<CFakeTarget*>(context)->OutputMessage(level, text);
}

SimStatus CFakeTarget::LoadProgram(const char* path) {
    if (!CreateSpaces()) {
        return SIM_LOAD_FAILED;
    }
    if (ReadHexFile(this, path, kHexFormatIntel, StoreRecord, RelayMessage) != kHexOk) {
        return SIM_LOAD_FAILED;
    }
    SetLoaded(true);
    return SIM_OK;
}

SimStatus CFakeTarget::StartDebugging() {
    ++m_starts;
    std::strncat(m_trail, "R", sizeof m_trail - std::strlen(m_trail) - 1);
    m_sp = 7;
    m_a = 0;
    m_pc = m_program->GetLowest() < kProgramSize ? m_program->GetLowest() : 0;
    PushCallFrame(m_callStack.get(), m_pc, kNoCaller, kFrameRestart, false);
    return SIM_OK;
}

SimStatus CFakeTarget::StopDebugging() {
    ++m_stops;
    m_trail[0] = '\0';
    std::strncat(m_trail, "S", sizeof m_trail - 1);
    m_callStack->Clear();
    m_data->Fill(0);
    m_pc = 0xFFFF;
    RaiseBreakRequest();
    return SIM_OK;
}

uint8_t CFakeTarget::OpcodeAt(uint32_t address) { return m_program->ReadByte(address); }

SimStatus CFakeTarget::Push(uint8_t value) {
    ++m_sp;
    return m_data->WriteByte(m_sp, value) ? SIM_OK : SIM_STACK_FAULT;
}

SimStatus CFakeTarget::ExecuteInstruction() {
    if (m_pc >= kProgramSize) {
        return SIM_OUT_OF_RANGE;
    }
    ++m_executed;
    uint32_t before[4];
    ReadPorts(before);
    uint8_t opcode = OpcodeAt(m_pc);
    uint8_t b1 = m_pc + 1 < kProgramSize ? m_program->ReadByte(m_pc + 1) : 0;
    uint8_t b2 = m_pc + 2 < kProgramSize ? m_program->ReadByte(m_pc + 2) : 0;
    uint32_t next = m_pc + LengthOf(opcode);
    SimStatus status = SIM_OK;
    switch (opcode) {
        case 0x00:
            break;
        case 0x02:
            next = static_cast<uint32_t>(b1 << 8 | b2);
            break;
        case 0x04:
            ++m_a;
            break;
        case 0x12: {
            status = Push(static_cast<uint8_t>(next & 0xFF));
            if (status == SIM_OK) {
                status = Push(static_cast<uint8_t>(next >> 8));
            }
            if (status == SIM_OK) {
                uint32_t target = static_cast<uint32_t>(b1 << 8 | b2);
                PushCallFrame(m_callStack.get(), target, next, kFrameLcall, false);
                next = target;
            }
            break;
        }
        case 0x22: {
            uint8_t high = m_data->ReadByte(m_sp--);
            uint8_t low = m_data->ReadByte(m_sp--);
            next = static_cast<uint32_t>(high << 8 | low);
            m_callStack->PopTo(next);
            break;
        }
        case 0x70:
            if (m_a != 0) {
                next = static_cast<uint32_t>(next + static_cast<int8_t>(b1)) & 0xFFFF;
            }
            break;
        case 0x74:
            m_a = b1;
            break;
        case 0x80:
            next = static_cast<uint32_t>(next + static_cast<int8_t>(b1)) & 0xFFFF;
            break;
        case 0xE5:
            if (b1 == kSbuf) {
                m_a = 0;
                if (m_inputCount > 0) {
                    m_a = m_input[m_inputFirst];
                    m_inputFirst = (m_inputFirst + 1) % sizeof m_input;
                    --m_inputCount;
                }
            } else {
                m_a = m_data->ReadByte(b1);
            }
            break;
        case 0xF5:
            if (b1 == kSbuf) {
                SerialOutput(0, &m_a, 1);
            } else {
                m_data->WriteByte(b1, m_a);
            }
            break;
        default:
            OutputMessage(0, "fake target: unknown opcode");
            status = SIM_UNKNOWN_OPCODE;
            break;
    }
    if (status == SIM_OK) {
        m_pc = next;
    }
    if (m_observer != nullptr && m_observer->IsActive() != 0) {
        uint32_t after[4];
        ReadPorts(after);
        if (std::memcmp(before, after, sizeof before) != 0) {
            ReportPorts();
        }
    }
    return status;
}

void CFakeTarget::ReadPorts(uint32_t values[4]) {
    values[0] = m_a;
    values[1] = m_sp;
    values[2] = m_pc & 0xFF;
    values[3] = (m_pc >> 8) & 0xFF;
}

void CFakeTarget::ReportPorts() {
    if (m_observer == nullptr) {
        return;
    }
    uint32_t values[4];
    ReadPorts(values);
    m_observer->UpdateValues(kPortNames, values, 4);
}

bool CFakeTarget::IsUnconditionalTransferAt(uint32_t address) {
    uint8_t opcode = OpcodeAt(address);
    return opcode == 0x02 || opcode == 0x22 || opcode == 0x80;
}

bool CFakeTarget::IsRelativeBranchAt(uint32_t address) {
    uint8_t opcode = OpcodeAt(address);
    return opcode == 0x70 || opcode == 0x80;
}

void CFakeTarget::SetPortObserver(ISimPortObserver* observer) { m_observer = observer; }

int32_t CFakeTarget::GetRegisterCount() { return 3; }

const char* CFakeTarget::GetRegisterName(int32_t index) {
    return index >= 0 && index < 3 ? kRegisterNames[index] : "";
}

uint32_t CFakeTarget::GetRegister(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    if (std::strcmp(name, "A") == 0) {
        return m_a;
    }
    if (std::strcmp(name, "SP") == 0) {
        return m_sp;
    }
    if (std::strcmp(name, "PC") == 0) {
        return m_pc;
    }
    return 0;
}

void CFakeTarget::SetRegister(const char* name, uint32_t value) {
    if (name == nullptr) {
        return;
    }
    if (std::strcmp(name, "A") == 0) {
        m_a = static_cast<uint8_t>(value);
    } else if (std::strcmp(name, "SP") == 0) {
        m_sp = static_cast<uint8_t>(value);
    } else if (std::strcmp(name, "PC") == 0) {
        m_pc = value & 0xFFFF;
    }
}

void CFakeTarget::GetPeripheralItemText(int32_t index, SimPeripheralItem* item) {
    if (item == nullptr) {
        return;
    }
    std::memset(item, 0, sizeof *item);
    if (index != 0) {
        return;
    }
    item->kind = 3;
    std::snprintf(item->name, sizeof item->name, "serial input");
    std::snprintf(item->valueText, sizeof item->valueText, "%u bytes waiting", m_inputCount);
    item->value = static_cast<int32_t>(m_inputCount);
}

void CFakeTarget::EditPeripheralItem(int32_t index, SimPeripheralItem* item) {
    // Only emptying the input is an edit this item takes.
    if (index == 0 && item != nullptr && item->value == 0) {
        m_inputFirst = 0;
        m_inputCount = 0;
    }
}

SimStatus CFakeTarget::SetCommSettings(const comm_settings* settings) {
    if (settings != nullptr) {
        std::memcpy(m_settings, settings, sizeof m_settings);
    }
    return SIM_OK;
}

const comm_settings* CFakeTarget::GetCommSettings() {
    return reinterpret_cast<const comm_settings*>(m_settings);
}

SimStatus CFakeTarget::PutSerialInput(int32_t channel, const uint8_t* bytes, uint32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (channel != 0) {
        return SIM_NOT_SUPPORTED;
    }
    if (count > sizeof m_input - m_inputCount) {
        return SIM_OUT_OF_RANGE;
    }
    for (uint32_t i = 0; i < count; ++i) {
        m_input[(m_inputFirst + m_inputCount) % sizeof m_input] = bytes[i];
        ++m_inputCount;
    }
    return SIM_OK;
}

uint8_t CFakeTarget::GetMemorySpaceInfo(int32_t space, const char** name, uint32_t* size) {
    if (space < 0 || space > 1) {
        return 0;
    }
    CMemorySegment* segment = space == 0 ? m_data.get() : m_program.get();
    if (name != nullptr) {
        *name = space == 0 ? "Data Memory" : "Program Memory";
    }
    if (size != nullptr) {
        *size = segment != nullptr ? segment->GetSize() : 0;
    }
    return 1;
}

SimStatus CFakeTarget::ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                  uint32_t* countRead, int32_t space) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    CMemorySegment* segment = space == 0 ? m_data.get() : space == 1 ? m_program.get() : nullptr;
    if (segment == nullptr || !segment->IsAddressValid(address)) {
        return SIM_OUT_OF_RANGE;
    }
    uint32_t n = segment->GetSize() - address < count ? segment->GetSize() - address : count;
    if (n != 0) {
        std::memcpy(buffer, segment->PointerAt(address), n);
    }
    if (countRead != nullptr) {
        *countRead = n;
    }
    return SIM_OK;
}

SimStatus CFakeTarget::WriteMemory(uint32_t address, const uint8_t* bytes, uint32_t count,
                                   uint32_t* countWritten, int32_t space) {
    if (countWritten != nullptr) {
        *countWritten = 0;
    }
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    CMemorySegment* segment = space == 0 ? m_data.get() : space == 1 ? m_program.get() : nullptr;
    if (segment == nullptr) {
        return SIM_OUT_OF_RANGE;
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (!segment->IsAddressValid(address + i)) {
            return SIM_OUT_OF_RANGE;
        }
        segment->WriteByte(address + i, bytes[i]);
        if (countWritten != nullptr) {
            ++*countWritten;
        }
    }
    return SIM_OK;
}

SimStatus CFakeTarget::GetRegisterDumpText(char* buffer, int32_t length, int32_t) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (buffer != nullptr && length > 0) {
        std::snprintf(buffer, static_cast<size_t>(length),
                      "A       0x%02X\r\nSP      0x%02X\r\nPC    0x%04X\r\n", m_a, m_sp, m_pc);
    }
    return SIM_OK;
}

SimStatus CFakeTarget::GetPC(uint32_t* pc) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *pc = m_pc;
    return SIM_OK;
}

SimStatus CFakeTarget::GetSP(uint32_t* sp) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *sp = m_sp;
    return SIM_OK;
}

SimStatus CFakeTarget::GetPCAndFrame(uint32_t* pc, uint32_t* frame) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *pc = m_pc;
    const CallStackFrame* top = m_callStack->Top();
    *frame = top != nullptr ? top->sfp : 0xFFFFFFFFu;
    return SIM_OK;
}

SimStatus CFakeTarget::GetCallStackText(char* buffer, int32_t length) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    m_callStack->GetText(*this, buffer, length);
    return SIM_OK;
}

SimStatus CFakeTarget::IsReturnAt(uint32_t address, uint8_t* result) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *result = OpcodeAt(address) == 0x22 ? 1 : 0;
    return SIM_OK;
}

SimStatus CFakeTarget::IsCallAt(uint32_t address, uint8_t* result) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *result = OpcodeAt(address) == 0x12 ? 1 : 0;
    return SIM_OK;
}

SimStatus CFakeTarget::GetNextInstructionAddress(uint32_t address, uint32_t* next) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *next = address + LengthOf(OpcodeAt(address));
    return SIM_OK;
}
