// Export marker of the platform layer: one copy of the layer lives in the comms library and is
// shared by everything that links it, so that a test's virtual clock and virtual ports reach
// every plug-in of the process.
#pragma once

#if defined(_WIN32)
#if defined(W32_BUILDING_DLL)
#define W32_API __declspec(dllexport)
#else
#define W32_API
#endif
#else
#define W32_API __attribute__((visibility("default")))
#endif
