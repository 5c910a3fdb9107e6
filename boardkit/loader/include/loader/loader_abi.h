// What crosses a loader plug-in's boundary: the host's port record, the progress record and
// callback, the mode of _SetMode, the result codes and the types of the exports.
#pragma once

#include <cstddef>
#include <cstdint>

#include "comms/comms.h"
#include "w32/types.h"

// From the host, read only: the port to use and what _SetMode needs.
struct HostPortRecord {
    comm_settings settings;  // port number (0 = COM1), baud rate, data bits, parity, stop bits
    HANDLE port;             // a port the host holds open, or none (0); read by _SetMode only
    const char* runCommand;  // NUL-terminated text a board's monitor runs; may be null
};

// Built by the loader for each call of the host's callback; every word is 0 unless said.
struct ProgressRecord {
    int32_t reserved0;
    int32_t reserved1;
    int32_t cancel;       // the host sets it non-zero inside a call to ask the loader to stop
    const char* text;     // the line of a message call, else null
    int32_t startMarker;  // -1 during the start notice, else 0
    int32_t reserved5[4];
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(HostPortRecord) == 36, "HostPortRecord is 36 bytes");
static_assert(offsetof(HostPortRecord, port) == 28, "the host's handle follows comm_settings");
static_assert(offsetof(HostPortRecord, runCommand) == 32, "the run command is the last word");
static_assert(sizeof(ProgressRecord) == 36, "ProgressRecord is nine 32-bit words");
static_assert(offsetof(ProgressRecord, text) == 12, "the text is word 3");
static_assert(offsetof(ProgressRecord, startMarker) == 16, "the start marker is word 4");
#endif

// The host's function. Codes: -1 with record->text set is a message line; -1 without a text and
// with record->startMarker -1 is the start notice (once per download, when the board is in
// program mode); 1 to 99 is the percentage done. The record may be null with a percentage.
typedef void(WINAPI* ProgressCallback)(int code, ProgressRecord* record);

constexpr int kProgressMessage = -1;

// Second argument of _SetMode: 0 holds the board in program mode, any other value lets it run.
enum LoaderMode : int {
    LOADER_MODE_PROGRAM = 0,
    LOADER_MODE_RUN = 1,
};

// Results of the exports; 0 is success. A download may also return a readFileData failure or a
// CommsResult unchanged. There is no text table: a loader relays its own line before returning.
enum LoaderError : int {
    LDR_OK = 0,
    LDR_ERR_UNSUPPORTED = 2102,   // operation not offered
    LDR_ERR_LOAD_FILE = 2103,     // the HEX file could not be read or parsed
    LDR_ERR_HIGHEST_ADDR = 2104,  // the file's highest address is below 0x100
    LDR_ERR_PROGRAM_MODE = 2120,  // the handshake line for program mode could not be set
    LDR_ERR_RUN_MODE = 2121,      // run mode could not be set
    LDR_ERR_SET_PC = 2140,        // the set-program-counter command failed
    LDR_ERR_DOWNLOAD = 2143,      // sending the program, or its reply, failed
    LDR_ERR_UPLOAD = 2144,        // reading the program back failed
    LDR_ERR_VERIFY = 2145,        // the read-back differs from what was sent
    LDR_ERR_PORT_WRITE = 2160,    // a command byte could not be written
    LDR_ERR_PIC_VERSION = 2174,   // the board PIC's version query failed
    LDR_ERR_SET_TYPE = 2175,      // the board PIC's set-type command failed after all tries
    LDR_ERR_PURGE = 2176,         // the receive buffer could not be purged
    LDR_ERR_CHECKSUM = 2177,      // a board PIC reply had a wrong 8-bit sum
};

// The exports as a host calls them (stdcall on the 32-bit build).
typedef int(WINAPI* LoaderDownloadFn)(const HostPortRecord* host, const char* hexPath,
                                      ProgressCallback callback);
typedef int(WINAPI* LoaderSetModeFn)(const HostPortRecord* host, LoaderMode mode);
typedef int(WINAPI* LoaderCopyrightFn)(const char** banner);
