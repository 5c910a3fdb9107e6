// Character timing and framing on the virtual cable.
#include "vport_line.h"

namespace w32 {
namespace vport {

uint64_t CharacterMicros(const LineSettings& line) {
    // Counted in half bits, for the one and a half stop bits.
    uint64_t halfBits = 2u * (1u + line.dataBits + (line.parity != NOPARITY ? 1u : 0u));
    halfBits += line.stopBits == ONESTOPBIT ? 2u : line.stopBits == ONE5STOPBITS ? 3u : 4u;
    uint64_t baud = line.baud != 0 ? line.baud : 1;
    return (halfBits * 1000000u + 2 * baud - 1) / (2 * baud);
}

BYTE Receive(BYTE byte, const LineSettings& sender, const LineSettings& receiver, bool* garbled) {
    BYTE mask = static_cast<BYTE>((1u << receiver.dataBits) - 1u);
    if (sender == receiver) {
        *garbled = false;
        return static_cast<BYTE>(byte & mask);
    }
    // Adding an odd number changes every byte whatever the receiver's data bits keep of it, and
    // unlike a fixed bit flip, a byte garbled on the way out and again on the way back (an echo at
    // the wrong rate) does not come back whole.
    *garbled = true;
    return static_cast<BYTE>((byte + 0x5Bu) & mask);
}

}  // namespace vport
}  // namespace w32
