// Putting the simulation kernel on a board through a download plug-in: which loader, the port
// record it gets, the image's path beside the host's program, the call, and the relay that
// passes the loader's lines to the target that asked.
#pragma once

#include <cstddef>
#include <cstdint>

#include "loader/loader_abi.h"

class CTargetBase;

namespace ostrel {

// A loader library and its download export. 32-bit Windows names the export with its stdcall
// decoration; other builds export the plain name, which is tried when the decorated one is absent.
struct KernelLoaderBinding {
    const char* library;
    const char* exportName;
    const char* plainName;
};

extern const KernelLoaderBinding kCorvanecLoader;
extern const KernelLoaderBinding kFrandleLoader;

// Offset of the kernel-loader choice in the host's 56-byte serial-settings block, and the bit in
// it that picks Frandle.
constexpr size_t kKernelLoaderByte = 40;
constexpr uint8_t kKernelLoaderFrandle = 0x02;

// The loader the stored settings block chooses.
const KernelLoaderBinding& ChooseKernelLoader(const uint8_t* settingsBlock);

// Room for a path, terminating zero included: the system's longest path.
constexpr size_t kKernelPathSize = 260;
constexpr const char kKernelImageName[] = "Pindrake.hex";

// The kernel image's path: the folder of `programPath` (up to and including its last separator,
// '\' or '/') followed by "Pindrake.hex", into `path` of `size` bytes. False, with `path` empty,
// when it does not fit.
bool KernelImagePath(const char* programPath, char* path, size_t size);

// The port record the loader gets: the port and baud rate of `current`, 8 data bits, no parity,
// one stop bit, no open handle, no run command.
HostPortRecord KernelPortRecord(const comm_settings& current);

// Loads the binding's library, calls its download export with (record, image path, relay),
// waits 2000 ms on the layer's clock whatever it returned, and unloads the library. True only
// when the export returned 0. A library that does not load or lacks the export: false, nothing
// said. The loader's lines go to `requester` at level 0 while the call runs; uploads of the
// plug-in run one at a time.
bool RunKernelLoader(const KernelLoaderBinding& binding, const HostPortRecord& record,
                     const char* imagePath, CTargetBase& requester);

// The progress callback given to the loader: a record with a text becomes the line "text\n" (cut
// to 511 characters) at level 0 for the target whose upload runs; nothing else is looked at.
void WINAPI LoaderMessageRelay(int code, ProgressRecord* record);

}  // namespace ostrel
