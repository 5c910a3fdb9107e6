// Loading a module by the names the plug-ins and hosts use, and resolving its exports.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "w32/errors.h"
#include "w32/modules.h"

namespace {

typedef int (*AnswerFn)();
typedef int(WINAPI* TwiceFn)(int);

struct LoadedTestModule {
    HMODULE module = w32::LoadLibraryA("w32_test_module");
    ~LoadedTestModule() {
        if (module != nullptr) {
            w32::FreeLibrary(module);
        }
    }
};

TEST(Modules, LoadByBareNameFromTheProgramFolderAndCallAnExport) {
    LoadedTestModule loaded;
    ASSERT_NE(loaded.module, nullptr);
    auto answer = w32::GetProcAs<AnswerFn>(loaded.module, "TestModuleAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
}

TEST(Modules, MissingModuleAndExportReportTheSystemCodes) {
    EXPECT_EQ(w32::LoadLibraryA("no_such_module_here"), nullptr);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    LoadedTestModule loaded;
    ASSERT_NE(loaded.module, nullptr);
    EXPECT_EQ(w32::GetProcAddress(loaded.module, "NoSuchExport"), nullptr);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST(Modules, HandleAndFileNameOfALoadedModule) {
    LoadedTestModule loaded;
    ASSERT_NE(loaded.module, nullptr);
    EXPECT_EQ(w32::GetModuleHandleA("w32_test_module"), loaded.module);
    EXPECT_EQ(w32::GetModuleHandleA("not_loaded_module"), nullptr);

    char path[MAX_PATH] = {};
    DWORD n = w32::GetModuleFileNameA(loaded.module, path, sizeof path);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(n, std::strlen(path));
    std::string name(path);
    EXPECT_NE(name.find("w32_test_module"), std::string::npos) << name;

    char small[5];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(w32::GetModuleFileNameA(loaded.module, small, sizeof small), 5u);
    EXPECT_EQ(std::string(small, 4), name.substr(0, 4));
#if !defined(_WIN32)
    // Older systems leave a cut path unterminated; this layer terminates it as newer ones do.
    EXPECT_EQ(small[4], '\0');
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
#endif

    char program[MAX_PATH] = {};
    ASSERT_GT(w32::GetModuleFileNameA(nullptr, program, sizeof program), 0u);
    EXPECT_NE(std::string(program).find("w32_layer_test"), std::string::npos) << program;
}

#if !defined(_WIN32)
TEST(Modules, DecoratedStdcallNameFindsThePlainExport) {
    LoadedTestModule loaded;
    ASSERT_NE(loaded.module, nullptr);
    auto twice = w32::GetProcAs<TwiceFn>(loaded.module, "_TestModuleTwice@4");
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice(21), 42);
    EXPECT_EQ(w32::GetProcAddress(loaded.module, "_TestModuleTwice@x"), nullptr);
}
#endif

}  // namespace
