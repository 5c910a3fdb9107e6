// Register access of the simulated chip: direct, bit and indirect addressing, ports, stack, reset.
#include "register_file.h"

#include "sfr_map.h"
#include "simtarget/memory_segment.h"

namespace ostrel {

namespace {

// Registers that the reset sets to 0. SP, the ports and SBUF are handled apart.
constexpr uint8_t kZeroAtReset[] = {sfr::ACC, sfr::B,   sfr::PSW,  sfr::DPL,  sfr::DPH,
                                    sfr::IE,  sfr::IP,  sfr::TCON, sfr::TMOD, sfr::TL0,
                                    sfr::TL1, sfr::TH0, sfr::TH1,  sfr::SCON, sfr::PCON};

constexpr uint8_t kRiBit = sfr::SCON | 0;

bool OddParity(uint8_t value) {
    value ^= value >> 4;
    value ^= value >> 2;
    value ^= value >> 1;
    return (value & 1) != 0;
}

}  // namespace

CRegisterFile::CRegisterFile(CMemorySegment& internalRam, CMemorySegment& sfrSpace,
                             IRegisterFileHost& host)
    : internalRam_(internalRam),
      sfrSpace_(sfrSpace),
      sfrBytes_(sfrSpace.PointerAt(0)),
      host_(host) {
    Reset();
}

void CRegisterFile::Reset() {
    SetSp(7);
    for (int i = 0; i < 4; ++i) {
        WritePort(i, 0xFF);
    }
    for (uint8_t address : kZeroAtReset) {
        SetSfr(address, 0);
    }
    for (uint8_t& sample : timing_.pinSample) {
        sample = 0xFF;
    }
    timing_.latchedTcon = 0;
    timing_.latchedTmod = 0;
    timing_.serialStatus = 0;
    timing_.txTicks = 0;
    timing_.baudPrescaler = 0;
    timing_.bitTime = 0;
    timing_.serialMarks = 0;
    timing_.mode2Divider = 0;
    timing_.inputTaken = 1;
    interruptLevel_ = 0;
    readModifyWrite_ = false;
    for (uint8_t& latch : latches_) {
        latch = 0xFF;
    }
    cycles_ = 0;
}

uint8_t CRegisterFile::Sfr(uint8_t address) const {
    return *const_cast<CMemorySegment&>(sfrSpace_).PointerAt(address);
}

void CRegisterFile::SetSfr(uint8_t address, uint8_t value) {
    *sfrSpace_.PointerAt(address) = value;
}

uint8_t CRegisterFile::ReadRam(uint8_t address) { return internalRam_.ReadByte(address); }

uint8_t CRegisterFile::ReadPort(int index) {
    const uint8_t address = sfr::kPorts[index];
    if (readModifyWrite_) {
        return latches_[index];
    }
    if (host_.HardwarePortsActive()) {
        uint8_t fromBoard = 0;
        if (host_.ReadBoardPort(address, &fromBoard)) {
            SetSfr(address, fromBoard);
        }
    }
    return Sfr(address);
}

void CRegisterFile::WritePort(int index, uint8_t value) {
    const uint8_t address = sfr::kPorts[index];
    latches_[index] = value;
    SetSfr(address, value);
    if (host_.HardwarePortsActive()) {
        host_.WriteBoardPort(address, value);
    }
}

uint8_t CRegisterFile::ReadDirect(uint8_t address) {
    if (address < 0x80) {
        return ReadRam(address);
    }
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        return ReadPort(port);
    }
    const uint8_t value = Sfr(address);
    if (address == sfr::SBUF || (address == sfr::SCON && (value & sfr::SCON_RI) == 0)) {
        timing_.inputTaken = 1;
    }
    return value;
}

bool CRegisterFile::WriteDirect(uint8_t address, uint8_t value) {
    if (address < 0x80) {
        return internalRam_.WriteByte(address, value);
    }
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        WritePort(port, value);
        return true;
    }
    SetSfr(address, value);
    if (address == sfr::ACC) {
        UpdateParity();
    } else if (address == sfr::SBUF) {
        TransmitByte(value);
    }
    return true;
}

void CRegisterFile::TransmitByte(uint8_t value) {
    host_.SerialTransmit(value);
    if (!host_.SimulateSerial()) {
        SetSfr(sfr::SCON, Sfr(sfr::SCON) | sfr::SCON_TI);
        return;
    }
    // The frame behind the data: TB8 in the 9-bit modes (SM0 set), else the stop bit, then ones.
    const uint8_t scon = Sfr(sfr::SCON);
    const bool zeroNinthBit = (scon & sfr::SCON_SM0) != 0 && (scon & sfr::SCON_TB8) == 0;
    timing_.shiftRegister = static_cast<uint16_t>((zeroNinthBit ? 0xFE00 : 0xFF00) | value);
    timing_.serialStatus |= kSerialRequested;
}

bool CRegisterFile::ReadBit(uint8_t bit) {
    const uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
    if (bit < 0x80) {
        return (ReadRam(static_cast<uint8_t>(0x20 + (bit >> 3))) & mask) != 0;
    }
    const uint8_t address = bit & 0xF8;
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        SetSfr(address, ReadPort(port));
    }
    const bool value = (Sfr(address) & mask) != 0;
    if (bit == kRiBit && !value) {
        timing_.inputTaken = 1;  // the program waits for the next byte
    }
    return value;
}

bool CRegisterFile::WriteBit(uint8_t bit, bool value) {
    const uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
    auto apply = [&](uint8_t byte) {
        return static_cast<uint8_t>(value ? (byte | mask) : (byte & ~mask));
    };
    if (bit < 0x80) {
        const uint8_t address = static_cast<uint8_t>(0x20 + (bit >> 3));
        return internalRam_.WriteByte(address, apply(ReadRam(address)));
    }
    const uint8_t address = bit & 0xF8;
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        // A port bit changes the latch, never the pins that a read would have seen.
        SetSfr(address, latches_[port]);
        WritePort(port, apply(latches_[port]));
        return true;
    }
    return WriteDirect(address, apply(Sfr(address)));
}

uint8_t CRegisterFile::ReadIndirect(uint8_t address) { return ReadRam(address); }

bool CRegisterFile::WriteIndirect(uint8_t address, uint8_t value) {
    return internalRam_.WriteByte(address, value);
}

bool CRegisterFile::PushByte(uint8_t value) {
    const uint8_t sp = static_cast<uint8_t>(Sp() + 1);
    SetSp(sp);
    return internalRam_.WriteByte(sp, value);
}

uint8_t CRegisterFile::PopByte() {
    const uint8_t sp = Sp();
    const uint8_t value = ReadRam(sp);
    SetSp(static_cast<uint8_t>(sp - 1));
    return value;
}

uint8_t CRegisterFile::Acc() const { return Sfr(sfr::ACC); }

void CRegisterFile::SetAcc(uint8_t value) {
    SetSfr(sfr::ACC, value);
    UpdateParity();
}

uint8_t CRegisterFile::B() const { return Sfr(sfr::B); }
void CRegisterFile::SetB(uint8_t value) { SetSfr(sfr::B, value); }
uint8_t CRegisterFile::Psw() const { return Sfr(sfr::PSW); }
void CRegisterFile::SetPsw(uint8_t value) { SetSfr(sfr::PSW, value); }
bool CRegisterFile::Carry() const { return (Psw() & sfr::PSW_CY) != 0; }

void CRegisterFile::SetCarry(bool on) {
    SetPsw(static_cast<uint8_t>(on ? (Psw() | sfr::PSW_CY) : (Psw() & ~sfr::PSW_CY)));
}

uint8_t CRegisterFile::Sp() const { return Sfr(sfr::SP); }
void CRegisterFile::SetSp(uint8_t value) { SetSfr(sfr::SP, value); }

uint16_t CRegisterFile::Dptr() const {
    return static_cast<uint16_t>((Sfr(sfr::DPH) << 8) | Sfr(sfr::DPL));
}

void CRegisterFile::SetDptr(uint16_t value) {
    SetSfr(sfr::DPL, static_cast<uint8_t>(value & 0xFF));
    SetSfr(sfr::DPH, static_cast<uint8_t>(value >> 8));
}

void CRegisterFile::UpdateParity() {
    const uint8_t psw = Psw();
    SetPsw(static_cast<uint8_t>(OddParity(Acc()) ? (psw | sfr::PSW_P) : (psw & ~sfr::PSW_P)));
}

uint8_t CRegisterFile::BankBase() const { return static_cast<uint8_t>(Psw() & sfr::PSW_RS); }

uint8_t CRegisterFile::R(int n) { return ReadRam(static_cast<uint8_t>(BankBase() + (n & 7))); }

bool CRegisterFile::SetR(int n, uint8_t value) {
    return internalRam_.WriteByte(static_cast<uint8_t>(BankBase() + (n & 7)), value);
}

}  // namespace ostrel
