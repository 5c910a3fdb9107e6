// CSingleChipFactory: the factory of a debugger plug-in that knows one chip: fixed answers about
// it, the refusal of any other chip ID, and the host objects installed in the new target.
#pragma once

#include <cstdint>

#include "simtarget/sim_interfaces.h"

// What a single-chip factory answers about its chip.
struct SingleChipFacts {
    uint32_t targetType;
    const char* family;
    const char* manufacturer;
    const char* chip;
    // The debugger's name in the refusal of another chip ID.
    const char* debuggerName;
};

class CSingleChipFactory : public ISimFactory {
public:
    void* SIM_CALL Destroy(uint32_t flags) override;
    uint32_t SIM_CALL GetTargetTypeForChip(const char*) override { return m_facts.targetType; }
    uint32_t SIM_CALL GetTargetType() override { return m_facts.targetType; }
    uint8_t SIM_CALL Reserved3() override { return 0; }
    const char* SIM_CALL GetFamilyName() override { return m_facts.family; }
    const char* SIM_CALL GetManufacturers() override { return m_facts.manufacturer; }
    const char* SIM_CALL GetChips(const char*) override { return m_facts.chip; }
    const char* SIM_CALL GetDefaultChip() override { return m_facts.chip; }
    // Refuses a chip ID other than the chip's (compared as written) with a message to `sink`; an
    // empty ID is the chip. Otherwise the target NewTarget makes; the flag is not used.
    ISimTarget* SIM_CALL CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                      ISimSerialTerminal* terminal, const char* chipId,
                                      const char* options, uint8_t flag) override;

protected:
    explicit CSingleChipFactory(const SingleChipFacts& facts) : m_facts(facts) {}
    virtual ~CSingleChipFactory() = default;

    // The target for the accepted chip with the three host objects installed (WithHostObjects);
    // null when there is no memory for it.
    virtual ISimTarget* NewTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                  ISimSerialTerminal* terminal, const char* options) = 0;

    // Installs the host objects in a new `target` (null stays null) and hands it on.
    template <class Target>
    static ISimTarget* WithHostObjects(Target* target, ISimMessageSink* sink,
                                       ISimDebugInfo* debugInfo, ISimSerialTerminal* terminal) {
        if (target == nullptr) {
            return nullptr;
        }
        target->SetMessageSink(sink);
        target->SetDebugInfo(debugInfo);
        target->SetSerialTerminal(terminal);
        return target;
    }

private:
    bool IsTheChip(const char* chipId) const;

    SingleChipFacts m_facts;
};
