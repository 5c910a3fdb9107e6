// Finding a loader plug-in's exports the way a download host does: by the 32-bit decorated names
// first, then by the plain names of the other builds.
#pragma once

#include <string>
#include <vector>

#include "w32/types.h"

namespace loadhost {

struct FoundExport {
    enum class By { Missing, Decorated, Plain };
    FARPROC address = nullptr;
    By by = By::Missing;
    std::string name;  // the name it was found under
};

// Tries each decorated name, then the plain one. A decorated name counts only when it does not
// lead to the plain name's function: the platform layer of the builds without decorated exports
// resolves "_Name@12" to "Name" by itself, and the report says which name the plug-in has.
FoundExport FindExport(HMODULE module, const std::vector<std::string>& decorated,
                       const std::string& plain);

// The plug-in's word: its file name without folder and ending, in capitals ("bin/Wendra.dll"
// gives "WENDRA").
std::string PluginWord(const std::string& path);

struct LoaderExports {
    FoundExport download;
    FoundExport hddDownload;
    FoundExport setMode;
    FoundExport copyright;
};

// The four exports a loader may have, named with its word.
LoaderExports FindLoaderExports(HMODULE module, const std::string& word);

}  // namespace loadhost
