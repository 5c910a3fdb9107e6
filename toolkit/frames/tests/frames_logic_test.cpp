// The toolkit frames' rules apart from windows: which side a bar docks on, where a docking
// window's sizes are in the saved bar state, and the items of the bar context menu.
#include "classlib/ids.h"
#include "frames/bar_menu.h"
#include "frames/bar_sections.h"
#include "frames/dock_sides.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace xtframes;

TEST(DockSides, ABarGoesToTheSideOfExactlyItsAlignmentOrTheFirstSideOfTheBarBesideIt) {
    EXPECT_EQ(59419u, XTDockBarForAlignment(CBRS_TOP | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC));
    EXPECT_EQ(59422u, XTDockBarForAlignment(CBRS_ALIGN_BOTTOM));
    EXPECT_EQ(59420u, XTDockBarForAlignment(CBRS_LEFT));
    EXPECT_EQ(59421u, XTDockBarForAlignment(CBRS_ALIGN_RIGHT | CBRS_GRIPPER));
    // Aligned to several sides or to none: no side matches and the bar is not docked.
    EXPECT_EQ(0u, XTDockBarForAlignment(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT));
    EXPECT_EQ(0u, XTDockBarForAlignment(CBRS_ALIGN_ANY));
    EXPECT_EQ(0u, XTDockBarForAlignment(CBRS_BORDER_BOTTOM));

    // Beside another bar: the first of top, bottom, left, right that the other bar has.
    EXPECT_EQ(59419u, XTDockBarBeside(CBRS_ALIGN_ANY));
    EXPECT_EQ(59422u, XTDockBarBeside(CBRS_ALIGN_BOTTOM | CBRS_ALIGN_LEFT));
    EXPECT_EQ(59420u, XTDockBarBeside(CBRS_LEFT | CBRS_ALIGN_RIGHT));
    EXPECT_EQ(59421u, XTDockBarBeside(CBRS_RIGHT));
    EXPECT_EQ(0u, XTDockBarBeside(CBRS_BORDER_ANY | CBRS_FLOATING));
}

// A profile of "BarID" values by section number; absent sections read -1 and are counted.
struct Profile {
    std::map<int, int> barIDs;
    std::vector<int> reads;
    int operator()(int n) {
        reads.push_back(n);
        auto it = barIDs.find(n);
        return it == barIDs.end() ? -1 : it->second;
    }
};

TEST(BarSections, TheSearchStopsAtTheDockingWindowsSectionOrAtTheEndOfTheNumbering) {
    Profile profile{{{0, 59419}, {1, 104}, {2, 105}}, {}};
    EXPECT_EQ(1, XTFindBarSection(104, std::ref(profile)));
    EXPECT_EQ((std::vector<int>{0, 1}), profile.reads);

    // Only the identifier's low word is kept in a section.
    EXPECT_EQ(2, XTFindBarSection(0x10000 + 105, std::ref(profile)));

    // A section number past the end is never reached, whatever it holds.
    profile.barIDs[4] = 106;
    profile.reads.clear();
    EXPECT_EQ(-1, XTFindBarSection(106, std::ref(profile)));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), profile.reads);

    Profile empty;
    EXPECT_EQ(-1, XTFindBarSection(104, std::ref(empty)));
    EXPECT_EQ((std::vector<int>{0}), empty.reads);
}

const XTBarMenuTexts kTexts{"Dock Window", "Toolbar", "Status Bar", "Customize..."};

// One line per item: "-" a separator, else the command, the text and "*" when checked.
std::vector<std::string> Lines(const std::vector<XTBarMenuItem>& items) {
    std::vector<std::string> lines;
    for (const XTBarMenuItem& item : items) {
        lines.push_back(item.separator ? "-"
                                       : std::to_string(item.nID) + " " + item.text +
                                             (item.checked ? " *" : ""));
    }
    return lines;
}

TEST(BarMenu, TheSeparatorFollowsDockingWindowsOnlyAndAnEmptyMenuStaysEmpty) {
    EXPECT_EQ((std::vector<std::string>{"59392 Toolbar *", "-", "52780 Customize..."}),
              Lines(XTBuildBarMenu({{XTBarKind::ToolBar, 59392, "", true}}, true, kTexts)));
    EXPECT_EQ(
        (std::vector<std::string>{"104 Messages", "-"}),
        Lines(XTBuildBarMenu({{XTBarKind::DockWindow, 104, "Messages", false}}, false, kTexts)));
    EXPECT_TRUE(XTBuildBarMenu({}, true, kTexts).empty());
    EXPECT_TRUE(
        XTBuildBarMenu({{XTBarKind::Other, 59419, "Menu Bar", true}}, true, kTexts).empty());
}

}  // namespace
