// Which type faces the toolkit's shared fonts use, decided by whether the system has the
// Tahoma family (rules without windows, so that both branches are tested everywhere).
#pragma once

namespace xtdock {

// The family name the font enumeration looks for first.
extern const char kPreferredFace[];  // "Tahoma"

// True when an enumerated family counts as the preferred one: its first six characters are
// "Tahoma", in any case ("Tahoma Bold" counts too).
bool IsPreferredFamily(const char* familyName);

// The faces of the normal, bold and underlined fonts and of the two caption fonts.
struct FaceChoice {
    const char* text;     // "Tahoma", else "MS Sans Serif"
    const char* caption;  // "Tahoma", else "Arial"
};

// The choice once the enumeration has found the preferred family or not.
FaceChoice ChooseFaces(bool preferredFound);

// The caption face for a text face: the text face when it is exactly "Tahoma" (any case),
// else "Arial".
const char* CaptionFaceFor(const char* textFace);

}  // namespace xtdock
