// The board debugger's factory: the creation of its one kind of target.
#include "sim_factory.h"

#include <new>

#include "kernel_target.h"

namespace yardlow {

ISimTarget* CSimFactory::NewTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                   ISimSerialTerminal* terminal, const char* options) {
    // The host's sink goes to the target alone, with no greeting of the factory's own: what the
    // target reports later reaches its own sink.
    return WithHostObjects(new (std::nothrow) CKernelTarget(options), sink, debugInfo, terminal);
}

}  // namespace yardlow
