// The outcome of reading or writing a memory-image file, with the exact text of the box to show.
#pragma once

#include <string>

enum class ImageFileStatus {
    kOk,
    kCancelled,        // the user cancelled the chip selection: fails without a message
    kInvalidLine,      // "Invalid HEX file : line %d %s"
    kInvalidAddress,   // message 4047: the record lies outside the chip's areas
    kBadChecksum,      // one of the checksum messages
    kEmptyFile,        // a .bin file of length 0
    kUnknownFormat,    // a .hex format other than Intel and Motorola
    kAddressTooLarge,  // a record address beyond 16 bits cannot be written
    kOutOfMemory,
};

// How the document shows the message.
enum class MessageIcon {
    kNone,   // a plain message box
    kError,  // an error box
};

struct ImageFileResult {
    ImageFileStatus status = ImageFileStatus::kOk;
    std::string message;  // the box's exact text; empty when nothing is to be shown
    MessageIcon icon = MessageIcon::kNone;
    int line = 0;  // the .hex line the reader stopped at (1-based), 0 elsewhere

    bool ok() const { return status == ImageFileStatus::kOk; }
};

// String-table number and text of the message for a record that fits no area of the chip.
constexpr unsigned kInvalidAddressMessageId = 4047;
extern const char* const kInvalidAddressMessage;

// An error-box failure with its text.
ImageFileResult ImageFileFailure(ImageFileStatus status, std::string message, int line = 0);

// The failure when the cells of an image cannot be allocated.
ImageFileResult OutOfMemoryFailure();
