// Owner-drawn item texts: the accelerator column, mnemonics typed in an open popup, and the
// Window popup's entries.
#include "menus/menu_text.h"

#include <gtest/gtest.h>

using xtmenus::MenuCharAnswer;
using xtmenus::MenuCharItem;

TEST(MenuText, SplitsAtTheFirstTabOnly) {
    EXPECT_EQ(xtmenus::SplitAtTab("&Open...\tCtrl+O"),
              (std::pair<std::string, std::string>{"&Open...", "Ctrl+O"}));
    EXPECT_EQ(xtmenus::SplitAtTab("A\tB\tC"), (std::pair<std::string, std::string>{"A", "B\tC"}));
    // No tab: no accelerator column.
    EXPECT_EQ(xtmenus::SplitAtTab("E&xit").second, "");
}

TEST(MenuText, TheMnemonicFollowsTheFirstAmpersand) {
    EXPECT_EQ(xtmenus::MnemonicOf("E&xit"), 'X');
    EXPECT_EQ(xtmenus::MnemonicOf("Save &As\tF12"), 'A');
    EXPECT_EQ(xtmenus::MnemonicOf("Plain"), 0);
    EXPECT_EQ(xtmenus::MnemonicOf("Trailing&"), 0);
}

TEST(MenuChar, OneItemWithTheLetterIsExecuted) {
    std::vector<MenuCharItem> items{{true, "&Open", false}, {true, "&Save", true}};
    EXPECT_EQ(MenuCharAnswer(items, 's'), (2u << 16) | 1u);
    EXPECT_EQ(MenuCharAnswer(items, 'O'), (2u << 16) | 0u);
}

TEST(MenuChar, ALetterTwoItemsShareMovesTheHighlightBetweenThem) {
    std::vector<MenuCharItem> items{{true, "&Print", false},
                                    {true, "&Save", false},
                                    {true, "Pre&view", false},
                                    {true, "&Properties", false}};
    // Nothing highlighted: the first.
    EXPECT_EQ(MenuCharAnswer(items, 'p'), (3u << 16) | 0u);
    items[0].highlighted = true;
    EXPECT_EQ(MenuCharAnswer(items, 'p'), (3u << 16) | 3u);
    items[0].highlighted = false;
    items[3].highlighted = true;
    // Past the last one: back to the first.
    EXPECT_EQ(MenuCharAnswer(items, 'p'), (3u << 16) | 0u);
}

TEST(MenuChar, ItemsOfOtherCodeAndUnknownLettersGiveNothing) {
    std::vector<MenuCharItem> items{{false, "&Other", false}, {true, "&Mine", false}};
    EXPECT_EQ(MenuCharAnswer(items, 'o'), 0u);
    EXPECT_EQ(MenuCharAnswer(items, 'z'), 0u);
    EXPECT_EQ(MenuCharAnswer({{true, "Trailing&", false}}, '\0'), 0u);
}

TEST(MenuText, WindowListEntriesNumberFromOne) {
    EXPECT_EQ(xtmenus::WindowListEntry(1, "image.hex"), "&1  image.hex");
    EXPECT_EQ(xtmenus::WindowListEntry(12, ""), "&12  ");
}
