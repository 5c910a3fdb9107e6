// The single-chip factory: which chip IDs it accepts, the refusal's text, and the host objects
// reaching the target it makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_target.h"
#include "sim_host_fakes.h"
#include "simtarget/single_chip_factory.h"

namespace {

class CountingFactory : public CSingleChipFactory {
public:
    CountingFactory() : CSingleChipFactory({7, "Family", "Maker", "C51", "TEST"}) {}

    int made = 0;
    std::string lastOptions;

protected:
    ISimTarget* NewTarget(ISimMessageSink* sink, ISimDebugInfo* debugInfo,
                          ISimSerialTerminal* terminal, const char* options) override {
        ++made;
        lastOptions = options != nullptr ? options : "";
        return WithHostObjects(new CFakeTarget(options), sink, debugInfo, terminal);
    }
};

ISimTarget* Create(CountingFactory& factory, RecordingSink* sink, const char* chipId) {
    return factory.CreateTarget(sink, nullptr, nullptr, chipId, "opt", 0);
}

TEST(SingleChipFactory, AnswersWithItsChipsFacts) {
    CountingFactory factory;
    EXPECT_EQ(factory.GetTargetType(), 7u);
    EXPECT_EQ(factory.GetTargetTypeForChip("anything"), 7u);
    EXPECT_STREQ(factory.GetFamilyName(), "Family");
    EXPECT_STREQ(factory.GetManufacturers(), "Maker");
    EXPECT_STREQ(factory.GetChips("Maker"), "C51");
    EXPECT_STREQ(factory.GetDefaultChip(), "C51");
}

TEST(SingleChipFactory, TakesTheChipOrNoIdAndRefusesEveryOtherIdWithItsName) {
    for (const char* accepted : {"C51", "", static_cast<const char*>(nullptr)}) {
        CountingFactory factory;
        RecordingSink sink;
        ISimTarget* target = Create(factory, &sink, accepted);
        ASSERT_NE(target, nullptr) << (accepted != nullptr ? accepted : "(null)");
        EXPECT_EQ(factory.made, 1);
        EXPECT_EQ(factory.lastOptions, "opt");
        EXPECT_TRUE(sink.messages.empty());
        target->Destroy(kSimDestroyFree);
    }
    // A prefix, a longer name and another case are other chips.
    for (const char* refused : {"C5", "C511", "c51"}) {
        CountingFactory factory;
        RecordingSink sink;
        EXPECT_EQ(Create(factory, &sink, refused), nullptr) << refused;
        EXPECT_EQ(factory.made, 0);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].first, 1);
        EXPECT_EQ(sink.messages[0].second, std::string("The requested chip ID '") + refused +
                                               "' is not supported by the TEST Debugger.");
    }
    CountingFactory quiet;
    EXPECT_EQ(Create(quiet, nullptr, "Z80"), nullptr);
}

TEST(SingleChipFactory, InstallsTheHostObjectsInTheNewTarget) {
    CountingFactory factory;
    RecordingSink sink;
    ISimTarget* target = Create(factory, &sink, "C51");
    ASSERT_NE(target, nullptr);
    static_cast<CFakeTarget*>(target)->OutputMessage(2, "hello");
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"hello"});
    target->Destroy(kSimDestroyFree);
}

}  // namespace
