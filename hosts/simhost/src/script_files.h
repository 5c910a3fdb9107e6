// Files a script names (plug-ins, programs, symbol files), found from the script's own folder.
#pragma once

#include <string>

namespace simhost {

// The folder of a script file as a path prefix ("" for a script in the current folder).
std::string ScriptFolderOf(const std::string& scriptPath);

// `path` as seen from the current folder when the script that names it lies in `scriptFolder`:
// a relative path is joined to the folder, an absolute one is kept. The result uses '/' between
// its parts on every system, so that messages naming it read the same everywhere.
std::string PathFromScript(const std::string& scriptFolder, const std::string& path);

// True when `path` names a plug-in by its bare name (no folder), which the system looks for
// beside the program rather than beside the script.
bool IsBareName(const std::string& path);

// True when `path` is an existing folder.
bool IsFolder(const std::string& path);

}  // namespace simhost
