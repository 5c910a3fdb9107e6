// Module loading over the dynamic linker, with the system's search and naming rules.
#include "w32/modules.h"

#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "w32/errors.h"

namespace w32 {
namespace {

std::string ProgramPath() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return std::string();
    }
    return std::string(path, static_cast<size_t>(n));
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

// "Frandle.dll" and "Frandle" both name "Frandle.so" on this system.
std::string NativeFileName(const std::string& name) {
    if (EndsWithNoCase(name, ".dll")) {
        return name.substr(0, name.size() - 4) + ".so";
    }
    std::string base = name.substr(name.find_last_of('/') + 1);
    if (base.find('.') == std::string::npos) {
        return name + ".so";
    }
    return name;
}

bool IsIdentifier(const std::string& text) {
    if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
            return false;
        }
    }
    return true;
}

// The name a 32-bit Windows export table decorates, as this build exports it; empty when `name`
// carries no decoration. "_Name@12" is a stdcall function with 12 bytes of arguments;
// "?Name@@YG...Z" a C++ function outside any class or namespace (Y), the rest its calling
// convention and types.
std::string UndecoratedName(const std::string& name) {
    if (name.size() > 2 && name[0] == '_') {
        size_t at = name.find_last_of('@');
        if (at != std::string::npos && at + 1 < name.size() &&
            name.find_first_not_of("0123456789", at + 1) == std::string::npos &&
            IsIdentifier(name.substr(1, at - 1))) {
            return name.substr(1, at - 1);
        }
        return std::string();
    }
    if (name.size() > 5 && name[0] == '?' && name.back() == 'Z') {
        size_t end = name.find("@@Y");
        if (end != std::string::npos && IsIdentifier(name.substr(1, end - 1))) {
            return name.substr(1, end - 1);
        }
    }
    return std::string();
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string StripEnding(const std::string& name) {
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// A file that exists but is no shared library at all; a library that fails for a missing
// dependency is "not found", as the system says of a module whose dependency is missing.
bool IsFileWithoutLibraryFormat(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char magic[4] = {};
    size_t got = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    static const unsigned char kElf[4] = {0x7F, 'E', 'L', 'F'};
    return got != sizeof magic || std::memcmp(magic, kElf, sizeof magic) != 0;
}

struct FindByName {
    std::string wanted;
    std::string found;
};

int MatchModule(struct dl_phdr_info* info, size_t, void* data) {
    auto* find = static_cast<FindByName*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') {
        return 0;
    }
    std::string base = BaseName(info->dlpi_name);
    if (strcasecmp(base.c_str(), find->wanted.c_str()) == 0 ||
        strcasecmp(StripEnding(base).c_str(), StripEnding(find->wanted).c_str()) == 0) {
        find->found = info->dlpi_name;
        return 1;
    }
    return 0;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string file = NativeFileName(name);
    // The file found first is the one that loads or fails: a module beside the program that does
    // not load is not replaced by one of the same name elsewhere.
    std::string tried = file;
    if (file.find('/') == std::string::npos) {
        std::string local = FolderOf(ProgramPath()) + file;
        if (access(local.c_str(), F_OK) == 0) {
            tried = local;
        }
    }
    void* module = dlopen(tried.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        // The loader's own reason stays for dlerror(); the code is the system's for the case.
        SetLastError(IsFileWithoutLibraryFormat(tried) ? ERROR_BAD_EXE_FORMAT
                                                       : ERROR_MOD_NOT_FOUND);
    }
    return module;
}

BOOL FreeLibrary(HMODULE module) {
    if (module == nullptr || dlclose(module) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    if (module == nullptr || name == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* symbol = dlsym(module, name);
    if (symbol == nullptr) {
        // Decorations exist only in 32-bit Windows export tables: "_Name@12" and "?Name@@YG...Z"
        // are "Name" here.
        std::string plain = UndecoratedName(name);
        if (!plain.empty()) {
            symbol = dlsym(module, plain.c_str());
        }
    }
    if (symbol == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

HMODULE GetModuleHandleA(LPCSTR name) {
    if (name == nullptr) {
        return dlopen(nullptr, RTLD_NOW | RTLD_NOLOAD);
    }
    FindByName find{NativeFileName(name), std::string()};
    dl_iterate_phdr(MatchModule, &find);
    if (find.found.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The reference taken here is dropped again: like the system's, this handle is not counted.
    void* module = dlopen(find.found.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr) {
        dlclose(module);
    }
    return module;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string path;
    void* self = dlopen(nullptr, RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr || module == self) {
        path = ProgramPath();
    } else {
        struct link_map* map = nullptr;
        if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        path = map->l_name;
        if (!path.empty() && path[0] != '/') {
            char cwd[4096];
            if (getcwd(cwd, sizeof cwd) != nullptr) {
                path = std::string(cwd) + "/" + path;
            }
        }
    }
    if (self != nullptr) {
        dlclose(self);
    }
    if (path.size() >= size) {
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

}  // namespace w32
