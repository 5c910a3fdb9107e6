// Creating targets: the class per chip ID, the refusal and fall-back messages, host objects.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_host.h"
#include "sim_factory.h"
#include "target_variants.h"

namespace ostrel {
namespace {

using testing::FakeDebugInfo;
using testing::RecordingSink;
using testing::RecordingTerminal;

constexpr const char* kStandardOnly =
    "Initializing the simulator interface with standard 8051 registers only";

struct Created {
    RecordingSink sink;
    FakeDebugInfo debugInfo;
    RecordingTerminal terminal;
    ISimTarget* target = nullptr;

    ~Created() {
        if (target != nullptr) {
            target->Destroy(kSimDestroyFree);
        }
    }
    C8051Target* Simulated() const { return dynamic_cast<C8051Target*>(target); }
};

void Create(Created& c, const char* chipId, const char* options = "") {
    CSimFactory factory;
    c.target = factory.CreateTarget(&c.sink, &c.debugInfo, &c.terminal, chipId, options, 0);
}

TEST(CreateTarget, RefusesChipIdsOutsideTheCatalogue) {
    for (const char* id : {"at89s53", "80C52", "OM5238", "Z80"}) {
        Created c;
        Create(c, id);
        EXPECT_EQ(c.target, nullptr) << id;
        ASSERT_EQ(c.sink.messages.size(), 1u) << id;
        EXPECT_EQ(c.sink.messages[0].first, 1);
        EXPECT_EQ(c.sink.messages[0].second, std::string("The requested chip ID '") + id +
                                                 "' is not supported by the 8051 Simulator.");
    }
}

TEST(CreateTarget, RefusesWithoutSinkQuietly) {
    CSimFactory factory;
    EXPECT_EQ(factory.CreateTarget(nullptr, nullptr, nullptr, "Z80", nullptr, 0), nullptr);
}

TEST(CreateTarget, BuildsAPlainTargetOnTheChipsOwnRowWithoutMessage) {
    Created c;
    Create(c, "AT89C51");
    ASSERT_NE(c.Simulated(), nullptr);
    EXPECT_STREQ(c.Simulated()->GetChip()->chipId, "AT89C51");
    EXPECT_EQ(dynamic_cast<C8052Target*>(c.target), nullptr);
    EXPECT_TRUE(c.sink.messages.empty());
}

TEST(CreateTarget, ChoosesTheClassOfEachSpecialChip) {
    struct Case {
        const char* id;
        bool (*isClass)(ISimTarget*);
    };
    const Case cases[] = {
        {"Gristan-8",
         [](ISimTarget* t) {
             return dynamic_cast<CGristan8Target*>(t) != nullptr &&
                    dynamic_cast<CGristanT8Target*>(t) == nullptr;
         }},
        {"GristanT-8", [](ISimTarget* t) { return dynamic_cast<CGristanT8Target*>(t) != nullptr; }},
        {"Gristan-32",
         [](ISimTarget* t) {
             return dynamic_cast<CGristan32Target*>(t) != nullptr &&
                    dynamic_cast<CGristanT32Target*>(t) == nullptr;
         }},
        {"GristanT-32",
         [](ISimTarget* t) { return dynamic_cast<CGristanT32Target*>(t) != nullptr; }},
        {"AT89S53", [](ISimTarget* t) { return dynamic_cast<CAT89S53Target*>(t) != nullptr; }},
        {"8052",
         [](ISimTarget* t) {
             return dynamic_cast<C8052Target*>(t) != nullptr &&
                    dynamic_cast<C80C52Target*>(t) == nullptr;
         }},
        {"8051",
         [](ISimTarget* t) {
             return dynamic_cast<C8052Target*>(t) == nullptr &&
                    dynamic_cast<CGristanTarget*>(t) == nullptr;
         }},
    };
    for (const Case& test : cases) {
        Created c;
        Create(c, test.id);
        ASSERT_NE(c.Simulated(), nullptr) << test.id;
        EXPECT_TRUE(test.isClass(c.target)) << test.id;
        EXPECT_STREQ(c.Simulated()->GetChip()->chipId, test.id);
        EXPECT_TRUE(c.sink.messages.empty()) << test.id;
    }
}

TEST(CreateTarget, GivesOnlyTheThirtyTwoKilobyteGristanChipsTheWideRange) {
    Created narrow, wide, wideT;
    Create(narrow, "GristanT-8");
    Create(wide, "Gristan-32");
    Create(wideT, "GristanT-32");
    EXPECT_FALSE(dynamic_cast<CGristanTarget*>(narrow.target)->Has32KRange());
    EXPECT_TRUE(dynamic_cast<CGristanTarget*>(wide.target)->Has32KRange());
    EXPECT_TRUE(dynamic_cast<CGristanTarget*>(wideT.target)->Has32KRange());
}

TEST(CreateTarget, EmptyOrAbsentIdFallsBackToTheFirstRowWithTwoMessages) {
    for (const char* id : {"", static_cast<const char*>(nullptr)}) {
        Created c;
        Create(c, id);
        ASSERT_NE(c.Simulated(), nullptr);
        EXPECT_EQ(dynamic_cast<C8052Target*>(c.target), nullptr);
        EXPECT_STREQ(c.Simulated()->GetChip()->chipId, "8052");
        ASSERT_EQ(c.sink.messages.size(), 2u);
        EXPECT_EQ(c.sink.messages[0].first, 1);
        // An absent ID prints as an empty text.
        EXPECT_EQ(c.sink.messages[0].second,
                  "The requested chip ID '' is not supported by the 8051 Simulator.");
        EXPECT_EQ(c.sink.messages[1], std::make_pair(1, std::string(kStandardOnly)));
    }
}

TEST(CreateTarget, InstallsTheHostObjectsWhichTheTargetReleasesOnce) {
    RecordingSink sink;
    FakeDebugInfo debugInfo;
    RecordingTerminal terminal;
    CSimFactory factory;
    ISimTarget* target = factory.CreateTarget(&sink, &debugInfo, &terminal, "8051", "", 1);
    ASSERT_NE(target, nullptr);
    static_cast<C8051Target*>(target)->OutputMessage(0, "hello");
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"hello"});
    target->Destroy(kSimDestroyFree);
    EXPECT_EQ(sink.releases, 1);
    EXPECT_EQ(debugInfo.releases, 1);
    EXPECT_EQ(terminal.releases, 1);
}

TEST(CreateTarget, ReadsTheExternalMemoryOption) {
    Created separate, lowerPrefix, overlapped;
    Create(separate, "8051", "ExtMem=separate");
    Create(lowerPrefix, "8051", "extmem=Separate");
    Create(overlapped, "8052", "ExtMem=OVERLAPPED");
    EXPECT_EQ(separate.Simulated()->GetExtMemMode(), ExtMemMode::Separate);
    EXPECT_EQ(lowerPrefix.Simulated()->GetExtMemMode(), ExtMemMode::None);
    EXPECT_EQ(overlapped.Simulated()->GetExtMemMode(), ExtMemMode::Overlapped);
}

TEST(TargetClasses, The80C52ClassWorksThoughTheFactoryRefusesItsId) {
    C80C52Target target("");
    EXPECT_TRUE(target.HasTimer2());
    // "80C52" has no catalogue row: the target runs on the first row's sizes.
    EXPECT_STREQ(target.GetChip()->chipId, "8052");
    EXPECT_NE(dynamic_cast<C8052Target*>(&target), nullptr);
    EXPECT_FALSE(C8051Target("8051", "").HasTimer2());
}

}  // namespace
}  // namespace ostrel
