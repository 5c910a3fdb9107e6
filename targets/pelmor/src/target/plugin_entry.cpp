// The plug-in's one export: a new factory for the debugger host.
#include <new>

#include "sim_factory.h"
#include "simtarget/sim_export.h"

extern "C" SIM_FACTORY_EXPORT ISimFactory* SIM_EXPORT_CALL GetSimFactoryInterface() {
    return new (std::nothrow) pelmor::CSimFactory();
}
