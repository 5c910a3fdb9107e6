// How a loader plug-in marks its exports, and the maker's copyright line of the banners.
#pragma once

#include "loader/loader_abi.h"

// The 32-bit build names every export through the plug-in's .def file ("_WENDRA_Download@12",
// "?CORVANE_Copyright@@YGHPAPBD@Z"), so the functions are not marked there; the 64-bit and Linux
// builds export the plain names ("WENDRA_Download").
#if defined(_WIN32)
#if defined(_WIN64)
#define LOADER_EXPORT extern "C" __declspec(dllexport)
#else
#define LOADER_EXPORT extern "C"
#endif
#else
#define LOADER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The line that follows the first line of every banner but Frandle's.
#define LOADER_COPYRIGHT_LINE "Copyright (C) Velcor 1998-2004\n"
