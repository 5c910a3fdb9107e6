// The sizes a docking window keeps for each docking state, its layout answers, the size changes
// its row makes, and the "Bar Position" record that stores them in the profile.
#pragma once

#include "classlib/geometry.h"
#include "classlib/types.h"

#include <cstddef>

namespace xtdock {

// Where a docking window is: along the top or bottom (a row runs across, its length is a width),
// down the left or right (its length is a height), or in a floating frame.
enum class XTDockSide { Floating, Horz, Vert };

// Docked windows never shrink below their caption along their row; floating ones never below
// this in either direction while their frame is sized.
constexpr int XT_CAPTION_SIZE = 19;
constexpr int XT_MIN_FLOAT_SIZE = 50;

struct XT_DOCK_SIZES {
    CSize sizeVertDock{200, 100};  // while docked left or right
    CSize sizeHorzDock{200, 100};  // while docked top or bottom
    CSize sizeFloat{200, 100};     // most recent floating size
    CSize sizeCurrent{200, 100};   // what the window has now
    BOOL bAloneInRow = FALSE;      // only docking window of its row: it cannot expand
    BOOL bExpanded = FALSE;        // fills its row, the others show their captions only
};

// The length along a row and the thickness across it, for a side (floating counts as
// horizontal: it has no row).
int XTLengthOf(const CSize& size, XTDockSide side);
int XTThicknessOf(const CSize& size, XTDockSide side);
CSize XTSizeOf(int nLength, int nThickness, XTDockSide side);

// The dynamic layout a docking window answers for a request of the LM_* mode bits.
CSize XTDockWindowLayout(XT_DOCK_SIZES& sizes, int nLength, DWORD dwMode);

// The current size, and the docked or floating size of the side the window is on.
void XTSetDockedSize(XT_DOCK_SIZES& sizes, XTDockSide side, const CSize& size);
// Back to the docked size of the side, no longer expanded.
void XTRestoreSize(XT_DOCK_SIZES& sizes, XTDockSide side);
// Down to the caption along the row; answers the length that frees.
int XTContractToCaption(XT_DOCK_SIZES& sizes, XTDockSide side);
// The length along the row, expanded.
void XTExpandToSize(XT_DOCK_SIZES& sizes, XTDockSide side, int nLength);

// The "Bar Position" profile value: eleven little-endian 32-bit values.
constexpr std::size_t XT_BAR_POSITION_BYTES = 44;
// The part read back: the four sizes and both flags (the toolkit style is not applied again).
constexpr std::size_t XT_BAR_POSITION_READ_BYTES = 40;

void XTWriteBarPosition(const XT_DOCK_SIZES& sizes, DWORD dwToolkitStyle,
                        BYTE (&record)[XT_BAR_POSITION_BYTES]);
// Takes the sizes and flags from a stored record; a record too short to hold them leaves the
// sizes as they are and answers FALSE.
BOOL XTReadBarPosition(const BYTE* pRecord, std::size_t nBytes, XT_DOCK_SIZES& sizes);

// Keeps restored sizes usable whatever screen or damage they come from: every width and height
// at least 1 (a floating one at least the floating minimum) and at most the given room (the
// desktop's work area: a frame's own size is not final while its bars are restored). Sizes in
// that range stay exactly as they are.
void XTClampRestoredSizes(XT_DOCK_SIZES& sizes, const CSize& sizeMax);

}  // namespace xtdock
