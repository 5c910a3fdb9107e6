// The Ostrel plug-in as a host sees it: loaded by file name, its one export resolved, a target
// created for a chip and the bundled example program loaded and inspected.
#include <gtest/gtest.h>

#include <string>

#include "fake_host.h"
#include "simtarget/sim_export.h"
#include "w32test/clock.h"
#include "w32/modules.h"

namespace {

using ostrel::testing::RecordingSink;

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = w32::LoadLibraryA("Ostrel.dll");
        ASSERT_NE(module_, nullptr) << "Ostrel plug-in not found next to the test";
        auto get = w32::GetProcAs<GetSimFactoryInterfaceFn>(module_, kSimFactoryExportName);
        if (get == nullptr) {
            get = w32::GetProcAs<GetSimFactoryInterfaceFn>(module_, kSimFactoryPlainName);
        }
        ASSERT_NE(get, nullptr);
        factory_ = get();
        ASSERT_NE(factory_, nullptr);
    }
    void TearDown() override {
        if (factory_ != nullptr) {
            factory_->Destroy(kSimDestroyFree);
        }
        if (module_ != nullptr) {
            w32::FreeLibrary(module_);
        }
    }

    HMODULE module_ = nullptr;
    ISimFactory* factory_ = nullptr;
};

TEST_F(PluginTest, ExportsAFactoryThatListsTheCatalogue) {
    EXPECT_STREQ(factory_->GetFamilyName(), "8051");
    EXPECT_EQ(std::string(factory_->GetManufacturers()).rfind("Generic,Analog Devices,", 0), 0u);
    EXPECT_STREQ(factory_->GetChips("Generic"), "8052,8051,");
    EXPECT_EQ(factory_->GetTargetTypeForChip("AT89C52"), 0x1B000012u);
}

TEST_F(PluginTest, LoadsTheExampleProgramAndShowsItsState) {
    w32test::clock::VirtualTimeScope virtualTime;
    RecordingSink sink;
    ISimTarget* target = factory_->CreateTarget(&sink, nullptr, nullptr, "AT89C52", "", 0);
    ASSERT_NE(target, nullptr);
    const std::string path =
        std::string(FWT_SOURCE_DIR) + "/targets/ostrel/examples/fill_table.hex";
    ASSERT_EQ(target->LoadProgram(path.c_str()), SIM_OK);
    ASSERT_EQ(target->Reset(), SIM_OK);

    uint32_t pc = 1;
    ASSERT_EQ(target->GetPC(&pc), SIM_OK);
    EXPECT_EQ(pc, 0u);
    uint8_t code[6] = {};
    uint32_t read = 0;
    ASSERT_EQ(target->ReadMemory(0x0059, code, 6, &read, 1), SIM_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(code), read), "Ostrel");

    const uint8_t table[] = {1, 2, 4, 8};
    uint32_t written = 0;
    ASSERT_EQ(target->WriteMemory(0x30, table, 4, &written, 2), SIM_OK);
    target->SetRegister("R0", 0x31);
    EXPECT_EQ(target->GetRegister("R0->"), 2u);
    target->SetRegister("ACC", 0x80);

    char dump[1024];
    ASSERT_EQ(target->GetRegisterDumpText(dump, sizeof(dump), 0), SIM_OK);
    const std::string text = dump;
    EXPECT_NE(text.find("ACC     0x80\r\n"), std::string::npos);
    EXPECT_NE(text.find("R0      0x31    [0x02]\r\n"), std::string::npos);
    EXPECT_NE(text.find("PSW     0x01    -------P\r\n"), std::string::npos);

    char stack[256];
    ASSERT_EQ(target->GetCallStackText(stack, sizeof(stack)), SIM_OK);
    EXPECT_STREQ(stack, "0x0000:()\r\n");
    target->Destroy(kSimDestroyFree);
    EXPECT_EQ(sink.releases, 1);
}

}  // namespace
