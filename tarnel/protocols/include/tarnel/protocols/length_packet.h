// The programmer board's length-prefixed packets: the connection check, the blank check and the
// set-type packet that releases the board's area type.
//
// A length-prefixed packet is its count (the bytes between it and the check byte), a command, its
// fields and a check byte that makes the whole packet add up to 0. The reply begins with a count
// and the command echoed; an echo of 0xEC is the board's error, followed by its code and one byte.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "comms/comms.h"

namespace length_packet {

constexpr BYTE kConnectionCheck = 0x00;
constexpr BYTE kSetType = 0x02;
constexpr BYTE kBlankCheck = 0x06;
constexpr BYTE kBoardErrorEcho = 0xEC;

// The 8-bit sum of `count` bytes: 0 over a whole packet or reply that is intact.
BYTE Sum(const BYTE* bytes, size_t count);

// Sends the command and fields with their count and check byte: the port's write result
// (COMMS_OK when the packet went).
int Send(CComms& port, std::initializer_list<BYTE> body);

enum class Head { Good, NoReply, BoardError, WrongEcho };

// Reads the reply's count and echo into reply[0..1]. On the board's error echo it reads the
// error's code and the byte after it; `*errorCode` holds the code and `*errorRead` says whether
// they came.
Head ReadHead(CComms& port, BYTE command, BYTE* reply, BYTE* errorCode, bool* errorRead);

}  // namespace length_packet
