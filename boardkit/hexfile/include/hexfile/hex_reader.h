// Reader of program files (Intel HEX, Motorola S1/S9, Intel HEX with segment records) that hands
// data records and messages to the caller's callbacks.
#pragma once

#include <cstdint>

enum HexFileFormat : int32_t {
    kHexFormatIntel = 1,
    kHexFormatMotorola = 2,
    kHexFormatIntelSegments = 3,
};

// Results of ReadHexFile and answers of the store callback.
enum HexReadResult : int32_t {
    kHexOk = 0,
    kHexError = 1,       // the reason went to the message callback
    kHexOutOfRange = 2,  // the store callback refused an address
};

// Stores one data record (count 1 to 255): 0 stored, kHexOutOfRange when the address is out of
// range for the caller, any other non-zero value to stop the read with that result.
typedef int32_t (*HexWriteBytesFn)(void* context, uint32_t address, uint32_t count,
                                   const uint8_t* bytes);
// Receives a message line; the reader always passes level 1.
typedef void (*HexMessageFn)(void* context, int32_t level, const char* text);

// Reads the file at `path` in `format` up to its end record. Returns kHexOk, kHexOutOfRange or
// another non-zero result after sending its message. `messageFn` may be null. Bytes stored
// before a failure stay stored.
int32_t ReadHexFile(void* context, const char* path, int32_t format, HexWriteBytesFn writeFn,
                    HexMessageFn messageFn);
