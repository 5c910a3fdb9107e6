// The ROM-monitor debugger's factory: its fixed answers and the creation of its target.
#include "sim_factory.h"

#include <cstdio>
#include <new>

#include "monitor_target.h"

namespace pelmor {

namespace {

bool IsTheChip(const char* chipId) {
    if (chipId == nullptr || *chipId == '\0') {
        return true;
    }
    const char* name = "8051";
    for (; *chipId != '\0' && *name != '\0'; ++chipId, ++name) {
        if (*chipId != *name) {
            return false;  // digits have no case
        }
    }
    return *chipId == *name;
}

}  // namespace

void* SIM_CALL CSimFactory::Destroy(uint32_t flags) {
    if ((flags & kSimDestroyFree) != 0) {
        delete this;
    } else {
        this->~CSimFactory();
    }
    return this;
}

ISimTarget* SIM_CALL CSimFactory::CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                               ISimSerialTerminal* terminal, const char* chipId,
                                               const char*, uint8_t) {
    if (!IsTheChip(chipId)) {
        if (sink != nullptr) {
            char line[512];
            std::snprintf(line, sizeof line,
                          "The requested chip ID '%s' is not supported by the PELMOR Debugger.",
                          chipId);
            sink->Output(1, line);
        }
        return nullptr;
    }
    if (sink != nullptr) {
        sink->Output(1, "Initializing PELMOR Debugger interface...");
    }
    CMonitorTarget* target = new (std::nothrow) CMonitorTarget();
    if (target == nullptr) {
        return nullptr;
    }
    target->SetMessageSink(sink);
    target->SetDebugInfo(debugInfo);
    target->SetSerialTerminal(terminal);
    return target;
}

}  // namespace pelmor
