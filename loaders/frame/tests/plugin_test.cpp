// The frame's test plug-in seen from outside: its exports, and the null port record.
#include <gtest/gtest.h>

#include <cstring>

#include "loader/loader_abi.h"
#include "w32/modules.h"

namespace {

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return w32::GetProcAs<Fn>(module, name);
}

class Plugin : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = w32::LoadLibraryA("testloader");
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override { w32::FreeLibrary(m_module); }
    HMODULE m_module = nullptr;
};

TEST_F(Plugin, ExportsItsFourFunctionsAndNothingOfTheFrame) {
    EXPECT_NE(Export<LoaderDownloadFn>(m_module, "TESTLOADER_Download"), nullptr);
    EXPECT_NE(Export<LoaderDownloadFn>(m_module, "TESTLOADER_HDD_Download"), nullptr);
    EXPECT_NE(Export<LoaderSetModeFn>(m_module, "TESTLOADER_SetMode"), nullptr);
    EXPECT_NE(Export<LoaderCopyrightFn>(m_module, "TESTLOADER_Copyright"), nullptr);
    // The frame's relay stays inside the plug-in: each plug-in keeps its own callback.
    EXPECT_EQ(w32::GetProcAddress(m_module, "loaderMessage"), nullptr);
    EXPECT_EQ(w32::GetProcAddress(m_module, "_Z13loaderMessagePKcz"), nullptr);
}

TEST_F(Plugin, ANullPortRecordOpensNothing) {
    auto download = Export<LoaderDownloadFn>(m_module, "TESTLOADER_Download");
    auto setMode = Export<LoaderSetModeFn>(m_module, "TESTLOADER_SetMode");
    ASSERT_NE(download, nullptr);
    ASSERT_NE(setMode, nullptr);
    EXPECT_EQ(download(nullptr, "x.hex", nullptr), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(setMode(nullptr, LOADER_MODE_PROGRAM), LDR_ERR_PROGRAM_MODE);
    EXPECT_EQ(setMode(nullptr, LOADER_MODE_RUN), LDR_ERR_RUN_MODE);
}

TEST_F(Plugin, TheHddDownloadReadsNoArgument) {
    auto download = Export<LoaderDownloadFn>(m_module, "TESTLOADER_HDD_Download");
    ASSERT_NE(download, nullptr);
    // Pointers that would fault if they were followed.
    auto bad = reinterpret_cast<const HostPortRecord*>(static_cast<uintptr_t>(16));
    EXPECT_EQ(download(bad, reinterpret_cast<const char*>(bad), nullptr), LDR_ERR_UNSUPPORTED);
}

TEST_F(Plugin, TheBannerBeginsWithItsOwnLineAndTheMakersCopyright) {
    auto copyright = Export<LoaderCopyrightFn>(m_module, "TESTLOADER_Copyright");
    ASSERT_NE(copyright, nullptr);
    const char* banner = nullptr;
    EXPECT_EQ(copyright(&banner), 0);
    ASSERT_NE(banner, nullptr);
    const char kStart[] = "\nTESTLOADER Loader\nCopyright (C) Velcor ";
    EXPECT_EQ(std::strncmp(banner, kStart, sizeof kStart - 1), 0) << banner;
}

}  // namespace
