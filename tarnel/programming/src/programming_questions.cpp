// The texts of the programming thread's two questions.
#include "tarnel/programming/programming_questions.h"

const char* const IProgrammingQuestions::kReconnectPower =
    "Please re-connect power line and try again.\n           Do you want to continue?";
const char* const IProgrammingQuestions::kEraseFlashFirst =
    "Do you want to erase the flash memory first?";
