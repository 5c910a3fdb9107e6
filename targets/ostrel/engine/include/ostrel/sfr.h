// Every special function register address, register bit, pin and bit address that the simulated
// chip models: the one vocabulary that the engine, its parts and the plug-in all use.
#pragma once

#include <cstdint>

namespace ostrel::sfr {

// --- register addresses ---

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
constexpr uint8_t MCON = 0xC6;  // the Gristan chips' memory control
constexpr uint8_t TA = 0xC7;    // and their timed-access register
constexpr uint8_t T2CON = 0xC8;
constexpr uint8_t T2MOD = 0xC9;
constexpr uint8_t RCAP2L = 0xCA;
constexpr uint8_t RCAP2H = 0xCB;
constexpr uint8_t TL2 = 0xCC;
constexpr uint8_t TH2 = 0xCD;
constexpr uint8_t PSW = 0xD0;
constexpr uint8_t ACC = 0xE0;
constexpr uint8_t B = 0xF0;

// The four port registers, P0 to P3.
constexpr uint8_t kPorts[4] = {P0, P1, P2, P3};

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

// Timer 2's registers, which the 8052 family adds.
constexpr uint8_t kTimer2Registers[] = {T2CON, T2MOD, RCAP2L, RCAP2H, TL2, TH2};

// --- PSW ---

constexpr uint8_t PSW_CY = 0x80;
constexpr uint8_t PSW_AC = 0x40;
constexpr uint8_t PSW_F0 = 0x20;
constexpr uint8_t PSW_RS = 0x18;  // the register bank, as the bank's base address
constexpr uint8_t PSW_OV = 0x04;
constexpr uint8_t PSW_P = 0x01;

// --- PCON ---

constexpr uint8_t PCON_SMOD = 0x80;
constexpr uint8_t PCON_PD = 0x02;
constexpr uint8_t PCON_IDL = 0x01;

// --- TCON ---

constexpr uint8_t TCON_TF1 = 0x80;
constexpr uint8_t TCON_TR1 = 0x40;
constexpr uint8_t TCON_TF0 = 0x20;
constexpr uint8_t TCON_TR0 = 0x10;
constexpr uint8_t TCON_IE1 = 0x08;
constexpr uint8_t TCON_IT1 = 0x04;
constexpr uint8_t TCON_IE0 = 0x02;
constexpr uint8_t TCON_IT0 = 0x01;

// --- TMOD: Timer 1 in the high nibble, Timer 0 in the low one ---

constexpr uint8_t TMOD_GATE1 = 0x80;
constexpr uint8_t TMOD_CT1 = 0x40;
constexpr int TMOD_MODE1_SHIFT = 4;
constexpr uint8_t TMOD_GATE0 = 0x08;
constexpr uint8_t TMOD_CT0 = 0x04;
constexpr int TMOD_MODE0_SHIFT = 0;
constexpr uint8_t TMOD_MODE_BITS = 0x03;  // at a timer's shift

// --- SCON ---

constexpr uint8_t SCON_SM0 = 0x80;
constexpr uint8_t SCON_SM1 = 0x40;
constexpr uint8_t SCON_SM2 = 0x20;
constexpr uint8_t SCON_REN = 0x10;
constexpr uint8_t SCON_TB8 = 0x08;
constexpr uint8_t SCON_RB8 = 0x04;
constexpr uint8_t SCON_TI = 0x02;
constexpr uint8_t SCON_RI = 0x01;
constexpr int SCON_MODE_SHIFT = 6;

// --- IE and IP: one bit per interrupt source, in the same places ---

constexpr uint8_t IE_EA = 0x80;
constexpr uint8_t IE_ET2 = 0x20;
constexpr uint8_t IE_ES = 0x10;
constexpr uint8_t IE_ET1 = 0x08;
constexpr uint8_t IE_EX1 = 0x04;
constexpr uint8_t IE_ET0 = 0x02;
constexpr uint8_t IE_EX0 = 0x01;
constexpr uint8_t IP_PT2 = 0x20;
constexpr uint8_t IP_PS = 0x10;
constexpr uint8_t IP_PT1 = 0x08;
constexpr uint8_t IP_PX1 = 0x04;
constexpr uint8_t IP_PT0 = 0x02;
constexpr uint8_t IP_PX0 = 0x01;

// --- T2CON and T2MOD ---

constexpr uint8_t T2CON_TF2 = 0x80;
constexpr uint8_t T2CON_EXF2 = 0x40;
constexpr uint8_t T2CON_RCLK = 0x20;
constexpr uint8_t T2CON_TCLK = 0x10;
constexpr uint8_t T2CON_EXEN2 = 0x08;
constexpr uint8_t T2CON_TR2 = 0x04;
constexpr uint8_t T2CON_CT2 = 0x02;
constexpr uint8_t T2CON_CPRL2 = 0x01;
constexpr uint8_t T2MOD_DCEN = 0x01;

// --- MCON and TA of the Gristan chips ---

constexpr uint8_t MCON_PA = 0xF0;     // the partition in 2 KB steps
constexpr uint8_t MCON_RANGE = 0x08;  // with the 32 KB range: a partition above 8 KB allowed
constexpr uint8_t MCON_PAA = 0x02;    // PA may be changed
constexpr uint8_t MCON_BIT0 = 0x01;
constexpr uint8_t MCON_RESET = 0xF8;
constexpr uint8_t TA_ARM = 0xAA;   // written first ...
constexpr uint8_t TA_OPEN = 0x55;  // ... then this opens the window
constexpr uint8_t TA_IDLE = 0xE9;  // what TA reads between instructions
// Bits that change only inside a timed-access window.
constexpr uint8_t PCON_TIMED = 0x46;
constexpr uint8_t IP_TIMED = 0x80;

// --- pins ---

constexpr uint8_t P3_RXD = 0x01;
constexpr uint8_t P3_TXD = 0x02;
constexpr uint8_t P3_INT0 = 0x04;
constexpr uint8_t P3_INT1 = 0x08;
constexpr uint8_t P1_T2EX = 0x02;

// --- bit addresses ---

constexpr uint8_t BIT_RXD = 0xB0;  // P3.0
constexpr uint8_t BIT_TXD = 0xB1;  // P3.1
constexpr uint8_t BIT_RI = 0x98;   // SCON.0

}  // namespace ostrel::sfr
