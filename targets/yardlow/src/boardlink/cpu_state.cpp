// The register model: its reset, SP, ACC with parity, DPTR.
#include "boardlink/cpu_state.h"

#include "ostrel/sfr.h"

namespace sfr = ostrel::sfr;

namespace {

// 1 for a nibble with an odd number of one bits.
constexpr uint8_t kNibbleParity[16] = {0, 1, 1, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0};

}  // namespace

CpuState::CpuState(uint8_t* internalRam, uint8_t* sfr)
    : m_internalRam(internalRam), m_sfr(sfr), m_pc(kStoppedPc), m_psw(sfr + sfr::PSW) {
    Reset();
}

void CpuState::Reset() {
    m_sfr[sfr::SP] = 7;
    for (uint8_t port : sfr::kPorts) {
        m_sfr[port] = 0xFF;
    }
}

uint8_t CpuState::Sp() const { return m_sfr[sfr::SP]; }

void CpuState::SetAcc(uint8_t value) {
    m_sfr[sfr::ACC] = value;
    *m_psw = static_cast<uint8_t>((*m_psw & ~sfr::PSW_P) | Parity(value));
}

uint16_t CpuState::Dptr() const {
    return static_cast<uint16_t>(m_sfr[sfr::DPH] << 8 | m_sfr[sfr::DPL]);
}

void CpuState::SetDptr(uint16_t value) {
    m_sfr[sfr::DPH] = static_cast<uint8_t>(value >> 8);
    m_sfr[sfr::DPL] = static_cast<uint8_t>(value);
}

uint8_t CpuState::Parity(uint8_t value) {
    return kNibbleParity[value >> 4] ^ kNibbleParity[value & 0x0F];
}
