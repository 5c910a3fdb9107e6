// Export marker of the platform layer, and which form of the layer this build has.
//
// W32_TEST_CONTROLS comes with the w32 target. 1: the layer is a shared library of its own
// (libw32.so, w32.dll), one copy per process, with its own serial ports, clock and handle table
// and the test controls of w32test/ (virtual time, virtual ports). 0: the shipped 32-bit build,
// where the layer is linked into each module and is the system's API itself.
#pragma once

#if !defined(W32_TEST_CONTROLS)
#error "W32_TEST_CONTROLS is set by linking the w32 target"
#endif

#if defined(_WIN32)
#if !W32_TEST_CONTROLS
#define W32_API
#elif defined(W32_BUILDING_DLL)
#define W32_API __declspec(dllexport)
#else
#define W32_API __declspec(dllimport)
#endif
#else
#define W32_API __attribute__((visibility("default")))
#endif
