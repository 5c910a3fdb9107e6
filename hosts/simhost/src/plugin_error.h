// Why a plug-in module did not load, in the system's own words.
#pragma once

#include <string>

#include "w32/types.h"

namespace simhost {

// The system's text for `code` (the last error of the failed load) with the module's `name` in
// place of "%1", then, where the system's loader gives one, its own reason, and the code:
// "The specified module could not be found. (error 126)".
std::string PluginLoadFailure(const std::string& name, DWORD code);

}  // namespace simhost
