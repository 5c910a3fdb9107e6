// A module for the loader tests: two exports, one of them stdcall, and a look at the layer's clock
// from the module's side of the process.
#include "w32test/clock.h"

#if defined(_WIN32)
#define TEST_EXPORT extern "C" __declspec(dllexport)
#define TEST_STDCALL __stdcall
#else
#define TEST_EXPORT extern "C" __attribute__((visibility("default")))
#define TEST_STDCALL
#endif

TEST_EXPORT int TestModuleAnswer() { return 42; }
TEST_EXPORT int TEST_STDCALL TestModuleTwice(int value) { return 2 * value; }
TEST_EXPORT int TestModuleSeesVirtualTime() { return w32test::clock::IsVirtual() ? 1 : 0; }
TEST_EXPORT uint64_t TestModuleClockMicros() { return w32test::clock::NowMicros(); }
