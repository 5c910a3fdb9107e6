// The layer's own kernel objects (threads, events, serial ports, virtual ports) and their handles.
#pragma once

#include <memory>

#include "w32/handles.h"

namespace w32 {

// A kernel object behind a handle of the layer. Objects are shared: a running thread keeps its
// own object alive after its handle is closed.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Called once when the last handle to the object is closed.
    virtual void OnClose() {}
};

namespace handles {

// Registers `object` and returns a fresh handle for it (never INVALID_HANDLE_VALUE; null when the
// system has no handle to spare).
HANDLE Register(std::shared_ptr<KernelObject> object);
// The object behind `h`, or null for a handle the layer does not know.
std::shared_ptr<KernelObject> Lookup(HANDLE h);
// Typed lookup: null when the handle is unknown or names another kind of object.
template <typename T>
std::shared_ptr<T> LookupAs(HANDLE h) {
    return std::dynamic_pointer_cast<T>(Lookup(h));
}

}  // namespace handles
}  // namespace w32
