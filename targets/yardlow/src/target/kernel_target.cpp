// The board debugger's target: construction, registers by name, the serial settings and input,
// PC and SP, the call stack and the opcode queries.
#include "kernel_target.h"

#include <cstring>

#include "ostrel/sfr.h"
#include "simtarget/opcode_facts.h"

namespace yardlow {

namespace {

// The serial-settings block's tenth word: the download flag.
constexpr size_t kDownloadFlagOffset = 36;
constexpr char kExtMemPrefix[] = "ExtMem=";

bool SameText(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 'a' + 'A') : *a;
        char y = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 'a' + 'A') : *b;
        if (x != y) {
            return false;
        }
    }
    return *a == *b;
}

ExtMemMode ExtMemOf(const char* options) {
    if (options == nullptr || std::strncmp(options, kExtMemPrefix, sizeof kExtMemPrefix - 1) != 0) {
        return ExtMemMode::None;
    }
    const char* value = options + sizeof kExtMemPrefix - 1;
    if (SameText(value, "Overlapped")) {
        return ExtMemMode::Overlapped;
    }
    if (SameText(value, "Separate")) {
        return ExtMemMode::Separate;
    }
    return ExtMemMode::None;
}

}  // namespace

CKernelTarget::CKernelTarget(const char* options) : m_extMem(ExtMemOf(options)) {}

CKernelTarget::~CKernelTarget() = default;

void* SIM_CALL CKernelTarget::Destroy(uint32_t flags) {
    // The board's program is left as it was loaded, whatever the last run left planted in it.
    RestoreLeftoverSlots();
    if ((flags & kSimDestroyFree) != 0) {
        delete this;
    } else {
        this->~CKernelTarget();
    }
    return this;
}

uint32_t SIM_CALL CKernelTarget::GetRegister(const char* name) {
    if (m_model == nullptr) {
        return 0;
    }
    return ReadRegister(*m_model, Spaces(), FindRegister(name));
}

void CKernelTarget::SetModelRegister(const char* name, uint32_t value) {
    if (m_model != nullptr) {
        ::SetModelRegister(*m_model, Spaces(), FindRegister(name), value);
    }
}

void SIM_CALL CKernelTarget::SetRegister(const char* name, uint32_t value) {
    if (m_model == nullptr) {
        return;
    }
    const int index = FindRegister(name);
    if (index == kRegAtDptr) {
        // The byte lives in the board's external data: written there first, the copy after.
        const uint16_t dptr = m_model->Dptr();
        const BYTE byte = static_cast<BYTE>(value);
        if (m_externalData == nullptr || !m_externalData->IsAddressValid(dptr) || OpenPort() != 0) {
            return;
        }
        PrepareExchange();
        if (m_link.WriteXdata(1, dptr, &byte)) {
            m_externalData->WriteByte(dptr, byte);
        }
        return;
    }
    SetModelRegister(name, value);
    PrepareExchange();
    PutContext();
}

SimStatus SIM_CALL CKernelTarget::SetCommSettings(const comm_settings* settings) {
    if (settings == nullptr) {
        return SIM_OK;
    }
    std::memcpy(m_serialSettings, settings, sizeof m_serialSettings);
    m_comms.SetCommPort(reinterpret_cast<const comm_settings*>(m_serialSettings));
    int32_t flag = 0;
    std::memcpy(&flag, m_serialSettings + kDownloadFlagOffset, sizeof flag);
    m_link.SetDownloadFlag(flag);
    return SIM_OK;
}

const comm_settings* SIM_CALL CKernelTarget::GetCommSettings() {
    return reinterpret_cast<const comm_settings*>(m_serialSettings);
}

SimStatus SIM_CALL CKernelTarget::PutSerialInput(int32_t, const uint8_t* bytes, uint32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    const int opened = OpenPort();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    return static_cast<SimStatus>(m_comms.Write(bytes, count));
}

SimStatus SIM_CALL CKernelTarget::GetRegisterDumpText(char* buffer, int32_t length, int32_t) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (length > 0) {
        WriteRegisterDumpText(*m_model, Spaces(), buffer, static_cast<size_t>(length));
    }
    return SIM_OK;
}

SimStatus SIM_CALL CKernelTarget::GetPCAndFrame(uint32_t* pc, uint32_t* frame) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *pc = m_model->m_pc;
    *frame = m_model->Sfr(ostrel::sfr::SP);
    return SIM_OK;
}

SimStatus SIM_CALL CKernelTarget::GetCallStackText(char* buffer, int32_t length) {
    if (m_callStack != nullptr) {
        m_callStack->GetText(*this, buffer, length);
    } else if (buffer != nullptr && length > 0) {
        buffer[0] = '\0';
    }
    return SIM_NOT_SUPPORTED;
}

bool CKernelTarget::IsUnconditionalTransferAt(uint32_t address) {
    return opcodes::IsUnconditionalTransfer(ProgramByte(address));
}

bool CKernelTarget::IsRelativeBranchAt(uint32_t address) {
    return opcodes::IsRelativeBranch(ProgramByte(address));
}

bool CKernelTarget::AtCall() { return opcodes::IsCall(ProgramByte(m_model->m_pc)); }

bool CKernelTarget::AtReturn() { return opcodes::IsReturn(ProgramByte(m_model->m_pc)); }

void CKernelTarget::UpdateCallStack(uint32_t address, uint8_t opcode) {
    const uint8_t b1 = ProgramByte(address + 1);
    const uint8_t b2 = ProgramByte(address + 2);
    if (opcode == kFrameLjmp || opcode == kFrameLcall) {
        PushCallFrame(m_callStack.get(), static_cast<uint32_t>(b1 << 8 | b2), address + 3, opcode,
                      true);
    } else if (opcodes::IsAjmp(opcode) || opcodes::IsCall(opcode)) {
        // The eight forms of each carry address bits 8 to 10 in the opcode; the frame's kind is
        // the form whose text names the instruction.
        const uint32_t target =
            static_cast<uint32_t>(opcode >> 5) * 256 + ((address + 2) & 0xF800) + b1;
        PushCallFrame(m_callStack.get(), target, address + 2,
                      opcodes::IsAjmp(opcode) ? kFrameAjmp : kFrameAcall, true);
    } else if (opcode == kFrameSjmp) {
        PushCallFrame(m_callStack.get(), (address + 2 + static_cast<int8_t>(b1)) & 0xFFFF,
                      address + 2, opcode, true);
    } else if (opcodes::IsReturn(opcode) && m_callStack != nullptr) {
        m_callStack->PopTo(m_model->m_pc);
    }
}

}  // namespace yardlow
