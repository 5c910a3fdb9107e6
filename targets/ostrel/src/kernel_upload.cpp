// The kernel upload through a download plug-in, and the relay of the plug-in's lines.
#include "kernel_upload.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

#include "simtarget/target_base.h"
#include "w32/clock.h"
#include "w32/modules.h"

namespace ostrel {

const KernelLoaderBinding kCorvanecLoader = {"CorvaneC.dll", "_CORVANEC_Download@12",
                                             "CORVANEC_Download"};
const KernelLoaderBinding kFrandleLoader = {"Frandle.dll", "_FRANDLE_Download@12",
                                            "FRANDLE_Download"};

namespace {

constexpr DWORD kAfterLoaderMs = 2000;
constexpr size_t kRelayLineSize = 512;

// One upload at a time in the plug-in, so that the relay knows whose lines it carries: the
// loader's callback brings no word of the caller's own.
std::mutex g_uploadLock;
std::atomic<CTargetBase*> g_requester{nullptr};

// Sets the requester for the life of the call, under the upload lock.
class RequesterScope {
public:
    explicit RequesterScope(CTargetBase& requester) : m_lock(g_uploadLock) {
        g_requester = &requester;
    }
    ~RequesterScope() { g_requester = nullptr; }
    RequesterScope(const RequesterScope&) = delete;
    RequesterScope& operator=(const RequesterScope&) = delete;

private:
    std::lock_guard<std::mutex> m_lock;
};

// Windows looks for the library by name, the host's folder first, where the plug-ins are. Elsewhere
// the plug-in may be installed apart from the host's program: the loader beside it comes first.
HMODULE LoadLoaderLibrary(const char* name) {
#if !defined(_WIN32)
    Dl_info self = {};
    if (dladdr(reinterpret_cast<void*>(&LoadLoaderLibrary), &self) != 0 &&
        self.dli_fname != nullptr) {
        const std::string module = self.dli_fname;
        const size_t folderEnd = module.find_last_of('/');
        if (folderEnd != std::string::npos) {
            const std::string beside = module.substr(0, folderEnd + 1) + name;
            if (HMODULE library = w32::LoadLibraryA(beside.c_str())) {
                return library;
            }
        }
    }
#endif
    return w32::LoadLibraryA(name);
}

LoaderDownloadFn FindDownload(HMODULE library, const KernelLoaderBinding& binding) {
    auto download = w32::GetProcAs<LoaderDownloadFn>(library, binding.exportName);
    if (download == nullptr) {
        download = w32::GetProcAs<LoaderDownloadFn>(library, binding.plainName);
    }
    return download;
}

}  // namespace

const KernelLoaderBinding& ChooseKernelLoader(const uint8_t* settingsBlock) {
    return (settingsBlock[kKernelLoaderByte] & kKernelLoaderFrandle) != 0 ? kFrandleLoader
                                                                          : kCorvanecLoader;
}

bool KernelImagePath(const char* programPath, char* path, size_t size) {
    if (size == 0) {
        return false;
    }
    path[0] = '\0';
    const char* folderEnd = programPath;
    for (const char* c = programPath; *c != '\0'; ++c) {
        if (*c == '\\' || *c == '/') {
            folderEnd = c + 1;
        }
    }
    const size_t folder = static_cast<size_t>(folderEnd - programPath);
    if (folder + sizeof kKernelImageName > size) {
        return false;
    }
    std::memcpy(path, programPath, folder);
    std::memcpy(path + folder, kKernelImageName, sizeof kKernelImageName);
    return true;
}

HostPortRecord KernelPortRecord(const comm_settings& current) {
    HostPortRecord record = {};
    record.settings.port = current.port;
    record.settings.baud = current.baud;
    record.settings.dataBits = 8;
    record.settings.parity = 0;
    record.settings.stopBits = 0;
    record.port = nullptr;
    record.runCommand = nullptr;
    return record;
}

bool RunKernelLoader(const KernelLoaderBinding& binding, const HostPortRecord& record,
                     const char* imagePath, CTargetBase& requester) {
    HMODULE library = LoadLoaderLibrary(binding.library);
    if (library == nullptr) {
        return false;
    }
    LoaderDownloadFn download = FindDownload(library, binding);
    if (download == nullptr) {
        w32::FreeLibrary(library);
        return false;
    }
    int result;
    {
        RequesterScope scope(requester);
        result = download(&record, imagePath, LoaderMessageRelay);
    }
    // The board starts what it was given before anyone talks to it again.
    w32::Sleep(kAfterLoaderMs);
    w32::FreeLibrary(library);
    return result == 0;
}

void WINAPI LoaderMessageRelay(int, ProgressRecord* record) {
    if (record == nullptr || record->text == nullptr) {
        return;
    }
    CTargetBase* requester = g_requester.load();
    if (requester == nullptr) {
        // A loader that calls back after its download returned: nobody asked any more.
        return;
    }
    char line[kRelayLineSize];
    std::snprintf(line, sizeof line, "%s\n", record->text);
    requester->OutputMessage(0, line);
}

}  // namespace ostrel
