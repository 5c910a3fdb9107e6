// CSimFactory: the board debugger's factory: one chip, the 8051, on the debug board.
#pragma once

#include "simtarget/sim_interfaces.h"

namespace yardlow {

class CSimFactory : public ISimFactory {
public:
    CSimFactory() = default;
    virtual ~CSimFactory() = default;

    void* SIM_CALL Destroy(uint32_t flags) override;
    uint32_t SIM_CALL GetTargetTypeForChip(const char*) override { return kTargetType; }
    uint32_t SIM_CALL GetTargetType() override { return kTargetType; }
    uint8_t SIM_CALL Reserved3() override { return 0; }
    const char* SIM_CALL GetFamilyName() override { return "8051"; }
    const char* SIM_CALL GetManufacturers() override { return "Intel"; }
    const char* SIM_CALL GetChips(const char*) override { return "8051"; }
    const char* SIM_CALL GetDefaultChip() override { return "8051"; }
    // Refuses a chip ID other than "8051" (in any case) with a message to `sink`; an empty ID
    // is the 8051.
    ISimTarget* SIM_CALL CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                      ISimSerialTerminal* terminal, const char* chipId,
                                      const char* options, uint8_t flag) override;

private:
    static constexpr uint32_t kTargetType = 65;
};

}  // namespace yardlow
