// The ROM-monitor target: construction, registers by name and the window text, the serial
// settings and input, PC and SP, and the opcode queries from the program image.
#include "monitor_target.h"

#include <cstdio>
#include <cstring>

#include "ostrel/sfr.h"
#include "simtarget/opcode_facts.h"

namespace pelmor {

namespace {

namespace sfr = ostrel::sfr;

// The monitor debugger's names, as entries of the shared register table.
constexpr int kRegisters[kMonitorRegisterCount] = {
    kRegAcc,    kRegB,      kRegSp,       kRegDptr,   kRegPc,     kRegPsw,    kRegR0,
    kRegR0 + 1, kRegR0 + 2, kRegR0 + 3,   kRegR0 + 4, kRegR0 + 5, kRegR0 + 6, kRegR0 + 7,
    kRegAtSp,   kRegAtDptr, kRegPswFlags, kRegAtR0,   kRegAtR1};

// The table entry of `name` when it is one of the monitor debugger's, else -1.
int MonitorRegister(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    const int index = FindRegister(name);
    for (int entry : kRegisters) {
        if (entry == index) {
            return index;
        }
    }
    return -1;
}

}  // namespace

CMonitorTarget::CMonitorTarget() {
    m_link.Context().sp = 7;
    m_link.SetBreakFlag(&BreakFlag());
}

CMonitorTarget::~CMonitorTarget() = default;

void* SIM_CALL CMonitorTarget::Destroy(uint32_t flags) {
    if ((flags & kSimDestroyFree) != 0) {
        delete this;
    } else {
        this->~CMonitorTarget();
    }
    return this;
}

RegisterSpaces CMonitorTarget::Spaces() {
    RegisterSpaces spaces;
    spaces.internalRam = m_internalRam.get();
    // The monitor's "DPTR->" is the internal-RAM byte at DPTR.
    spaces.atDptr = m_internalRam.get();
    return spaces;
}

const char* SIM_CALL CMonitorTarget::GetRegisterName(int32_t index) {
    if (index < 0 || index >= kMonitorRegisterCount) {
        return "";
    }
    return RegisterName(kRegisters[index]);
}

uint32_t SIM_CALL CMonitorTarget::GetRegister(const char* name) {
    const int index = MonitorRegister(name);
    if (m_model == nullptr || index < 0) {
        return 0;
    }
    return ReadRegister(*m_model, Spaces(), index);
}

void SIM_CALL CMonitorTarget::SetRegister(const char* name, uint32_t value) {
    const int index = MonitorRegister(name);
    if (m_model == nullptr || index < 0) {
        return;
    }
    ::SetModelRegister(*m_model, Spaces(), index, value);
    if (IsLoaded() && PrepareExchange() == 0) {
        // The monitor takes the change now: the next step reads its registers back.
        SendRegister(index);
    }
}

bool CMonitorTarget::SendRegister(int index) {
    const CpuState& model = *m_model;
    const auto sfrByte = [this, &model](uint8_t address) {
        const BYTE value = model.Sfr(address);
        DWORD written = 0;
        return m_link.WriteMemory(kSpaceSfr, address, &value, 1, &written);
    };
    const auto ramByte = [this](uint32_t address, BYTE value) {
        DWORD written = 0;
        return address <= 0xFF &&
               m_link.WriteMemory(kSpaceInternalRam, address, &value, 1, &written);
    };
    switch (index) {
        case kRegAcc:
            return sfrByte(sfr::ACC);
        case kRegB:
            return sfrByte(sfr::B);
        case kRegSp:
            return sfrByte(sfr::SP);
        case kRegPsw:
        case kRegPswFlags:
            return sfrByte(sfr::PSW);
        case kRegDptr: {
            const uint16_t dptr = model.Dptr();
            if (!m_link.ChangeRegister16('D', static_cast<BYTE>(dptr >> 8),
                                         static_cast<BYTE>(dptr))) {
                return false;
            }
            m_link.Context().dph = static_cast<BYTE>(dptr >> 8);
            m_link.Context().dpl = static_cast<BYTE>(dptr);
            return true;
        }
        case kRegPc:
            if (!m_link.ChangeRegister16('P', static_cast<BYTE>(model.m_pc >> 8),
                                         static_cast<BYTE>(model.m_pc))) {
                return false;
            }
            m_link.Context().SetPc(model.m_pc);
            return true;
        case kRegAtSp:
            return ramByte(model.Sfr(sfr::SP), m_internalRam->ReadByte(model.Sfr(sfr::SP)));
        case kRegAtDptr:
            return ramByte(model.Dptr(), m_internalRam->ReadByte(model.Dptr()));
        case kRegAtR0:
            return ramByte(model.R(0), m_internalRam->ReadByte(model.R(0)));
        case kRegAtR1:
            return ramByte(model.R(1), m_internalRam->ReadByte(model.R(1)));
        default: {
            // R0 to R7 of the bank PSW selects: the byte the model changed, which the program
            // uses after the next step.
            const int n = index - kRegR0;
            return ramByte(model.RegisterAddress(n), model.R(n));
        }
    }
}

SimStatus SIM_CALL CMonitorTarget::SetCommSettings(const comm_settings* settings) {
    if (settings == nullptr) {
        return SIM_OK;
    }
    std::memcpy(m_serialSettings, settings, sizeof m_serialSettings);
    m_comms.SetCommPort(reinterpret_cast<const comm_settings*>(m_serialSettings));
    return SIM_OK;
}

const comm_settings* SIM_CALL CMonitorTarget::GetCommSettings() {
    return reinterpret_cast<const comm_settings*>(m_serialSettings);
}

SimStatus SIM_CALL CMonitorTarget::PutSerialInput(int32_t, const uint8_t* bytes, uint32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (!m_comms.IsInitialized()) {
        const int opened = m_comms.Initialize();
        if (opened != 0) {
            return static_cast<SimStatus>(opened);
        }
    }
    return static_cast<SimStatus>(m_comms.Write(bytes, count));
}

SimStatus SIM_CALL CMonitorTarget::GetRegisterDumpText(char* buffer, int32_t length, int32_t) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (buffer == nullptr || length <= 0) {
        return SIM_OK;
    }
    const CpuState& s = *m_model;
    // The window shows what internal RAM holds there, quietly 0 for a DPTR past its end.
    const auto ram = [this](uint32_t address) {
        return m_internalRam->IsAddressValid(address) ? *m_internalRam->PointerAt(address) : 0;
    };
    const uint8_t psw = *s.m_psw;
    const auto flag = [psw](uint8_t bit, char letter) { return (psw & bit) != 0 ? letter : '-'; };
    char flags[9];
    std::snprintf(flags, sizeof flags, "%c%c%c%c%c%c%c%c", flag(0x80, 'C'), flag(0x40, 'A'),
                  flag(0x20, 'F'), '-', '-', flag(0x04, 'O'), '-', flag(0x01, 'P'));
    const size_t size = static_cast<size_t>(length);
    const int written = std::snprintf(
        buffer, size,
        "8051 Registers:\r\nACC     0x%02X\r\nB       0x%02X\r\nSP      0x%02X    [0x%02X]\r\n"
        "DPTR  0x%04X    [0x%02X]\r\nPC    0x%04X\r\nPSW     0x%02X    %s\r\nIE      (N/A)\r\n"
        "IP      (N/A)\r\nR0      0x%02X    [0x%02X]\r\nR1      0x%02X    [0x%02X]\r\n"
        "R2      0x%02X\r\nR3      0x%02X\r\nR4      0x%02X\r\nR5      0x%02X\r\n"
        "R6      0x%02X\r\nR7      0x%02X\r\nPort0   (N/A)\r\nPort1   (N/A)\r\n"
        "Port2   (N/A)\r\nPort3   (N/A)\r\nPCON    (N/A)\r\nSBUF    (N/A)\r\n"
        "SCON    (N/A)\r\nTCON    (N/A)\r\nTMOD    (N/A)\r\nT0    (N/A)\r\nT1    (N/A)\r\n",
        s.Sfr(sfr::ACC), s.Sfr(sfr::B), s.Sfr(sfr::SP), ram(s.Sfr(sfr::SP)), s.Dptr(),
        ram(s.Dptr()), s.m_pc, psw, flags, s.R(0), ram(s.R(0)), s.R(1), ram(s.R(1)), s.R(2), s.R(3),
        s.R(4), s.R(5), s.R(6), s.R(7));
    if (written < 0 || static_cast<size_t>(written) >= size) {
        return SIM_OK;  // cut at the limit; the RAM lines are left out
    }
    size_t used = static_cast<size_t>(written);
    for (uint32_t address = 0x08; address <= 0x16 && used + 1 < size; ++address) {
        const int line = std::snprintf(buffer + used, size - used, "0x%02X:   0x%02X\r\n", address,
                                       ram(address));
        if (line < 0) {
            break;
        }
        used += static_cast<size_t>(line);
    }
    return SIM_OK;
}

SimStatus SIM_CALL CMonitorTarget::GetPCAndFrame(uint32_t* pc, uint32_t* frame) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    *pc = m_model->m_pc;
    *frame = 0xFFFFFFFFu;
    return SIM_OK;
}

SimStatus SIM_CALL CMonitorTarget::GetCallStackText(char*, int32_t) {
    return IsLoaded() ? SIM_NOT_SUPPORTED : SIM_NOT_LOADED;
}

bool CMonitorTarget::AtCall() { return opcodes::IsCall(ProgramByte(m_model->m_pc)); }

bool CMonitorTarget::AtReturn() { return opcodes::IsReturn(ProgramByte(m_model->m_pc)); }

}  // namespace pelmor
