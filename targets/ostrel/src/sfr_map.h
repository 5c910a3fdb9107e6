// Addresses and bits of the MCS-51 special function registers that the simulator models.
#pragma once

#include <cstdint>

namespace ostrel::sfr {

constexpr uint8_t P0 = 0x80;
constexpr uint8_t SP = 0x81;
constexpr uint8_t DPL = 0x82;
constexpr uint8_t DPH = 0x83;
constexpr uint8_t PCON = 0x87;
constexpr uint8_t TCON = 0x88;
constexpr uint8_t TMOD = 0x89;
constexpr uint8_t TL0 = 0x8A;
constexpr uint8_t TL1 = 0x8B;
constexpr uint8_t TH0 = 0x8C;
constexpr uint8_t TH1 = 0x8D;
constexpr uint8_t P1 = 0x90;
constexpr uint8_t SCON = 0x98;
constexpr uint8_t SBUF = 0x99;
constexpr uint8_t P2 = 0xA0;
constexpr uint8_t IE = 0xA8;
constexpr uint8_t P3 = 0xB0;
constexpr uint8_t IP = 0xB8;
constexpr uint8_t T2CON = 0xC8;
constexpr uint8_t T2MOD = 0xC9;
constexpr uint8_t RCAP2L = 0xCA;
constexpr uint8_t RCAP2H = 0xCB;
constexpr uint8_t TL2 = 0xCC;
constexpr uint8_t TH2 = 0xCD;
constexpr uint8_t MCON = 0xC6;  // the Gristan chips' memory control
constexpr uint8_t TA = 0xC7;    // and their timed-access register
constexpr uint8_t PSW = 0xD0;
constexpr uint8_t ACC = 0xE0;
constexpr uint8_t B = 0xF0;

// The four port registers, P0 to P3.
constexpr uint8_t kPorts[4] = {P0, P1, P2, P3};

// PSW bits.
constexpr uint8_t PSW_CY = 0x80;
constexpr uint8_t PSW_AC = 0x40;
constexpr uint8_t PSW_F0 = 0x20;
constexpr uint8_t PSW_RS = 0x18;
constexpr uint8_t PSW_OV = 0x04;
constexpr uint8_t PSW_P = 0x01;

// TCON bits.
constexpr uint8_t TCON_TF1 = 0x80;
constexpr uint8_t TCON_TR1 = 0x40;
constexpr uint8_t TCON_TF0 = 0x20;
constexpr uint8_t TCON_TR0 = 0x10;
constexpr uint8_t TCON_IE1 = 0x08;
constexpr uint8_t TCON_IT1 = 0x04;
constexpr uint8_t TCON_IE0 = 0x02;
constexpr uint8_t TCON_IT0 = 0x01;

// SCON bits.
constexpr uint8_t SCON_SM0 = 0x80;
constexpr uint8_t SCON_SM1 = 0x40;
constexpr uint8_t SCON_SM2 = 0x20;
constexpr uint8_t SCON_REN = 0x10;
constexpr uint8_t SCON_TB8 = 0x08;
constexpr uint8_t SCON_RB8 = 0x04;
constexpr uint8_t SCON_TI = 0x02;
constexpr uint8_t SCON_RI = 0x01;

// T2CON bits, and DCEN of T2MOD.
constexpr uint8_t T2CON_TF2 = 0x80;
constexpr uint8_t T2CON_EXF2 = 0x40;
constexpr uint8_t T2CON_RCLK = 0x20;
constexpr uint8_t T2CON_TCLK = 0x10;
constexpr uint8_t T2CON_EXEN2 = 0x08;
constexpr uint8_t T2CON_TR2 = 0x04;
constexpr uint8_t T2CON_CT2 = 0x02;
constexpr uint8_t T2CON_CPRL2 = 0x01;
constexpr uint8_t T2MOD_DCEN = 0x01;

// IE and IP bits of Timer 2.
constexpr uint8_t IE_ET2 = 0x20;
constexpr uint8_t IP_PT2 = 0x20;

// PCON bits.
constexpr uint8_t PCON_SMOD = 0x80;
constexpr uint8_t PCON_PD = 0x02;
constexpr uint8_t PCON_IDL = 0x01;

// The port register that a bit address of a port belongs to, or 0 when it is no port bit.
constexpr uint8_t PortOfBit(uint8_t bit) {
    const uint8_t reg = bit & 0xF8;
    return (reg == P0 || reg == P1 || reg == P2 || reg == P3) ? reg : 0;
}

// Index 0 to 3 of a port register address, or -1 for any other address.
constexpr int PortIndex(uint8_t address) {
    switch (address) {
        case P0:
            return 0;
        case P1:
            return 1;
        case P2:
            return 2;
        case P3:
            return 3;
        default:
            return -1;
    }
}

}  // namespace ostrel::sfr
