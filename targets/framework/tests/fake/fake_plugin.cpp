// The test plug-in: a factory with one chip, "FAKE51", whose targets are CFakeTarget.
#include <cstdio>
#include <cstring>
#include <new>

#include "fake_target.h"
#include "simtarget/sim_export.h"

namespace {

class CFakeFactory final : public ISimFactory {
public:
    void* SIM_CALL Destroy(uint32_t flags) override {
        if ((flags & kSimDestroyFree) != 0) {
            delete this;
        } else {
            this->~CFakeFactory();
        }
        return this;
    }
    uint32_t SIM_CALL GetTargetTypeForChip(const char* chipId) override {
        return chipId != nullptr && std::strcmp(chipId, "FAKE51") == 0 ? 0x7E000001u : 0x7E000000u;
    }
    uint32_t SIM_CALL GetTargetType() override { return 0x7E; }
    uint8_t SIM_CALL Reserved3() override { return 0; }
    const char* SIM_CALL GetFamilyName() override { return "Fake"; }
    const char* SIM_CALL GetManufacturers() override { return "Test"; }
    const char* SIM_CALL GetChips(const char* manufacturer) override {
        return manufacturer != nullptr && std::strcmp(manufacturer, "Test") == 0 ? "FAKE51," : "";
    }
    const char* SIM_CALL GetDefaultChip() override { return "FAKE51"; }
    ISimTarget* SIM_CALL CreateTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                                      ISimSerialTerminal* terminal, const char* chipId,
                                      const char* options, uint8_t) override {
        if (chipId != nullptr && chipId[0] != '\0' && std::strcmp(chipId, "FAKE51") != 0) {
            if (sink != nullptr) {
                char text[512];
                std::snprintf(text, sizeof text,
                              "The requested chip ID '%s' is not supported by the fake target.",
                              chipId);
                sink->Output(1, text);
            }
            return nullptr;
        }
        CFakeTarget* target = new (std::nothrow) CFakeTarget(options);
        if (target == nullptr) {
            return nullptr;
        }
        target->SetMessageSink(sink);
        target->SetDebugInfo(debugInfo);
        target->SetSerialTerminal(terminal);
        char text[128];
        std::snprintf(text, sizeof text, "Fake target with options '%s'", target->GetOptions());
        target->OutputMessage(0, text);
        return target;
    }
};

}  // namespace

extern "C" SIM_FACTORY_EXPORT ISimFactory* SIM_EXPORT_CALL GetSimFactoryInterface() {
    return new (std::nothrow) CFakeFactory;
}
