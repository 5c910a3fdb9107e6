// The application's document manager and the view of .hex images.
#pragma once

#include "classlib/classlib.h"

// Installs the program's document manager (before the templates are added).
void InstallDocManager(CWinApp& app);
// The view class of the Hex File template.
CRuntimeClass* HexViewClass();
// Asks about documents changed on disk since they were read.
void CheckModifiedDocuments(CWinApp& app);
