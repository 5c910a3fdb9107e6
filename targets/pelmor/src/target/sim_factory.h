// CSimFactory: the ROM-monitor debugger's factory: one chip, the 8051, on a monitor board.
#pragma once

#include "simtarget/single_chip_factory.h"

namespace pelmor {

class CSimFactory : public CSingleChipFactory {
public:
    CSimFactory() : CSingleChipFactory({66, "8051", "Intel", "8051", "PELMOR"}) {}
    virtual ~CSimFactory() = default;

protected:
    ISimTarget* NewTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                          ISimSerialTerminal* terminal, const char* options) override;
};

}  // namespace pelmor
