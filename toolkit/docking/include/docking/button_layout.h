// Where the flat button puts its text and its image, and which frames its border is made of
// (rules without windows; the button draws what they give).
#pragma once

#include "classlib/geometry.h"

#include <vector>

namespace xtdock {

// Style flags of the flat button.
const DWORD kButtonFlat = 0x01;        // no border until hot; hot tracking by timer
const DWORD kButtonThinBorder = 0x02;  // a thin border in the shared 3-D colours
const DWORD kButtonImageAbove = 0x04;  // image above text, both centred; else side by side
const DWORD kButtonFocusRect = 0x08;

struct ButtonLayout {
    CSize client;     // the client area (its corner is 0, 0)
    DWORD style = 0;  // kButton* flags
    int margin = 4;   // left margin of a side-by-side layout
    int gap = 8;      // between image and text
    CSize image;      // the size the icon or bitmap is drawn at
    bool hasImage = false;
    bool fixedPositions = false;
    CPoint fixedImage;
    CPoint fixedText;
};

// A thing of the given size: centred across with kButtonImageAbove, else at the margin;
// centred vertically; never left of or above the client's corner.
CPoint PlaceInClient(const ButtonLayout& layout, CSize thing);

// The text's corner for its extent (before the one-pixel shift of a pushed button).
CPoint TextOrigin(const ButtonLayout& layout, CSize textExtent);

// The image's corner; textHeight is the window text's height, 0 when it has none.
CPoint ImageOrigin(const ButtonLayout& layout, int textHeight);

// The colours of a border frame.
enum class ButtonTone {
    Face,
    Shadow,
    Highlight,
    SharedShadow,  // the toolkit's shared 3-D colours
    SharedHighlight,
    SharedDarkShadow
};
struct ButtonFrame {
    ButtonTone topLeft;
    ButtonTone bottomRight;
    int inset;  // pixels in from the item rectangle
};

// The border frames of the button, outer first. A two-frame (3-D) border also leaves the
// rectangle for the content one pixel smaller on every side: *contentInset says by how much.
std::vector<ButtonFrame> ButtonFrames(DWORD style, bool pushed, int* contentInset);

}  // namespace xtdock
