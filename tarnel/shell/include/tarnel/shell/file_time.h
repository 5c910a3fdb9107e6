// The modification time of an image's file, as the documents and the file-change watcher keep it.
#pragma once

#include "classlib/classlib.h"

// The file's last-modification time in whole seconds; FALSE (time unchanged) when the file's
// status cannot be read.
BOOL GetFileModifiedTime(LPCTSTR lpszPathName, long& time);
