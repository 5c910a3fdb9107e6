// Texts of owner-drawn menu items: the accelerator column and the mnemonic keys.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace xtmenus {

// The item's text before its first tab and the accelerator text after it (empty without tab).
std::pair<std::string, std::string> SplitAtTab(const std::string& text);

// The letter after the text's first ampersand, upper-cased; 0 when there is none.
char MnemonicOf(const std::string& text);

// One item of a popup as a typed mnemonic key sees it.
struct MenuCharItem {
    bool ours = false;  // owner-drawn with the toolkit's item record
    std::string text;
    bool highlighted = false;
};

// The answer to a mnemonic key typed in an open popup: 0 when no item of ours has it; the one
// item's position with "execute" (2) in the high word; when several share it, the first after
// the highlighted item (else the first of all) with "select" (3) in the high word.
uint32_t MenuCharAnswer(const std::vector<MenuCharItem>& items, char typed);

// The Window popup's entry for the n-th MDI child (n from 1): "&n  title".
std::string WindowListEntry(int number, const std::string& title);

}  // namespace xtmenus
