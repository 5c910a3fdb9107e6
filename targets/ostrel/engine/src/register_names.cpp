// The registers by the names the host shows them under, in the host's order.
#include <cstring>

#include "ostrel/register_file.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

enum class RegisterId {
    Acc,
    B,
    Sp,
    Dptr,
    Pc,
    Psw,
    Ie,
    Ip,
    R0,
    R1,
    R2,
    R3,
    R4,
    R5,
    R6,
    R7,
    Port0,
    Port1,
    Port2,
    Port3,
    Pcon,
    Sbuf,
    Scon,
    Tcon,
    Tmod,
    T0,
    T1,
    AtSp,
    AtDptr,
    AtR0,
    AtR1,
    PswFlags,
    Cycles,
    Count
};

const char* const kNames[] = {
    "ACC",   "B",     "SP",    "DPTR",  "PC",     "PSW",  "IE",   "IP",
    "R0",    "R1",    "R2",    "R3",    "R4",     "R5",   "R6",   "R7",
    "Port0", "Port1", "Port2", "Port3", "PCON",   "SBUF", "SCON", "TCON",
    "TMOD",  "T0",    "T1",    "SP->",  "DPTR->", "R0->", "R1->", "PSW->CAF__O_P",
    "cycles"};

static_assert(sizeof(kNames) / sizeof(kNames[0]) == static_cast<size_t>(RegisterId::Count),
              "one name per register");

// Registers that are one special function register byte, by the names' order.
uint8_t SfrOf(RegisterId id) {
    switch (id) {
        case RegisterId::B:
            return sfr::B;
        case RegisterId::Sp:
            return sfr::SP;
        case RegisterId::Psw:
        case RegisterId::PswFlags:
            return sfr::PSW;
        case RegisterId::Ie:
            return sfr::IE;
        case RegisterId::Ip:
            return sfr::IP;
        case RegisterId::Pcon:
            return sfr::PCON;
        case RegisterId::Sbuf:
            return sfr::SBUF;
        case RegisterId::Scon:
            return sfr::SCON;
        case RegisterId::Tcon:
            return sfr::TCON;
        case RegisterId::Tmod:
            return sfr::TMOD;
        default:
            return 0;
    }
}

int FindName(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    for (int i = 0; i < static_cast<int>(RegisterId::Count); ++i) {
        if (std::strcmp(kNames[i], name) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

int CRegisterFile::GetNameCount() { return static_cast<int>(RegisterId::Count); }

const char* CRegisterFile::GetName(int index) {
    if (index < 0 || index >= GetNameCount()) {
        return "";
    }
    return kNames[index];
}

uint32_t CRegisterFile::Get(const char* name) {
    const int index = FindName(name);
    if (index < 0) {
        return 0;
    }
    const auto id = static_cast<RegisterId>(index);
    if (id >= RegisterId::R0 && id <= RegisterId::R7) {
        return R(index - static_cast<int>(RegisterId::R0));
    }
    if (id >= RegisterId::Port0 && id <= RegisterId::Port3) {
        return ReadPort(index - static_cast<int>(RegisterId::Port0));
    }
    switch (id) {
        case RegisterId::Acc:
            return Acc();
        case RegisterId::Dptr:
            return Dptr();
        case RegisterId::Pc:
            return Pc();
        case RegisterId::T0:
            return static_cast<uint32_t>(Sfr(sfr::TH0) << 8 | Sfr(sfr::TL0));
        case RegisterId::T1:
            return static_cast<uint32_t>(Sfr(sfr::TH1) << 8 | Sfr(sfr::TL1));
        case RegisterId::AtSp:
            return ReadIndirect(Sp());
        case RegisterId::AtDptr:
            return ReadExternal(Dptr());
        case RegisterId::AtR0:
            return ReadIndirect(R(0));
        case RegisterId::AtR1:
            return ReadIndirect(R(1));
        case RegisterId::Cycles:
            return m_cycles;
        default:
            return Sfr(SfrOf(id));
    }
}

void CRegisterFile::Set(const char* name, uint32_t value) {
    const int index = FindName(name);
    if (index < 0) {
        return;
    }
    const auto id = static_cast<RegisterId>(index);
    const auto byte = static_cast<uint8_t>(value & 0xFF);
    const auto word = static_cast<uint16_t>(value & 0xFFFF);
    if (id >= RegisterId::R0 && id <= RegisterId::R7) {
        SetR(index - static_cast<int>(RegisterId::R0), byte);
        return;
    }
    if (id >= RegisterId::Port0 && id <= RegisterId::Port3) {
        WritePort(index - static_cast<int>(RegisterId::Port0), byte);
        return;
    }
    switch (id) {
        case RegisterId::Acc:
            SetAcc(byte);
            return;
        case RegisterId::Dptr:
            SetDptr(word);
            return;
        case RegisterId::Pc:
            SetPc(word);
            return;
        case RegisterId::T0:
            SetSfr(sfr::TH0, static_cast<uint8_t>(word >> 8));
            SetSfr(sfr::TL0, static_cast<uint8_t>(word & 0xFF));
            return;
        case RegisterId::T1:
            SetSfr(sfr::TH1, static_cast<uint8_t>(word >> 8));
            SetSfr(sfr::TL1, static_cast<uint8_t>(word & 0xFF));
            return;
        case RegisterId::AtSp:
            WriteIndirect(Sp(), byte);
            return;
        case RegisterId::AtDptr:
            WriteExternal(Dptr(), byte);
            return;
        case RegisterId::AtR0:
            WriteIndirect(R(0), byte);
            return;
        case RegisterId::AtR1:
            WriteIndirect(R(1), byte);
            return;
        case RegisterId::Cycles:
            m_cycles = word;
            return;
        default:
            // A value typed into the register view is stored as the register shows it: SBUF's is
            // what the program reads next, not a byte to transmit as the program's writes are.
            SetSfr(SfrOf(id), byte);
            return;
    }
}

}  // namespace ostrel
