// A stand-in for the board's own loader module "corvanec", loaded from a folder of its own: the
// board debugger looks for its kernel images beside it while it is loaded.
#if defined(_WIN32)
#define MODULE_EXPORT __declspec(dllexport)
#else
#define MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" MODULE_EXPORT int CorvanecModulePresent() { return 1; }
