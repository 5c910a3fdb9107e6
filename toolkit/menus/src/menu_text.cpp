// Texts of owner-drawn menu items: the accelerator column and the mnemonic keys.
#include "menus/menu_text.h"

#include <cctype>

namespace xtmenus {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

constexpr uint32_t kExecute = 2;
constexpr uint32_t kSelect = 3;

}  // namespace

std::pair<std::string, std::string> SplitAtTab(const std::string& text) {
    const auto tab = text.find('\t');
    if (tab == std::string::npos) {
        return {text, std::string()};
    }
    return {text.substr(0, tab), text.substr(tab + 1)};
}

char MnemonicOf(const std::string& text) {
    const auto amp = text.find('&');
    if (amp == std::string::npos || amp + 1 >= text.size()) {
        return 0;
    }
    return Upper(text[amp + 1]);
}

uint32_t MenuCharAnswer(const std::vector<MenuCharItem>& items, char typed) {
    const char key = Upper(typed);
    std::vector<uint32_t> matches;
    int highlighted = -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].highlighted) {
            highlighted = static_cast<int>(i);
        }
        if (items[i].ours && key != 0 && MnemonicOf(items[i].text) == key) {
            matches.push_back(static_cast<uint32_t>(i));
        }
    }
    if (matches.empty()) {
        return 0;
    }
    if (matches.size() == 1) {
        return matches.front() | (kExecute << 16);
    }
    for (uint32_t position : matches) {
        if (static_cast<int>(position) > highlighted) {
            return position | (kSelect << 16);
        }
    }
    return matches.front() | (kSelect << 16);
}

std::string WindowListEntry(int number, const std::string& title) {
    return "&" + std::to_string(number) + "  " + title;
}

}  // namespace xtmenus
