// The lines of the progress dialog: what is being done to which file, the status and the counter.
#pragma once

#include <string>

// What the progress dialog is showing; the status handler sets it with each start status.
enum ProgressMode {
    kProgressRead = 0,
    kProgressWrite = 1,
    kProgressVerify = 2,
    kProgressResidentLoader = 3,
};

// The file line of a mode: a read names no file; an unknown mode gives an empty line.
std::string ProgressFileLine(int mode, const char* path);
std::string ProgressStatusLine(const char* text);
std::string ProgressCounterLine(int position, int total);
