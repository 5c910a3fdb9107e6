// Loading a module by the names the plug-ins and hosts use, and resolving its exports.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "w32/errors.h"
#include "w32/modules.h"
#include "w32test/clock.h"

namespace {

typedef int (*AnswerFn)();
typedef int(WINAPI* TwiceFn)(int);
typedef uint64_t (*ClockFn)();

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

// A plug-in and its host share one layer: the clock the host switches to virtual time is the
// plug-in's clock too, and a second copy of the layer inside the module would miss both.
TEST(Modules, AModuleSharesTheProgramsClock) {
    LoadedTestModule loaded;
    ASSERT_NE(loaded.module, nullptr);
    auto seesVirtual = w32::GetProcAs<AnswerFn>(loaded.module, "TestModuleSeesVirtualTime");
    auto micros = w32::GetProcAs<ClockFn>(loaded.module, "TestModuleClockMicros");
    ASSERT_NE(seesVirtual, nullptr);
    ASSERT_NE(micros, nullptr);
    EXPECT_EQ(seesVirtual(), 0);
    {
        w32test::clock::VirtualTimeScope virtualTime;
        EXPECT_EQ(seesVirtual(), 1);
        w32test::clock::AdvanceMicros(3600000000u);  // an hour that no real clock has seen yet
        EXPECT_EQ(micros(), w32test::clock::NowMicros());
    }
    EXPECT_EQ(seesVirtual(), 0);
}

// A file that is there but holds no library is a bad format, not a missing module: the text a
// host shows for each code tells its user which of the two to look for.
TEST(Modules, FileThatIsNoLibraryIsABadFormat) {
    namespace fs = std::filesystem;
    fs::path folder =
        fs::temp_directory_path() / ("w32_modules_test_" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
#if defined(_WIN32)
    const char* const kSystemEnding = ".dll";
#else
    const char* const kSystemEnding = ".so";
#endif
    std::ofstream(folder / (std::string("not_a_library") + kSystemEnding), std::ios::binary)
        << "This text file carries a library's name but none of a library's contents.\n";
    EXPECT_EQ(w32::LoadLibraryA((folder / "not_a_library.dll").string().c_str()), nullptr);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    EXPECT_EQ(w32::LoadLibraryA((folder / "no_such_library.dll").string().c_str()), nullptr);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
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

TEST(Modules, CppDecoratedNameFindsThePlainExport) {
    LoadedTestModule loaded;
    ASSERT_NE(loaded.module, nullptr);
    auto twice = w32::GetProcAs<TwiceFn>(loaded.module, "?TestModuleTwice@@YGHH@Z");
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice(21), 42);
    auto answer = w32::GetProcAs<AnswerFn>(loaded.module, "?TestModuleAnswer@@YAHXZ");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    // Members, constructors and cut names are not plain functions of that name.
    for (const char* name : {"?TestModuleAnswer@Board@@QAEHXZ", "??0TestModuleAnswer@@QAE@XZ",
                             "?TestModuleAnswer@@YAHX", "?TestModuleAnswer@@", "?@@YAHXZ"}) {
        EXPECT_EQ(w32::GetProcAddress(loaded.module, name), nullptr) << name;
        EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    }
}
#endif

}  // namespace
