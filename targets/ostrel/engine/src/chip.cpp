// The chip: its parts by variant, the routing of their registers, memory binding, reset, and the
// bookkeeping of machine cycles that the parts have not seen yet.
#include "ostrel/chip.h"

#include <algorithm>

#include "ostrel/sfr.h"

namespace ostrel {

uint8_t CChipPart::ReadRegister(uint8_t address, uint8_t) { return Sfr()[address]; }

void CChipPart::WriteRegister(uint8_t address, uint8_t value) { Sfr()[address] = value; }

CChipPart::CChipPart(CChip& chip) : m_chip(chip), m_cpu(chip.Memory()) {}

CChip::CChip(ChipFamily family, IChipHost& host)
    : m_variant(VariantOf(family)),
      m_host(host),
      m_registers(*this, m_cpu),
      m_timers(*this),
      m_interrupts(*this),
      m_serial(*this) {
    m_cpu.chip = this;
    m_cpu.host = &host;
    m_cpu.regs = &m_registers;
    for (uint8_t port : sfr::kPorts) {
        m_cpu.sfrAccess[port & 0x7F] = engine::kSfrReadSpecial | engine::kSfrWriteSpecial;
    }
    m_cpu.sfrAccess[sfr::ACC & 0x7F] = engine::kSfrWriteSpecial;  // the parity follows A

    // The parts of a machine cycle in the chip's order: the 8051's own, then Timer 2, whose
    // cycle follows theirs.
    AddTimed(m_timers);
    AddTimed(m_interrupts);
    AddTimed(m_serial);
    Claim(m_timers, {sfr::TCON, sfr::TMOD, sfr::TL0, sfr::TL1, sfr::TH0, sfr::TH1});
    Claim(m_interrupts, {sfr::IE, sfr::IP});
    Claim(m_serial, {sfr::SCON, sfr::SBUF});
    const uint32_t parts = m_variant.parts;
    if ((parts & kPartTimer2) != 0) {
        m_timer2.emplace(*this, (parts & kPartT2mod) != 0 ? 2 : 1);
        AddTimed(*m_timer2);
        Claim(*m_timer2, {sfr::T2CON, sfr::T2MOD, sfr::RCAP2L, sfr::RCAP2H, sfr::TL2, sfr::TH2});
    }
    // Timed access first: MCON's rules ask whether its window is open.
    if ((parts & kPartTimedAccess) != 0) {
        m_timedAccess.emplace(*this);
        m_watching[m_watchingCount++] = &*m_timedAccess;
        Claim(*m_timedAccess, {sfr::TA});
    }
    if ((parts & kPartMcon) != 0) {
        m_mcon.emplace(*this, (parts & kPartMcon32k) != 0);
        m_watching[m_watchingCount++] = &*m_mcon;
        Claim(*m_mcon, {sfr::MCON});
    }
}

void CChip::AddTimed(CChipPart& part) {
    m_timed[m_timedCount++] = &part;
    for (int beat = 0; beat < 3; ++beat) {
        if ((part.Beats() & (1u << beat)) != 0) {
            m_beat[beat][m_beatCount[beat]++] = &part;
        }
    }
}

void CChip::Claim(CChipPart& part, std::initializer_list<uint8_t> addresses) {
    for (uint8_t address : addresses) {
        m_owners[address & 0x7F] = &part;
        m_cpu.sfrAccess[address & 0x7F] = engine::kSfrReadSpecial | engine::kSfrWriteSpecial;
    }
}

void CChip::BindMemory(MemoryView sfr, MemoryView code, MemoryView internalRam,
                       MemoryView externalData) {
    m_cpu.sfr = sfr.bytes;
    m_cpu.code = code.bytes;
    m_cpu.codeSize = code.size;
    m_cpu.ram = internalRam.bytes;
    m_cpu.ramSize = internalRam.size;
    m_cpu.xdata = externalData.bytes;
    m_cpu.xdataSize = externalData.size;
}

bool CChip::ExternalDataIsCode() const {
    return m_cpu.code != nullptr && m_cpu.xdata == m_cpu.code && m_cpu.xdataSize == m_cpu.codeSize;
}

void CChip::SetSimulateTimers(bool on) {
    m_simulateTimers = on;
    TimingChanged();
}

void CChip::SetSimulateSerial(bool on) {
    m_simulateSerial = on;
    TimingChanged();
}

void CChip::PowerOn() {
    m_pending = 0;
    m_quiet = 0;
    m_cycleClass = 0;
    m_registers.SetPc(0);
    m_registers.Reset();
    for (int i = 0; i < m_timedCount; ++i) {
        m_timed[i]->PowerOn();
    }
    for (int i = 0; i < m_watchingCount; ++i) {
        m_watching[i]->PowerOn();
    }
}

void CChip::Reset() {
    m_pending = 0;
    m_quiet = 0;
    m_registers.Reset();
    for (int i = 0; i < m_timedCount; ++i) {
        m_timed[i]->Reset();
    }
    for (int i = 0; i < m_watchingCount; ++i) {
        m_watching[i]->Reset();
    }
}

uint32_t CChip::QuietCycles() const {
    if (!m_eventDriven) {
        return 0;
    }
    uint32_t quiet = CChipPart::kQuietForever;
    for (int i = 0; i < m_timedCount && quiet != 0; ++i) {
        quiet = std::min(quiet, m_timed[i]->QuietCycles());
    }
    return quiet;
}

void CChip::BringUpToDate() {
    if (m_pending == 0) {
        return;
    }
    const uint32_t cycles = m_pending;
    m_pending = 0;
    for (int i = 0; i < m_timedCount; ++i) {
        m_timed[i]->PassCycles(cycles);
    }
    m_quiet -= cycles;
}

void CChip::RunMachineCycle(int32_t count, int index) {
    const MachineCycle cycle{m_cycleClass, index, count};
    for (int i = 0; i < m_beatCount[0]; ++i) {
        m_beat[0][i]->BeginCycle(cycle);
    }
    for (int i = 0; i < m_beatCount[1]; ++i) {
        m_beat[1][i]->MidCycle(cycle);
    }
    for (int i = 0; i < m_beatCount[2]; ++i) {
        m_beat[2][i]->EndCycle(cycle);
    }
}

}  // namespace ostrel
