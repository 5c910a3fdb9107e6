// CSimFactory: the board debugger's factory: one chip, the 8051, on the debug board.
#pragma once

#include "simtarget/single_chip_factory.h"

namespace yardlow {

class CSimFactory : public CSingleChipFactory {
public:
    CSimFactory() : CSingleChipFactory({65, "8051", "Intel", "8051", "Brontal-A"}) {}
    virtual ~CSimFactory() = default;

protected:
    ISimTarget* NewTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                          ISimSerialTerminal* terminal, const char* options) override;
};

}  // namespace yardlow
