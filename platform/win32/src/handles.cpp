// Handle table of the layer: every kernel object the layer itself implements is reached through it.
#include "handle_table.h"

#include <map>
#include <mutex>

#include "w32/errors.h"
#include "w32test/handles.h"

namespace w32 {
namespace {

struct HandleTable {
    std::mutex mutex;
    std::map<HANDLE, std::shared_ptr<KernelObject>> objects;
#if !defined(_WIN32)
    uintptr_t next = 0x1000;
#endif
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // outlives every static destructor
    return *table;
}

}  // namespace

namespace handles {

HANDLE Register(std::shared_ptr<KernelObject> object) {
    HandleTable& t = Table();
#if defined(_WIN32)
    // A real (unused) event gives the object a handle value the system never hands out twice.
    HANDLE h = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (h == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(t.mutex);
#else
    std::lock_guard<std::mutex> lock(t.mutex);
    HANDLE h = reinterpret_cast<HANDLE>(t.next);
    t.next += 4;
#endif
    t.objects[h] = std::move(object);
    return h;
}

std::shared_ptr<KernelObject> Lookup(HANDLE h) {
    HandleTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.objects.find(h);
    return it == t.objects.end() ? nullptr : it->second;
}

}  // namespace handles

BOOL CloseHandle(HANDLE h) {
    HandleTable& t = Table();
    std::shared_ptr<KernelObject> object;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        auto it = t.objects.find(h);
        if (it != t.objects.end()) {
            object = std::move(it->second);
            t.objects.erase(it);
        }
    }
    if (object) {
        object->OnClose();
#if defined(_WIN32)
        ::CloseHandle(h);
#endif
        return TRUE;
    }
#if defined(_WIN32)
    return ::CloseHandle(h);
#else
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
#endif
}

}  // namespace w32

namespace w32test {
namespace handles {

DWORD OpenCount() {
    w32::HandleTable& t = w32::Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return static_cast<DWORD>(t.objects.size());
}

}  // namespace handles
}  // namespace w32test
