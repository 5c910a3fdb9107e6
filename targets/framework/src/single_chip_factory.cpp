// A single-chip plug-in's factory: the chip check, the refusal and the target's creation.
#include "simtarget/single_chip_factory.h"

#include <cstdio>

void* SIM_CALL CSingleChipFactory::Destroy(uint32_t flags) {
    if ((flags & kSimDestroyFree) != 0) {
        delete this;
    } else {
        this->~CSingleChipFactory();
    }
    return this;
}

bool CSingleChipFactory::IsTheChip(const char* chipId) const {
    if (chipId == nullptr || *chipId == '\0') {
        return true;
    }
    const char* name = m_facts.chip;
    for (; *chipId != '\0' && *name != '\0'; ++chipId, ++name) {
        if (*chipId != *name) {
            return false;
        }
    }
    return *chipId == *name;
}

ISimTarget* SIM_CALL CSingleChipFactory::CreateTarget(ISimMessageSink* sink,
                                                      ISimDebugInfo* debugInfo,
                                                      ISimSerialTerminal* terminal,
                                                      const char* chipId, const char* options,
                                                      uint8_t) {
    if (!IsTheChip(chipId)) {
        if (sink != nullptr) {
            char line[512];
            std::snprintf(line, sizeof line,
                          "The requested chip ID '%s' is not supported by the %s Debugger.", chipId,
                          m_facts.debuggerName);
            sink->Output(1, line);
        }
        return nullptr;
    }
    return NewTarget(sink, debugInfo, terminal, options);
}
