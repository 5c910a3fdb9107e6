// The system's message for a module that did not load, and on Linux the dynamic loader's reason.
#include "plugin_error.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

#include "w32/errors.h"

namespace simhost {

namespace {

std::string SystemText(DWORD code) {
    char text[512] = {};
    DWORD length = w32::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, code, 0, text, sizeof text, nullptr);
    std::string result(text, length < sizeof text ? length : 0);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' ')) {
        result.pop_back();
    }
    return result;
}

// The dynamic loader keeps the reason of its last failure (a missing file, a file that is no
// library, a library it depends on); the system's code alone cannot tell these apart here.
std::string LoaderReason() {
#if defined(_WIN32)
    return std::string();
#else
    const char* reason = dlerror();
    return reason != nullptr ? reason : "";
#endif
}

}  // namespace

std::string PluginLoadFailure(const std::string& name, DWORD code) {
    std::string text = SystemText(code);
    size_t insert = text.find("%1");
    if (insert != std::string::npos) {
        text.replace(insert, 2, name);
    }
    std::string reason = LoaderReason();
    std::string detail = (reason.empty() ? "" : reason + "; ") + "error " + std::to_string(code);
    return text.empty() ? detail : text + " (" + detail + ")";
}

}  // namespace simhost
