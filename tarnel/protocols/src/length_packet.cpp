#include "tarnel/protocols/length_packet.h"

#include <vector>

namespace length_packet {

BYTE Sum(const BYTE* bytes, size_t count) {
    BYTE sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum = static_cast<BYTE>(sum + bytes[i]);
    }
    return sum;
}

int Send(CComms& port, std::initializer_list<BYTE> body) {
    std::vector<BYTE> packet;
    packet.reserve(body.size() + 2);
    packet.push_back(static_cast<BYTE>(body.size()));
    packet.insert(packet.end(), body.begin(), body.end());
    packet.push_back(static_cast<BYTE>(0x100 - Sum(packet.data(), packet.size())));
    return port.Write(static_cast<const BYTE*>(packet.data()), static_cast<DWORD>(packet.size()));
}

Head ReadHead(CComms& port, BYTE command, BYTE* reply, BYTE* errorCode, bool* errorRead) {
    *errorRead = false;
    if (port.Read(reply, 2) != COMMS_OK) {
        return Head::NoReply;
    }
    if (reply[1] == kBoardErrorEcho) {
        BYTE error[2];
        if (port.Read(error, 2) == COMMS_OK) {
            *errorCode = error[0];
            *errorRead = true;
        }
        return Head::BoardError;
    }
    return reply[1] == command ? Head::Good : Head::WrongEcho;
}

}  // namespace length_packet
