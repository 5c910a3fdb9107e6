// The simulated 8051: construction, memory spaces, option words, queries, start and stop, the
// chip's own operations of slots 65 to 74, and what the engine asks of its host.
#include "c8051_target.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "peripheral_items.h"
#include "simtarget/opcode_facts.h"
#include "ostrel/sfr.h"
#include "w32/clock.h"

namespace ostrel {

namespace {

const char* const kPortNames[4] = {"Port0", "Port1", "Port2", "Port3"};

int32_t SpaceIndex(ChipSpace space) {
    switch (space) {
        case ChipSpace::Sfr:
            return kSpaceSfr;
        case ChipSpace::Code:
            return kSpaceProgram;
        case ChipSpace::InternalRam:
            return kSpaceInternalRam;
        default:
            return kSpaceExternalData;
    }
}

// The settings block's parity word (the fourth 32-bit word).
constexpr size_t kParityOffset = 12;

}  // namespace

C8051Target::C8051Target(const char* chipId, const char* options, ChipFamily family)
    : m_extMem(ParseExtMemOption(options)), m_chip(family, *this) {
    m_chipInfo = FindChip(chipId);
    if (m_chipInfo == nullptr) {
        m_chipInfo = &kChipCatalogue[0];
    }
}

C8051Target::~C8051Target() = default;

void* SIM_CALL C8051Target::Destroy(uint32_t flags) {
    // The destructor is virtual from here on, so both forms reach every chip's class.
    if ((flags & kSimDestroyFree) != 0) {
        delete this;
    } else {
        this->~C8051Target();
    }
    return this;
}

CMemorySegment* C8051Target::Space(int32_t space) {
    if (space == kSpaceExternalData && m_extMem == ExtMemMode::Overlapped) {
        // MOVX reaches program memory in this mode, and the host sees what MOVX sees.
        return m_program.get();
    }
    return Segment(space);
}

void C8051Target::BindChipMemory() {
    auto view = [this](int32_t space) {
        MemoryView bytes;
        if (CMemorySegment* segment = Space(space)) {
            segment->GetBuffer(&bytes.bytes, &bytes.size);
        }
        return bytes;
    };
    m_chip.BindMemory(view(kSpaceSfr), view(kSpaceProgram), view(kSpaceInternalRam),
                      view(kSpaceExternalData));
}

void SIM_CALL C8051Target::SetPortObserver(ISimPortObserver* observer) { m_observer = observer; }

void SIM_CALL C8051Target::SetSimulateTimers(int32_t value) {
    m_options[kOptionTimers] = value;
    m_chip.SetSimulateTimers(value != 0);
}

void SIM_CALL C8051Target::SetSimulateInterrupts(int32_t value) {
    m_options[kOptionInterrupts] = value;
    m_chip.SetSimulateInterrupts(value != 0);
}

void SIM_CALL C8051Target::SetSimulateSerial(int32_t value) {
    m_options[kOptionSerial] = value;
    m_chip.SetSimulateSerial(value != 0);
}

int32_t SIM_CALL C8051Target::GetRegisterCount() { return CRegisterFile::GetNameCount(); }

const char* SIM_CALL C8051Target::GetRegisterName(int32_t index) {
    return CRegisterFile::GetName(index);
}

uint32_t SIM_CALL C8051Target::GetRegister(const char* name) {
    return IsLoaded() ? m_chip.Registers().Get(name) : 0;
}

void SIM_CALL C8051Target::SetRegister(const char* name, uint32_t value) {
    if (IsLoaded()) {
        m_chip.Registers().Set(name, value);
    }
}

int32_t SIM_CALL C8051Target::GetPeripheralItemCount() { return kPeripheralItemCount; }

void SIM_CALL C8051Target::GetPeripheralItemText(int32_t index, SimPeripheralItem* item) {
    if (item == nullptr) {
        return;
    }
    if (!IsLoaded()) {
        std::memset(item, 0, sizeof(*item));
        return;
    }
    DescribePeripheralItem(m_chip.Registers(), index, item);
}

void SIM_CALL C8051Target::EditPeripheralItem(int32_t index, SimPeripheralItem* item) {
    if (item != nullptr && IsLoaded()) {
        ostrel::EditPeripheralItem(m_chip.Registers(), index, *item);
    }
}

int32_t SIM_CALL C8051Target::HasCapability(int32_t kind) {
    return (kind == 1 || kind == 3 || kind == 4) ? 1 : 0;
}

SimStatus SIM_CALL C8051Target::SetCommSettings(const comm_settings* settings) {
    if (settings == nullptr) {
        return SIM_OK;
    }
    std::memcpy(m_serialSettings, settings, kSerialSettingsSize);
    m_chip.Serial().SetReceiveParity(StoredParity());
    // Opens the board port when it is closed; an open port keeps the settings for its next
    // open. A port that cannot be opened shows up when the kernel link looks for the board.
    m_boardPort.SetCommPort(settings);
    return SIM_OK;
}

const comm_settings* SIM_CALL C8051Target::GetCommSettings() {
    return reinterpret_cast<const comm_settings*>(m_serialSettings);
}

uint32_t C8051Target::StoredParity() const {
    uint32_t parity = 0;
    std::memcpy(&parity, m_serialSettings + kParityOffset, sizeof(parity));
    return parity;
}

SimStatus SIM_CALL C8051Target::PutSerialInput(int32_t channel, const uint8_t* bytes,
                                               uint32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (channel != 0) {
        return SIM_NOT_SUPPORTED;
    }
    CSerialPort& serial = m_chip.Serial();
    if ((m_chip.Sfr()[sfr::SCON] & sfr::SCON_REN) == 0 || bytes == nullptr || count == 0) {
        return SIM_OK;
    }
    // The receiver holds one byte: the rest wait, in order, until the program has read it.
    if (!serial.QueueInput(bytes, count)) {
        return SIM_NOT_SUPPORTED;  // none of the bytes is taken
    }
    serial.DeliverInput();
    return SIM_OK;
}

uint8_t SIM_CALL C8051Target::GetMemorySpaceInfo(int32_t space, const char** name, uint32_t* size) {
    // The shared names; the size is of the segment the host reads, which in the "Overlapped"
    // mode is program memory for space 3.
    if (SpaceInfo(space, name, nullptr) == 0) {
        return 0;
    }
    if (size != nullptr) {
        CMemorySegment* segment = Space(space);
        *size = segment != nullptr ? segment->GetSize() : 0;
    }
    return 1;
}

SimStatus SIM_CALL C8051Target::ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                           uint32_t* countRead, int32_t space) {
    if (countRead != nullptr) {
        *countRead = 0;
    }
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    CMemorySegment* segment = Space(space);
    if (segment == nullptr || !segment->IsAddressValid(address)) {
        return SIM_OUT_OF_RANGE;
    }
    const uint32_t copied = std::min(count, segment->GetSize() - address);
    if (copied > 0 && buffer == nullptr) {
        return SIM_OUT_OF_RANGE;
    }
    if (copied > 0) {
        std::memcpy(buffer, segment->PointerAt(address), copied);
    }
    if (countRead != nullptr) {
        *countRead = copied;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::WriteMemory(uint32_t address, const uint8_t* bytes, uint32_t count,
                                            uint32_t* countWritten, int32_t space) {
    if (countWritten != nullptr) {
        *countWritten = 0;
    }
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (space == kSpaceProgram) {
        return SIM_NOT_SUPPORTED;
    }
    CMemorySegment* segment = Space(space);
    if (segment == nullptr) {
        return SIM_OUT_OF_RANGE;
    }
    if (count > 0 && bytes == nullptr) {
        return SIM_OUT_OF_RANGE;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t at = address + i;
        if (at < address || at >= segment->GetSize()) {
            return SIM_OUT_OF_RANGE;
        }
        const bool stored = space == kSpaceSfr
                                ? m_chip.Registers().WriteDirect(static_cast<uint8_t>(at), bytes[i])
                                : segment->WriteByte(at, bytes[i]);
        if (!stored) {
            return SIM_OUT_OF_RANGE;
        }
        if (countWritten != nullptr) {
            *countWritten = i + 1;
        }
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetRegisterDumpText(char* buffer, int32_t length, int32_t) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (length > 0) {
        m_chip.Registers().WriteDumpText(buffer, static_cast<size_t>(length));
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetPC(uint32_t* pc) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (pc != nullptr) {
        *pc = m_chip.Registers().Pc();
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetSP(uint32_t* sp) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (sp != nullptr) {
        *sp = m_chip.Registers().Sp();
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetPCAndFrame(uint32_t* pc, uint32_t* frame) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (pc != nullptr) {
        *pc = m_chip.Registers().Pc();
    }
    if (frame != nullptr) {
        const CallStackFrame* top = m_callStack->Top();
        *frame = top != nullptr ? top->sfp : 0xFFFFFFFFu;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetCallStackText(char* buffer, int32_t length) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (buffer != nullptr) {
        m_callStack->GetText(*this, buffer, length);
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::IsReturnAt(uint32_t address, uint8_t* result) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (result != nullptr) {
        *result = opcodes::IsReturn(m_program->ReadByte(address)) ? 1 : 0;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::IsCallAt(uint32_t address, uint8_t* result) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (result != nullptr) {
        *result = opcodes::IsCall(m_program->ReadByte(address)) ? 1 : 0;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetNextInstructionAddress(uint32_t address, uint32_t* next) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (next != nullptr) {
        *next =
            address + static_cast<uint32_t>(opcodes::InstructionSize(m_program->ReadByte(address)));
    }
    return SIM_OK;
}

bool C8051Target::IsUnconditionalTransferAt(uint32_t address) {
    return m_program && opcodes::IsUnconditionalTransfer(m_program->ReadByte(address));
}

bool C8051Target::IsRelativeBranchAt(uint32_t address) {
    return m_program && opcodes::IsRelativeBranch(m_program->ReadByte(address));
}

void C8051Target::PushCallFrame(uint32_t address, uint32_t from, uint8_t kind) {
    CTargetBase::PushCallFrame(m_callStack.get(), address, from, kind, false);
}

SimStatus C8051Target::StartDebugging() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    m_chip.Reset();
    // A program without data starts where the chip does after its reset.
    const uint32_t lowest = m_program->GetLowest();
    CRegisterFile& registers = m_chip.Registers();
    registers.SetPc(static_cast<uint16_t>(lowest == 0xFFFFFFFFu ? 0 : lowest));
    PushCallFrame(registers.Pc(), kNoCaller, kFrameRestart);
    return SIM_OK;
}

SimStatus C8051Target::StopDebugging() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    m_callStack->Clear();
    m_internalRam->Fill(0);
    if (m_externalData) {
        // Overlapped external data is program memory, which a stop must not wipe.
        m_externalData->Fill(0);
    }
    if (CMconRegister* mcon = m_chip.Mcon()) {
        mcon->ClearData();
    }
    m_chip.Registers().SetPc(0xFFFF);
    RaiseBreakRequest();
    w32::Sleep(100);
    return SIM_OK;
}

void C8051Target::ReportPorts() {
    if (m_observer == nullptr) {
        return;
    }
    uint32_t values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = GetRegister(kPortNames[i]);
    }
    m_observer->UpdateValues(kPortNames, values, 4);
}

int32_t C8051Target::GetHardwarePortsActive() { return m_options[kOptionHardwarePortsActive]; }

void C8051Target::SetHardwarePortsActive(int32_t value) {
    m_options[kOptionHardwarePortsActive] = value;
}

void C8051Target::AdvanceTimers(int32_t count, int32_t cycleIndex) {
    if (IsLoaded()) {
        m_chip.BringUpToDate();
        m_chip.RunMachineCycle(count, cycleIndex);
    }
}

void C8051Target::AdvanceTimersSecondCycle(int32_t count) { AdvanceTimers(count, 2); }

SimStatus C8051Target::CheckInterrupts() {
    return IsLoaded() ? m_chip.CheckInterrupts() : SIM_NOT_LOADED;
}

void C8051Target::CheckExtraInterrupts(int32_t* vector, uint8_t startLevel) {
    if (vector != nullptr && IsLoaded()) {
        m_chip.CheckExtraInterrupts(vector, startLevel);
    }
}

void C8051Target::AdvanceSerialPort() {
    if (IsLoaded()) {
        m_chip.AdvanceSerialPort();
    }
}

uint8_t C8051Target::ReadOutside(ChipSpace space, uint32_t address) {
    CMemorySegment* segment = Space(SpaceIndex(space));
    return segment != nullptr ? segment->ReadByte(address) : 0;
}

bool C8051Target::WriteOutside(ChipSpace space, uint32_t address, uint8_t value) {
    CMemorySegment* segment = Space(SpaceIndex(space));
    return segment != nullptr && segment->WriteByte(address, value);
}

void C8051Target::ChipMessage(int32_t level, const char* text) { OutputMessage(level, text); }

void C8051Target::Called(uint16_t destination, uint16_t from, CallKind kind) {
    PushCallFrame(destination, from, kind == CallKind::Acall ? kFrameAcall : kFrameLcall);
}

void C8051Target::Returned(uint16_t address) { m_callStack->PopTo(address); }

void C8051Target::SerialTransmit(uint8_t value) { SerialOutput(0, &value, 1); }

bool C8051Target::ReadBoardPort(uint8_t address, uint8_t* value) {
    return ReadBoardSfr(address, value) == 0;
}

void C8051Target::WriteBoardPort(uint8_t address, uint8_t value) { WriteBoardSfr(address, value); }

bool C8051Target::ResizeCodeAndData(uint32_t codeSize, uint32_t dataSize) {
    std::unique_ptr<CProgramMemory> program = CProgramMemory::Create(codeSize, this);
    std::unique_ptr<CMemorySegment> data;
    const bool separateData = m_extMem != ExtMemMode::Overlapped;
    if (separateData) {
        data = CMemorySegment::Create(dataSize, this);
    }
    if (!program || (separateData && !data)) {
        return false;
    }
    program->SetLowest(m_program->GetLowest());
    m_program = std::move(program);
    m_externalData = std::move(data);
    BindChipMemory();
    return true;
}

}  // namespace ostrel
