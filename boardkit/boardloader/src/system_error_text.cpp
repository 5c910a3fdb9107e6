// The system's text for a Win32 error, as the loaders quote it after a failed line change.
#include <cstdio>

#include "boardloader/board_loader.h"
#include "w32/errors.h"

namespace {

// The user's default language (neutral language, default sublanguage).
constexpr DWORD kUserDefaultLanguage = 0x0400;

}  // namespace

void systemErrorText(DWORD error, char* text, int size) {
    if (text == nullptr || size <= 0) {
        return;
    }
    text[0] = '\0';
    char* message = nullptr;
    DWORD length = w32::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, kUserDefaultLanguage, reinterpret_cast<LPSTR>(&message), 0, nullptr);
    if (length != 0 && message != nullptr) {
        std::snprintf(text, static_cast<size_t>(size), "%s", message);
    }
    if (message != nullptr) {
        w32::LocalFree(message);
    }
}
