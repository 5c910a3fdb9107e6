// The menu bar's keyboard rules: Alt and F10, keyboard mode, mnemonics, moving across popups,
// and where popups open.
#include "menus/menubar_keys.h"

#include <gtest/gtest.h>

using namespace xtmenus;

namespace {

constexpr int kButtons = 4;

BarKeyMessage Key(BarKeyMessage::Kind kind, unsigned vk, bool alt = false) {
    BarKeyMessage msg;
    msg.kind = kind;
    msg.vk = vk;
    msg.altHeld = alt;
    return msg;
}

// Buttons "&File", "&Edit", "&View", "&Help".
int Mnemonic(char c) {
    switch (c) {
        case 'F':
            return 0;
        case 'E':
            return 1;
        case 'V':
            return 2;
        case 'H':
            return 3;
        default:
            return -1;
    }
}

class MenuBarKeysTest : public ::testing::Test {
protected:
    BarKeyDecision Send(BarKeyMessage::Kind kind, unsigned vk, bool alt = false) {
        return keys_.Translate(Key(kind, vk, alt), kButtons, Mnemonic);
    }
    void PressAlt() {
        EXPECT_TRUE(Send(BarKeyMessage::SysKeyDown, kVkMenu, true).handled);
        EXPECT_TRUE(Send(BarKeyMessage::SysKeyUp, kVkMenu).handled);
    }
    MenuBarKeys keys_;
};

}  // namespace

TEST_F(MenuBarKeysTest, AltAloneTogglesKeyboardModeOnItsRelease) {
    EXPECT_TRUE(Send(BarKeyMessage::SysKeyDown, kVkMenu, true).handled);
    EXPECT_EQ(keys_.State(), kTrackIdle);  // not yet: on release
    EXPECT_TRUE(Send(BarKeyMessage::SysKeyUp, kVkMenu).handled);
    EXPECT_EQ(keys_.State(), kTrackKeyboard);
    EXPECT_EQ(keys_.HotIndex(), 0);
    PressAlt();
    EXPECT_EQ(keys_.State(), kTrackIdle);
    EXPECT_EQ(keys_.HotIndex(), -1);
}

TEST_F(MenuBarKeysTest, AltReleasedAfterAnotherKeyIsNoAltAlone) {
    Send(BarKeyMessage::SysKeyDown, kVkMenu, true);
    Send(BarKeyMessage::SysKeyDown, 'Q', true);  // no button has it
    EXPECT_TRUE(Send(BarKeyMessage::SysKeyUp, kVkMenu).handled);
    EXPECT_EQ(keys_.State(), kTrackIdle);
    PressAlt();  // and the next Alt alone works again
    EXPECT_EQ(keys_.State(), kTrackKeyboard);
}

TEST_F(MenuBarKeysTest, F10TogglesOnlyWithoutShiftCtrlOrAlt) {
    Send(BarKeyMessage::SysKeyDown, kVkF10);
    Send(BarKeyMessage::SysKeyUp, kVkF10);
    EXPECT_EQ(keys_.State(), kTrackKeyboard);
    Send(BarKeyMessage::SysKeyUp, kVkF10);
    EXPECT_EQ(keys_.State(), kTrackIdle);

    BarKeyMessage shifted = Key(BarKeyMessage::SysKeyUp, kVkF10);
    shifted.shiftHeld = true;
    EXPECT_FALSE(keys_.Translate(shifted, kButtons, Mnemonic).handled);
    EXPECT_EQ(keys_.State(), kTrackIdle);
}

TEST_F(MenuBarKeysTest, NothingTogglesWhileAPopupIsOpen) {
    keys_.SetTrackingState(kTrackPopup, 2);
    PressAlt();
    EXPECT_EQ(keys_.State(), kTrackPopup);
    EXPECT_EQ(keys_.HotIndex(), 2);
}

TEST_F(MenuBarKeysTest, KeyboardModeMovesTheHotButtonWrappingAndOpensIt) {
    PressAlt();
    EXPECT_TRUE(Send(BarKeyMessage::KeyDown, kVkLeft).handled);
    EXPECT_EQ(keys_.HotIndex(), 3);  // from the first to the last
    EXPECT_TRUE(Send(BarKeyMessage::KeyDown, kVkRight).handled);
    EXPECT_EQ(keys_.HotIndex(), 0);  // and back
    Send(BarKeyMessage::KeyDown, kVkRight);
    for (unsigned vk : {kVkReturn, kVkSpace, kVkUp, kVkDown}) {
        BarKeyDecision opened = Send(BarKeyMessage::KeyDown, vk);
        EXPECT_TRUE(opened.handled);
        EXPECT_EQ(opened.openIndex, 1) << vk;
    }
    EXPECT_TRUE(Send(BarKeyMessage::KeyDown, kVkEscape).handled);
    EXPECT_EQ(keys_.State(), kTrackIdle);
}

TEST_F(MenuBarKeysTest, MnemonicsOpenTheirPopupWithAltOrInKeyboardMode) {
    BarKeyDecision withAlt = Send(BarKeyMessage::SysKeyDown, 'V', true);
    EXPECT_TRUE(withAlt.handled);
    EXPECT_EQ(withAlt.openIndex, 2);
    // Without Alt and outside keyboard mode a letter is the view's.
    EXPECT_FALSE(Send(BarKeyMessage::KeyDown, 'V').handled);
    PressAlt();
    EXPECT_EQ(Send(BarKeyMessage::KeyDown, 'H').openIndex, 3);
}

TEST_F(MenuBarKeysTest, AnUnknownMnemonicBeepsInKeyboardModeAndIsLeftAloneWithAlt) {
    BarKeyDecision withAlt = Send(BarKeyMessage::SysKeyDown, 'Q', true);
    EXPECT_FALSE(withAlt.handled);
    EXPECT_FALSE(withAlt.beep);
    PressAlt();
    BarKeyDecision typed = Send(BarKeyMessage::KeyDown, 'Q');
    EXPECT_TRUE(typed.handled);
    EXPECT_TRUE(typed.beep);
    EXPECT_EQ(keys_.State(), kTrackKeyboard);
}

TEST_F(MenuBarKeysTest, OtherKeysAndClicksElsewhereLeaveKeyboardMode) {
    PressAlt();
    EXPECT_FALSE(Send(BarKeyMessage::KeyDown, 0x70 /* F1 */).handled);
    EXPECT_EQ(keys_.State(), kTrackIdle);
    PressAlt();
    EXPECT_FALSE(
        keys_.Translate(Key(BarKeyMessage::MouseButtonElsewhere, 0), kButtons, Mnemonic).handled);
    EXPECT_EQ(keys_.State(), kTrackIdle);
    EXPECT_EQ(keys_.HotIndex(), -1);
}

TEST(MenuBarPopups, LeftAndRightSwitchPopupsUnlessASubmenuTakesTheKey) {
    EXPECT_EQ(PopupArrowTarget(kVkRight, 3, kButtons, false, false), 0);  // last wraps to first
    EXPECT_EQ(PopupArrowTarget(kVkLeft, 0, kButtons, false, false), 3);
    EXPECT_EQ(PopupArrowTarget(kVkRight, 1, kButtons, false, true), -1);  // opens the submenu
    EXPECT_EQ(PopupArrowTarget(kVkRight, 1, kButtons, true, false), 2);   // from inside one
    EXPECT_EQ(PopupArrowTarget(kVkLeft, 1, kButtons, true, false), -1);   // closes the submenu
    EXPECT_EQ(PopupArrowTarget(kVkLeft, 1, kButtons, false, true), 0);
}

TEST(MenuBarPopups, PopupsOpenBesideTheButtonAwayFromTheDockSide) {
    const BarRect desktop{0, 0, 1024, 768};
    const BarRect button{10, 20, 60, 40};
    PopupPlace top = PopupPosition(button, kAlignTop, desktop);
    EXPECT_EQ(top.x, 10);
    EXPECT_EQ(top.y, 40);
    EXPECT_EQ(top.exclude.bottom, 40);
    EXPECT_EQ(top.exclude.right, 1024);
    PopupPlace floating = PopupPosition(button, 0, desktop);
    EXPECT_EQ(floating.y, 40);
    PopupPlace left = PopupPosition(button, kAlignLeft, desktop);
    EXPECT_EQ(left.x, 60);
    EXPECT_EQ(left.y, 20);
    EXPECT_EQ(left.exclude.right, 60);
    EXPECT_EQ(left.exclude.bottom, 768);
    PopupPlace right = PopupPosition(button, kAlignRight, desktop);
    EXPECT_EQ(right.x, 10);
    EXPECT_EQ(right.exclude.left, 10);
    PopupPlace bottom = PopupPosition(button, kAlignBottom, desktop);
    EXPECT_EQ(bottom.y, 20);
    EXPECT_EQ(bottom.exclude.top, 20);
}
