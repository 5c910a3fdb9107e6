// Placement of the flat button's text and image, and its border frames.
#include "docking/button_layout.h"

#include <algorithm>

namespace xtdock {

CPoint PlaceInClient(const ButtonLayout& layout, CSize thing) {
    int x = (layout.style & kButtonImageAbove)
                ? std::max(0, static_cast<int>((layout.client.cx - thing.cx) / 2))
                : layout.margin;
    int y = std::max(0, static_cast<int>((layout.client.cy - thing.cy) / 2));
    return CPoint(x, y);
}

CPoint TextOrigin(const ButtonLayout& layout, CSize textExtent) {
    if (layout.fixedPositions) {
        return layout.fixedText;
    }
    CPoint origin = PlaceInClient(layout, textExtent);
    if (layout.hasImage) {
        if (layout.style & kButtonImageAbove) {
            origin.y += layout.image.cy / 2 + layout.gap / 2;
        } else {
            origin.x += layout.gap + layout.image.cx;
        }
    }
    return origin;
}

CPoint ImageOrigin(const ButtonLayout& layout, int textHeight) {
    if (layout.fixedPositions) {
        return layout.fixedImage;
    }
    CPoint origin = PlaceInClient(layout, layout.image);
    if (textHeight > 0) {
        if (layout.style & kButtonImageAbove) {
            origin.y -= layout.gap / 2 + textHeight / 2;
        } else {
            origin.x = layout.margin;
        }
    }
    return origin;
}

std::vector<ButtonFrame> ButtonFrames(DWORD style, bool pushed, int* contentInset) {
    *contentInset = 0;
    if (style & kButtonFlat) {
        // Invisible until pushed; the hot border is drawn apart from painting.
        return {pushed ? ButtonFrame{ButtonTone::Shadow, ButtonTone::Highlight, 0}
                       : ButtonFrame{ButtonTone::Face, ButtonTone::Face, 0}};
    }
    if (style & kButtonThinBorder) {
        return {pushed ? ButtonFrame{ButtonTone::SharedShadow, ButtonTone::SharedHighlight, 0}
                       : ButtonFrame{ButtonTone::SharedHighlight, ButtonTone::SharedShadow, 0}};
    }
    *contentInset = 1;
    if (pushed) {
        return {ButtonFrame{ButtonTone::SharedDarkShadow, ButtonTone::Highlight, 0},
                ButtonFrame{ButtonTone::Shadow, ButtonTone::Face, 1}};
    }
    return {ButtonFrame{ButtonTone::Highlight, ButtonTone::SharedDarkShadow, 0},
            ButtonFrame{ButtonTone::Face, ButtonTone::Shadow, 1}};
}

}  // namespace xtdock
