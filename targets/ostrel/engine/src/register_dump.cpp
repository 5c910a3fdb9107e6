// The register dump text that the host shows in its register window.
#include <cstdio>

#include "ostrel/register_file.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

constexpr const char kRegisterFormat[] =
    "8051 Registers:\r\n"
    "ACC     0x%02X\r\n"
    "B       0x%02X\r\n"
    "SP      0x%02X    [0x%02X]\r\n"
    "DPTR  0x%04X    [0x%02X]\r\n"
    "PC    0x%04X\r\n"
    "PSW     0x%02X    %s\r\n"
    "IE      0x%02X\r\n"
    "IP      0x%02X\r\n"
    "R0      0x%02X    [0x%02X]\r\n"
    "R1      0x%02X    [0x%02X]\r\n"
    "R2      0x%02X\r\n"
    "R3      0x%02X\r\n"
    "R4      0x%02X\r\n"
    "R5      0x%02X\r\n"
    "R6      0x%02X\r\n"
    "R7      0x%02X\r\n"
    "Port0   0x%02X\r\n"
    "Port1   0x%02X\r\n"
    "Port2   0x%02X\r\n"
    "Port3   0x%02X\r\n"
    "PCON    0x%02X\r\n"
    "SBUF    0x%02X\r\n"
    "SCON    0x%02X\r\n"
    "TCON    0x%02X\r\n"
    "TMOD    0x%02X\r\n"
    "T0    0x%04X\r\n"
    "T1    0x%04X\r\n";

constexpr const char kRamFormat[] =
    "0x08:   0x%02X\r\n0x09:   0x%02X\r\n0x0A:   0x%02X\r\n0x0B:   0x%02X\r\n"
    "0x0C:   0x%02X\r\n0x0D:   0x%02X\r\n0x0E:   0x%02X\r\n0x0F:   0x%02X\r\n"
    "0x10:   0x%02X\r\n0x11:   0x%02X\r\n0x12:   0x%02X\r\n0x13:   0x%02X\r\n"
    "0x14:   0x%02X\r\n0x15:   0x%02X\r\n0x16:   0x%02X\r\n";

}  // namespace

void CRegisterFile::WriteDumpText(char* buffer, size_t length) {
    if (buffer == nullptr || length == 0) {
        return;
    }
    const uint8_t psw = Psw();
    char flags[9];
    std::snprintf(flags, sizeof(flags), "%c%c%c%c%c%c%c%c", (psw & sfr::PSW_CY) ? 'C' : '-',
                  (psw & sfr::PSW_AC) ? 'A' : '-', (psw & sfr::PSW_F0) ? 'F' : '-', '-', '-',
                  (psw & sfr::PSW_OV) ? 'O' : '-', '-', (psw & sfr::PSW_P) ? 'P' : '-');
    const int written = std::snprintf(
        buffer, length, kRegisterFormat, Acc(), B(), Sp(), Get("SP->"), Dptr(), Get("DPTR->"), Pc(),
        psw, flags, Sfr(sfr::IE), Sfr(sfr::IP), R(0), Get("R0->"), R(1), Get("R1->"), R(2), R(3),
        R(4), R(5), R(6), R(7), Get("Port0"), Get("Port1"), Get("Port2"), Get("Port3"),
        Sfr(sfr::PCON), Sfr(sfr::SBUF), Sfr(sfr::SCON), Sfr(sfr::TCON), Sfr(sfr::TMOD), Get("T0"),
        Get("T1"));
    if (written < 0 || static_cast<size_t>(written) >= length) {
        return;  // cut; snprintf has terminated it in the last byte
    }
    uint8_t ram[15];
    for (int i = 0; i < 15; ++i) {
        ram[i] = ReadIndirect(static_cast<uint8_t>(0x08 + i));
    }
    std::snprintf(buffer + written, length - static_cast<size_t>(written), kRamFormat, ram[0],
                  ram[1], ram[2], ram[3], ram[4], ram[5], ram[6], ram[7], ram[8], ram[9], ram[10],
                  ram[11], ram[12], ram[13], ram[14]);
}

}  // namespace ostrel
