// A download host's callback for the frame's tests: records every call and can answer a cancel.
#pragma once

#include <string>
#include <vector>

#include "loader/loader_abi.h"

namespace loadertest {

struct Call {
    int code = 0;
    bool hasRecord = false;
    bool hasText = false;
    std::string text;
    int32_t startMarker = 0;
    bool otherWordsZero = true;  // words 0, 1 and 5 to 8 as the host found them
};

// The calls since the last Reset, and the number of the call (from 1) to answer with a cancel.
struct RecordingHost {
    static std::vector<Call>& Calls();
    static int& CancelAt();
    static void Reset() {
        Calls().clear();
        CancelAt() = 0;
    }
    static void WINAPI Callback(int code, ProgressRecord* record);
};

inline std::vector<Call>& RecordingHost::Calls() {
    static std::vector<Call> calls;
    return calls;
}

inline int& RecordingHost::CancelAt() {
    static int cancelAt = 0;
    return cancelAt;
}

inline void WINAPI RecordingHost::Callback(int code, ProgressRecord* record) {
    Call call;
    call.code = code;
    call.hasRecord = record != nullptr;
    if (record != nullptr) {
        call.hasText = record->text != nullptr;
        call.text = record->text != nullptr ? record->text : "";
        call.startMarker = record->startMarker;
        call.otherWordsZero = record->reserved0 == 0 && record->reserved1 == 0;
        for (int32_t word : record->reserved5) {
            call.otherWordsZero = call.otherWordsZero && word == 0;
        }
    }
    Calls().push_back(call);
    if (record != nullptr && static_cast<int>(Calls().size()) == CancelAt()) {
        record->cancel = 1;
    }
}

}  // namespace loadertest
