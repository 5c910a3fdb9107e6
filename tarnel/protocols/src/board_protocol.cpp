// The programmer board's packets, the HC908 resident-loader entry and the serial EEPROM.
#include "tarnel/protocols/board_protocol.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "w32/clock.h"

namespace {

const BYTE kSetChipType = 1;
const BYTE kWriteBlock = 2;
const BYTE kReadBlock = 3;
const BYTE kErase = 4;
const BYTE kReadVersion = 5;
const BYTE kStartLoader = 6;
const BYTE kReadBoardWord = 7;

const int kChipTypeTries = 10;
const WORD kLoaderImage1At = 0x0040;
const WORD kLoaderImage2At = 0x0100;
const DWORD kLoaderPiece = 32;

// Reads exactly `size` bytes of a resident-loader image.
int ReadImage(const std::string& path, BYTE* image, DWORD size) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return BOARD_LOADER_FILE_MISSING;
    }
    size_t got = std::fread(image, 1, size, file);
    std::fclose(file);
    return got < size ? BOARD_LOADER_FILE_SHORT : BOARD_OK;
}

}  // namespace

CBoardProtocol::CBoardProtocol() : m_chipType(3), m_lastStatus(0), m_loaderVersion{} {}

CBoardProtocol::~CBoardProtocol() = default;

int CBoardProtocol::Exchange(CComms& port, const BYTE* request, DWORD requestLength, BYTE* reply,
                             DWORD replyLength, bool hasStatus, BYTE* status) {
    // A request is at most command, kind, count, two address bytes, 255 data bytes and the check.
    BYTE packet[kMaxBlock + 6];
    std::memcpy(packet, request, requestLength);
    DWORD packetLength = requestLength;
    if (requestLength > 1) {
        packet[packetLength] = port.Bcc(packet, packetLength);
        ++packetLength;
    }
    int result = port.Write(static_cast<const BYTE*>(packet), packetLength);
    if (result != COMMS_OK) {
        return result;
    }
    std::memset(reply, 0, replyLength);
    result = port.Read(reply, replyLength);
    if (result != COMMS_OK) {
        return result;
    }
    if (port.Bcc(reply, replyLength - 1) != reply[replyLength - 1]) {
        return BOARD_CHECK_WRONG;
    }
    if (reply[0] != request[0]) {
        return BOARD_WRONG_REPLY;
    }
    if (!hasStatus) {
        return BOARD_OK;
    }
    if (status != nullptr) {
        *status = reply[1];
    }
    return reply[1] == 0 ? BOARD_OK : BOARD_FAILED;
}

int CBoardProtocol::BlockPacket(CComms& port, BYTE command, BYTE kind, WORD address, DWORD length,
                                const BYTE* data, BYTE* replyData, BYTE* status) {
    if (length > kMaxBlock) {
        return BOARD_TOO_LONG;
    }
    BYTE request[kMaxBlock + 5];
    request[0] = command;
    request[1] = kind;
    request[2] = static_cast<BYTE>(length);
    request[3] = static_cast<BYTE>(address);
    request[4] = static_cast<BYTE>(address >> 8);
    DWORD requestLength = 5;
    if (data != nullptr) {
        std::memcpy(request + 5, data, length);
        requestLength += length;
    }
    BYTE reply[kMaxBlock + 3];
    DWORD replyLength = replyData != nullptr ? length + 3 : 3;
    int result = Exchange(port, request, requestLength, reply, replyLength, true, status);
    if (result == BOARD_OK && replyData != nullptr) {
        std::memcpy(replyData, reply + 2, length);
    }
    return result;
}

int CBoardProtocol::SimpleCommand(CComms& port, BYTE command) {
    BYTE reply[3];
    return Exchange(port, &command, 1, reply, sizeof reply, true, nullptr);
}

int CBoardProtocol::WriteBlock(CComms& port, WORD address, DWORD length, const BYTE* data) {
    return BlockPacket(port, kWriteBlock, MemoryKindAt(address), address, length, data, nullptr,
                       nullptr);
}

int CBoardProtocol::ReadBlock(CComms& port, WORD address, DWORD length, BYTE* destination) {
    return BlockPacket(port, kReadBlock, ReadKindAt(address), address, length, nullptr, destination,
                       nullptr);
}

BYTE CBoardProtocol::ReadKindAt(WORD) { return 1; }

BYTE CBoardProtocol::MemoryKindAt(WORD address) {
    if ((address >= 0x8000 && address < 0xFE00) || address >= 0xFFDC) {
        return 2;  // the HC908 chip's flash and vectors
    }
    return 1;  // its RAM
}

int CBoardProtocol::SetChipType(CComms& port) {
    // The board knows the boot-loader chips by one type.
    BYTE type = (m_chipType == 10 || m_chipType == 12 || m_chipType == 15) ? 2 : m_chipType;
    BYTE request[2] = {kSetChipType, type};
    BYTE reply[3];
    return Exchange(port, request, sizeof request, reply, sizeof reply, true, &m_lastStatus);
}

int CBoardProtocol::Erase(CComms& port) { return SimpleCommand(port, kErase); }

int CBoardProtocol::StartLoader(CComms& port) { return SimpleCommand(port, kStartLoader); }

int CBoardProtocol::ReadVersionBlock(CComms& port, DWORD* result) {
    BYTE command = kReadVersion;
    BYTE reply[6];
    int r = Exchange(port, &command, 1, reply, sizeof reply, false, nullptr);
    if (r == BOARD_OK && result != nullptr) {
        *result = static_cast<DWORD>(reply[1]) | static_cast<DWORD>(reply[2]) << 8 |
                  static_cast<DWORD>(reply[3]) << 16 | static_cast<DWORD>(reply[4]) << 24;
    }
    return r;
}

int CBoardProtocol::ReadBoardWord(CComms& port, WORD* result) {
    BYTE command = kReadBoardWord;
    BYTE reply[5];
    int r = Exchange(port, &command, 1, reply, sizeof reply, true, nullptr);
    if (r == BOARD_OK && result != nullptr) {
        *result = static_cast<WORD>(reply[2] << 8 | reply[3]);
    }
    return r;
}

int CBoardProtocol::EnterLoader(CComms& port, const char* filePrefix) {
    std::memset(m_loaderVersion, 0, sizeof m_loaderVersion);
    if (port.SetRTS() != COMMS_OK) {
        return BOARD_RTS_ON_FAILED;
    }
    bool accepted = false;
    for (int attempt = 0; attempt < kChipTypeTries && !accepted; ++attempt) {
        w32::Sleep(200);
        if (port.PurgeRcvBuffer() != COMMS_OK) {
            return BOARD_PURGE_FAILED;
        }
        accepted = SetChipType(port) == BOARD_OK;
        if (!accepted) {
            w32::Sleep(3000);
        }
    }
    if (!accepted) {
        return BOARD_NO_ANSWER;
    }

    // The images are read only once the chip answers, so that a board that is not there never
    // costs a file access.
    std::string prefix = filePrefix != nullptr ? filePrefix : "";
    BYTE image1[kLoaderImage1Size];
    BYTE image2[kLoaderImage2Size];
    int result = ReadImage(prefix + "1.bin", image1, kLoaderImage1Size);
    if (result == BOARD_OK) {
        result = ReadImage(prefix + "2.bin", image2, kLoaderImage2Size);
    }
    if (result != BOARD_OK) {
        return result;
    }
    struct Image {
        const BYTE* bytes;
        DWORD size;
        WORD at;
    };
    for (const Image& image : {Image{image1, kLoaderImage1Size, kLoaderImage1At},
                               Image{image2, kLoaderImage2Size, kLoaderImage2At}}) {
        for (DWORD done = 0; done < image.size; done += kLoaderPiece) {
            DWORD piece = image.size - done < kLoaderPiece ? image.size - done : kLoaderPiece;
            result =
                WriteBlock(port, static_cast<WORD>(image.at + done), piece, image.bytes + done);
            if (result != BOARD_OK) {
                return result;
            }
        }
    }

    WORD word = 0;
    result = ReadBoardWord(port, &word);
    if (result != BOARD_OK) {
        return result;
    }
    const BYTE start[2] = {1, 0};
    result = WriteBlock(port, static_cast<WORD>(word + 4), sizeof start, start);
    if (result != BOARD_OK) {
        return result;
    }
    result = StartLoader(port);
    if (result != BOARD_OK) {
        return result;
    }
    w32::Sleep(100);
    port.ResetRTS();
    w32::Sleep(100);
    DWORD version = 0;
    result = ReadVersionBlock(port, &version);
    if (result != BOARD_OK) {
        return result;
    }
    for (int i = 0; i < 4; ++i) {
        m_loaderVersion[i] = static_cast<char>(version >> (8 * i));
    }
    return BOARD_OK;
}

// ---- the serial EEPROM ----

BYTE CEepromProtocol::ReadKindAt(WORD) { return 3; }
BYTE CEepromProtocol::MemoryKindAt(WORD) { return 3; }

int CEepromProtocol::EnterLoader(CComms& port, const char*) {
    if (port.SetRTS() != COMMS_OK) {
        return BOARD_RTS_ON_FAILED;
    }
    w32::Sleep(200);
    return port.PurgeRcvBuffer() == COMMS_OK ? BOARD_OK : BOARD_PURGE_FAILED;
}
