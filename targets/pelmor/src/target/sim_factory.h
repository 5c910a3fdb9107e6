// CSimFactory: the ROM-monitor debugger's factory: one chip, the 8051, on a monitor board.
#pragma once

#include "simtarget/sim_interfaces.h"

namespace pelmor {

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
    // Refuses a chip ID other than "8051" with a message to `sink`; an empty ID is the 8051. The
    // option text and the flag are not used.
    ISimTarget* SIM_CALL CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                      ISimSerialTerminal* terminal, const char* chipId,
                                      const char* options, uint8_t flag) override;

private:
    static constexpr uint32_t kTargetType = 66;
};

}  // namespace pelmor
