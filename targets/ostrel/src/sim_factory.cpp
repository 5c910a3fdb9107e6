// The factory's answers: catalogue texts, target types, and the choice of the target class.
#include "sim_factory.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "chip_catalogue.h"
#include "target_variants.h"

namespace ostrel {

namespace {

constexpr uint32_t kTargetTypeBase = 0x1B000000;
constexpr uint32_t kUnknownChipType = 0x1B000002;
constexpr size_t kListSize = 1024;

// The host copies each answer before its next call: one buffer per kind of list is enough.
char g_manufacturers[kListSize];
char g_chips[kListSize];

const char* TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

bool IsEmpty(const char* text) { return text == nullptr || *text == '\0'; }

void SendNotSupported(ISimMessageSink* sink, const char* chipId) {
    if (sink == nullptr) {
        return;
    }
    char line[512];
    std::snprintf(line, sizeof(line),
                  "The requested chip ID '%s' is not supported by the 8051 Simulator.",
                  TextOrEmpty(chipId));
    sink->Output(1, line);
}

bool Is(const char* chipId, const char* name) {
    return chipId != nullptr && std::strcmp(chipId, name) == 0;
}

// The target class for a chip ID; null only when memory is exhausted. `plain` tells whether the
// ID fell through to the plain 8051 class, which takes any ID.
C8051Target* NewTarget(const char* chipId, const char* options, bool* plain) {
    *plain = false;
    if (Is(chipId, "Gristan-8")) {
        return new (std::nothrow) CGristan8Target(options);
    }
    if (Is(chipId, "GristanT-8")) {
        return new (std::nothrow) CGristanT8Target(options);
    }
    if (Is(chipId, "Gristan-32")) {
        return new (std::nothrow) CGristan32Target(options);
    }
    if (Is(chipId, "GristanT-32")) {
        return new (std::nothrow) CGristanT32Target(options);
    }
    if (Is(chipId, "AT89S53")) {
        return new (std::nothrow) CAT89S53Target(options);
    }
    if (Is(chipId, "80C52")) {
        return new (std::nothrow) C80C52Target(options);
    }
    if (Is(chipId, "8052")) {
        return new (std::nothrow) C8052Target(options);
    }
    *plain = true;
    return new (std::nothrow) C8051Target(chipId, options);
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

uint32_t SIM_CALL CSimFactory::GetTargetTypeForChip(const char* chipId) {
    const ChipInfo* row = FindChip(chipId);
    return row != nullptr ? (row->familyCode | kTargetTypeBase) : kUnknownChipType;
}

const char* SIM_CALL CSimFactory::GetManufacturers() {
    WriteManufacturerList(g_manufacturers, sizeof(g_manufacturers));
    return g_manufacturers;
}

const char* SIM_CALL CSimFactory::GetChips(const char* manufacturer) {
    WriteChipList(manufacturer, g_chips, sizeof(g_chips));
    return g_chips;
}

ISimTarget* SIM_CALL CSimFactory::CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                               ISimSerialTerminal* terminal, const char* chipId,
                                               const char* options, uint8_t) {
    if (!IsEmpty(chipId) && FindChip(chipId) == nullptr) {
        SendNotSupported(sink, chipId);
        return nullptr;
    }
    bool plain = false;
    C8051Target* target = NewTarget(chipId, options, &plain);
    if (target == nullptr) {
        return nullptr;
    }
    // An empty ID gets the first row of the catalogue, which the host did not ask for.
    if (plain && !Is(chipId, target->GetChip()->chipId) && sink != nullptr) {
        SendNotSupported(sink, chipId);
        sink->Output(1, "Initializing the simulator interface with standard 8051 registers only");
    }
    target->SetMessageSink(sink);
    target->SetDebugInfo(debugInfo);
    target->SetSerialTerminal(terminal);
    return target;
}

}  // namespace ostrel
