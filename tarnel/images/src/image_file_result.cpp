// Failure results of the image-file readers and writers.
#include "tarnel/images/image_file_result.h"

#include <utility>

// Spelling as the program has always shown it.
const char* const kInvalidAddressMessage =
    "Invalid address in file. Probably it was created for enother chip.";

ImageFileResult ImageFileFailure(ImageFileStatus status, std::string message, int line) {
    ImageFileResult result;
    result.status = status;
    result.message = std::move(message);
    result.icon = MessageIcon::kError;
    result.line = line;
    return result;
}

ImageFileResult OutOfMemoryFailure() {
    return ImageFileFailure(ImageFileStatus::kOutOfMemory, "Not enough memory for the image.");
}
