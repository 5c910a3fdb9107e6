// The application's document manager and the view of .hex images.
#include "pending_parts.h"

#include "tarnel/shell/file_view.h"

void InstallDocManager(CWinApp&) {}

CRuntimeClass* HexViewClass() { return RUNTIME_CLASS(CFileView); }

void CheckModifiedDocuments(CWinApp&) {}
