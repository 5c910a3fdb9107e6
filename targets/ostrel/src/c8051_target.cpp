// The simulated 8051: construction, memory spaces, option words, queries and start and stop.
#include "c8051_target.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "last_target.h"
#include "opcode_info.h"
#include "peripheral_items.h"
#include "sfr_map.h"
#include "w32/clock.h"

namespace ostrel {

namespace {

const char* const kSpaceNames[kMemorySpaceCount] = {
    "Special Function Registers Memory", "Program Memory", "Internal Ram", "External Data Ram"};

const char* const kPortNames[4] = {"Port0", "Port1", "Port2", "Port3"};

// The settings block's parity word (the fourth 32-bit word).
constexpr size_t kParityOffset = 12;

}  // namespace

C8051Target::C8051Target(const char* chipId, const char* options)
    : extMem_(ParseExtMemOption(options)) {
    chip_ = FindChip(chipId);
    if (chip_ == nullptr) {
        chip_ = &kChipCatalogue[0];
    }
}

C8051Target::~C8051Target() {
    // The loader relay must never reach a target that is gone.
    ForgetLastTarget(this);
    // The register file works over the spaces: it goes first.
    registers_.reset();
}

CMemorySegment* C8051Target::Space(int32_t space) {
    switch (space) {
        case kSpaceSfr:
            return sfrSpace_.get();
        case kSpaceProgram:
            return program_.get();
        case kSpaceInternalRam:
            return internalRam_.get();
        case kSpaceExternalData:
            // MOVX reaches program memory in this mode, and the host sees what MOVX sees.
            return extMem_ == ExtMemMode::Overlapped ? program_.get() : externalData_.get();
        default:
            return nullptr;
    }
}

void C8051Target::ReplaceCodeAndData(std::unique_ptr<CProgramMemory> program,
                                     std::unique_ptr<CMemorySegment> externalData) {
    program_ = std::move(program);
    externalData_ = std::move(externalData);
    BindEngine();
}

void SIM_CALL C8051Target::SetPortObserver(ISimPortObserver* observer) { observer_ = observer; }

int32_t SIM_CALL C8051Target::GetRegisterCount() { return CRegisterFile::GetNameCount(); }

const char* SIM_CALL C8051Target::GetRegisterName(int32_t index) {
    return CRegisterFile::GetName(index);
}

uint32_t SIM_CALL C8051Target::GetRegister(const char* name) {
    return registers_ ? registers_->Get(name) : 0;
}

void SIM_CALL C8051Target::SetRegister(const char* name, uint32_t value) {
    if (registers_) {
        registers_->Set(name, value);
    }
}

int32_t SIM_CALL C8051Target::GetPeripheralItemCount() { return kPeripheralItemCount; }

void SIM_CALL C8051Target::GetPeripheralItemText(int32_t index, SimPeripheralItem* item) {
    if (item == nullptr) {
        return;
    }
    if (!registers_) {
        std::memset(item, 0, sizeof(*item));
        return;
    }
    DescribePeripheralItem(*registers_, index, item);
}

void SIM_CALL C8051Target::EditPeripheralItem(int32_t index, SimPeripheralItem* item) {
    if (item != nullptr && registers_) {
        ostrel::EditPeripheralItem(*registers_, index, *item);
    }
}

int32_t SIM_CALL C8051Target::HasCapability(int32_t kind) {
    return (kind == 1 || kind == 3 || kind == 4) ? 1 : 0;
}

SimStatus SIM_CALL C8051Target::SetCommSettings(const comm_settings* settings) {
    if (settings == nullptr) {
        return SIM_OK;
    }
    std::memcpy(serialSettings_, settings, kSerialSettingsSize);
    // Opens the board port when it is closed; an open port keeps the settings for its next
    // open. A port that cannot be opened shows up when the kernel link looks for the board.
    boardPort_.SetCommPort(settings);
    return SIM_OK;
}

const comm_settings* SIM_CALL C8051Target::GetCommSettings() {
    return reinterpret_cast<const comm_settings*>(serialSettings_);
}

uint32_t C8051Target::StoredParity() const {
    uint32_t parity = 0;
    std::memcpy(&parity, serialSettings_ + kParityOffset, sizeof(parity));
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
    if ((cpu_.sfr[sfr::SCON] & sfr::SCON_REN) == 0 || bytes == nullptr || count == 0) {
        return SIM_OK;
    }
    // The receiver holds one byte: the rest wait, in order, until the program has read it.
    // Received bytes are forgotten first, so the queue does not grow with a long session.
    serialInput_.erase(serialInput_.begin(),
                       serialInput_.begin() + static_cast<std::ptrdiff_t>(serialInputNext_));
    serialInputNext_ = 0;
    try {
        serialInput_.insert(serialInput_.end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        return SIM_NOT_SUPPORTED;  // none of the bytes is taken
    }
    DeliverSerialInput();
    return SIM_OK;
}

void C8051Target::DeliverSerialInput() {
    // A byte has been read when RI is clear and the program took SBUF (or, not wanting the
    // byte, looked at RI again): clearing RI before reading SBUF loses nothing.
    PeripheralTiming& timing = registers_->Timing();
    const uint8_t scon = cpu_.sfr[sfr::SCON];
    if ((scon & (sfr::SCON_RI | sfr::SCON_REN)) != sfr::SCON_REN || timing.inputTaken == 0) {
        return;
    }
    timing.inputTaken = 0;
    ReceiveByte(serialInput_[serialInputNext_++]);
    if (serialInputNext_ == serialInput_.size()) {
        DropSerialInput();
    }
}

void C8051Target::DropSerialInput() {
    serialInput_.clear();  // keeps its room: receiving allocates nothing
    serialInputNext_ = 0;
}

void C8051Target::ReceiveByte(uint8_t byte) {
    uint8_t* const s = cpu_.sfr;
    const uint8_t scon = s[sfr::SCON];
    uint8_t next = scon | sfr::SCON_RI;
    const int mode = scon >> 6;
    if (mode == 1) {
        next |= sfr::SCON_RB8;  // the stop bit
    } else if (mode >= 2) {
        int ones = 0;
        for (uint8_t b = byte; b != 0; b &= static_cast<uint8_t>(b - 1)) {
            ++ones;
        }
        const uint32_t parity = StoredParity();
        const bool ninthBit = (parity == 2 && (ones & 1) != 0) || (parity == 1 && (ones & 1) == 0);
        next = static_cast<uint8_t>(ninthBit ? (next | sfr::SCON_RB8) : (next & ~sfr::SCON_RB8));
    }
    s[sfr::SCON] = next;
    // Straight into the register: a received byte is not sent back out as a write of SBUF is.
    s[sfr::SBUF] = byte;
    lastSerialInput_ = byte;
}

uint8_t SIM_CALL C8051Target::GetMemorySpaceInfo(int32_t space, const char** name, uint32_t* size) {
    if (space < 0 || space >= kMemorySpaceCount) {
        return 0;
    }
    if (name != nullptr) {
        *name = kSpaceNames[space];
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
                                ? registers_->WriteDirect(static_cast<uint8_t>(at), bytes[i])
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
        registers_->WriteDumpText(buffer, static_cast<size_t>(length));
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetPC(uint32_t* pc) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (pc != nullptr) {
        *pc = registers_->Pc();
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetSP(uint32_t* sp) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (sp != nullptr) {
        *sp = registers_->Sp();
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetPCAndFrame(uint32_t* pc, uint32_t* frame) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (pc != nullptr) {
        *pc = registers_->Pc();
    }
    if (frame != nullptr) {
        const CallStackFrame* top = callStack_->Top();
        *frame = top != nullptr ? top->sfp : 0xFFFFFFFFu;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetCallStackText(char* buffer, int32_t length) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (buffer != nullptr) {
        callStack_->GetText(*this, buffer, length);
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::IsReturnAt(uint32_t address, uint8_t* result) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (result != nullptr) {
        *result = IsReturnOpcode(program_->ReadByte(address)) ? 1 : 0;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::IsCallAt(uint32_t address, uint8_t* result) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (result != nullptr) {
        *result = IsCallOpcode(program_->ReadByte(address)) ? 1 : 0;
    }
    return SIM_OK;
}

SimStatus SIM_CALL C8051Target::GetNextInstructionAddress(uint32_t address, uint32_t* next) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (next != nullptr) {
        *next = address + static_cast<uint32_t>(InstructionSize(program_->ReadByte(address)));
    }
    return SIM_OK;
}

bool C8051Target::IsUnconditionalTransferAt(uint32_t address) {
    return program_ && (kOpcodeInfo[program_->ReadByte(address)] & kOpUnconditional) != 0;
}

bool C8051Target::IsRelativeBranchAt(uint32_t address) {
    return program_ && (kOpcodeInfo[program_->ReadByte(address)] & kOpRelative) != 0;
}

void C8051Target::PushCallFrame(uint32_t address, uint32_t from, uint8_t kind) {
    CTargetBase::PushCallFrame(callStack_.get(), address, from, kind, false);
}

SimStatus C8051Target::StartDebugging() {
    if (!registers_) {
        return SIM_NOT_LOADED;
    }
    registers_->Reset();
    // The reset receiver is off: input still on its way is lost with it.
    DropSerialInput();
    for (uint8_t& flag : delayFlags_) {
        flag = 0;
    }
    // A program without data starts where the chip does after its reset.
    const uint32_t lowest = program_->GetLowest();
    registers_->SetPc(static_cast<uint16_t>(lowest == 0xFFFFFFFFu ? 0 : lowest));
    PushCallFrame(registers_->Pc(), kNoCaller, kFrameRestart);
    return SIM_OK;
}

SimStatus C8051Target::StopDebugging() {
    if (!registers_) {
        return SIM_NOT_LOADED;
    }
    callStack_->Clear();
    internalRam_->Fill(0);
    if (externalData_) {
        // Overlapped external data is program memory, which a stop must not wipe.
        externalData_->Fill(0);
    }
    registers_->SetPc(0xFFFF);
    RaiseBreakRequest();
    w32::Sleep(100);
    return SIM_OK;
}

void C8051Target::ReportPorts() {
    if (observer_ == nullptr) {
        return;
    }
    uint32_t values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = GetRegister(kPortNames[i]);
    }
    observer_->UpdateValues(kPortNames, values, 4);
}

int32_t C8051Target::ReadBoardSfr(uint8_t, uint8_t*) { return kBoardPortNotOpen; }

int32_t C8051Target::WriteBoardSfr(uint8_t, uint8_t) { return kBoardPortNotOpen; }

bool C8051Target::ReadBoardPort(uint8_t address, uint8_t* value) {
    return ReadBoardSfr(address, value) == 0;
}

void C8051Target::WriteBoardPort(uint8_t address, uint8_t value) { WriteBoardSfr(address, value); }

void C8051Target::SerialTransmit(uint8_t value) { SerialOutput(0, &value, 1); }

uint8_t C8051Target::ReadExternalData(uint16_t address) {
    CMemorySegment* segment = Space(kSpaceExternalData);
    return segment != nullptr ? segment->ReadByte(address) : 0;
}

bool C8051Target::WriteExternalData(uint16_t address, uint8_t value) {
    CMemorySegment* segment = Space(kSpaceExternalData);
    return segment != nullptr && segment->WriteByte(address, value);
}

}  // namespace ostrel
