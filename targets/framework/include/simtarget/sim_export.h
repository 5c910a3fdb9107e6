// The one export of every debugger plug-in: its factory.
#pragma once

#include "simtarget/sim_interfaces.h"

// The 32-bit build exports the stdcall name "_GetSimFactoryInterface@0" through the plug-in's
// .def file (sim_factory.def beside this framework), so the function is not marked there.
#if defined(_WIN32)
#define SIM_EXPORT_CALL __stdcall
#if defined(_WIN64)
#define SIM_FACTORY_EXPORT __declspec(dllexport)
#else
#define SIM_FACTORY_EXPORT
#endif
#else
#define SIM_EXPORT_CALL
#define SIM_FACTORY_EXPORT __attribute__((visibility("default")))
#endif

// Names under which a host looks the factory up: the 32-bit decorated name first, then the
// plain name of the other builds.
constexpr const char* kSimFactoryExportName = "_GetSimFactoryInterface@0";
constexpr const char* kSimFactoryPlainName = "GetSimFactoryInterface";

typedef ISimFactory*(SIM_EXPORT_CALL* GetSimFactoryInterfaceFn)();

extern "C" {
// Allocates a new factory object; null when the allocation fails. The host destroys it through
// its slot 0 (Destroy with kSimDestroyFree).
SIM_FACTORY_EXPORT ISimFactory* SIM_EXPORT_CALL GetSimFactoryInterface();
}
