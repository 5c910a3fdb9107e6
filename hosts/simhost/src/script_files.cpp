// Paths of the files a script names, taken from the script's folder.
#include "script_files.h"

#include <filesystem>
#include <system_error>

namespace simhost {

namespace fs = std::filesystem;

std::string ScriptFolderOf(const std::string& scriptPath) {
    return fs::path(scriptPath).parent_path().generic_string();
}

std::string PathFromScript(const std::string& scriptFolder, const std::string& path) {
    fs::path given(path);
    if (scriptFolder.empty() || path.empty() || given.has_root_directory() ||
        given.has_root_name()) {
        return path;
    }
    std::string joined = (fs::path(scriptFolder) / given).lexically_normal().generic_string();
    // "folder/." comes out as "folder/": the folder is named without the separator after it.
    if (joined.size() > 1 && joined.back() == '/') {
        joined.pop_back();
    }
    return joined;
}

bool IsBareName(const std::string& path) {
    return path.find('/') == std::string::npos && path.find('\\') == std::string::npos;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::path(path), error);
}

}  // namespace simhost
