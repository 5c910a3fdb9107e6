// How CreateFileA and the registry reach the virtual ports.
#pragma once

#include <vector>

#include "w32/types.h"

namespace w32 {
namespace vport {

// When a device is attached to COM `comNumber`: opens the virtual port and returns true with the
// handle (or INVALID_HANDLE_VALUE and the last error, when it is open already). Otherwise false.
bool OpenIfAttached(int comNumber, HANDLE* handle);

// When real ports are refused (w32test::vport::RefuseRealPorts): tells the guard, sets
// ERROR_FILE_NOT_FOUND and returns true. Otherwise false.
bool RefusedAsReal(int comNumber);

// The COM numbers with a device attached, ascending.
std::vector<int> AttachedPorts();

}  // namespace vport
}  // namespace w32
