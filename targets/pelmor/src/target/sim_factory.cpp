// The ROM-monitor debugger's factory: the creation of its target.
#include "sim_factory.h"

#include <new>

#include "monitor_target.h"

namespace pelmor {

ISimTarget* CSimFactory::NewTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                   ISimSerialTerminal* terminal, const char*) {
    if (sink != nullptr) {
        sink->Output(1, "Initializing PELMOR Debugger interface...");
    }
    return WithHostObjects(new (std::nothrow) CMonitorTarget(), sink, debugInfo, terminal);
}

}  // namespace pelmor
