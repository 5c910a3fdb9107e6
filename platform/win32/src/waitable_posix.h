// Objects that the wait functions can wait on, and the one lock and signal that guard them all.
#pragma once

#include <condition_variable>
#include <mutex>

#include "handle_table.h"

namespace w32 {
namespace waits {

// Every signalled state is read and changed under this lock; every change notifies Changed().
std::mutex& Lock();
std::condition_variable& Changed();

}  // namespace waits

class Waitable : public KernelObject {
public:
    // Both are called with waits::Lock() held.
    virtual bool IsSignalled() const = 0;
    // A wait that this object satisfied takes its effect (an auto-reset event resets).
    virtual void Consume() {}
};

}  // namespace w32
