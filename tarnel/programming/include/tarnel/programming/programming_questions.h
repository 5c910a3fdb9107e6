// The two questions the programming thread may ask the user, both for the HC908 chip.
#pragma once

#include "w32/types.h"

class IProgrammingQuestions {
public:
    // After five refused set-type tries, on the RAM-resident loader's board.
    static const char* const kReconnectPower;
    // Before a write of the HC908 chip's flash.
    static const char* const kEraseFlashFirst;

    virtual ~IProgrammingQuestions() = default;
    // Asks `question` (one of the texts above) with Yes and No; TRUE for Yes. Called on the
    // programming thread: the Windows program shows a question box (MB_YESNO | MB_ICONQUESTION).
    virtual BOOL AskYesNo(const char* question) = 0;
};
