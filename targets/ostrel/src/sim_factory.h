// CSimFactory: the plug-in's factory, answering from the chip catalogue and creating targets.
#pragma once

#include "simtarget/sim_interfaces.h"

namespace ostrel {

class CSimFactory : public ISimFactory {
public:
    CSimFactory() = default;
    virtual ~CSimFactory() = default;

    void* SIM_CALL Destroy(uint32_t flags) override;
    uint32_t SIM_CALL GetTargetTypeForChip(const char* chipId) override;
    uint32_t SIM_CALL GetTargetType() override { return 2; }
    uint8_t SIM_CALL Reserved3() override { return 0; }
    const char* SIM_CALL GetFamilyName() override { return "8051"; }
    const char* SIM_CALL GetManufacturers() override;
    const char* SIM_CALL GetChips(const char* manufacturer) override;
    const char* SIM_CALL GetDefaultChip() override { return "8051"; }
    int32_t SIM_CALL QueryFlag8() override { return 1; }
    int32_t SIM_CALL QueryFlag9() override { return 1; }
    int32_t SIM_CALL QueryFlag10() override { return 1; }
    ISimTarget* SIM_CALL CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                      ISimSerialTerminal* terminal, const char* chipId,
                                      const char* options, uint8_t flag) override;
};

}  // namespace ostrel
