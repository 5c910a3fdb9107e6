// The test stand-in for the outside "CorvaneC" download plug-in: what it records of each call,
// and the exports through which a test reads that and chooses its result.
#pragma once

#include "loader/loader_abi.h"

struct CorvanecStandInCall {
    int calls;              // downloads since the library was loaded
    HostPortRecord record;  // the last download's port record, as given
    char path[400];         // its HEX file path (cut to fit)
    int callbackGiven;      // whether it came with a progress callback
};

// Exported beside CORVANEC_Download: the last call, and the result of the downloads to come
// (0 until a test sets another).
typedef void (*CorvanecStandInLastCallFn)(CorvanecStandInCall* call);
typedef void (*CorvanecStandInSetResultFn)(int result);

constexpr const char kCorvanecStandInLastCall[] = "CORVANEC_StandInLastCall";
constexpr const char kCorvanecStandInSetResult[] = "CORVANEC_StandInSetResult";
