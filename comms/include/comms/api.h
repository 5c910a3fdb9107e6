// Export marker of the comms library.
#pragma once

#include "w32/types.h"

#if defined(_WIN32)
#if defined(COMMS_BUILDING_DLL)
// The 32-bit export names of the plain functions come from the library's .def file.
#if defined(_WIN64)
#define COMMS_FUNC_API __declspec(dllexport)
#else
#define COMMS_FUNC_API
#endif
#define COMMS_CLASS_API __declspec(dllexport)
#elif defined(COMMS_NO_IMPORT)
// Plain references: a program that carries the class compiled in resolves them itself, and
// through the import library they reach the DLL all the same.
#define COMMS_FUNC_API
#define COMMS_CLASS_API
#else
#define COMMS_FUNC_API __declspec(dllimport)
#define COMMS_CLASS_API __declspec(dllimport)
#endif
#else
#define COMMS_FUNC_API __attribute__((visibility("default")))
#define COMMS_CLASS_API __attribute__((visibility("default")))
#endif
