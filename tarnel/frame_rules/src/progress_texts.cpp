// The progress dialog's lines in the program's own words.
#include "tarnel/frame_rules/progress_texts.h"

std::string ProgressFileLine(int mode, const char* path) {
    const std::string file = path != nullptr ? path : "";
    switch (mode) {
        case kProgressRead:
            return "Reading...";
        case kProgressWrite:
            return "Writing : " + file;
        case kProgressVerify:
            return "Verifying : " + file;
        case kProgressResidentLoader:
            return "RAM resident loader...";
        default:
            return {};
    }
}

std::string ProgressStatusLine(const char* text) {
    return std::string("Status : ") + (text != nullptr ? text : "");
}

std::string ProgressCounterLine(int position, int total) {
    return "Cells transfered : " + std::to_string(position) + " of " + std::to_string(total);
}
