// Register access of the simulated chip: direct, bit and indirect addressing, the routing of a
// peripheral's registers to it, ports, the stack and the reset of the core registers.
#include "ostrel/register_file.h"

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

// Core registers that the reset sets to 0; the ports, SP and each peripheral's own registers are
// handled apart.
constexpr uint8_t kZeroAtReset[] = {sfr::ACC, sfr::B, sfr::PSW, sfr::DPL, sfr::DPH, sfr::PCON};

bool OddParity(uint8_t value) {
    value ^= value >> 4;
    value ^= value >> 2;
    value ^= value >> 1;
    return (value & 1) != 0;
}

uint8_t WithBit(uint8_t byte, uint8_t mask, bool value) {
    return static_cast<uint8_t>(value ? (byte | mask) : (byte & ~mask));
}

}  // namespace

void CRegisterFile::Reset() {
    SetSp(7);
    for (int i = 0; i < 4; ++i) {
        WritePort(i, 0xFF);
    }
    for (uint8_t address : kZeroAtReset) {
        SetSfr(address, 0);
    }
    m_readModifyWrite = false;
    for (uint8_t& latch : m_latches) {
        latch = 0xFF;
    }
    m_cycles = 0;
}

uint8_t CRegisterFile::Sfr(uint8_t address) const { return m_cpu.sfr[address]; }

void CRegisterFile::SetSfr(uint8_t address, uint8_t value) { m_cpu.sfr[address] = value; }

uint8_t CRegisterFile::ReadRam(uint8_t address) {
    return address < m_cpu.ramSize ? m_cpu.ram[address]
                                   : m_chip.Host().ReadOutside(ChipSpace::InternalRam, address);
}

bool CRegisterFile::WriteRam(uint8_t address, uint8_t value) {
    if (address < m_cpu.ramSize) {
        m_cpu.ram[address] = value;
        return true;
    }
    return m_chip.Host().WriteOutside(ChipSpace::InternalRam, address, value);
}

uint8_t CRegisterFile::ReadExternal(uint16_t address) {
    return address < m_cpu.xdataSize ? m_cpu.xdata[address]
                                     : m_chip.Host().ReadOutside(ChipSpace::ExternalData, address);
}

bool CRegisterFile::WriteExternal(uint16_t address, uint8_t value) {
    if (address < m_cpu.xdataSize) {
        m_cpu.xdata[address] = value;
        return true;
    }
    return m_chip.Host().WriteOutside(ChipSpace::ExternalData, address, value);
}

uint8_t CRegisterFile::ReadPort(int index) {
    const uint8_t address = sfr::kPorts[index];
    if (m_readModifyWrite) {
        return m_latches[index];
    }
    IChipHost& host = m_chip.Host();
    if (host.HardwarePortsActive()) {
        uint8_t fromBoard = 0;
        if (host.ReadBoardPort(address, &fromBoard)) {
            SetSfr(address, fromBoard);
        }
    }
    return Sfr(address);
}

void CRegisterFile::WritePort(int index, uint8_t value) {
    // The pins are what the timers' gates, the interrupt pins and T2EX look at: the peripherals
    // see the cycles before with the pins as they were.
    m_chip.BringUpToDate();
    const uint8_t address = sfr::kPorts[index];
    m_latches[index] = value;
    SetSfr(address, value);
    IChipHost& host = m_chip.Host();
    if (host.HardwarePortsActive()) {
        host.WriteBoardPort(address, value);
    }
    m_chip.TimingChanged();
}

uint8_t CRegisterFile::ReadSfr(uint8_t address, uint8_t mask) {
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        return ReadPort(port);
    }
    CChipPart* owner = m_chip.OwnerOf(address);
    if (owner == nullptr) {
        return Sfr(address);
    }
    m_chip.BringUpToDate();
    return owner->ReadRegister(address, mask);
}

void CRegisterFile::WriteSfr(uint8_t address, uint8_t value) {
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        WritePort(port, value);
        return;
    }
    CChipPart* owner = m_chip.OwnerOf(address);
    if (owner == nullptr) {
        SetSfr(address, value);
        if (address == sfr::ACC) {
            UpdateParity();
        }
        return;
    }
    m_chip.BringUpToDate();
    owner->WriteRegister(address, value);
    m_chip.TimingChanged();
}

uint8_t CRegisterFile::ReadDirect(uint8_t address) {
    return address < 0x80 ? ReadRam(address) : ReadSfr(address, 0xFF);
}

bool CRegisterFile::WriteDirect(uint8_t address, uint8_t value) {
    if (address < 0x80) {
        return WriteRam(address, value);
    }
    WriteSfr(address, value);
    return true;
}

bool CRegisterFile::ReadBit(uint8_t bit) {
    const uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
    if (bit < 0x80) {
        return (ReadRam(static_cast<uint8_t>(0x20 + (bit >> 3))) & mask) != 0;
    }
    const uint8_t address = bit & 0xF8;
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        // The bit of a port as a port read gives it, which its byte then shows.
        SetSfr(address, ReadPort(port));
        return (Sfr(address) & mask) != 0;
    }
    return (ReadSfr(address, mask) & mask) != 0;
}

bool CRegisterFile::WriteBit(uint8_t bit, bool value) {
    const uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
    if (bit < 0x80) {
        const uint8_t address = static_cast<uint8_t>(0x20 + (bit >> 3));
        return WriteRam(address, WithBit(ReadRam(address), mask, value));
    }
    const uint8_t address = bit & 0xF8;
    const int port = sfr::PortIndex(address);
    if (port >= 0) {
        // A port bit changes the latch, never the pins that a read would have seen.
        SetSfr(address, m_latches[port]);
        WritePort(port, WithBit(m_latches[port], mask, value));
        return true;
    }
    if (m_chip.OwnerOf(address) != nullptr) {
        m_chip.BringUpToDate();  // the other bits as they are now
    }
    WriteSfr(address, WithBit(Sfr(address), mask, value));
    return true;
}

uint8_t CRegisterFile::ReadIndirect(uint8_t address) { return ReadRam(address); }

bool CRegisterFile::WriteIndirect(uint8_t address, uint8_t value) {
    return WriteRam(address, value);
}

bool CRegisterFile::PushByte(uint8_t value) {
    const uint8_t sp = static_cast<uint8_t>(Sp() + 1);
    SetSp(sp);
    return WriteRam(sp, value);
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
void CRegisterFile::SetCarry(bool on) { SetPsw(WithBit(Psw(), sfr::PSW_CY, on)); }
uint8_t CRegisterFile::Sp() const { return Sfr(sfr::SP); }
void CRegisterFile::SetSp(uint8_t value) { SetSfr(sfr::SP, value); }

uint16_t CRegisterFile::Dptr() const {
    return static_cast<uint16_t>((Sfr(sfr::DPH) << 8) | Sfr(sfr::DPL));
}

void CRegisterFile::SetDptr(uint16_t value) {
    SetSfr(sfr::DPL, static_cast<uint8_t>(value & 0xFF));
    SetSfr(sfr::DPH, static_cast<uint8_t>(value >> 8));
}

void CRegisterFile::UpdateParity() { SetPsw(WithBit(Psw(), sfr::PSW_P, OddParity(Acc()))); }

uint8_t CRegisterFile::BankBase() const { return static_cast<uint8_t>(Psw() & sfr::PSW_RS); }

uint8_t CRegisterFile::R(int n) { return ReadRam(static_cast<uint8_t>(BankBase() + (n & 7))); }

bool CRegisterFile::SetR(int n, uint8_t value) {
    return WriteRam(static_cast<uint8_t>(BankBase() + (n & 7)), value);
}

}  // namespace ostrel
