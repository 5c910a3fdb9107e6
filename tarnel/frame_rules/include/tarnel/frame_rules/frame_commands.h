// When the main frame's commands are enabled: a rule per command over what the frame knows at
// idle time (the programming thread, the active document, the current chip).
#pragma once

#include <cstdint>

// What the enable rules look at.
struct FrameCommandState {
    bool running = false;              // the programming thread exists and is still active
    bool activeDocument = false;       // the active child window holds an image document
    bool activeHexDocument = false;    // ... and it is a .hex image
    bool childActive = false;          // an MDI child window is active
    bool hasSelection = false;         // the active document has selected cells
    bool activeDocumentInUse = false;  // a job of the programming thread uses its buffers
    int deviceCode = -1;               // the current chip's device code; -1 when none
    int modeByte = 255;                // the current chip's programming-mode byte; 255 when none
    bool programmable = false;         // the current chip has a programmable area
};

// The state of the current chip, by its name in the chip table (an unknown name or none: no
// device code, mode byte 255, nothing programmable).
void SetCurrentChip(FrameCommandState& state, const char* chipName);

// Whether the command with that id is enabled. Commands these rules do not know are not
// decided here: *known is set false for them (and the answer is false).
bool IsFrameCommandEnabled(unsigned commandId, const FrameCommandState& state,
                           bool* known = nullptr);
