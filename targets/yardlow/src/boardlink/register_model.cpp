// The register names of the board debuggers, their values in the model, and the register window.
#include "boardlink/register_model.h"

#include <cstdio>
#include <cstring>

#include "ostrel/sfr.h"
#include "simtarget/memory_segment.h"

namespace sfr = ostrel::sfr;

namespace {

const char* const kNames[kRegisterCount] = {
    "ACC",   "B",     "SP",   "DPTR", "PC",   "PSW",  "IE",   "IP",     "R0",
    "R1",    "R2",    "R3",   "R4",   "R5",   "R6",   "R7",   "Port0",  "Port1",
    "Port2", "Port3", "PCON", "SBUF", "SCON", "TCON", "TMOD", "T0",     "T1",
    "0x08",  "0x09",  "0x0A", "0x0B", "0x0C", "0x0D", "0x0E", "0x0F",   "0x10",
    "0x11",  "0x12",  "0x13", "0x14", "0x15", "0x16", "SP->", "DPTR->", "PSW->CAF__O_P",
    "R0->",  "R1->",
};

// The registers that are one SFR byte each, by table entry.
uint8_t SfrOf(int index) {
    switch (index) {
        case kRegAcc:
            return sfr::ACC;
        case kRegB:
            return sfr::B;
        case kRegSp:
            return sfr::SP;
        case kRegPsw:
        case kRegPswFlags:
            return sfr::PSW;
        case kRegIe:
            return sfr::IE;
        case kRegIp:
            return sfr::IP;
        case kRegPcon:
            return sfr::PCON;
        case kRegSbuf:
            return sfr::SBUF;
        case kRegScon:
            return sfr::SCON;
        case kRegTcon:
            return sfr::TCON;
        case kRegTmod:
            return sfr::TMOD;
        default:
            if (index >= kRegPort0 && index < kRegPort0 + 4) {
                return sfr::kPorts[index - kRegPort0];
            }
            return 0;
    }
}

uint8_t ReadRam(const RegisterSpaces& spaces, uint32_t address) {
    return spaces.internalRam != nullptr ? spaces.internalRam->ReadByte(address) : 0;
}

void WriteRam(const RegisterSpaces& spaces, uint32_t address, uint8_t value) {
    if (spaces.internalRam != nullptr) {
        spaces.internalRam->WriteByte(address, value);
    }
}

uint8_t ReadAtDptr(const CpuState& state, const RegisterSpaces& spaces) {
    return spaces.atDptr != nullptr ? spaces.atDptr->ReadByte(state.Dptr()) : 0;
}

uint16_t Pair(const CpuState& state, uint8_t high, uint8_t low) {
    return static_cast<uint16_t>(state.Sfr(high) << 8 | state.Sfr(low));
}

}  // namespace

const char* RegisterName(int index) {
    return index >= 0 && index < kRegisterCount ? kNames[index] : "";
}

int FindRegister(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    for (int i = 0; i < kRegisterCount; ++i) {
        if (std::strcmp(name, kNames[i]) == 0) {
            return i;
        }
    }
    return -1;
}

uint32_t ReadRegister(const CpuState& state, const RegisterSpaces& spaces, int index) {
    if (index >= kRegR0 && index < kRegR0 + 8) {
        return state.R(index - kRegR0);
    }
    if (index >= kRegRam08 && index <= kRegRam08 + 0x0E) {
        return ReadRam(spaces, static_cast<uint32_t>(0x08 + index - kRegRam08));
    }
    switch (index) {
        case kRegDptr:
            return state.Dptr();
        case kRegPc:
            return state.m_pc;
        case kRegT0:
            return Pair(state, sfr::TH0, sfr::TL0);
        case kRegT1:
            return Pair(state, sfr::TH1, sfr::TL1);
        case kRegAtSp:
            return ReadRam(spaces, state.Sfr(sfr::SP));
        case kRegAtDptr:
            return ReadAtDptr(state, spaces);
        case kRegAtR0:
            return ReadRam(spaces, state.R(0));
        case kRegAtR1:
            return ReadRam(spaces, state.R(1));
        default:
            break;
    }
    const uint8_t address = SfrOf(index);
    return address != 0 ? state.Sfr(address) : 0;
}

void SetModelRegister(CpuState& state, const RegisterSpaces& spaces, int index, uint32_t value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    if (index >= kRegR0 && index < kRegR0 + 8) {
        state.m_internalRam[state.RegisterAddress(index - kRegR0)] = byte;
        return;
    }
    if (index >= kRegRam08 && index <= kRegRam08 + 0x0E) {
        WriteRam(spaces, static_cast<uint32_t>(0x08 + index - kRegRam08), byte);
        return;
    }
    switch (index) {
        case kRegAcc:
            state.SetAcc(byte);
            return;
        case kRegDptr:
            state.SetDptr(static_cast<uint16_t>(value));
            return;
        case kRegPc:
            state.m_pc = static_cast<uint16_t>(value);
            return;
        case kRegT0:
            state.SetSfr(sfr::TH0, static_cast<uint8_t>(value >> 8));
            state.SetSfr(sfr::TL0, byte);
            return;
        case kRegT1:
            state.SetSfr(sfr::TH1, static_cast<uint8_t>(value >> 8));
            state.SetSfr(sfr::TL1, byte);
            return;
        case kRegAtSp:
            WriteRam(spaces, state.Sfr(sfr::SP), byte);
            return;
        case kRegAtDptr:
            if (spaces.atDptr != nullptr) {
                spaces.atDptr->WriteByte(state.Dptr(), byte);
            }
            return;
        case kRegAtR0:
            WriteRam(spaces, state.R(0), byte);
            return;
        case kRegAtR1:
            WriteRam(spaces, state.R(1), byte);
            return;
        case kRegIe:
        case kRegIp:
            // Read-only by name: the board gets them from the model's copy alone.
            return;
        default:
            break;
    }
    const uint8_t address = SfrOf(index);
    if (address != 0) {
        state.SetSfr(address, byte);
    }
}

void WriteRegisterDumpText(const CpuState& state, const RegisterSpaces& spaces, char* buffer,
                           size_t length) {
    if (buffer == nullptr || length == 0) {
        return;
    }
    const uint8_t psw = *state.m_psw;
    const auto flag = [psw](uint8_t bit, char letter) { return (psw & bit) != 0 ? letter : '-'; };
    char flags[9];
    std::snprintf(flags, sizeof flags, "%c%c%c%c%c%c%c%c", flag(0x80, 'C'), flag(0x40, 'A'),
                  flag(0x20, 'F'), '-', '-', flag(0x04, 'O'), '-', flag(0x01, 'P'));
    const int written = std::snprintf(
        buffer, length,
        "8051 Registers:\r\nACC     0x%02X\r\nB       0x%02X\r\nSP      0x%02X    [0x%02X]\r\n"
        "DPTR  0x%04X    [0x%02X]\r\nPC    0x%04X\r\nPSW     0x%02X    %s\r\nIE      0x%02X\r\n"
        "IP      0x%02X\r\nR0      0x%02X    [0x%02X]\r\nR1      0x%02X    [0x%02X]\r\n"
        "R2      0x%02X\r\nR3      0x%02X\r\nR4      0x%02X\r\nR5      0x%02X\r\n"
        "R6      0x%02X\r\nR7      0x%02X\r\nPort0   0x%02X\r\nPort1   0x%02X\r\n"
        "Port2   0x%02X\r\nPort3   0x%02X\r\nPCON    0x%02X\r\nSBUF    0x%02X\r\n"
        "SCON    0x%02X\r\nTCON    0x%02X\r\nTMOD    0x%02X\r\nT0    0x%04X\r\nT1    0x%04X\r\n",
        state.Sfr(sfr::ACC), state.Sfr(sfr::B), state.Sfr(sfr::SP),
        ReadRam(spaces, state.Sfr(sfr::SP)), state.Dptr(), ReadAtDptr(state, spaces), state.m_pc,
        psw, flags, state.Sfr(sfr::IE), state.Sfr(sfr::IP), state.R(0), ReadRam(spaces, state.R(0)),
        state.R(1), ReadRam(spaces, state.R(1)), state.R(2), state.R(3), state.R(4), state.R(5),
        state.R(6), state.R(7), state.Sfr(sfr::P0), state.Sfr(sfr::P1), state.Sfr(sfr::P2),
        state.Sfr(sfr::P3), state.Sfr(sfr::PCON), state.Sfr(sfr::SBUF), state.Sfr(sfr::SCON),
        state.Sfr(sfr::TCON), state.Sfr(sfr::TMOD), Pair(state, sfr::TH0, sfr::TL0),
        Pair(state, sfr::TH1, sfr::TL1));
    if (written < 0 || static_cast<size_t>(written) >= length) {
        return;  // cut at the limit by the formatter; the RAM lines are left out
    }
    size_t used = static_cast<size_t>(written);
    for (uint32_t address = 0x08; address <= 0x16 && used + 1 < length; ++address) {
        const int line = std::snprintf(buffer + used, length - used, "0x%02X:   0x%02X\r\n",
                                       address, ReadRam(spaces, address));
        if (line < 0) {
            return;
        }
        used += static_cast<size_t>(line);
    }
}
