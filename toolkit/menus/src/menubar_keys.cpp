// The menu bar's keyboard rules apart from windows.
#include "menus/menubar_keys.h"

namespace xtmenus {

namespace {

bool IsLetterOrDigit(unsigned vk) { return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'); }

}  // namespace

void MenuBarKeys::SetTrackingState(int state, int hotIndex) {
    m_nTrackingState = state;
    m_nHotIndex = state == kTrackIdle ? -1 : hotIndex;
}

void MenuBarKeys::ToggleKeyboardMode() {
    if (m_nTrackingState == kTrackIdle) {
        SetTrackingState(kTrackKeyboard, 0);
    } else if (m_nTrackingState == kTrackKeyboard) {
        SetTrackingState(kTrackIdle);
    }
}

BarKeyDecision MenuBarKeys::Translate(const BarKeyMessage& msg, int buttonCount,
                                      const std::function<int(char)>& findMnemonic) {
    BarKeyDecision decision;
    if (msg.kind == BarKeyMessage::MouseButtonElsewhere) {
        m_bAltAlone = false;
        if (m_nTrackingState >= kTrackKeyboard) {
            SetTrackingState(kTrackIdle);
        }
        return decision;
    }
    if (msg.kind == BarKeyMessage::Other) {
        return decision;
    }
    const bool down = msg.kind != BarKeyMessage::SysKeyUp;
    if (msg.vk == kVkMenu) {
        if (down) {
            m_bAltAlone = true;
        } else if (m_bAltAlone) {
            m_bAltAlone = false;
            ToggleKeyboardMode();
        }
        decision.handled = true;
        return decision;
    }
    if (down) {
        m_bAltAlone = false;  // Alt with another key is no Alt alone
    }
    if (msg.vk == kVkF10 && !msg.shiftHeld && !msg.ctrlHeld && !msg.altHeld) {
        if (!down) {
            ToggleKeyboardMode();
        }
        decision.handled = true;
        return decision;
    }
    const bool keyboardMode = m_nTrackingState == kTrackKeyboard;
    if (keyboardMode && down && buttonCount > 0) {
        switch (msg.vk) {
            case kVkReturn:
            case kVkSpace:
            case kVkUp:
            case kVkDown:
                decision.openIndex = m_nHotIndex;
                decision.handled = true;
                return decision;
            case kVkEscape:
                SetTrackingState(kTrackIdle);
                decision.handled = true;
                return decision;
            case kVkLeft:
            case kVkRight:
                m_nHotIndex = NeighbourButton(m_nHotIndex, msg.vk == kVkRight, buttonCount);
                decision.handled = true;
                return decision;
            default:
                break;
        }
    }
    if (down && IsLetterOrDigit(msg.vk) && (msg.altHeld || keyboardMode)) {
        const int found = findMnemonic(static_cast<char>(msg.vk));
        if (found >= 0) {
            decision.openIndex = found;
            decision.handled = true;
            return decision;
        }
        if (keyboardMode && !msg.altHeld) {
            decision.beep = true;
            decision.handled = true;
            return decision;
        }
    }
    if (keyboardMode) {
        SetTrackingState(kTrackIdle);
    }
    return decision;
}

int NeighbourButton(int index, bool next, int buttonCount) {
    if (buttonCount <= 0) {
        return -1;
    }
    if (next) {
        return index + 1 >= buttonCount ? 0 : index + 1;
    }
    return index <= 0 ? buttonCount - 1 : index - 1;
}

int PopupArrowTarget(unsigned vk, int open, int buttonCount, bool selectionInSubmenu,
                     bool selectedOpensSubmenu) {
    if (vk == kVkLeft && !selectionInSubmenu) {
        return NeighbourButton(open, false, buttonCount);
    }
    if (vk == kVkRight && !selectedOpensSubmenu) {
        return NeighbourButton(open, true, buttonCount);
    }
    return -1;
}

PopupPlace PopupPosition(const BarRect& button, unsigned barStyle, const BarRect& desktop) {
    PopupPlace place;
    place.exclude = desktop;
    if (barStyle & kAlignLeft) {
        place.x = button.right;
        place.y = button.top;
        place.exclude.right = button.right;
    } else if (barStyle & kAlignRight) {
        place.x = button.left;
        place.y = button.top;
        place.exclude.left = button.left;
    } else if (barStyle & kAlignBottom) {
        place.x = button.left;
        place.y = button.top;
        place.exclude.top = button.top;
    } else {
        place.x = button.left;
        place.y = button.bottom;
        place.exclude.bottom = button.bottom;
    }
    return place;
}

}  // namespace xtmenus
