// The face rules of the toolkit's shared fonts.
#include "docking/font_faces.h"

#include <cctype>
#include <cstddef>

namespace xtdock {

const char kPreferredFace[] = "Tahoma";

namespace {

// Compares the first n characters ignoring case; a terminator in either ends the comparison
// and counts as a character.
bool SameIgnoringCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return false;
        }
        if (ca == 0) {
            return true;
        }
    }
    return true;
}

}  // namespace

bool IsPreferredFamily(const char* familyName) {
    return familyName != nullptr && SameIgnoringCase(familyName, kPreferredFace, 6);
}

const char* CaptionFaceFor(const char* textFace) {
    // Seven characters: the terminator counts, so only "Tahoma" itself keeps its face.
    return SameIgnoringCase(textFace, kPreferredFace, 7) ? textFace : "Arial";
}

FaceChoice ChooseFaces(bool preferredFound) {
    const char* text = preferredFound ? kPreferredFace : "MS Sans Serif";
    return FaceChoice{text, CaptionFaceFor(text)};
}

}  // namespace xtdock
