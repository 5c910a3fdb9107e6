// The frame's test plug-in seen from outside: its exports, and the null port record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "loader/loader_abi.h"
#include "w32/modules.h"

namespace {

// The 32-bit export table names the stdcall functions only as an outside download host looks
// them up, decorated with their argument bytes ("_TESTLOADER_Download@12"); the other builds
// export the plain names.
#if defined(_WIN32) && !defined(_WIN64)
constexpr bool kDecoratedExports = true;
#else
constexpr bool kDecoratedExports = false;
#endif

std::string HostName(const std::string& plain, int argumentBytes) {
    return kDecoratedExports ? "_" + plain + "@" + std::to_string(argumentBytes) : plain;
}

template <typename Fn>
Fn Export(HMODULE module, const std::string& name) {
    return w32::GetProcAs<Fn>(module, name.c_str());
}

const std::string kDownload = HostName("TESTLOADER_Download", 12);
const std::string kHddDownload = HostName("TESTLOADER_HDD_Download", 12);
const std::string kSetMode = HostName("TESTLOADER_SetMode", 8);
const std::string kCopyright = HostName("TESTLOADER_Copyright", 4);

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
    EXPECT_NE(Export<LoaderDownloadFn>(m_module, kDownload), nullptr);
    EXPECT_NE(Export<LoaderDownloadFn>(m_module, kHddDownload), nullptr);
    EXPECT_NE(Export<LoaderSetModeFn>(m_module, kSetMode), nullptr);
    EXPECT_NE(Export<LoaderCopyrightFn>(m_module, kCopyright), nullptr);
    if (kDecoratedExports) {
        // The banner also under its C++ name, as two of the shipped plug-ins export it.
        EXPECT_NE(Export<LoaderCopyrightFn>(m_module, "?TESTLOADER_Copyright@@YGHPAPBD@Z"),
                  nullptr);
    }
    // The frame's relay stays inside the plug-in: each plug-in keeps its own callback.
    EXPECT_EQ(w32::GetProcAddress(m_module, "loaderMessage"), nullptr);
    EXPECT_EQ(w32::GetProcAddress(m_module, "_Z13loaderMessagePKcz"), nullptr);
}

TEST_F(Plugin, ANullPortRecordOpensNothing) {
    auto download = Export<LoaderDownloadFn>(m_module, kDownload);
    auto setMode = Export<LoaderSetModeFn>(m_module, kSetMode);
    ASSERT_NE(download, nullptr);
    ASSERT_NE(setMode, nullptr);
    EXPECT_EQ(download(nullptr, "x.hex", nullptr), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(setMode(nullptr, LOADER_MODE_PROGRAM), LDR_ERR_PROGRAM_MODE);
    EXPECT_EQ(setMode(nullptr, LOADER_MODE_RUN), LDR_ERR_RUN_MODE);
}

TEST_F(Plugin, TheHddDownloadReadsNoArgument) {
    auto download = Export<LoaderDownloadFn>(m_module, kHddDownload);
    ASSERT_NE(download, nullptr);
    // Pointers that would fault if they were followed.
    auto bad = reinterpret_cast<const HostPortRecord*>(static_cast<uintptr_t>(16));
    EXPECT_EQ(download(bad, reinterpret_cast<const char*>(bad), nullptr), LDR_ERR_UNSUPPORTED);
}

TEST_F(Plugin, TheBannerBeginsWithItsOwnLineAndTheMakersCopyright) {
    auto copyright = Export<LoaderCopyrightFn>(m_module, kCopyright);
    ASSERT_NE(copyright, nullptr);
    const char* banner = nullptr;
    EXPECT_EQ(copyright(&banner), 0);
    ASSERT_NE(banner, nullptr);
    const char kStart[] = "\nTESTLOADER Loader\nCopyright (C) Velcor ";
    EXPECT_EQ(std::strncmp(banner, kStart, sizeof kStart - 1), 0) << banner;
}

}  // namespace
