// The menu bar's keyboard rules apart from windows: Alt and F10, keyboard mode, mnemonics, and
// moving between the bar's popups.
#pragma once

#include <functional>

namespace xtmenus {

// Virtual-key codes the rules look at (the system's values).
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkMenu = 0x12;  // Alt
constexpr unsigned kVkEscape = 0x1B;
constexpr unsigned kVkSpace = 0x20;
constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkUp = 0x26;
constexpr unsigned kVkRight = 0x27;
constexpr unsigned kVkDown = 0x28;
constexpr unsigned kVkF10 = 0x79;

enum TrackingState { kTrackIdle = 0, kTrackKeyboard = 1, kTrackPopup = 2 };

// A message the frame offers the bar before translating it.
struct BarKeyMessage {
    enum Kind { KeyDown, SysKeyDown, SysKeyUp, MouseButtonElsewhere, Other };
    Kind kind = Other;
    unsigned vk = 0;
    bool altHeld = false;
    bool shiftHeld = false;
    bool ctrlHeld = false;
};

// What the bar does with a message.
struct BarKeyDecision {
    bool handled = false;  // the frame does not translate or dispatch it further
    int openIndex = -1;    // open this button's popup
    bool beep = false;
};

// Tracking state and hot button of a menu bar.
class MenuBarKeys {
public:
    int State() const { return m_nTrackingState; }
    int HotIndex() const { return m_nHotIndex; }

    // A change of state sets the hot button to the given index, or to none for idle.
    void SetTrackingState(int state, int hotIndex = -1);

    // The rules for a message to the frame (Alt toggles keyboard mode when it is released
    // without another key pressed meanwhile); findMnemonic gives the button whose mnemonic is the
    // letter, or -1. Changes the state where the rules say so (opening a popup is the caller's).
    BarKeyDecision Translate(const BarKeyMessage& msg, int buttonCount,
                             const std::function<int(char)>& findMnemonic);

private:
    void ToggleKeyboardMode();

    int m_nTrackingState = kTrackIdle;
    int m_nHotIndex = -1;
    bool m_bAltAlone = false;  // Alt is down and no other key came since
};

// The button before or after another, wrapping at the ends.
int NeighbourButton(int index, bool next, int buttonCount);

// Left or Right pressed in the open popup of button `open`: the button to switch to, or -1 when
// the key belongs to the popup (Left while the selection is in a submenu closes the submenu,
// Right on an item that opens a submenu opens it).
int PopupArrowTarget(unsigned vk, int open, int buttonCount, bool selectionInSubmenu,
                     bool selectedOpensSubmenu);

struct BarRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where a button's popup opens and the area it must not cover, for the side the bar is docked
// to (the bar style's alignment bits; floating and top both open below).
struct PopupPlace {
    int x = 0;
    int y = 0;
    BarRect exclude;
};
constexpr unsigned kAlignLeft = 0x1000;
constexpr unsigned kAlignTop = 0x2000;
constexpr unsigned kAlignRight = 0x4000;
constexpr unsigned kAlignBottom = 0x8000;
PopupPlace PopupPosition(const BarRect& button, unsigned barStyle, const BarRect& desktop);

}  // namespace xtmenus
