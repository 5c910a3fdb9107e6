// Kernel-object handles of the platform layer and the one way to close them.
#pragma once

#include <memory>

#include "w32/api.h"
#include "w32/types.h"

namespace w32 {

// Closes a handle from any function of the layer (threads, events, serial ports, virtual ports).
// FALSE with ERROR_INVALID_HANDLE for a handle the layer does not know.
W32_API BOOL CloseHandle(HANDLE h);

// A kernel object behind a handle of the layer. Objects are shared: a running thread keeps its
// own object alive after its handle is closed.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Called once when the last handle to the object is closed.
    virtual void OnClose() {}
};

namespace handles {

// Registers `object` and returns a fresh handle for it (never null, never INVALID_HANDLE_VALUE).
W32_API HANDLE Register(std::shared_ptr<KernelObject> object);
// The object behind `h`, or null for a handle the layer does not know.
W32_API std::shared_ptr<KernelObject> Lookup(HANDLE h);
// Typed lookup: null when the handle is unknown or names another kind of object.
template <typename T>
std::shared_ptr<T> LookupAs(HANDLE h) {
    return std::dynamic_pointer_cast<T>(Lookup(h));
}
// Number of open handles of the layer (tests use it to find leaks).
W32_API size_t OpenCount();

}  // namespace handles
}  // namespace w32
