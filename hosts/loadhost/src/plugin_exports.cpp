// Export look-up of loader plug-ins by decorated and plain names.
#include "plugin_exports.h"

#include <cctype>

#include "w32/modules.h"

namespace loadhost {

FoundExport FindExport(HMODULE module, const std::vector<std::string>& decorated,
                       const std::string& plain) {
    FoundExport found;
    FARPROC plainAddress = w32::GetProcAddress(module, plain.c_str());
    for (const std::string& name : decorated) {
        FARPROC address = w32::GetProcAddress(module, name.c_str());
        if (address != nullptr && address != plainAddress) {
            found.address = address;
            found.by = FoundExport::By::Decorated;
            found.name = name;
            return found;
        }
    }
    if (plainAddress != nullptr) {
        found.address = plainAddress;
        found.by = FoundExport::By::Plain;
        found.name = plain;
    }
    return found;
}

std::string PluginWord(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        base.erase(dot);
    }
    for (char& c : base) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return base;
}

LoaderExports FindLoaderExports(HMODULE module, const std::string& word) {
    LoaderExports exports;
    exports.download = FindExport(module, {"_" + word + "_Download@12"}, word + "_Download");
    exports.hddDownload =
        FindExport(module, {"_" + word + "_HDD_Download@12"}, word + "_HDD_Download");
    exports.setMode = FindExport(module, {"_" + word + "_SetMode@8"}, word + "_SetMode");
    // Two of the plug-ins export their banner function under the compiler's C++ name of a stdcall
    // function taking a const char** and returning int.
    exports.copyright =
        FindExport(module, {"_" + word + "_Copyright@4", "?" + word + "_Copyright@@YGHPAPBD@Z"},
                   word + "_Copyright");
    return exports;
}

}  // namespace loadhost
